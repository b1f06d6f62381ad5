// The text box's part in tables: placing the screen tables of its text and
// moving the caret into and out of their cells.
#include <QSet>

#include "objects/ui/tablebox.h"
#include "richtext/ui/aehbox.h"

namespace tarn::richtext::ui {
namespace {
std::size_t At(int i) { return static_cast<std::size_t>(i); }
}  // namespace

void TAEHbox::PlaceTables() {
  QSet<const objects::ui::TMyyTable*> placed;
  const TextLayout& layout = m_text.Layout();
  for (int i = 0; i < m_text.ParagraphCount(); ++i) {
    TAEHparag& p = m_text.Paragraph(i);
    if (p.objects.empty() || p.lines.empty()) continue;
    for (int k = 0; k < p.Length(); ++k) {
      const std::int32_t o = p.infos[At(k)].object;
      if (o < 0 || At(o) >= p.objects.size()) continue;
      auto* table = dynamic_cast<objects::ui::TMyyTable*>(p.objects[At(o)]);
      if (table == nullptr) continue;
      placed.insert(table);
      if (table->parentWidget() != this) {
        // A table read for a cell's text waits where it was made until the
        // cell shows it.
        table->setParent(this);
        table->markedForPlacing = true;
      }
      // A shared header's or footer's table stays read only.
      if (table->ReadOnly() != (ReadOnly() || table->SharedSection())) table->SetReadOnly(ReadOnly());
      if (!table->markedForPlacing && table->isVisible()) continue;
      const TextPos pos = layout.PositionToPoint(i, k);
      const TAEHline& line = p.lines[At(pos.line)];
      table->Place(pos.x, pos.y + line.maxAscent - p.infos[At(k)].ascent);
    }
  }
  for (auto* child : findChildren<objects::ui::TMyyTable*>(Qt::FindDirectChildrenOnly)) {
    if (!placed.contains(child) && child->isVisible()) child->hide();
  }
}

bool TAEHbox::EnterTableAt(int paragraph, int direction) {
  if (paragraph < 0 || paragraph >= m_text.ParagraphCount()) return false;
  const TAEHparag& p = m_text.Paragraph(paragraph);
  for (int k = 0; k < p.Length(); ++k) {
    const std::int32_t o = p.infos[At(k)].object;
    if (o < 0 || At(o) >= p.objects.size()) continue;
    auto* table = dynamic_cast<objects::ui::TMyyTable*>(p.objects[At(o)]);
    if (table == nullptr || table->RowCount() == 0) continue;
    table->EnterFromOutside(direction);
    return true;
  }
  return false;
}

void TAEHbox::HandleTableBoundary(Boundary status) {
  const int s = static_cast<int>(status);
  if (s >= 1 && s <= 4) {
    // A page box leaves the caret where it was; a cell hands it on.
    if (auto* cell = qobject_cast<objects::ui::TCellBox*>(this)) cell->Table().LeaveCell(*cell, status);
    return;
  }
  if (s >= 5 && s <= 8) EnterTableAt(m_text.Caret().paragraph, s);
}

}  // namespace tarn::richtext::ui
