// The markup read as tokens; see tokenizer.h.
#include "markup/tokenizer.h"

#include <algorithm>
#include <cstring>

#include "base/hex.h"
#include "markup/entities.h"

namespace tarn::markup {
namespace {

constexpr std::size_t kTagCodesStart = 3;  // "<Z " and "<Y ": the third byte is not looked at
constexpr std::size_t kReferenceDigits = 8;

using Value = Tokenizer::CodeKey::Value;

// The codes of each tag in the one order in which they are recognised; a
// paragraph tag's style index comes first, before these.
constexpr Tokenizer::CodeKey kParagraphCodes[] = {
    {Code::kColour, "c", Value::kColour},      {Code::kFace, "F\"", Value::kFace},
    {Code::kSize, "s", Value::kNumber},        {Code::kStyleBits, "y", Value::kNumber},
    {Code::kPosition, "p", Value::kNumber},    {Code::kPByte, "P", Value::kNumber},
    {Code::kAlignment, "A", Value::kNumber},   {Code::kListKind, "N", Value::kNumber},
    {Code::kUnit, "M", Value::kNumber},        {Code::kLineHeight, "L", Value::kNumber},
    {Code::kIndent, "I", Value::kNumber},      {Code::kLeftMargin, "l", Value::kNumber},
    {Code::kRightMargin, "r", Value::kNumber}, {Code::kSpaceBefore, "t", Value::kNumber},
    {Code::kSpaceAfter, "b", Value::kNumber},  {Code::kLinkColour, "C", Value::kColour},
    {Code::kLinkSize, "S", Value::kNumber},    {Code::kLinkStyle, "Y", Value::kNumber},
};
constexpr Tokenizer::CodeKey kFormatCodes[] = {
    {Code::kColour, "c", Value::kColour},   {Code::kFace, "F\"", Value::kFace},
    {Code::kSize, "s", Value::kNumber},     {Code::kItalic, "i", Value::kNumber},
    {Code::kBold, "g", Value::kNumber},     {Code::kStyleBits, "y", Value::kNumber},
    {Code::kPosition, "p", Value::kNumber},
};

}  // namespace

std::string_view TextPart(std::string_view text) {
  const auto* nul = static_cast<const char*>(std::memchr(text.data(), 0, text.size()));
  return nul == nullptr ? text : text.substr(0, static_cast<std::size_t>(nul - text.data()));
}

Token Tokenizer::EntityAt(std::size_t at) {
  const DecodedEntity entity = DecodeEntity(m_text, at);
  Token token = Finish(TokenKind::kEntity, at, at + entity.length, true);
  token.character = entity.character;
  return token;
}

Token Tokenizer::NextAsParagraphTag() {
  const std::size_t open = m_text.find('<', m_pos);
  if (open == std::string_view::npos) return EndToken();
  return ParagraphTagAt(open);
}

Token Tokenizer::ThroughClose(TokenKind kind, std::size_t at, std::size_t from) {
  const std::size_t close = m_text.find('>', from);
  if (close == std::string_view::npos) return Finish(kind, at, m_text.size(), false);
  return Finish(kind, at, close + 1, true);
}

Token Tokenizer::TagAt(std::size_t at) {
  const char second = at + 1 < m_text.size() ? m_text[at + 1] : '\0';
  switch (detail::TagKind(second)) {
    case TokenKind::kParagraphTag: return ParagraphTagAt(at);
    case TokenKind::kFormatTag: return FormatTagAt(at);
    case TokenKind::kReference: return ReferenceAt(at);
    case TokenKind::kSkippedBlock: {
      // The block closes with the same letter in lower case: "<D" ... "<d>".
      const char closing[3] = {'<', static_cast<char>(second + ('a' - 'A')), '>'};
      const std::size_t end = m_text.find(std::string_view(closing, 3), at + 2);
      if (end == std::string_view::npos) return Finish(TokenKind::kSkippedBlock, at, m_text.size(), false);
      return Finish(TokenKind::kSkippedBlock, at, end + 3, true);
    }
    default: return ThroughClose(detail::TagKind(second), at, at);
  }
}

// A paragraph tag without a style index (or with a negative one) states
// nothing: its other codes are not read, and it ends at its first ">".
// Otherwise it ends at the first ">" after the codes that were recognised.
Token Tokenizer::ParagraphTagAt(std::size_t at) {
  // A reader that meets a paragraph tag in a body steps back and reads it
  // again as the start of the next paragraph: it is not parsed twice.
  if (m_codesTag.kind == TokenKind::kParagraphTag && m_codesTag.at == at) {
    m_pos = m_codesTag.End();
    return m_codesTag;
  }
  m_codes = TagCodes{};
  SetPosition(at + kTagCodesStart);
  if (!ReadNumber(Code::kStyle, "S") || m_codes.Number(Code::kStyle) < 0) {
    return m_codesTag = ThroughClose(TokenKind::kParagraphTag, at, at);
  }
  ReadCodes(kParagraphCodes);
  return m_codesTag = ThroughClose(TokenKind::kParagraphTag, at, m_pos);
}

Token Tokenizer::FormatTagAt(std::size_t at) {
  m_codes = TagCodes{};
  SetPosition(at + kTagCodesStart);
  ReadCodes(kFormatCodes);
  return m_codesTag = ThroughClose(TokenKind::kFormatTag, at, m_pos);
}

void Tokenizer::ReadCodes(std::span<const CodeKey> keys) {
  for (const CodeKey& key : keys) {
    switch (key.value) {
      case CodeKey::Value::kNumber: ReadNumber(key.code, key.key); break;
      case CodeKey::Value::kColour: ReadColour(key.code, key.key); break;
      case CodeKey::Value::kFace: ReadFace(); break;
    }
  }
}

// The value is read from the eight bytes after "<$" whatever they are; the
// tag itself ends at its first ">".
Token Tokenizer::ReferenceAt(std::size_t at) {
  std::uint32_t value = 0;
  bool digits = true;
  for (std::size_t i = 0; i < kReferenceDigits; ++i) {
    const std::size_t place = at + 2 + i;
    const int d = place < m_text.size() ? base::HexDigitValue(m_text[place]) : -1;
    digits = digits && d >= 0;
    value = (value << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
  }
  const bool wellFormed =
      digits && at + kReferenceTagLength <= m_text.size() && m_text[at + kReferenceTagLength - 1] == '>';
  Token token = ThroughClose(TokenKind::kReference, at, at);
  token.value = value;
  token.wellFormed = wellFormed;
  return token;
}

std::size_t Tokenizer::FindBlank() const {
  const std::size_t end = std::min(m_text.size(), m_pos + kValueWindow);
  for (std::size_t i = m_pos; i < end; ++i) {
    if (m_text[i] == ' ') return i;
  }
  return std::string_view::npos;
}

bool Tokenizer::ReadNumber(Code code, std::string_view key) {
  if (!At(key)) return false;
  m_pos += key.size();
  const std::size_t blank = FindBlank();
  const std::size_t index = TagCodes::Index(code);
  if (blank == std::string_view::npos) {
    m_codes.m_state[index] = CodeState::kTruncated;
    return false;
  }
  std::size_t i = m_pos;
  const bool negative = i < blank && m_text[i] == '-';
  if (negative) ++i;
  // At most eleven digits fit before the blank: no overflow here.
  std::int64_t v = 0;
  for (; i < blank && m_text[i] >= '0' && m_text[i] <= '9'; ++i) v = v * 10 + (m_text[i] - '0');
  m_codes.m_state[index] = CodeState::kPresent;
  m_codes.m_value[index] = static_cast<std::int32_t>(negative ? -v : v);
  m_pos = blank + 1;
  return true;
}

bool Tokenizer::ReadColour(Code code, std::string_view key) {
  if (!At(key)) return false;
  m_pos += key.size();
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    const std::size_t place = m_pos + i;
    const int d = place < m_text.size() ? base::HexDigitValue(m_text[place]) : -1;
    rgb = (rgb << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
  }
  const std::size_t blank = FindBlank();
  const std::size_t index = TagCodes::Index(code);
  if (blank == std::string_view::npos) {
    m_codes.m_state[index] = CodeState::kTruncated;
    return false;
  }
  // Written red, green, blue; held with red in the lowest byte.
  const std::uint32_t colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  m_codes.m_state[index] = CodeState::kPresent;
  m_codes.m_value[index] = static_cast<std::int32_t>(colour);
  m_pos = blank + 1;
  return true;
}

bool Tokenizer::ReadFace() {
  if (!At("F\"")) return false;
  m_pos += 2;
  std::size_t quote = std::string_view::npos;
  if (m_noQuoteFrom == std::string_view::npos || m_pos < m_noQuoteFrom) {
    quote = m_text.find('"', m_pos);
    if (quote == std::string_view::npos) m_noQuoteFrom = m_pos;
  }
  const std::size_t index = TagCodes::Index(Code::kFace);
  if (quote == std::string_view::npos) {
    m_codes.m_state[index] = CodeState::kTruncated;
    return false;
  }
  m_codes.m_state[index] = CodeState::kPresent;
  m_codes.m_face = m_text.substr(m_pos, quote - m_pos);
  SetPosition(quote + 2);
  return true;
}

}  // namespace tarn::markup
