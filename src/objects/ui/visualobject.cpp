// The layout's stand-in of a screen object; see visualobject.h.
#include "objects/ui/visualobject.h"

#include "document/aehoggetto.h"
#include "document/recordfields.h"
#include "objects/ui/visual.h"
#include "objects/visual/visualrecord.h"

namespace tarn::objects {

VisualObject::VisualObject(std::int32_t number, TAEHoggetto* record, bool ownText, std::function<QWidget*()> parent)
    : RecordObject(number, record), m_mutable(record), m_ownText(ownText), m_parent(std::move(parent)) {}

VisualObject::~VisualObject() { delete m_widget.data(); }

std::unique_ptr<richtext::RecordObject> VisualObject::Make(std::int32_t number, TAEHoggetto* record, bool ownText,
                                                           std::function<QWidget*()> parent) {
  if (record == nullptr || visual::ClassOf(*record) == visual::VisualClass::None) return nullptr;
  return std::make_unique<VisualObject>(number, record, ownText, std::move(parent));
}

TMyyVisual* VisualObject::Widget() {
  if (m_widget || m_mutable == nullptr) return m_widget.data();
  QWidget* parent = m_parent ? m_parent() : nullptr;
  if (parent == nullptr) return nullptr;
  TMyyVisual* made = TMyyVisual::Create(*m_mutable, parent);
  if (made == nullptr) return nullptr;
  m_widget = made;
  made->SetEmbedded(this);
  if (m_ownText) made->RegisterForUndo(Identifier());
  return made;
}

int VisualObject::Width() const { return m_widget ? m_widget->width() : RecordObject::Width(); }

int VisualObject::Height() const { return m_widget ? m_widget->height() : RecordObject::Height(); }

int VisualObject::RecordKind() const { return m_mutable != nullptr ? m_mutable->Kind() : -1; }

int VisualObject::VerticalAlignment() const {
  if (m_mutable != nullptr && m_mutable->Kind() == document::immagineNew) {
    return m_mutable->U8(document::field::kPlacedAlignment);
  }
  return richtext::RecordObject::VerticalAlignment();
}

bool VisualObject::Shown() const { return !m_widget || m_widget->ShownInMode(); }

void VisualObject::SetAvailableWidth(int width) {
  if (TMyyVisual* widget = Widget()) widget->SetAvailableWidth(width);
}

void VisualObject::Place(int x, int y) {
  RecordObject::Place(x, y);
  TMyyVisual* widget = Widget();
  if (widget == nullptr) return;
  if (widget->pos() != QPoint(x, y)) widget->SetBounds(x, y, widget->width(), widget->height());
  if (!widget->isVisible() && Shown()) widget->show();
  if (!Shown()) widget->hide();
}

}  // namespace tarn::objects
