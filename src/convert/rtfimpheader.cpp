// The tables of an RTF document; see rtfimpheader.h.
#include "convert/rtfimpheader.h"

#include <algorithm>
#include <memory>

#include "base/cp1252.h"
#include "convert/textcodec.h"
#include "document/aehset.h"
#include "platform/messages.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

using document::TAEHoggetto;
using rtf::Token;
using rtf::TokenKind;
using rtf::Word;
using namespace richtext::stylefield;

constexpr std::string_view kNormal = "Normal";
constexpr std::string_view kMisuse = "Mi sa che non stai usando l'oggetto correttamente.";
constexpr int kStyleNameCapacity = 32;
constexpr int kMaxListLevels = 9;
constexpr int kMaxBaseDepth = 32;
// The bytes of a style record from its size to its position field: what
// makes two styles look the same (the name and the face are compared apart).
constexpr int kDefinitionStart = kSize;
constexpr int kDefinitionEnd = kPosition + 1;

// Reads the group whose "{" was just read when its first token is "\*":
// answers that token (and consumes it) or leaves the lexer unchanged.
bool StarredGroup(rtf::Lexer& lexer) {
  rtf::Lexer peek = lexer;
  const Token t = peek.Next();
  if (t.kind == TokenKind::kControlSymbol && t.symbol == '*') {
    lexer = peek;
    return true;
  }
  return false;
}

// The first control word of a group, read without moving the lexer ("\*"
// before it is passed over and reported).
Token PeekGroupWord(const rtf::Lexer& lexer, bool& starred) {
  rtf::Lexer peek = lexer;
  Token t = peek.Next();
  starred = false;
  if (t.kind == TokenKind::kControlSymbol && t.symbol == '*') {
    starred = true;
    t = peek.Next();
  }
  return t;
}

std::uint8_t ListKindOfFormat(int nfc) {
  if (nfc == 23) return 10;   // bullet
  if (nfc == 255) return 0;   // no number
  return 6;
}

void AppendNameByte(std::string& name, unsigned char b) {
  if (b >= 32 && name.size() < 255) name.push_back(static_cast<char>(b));
}

// A name in a table's group: text up to the first ";" (hexadecimal bytes
// included); done is set at the ";".
void NameText(const Token& t, std::string& name, bool& done) {
  if (t.kind == TokenKind::kHexByte) {
    if (!done) AppendNameByte(name, t.byte);
    return;
  }
  for (char c : t.word) {
    if (c == ';') done = true;
    if (!done) AppendNameByte(name, static_cast<unsigned char>(c));
  }
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool SameDefinition(const TAEHoggetto& a, const TAEHoggetto& b) {
  if (a.Str(kFace, kFaceCapacity) != b.Str(kFace, kFaceCapacity)) return false;
  for (int at = kDefinitionStart; at < kDefinitionEnd; ++at) {
    if (a.U8(at) != b.U8(at)) return false;
  }
  return true;
}

bool StartsWithHeading(std::string_view name) {
  return name.size() >= 7 && base::SameText(name.substr(0, 7), "heading");
}

}  // namespace

RtfCharFormat CharFormatOf(const TAEHoggetto& style) {
  RtfCharFormat c;
  c.face = style.Str(kFace, kFaceCapacity);
  c.size = style.I16(kSize);
  c.colour = static_cast<std::uint32_t>(style.I32(kColour)) & 0xFFFFFF;
  c.styleBits = style.U8(kStyleBits) & 0x0F;
  c.position = style.U8(kPosition);
  return c;
}

RtfParaFormat ParaFormatOf(const TAEHoggetto& style, int number) {
  RtfParaFormat p;
  p.style = number;
  p.alignment = style.U8(kAlignment);
  p.listKind = style.U8(kListKind);
  p.unit = style.U8(kUnit);
  p.lineHeight = style.I16(kLineHeight);
  p.indent = style.I16(kIndent);
  p.leftMargin = style.I16(kLeftMargin);
  p.rightMargin = style.I16(kRightMargin);
  p.spaceBefore = style.I16(kSpaceBefore);
  p.spaceAfter = style.I16(kSpaceAfter);
  p.linkColour = static_cast<std::uint32_t>(style.I32(kLinkColour)) & 0xFFFFFF;
  p.linkSize = style.I16(kLinkSize);
  p.linkStyle = style.U8(kLinkStyle);
  return p;
}

std::optional<std::uint8_t> ReadPnGroup(rtf::Lexer& lexer) {
  bool body = false;
  bool cont = false;
  std::size_t depth = 1;
  while (depth > 0) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd: depth = 0; break;
      case TokenKind::kGroupStart: ++depth; break;
      case TokenKind::kGroupEnd: --depth; break;
      case TokenKind::kControlWord:
        if (t.id == Word::kPnlvlbody) body = true;
        if (t.id == Word::kPnlvlcont) cont = true;
        break;
      default: break;
    }
  }
  if (cont) return std::nullopt;
  return static_cast<std::uint8_t>(body ? 6 : 10);
}

TRtfHeader::TRtfHeader(document::TAEHset& set, int pixelsPerInch) : m_set(set), m_pixelsPerInch(pixelsPerInch) {}

bool TRtfHeader::ReadHeader(rtf::Lexer& lexer) {
  if (m_used) {
    m_set.Services().messages->Error(kMisuse);
    return false;
  }
  m_used = true;
  const std::string_view text = lexer.Text();
  if (!text.substr(lexer.Position()).starts_with("{\\rtf1")) return false;
  lexer.Next();  // "{"
  lexer.Next();  // "\rtf1"
  for (;;) {
    rtf::Lexer before = lexer;
    const Token t = lexer.Next();
    if (t.kind == TokenKind::kControlWord) {
      switch (t.id) {
        case Word::kAnsi: m_codePage = kCodePage1252; continue;
        case Word::kMac: m_codePage = 10000; continue;
        case Word::kPc: m_codePage = 437; continue;
        case Word::kPca: m_codePage = 850; continue;
        case Word::kAnsicpg:
          if (t.parameter > 0 && CodePage::Find(t.parameter) != nullptr) m_codePage = t.parameter;
          continue;
        case Word::kDeff: m_defaultFont = t.parameter; continue;
        default: break;
      }
      // Document settings before the body ("\deflang", "\deftab" ...) mean
      // nothing to a page; any other word starts the body.
      if (t.id == Word::kUnknown) continue;
      lexer = before;
      return true;
    }
    if (t.kind != TokenKind::kGroupStart) {
      lexer = before;
      return true;
    }
    bool starred = false;
    const Token word = PeekGroupWord(lexer, starred);
    const Word id = word.kind == TokenKind::kControlWord ? word.id : Word::kUnknown;
    if (id == Word::kFonttbl) {
      lexer.Next();
      ReadFontTable(lexer);
    } else if (id == Word::kColortbl) {
      lexer.Next();
      ReadColourTable(lexer);
    } else if (id == Word::kStylesheet) {
      lexer.Next();
      ReadStyleSheet(lexer);
    } else if (id == Word::kListtable) {
      if (starred) lexer.Next();
      lexer.Next();
      ReadListTable(lexer);
    } else if (id == Word::kListoverridetable) {
      if (starred) lexer.Next();
      lexer.Next();
      ReadListOverrides(lexer);
    } else if ((starred && id == Word::kUnknown) || id == Word::kInfo || id == Word::kRevtbl) {
      // Generator, page styles and the like; destinations the body knows
      // (bookmarks, fields) start the body instead.
      lexer.SkipGroup();
    } else {
      lexer = before;
      return true;
    }
  }
}

// ---- Fonts ----

void TRtfHeader::ReadFontTable(rtf::Lexer& lexer) {
  // Entries are groups "{\fN ... name;}"; old documents list them without
  // groups, each ended by ";".
  int number = -1;
  Font font;
  bool inName = false;
  auto finish = [&] {
    if (number >= 0 && m_fonts.size() < kMaxFonts) {
      font.face = Trimmed(font.face).substr(0, kRtfFaceCapacity);
      m_fonts.insert_or_assign(number, font);
    }
    number = -1;
    font = Font{};
    inName = false;
  };
  for (;;) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd:
        return;
      case TokenKind::kGroupEnd:
        finish();
        return;
      case TokenKind::kGroupStart:
        if (StarredGroup(lexer)) lexer.SkipGroup();
        else ReadFontGroup(lexer);
        break;
      case TokenKind::kControlWord:
        if (t.id == Word::kF) {
          finish();
          number = t.parameter;
          inName = true;
        } else if (t.id == Word::kFcharset) {
          font.charset = t.parameter;
        }
        break;
      case TokenKind::kText:
        for (char c : t.word) {
          if (c == ';') finish();
          else if (inName) AppendNameByte(font.face, static_cast<unsigned char>(c));
        }
        break;
      case TokenKind::kHexByte:
        if (inName) AppendNameByte(font.face, t.byte);
        break;
      default:
        break;
    }
  }
}

void TRtfHeader::ReadFontGroup(rtf::Lexer& lexer) {
  int number = -1;
  Font font;
  bool nameDone = false;
  for (;;) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd:
        return;
      case TokenKind::kGroupEnd:
        if (number >= 0 && m_fonts.size() < kMaxFonts) {
          font.face = Trimmed(font.face).substr(0, kRtfFaceCapacity);
          m_fonts.insert_or_assign(number, std::move(font));
        }
        return;
      case TokenKind::kGroupStart:
        // "\*\panose", "\*\falt" and the like: the name ends before them.
        nameDone = nameDone || !font.face.empty();
        lexer.SkipGroup();
        break;
      case TokenKind::kControlWord:
        if (t.id == Word::kF) number = t.parameter;
        else if (t.id == Word::kFcharset) font.charset = t.parameter;
        break;
      case TokenKind::kText:
      case TokenKind::kHexByte:
        NameText(t, font.face, nameDone);
        break;
      default:
        break;
    }
  }
}

std::string TRtfHeader::FontName(int number) const {
  const auto found = m_fonts.find(number);
  if (found == m_fonts.end() || found->second.face.empty()) return std::string(kRtfDefaultFace);
  return found->second.face;
}

int TRtfHeader::FontCodePage(int font) const {
  const auto found = m_fonts.find(font);
  if (found == m_fonts.end()) return m_codePage;
  const int charset = found->second.charset;
  // The default set (1) and an unknown set follow the document.
  if (charset == 1) return m_codePage;
  return CodePageOfCharset(charset);
}

// ---- Colours ----

void TRtfHeader::ReadColourTable(rtf::Lexer& lexer) {
  bool hasRed = false;
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
  auto finish = [&] {
    if (m_colours.size() < kMaxColours) {
      m_colours.push_back(hasRed ? std::optional<std::uint32_t>(red | (green << 8) | (blue << 16)) : std::nullopt);
    }
    hasRed = false;
    red = green = blue = 0;
  };
  auto component = [](const Token& t) { return static_cast<std::uint32_t>(std::clamp(t.parameter, 0, 255)); };
  for (;;) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd:
      case TokenKind::kGroupEnd:
        return;
      case TokenKind::kGroupStart:
        lexer.SkipGroup();
        break;
      case TokenKind::kControlWord:
        if (t.id == Word::kRed) {
          red = component(t);
          hasRed = true;
        }
        else if (t.id == Word::kGreen) green = component(t);
        else if (t.id == Word::kBlue) blue = component(t);
        break;
      case TokenKind::kText:
        for (char c : t.word) {
          if (c == ';') finish();
        }
        break;
      default:
        break;
    }
  }
}

std::uint32_t TRtfHeader::ColourAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_colours.size() || !m_colours[index]) return 0;
  return *m_colours[static_cast<std::size_t>(index)];
}

// ---- Lists ----

void TRtfHeader::ReadListTable(rtf::Lexer& lexer) {
  for (;;) {
    const Token t = lexer.Next();
    if (t.kind == TokenKind::kEnd || t.kind == TokenKind::kGroupEnd) return;
    if (t.kind != TokenKind::kGroupStart) continue;
    bool starred = false;
    if (!Is(PeekGroupWord(lexer, starred), Word::kList) || starred) {
      lexer.SkipGroup();
      continue;
    }
    // One "{\list ...}": its levels in order, then "\listidN".
    std::vector<int> levels;
    int id = 0;
    std::size_t depth = 1;
    while (depth > 0) {
      const Token w = lexer.Next();
      if (w.kind == TokenKind::kEnd) return;
      if (w.kind == TokenKind::kGroupStart) {
        bool levelStarred = false;
        if (Is(PeekGroupWord(lexer, levelStarred), Word::kListlevel) && depth == 1 && !levelStarred) {
          if (levels.size() < kMaxListLevels) levels.push_back(0);
          ++depth;
        } else {
          lexer.SkipGroup();
        }
        continue;
      }
      if (w.kind == TokenKind::kGroupEnd) {
        --depth;
        continue;
      }
      if ((Is(w, Word::kLevelnfc) || Is(w, Word::kLevelnfcn)) && depth == 2 && !levels.empty()) {
        levels.back() = w.parameter;
      } else if (Is(w, Word::kListid) && depth == 1) {
        id = w.parameter;
      }
    }
    if (m_lists.size() < kMaxLists) m_lists.insert_or_assign(id, std::move(levels));
  }
}

void TRtfHeader::ReadListOverrides(rtf::Lexer& lexer) {
  for (;;) {
    const Token t = lexer.Next();
    if (t.kind == TokenKind::kEnd || t.kind == TokenKind::kGroupEnd) return;
    if (t.kind != TokenKind::kGroupStart) continue;
    int list = 0;
    int ls = 0;
    std::size_t depth = 1;
    while (depth > 0) {
      const Token w = lexer.Next();
      if (w.kind == TokenKind::kEnd) return;
      if (w.kind == TokenKind::kGroupStart) {
        lexer.SkipGroup();
      } else if (w.kind == TokenKind::kGroupEnd) {
        --depth;
      } else if (Is(w, Word::kListid)) {
        list = w.parameter;
      } else if (Is(w, Word::kLs)) {
        ls = w.parameter;
      }
    }
    if (m_overrides.size() < kMaxLists) m_overrides.insert_or_assign(ls, list);
  }
}

std::uint8_t TRtfHeader::ListKind(int listOverride, int level) const {
  const auto over = m_overrides.find(listOverride);
  const auto list = m_lists.find(over != m_overrides.end() ? over->second : listOverride);
  // A list the tables do not describe is still a list: bullets.
  if (list == m_lists.end() || level < 0 || static_cast<std::size_t>(level) >= list->second.size()) return 10;
  return ListKindOfFormat(list->second[static_cast<std::size_t>(level)]);
}

// ---- Styles ----

void TRtfHeader::ReadStyleSheet(rtf::Lexer& lexer) {
  m_hasStyleSheet = true;
  for (;;) {
    const Token t = lexer.Next();
    if (t.kind == TokenKind::kEnd || t.kind == TokenKind::kGroupEnd) return;
    if (t.kind != TokenKind::kGroupStart) continue;
    // Character, section and table styles ("\*\cs", "\*\ds", "\*\ts") have no
    // paragraph style to become.
    if (StarredGroup(lexer)) {
      lexer.SkipGroup();
      continue;
    }
    ReadStyleGroup(lexer);
  }
}

void TRtfHeader::ReadStyleGroup(rtf::Lexer& lexer) {
  StyleDef def;
  int number = 0;
  bool nameDone = false;
  for (;;) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd:
        return;
      case TokenKind::kGroupEnd: {
        def.name = Trimmed(def.name).substr(0, kStyleNameCapacity);
        if (def.name.empty()) def.name = kNormal;
        if (m_styles.size() < kMaxStyles || m_styles.contains(number)) m_styles.insert_or_assign(number, std::move(def));
        return;
      }
      case TokenKind::kGroupStart: {
        bool starred = false;
        if (Is(PeekGroupWord(lexer, starred), Word::kPn)) def.pnList = ReadPnGroup(lexer);
        else lexer.SkipGroup();
        break;
      }
      case TokenKind::kControlWord:
        if (t.id == Word::kS) number = t.parameter;
        else if (t.id == Word::kSbasedon) def.basedOn = t.parameter;
        else if (t.id != Word::kUnknown && def.words.size() < 256) def.words.push_back(t);
        break;
      case TokenKind::kText:
      case TokenKind::kHexByte:
        NameText(t, def.name, nameDone);
        break;
      default:
        break;
    }
  }
}

TRtfState TRtfHeader::InitialState() const {
  TRtfState state;
  state.font = m_defaultFont;
  state.character.face = FontName(m_defaultFont);
  return state;
}

const TRtfState& TRtfHeader::Resolve(StyleDef& def, int depth) {
  if (def.resolved) return *def.resolved;
  TRtfState state = InitialState();
  if (def.basedOn >= 0 && depth < kMaxBaseDepth && !def.resolving) {
    const auto base = m_styles.find(def.basedOn);
    if (base != m_styles.end() && &base->second != &def && !base->second.resolving) {
      def.resolving = true;
      state = Resolve(base->second, depth + 1);
      def.resolving = false;
    }
  }
  for (const Token& word : def.words) {
    if (Is(word, Word::kLs)) state.paragraph.listKind = ListKind(word.parameter, state.listLevel);
    else ApplyFormatWord(state, word, *this, m_pixelsPerInch, false);
  }
  if (def.pnList) state.paragraph.listKind = *def.pnList;
  state.paragraph = FinishMargins(state, m_pixelsPerInch);
  def.resolved = state;
  return *def.resolved;
}

int TRtfHeader::Register(StyleDef& def) {
  const TRtfState& state = Resolve(def, 0);
  auto style = m_set.NewObject(document::stileParagrafo);
  style->SetName(def.name);
  const RtfCharFormat& c = state.character;
  const RtfParaFormat& p = state.paragraph;
  style->SetStr(kFace, kFaceCapacity, c.face);
  style->SetI16(kSize, static_cast<std::int16_t>(c.size));
  style->SetI32(kColour, static_cast<std::int32_t>(c.colour));
  style->SetU8(kStyleBits, c.styleBits);
  style->SetU8(kPosition, c.position);
  style->SetU8(kAlignment, p.alignment);
  style->SetU8(kListKind, p.listKind);
  style->SetI16(kLineHeight, static_cast<std::int16_t>(p.lineHeight));
  style->SetI16(kIndent, static_cast<std::int16_t>(p.indent));
  style->SetI16(kLeftMargin, static_cast<std::int16_t>(p.leftMargin));
  style->SetI16(kRightMargin, static_cast<std::int16_t>(p.rightMargin));
  style->SetI16(kSpaceBefore, static_cast<std::int16_t>(p.spaceBefore));
  style->SetI16(kSpaceAfter, static_cast<std::int16_t>(p.spaceAfter));

  // An equal style is reused when its name matches too (any two heading
  // styles match); then a style of the same name; else the new one.
  const bool heading = StartsWithHeading(def.name);
  for (int i = 0; i < m_set.CountOf(document::stileParagrafo); ++i) {
    const TAEHoggetto* existing = m_set.GetObject(document::stileParagrafo, i);
    if (existing == nullptr || existing->IsFree() || !SameDefinition(*existing, *style)) continue;
    const std::string name = existing->GetCaption();
    if (base::SameText(name, def.name) || (heading && StartsWithHeading(name))) return i;
  }
  const int byName = m_set.StyleIndex(def.name);
  if (byName >= 0) return byName;
  style->SetName(m_set.UniqueStyleName(def.name));
  const int index = m_set.RegisterObject(style);
  if (index >= 0) ++m_stylesAdded;
  return index >= 0 ? index : 0;
}

int TRtfHeader::StyleFor(int rtfNumber) {
  auto found = m_styles.find(rtfNumber);
  if (found == m_styles.end()) {
    if (rtfNumber != 0) return StyleFor(0);
    // No style 0 (or no style sheet at all): a style "Normal" made from the
    // document's defaults.
    if (m_normalStyle < 0) {
      StyleDef normal;
      normal.name = kNormal;
      m_normalStyle = Register(normal);
    }
    return m_normalStyle;
  }
  StyleDef& def = found->second;
  if (def.hypertextStyle < 0) def.hypertextStyle = Register(def);
  return def.hypertextStyle;
}

int TRtfHeader::HeadingLevel(int rtfNumber) const {
  const auto found = m_styles.find(rtfNumber);
  if (found == m_styles.end()) return 0;
  const std::string& name = found->second.name;
  if (!StartsWithHeading(name)) return 0;
  std::size_t i = 7;
  while (i < name.size() && name[i] == ' ') ++i;
  int level = 0;
  while (i < name.size() && name[i] >= '0' && name[i] <= '9' && level < 1000) level = level * 10 + (name[i++] - '0');
  return level;
}

bool TRtfHeader::IsHeading(int rtfNumber) const {
  const auto found = m_styles.find(rtfNumber);
  return found != m_styles.end() && StartsWithHeading(found->second.name);
}

std::string_view TRtfHeader::StyleName(int rtfNumber) const {
  const auto found = m_styles.find(rtfNumber);
  return found == m_styles.end() ? std::string_view() : std::string_view(found->second.name);
}

}  // namespace tarn::convert
