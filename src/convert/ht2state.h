// The text states of an HTML file being imported: character format,
// paragraph settings and table context, pushed by opening elements and
// popped by their closing tags; and the bookkeeping of the tables the file
// opens.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "richtext/styles.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::convert {

// What opened a state: a closing tag pops back to the state before its
// opening element.
enum class Ht2Opened : std::uint8_t { Table = 0, Cell = 1, Paragraph = 2, Character = 3, Position = 4 };

// A paragraph attribute given by a STYLE attribute or a style rule, written
// in the paragraph tag when it differs from the paragraph's style.
struct Ht2Measure {
  bool set = false;
  std::int32_t value = 0;
};

struct Ht2ParagraphOverrides {
  Ht2Measure lineHeight, indent, leftMargin, rightMargin, topMargin, bottomMargin;
};

struct THt2State {
  // Character format.
  std::uint32_t colour = 0;
  std::string face;  // empty: the paragraph style's face
  std::int32_t size = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::uint8_t position = 0;  // 0 normal, 1 subscript, 2 superscript
  // Paragraph settings.
  int style = 1;
  int alignment = 0;
  int listType = 0;
  int unit = 1;
  Ht2ParagraphOverrides measures;
  // The paragraph style came from a CSS class: FONT attributes give way to it.
  bool cssClass = false;
  // The innermost open table (an index into the reader's tables), -1 none.
  int table = -1;
  // The element that pushed this state, and its kind.
  int element = 0;
  Ht2Opened opened = Ht2Opened::Character;

  std::uint8_t StyleBits() const {
    return static_cast<std::uint8_t>((bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strike ? 8 : 0));
  }
  void SetStyleBits(std::uint8_t bits) {
    bold = bits & 1;
    italic = bits & 2;
    underline = bits & 4;
    strike = bits & 8;
  }
};

// The stack of states. Deeply nested input must not grow it without bound:
// past kDeepest, further opening elements push nothing (their closing tags
// then find nothing to pop).
class THt2StateList {
 public:
  static constexpr std::size_t kDeepest = 512;

  explicit THt2StateList(int elementCount);
  // Handing out the top for writing counts as a change.
  THt2State& Top() {
    ++m_version;
    return m_states.back();
  }
  const THt2State& Top() const { return m_states.back(); }
  // Grows with every change of the states: what was derived from them at an
  // equal version still holds.
  std::uint64_t Version() const { return m_version; }
  int Depth() const { return static_cast<int>(m_states.size()) - 1; }
  // Pushes a copy of the current state opened by the element; false when the
  // stack is full.
  bool Push(int element, Ht2Opened opened);
  // Pops back to the state before the innermost open `element`. An element
  // closed inside a table cell does not reach states outside the cell, nor
  // a cell outside its table; false when nothing was popped.
  bool PopTo(int element);
  // Pops every state above `depth`.
  void PopAbove(int depth);
  // The depth of the innermost state opened as a cell, above `depth`; -1 none.
  int InnermostCellAbove(int depth) const;

 private:
  void PopOne();

  std::vector<THt2State> m_states;
  // The depths of the open states of each element, innermost last, so that a
  // closing tag finds its match at once however deep the stack is.
  std::vector<std::vector<int>> m_open;
  std::vector<int> m_tables;  // depths of table states
  std::vector<int> m_cells;   // depths of cell states
  std::uint64_t m_version = 0;
};

// A table being read: its record and what is known of its rows and cells.
struct THt2TabAEHoggetto {
  document::TAEHoggetto* record = nullptr;
  int columns = 0;         // found in the first row with cells (at most 50)
  int rows = 0;            // rows with at least one cell
  int column = 0;          // cells opened in the current row
  bool rowOpen = false;
  bool cellOpen = false;   // "<T>" not yet written for the current cell
  std::int32_t rowBackground = -1;
  // One 32-bit background per cell, row by row.
  std::vector<std::int32_t> backgrounds;
  std::array<std::uint8_t, 50> columnKinds{};
  std::array<std::int16_t, 50> columnSizes{};
  int state = 0;           // the depth of the state the table pushed
};

// A table met while the finished markup is repaired: its record and the
// cells still to visit.
struct TTabOgg {
  document::TAEHoggetto* record = nullptr;
  int cellsLeft = 0;
};

}  // namespace tarn::convert
