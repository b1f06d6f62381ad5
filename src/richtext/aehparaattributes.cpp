// The paragraph commands of a box; see aehparaattributes.h.
#include "richtext/aehparaattributes.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/cp1252.h"
#include "document/aehoggetto.h"
#include "richtext/formatting.h"

namespace tarn::richtext {
namespace {

constexpr int kPixelsPerInch = 96;
// How far a list hangs its first line, in millimetres.
constexpr double kListIndentMm = 10.0;
constexpr int kMillimetres = static_cast<int>(Unit::Millimetres);

// A length as the caption shows it: a decimal number without needless zeros.
std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

double MmInUnit(double millimetres, int unit) {
  return PixelsToUnit(UnitToPixels(millimetres, kMillimetres, kPixelsPerInch), unit, kPixelsPerInch);
}

}  // namespace

void TAEHParaAttributes::ForEachParagraph(std::string_view caption, const std::function<void(TAEHparag&)>& change,
                                          bool remeasure) {
  if (m_box.ParagraphCount() == 0) return;
  m_box.Record(caption);
  m_box.BeginUpdate();
  const int first = m_box.SelectionStart().paragraph;
  const int last = m_box.SelectionEnd().paragraph;
  for (int i = first; i <= last; ++i) change(m_box.Paragraph(i));
  if (remeasure) m_box.Rebuild(first, last);
  m_box.LayoutRange(first, last);
  m_box.EndUpdate();
}

void TAEHParaAttributes::SetAlignment(std::uint8_t alignment) {
  static constexpr const char* kCaptions[] = {"Align to left", "Align to right", "Center"};
  if (alignment > 2) return;
  ForEachParagraph(kCaptions[alignment], [alignment](TAEHparag& p) { p.style.SetAlignment(alignment); });
}

std::uint8_t TAEHParaAttributes::Alignment() const { return CaretStyle().Alignment(); }

const TAEHParaStyle& TAEHParaAttributes::CaretStyle() const {
  static const TAEHParaStyle kNone;
  if (m_box.ParagraphCount() == 0) return kNone;
  return m_box.Paragraph(m_box.Caret().paragraph).style;
}

float TAEHParaAttributes::InUnit(TAEHParaStyle::Field field) const {
  return CaretStyle().LengthInUnit(field, kPixelsPerInch);
}

int TAEHParaAttributes::StyleIndex() const {
  return m_box.ParagraphCount() == 0 ? 0 : m_box.Paragraph(m_box.Caret().paragraph).styleIndex;
}

void TAEHParaAttributes::SetListKind(std::uint8_t kind) {
  ForEachParagraph("Numbering " + std::to_string(kind), [kind](TAEHparag& p) {
    TAEHParaStyle& s = p.style;
    const int unit = s.UnitOfMeasure();
    const double left = s.LengthInUnit(TAEHParaStyle::kLeftMargin, kPixelsPerInch);
    const double indent = s.LengthInUnit(TAEHParaStyle::kIndent, kPixelsPerInch);
    if (kind == 0) {
      s.SetLengthInUnit(TAEHParaStyle::kLeftMargin, left + indent, kPixelsPerInch);
      s.SetIndent(0);
    } else if (s.ListKind() == 0) {
      const double step = MmInUnit(kListIndentMm, unit);
      s.SetLengthInUnit(TAEHParaStyle::kIndent, -step, kPixelsPerInch);
      s.SetLengthInUnit(TAEHParaStyle::kLeftMargin, left + step, kPixelsPerInch);
    }
    s.SetListKind(kind);
  });
}

void TAEHParaAttributes::SetUnit(std::uint8_t unit) {
  if (m_box.ParagraphCount() == 0) return;
  const int first = m_box.SelectionStart().paragraph;
  const int last = m_box.SelectionEnd().paragraph;
  for (int i = first; i <= last; ++i) m_box.Paragraph(i).style.SetUnitOfMeasure(unit);
}

void TAEHParaAttributes::SetLength(std::string_view caption, TAEHParaStyle::Field field, double value) {
  ForEachParagraph(std::string(caption) + Decimal(value),
                   [field, value](TAEHparag& p) { p.style.SetLengthInUnit(field, value, kPixelsPerInch); });
}

void TAEHParaAttributes::SetLineHeight(double value) { SetLength("Line height ", TAEHParaStyle::kLineHeight, value); }
void TAEHParaAttributes::SetAutomaticLineHeight() {
  if (m_box.ParagraphCount() == 0) return;
  const double shown = PixelsToUnit(kAutomaticLineHeight, CaretStyle().UnitOfMeasure(), kPixelsPerInch);
  ForEachParagraph("Line height " + Decimal(shown), [](TAEHparag& p) { p.style.SetLineHeight(kAutomaticLineHeight); });
}
void TAEHParaAttributes::SetSpaceBefore(double value) { SetLength("Top margin ", TAEHParaStyle::kSpaceBefore, value); }
void TAEHParaAttributes::SetSpaceAfter(double value) { SetLength("Bottom margin ", TAEHParaStyle::kSpaceAfter, value); }
void TAEHParaAttributes::SetFirstIndent(double value) { SetLength("First line indent ", TAEHParaStyle::kIndent, value); }
void TAEHParaAttributes::SetLeftMargin(double value) { SetLength("Left margin ", TAEHParaStyle::kLeftMargin, value); }
void TAEHParaAttributes::SetRightMargin(double value) { SetLength("Right margin ", TAEHParaStyle::kRightMargin, value); }

void TAEHParaAttributes::ShiftLeftMargin(double millimetres) {
  if (m_box.ParagraphCount() == 0) return;
  const int unit = CaretStyle().UnitOfMeasure();
  const double shown = std::max(0.0, static_cast<double>(LeftMargin()) + MmInUnit(millimetres, unit));
  ForEachParagraph("Left margin " + Decimal(shown), [millimetres](TAEHparag& p) {
    TAEHParaStyle& s = p.style;
    const double left = s.LengthInUnit(TAEHParaStyle::kLeftMargin, kPixelsPerInch);
    const double moved = std::max(0.0, left + MmInUnit(millimetres, s.UnitOfMeasure()));
    s.SetLengthInUnit(TAEHParaStyle::kLeftMargin, moved, kPixelsPerInch);
  });
}

void TAEHParaAttributes::SetLinkColor(std::uint32_t colour) {
  ForEachParagraph("Link color " + ColorName(colour), [colour](TAEHparag& p) { p.style.SetLinkColour(colour); });
}

void TAEHParaAttributes::SetLinkSize(std::int32_t points) {
  // Links are measured in their own font.
  ForEachParagraph("Link size " + std::to_string(points), [points](TAEHparag& p) { p.style.SetLinkSize(points); },
                   true);
}

void TAEHParaAttributes::SetLinkStyle(std::uint8_t bits) {
  ForEachParagraph("Link style" + StyleDescription(bits), [bits](TAEHparag& p) { p.style.SetLinkStyle(bits); },
                   true);
}

void TAEHParaAttributes::ApplyStyle(std::string_view name) {
  if (m_box.ParagraphCount() == 0) return;
  m_box.Record("Style " + std::string(name));
  int index = -1;
  const TAEHoggetto* record = nullptr;
  // Deleted styles leave free slots between the live ones.
  for (int i = 0; i < m_box.Host().StyleSlots(); ++i) {
    const TAEHoggetto* candidate = m_box.Host().StyleRecord(i);
    if (candidate != nullptr && base::SameText(candidate->GetCaption(), name)) {
      index = i;
      record = candidate;
      break;
    }
  }
  if (index < 0) return;
  m_box.BeginUpdate();
  const int first = m_box.SelectionStart().paragraph;
  const int last = m_box.SelectionEnd().paragraph;
  for (int i = first; i <= last; ++i) {
    TAEHparag& p = m_box.Paragraph(i);
    if (p.styleIndex == index && p.style.Base() == record) {
      // Applying a paragraph's own style again resets its text to the style.
      for (CharInfo& info : p.infos) info.format = -1;
      p.formats.clear();
    } else {
      // The formats keep what they change; what they leave follows the new style.
      for (auto& format : p.formats) format->SetBase(record);
    }
    p.style.SetBase(record);
    p.style.ClearOverrides();
    p.styleIndex = index;
  }
  m_box.Rebuild(first, last);
  m_box.LayoutRange(first, last);
  m_box.EndUpdate();
  if (onStyleApplied) onStyleApplied();
}

void TAEHParaAttributes::Assign(const TAEHParaAttributes& source) {
  if (m_box.ParagraphCount() == 0 || &source == this) return;
  SetAlignment(source.Alignment());
  SetListKind(source.ListKind());
  SetUnit(source.Unit());
  if (source.AutomaticLineHeight()) {
    SetAutomaticLineHeight();
  } else {
    SetLineHeight(source.LineHeight());
  }
  SetFirstIndent(source.FirstIndent());
  SetLeftMargin(source.LeftMargin());
  SetRightMargin(source.RightMargin());
  SetSpaceBefore(source.SpaceBefore());
  SetSpaceAfter(source.SpaceAfter());
  SetLinkColor(source.LinkColor());
  SetLinkSize(source.LinkSize());
  SetLinkStyle(source.LinkStyle());
}

void TAEHParaAttributes::Reformat() {
  if (m_box.ParagraphCount() == 0) return;
  m_box.BeginUpdate();
  m_box.Rebuild(0, m_box.ParagraphCount() - 1);
  m_box.LayoutAll();
  m_box.EndUpdate();
}

}  // namespace tarn::richtext
