// The read-only page view.
#include "app/ui/pagepreview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/ui/pointersets.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "richtext/layout.h"
#include "richtext/pagetext.h"

namespace tarn::app::ui {
namespace {
constexpr int kMargin = 8;
}

TPagePreview::TPagePreview(platform::Messages& messages, QWidget* parent)
    : QAbstractScrollArea(parent), m_messages(messages) {
  setObjectName(QStringLiteral("Editor"));
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

TPagePreview::~TPagePreview() = default;

void TPagePreview::SetLinkedAEHset(document::TAEHset* set) {
  ClosePage();
  m_set = set;
}

void TPagePreview::DropPage() {
  m_layout.reset();
  m_text.reset();
  m_page = -1;
  viewport()->update();
}

void TPagePreview::ClosePage() {
  DropPage();
  m_back.clear();
  m_forward.clear();
}

void TPagePreview::Show(long page) {
  m_layout.reset();
  m_text.reset();
  m_page = -1;
  if (m_set != nullptr && page >= 0) {
    if (document::TAEHtesto* record = richtext::LivePage(*m_set, page, m_messages)) {
      m_text = std::make_unique<richtext::PageText>(*m_set, *record, &m_measurer, &m_messages);
      m_layout = std::make_unique<richtext::TextLayout>(m_text->Text(), m_measurer);
      m_background = static_cast<std::uint32_t>(record->I32(document::field::kPageBgColour));
      m_page = page;
    }
  }
  verticalScrollBar()->setValue(0);
  Relayout();
  if (events.OnPageChanged) events.OnPageChanged();
}

void TPagePreview::SetMainPageNumber(long page) {
  if (page == m_page) return;
  if (m_page >= 0) m_back.push_back(m_page);
  m_forward.clear();
  Show(page);
}

void TPagePreview::ShowCover() {
  if (m_set == nullptr) return;
  SetMainPageNumber(m_set->HeaderI32(document::header::kCoverPage));
}

void TPagePreview::ShowContents() {
  if (m_set == nullptr) return;
  SetMainPageNumber(m_set->HeaderI32(document::header::kContentsPage));
}

bool TPagePreview::GoBack() {
  if (m_back.empty()) return false;
  if (m_page >= 0) m_forward.push_back(m_page);
  const long page = m_back.back();
  m_back.pop_back();
  Show(page);
  return true;
}

bool TPagePreview::GoForward() {
  if (m_forward.empty()) return false;
  if (m_page >= 0) m_back.push_back(m_page);
  const long page = m_forward.back();
  m_forward.pop_back();
  Show(page);
  return true;
}

void TPagePreview::Relayout() {
  if (m_layout) {
    const int width = std::max(50, viewport()->width() - 2 * kMargin);
    m_layout->layoutWidth = width;
    m_layout->widestExtent = width;
    m_layout->LayoutAll();
    verticalScrollBar()->setRange(0, std::max(0, m_layout->ContentHeight() + 2 * kMargin - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
  } else {
    verticalScrollBar()->setRange(0, 0);
  }
  viewport()->update();
}

void TPagePreview::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void TPagePreview::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (!m_layout) {
    painter.fillRect(viewport()->rect(), palette().window());
    return;
  }
  painter.fillRect(viewport()->rect(), platform::qt::ToQColor(m_background));
  painter.setRenderHint(QPainter::TextAntialiasing);
  const int top = verticalScrollBar()->value();
  painter.translate(kMargin, kMargin - top);
  platform::qt::QtCanvas canvas(&painter);
  m_layout->Paint(canvas, {0, top, viewport()->width(), top + viewport()->height()}, {});
}

int TPagePreview::LinkAt(QPoint point) const {
  if (!m_layout) return -1;
  const int x = point.x() - kMargin;
  const int y = point.y() - kMargin + verticalScrollBar()->value();
  const richtext::TextPos pos = m_layout->HitTest(x, y, richtext::HitScope::Text);
  if (pos.paragraph == nullptr || pos.charIndex < 0 ||
      pos.charIndex >= static_cast<int>(pos.paragraph->infos.size())) {
    return -1;
  }
  // The hit position is the caret before the character; the character under
  // the pointer is the one whose box holds x.
  if (x < pos.x || x >= pos.rightX) return -1;
  return pos.paragraph->infos[static_cast<std::size_t>(pos.charIndex)].link;
}

long TPagePreview::LinkTarget(int linkValue) const {
  if (m_set == nullptr || !m_text || linkValue < 0) return -1;
  const document::ObjectId id = richtext::StoredLinkValue(linkValue, m_text->Form());
  document::TAEHoggetto* target = m_set->GetObjectById(id);
  if (target != nullptr && target->Kind() == document::speclink &&
      target->Subtype() == document::kSpecialToObject) {
    target = document::FollowSpecialLink(*target);
  }
  if (target == nullptr || target->Kind() != document::testoHtml) return -1;
  return target->Index();
}

void TPagePreview::mouseMoveEvent(QMouseEvent* event) {
  const bool overLink = LinkTarget(LinkAt(event->position().toPoint())) >= 0;
  viewport()->setCursor(overLink ? PointerSets::Instance().Pointer(kLinkPointer) : QCursor(Qt::ArrowCursor));
}

void TPagePreview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const long target = LinkTarget(LinkAt(event->position().toPoint()));
  if (target >= 0) SetMainPageNumber(target);
}

void TPagePreview::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = verticalScrollBar();
  switch (event->key()) {
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_Home: bar->setValue(0); break;
    case Qt::Key_End: bar->setValue(bar->maximum()); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
}

}  // namespace tarn::app::ui
