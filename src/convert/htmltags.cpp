// Reading HTML tags; see htmltags.h.
#include "convert/htmltags.h"

#include <algorithm>
#include <cstring>

#include "base/cp1252.h"

namespace tarn::convert {
namespace {

// A quoted value may hold ">", but one that would run on this far past the
// next ">" is taken as an unclosed quote: a stray apostrophe must not swallow
// a page.
constexpr std::size_t kLongestQuotedValue = 1 << 16;
// Attributes kept per tag; further ones are read past.
constexpr std::size_t kMostAttributes = 128;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int HtmlNumber(std::string_view text, int otherwise) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return otherwise;
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && v < 1000000000; ++i) v = v * 10 + (text[i] - '0');
  return static_cast<int>(negative ? -v : v);
}

bool IsNameEnd(char c) { return IsBlank(c) || c == '>' || c == '/'; }

const std::string* HtmlTag::Find(std::string_view attribute) const {
  for (const HtmlAttribute& a : attributes) {
    if (a.name == attribute) return &a.value;
  }
  return nullptr;
}

std::string HtmlTag::Value(std::string_view attribute) const {
  const std::string* v = Find(attribute);
  return v != nullptr ? *v : std::string();
}

HtmlTagReader::HtmlTagReader(std::string_view text)
    : m_text(text), m_lastClose(text.rfind('>')), m_lastDouble(text.rfind('"')), m_lastSingle(text.rfind('\'')) {}

std::size_t HtmlTagReader::FindClose(std::size_t from) const {
  if (m_lastClose == std::string_view::npos || from > m_lastClose) return std::string_view::npos;
  return m_text.find('>', from);
}

std::size_t HtmlTagReader::FindNoCase(std::string_view needle, std::size_t from) const {
  if (needle.empty()) return from;
  const char first = needle[0];
  const char firstLower = base::Cp1252Lower(first);
  for (std::size_t i = from; i + needle.size() <= m_text.size(); ++i) {
    const char* p = m_text.data() + i;
    const std::size_t left = m_text.size() - i;
    // Jump to the next byte that could start the needle.
    const void* a = std::memchr(p, first, left);
    const void* b = firstLower != first ? std::memchr(p, firstLower, left) : nullptr;
    const char* hit = static_cast<const char*>(a == nullptr ? b : (b == nullptr ? a : std::min(a, b)));
    if (hit == nullptr) return std::string_view::npos;
    i = static_cast<std::size_t>(hit - m_text.data());
    if (i + needle.size() > m_text.size()) return std::string_view::npos;
    bool same = true;
    for (std::size_t k = 1; k < needle.size() && same; ++k) same = Upper(m_text[i + k]) == needle[k];
    if (same) return i;
  }
  return std::string_view::npos;
}

std::size_t HtmlTagReader::ValueEnd(std::size_t from, char quote) const {
  const std::size_t last = quote == '"' ? m_lastDouble : m_lastSingle;
  if (last == std::string_view::npos || from > last) return std::string_view::npos;
  const std::size_t closing = m_text.find(quote, from);
  if (closing == std::string_view::npos) return closing;
  if (closing - from > kLongestQuotedValue) {
    const std::size_t gt = FindClose(from);
    if (gt != std::string_view::npos && gt < closing) return std::string_view::npos;
  }
  return closing;
}

bool HtmlTagReader::Read(std::size_t at, HtmlTag& tag, const ReferenceDecoder& decode) const {
  const std::size_t n = m_text.size();
  std::size_t i = at + 1;
  tag.closing = i < n && m_text[i] == '/';
  if (tag.closing) ++i;
  if (i >= n || !IsLetter(m_text[i])) return false;
  if (FindClose(i) == std::string_view::npos) return false;
  tag.at = at;
  tag.name.clear();
  tag.attributes.clear();
  while (i < n && !IsNameEnd(m_text[i])) tag.name.push_back(Upper(m_text[i++]));
  for (;;) {
    while (i < n && (IsBlank(m_text[i]) || m_text[i] == '/')) ++i;
    if (i >= n) break;  // cannot happen: a ">" lies ahead
    if (m_text[i] == '>') {
      tag.end = i + 1;
      return true;
    }
    HtmlAttribute attribute;
    while (i < n && !IsBlank(m_text[i]) && m_text[i] != '=' && m_text[i] != '>') {
      attribute.name.push_back(Upper(m_text[i++]));
    }
    if (attribute.name.empty()) {
      ++i;  // a lone "=" or similar: read past it
      continue;
    }
    std::size_t j = i;
    while (j < n && IsBlank(m_text[j])) ++j;
    if (j < n && m_text[j] == '=') {
      i = j + 1;
      while (i < n && IsBlank(m_text[i])) ++i;
      std::string_view raw;
      const char q = i < n ? m_text[i] : '\0';
      const std::size_t closing = q == '"' || q == '\'' ? ValueEnd(i + 1, q) : std::string_view::npos;
      if (closing != std::string_view::npos) {
        raw = m_text.substr(i + 1, closing - i - 1);
        i = closing + 1;
      } else {
        if (q == '"' || q == '\'') ++i;  // an unclosed quote is read past
        const std::size_t start = i;
        while (i < n && !IsBlank(m_text[i]) && m_text[i] != '>') ++i;
        raw = m_text.substr(start, i - start);
      }
      if (decode && raw.find('&') != std::string_view::npos) attribute.value = decode(raw);
      else attribute.value.assign(raw);
    }
    if (tag.attributes.size() < kMostAttributes) tag.attributes.push_back(std::move(attribute));
  }
  tag.end = n;
  return true;
}

}  // namespace tarn::convert
