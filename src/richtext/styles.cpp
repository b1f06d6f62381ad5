// Character and paragraph styles with the override rule; see styles.h.
#include "richtext/styles.h"

#include <cmath>

#include "base/bytes.h"
#include "document/aehoggetto.h"

namespace tarn::richtext {
namespace {

using namespace stylefield;

constexpr std::string_view kDefaultFace = "Times New Roman";

// Record offset and width of each paragraph-style field, in Field order.
struct FieldSpec {
  int offset;
  int width;  // 1, 2 or 4 bytes; 0 for the face
  std::int32_t fallback;  // the value of a new style, for a style without record
};
constexpr std::array<FieldSpec, TAEHParaStyle::kFieldCount> kFields = {{
    {kColour, 4, 0},          {kFace, 0, 0},          {kSize, 2, 12},          {kStyleBits, 1, 0},
    {kPosition, 1, 0},        {kAlignment, 1, 0},     {kPByte, 1, 0},          {kListKind, 1, 0},
    {kUnit, 1, 1},            {kLineHeight, 2, kAutomaticLineHeight},          {kIndent, 2, 0},
    {kLeftMargin, 2, 10},     {kRightMargin, 2, 10},  {kSpaceBefore, 2, 0},    {kSpaceAfter, 2, 0},
    {kLinkStyle, 1, 4},       {kLinkColour, 4, 0xFF0000}, {kLinkSize, 2, -1},
}};

std::int32_t RecordValue(const TAEHoggetto* style, TAEHParaStyle::Field f) {
  const FieldSpec& layout = kFields[f];
  if (style == nullptr) return layout.fallback;
  switch (layout.width) {
    case 1: return style->U8(layout.offset);
    case 2: return style->I16(layout.offset);
    default: return style->I32(layout.offset);
  }
}

std::string_view RecordFace(const TAEHoggetto* style) {
  if (style == nullptr) return kDefaultFace;
  auto record = style->Record();
  const std::size_t length = std::min<std::size_t>(record[kFace], kFaceCapacity);
  return {reinterpret_cast<const char*>(record.data() + kFace + 1), length};
}

double UnitsPerInch(int unit, int pixelsPerInch) {
  switch (unit) {
    case 0: return 2.54;
    case 1: return 25.4;
    case 2: return 1.0;
    case 3: return 72.0;
    case 4: return 6.0;
    default: return pixelsPerInch > 0 ? pixelsPerInch : 96.0;
  }
}

// The five character fields go the same way between every kind of font
// value; these keep the order of the assignments in one place.
template <typename Target, typename Source>
void SetCharacterFields(Target& target, const Source& source) {
  target.SetColour(source.Colour());
  target.SetFace(source.Face());
  target.SetStyle(source.Style());
  target.SetSize(source.Size());
  target.SetPosition(source.Position());
}

template <typename Target>
void SetFromFont(Target& target, const TMyFont& font) {
  target.SetColour(font.colour);
  target.SetFace(font.face);
  target.SetStyle(font.style);
  target.SetSize(font.size);
  target.SetPosition(font.position);
}

template <typename Target>
void SetFromRequest(Target& target, const platform::FontRequest& font) {
  target.SetColour(font.colour);
  target.SetFace(font.face);
  target.SetStyle(static_cast<std::uint8_t>(font.styleBits));
  target.SetSize(font.sizePoints);
}

template <typename Source>
void FillRequest(platform::FontRequest& font, const Source& source) {
  font.face = std::string(source.Face());
  font.sizePoints = source.Size();
  font.styleBits = source.Style();
  font.colour = source.Colour();
}

}  // namespace

float PixelsToUnit(int pixels, int unit, int pixelsPerInch) {
  const double inches = pixels / static_cast<double>(pixelsPerInch > 0 ? pixelsPerInch : 96);
  return static_cast<float>(inches * UnitsPerInch(unit, pixelsPerInch));
}

int UnitToPixels(double value, int unit, int pixelsPerInch) {
  const double inches = value / UnitsPerInch(unit, pixelsPerInch);
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int>(std::nearbyint(inches * (pixelsPerInch > 0 ? pixelsPerInch : 96)));
}

TMyFont StyleFont(const TAEHoggetto* style) {
  TMyFont font;
  font.face = std::string(RecordFace(style));
  font.size = RecordValue(style, TAEHParaStyle::kSize);
  font.colour = static_cast<std::uint32_t>(RecordValue(style, TAEHParaStyle::kColour));
  font.style = static_cast<std::uint8_t>(RecordValue(style, TAEHParaStyle::kStyle));
  font.position = static_cast<std::uint8_t>(RecordValue(style, TAEHParaStyle::kPosition));
  return font;
}

// ---- TAEHFontStyle ----

std::uint32_t TAEHFontStyle::Colour() const {
  return m_colourSet ? m_colour : static_cast<std::uint32_t>(RecordValue(m_base, TAEHParaStyle::kColour));
}
std::string_view TAEHFontStyle::Face() const { return m_faceSet ? std::string_view(m_face) : RecordFace(m_base); }
std::int32_t TAEHFontStyle::Size() const { return m_sizeSet ? m_size : RecordValue(m_base, TAEHParaStyle::kSize); }
std::uint8_t TAEHFontStyle::Style() const {
  return m_styleSet ? m_style : static_cast<std::uint8_t>(RecordValue(m_base, TAEHParaStyle::kStyle));
}
std::uint8_t TAEHFontStyle::Position() const {
  return m_positionSet ? m_position : static_cast<std::uint8_t>(RecordValue(m_base, TAEHParaStyle::kPosition));
}

// Each setter keeps an override only when it differs from the base style.
void TAEHFontStyle::SetColour(std::uint32_t v) {
  m_colourSet = v != static_cast<std::uint32_t>(RecordValue(m_base, TAEHParaStyle::kColour));
  if (m_colourSet) m_colour = v;
}
void TAEHFontStyle::SetFace(std::string_view v) {
  m_faceSet = v != RecordFace(m_base);
  if (m_faceSet) m_face = std::string(v);
}
void TAEHFontStyle::SetSize(std::int32_t v) {
  m_sizeSet = v != RecordValue(m_base, TAEHParaStyle::kSize);
  if (m_sizeSet) m_size = v;
}
void TAEHFontStyle::SetStyle(std::uint8_t v) {
  m_styleSet = v != RecordValue(m_base, TAEHParaStyle::kStyle);
  if (m_styleSet) m_style = v;
}
void TAEHFontStyle::SetPosition(std::uint8_t v) {
  m_positionSet = v != RecordValue(m_base, TAEHParaStyle::kPosition);
  if (m_positionSet) m_position = v;
}

TMyFont TAEHFontStyle::Font() const { return {std::string(Face()), Style(), Colour(), Size(), Position()}; }

void TAEHFontStyle::Assign(const TAEHFontStyle& source) {
  m_base = source.m_base;
  SetCharacterFields(*this, source);
}

void TAEHFontStyle::Assign(const TAEHParaStyle& source) {
  m_base = source.Base();
  SetCharacterFields(*this, source);
}

void TAEHFontStyle::Assign(const platform::FontRequest& font) { SetFromRequest(*this, font); }
void TAEHFontStyle::Assign(const TMyFont& font) { SetFromFont(*this, font); }
void TAEHFontStyle::AssignTo(platform::FontRequest& font) const { FillRequest(font, *this); }
void TAEHFontStyle::AssignTo(TMyFont& font) const { font = Font(); }

// ---- TAEHParaStyle ----

void TAEHParaStyle::SetBase(const TAEHoggetto* base) {
  m_base = base;
  m_scratch.SetBase(base);
}

void TAEHParaStyle::ClearOverrides() { m_set = 0; }

std::int32_t TAEHParaStyle::BaseInt(Field f) const { return RecordValue(m_base, f); }
std::int32_t TAEHParaStyle::Get(Field f) const { return IsSet(f) ? m_values[f] : BaseInt(f); }

void TAEHParaStyle::SetInt(Field f, std::int32_t v) {
  if (v == BaseInt(f)) {
    m_set &= ~(1u << f);
  } else {
    m_set |= 1u << f;
    m_values[f] = v;
  }
}

std::uint32_t TAEHParaStyle::Colour() const { return static_cast<std::uint32_t>(Get(kColour)); }
std::string_view TAEHParaStyle::Face() const { return IsSet(kFace) ? std::string_view(m_face) : RecordFace(m_base); }
std::int32_t TAEHParaStyle::Size() const { return Get(kSize); }
std::uint8_t TAEHParaStyle::Style() const { return static_cast<std::uint8_t>(Get(kStyle)); }
std::uint8_t TAEHParaStyle::Position() const { return static_cast<std::uint8_t>(Get(kPosition)); }
std::uint8_t TAEHParaStyle::Alignment() const { return static_cast<std::uint8_t>(Get(kAlignment)); }
std::uint8_t TAEHParaStyle::PByte() const { return static_cast<std::uint8_t>(Get(kPByte)); }
std::uint8_t TAEHParaStyle::ListKind() const { return static_cast<std::uint8_t>(Get(kListKind)); }
std::uint8_t TAEHParaStyle::UnitOfMeasure() const { return static_cast<std::uint8_t>(Get(kUnit)); }
std::int32_t TAEHParaStyle::LineHeight() const { return Get(kLineHeight); }
std::int32_t TAEHParaStyle::Indent() const { return Get(kIndent); }
std::int32_t TAEHParaStyle::LeftMargin() const { return Get(kLeftMargin); }
std::int32_t TAEHParaStyle::RightMargin() const { return Get(kRightMargin); }
std::int32_t TAEHParaStyle::SpaceBefore() const { return Get(kSpaceBefore); }
std::int32_t TAEHParaStyle::SpaceAfter() const { return Get(kSpaceAfter); }
std::uint8_t TAEHParaStyle::LinkStyle() const { return static_cast<std::uint8_t>(Get(kLinkStyle)); }
std::uint32_t TAEHParaStyle::LinkColour() const { return static_cast<std::uint32_t>(Get(kLinkColour)); }
std::int32_t TAEHParaStyle::LinkSize() const { return Get(kLinkSize); }

void TAEHParaStyle::SetColour(std::uint32_t v) { SetInt(kColour, static_cast<std::int32_t>(v)); }
void TAEHParaStyle::SetFace(std::string_view v) {
  if (v == RecordFace(m_base)) {
    m_set &= ~(1u << kFace);
  } else {
    m_set |= 1u << kFace;
    m_face = std::string(v);
  }
}
void TAEHParaStyle::SetSize(std::int32_t v) { SetInt(kSize, v); }
void TAEHParaStyle::SetStyle(std::uint8_t v) { SetInt(kStyle, v); }
void TAEHParaStyle::SetPosition(std::uint8_t v) { SetInt(kPosition, v); }
void TAEHParaStyle::SetAlignment(std::uint8_t v) { SetInt(kAlignment, v); }
void TAEHParaStyle::SetPByte(std::uint8_t v) { SetInt(kPByte, v); }
void TAEHParaStyle::SetListKind(std::uint8_t v) { SetInt(kListKind, v); }
void TAEHParaStyle::SetUnitOfMeasure(std::uint8_t v) { SetInt(kUnit, v); }
void TAEHParaStyle::SetLineHeight(std::int32_t v) { SetInt(kLineHeight, v); }
void TAEHParaStyle::SetIndent(std::int32_t v) { SetInt(kIndent, v); }
void TAEHParaStyle::SetLeftMargin(std::int32_t v) { SetInt(kLeftMargin, v); }
void TAEHParaStyle::SetRightMargin(std::int32_t v) { SetInt(kRightMargin, v); }
void TAEHParaStyle::SetSpaceBefore(std::int32_t v) { SetInt(kSpaceBefore, v); }
void TAEHParaStyle::SetSpaceAfter(std::int32_t v) { SetInt(kSpaceAfter, v); }
void TAEHParaStyle::SetLinkStyle(std::uint8_t v) { SetInt(kLinkStyle, v); }
void TAEHParaStyle::SetLinkColour(std::uint32_t v) { SetInt(kLinkColour, static_cast<std::int32_t>(v)); }
void TAEHParaStyle::SetLinkSize(std::int32_t v) { SetInt(kLinkSize, v); }

float TAEHParaStyle::LengthInUnit(Field f, int pixelsPerInch) const {
  return PixelsToUnit(Get(f), UnitOfMeasure(), pixelsPerInch);
}

void TAEHParaStyle::SetLengthInUnit(Field f, double value, int pixelsPerInch) {
  SetInt(f, UnitToPixels(value, UnitOfMeasure(), pixelsPerInch));
}

TMyFont TAEHParaStyle::Font() const { return {std::string(Face()), Style(), Colour(), Size(), Position()}; }

TMyFont TAEHParaStyle::LinkFont(const TMyFont& text) const {
  TMyFont link = text;
  link.colour = LinkColour();
  link.style = static_cast<std::uint8_t>(text.style ^ LinkStyle());
  if (LinkSize() != -1) link.size = LinkSize();
  return link;
}

void TAEHParaStyle::Assign(const TAEHParaStyle& source, int pixelsPerInch) {
  SetBase(source.Base());
  SetCharacterFields(*this, source);
  SetAlignment(source.Alignment());
  SetPByte(source.PByte());
  SetListKind(source.ListKind());
  SetUnitOfMeasure(source.UnitOfMeasure());
  // Lengths travel through the unit of measure, as the author sees them.
  for (Field f : {kIndent, kLeftMargin, kRightMargin, kSpaceBefore, kSpaceAfter, kLineHeight}) {
    SetLengthInUnit(f, source.LengthInUnit(f, pixelsPerInch), pixelsPerInch);
  }
  SetLinkColour(source.LinkColour());
  SetLinkSize(source.LinkSize());
  SetLinkStyle(source.LinkStyle());
  m_scratch.Assign(source.m_scratch);
}

void TAEHParaStyle::Assign(const TAEHFontStyle& source) {
  SetBase(source.Base());
  SetCharacterFields(*this, source);
  m_scratch.Assign(source);
}

void TAEHParaStyle::Assign(const platform::FontRequest& font) {
  SetFromRequest(*this, font);
  m_scratch.Assign(font);
}

void TAEHParaStyle::Assign(const TMyFont& font) {
  SetFromFont(*this, font);
  m_scratch.Assign(font);
}

void TAEHParaStyle::AssignTo(platform::FontRequest& font) const { FillRequest(font, *this); }

void TAEHParaStyle::AssignTo(TMyFont& font) const { font = Font(); }

}  // namespace tarn::richtext
