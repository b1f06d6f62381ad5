// tarn-cli render: shows a page through the page view (its header and
// footer pages around its own text), lays it out at a width and draws it
// over the page's background into a PNG, without a display.
#include "render.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>

#include "app/compose.h"
#include "climessages.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"
#include "page/aehpage.h"
#include "document/recordfields.h"
#include "richtext/layout.h"
#include "richtext/pagetext.h"
#include "richtext/tableobject.h"

namespace tarn::cli {
namespace {

constexpr int kDefaultWidth = 800;
constexpr int kMaxWidth = 20000;
constexpr int kMaxHeight = 30000;

// The page view's frame set, as far as a single page shown read-only needs.
class RenderHost : public page::PageHost {
 public:
  explicit RenderHost(document::TAEHset& set) : m_set(set) {}
  document::TAEHset& LinkedAEHset() override { return m_set; }
  bool IsReadOnly() const override { return true; }
  int SearchOptions() const override { return 0; }
  bool AutoSpellCheck() const override { return false; }
  search::SpellEngine* SpellChecker() override { return nullptr; }
  platform::EventLoop* Dispatcher() override { return nullptr; }
  void RegisterPageView(page::TAEHpage&) override {}
  void PageViewModified() override {}

 private:
  document::TAEHset& m_set;
};

}  // namespace

// A display-less application for fonts and painting.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "tarn-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

DrawingSession::DrawingSession() { app::Compose(set); }

DrawingSession::~DrawingSession() = default;

int Render(const std::vector<std::string>& args) {
  std::string file;
  std::string png;
  long page = -1;
  long width = kDefaultWidth;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto number = [&](long& out) {
      if (i + 1 >= args.size()) return false;
      char* end = nullptr;
      out = std::strtol(args[++i].c_str(), &end, 10);
      return end != args[i].c_str() && *end == '\0';
    };
    if (args[i] == "--page") {
      if (!number(page)) return 2;
    } else if (args[i] == "--width") {
      if (!number(width)) return 2;
    } else if (args[i] == "--png" && i + 1 < args.size()) {
      png = args[++i];
    } else if (args[i].starts_with("--") || !file.empty()) {
      return 2;
    } else {
      file = args[i];
    }
  }
  if (file.empty() || png.empty() || page < 0 || width < 50 || width > kMaxWidth) return 2;

  DrawingSession session;
  document::TAEHset& set = session.set;
  CliMessages& messages = session.messages;
  platform::qt::QtCanvas& measurer = session.measurer;
  if (!set.LoadFromFile(file)) return 1;
  document::TAEHtesto* record = richtext::LivePage(set, page, messages);
  if (record == nullptr) return 1;
  if (record->U8(document::field::kPageGeneration) == 1 && set.OlderTextConverter) set.OlderTextConverter(*record);
  RenderHost host(set);
  page::TAEHpage view(host);
  view.SetReadOnly(true);
  view.ShowPage(record);
  page::PageTextBox& box = *view.Box();
  richtext::RichText& text = box.Text();

  richtext::TextLayout layout(text, measurer);
  layout.layoutWidth = static_cast<int>(width);
  layout.widestExtent = static_cast<int>(width);
  layout.headerCount = box.HeaderCount();
  layout.footerCount = box.FooterCount();
  layout.LayoutAll();
  const int height = std::min(kMaxHeight, layout.ContentHeight() + 8);

  QImage image(static_cast<int>(width), height, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    platform::qt::QtCanvas canvas(&painter);
    page::PaintPageBackground(canvas, {0, 0, static_cast<int>(width), height}, *record);
    layout.Paint(canvas, {0, 0, static_cast<int>(width), height}, {});
    richtext::PaintPlacedTables(canvas, text, 0, 0, true);
    // Until the other objects draw themselves, each shows as an empty box
    // of its size.
    for (const auto& p : text.paragraphs) {
      for (const richtext::EmbeddedObject* object : p->objects) {
        if (object->IsTable()) continue;
        canvas.FrameRect({object->placedX, object->placedY, object->placedX + std::max(object->Width(), 2),
                          object->placedY + std::max(object->Height(), 2)},
                         0x808080);
      }
    }
  }
  if (!image.save(platform::qt::PathToQString(png), "PNG")) {
    messages.Error("Cannot write " + png);
    return 1;
  }
  return 0;
}

}  // namespace tarn::cli
