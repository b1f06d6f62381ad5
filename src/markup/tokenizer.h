// The rich-text markup read as tokens: runs of characters, character
// references, control bytes, and tags with what they say. Everything that
// scans stored or working markup (the paragraph reader, the stored and
// working forms, the container's reference bookkeeping, page titles, the
// converters) reads through this one tokenizer, so that all of them agree on
// where a tag ends and what its values are. Tokens are views into the text;
// nothing is allocated.
//
//   markup::Tokenizer tokens(text);
//   for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) ...
//
// The tokenizer reads the whole view it is given: a text ends at its first
// byte 0 only for callers that cut it there (TextPart), as the reader does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarn::markup {

// The top byte of a "<$" value that makes the tag an object, not a link.
inline constexpr std::uint32_t kObjectTagKind = 0xFF;
// The length of a well-formed "<$" tag: "<$", eight digits, ">".
inline constexpr std::size_t kReferenceTagLength = 11;
// A letter code's closing blank must come within this many bytes.
inline constexpr std::size_t kValueWindow = 12;

enum class TokenKind : std::uint8_t {
  kEnd,           // nothing more to read
  kText,          // characters as they are: bytes from 32 up, except "<" and "&"
  kControls,      // bytes below 32; they carry nothing (runs of byte 3 are neutralised format tags)
  kEntity,        // an "&" reference; `character` is what it stands for
  kParagraphTag,  // "<Z": the codes are in Tokenizer::Codes()
  kFormatTag,     // "<Y": the codes are in Tokenizer::Codes()
  kReference,     // "<$": a link start, or an object when the value's top byte is kObjectTagKind
  kLinkEnd,       // "<%>"
  kCellEnd,       // "<T>"
  kCellsOmitted,  // "<@>"
  kSkippedBlock,  // "<D", "<F" or "<R" through the closing "<d>", "<f>" or "<r>"
  kOtherTag,      // any other tag, through its ">"
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::size_t at = 0;     // where the token starts in the text
  std::string_view text;  // its bytes
  // False for a tag without its ">" (or a block without its closing tag):
  // it runs to the end of the text.
  bool closed = true;
  // kEntity: the character it stands for (may be below 32).
  unsigned char character = 0;
  // kReference: the eight hexadecimal digits after "<$" (non-digits count as
  // 0), and whether the tag is exactly "<$", eight digits and ">".
  std::uint32_t value = 0;
  bool wellFormed = false;

  std::size_t End() const { return at + text.size(); }
  bool IsObject() const { return kind == TokenKind::kReference && (value >> 24) == kObjectTagKind; }
};

// The letter codes of a paragraph or character-format tag, in the one order
// in which they are recognised (a paragraph tag never has "i" or "g", a
// format tag only "c" through "p").
enum class Code : std::uint8_t {
  kStyle,        // "S": the paragraph's base style; always first in a paragraph tag
  kColour,       // "c"
  kFace,         // "F" and a quoted name
  kSize,         // "s"
  kItalic,       // "i": 1 turns italic on, anything else off
  kBold,         // "g": 1 turns bold on, anything else off
  kStyleBits,    // "y"
  kPosition,     // "p"
  kPByte,        // "P"
  kAlignment,    // "A"
  kListKind,     // "N"
  kUnit,         // "M"
  kLineHeight,   // "L"
  kIndent,       // "I"
  kLeftMargin,   // "l"
  kRightMargin,  // "r"
  kSpaceBefore,  // "t"
  kSpaceAfter,   // "b"
  kLinkColour,   // "C"
  kLinkSize,     // "S", after "C"
  kLinkStyle,    // "Y"
  kCount,
};

enum class CodeState : std::uint8_t {
  kAbsent,
  kPresent,
  // The key was there but its value has no closing blank (a name no closing
  // quote): readers report "Truncated line!" and treat the code as absent.
  kTruncated,
};

class TagCodes {
 public:
  CodeState State(Code code) const { return m_state[Index(code)]; }
  bool Has(Code code) const { return State(code) == CodeState::kPresent; }
  // A decimal code's value; a colour's with red in the lowest byte.
  std::int32_t Number(Code code) const { return m_value[Index(code)]; }
  std::uint32_t Colour(Code code) const { return static_cast<std::uint32_t>(Number(code)); }
  // The font name, a view into the text.
  std::string_view Face() const { return m_face; }
  // Calls report(isFaceName) for each truncated code, in reading order.
  template <typename Report>
  void ForEachTruncated(Report report) const {
    for (std::size_t i = 0; i < m_state.size(); ++i) {
      if (m_state[i] == CodeState::kTruncated) report(static_cast<Code>(i) == Code::kFace);
    }
  }

 private:
  friend class Tokenizer;
  static constexpr std::size_t Index(Code code) { return static_cast<std::size_t>(code); }
  std::array<CodeState, static_cast<std::size_t>(Code::kCount)> m_state{};
  std::array<std::int32_t, static_cast<std::size_t>(Code::kCount)> m_value{};
  std::string_view m_face;
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text, std::size_t position = 0) : m_text(text) { SetPosition(position); }

  std::string_view Text() const { return m_text; }
  std::size_t Position() const { return m_pos; }
  void SetPosition(std::size_t pos) { m_pos = pos < m_text.size() ? pos : m_text.size(); }
  bool AtEnd() const { return m_pos >= m_text.size(); }

  // The token at the position; the position moves past it.
  Token Next();
  // The kind of the token at the position, without reading it.
  TokenKind PeekKind() const;
  // Where a paragraph is expected: skips to the next "<" and reads that tag
  // as a paragraph tag whatever its letter. kEnd, and no move, when there is
  // no "<" left.
  Token NextAsParagraphTag();
  // The codes of the last paragraph or format tag read; valid until the next
  // tag is read.
  const TagCodes& Codes() const { return m_codes; }

  // A letter code: its key and how its value is written.
  struct CodeKey {
    enum class Value : std::uint8_t { kNumber, kColour, kFace };
    Code code;
    std::string_view key;
    Value value;
  };

 private:
  Token TagAt(std::size_t at);
  Token EntityAt(std::size_t at);
  Token ParagraphTagAt(std::size_t at);
  Token FormatTagAt(std::size_t at);
  Token ReferenceAt(std::size_t at);
  Token ThroughClose(TokenKind kind, std::size_t at, std::size_t from);
  Token Finish(TokenKind kind, std::size_t at, std::size_t end, bool closed);
  Token EndToken() const;

  // Code reading, at m_pos; each answers whether the code was present.
  bool At(std::string_view key) const {
    // Most codes are absent: one byte decides most tests.
    return m_pos < m_text.size() && m_text[m_pos] == key.front() && m_text.substr(m_pos).starts_with(key);
  }
  std::size_t FindBlank() const;
  bool ReadNumber(Code code, std::string_view key);
  bool ReadColour(Code code, std::string_view key);
  bool ReadFace();
  void ReadCodes(std::span<const CodeKey> keys);

  std::string_view m_text;
  std::size_t m_pos = 0;
  TagCodes m_codes;
  // The tag m_codes were read from.
  Token m_codesTag;
  // Where a search for a closing double quote is known to fail: a text with
  // an unclosed font name is searched once, not once per tag.
  std::size_t m_noQuoteFrom = std::string_view::npos;
};

// The text part of a stored or working text: up to its first byte 0.
std::string_view TextPart(std::string_view text);

// Calls visit(token) for every "<$" tag of the text in text order, those
// inside skipped blocks included: a reserved block is never shown, but the
// records it names are still named by the page, so the bookkeeping of
// references (the stored and working forms, releasing and cancelling
// references) counts them. Token positions are positions in `text`.
template <typename Visit>
void ForEachReference(std::string_view text, Visit&& visit, std::size_t origin = 0);


// Runs of characters are most of any text: they are read here, inline.

namespace detail {
// Bytes that end a run of characters: control bytes, "<" and "&".
inline constexpr std::array<bool, 256> kEndsText = [] {
  std::array<bool, 256> ends{};
  for (std::size_t c = 0; c < 32; ++c) ends[c] = true;
  ends['<'] = true;
  ends['&'] = true;
  return ends;
}();
// A tag's kind by its second byte.
inline TokenKind TagKind(char second) {
  switch (second) {
    case 'Z': return TokenKind::kParagraphTag;
    case 'Y': return TokenKind::kFormatTag;
    case '$': return TokenKind::kReference;
    case '%': return TokenKind::kLinkEnd;
    case 'T': return TokenKind::kCellEnd;
    case '@': return TokenKind::kCellsOmitted;
    case 'D': case 'F': case 'R': return TokenKind::kSkippedBlock;
    default: return TokenKind::kOtherTag;
  }
}
}  // namespace detail

inline TokenKind Tokenizer::PeekKind() const {
  if (AtEnd()) return TokenKind::kEnd;
  const auto c = static_cast<unsigned char>(m_text[m_pos]);
  if (c == '<') return detail::TagKind(m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : '\0');
  if (c == '&') return TokenKind::kEntity;
  return c < 32 ? TokenKind::kControls : TokenKind::kText;
}

inline Token Tokenizer::Next() {
  if (AtEnd()) return EndToken();
  const std::size_t at = m_pos;
  const auto c = static_cast<unsigned char>(m_text[at]);
  if (c == '<') return TagAt(at);
  if (c == '&') return EntityAt(at);
  const std::size_t size = m_text.size();
  std::size_t end = at + 1;
  if (c < 32) {
    while (end < size && static_cast<unsigned char>(m_text[end]) < 32) ++end;
    return Finish(TokenKind::kControls, at, end, true);
  }
  while (end < size && !detail::kEndsText[static_cast<unsigned char>(m_text[end])]) ++end;
  return Finish(TokenKind::kText, at, end, true);
}

inline Token Tokenizer::EndToken() const {
  Token token;
  token.at = m_pos;
  return token;
}

// end lies within the text.
inline Token Tokenizer::Finish(TokenKind kind, std::size_t at, std::size_t end, bool closed) {
  m_pos = end;
  Token token;
  token.kind = kind;
  token.at = at;
  token.text = std::string_view(m_text.data() + at, end - at);
  token.closed = closed;
  return token;
}

template <typename Visit>
void ForEachReference(std::string_view text, Visit&& visit, std::size_t origin) {
  Tokenizer tokens(text);
  for (Token t = tokens.Next(); t.kind != TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind == TokenKind::kReference) {
      t.at += origin;
      visit(t);
    } else if (t.kind == TokenKind::kSkippedBlock) {
      // Between the opening "<D" and the closing "<d>" (when there is one).
      constexpr std::size_t kOpening = 2;
      constexpr std::size_t kClosing = 3;
      const std::size_t inner = t.text.size() - kOpening - (t.closed ? kClosing : 0);
      ForEachReference(t.text.substr(kOpening, inner), visit, origin + t.at + kOpening);
    }
  }
}

}  // namespace tarn::markup
