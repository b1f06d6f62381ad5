// The parsers of what FTP servers send. Every input here comes from the
// network, so each one checks its lengths before looking at a character.
#include "publish/ftplist.h"

#include <array>
#include <charconv>
#include <cctype>

namespace tarn::publish {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The whole text as a non-negative number.
std::optional<std::int64_t> Number(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

int Month(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (name.size() == 3 && std::tolower(static_cast<unsigned char>(name[0])) ==
                                std::tolower(static_cast<unsigned char>(kMonths[i][0])) &&
        std::tolower(static_cast<unsigned char>(name[1])) == kMonths[i][1] &&
        std::tolower(static_cast<unsigned char>(name[2])) == kMonths[i][2]) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

std::string_view LastWord(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const std::size_t blank = text.rfind(' ');
  return blank == std::string_view::npos ? text : text.substr(blank + 1);
}

// "-rw-r--r--   1 user  group     2048 Mar  3  1998 page.htm"
T_Filedata UnixLine(std::string_view line, int currentYear) {
  T_Filedata entry;
  std::size_t blank = line.rfind(' ');
  if (blank == std::string_view::npos) return {};
  // Names may hold blanks: the name's blank is the one that follows the
  // date, whose last field (a year or a time) ends in a digit.
  while (blank >= 2 && !IsDigit(line[blank - 2])) {
    const std::size_t before = line.rfind(' ', blank - 1);
    if (before == std::string_view::npos) return {};
    blank = before;
  }
  constexpr std::size_t kDateLength = 12;
  if (blank < kDateLength + 1 || blank + 1 >= line.size()) return {};
  entry.name = std::string(line.substr(blank + 1));
  const std::string_view date = line.substr(blank - kDateLength, kDateLength);
  entry.month = Month(date.substr(0, 3));
  const auto day = Number(date.substr(4, 2));
  if (entry.month == 0 || !day) return {};
  entry.day = static_cast<int>(*day);
  if (date.find(':') != std::string_view::npos) {
    const auto hour = Number(date.substr(7, 2));
    const auto minute = Number(date.substr(10, 2));
    if (!hour || !minute) return {};
    entry.year = currentYear;
    entry.hour = static_cast<int>(*hour);
    entry.minute = static_cast<int>(*minute);
  } else {
    const auto year = Number(date.substr(8, 4));
    if (!year) return {};
    entry.year = static_cast<int>(*year);
  }
  const auto size = Number(LastWord(line.substr(0, blank - kDateLength)));
  if (!size) return {};
  entry.size = *size;
  switch (line[0]) {
    case '-': entry.kind = T_Filedata::kFile; break;
    case 'd': entry.kind = T_Filedata::kDirectory; break;
    case 'l': {
      entry.kind = T_Filedata::kLink;
      // A link shows its target after " -> "; the entry is the link itself.
      const std::size_t arrow = entry.name.find(" -> ");
      if (arrow != std::string::npos) entry.name.resize(arrow);
      break;
    }
    default: entry.kind = T_Filedata::kNone; break;
  }
  return entry;
}

// "01-12-99  10:30AM       <DIR>          pics"
T_Filedata DosLine(std::string_view line) {
  T_Filedata entry;
  constexpr std::size_t kStampLength = 17;
  std::string_view trimmed = line;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  const std::size_t blank = trimmed.rfind(' ');
  if (line.size() < kStampLength || blank == std::string_view::npos || blank < kStampLength) return {};
  entry.name = std::string(trimmed.substr(blank + 1));
  const std::string_view stamp = line.substr(0, kStampLength);
  const auto month = Number(stamp.substr(0, 2));
  const auto day = Number(stamp.substr(3, 2));
  const auto year = Number(stamp.substr(6, 2));
  const auto hour = Number(stamp.substr(10, 2));
  const auto minute = Number(stamp.substr(13, 2));
  if (!month || !day || !year || !hour || !minute || stamp[2] != '-' || stamp[5] != '-' || stamp[12] != ':') {
    return {};
  }
  const char half = static_cast<char>(std::toupper(static_cast<unsigned char>(stamp[15])));
  if ((half != 'A' && half != 'P') || *hour < 1 || *hour > 12) return {};
  entry.month = static_cast<int>(*month);
  entry.day = static_cast<int>(*day);
  entry.year = static_cast<int>(*year < 70 ? 2000 + *year : 1900 + *year);
  entry.hour = static_cast<int>(*hour % 12 + (half == 'P' ? 12 : 0));
  entry.minute = static_cast<int>(*minute);
  if (line.find("<DIR>") != std::string_view::npos) {
    entry.kind = T_Filedata::kDirectory;
    return entry;
  }
  const auto size = Number(LastWord(trimmed.substr(0, blank)));
  if (!size) return {};
  entry.kind = T_Filedata::kFile;
  entry.size = *size;
  return entry;
}

}  // namespace

int ReplyCode(std::string_view line) {
  if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return 999;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

std::string ReplyText(std::string_view line) { return line.size() > 4 ? std::string(line.substr(4)) : std::string(); }

bool ReplyContinues(std::string_view line) {
  return (line.size() > 3 && line[3] == '-') || (!line.empty() && line[0] == ' ');
}

std::optional<int> ParsePassiveReply(std::string_view text, std::string* address) {
  const std::size_t open = text.find('(');
  const std::size_t close = text.find(')', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos) return std::nullopt;
  std::string_view inside = text.substr(open + 1, close - open - 1);
  std::array<int, 6> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::size_t comma = inside.find(',');
    if ((comma == std::string_view::npos) != (i == numbers.size() - 1)) return std::nullopt;
    const auto n = Number(inside.substr(0, comma));
    if (!n || *n > 255) return std::nullopt;
    numbers[i] = static_cast<int>(*n);
    if (comma != std::string_view::npos) inside.remove_prefix(comma + 1);
  }
  if (address != nullptr) {
    *address = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) +
               "." + std::to_string(numbers[3]);
  }
  const int port = numbers[4] * 256 + numbers[5];
  if (port == 0) return std::nullopt;
  return port;
}

std::int64_t AnnouncedSize(std::string_view text) {
  const std::size_t bytes = text.find("bytes)");
  if (bytes == std::string_view::npos) return -1;
  const std::size_t open = text.rfind('(', bytes);
  if (open == std::string_view::npos) return -1;
  const auto n = Number(text.substr(open + 1, bytes - open - 1));
  return n ? *n : -1;
}

T_Filedata ParseListingLine(std::string_view line, int currentYear) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.starts_with("total")) return {};
  if (line.empty()) return {};
  const char first = line[0];
  if (first == '-' || first == 'd' || first == 'l' || first == 's') return UnixLine(line, currentYear);
  if (IsDigit(first)) return DosLine(line);
  return {};
}

std::vector<T_Filedata> ParseListing(std::string_view listing, int currentYear) {
  std::vector<T_Filedata> entries;
  while (!listing.empty()) {
    const std::size_t end = listing.find('\n');
    const std::string_view line = listing.substr(0, end);
    listing = end == std::string_view::npos ? std::string_view() : listing.substr(end + 1);
    T_Filedata entry = ParseListingLine(line, currentYear);
    if (entry.kind == T_Filedata::kNone || entry.name == "." || entry.name == "..") continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool IsSafeLocalName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\\') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace tarn::publish
