// A manual tool: opens a page of a hypertext in an editable text box, so
// that typing, selecting, the clipboard and drag and drop can be tried by
// hand (under xvfb-run for screenshots). Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+A
// stand in for the program's menu commands; Ctrl+S prints the page's
// markup as it would be saved; F12 writes a screenshot.
//
//   tarn_boxdemo [file.aeh] [--page n] [--shot file.png]
#include <QApplication>
#include <QMainWindow>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtfonts.h"
#include "platform/qt/qtstrings.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"
#include "richtext/localform.h"
#include "richtext/pagetext.h"
#include "richtext/ui/aehbox.h"
#include "ui/demoworld.h"
#include "ui/recordingframeset.h"

namespace {

constexpr int kPageBackground = 101;

class DemoFrameSet : public tarn::testing::RecordingFrameSet {
 public:
  explicit DemoFrameSet(QStatusBar& bar) : m_bar(bar) {}
  void CaretChanged(QWidget* box) override {
    auto& text = static_cast<tarn::richtext::ui::TAEHbox*>(box)->Text();
    const auto caret = text.Caret();
    m_bar.showMessage(QStringLiteral("paragraph %1, character %2%3")
                          .arg(caret.paragraph)
                          .arg(caret.character)
                          .arg(text.HasSelection() ? QStringLiteral(", selection") : QString()));
  }
  void ShowHint(const QString& hint) override { m_bar.showMessage(hint); }

 private:
  QStatusBar& m_bar;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tarn::platform::qt::RegisterDocumentFonts();
  const auto args = tarn::testing::ParseDemoArguments(app.arguments(), QStringLiteral("--shot"), TARN_SAMPLE, 1);
  const long pageIndex = args.page;
  const QString shot = args.value;
  tarn::testing::DemoWorld world;
  if (!world.Open(args.file)) return 1;
  auto& messages = world.messages;
  auto& measurer = world.measurer;
  auto& clipboard = world.clipboard;
  auto& set = world.set;
  tarn::document::TAEHtesto* record = tarn::richtext::LivePage(set, pageIndex, messages);
  if (record == nullptr) return 1;
  tarn::richtext::PageText pageText(set, *record, &measurer, &messages);

  QMainWindow window;
  window.setWindowTitle(tarn::platform::qt::ToQString(record->Title()));
  DemoFrameSet frameSet(*window.statusBar());
  auto* area = new QScrollArea();
  auto* pageView = new tarn::testing::FramedPage(frameSet);
  area->setWidget(pageView);
  window.setCentralWidget(area);
  auto* box = new tarn::richtext::ui::TAEHbox(pageText.Host(), pageView);
  box->SetClipboard(&clipboard);
  box->SetMessages(&messages);
  box->SetBackgroundColour(static_cast<std::uint32_t>(record->I32(kPageBackground)));
  // The page view keeps the box as wide as the visible area.
  box->SetPageClientWidth(720);
  box->LoadText(pageText.Form().markup);
  pageView->resize(box->size());
  QObject::connect(box, &tarn::richtext::ui::TAEHbox::ExtentChanged, pageView, [&](QSize size) { pageView->resize(size); });
  window.resize(760, 560);
  box->SetRequestedSize(0, 480);
  window.show();
  box->setFocus();

  auto shortcut = [&](QKeySequence keys, auto action) {
    QObject::connect(new QShortcut(keys, &window), &QShortcut::activated, action);
  };
  shortcut(QKeySequence::Copy, [&] { box->Copy(); });
  shortcut(QKeySequence::Cut, [&] { box->Cut(); });
  shortcut(QKeySequence::Paste, [&] { box->Paste(); });
  shortcut(QKeySequence::SelectAll, [&] { box->SelectAll(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [&] {
    const std::string stored = tarn::richtext::ToStoredForm(box->SaveText(), pageText.Form());
    std::fwrite(stored.data(), 1, stored.size() > 0 ? stored.size() - 1 : 0, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
  const QString shotFile = shot.isEmpty() ? QStringLiteral("/tmp/tarn_boxdemo.png") : shot;
  shortcut(QKeySequence(Qt::Key_F12), [&] { window.grab().save(shotFile); });
  if (!shot.isEmpty() && qEnvironmentVariableIsSet("TARN_DEMO_QUIT")) {
    QTimer::singleShot(500, &app, [&] {
      window.grab().save(shot);
      app.quit();
    });
  }
  return app.exec();
}
