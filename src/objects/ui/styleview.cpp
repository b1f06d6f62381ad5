// The style preview; see styleview.h.
#include "objects/ui/styleview.h"

#include <QRandomGenerator>

#include <algorithm>

#include "document/aehtesto.h"
#include "page/ui/pageview.h"
#include "richtext/ui/aehbox.h"

namespace tarn::objects::ui {
namespace {

constexpr int kRandomNameLimit = 10000;

void CopyStyle(const document::TAEHoggetto& from, document::TAEHoggetto& to) {
  const auto source = from.Record();
  const auto target = to.Record();
  std::copy(source.begin(), source.end(), target.begin());
  if (auto content = from.ReadContent()) to.SetContent(*content);
}

}  // namespace

std::string StyleSampleMarkup() {
  std::string markup =
      "<Z S2 >The quick brown fox jumps over the lazy dog. The quick <$00000000>brown<%> fox jumps over the lazy "
      "dog. The quick brown fox jumps over the lazy dog.<Z S2 >The quick brown fox jumps over the lazy dog. The "
      "quick brown fox <$00000000>jumps over the lazy dog. The quick brown fox jumps<%> over the lazy dog,  "
      "1234567890 times. The quick brown fox jumps over the lazy dog.<Z S2 >The quick brown fox jumps over the lazy "
      "dog. The quick <$00000000>brown<%> fox jumps over the lazy dog. The quick brown fox jumps over the lazy dog.";
  markup.push_back('\0');
  return markup;
}

TAEHstyleView::TAEHstyleView(platform::Messages& messages, QWidget* parent) : TInsiemeCornici(messages, parent) {
  setObjectName(QStringLiteral("AEHstyleView"));
  m_hypertext = std::make_unique<document::TAEHset>(platform::Services{&messages, &m_system, &m_measurer, nullptr});
  m_hypertext->NewHypertext();
  auto style = m_hypertext->NewObject(document::stileParagrafo);
  style->InitNew();
  m_style = m_hypertext->Register(std::move(style), kSampleStyle);
  auto page = m_hypertext->NewObject(document::testoHtml);
  page->SetContent(StyleSampleMarkup());
  m_hypertext->Register(std::move(page), 0);

  TAEHCustomFrameSet& model = Model();
  model.SetShowNested(false);
  model.SaveOnExit = false;
  SetLinkedAEHset(m_hypertext.get());
  SetReadOnly(true);
}

TAEHstyleView::~TAEHstyleView() {
  // The page views go before the hypertext they show.
  SetLinkedAEHset(nullptr);
}

void TAEHstyleView::ShowStyle(const document::TAEHoggetto& style) {
  CopyStyle(style, *m_style);
  if (MainPageNumber() == 0) {
    // The page is shown: its boxes take the new look.
    for (page::TAEHpage* view : Model().Views()) {
      if (auto* box = dynamic_cast<page::ui::PageBox*>(view->Box()); box != nullptr && box->Widget()) {
        richtext::ui::TAEHbox& widget = *box->Widget();
        widget.Rebuild(0, widget.Text().ParagraphCount() - 1);
        widget.Text().LayoutAll();
        widget.update();
      }
    }
  } else {
    SetMainPageNumber(0);
  }
  if (OnStyleChange) OnStyleChange();
}

void TAEHstyleView::GetStyle(document::TAEHoggetto& style) const { CopyStyle(*m_style, style); }

void TAEHstyleView::NewStyle() {
  m_style->Clear();
  m_style->InitNew();
  m_style->SetName("Nuovo stile " +
                   std::to_string(QRandomGenerator::global()->bounded(kRandomNameLimit)));
  SetMainPageNumber(-1);
}

}  // namespace tarn::objects::ui
