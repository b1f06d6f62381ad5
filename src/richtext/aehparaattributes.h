// The paragraph commands of a box. They work on the paragraphs that the
// selection touches, or on the caret's paragraph.
#pragma once

#include <cstdint>

#include "richtext/boxtext.h"

namespace tarn::richtext {

class TAEHParaAttributes {
 public:
  explicit TAEHParaAttributes(BoxText& box) : m_box(box) {}

  // 0 left, 1 right, 2 centred.
  void SetAlignment(std::uint8_t alignment);
  std::uint8_t Alignment() const;
  // FIXME: lists, lengths, link appearance and styles arrive with the
  // formatting commands; the box itself needs none of them.

 private:
  BoxText& m_box;
};

}  // namespace tarn::richtext
