// Reading what an FTP server sends: reply lines, the passive-mode address,
// the size announced before a download, and directory listings in the
// Unix and DOS styles servers use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::publish {

// A directory entry of a listing.
struct T_Filedata {
  enum Kind { kNone = 0, kDirectory = 1, kFile = 2, kLink = 3 };
  int kind = kNone;
  std::int64_t size = 0;
  std::string name;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// The code of a reply line: its first three characters as a number, 999
// when they are not one.
int ReplyCode(std::string_view line);
// The text of a reply line: from its fifth character on.
std::string ReplyText(std::string_view line);
// Whether the line read leaves the reply open ("230-..." or a line that
// begins with a blank).
bool ReplyContinues(std::string_view line);

// The port of a "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)" reply text,
// with the address in `address`; nothing when it cannot be read.
std::optional<int> ParsePassiveReply(std::string_view text, std::string* address = nullptr);
// The size announced by "150 Opening BINARY mode data connection for x
// (1234 bytes)"; -1 when there is none.
std::int64_t AnnouncedSize(std::string_view text);

// One listing line; kind kNone for lines that are not entries. The year is
// the one a Unix line without a year stands in.
T_Filedata ParseListingLine(std::string_view line, int currentYear);
// Every entry of a listing, without "." and "..".
std::vector<T_Filedata> ParseListing(std::string_view listing, int currentYear);

// A name a server gave that may be used as a file name in a local folder:
// not empty, no "/", no "\", not "." or "..", no NUL.
bool IsSafeLocalName(std::string_view name);

}  // namespace tarn::publish
