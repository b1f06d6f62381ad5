// The tables at the start of an RTF document (TRtfHeader): fonts with their
// character sets, colours, the style sheet and the list tables. Styles
// become paragraph styles of the hypertext when the body first uses them: an
// equal style of the hypertext is reused, else one of the same name, else a
// new one is registered under a unique name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/rtfimplexer.h"
#include "convert/rtfimpstate.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::convert {

// The character and paragraph format a style record of the hypertext gives.
RtfCharFormat CharFormatOf(const document::TAEHoggetto& style);
RtfParaFormat ParaFormatOf(const document::TAEHoggetto& style, int number);

class TRtfHeader : public RtfTables {
 public:
  // Bounds against hostile tables; real documents stay far below them.
  static constexpr std::size_t kMaxFonts = 65536;
  static constexpr std::size_t kMaxColours = 65536;
  static constexpr std::size_t kMaxStyles = 4096;
  static constexpr std::size_t kMaxLists = 4096;

  TRtfHeader(document::TAEHset& set, int pixelsPerInch);

  // Reads "{\rtf1", the document's control words and its tables, and leaves
  // the lexer at the first token of the body (inside the outer group).
  // False when the text is not RTF. A header object reads one document.
  bool ReadHeader(rtf::Lexer& lexer);

  // The hypertext's style for an RTF style number; the style is made when
  // it is first asked for. Numbers the style sheet lacks give the default.
  int StyleFor(int rtfNumber);
  // The style of "\pard": the document's style 0, or "Normal".
  int DefaultStyle() { return StyleFor(0); }
  // The level of a "heading N" style (0 for other styles and a "heading"
  // without a number).
  int HeadingLevel(int rtfNumber) const;
  // A style whose name starts with "heading".
  bool IsHeading(int rtfNumber) const;
  bool HasStyle(int rtfNumber) const { return m_styles.contains(rtfNumber); }
  std::string_view StyleName(int rtfNumber) const;

  std::string FontName(int number) const override;
  std::uint32_t ColourAt(int index) const override;
  int DefaultFont() const override { return m_defaultFont; }
  // The code page of the font's character set (0: keep the bytes, a symbol
  // font) or of the document.
  int FontCodePage(int font) const;
  int DocumentCodePage() const { return m_codePage; }

  // The list kind (0 none, 6 numbered, 10 bulleted) of "\lsN\ilvlM".
  std::uint8_t ListKind(int listOverride, int level) const;

  // The state the body starts in.
  TRtfState InitialState() const;

  // Styles registered by this document.
  int StylesAdded() const { return m_stylesAdded; }

 private:
  struct Font {
    std::string face;
    int charset = 1;
  };
  struct StyleDef {
    std::string name;
    int basedOn = -1;
    std::vector<rtf::Token> words;
    std::optional<std::uint8_t> pnList;
    bool resolving = false;
    std::optional<TRtfState> resolved;
    int hypertextStyle = -1;
  };

  void ReadFontTable(rtf::Lexer& lexer);
  void ReadFontGroup(rtf::Lexer& lexer);
  void ReadColourTable(rtf::Lexer& lexer);
  void ReadStyleSheet(rtf::Lexer& lexer);
  void ReadStyleGroup(rtf::Lexer& lexer);
  void ReadListTable(rtf::Lexer& lexer);
  void ReadListOverrides(rtf::Lexer& lexer);
  const TRtfState& Resolve(StyleDef& def, int depth);
  int Register(StyleDef& def);

  document::TAEHset& m_set;
  int m_pixelsPerInch;
  bool m_used = false;
  int m_defaultFont = 0;
  int m_codePage = 1252;
  std::unordered_map<int, Font> m_fonts;
  std::vector<std::optional<std::uint32_t>> m_colours;
  std::unordered_map<int, StyleDef> m_styles;
  bool m_hasStyleSheet = false;
  std::unordered_map<int, std::vector<int>> m_lists;  // list id -> level formats
  std::unordered_map<int, int> m_overrides;           // "\ls" -> list id
  int m_normalStyle = -1;
  int m_stylesAdded = 0;
};

// Reads "{\pn ...}" after its "{" (and "\*"): numbered when it holds
// "\pnlvlbody", bulleted otherwise; nothing for "\pnlvlcont".
std::optional<std::uint8_t> ReadPnGroup(rtf::Lexer& lexer);

}  // namespace tarn::convert
