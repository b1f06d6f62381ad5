// The paragraph commands of a box. They work on the paragraphs that the
// selection touches, or on the caret's paragraph.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "richtext/boxtext.h"

namespace tarn::richtext {

class TAEHParaAttributes {
 public:
  explicit TAEHParaAttributes(BoxText& box) : m_box(box) {}

  // 0 left, 1 right, 2 centred.
  void SetAlignment(std::uint8_t alignment);
  std::uint8_t Alignment() const;

  // ---- Lists, lengths, link appearance and styles (formatting) ----
  // 0 none, 6 numbered, 10 bullets. A paragraph that becomes a list hangs
  // its first line 10 mm to the left of a margin moved 10 mm right; one that
  // stops being a list takes its indent back into its margin.
  void SetListKind(std::uint8_t kind);
  // The unit in which the lengths below are given and shown (no undo step).
  void SetUnit(std::uint8_t unit);
  // Lengths in the caret paragraph's unit.
  void SetLineHeight(double value);
  // The height each line takes from its own font.
  void SetAutomaticLineHeight();
  void SetSpaceBefore(double value);
  void SetSpaceAfter(double value);
  void SetFirstIndent(double value);
  void SetLeftMargin(double value);
  void SetRightMargin(double value);
  // The left margin moved by a step (the indent buttons), never below 0.
  void ShiftLeftMargin(double millimetres);
  void SetLinkColor(std::uint32_t colour);
  void SetLinkSize(std::int32_t points);
  void SetLinkStyle(std::uint8_t bits);
  // Gives the touched paragraphs the style of this name: a paragraph that
  // has it already loses its character formats, the others keep theirs;
  // every paragraph override goes. An unknown name changes nothing.
  void ApplyStyle(std::string_view name);
  // Measures and lays out the whole text again (after a style changed).
  void Reformat();
  // Gives the touched paragraphs the caret paragraph's fields of another
  // box: alignment, list kind, unit, line height, first-line indent, the
  // margins, the spaces and the link appearance, in that order, each as its
  // own command. The lengths travel in the source's unit.
  void Assign(const TAEHParaAttributes& source);

  std::uint8_t ListKind() const { return CaretStyle().ListKind(); }
  std::uint8_t Unit() const { return CaretStyle().UnitOfMeasure(); }
  float LineHeight() const { return InUnit(TAEHParaStyle::kLineHeight); }
  bool AutomaticLineHeight() const { return CaretStyle().LineHeight() == kAutomaticLineHeight; }
  float SpaceBefore() const { return InUnit(TAEHParaStyle::kSpaceBefore); }
  float SpaceAfter() const { return InUnit(TAEHParaStyle::kSpaceAfter); }
  float FirstIndent() const { return InUnit(TAEHParaStyle::kIndent); }
  float LeftMargin() const { return InUnit(TAEHParaStyle::kLeftMargin); }
  float RightMargin() const { return InUnit(TAEHParaStyle::kRightMargin); }
  std::uint32_t LinkColor() const { return CaretStyle().LinkColour(); }
  std::int32_t LinkSize() const { return CaretStyle().LinkSize(); }
  std::uint8_t LinkStyle() const { return CaretStyle().LinkStyle(); }
  // The style number of the caret's paragraph in the hypertext's list.
  int StyleIndex() const;

  // Told after a style was applied (the window refreshes its style list).
  std::function<void()> onStyleApplied;

 private:
  const TAEHParaStyle& CaretStyle() const;
  float InUnit(TAEHParaStyle::Field field) const;
  // Records the caption and runs the change on every touched paragraph.
  void ForEachParagraph(std::string_view caption, const std::function<void(TAEHparag&)>& change,
                        bool remeasure = false);
  void SetLength(std::string_view caption, TAEHParaStyle::Field field, double value);

  BoxText& m_box;
};

}  // namespace tarn::richtext
