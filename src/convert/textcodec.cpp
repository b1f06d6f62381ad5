// Code pages and Unicode text into cp1252; see textcodec.h.
#include "convert/textcodec.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "base/cp1252.h"

namespace tarn::convert {
namespace {

std::string IconvName(int number) {
  if (number == 10000) return "MACINTOSH";
  return "CP" + std::to_string(number);
}

// One conversion by iconv of a few bytes into one UTF-32 character.
// Answers 0 for an invalid sequence and sets incomplete for a sequence that
// needs more bytes.
char32_t Convert(iconv_t cd, const unsigned char* bytes, std::size_t count, bool& incomplete) {
  incomplete = false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char in[4] = {};
  for (std::size_t i = 0; i < count && i < sizeof in; ++i) in[i] = static_cast<char>(bytes[i]);
  char* inPtr = in;
  std::size_t inLeft = count;
  char32_t out[4] = {};
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof out;
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (rc == static_cast<std::size_t>(-1)) {
    if (errno == EINVAL) incomplete = true;
    return 0;
  }
  return outLeft < sizeof out ? out[0] : 0;
}

struct Registry {
  std::mutex mutex;
  std::map<int, std::unique_ptr<CodePage>> pages;
  std::map<int, iconv_t> converters;
  ~Registry() {
    for (auto& [number, cd] : converters) iconv_close(cd);
  }
};

Registry& Pages() {
  static Registry registry;
  return registry;
}

// Little-endian UTF-32 out, the page in; (iconv_t)-1 when unknown. Called
// with the registry's lock held.
iconv_t ConverterFor(Registry& registry, int number) {
  auto found = registry.converters.find(number);
  if (found != registry.converters.end()) return found->second;
  iconv_t cd = iconv_open("UTF-32LE", IconvName(number).c_str());
  registry.converters.emplace(number, cd);
  return cd;
}

}  // namespace

const CodePage* CodePage::Find(int number) {
  if (number <= 0) return nullptr;
  Registry& registry = Pages();
  std::lock_guard lock(registry.mutex);
  auto found = registry.pages.find(number);
  if (found != registry.pages.end()) return found->second.get();
  iconv_t cd = ConverterFor(registry, number);
  std::unique_ptr<CodePage> page;
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    page = std::make_unique<CodePage>();
    page->m_number = number;
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<unsigned char>(b);
      bool incomplete = false;
      page->m_chars[byte] = Convert(cd, &byte, 1, incomplete);
      page->m_lead[byte] = incomplete;
    }
  }
  const CodePage* result = page.get();
  registry.pages.emplace(number, std::move(page));
  return result;
}

char32_t CodePage::Pair(unsigned char lead, unsigned char trail) const {
  Registry& registry = Pages();
  std::lock_guard lock(registry.mutex);
  iconv_t cd = ConverterFor(registry, m_number);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  const unsigned char bytes[2] = {lead, trail};
  bool incomplete = false;
  return Convert(cd, bytes, 2, incomplete);
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 2: return 0;  // symbol
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return kCodePage1252;
  }
}

void AppendAsCp1252(std::string& out, char32_t character, std::size_t& replaced) {
  if (character < 32) return;
  if (const auto byte = base::UnicodeToCp1252(character)) {
    out.push_back(*byte);
    return;
  }
  out.push_back(kReplacementChar);
  ++replaced;
}

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

void FromUtf16(std::string_view bytes, bool littleEndian, std::string& out, std::size_t& replaced) {
  const bool oddByte = ForEachUtf16(bytes, littleEndian, [&](char32_t cp) {
    // Line breaks and tabs pass: the readers after this split lines.
    if (cp == '\r' || cp == '\n' || cp == '\t') out.push_back(static_cast<char>(cp));
    else AppendAsCp1252(out, cp, replaced);
  });
  if (oddByte) {
    out.push_back(kReplacementChar);
    ++replaced;
  }
}

}  // namespace

std::optional<TextEncoding> MarkedEncoding(std::string_view bytes) {
  if (StartsWith(bytes, kUtf8Mark)) return TextEncoding::kUtf8;
  if (StartsWith(bytes, kUtf16LeMark)) return TextEncoding::kUtf16Le;
  if (StartsWith(bytes, kUtf16BeMark)) return TextEncoding::kUtf16Be;
  return std::nullopt;
}

TextEncoding DetectEncoding(std::string_view bytes) {
  if (const std::optional<TextEncoding> marked = MarkedEncoding(bytes)) return *marked;
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp = 0;
    const std::size_t n = base::Utf8Sequence(bytes, i, cp);
    if (n == 0) return TextEncoding::kCp1252;
    beyondAscii = true;
    i += n;
  }
  return beyondAscii ? TextEncoding::kUtf8 : TextEncoding::kCp1252;
}

std::string ToCp1252(std::string_view bytes, TextEncoding encoding, std::size_t& replaced) {
  std::string out;
  switch (encoding) {
    case TextEncoding::kCp1252:
      return std::string(bytes);
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be: {
      const bool little = encoding == TextEncoding::kUtf16Le;
      if (StartsWith(bytes, little ? kUtf16LeMark : kUtf16BeMark)) bytes.remove_prefix(2);
      out.reserve(bytes.size() / 2);
      FromUtf16(bytes, little, out, replaced);
      return out;
    }
    case TextEncoding::kUtf8:
      break;
  }
  if (StartsWith(bytes, kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    char32_t cp = 0;
    const std::size_t n = base::Utf8Sequence(bytes, i, cp);
    if (n == 0) {
      out.push_back(kReplacementChar);
      ++replaced;
      ++i;
      continue;
    }
    AppendAsCp1252(out, cp, replaced);
    i += n;
  }
  return out;
}

}  // namespace tarn::convert
