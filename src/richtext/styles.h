// Paragraph styles: the fields of a style record, the character format of a
// run (TAEHFontStyle) and the style of a paragraph (TAEHParaStyle), each a
// base style plus the fields that differ from it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/recordfields.h"
#include "platform/textmeasurer.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::richtext {

using document::TAEHoggetto;

// The fields of a paragraph style record (kind 17), as the style code names them.
namespace stylefield = document::field::style;

using stylefield::kAutomaticLineHeight;

// Length units in which the author sees lengths.
enum class Unit : std::uint8_t { Centimetres = 0, Millimetres = 1, Inches = 2, Points = 3, Pica = 4, Pixels = 5 };

// A stored pixel length shown in the unit (single precision, as displayed).
float PixelsToUnit(int pixels, int unit, int pixelsPerInch);
// A length entered in the unit, in pixels rounded to the nearest (halves to even).
int UnitToPixels(double value, int unit, int pixelsPerInch);

// A plain font value.
struct TMyFont {
  std::string face;
  std::uint8_t style = 0;
  std::uint32_t colour = 0;
  std::int32_t size = 10;
  std::uint8_t position = 0;

  bool operator==(const TMyFont&) const = default;
};

// The character format of a run: each field is the base style's unless it
// was set to something different.
class TAEHFontStyle {
 public:
  const TAEHoggetto* Base() const { return m_base; }
  void SetBase(const TAEHoggetto* base) { m_base = base; }

  std::uint32_t Colour() const;
  std::string_view Face() const;
  std::int32_t Size() const;
  std::uint8_t Style() const;
  std::uint8_t Position() const;
  void SetColour(std::uint32_t v);
  void SetFace(std::string_view v);
  void SetSize(std::int32_t v);
  void SetStyle(std::uint8_t v);
  void SetPosition(std::uint8_t v);

  bool ColourSet() const { return m_colourSet; }
  bool FaceSet() const { return m_faceSet; }
  bool SizeSet() const { return m_sizeSet; }
  bool StyleSet() const { return m_styleSet; }
  bool PositionSet() const { return m_positionSet; }

  void Assign(const TAEHFontStyle& source);
  void Assign(const class TAEHParaStyle& source);
  void Assign(const platform::FontRequest& font);
  void Assign(const TMyFont& font);
  void AssignTo(platform::FontRequest& font) const;
  void AssignTo(TMyFont& font) const;
  TMyFont Font() const;

 private:
  std::uint32_t m_colour = 0;
  std::string m_face;
  std::int32_t m_size = 0;
  std::uint8_t m_style = 0;
  std::uint8_t m_position = 0;
  const TAEHoggetto* m_base = nullptr;
  bool m_colourSet = false;
  bool m_faceSet = false;
  bool m_sizeSet = false;
  bool m_styleSet = false;
  bool m_positionSet = false;
};

// The style of one paragraph: a base style record plus the fields the
// paragraph overrides, and a scratch character format used while reading.
class TAEHParaStyle {
 public:
  enum Field {
    kColour, kFace, kSize, kStyle, kPosition, kAlignment, kPByte, kListKind, kUnit, kLineHeight, kIndent,
    kLeftMargin, kRightMargin, kSpaceBefore, kSpaceAfter, kLinkStyle, kLinkColour, kLinkSize, kFieldCount
  };

  const TAEHoggetto* Base() const { return m_base; }
  // Sets the base of the style and of its scratch format; overrides stay.
  void SetBase(const TAEHoggetto* base);
  void ClearOverrides();
  bool IsSet(Field f) const { return (m_set >> f) & 1u; }

  std::uint32_t Colour() const;
  std::string_view Face() const;
  std::int32_t Size() const;
  std::uint8_t Style() const;
  std::uint8_t Position() const;
  std::uint8_t Alignment() const;
  std::uint8_t PByte() const;
  std::uint8_t ListKind() const;
  std::uint8_t UnitOfMeasure() const;
  std::int32_t LineHeight() const;
  std::int32_t Indent() const;
  std::int32_t LeftMargin() const;
  std::int32_t RightMargin() const;
  std::int32_t SpaceBefore() const;
  std::int32_t SpaceAfter() const;
  std::uint8_t LinkStyle() const;
  std::uint32_t LinkColour() const;
  std::int32_t LinkSize() const;

  void SetColour(std::uint32_t v);
  void SetFace(std::string_view v);
  void SetSize(std::int32_t v);
  void SetStyle(std::uint8_t v);
  void SetPosition(std::uint8_t v);
  void SetAlignment(std::uint8_t v);
  void SetPByte(std::uint8_t v);
  void SetListKind(std::uint8_t v);
  void SetUnitOfMeasure(std::uint8_t v);
  void SetLineHeight(std::int32_t v);
  void SetIndent(std::int32_t v);
  void SetLeftMargin(std::int32_t v);
  void SetRightMargin(std::int32_t v);
  void SetSpaceBefore(std::int32_t v);
  void SetSpaceAfter(std::int32_t v);
  void SetLinkStyle(std::uint8_t v);
  void SetLinkColour(std::uint32_t v);
  void SetLinkSize(std::int32_t v);

  // Lengths in the paragraph's unit of measure.
  float LengthInUnit(Field f, int pixelsPerInch) const;
  void SetLengthInUnit(Field f, double value, int pixelsPerInch);

  // The paragraph's effective character font.
  TMyFont Font() const;
  // How a link shows over text in the given font.
  TMyFont LinkFont(const TMyFont& text) const;

  TAEHFontStyle& Scratch() { return m_scratch; }
  const TAEHFontStyle& Scratch() const { return m_scratch; }

  void Assign(const TAEHParaStyle& source, int pixelsPerInch = 96);
  void Assign(const TAEHFontStyle& source);
  void Assign(const platform::FontRequest& font);
  void Assign(const TMyFont& font);
  void AssignTo(platform::FontRequest& font) const;
  void AssignTo(TMyFont& font) const;

 private:
  std::int32_t BaseInt(Field f) const;
  std::int32_t Get(Field f) const;
  void SetInt(Field f, std::int32_t v);

  std::array<std::int32_t, kFieldCount> m_values{};
  std::string m_face;
  std::uint32_t m_set = 0;
  const TAEHoggetto* m_base = nullptr;
  TAEHFontStyle m_scratch;
};

// Reads the character font of a style record (defaults when none).
TMyFont StyleFont(const TAEHoggetto* style);

}  // namespace tarn::richtext
