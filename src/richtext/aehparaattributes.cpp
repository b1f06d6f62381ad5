// The paragraph commands of a box; see aehparaattributes.h.
#include "richtext/aehparaattributes.h"

namespace tarn::richtext {

void TAEHParaAttributes::SetAlignment(std::uint8_t alignment) {
  static constexpr const char* kCaptions[] = {"Align to left", "Align to right", "Center"};
  if (alignment > 2) return;
  m_box.Record(kCaptions[alignment]);
  m_box.BeginUpdate();
  const int first = m_box.SelectionStart().paragraph;
  const int last = m_box.SelectionEnd().paragraph;
  for (int i = first; i <= last; ++i) m_box.Paragraph(i).style.SetAlignment(alignment);
  m_box.LayoutRange(first, last);
  m_box.EndUpdate();
}

std::uint8_t TAEHParaAttributes::Alignment() const {
  return m_box.Paragraph(m_box.Caret().paragraph).style.Alignment();
}

}  // namespace tarn::richtext
