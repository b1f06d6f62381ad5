// The server protocol's pieces: the cipher against known answers, the
// HTTP/1.0 client against scripted servers, rights and list pages.
#include <gtest/gtest.h>

#include "platform/testing/scriptedsocket.h"
#include "publish/descipher.h"
#include "publish/http10.h"
#include "publish/tarn3comm.h"

namespace tarn::publish {
namespace {

using platform::testing::ScriptedSocketFactory;

TEST(Tarn3Cipher, KnownAnswers) {
  // MD5 per RFC 1321 of the empty text, d41d8cd98f00b204e9800998ecf8427e.
  EXPECT_EQ(ChallengeResponse("", ""), "ENNBMIJNPIAACLEAJOAIJAIJMOIPCEOH");
  EXPECT_EQ(ChallengeResponse(" 12345abc", "secret"), "PMBEEOGOIHACHKMDNMMIDLFPJPDKHDME");
  EXPECT_EQ(NibbleLetters(std::string("\x00\x1f\xf0", 3)), "AAPBAP");
  // Single DES in ECB mode under the first 8 bytes of MD5(current password);
  // "pw18" has a zero byte there, which the key holds as 1. Vectors made
  // with `openssl enc -des-ecb -provider legacy`.
  EXPECT_EQ(CipherNewPassword("oldsecret", "newpass1"), "LHJIOKMAADCKKJCJBONPLDMIPJFMADON");
  EXPECT_EQ(CipherNewPassword("pw18", "newpass1"), "IOHFBLDJGOHLGDJHCDIEAGOFNOEEDBHH");
  EXPECT_EQ(CipherNewPassword("pw18", "a-password-longer-than-16"), "HGCCKLCGEFCLLCGJJEOIAMDCDBDEEHJJ");
}

TEST(Http10, AddressesStatusAndHeaders) {
  auto url = ParseHttpUrl("http://example.org:8080//scripts/cgi-tarn/tarnupd.dll");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->host, "example.org");
  EXPECT_EQ(url->port, 8080);
  EXPECT_EQ(url->path, "//scripts/cgi-tarn/tarnupd.dll");
  url = ParseHttpUrl("HTTP://[::1]/x");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->host, "::1");
  EXPECT_EQ(url->port, 80);
  for (const char* bad : {"ftp://x/", "http://", "http://h:0/", "http://h:99999/", "http://h:x/", "http://[::1/"}) {
    EXPECT_FALSE(ParseHttpUrl(bad)) << bad;
  }
  int status = 0;
  std::string reason;
  EXPECT_TRUE(ParseStatusLine("HTTP/1.1 404 Not Found", status, reason));
  EXPECT_EQ(status, 404);
  EXPECT_EQ(reason, "Not Found");
  EXPECT_FALSE(ParseStatusLine("HTTP/2 200 OK", status, reason));
  EXPECT_FALSE(ParseStatusLine("HTTP/1.0 2x0 OK", status, reason));
  HttpResponse r;
  ParseHeaderLine("Content-LENGTH:  12 ", r);
  ParseHeaderLine("location: http://a/", r);
  EXPECT_EQ(r.contentLength, 12);
  EXPECT_EQ(r.location, "http://a/");
  ParseHeaderLine("Content-Length: -5", r);
  EXPECT_EQ(r.contentLength, -1);
}

TEST(Http10, PostThroughAProxyAndTheAnswer) {
  ScriptedSocketFactory net;
  auto& c = net.Next().Data("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n").Data("\r\nY and").Data(" more");
  THttp10 http(net);
  http.Proxy = "proxy.local";
  const HttpResponse r = http.Post("http://srv:81/up.dll", "user=me\r\n", "DATA");
  EXPECT_EQ(c.host, "proxy.local");
  EXPECT_EQ(c.port, 8080);
  EXPECT_TRUE(c.sent.starts_with("POST http://srv:81/up.dll HTTP/1.0\r\nUser-Agent: Tarn3.0\r\nPragma: no-cache\r\n"));
  EXPECT_NE(c.sent.find("Content-Length: 13\r\nContent-Type: application/octet-stream\r\n"
                        "Content-Encoding: binary\r\n\r\nuser=me\r\nDATA"),
            std::string::npos);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "Y and more");
}

TEST(Http10, BrokenAnswers) {
  struct Case {
    const char* what;
    std::string answer;
  };
  const Case cases[] = {
      {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n"},
      {"cut before the announced length", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nshort"},
      {"endless header line", "HTTP/1.0 200 OK\r\n" + std::string(10000, 'h')},
      {"endless headers", "HTTP/1.0 200 OK\r\n" + [] {
         std::string s;
         for (int i = 0; i < 300; ++i) s += "X: y\r\n";
         return s;
       }()},
      {"body past the bound", "HTTP/1.0 200 OK\r\n\r\n" + std::string(2000, 'b')},
      {"nothing at all", ""},
  };
  for (const Case& c : cases) {
    ScriptedSocketFactory net;
    net.Next().Data(c.answer);
    THttp10 http(net);
    http.MaxBodyBytes = 1000;
    EXPECT_THROW(http.Get("http://h/x"), ProtocolError) << c.what;
  }
  ScriptedSocketFactory net;
  net.Next().Data("HTTP/1.0 200 OK\r\n").Timeout();
  THttp10 http(net);
  EXPECT_THROW(http.Get("http://h/x"), platform::SocketError);
}

TEST(Tarn3Lists, RightsOfAUserAndItsPrefixes) {
  const std::string answer =
      "author sec1 pub/sec1/ First section;;100\r\n"
      "author  sec2 pub/sec2/ No quota\r\n"
      "auth sec3 pub/sec3/ Other;;x\r\n"
      "someone sec4 pub/sec4/ Not ours;;5\r\n";
  const auto mine = ParseRights(answer, "author");
  ASSERT_EQ(mine.size(), 2u);
  EXPECT_EQ(mine[0].base, "sec1");
  EXPECT_EQ(mine[0].path, "pub/sec1/");
  EXPECT_EQ(mine[0].description, "First section");
  EXPECT_EQ(mine[0].quota, 100);
  EXPECT_EQ(mine[1].base, "sec2");
  EXPECT_EQ(mine[1].quota, 0);
  // A user whose name begins another's takes that user's lines too.
  const auto prefix = ParseRights(answer, "auth");
  ASSERT_EQ(prefix.size(), 3u);
  EXPECT_EQ(prefix[2].base, "sec3");
  EXPECT_EQ(prefix[2].quota, 0);
}

TEST(Tarn3Lists, EntriesInsertedAndRemoved) {
  std::vector<std::string> lines = DefaultListLines();
  InsertListEntry(lines, "b.aeh", {"<!=b.aeh\"20\"1\"x>", "<LI>b", "B</A>"});
  InsertListEntry(lines, "c.aeh", {"<!=c.aeh\"30\"1\"x>", "<LI>c", "C</A>"});
  InsertListEntry(lines, "Homepage.aeh", {"<!=homepage.aeh\"5\"1\"x>", "<LI>h", "H</A>"});
  auto entries = ParseListEntries(lines);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "homepage.aeh");
  EXPECT_EQ(entries[1].name, "b.aeh");
  EXPECT_EQ(entries[1].size, 20);
  EXPECT_EQ(entries[2].name, "c.aeh");
  EXPECT_TRUE(RemoveListEntry(lines, "B.AEH"));
  EXPECT_FALSE(RemoveListEntry(lines, "b.aeh"));
  entries = ParseListEntries(lines);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].name, "c.aeh");
  EXPECT_EQ(lines.back(), "<P>");
  // Entries after the end marker are not read; a size that is no number
  // counts 0.
  entries = ParseListEntries({"<!=a\"zz\">", "<!/end>", "<!=late\"1\">"});
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, 0);
}

}  // namespace
}  // namespace tarn::publish
