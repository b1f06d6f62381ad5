// Replies, passive addresses and listings as servers send them.
#include <gtest/gtest.h>

#include "publish/ftplist.h"
#include "publish/versionpage.h"

namespace tarn::publish {
namespace {

TEST(FtpReplies, CodeTextAndContinuation) {
  EXPECT_EQ(ReplyCode("230 Logged in"), 230);
  EXPECT_EQ(ReplyText("230 Logged in"), "Logged in");
  EXPECT_EQ(ReplyCode("2x0 odd"), 999);
  EXPECT_EQ(ReplyCode("23"), 999);
  EXPECT_EQ(ReplyText("230"), "");
  EXPECT_TRUE(ReplyContinues("230-Welcome"));
  EXPECT_TRUE(ReplyContinues(" more text"));
  EXPECT_FALSE(ReplyContinues("230 Logged in"));
  EXPECT_FALSE(ReplyContinues(""));
}

TEST(FtpReplies, PassiveAddressAndAnnouncedSize) {
  std::string address;
  EXPECT_EQ(ParsePassiveReply("Entering Passive Mode (127,0,0,1,4,1).", &address), 1025);
  EXPECT_EQ(address, "127.0.0.1");
  for (const char* bad : {"Entering Passive Mode", "(1,2,3,4,5)", "(1,2,3,4,5,6,7)", "(1,2,3,4,256,1)",
                          "(1,2,3,4,0,0)", "(a,b,c,d,e,f)", ")(", "(1,2,3,4,5,-6)"}) {
    EXPECT_FALSE(ParsePassiveReply(bad).has_value()) << bad;
  }
  EXPECT_EQ(AnnouncedSize("Opening BINARY mode data connection for a.htm (2048 bytes)."), 2048);
  EXPECT_EQ(AnnouncedSize("Opening (x) data (17 bytes)"), 17);
  EXPECT_EQ(AnnouncedSize("Data connection already open."), -1);
  EXPECT_EQ(AnnouncedSize("(many bytes)"), -1);
}

TEST(FtpListing, LinesOfTheUsualServers) {
  struct Case {
    const char* line;
    int kind;
    std::int64_t size;
    const char* name;
    int year, month, day, hour, minute;
  };
  const Case cases[] = {
      {"drwxr-xr-x   2 user  group      512 Jan 12 10:30 My Documents", 1, 512, "My Documents", 2026, 1, 12, 10, 30},
      {"-rw-r--r--   1 user  group     2048 Mar  3  1998 page.htm", 2, 2048, "page.htm", 1998, 3, 3, 0, 0},
      {"lrwxrwxrwx   1 u g 7 Dec 31 23:59 www -> public", 3, 7, "www", 2026, 12, 31, 23, 59},
      {"01-12-99  10:30AM       <DIR>          pics", 1, 0, "pics", 1999, 1, 12, 10, 30},
      {"11-03-05  12:05PM                 1234 index.htm", 2, 1234, "index.htm", 2005, 11, 3, 12, 5},
      {"11-03-05  12:05AM                 1234 night.htm", 2, 1234, "night.htm", 2005, 11, 3, 0, 5},
      {"total 12", 0, 0, "", 0, 0, 0, 0, 0},
      {"srwxr-xr-x 1 u g 0 Jan  1  2000 sock", 0, 0, "sock", 2000, 1, 1, 0, 0},
      {"-rw-r--r-- 1 u g big Jan  1  2000 x", 0, 0, "", 0, 0, 0, 0, 0},
      {"-rw-r--r-- 1 u g 1 Foo  1  2000 x", 0, 0, "", 0, 0, 0, 0, 0},
      {"-rw", 0, 0, "", 0, 0, 0, 0, 0},
      {"hello world", 0, 0, "", 0, 0, 0, 0, 0},
      {"13-45-99  99:99XM 1 x", 0, 0, "", 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const T_Filedata e = ParseListingLine(c.line, 2026);
    EXPECT_EQ(e.kind, c.kind) << c.line;
    if (c.kind == 0) continue;
    EXPECT_EQ(e.size, c.size) << c.line;
    EXPECT_EQ(e.name, c.name) << c.line;
    EXPECT_EQ(std::vector<int>({e.year, e.month, e.day, e.hour, e.minute}),
              std::vector<int>({c.year, c.month, c.day, c.hour, c.minute}))
        << c.line;
  }
}

TEST(FtpListing, WholeListingSkipsDotsAndNonEntries) {
  const auto entries = ParseListing(
      "total 3\r\ndrwxr-xr-x 2 u g 512 Jan 12 10:30 .\r\ndrwxr-xr-x 2 u g 512 Jan 12 10:30 ..\r\n"
      "-rw-r--r-- 1 u g 10 Jan 12 10:30 a.htm\r\n-rw-r--r-- 1 u g 11 Jan 12 10:30 b.htm",
      2026);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "a.htm");
  EXPECT_EQ(entries[1].size, 11);
}

TEST(FtpListing, OnlyPlainNamesAreSafeLocally) {
  EXPECT_TRUE(IsSafeLocalName("page.aeh"));
  EXPECT_TRUE(IsSafeLocalName("..hidden"));
  for (const char* bad : {"", ".", "..", "../x", "a/b", "/etc/passwd", "a\\b"}) {
    EXPECT_FALSE(IsSafeLocalName(bad)) << bad;
  }
  EXPECT_FALSE(IsSafeLocalName(std::string("a\0b", 3)));
}

TEST(VersionPage, WrittenAndReadBack) {
  const std::string page = VersionPageText("/home/me/site.aeh", 7);
  EXPECT_EQ(page,
            "<HTML><HEAD><TITLE>Version</TITLE></HEAD>\r\n<BODY>TARN. Please don't delete.<BR>\r\n"
            "Hypertext :/home/me/site.aeh<BR>\r\nVersion   :7<BR>\r\n<!--VER=7--><BR>\r\n</BODY>");
  EXPECT_EQ(ReadVersionPage(page), 7);
  EXPECT_EQ(VersionPageName("MySite"), "mysite_ver.html");
  EXPECT_EQ(ReadVersionPage("no marker"), -1);
  EXPECT_EQ(ReadVersionPage("<!--VER=x-->"), -1);
  EXPECT_EQ(ReadVersionPage("<!--VER=12\n-->"), -1);
  EXPECT_EQ(ReadVersionPage("<!--VER=-->"), -1);
}

}  // namespace
}  // namespace tarn::publish
