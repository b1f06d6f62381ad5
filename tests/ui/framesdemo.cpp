// A manual tool: a hypertext in the editor control, to try showing pages,
// editing, following links and making frames by hand (under xvfb-run for
// screenshots). Alt+Left and Alt+Right go back and forward, F5 switches
// between edit and preview, F12 writes a screenshot. With --script the tool
// clicks its way through a few steps by itself and writes a screenshot
// after each into the folder given, then quits.
//
//   tarn_framesdemo [file.aeh] [--page n] [--script folder]
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QShortcut>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <string>

#include "document/aehset.h"
#include "page/ui/pageview.h"
#include "objects/ui/framesetwidget.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtfonts.h"
#include "platform/qt/qtstrings.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"
#include "ui/demoworld.h"

namespace {

using tarn::objects::SplitDirection;
using tarn::objects::ui::TInsiemeCornici;
using tarn::richtext::ui::TAEHbox;

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

// Clicks the first character that carries a link in the box's own text.
bool ClickFirstLink(TAEHbox& box) {
  auto& text = box.Text();
  for (int p = text.FirstOwn(); p <= text.LastOwn(); ++p) {
    const auto& paragraph = text.Paragraph(p);
    for (int c = 0; c < paragraph.Length(); ++c) {
      if (paragraph.infos[static_cast<std::size_t>(c)].link == -1) continue;
      const auto at = text.Layout().PositionToPoint(p, c);
      QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(at.x + 2, at.y + at.height / 2));
      Settle();
      return true;
    }
  }
  return false;
}

void Drag(QWidget& widget, QPoint by) {
  const QPoint from = widget.rect().center();
  QTest::mousePress(&widget, Qt::LeftButton, {}, from);
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, from + by);
  Settle();
}

void RunScript(QMainWindow& window, TInsiemeCornici& editor, const QString& folder) {
  QDir().mkpath(folder);
  int step = 0;
  auto shot = [&](const char* name) {
    Settle();
    const QString file = QStringLiteral("%1/%2-%3.png").arg(folder).arg(++step, 2, 10, QLatin1Char('0')).arg(name);
    window.grab().save(file);
    std::printf("%s: page %ld, history %zu, frames %zu\n", qPrintable(file), editor.MainPageNumber(),
                editor.Model().History().size(), editor.Model().Top() ? editor.Model().Top()->children.size() : 0u);
  };
  shot("shown");
  editor.SetReadOnly(true);
  if (TAEHbox* box = editor.BoxOf(*editor.Model().Top())) ClickFirstLink(*box);
  shot("link-followed");
  editor.GoBack();
  shot("back");
  editor.GoForward();
  shot("forward");
  editor.SetReadOnly(false);
  if (TAEHbox* box = editor.BoxOf(*editor.Model().Top())) {
    box->setFocus();
    QTest::keyClicks(box, "Typed here. ");
  }
  shot("typed");
  Drag(*editor.BarOf(*editor.Model().Top(), SplitDirection::Rows), {0, 160});
  shot("split-rows");
  if (editor.Model().Top()->HasChildren()) {
    auto& second = *editor.Model().Top()->children[1];
    Drag(*editor.BarOf(second, SplitDirection::Columns), {0 + 250, 0});
    shot("split-columns");
    auto& first = *editor.Model().Top()->children[0];
    if (TAEHbox* box = editor.BoxOf(first)) QTest::keyClicks(box, "A frame of its own.");
    shot("typed-in-frame");
    editor.Model().ShowPageInFrame(first, 2);
    editor.Sync();
    shot("page-in-frame");
    Drag(*editor.SplitterAfter(first), {0, 80});
    shot("resized");
    // Refused: the other row is split.
    Drag(*editor.SplitterAfter(first), {0, -editor.Model().Top()->children[0]->bounds.Height()});
    shot("delete-refused");
    Drag(*editor.SplitterAfter(*second.children[0]), {-400, 0});
    shot("column-deleted");
    Drag(*editor.SplitterAfter(*editor.Model().Top()->children[0]), {0, -100});
    shot("row-deleted");
  }
  editor.SetReadOnly(true);
  shot("preview");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tarn::platform::qt::RegisterDocumentFonts();
  const auto args = tarn::testing::ParseDemoArguments(app.arguments(), QStringLiteral("--script"), TARN_SAMPLE, 0);
  const long pageIndex = args.page;
  const QString script = args.value;
  tarn::testing::DemoWorld world;
  if (!world.Open(args.file)) return 1;
  auto& messages = world.messages;
  auto& clipboard = world.clipboard;
  auto& set = world.set;

  QMainWindow window;
  auto* editor = new TInsiemeCornici(messages, &window);
  editor->SetClipboard(&clipboard);
  editor->SetLinkedAEHset(&set);
  window.setCentralWidget(editor);
  auto status = [&] {
    window.statusBar()->showMessage(QStringLiteral("page %1, %2%3")
                                        .arg(editor->MainPageNumber())
                                        .arg(editor->ReadOnly() ? QStringLiteral("preview") : QStringLiteral("edit"))
                                        .arg(editor->PageModified() ? QStringLiteral(", modified") : QString()));
  };
  editor->events.OnPageChanged = status;
  editor->events.OnFrameSetChanged = status;
  window.resize(800, 600);
  window.show();
  editor->SetMainPageNumber(pageIndex);

  auto shortcut = [&](QKeySequence keys, auto action) {
    QObject::connect(new QShortcut(keys, &window), &QShortcut::activated, action);
  };
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [&] { editor->GoBack(); });
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [&] { editor->GoForward(); });
  shortcut(QKeySequence(Qt::Key_F5), [&] {
    editor->SetReadOnly(!editor->ReadOnly());
    status();
  });
  shortcut(QKeySequence(Qt::Key_F12), [&] { window.grab().save(QStringLiteral("/tmp/tarn_framesdemo.png")); });

  if (!script.isEmpty()) {
    QTimer::singleShot(300, &app, [&] {
      RunScript(window, *editor, script);
      // The hypertext goes before the window, so the editor lets it go first.
      editor->SetLinkedAEHset(nullptr);
      app.quit();
    });
  }
  const int result = app.exec();
  editor->SetLinkedAEHset(nullptr);
  return result;
}
