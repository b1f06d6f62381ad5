// The FTP engine against scripted servers: what it sends, how it reads
// replies, and how each failure ends the operation.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/testing/scriptedsocket.h"
#include "publish/ftp.h"
#include "publish/ftpcomm.h"

namespace tarn::publish {
namespace {

using platform::testing::ScriptedConnection;
using platform::testing::ScriptedSocketFactory;

// A control connection that has logged in.
ScriptedConnection& LoggedIn(ScriptedSocketFactory& net) {
  return net.Next()
      .Data("220-Welcome\r\n220-Rules\r\n220 Ready\r\n")
      .Data("331 Password please\r\n")
      .Data("230 Logged in\r\n")
      .Data("200 Type set to I\r\n");
}

TEST(Ftp, LoginReadsMultiLineRepliesAndNeverTracesThePassword) {
  ScriptedSocketFactory net;
  ScriptedConnection& control = LoggedIn(net);
  T_Ftp ftp(net);
  ftp.Host = "ftp.example.org";
  ftp.User = "me";
  ftp.Password = "secret";
  std::string trace;
  ftp.OnTrace = [&](const std::string& text, int) { trace += text + "\n"; };
  ftp.Login();
  EXPECT_TRUE(ftp.Connected());
  EXPECT_EQ(control.host, "ftp.example.org");
  EXPECT_EQ(control.port, 21);
  EXPECT_EQ(control.sent, "USER me\r\nPASS secret\r\nTYPE I\r\n");
  EXPECT_EQ(ftp.ReplyCode(), 200);
  EXPECT_NE(trace.find("PASS ******"), std::string::npos);
  EXPECT_EQ(trace.find("secret"), std::string::npos);
}

TEST(Ftp, ErrorRepliesEndTheOperationAndKeepTheStreamInStep) {
  ScriptedSocketFactory net;
  ScriptedConnection& control = LoggedIn(net);
  control.Data("550-No such file\r\n550 or folder\r\n").Data("257 \"/www\" is current\r\n");
  T_Ftp ftp(net);
  ftp.Host = "h";
  ftp.Login();
  try {
    ftp.ChangeDir("/missing");
    FAIL() << "550 must end the operation";
  } catch (const ProtocolError& e) {
    EXPECT_EQ(e.Code(), 550);
    EXPECT_EQ(e.Protocol(), "FTP");
    EXPECT_STREQ(e.what(), "550 or folder");
  }
  // The second line of the error was read with it, not taken as the next
  // reply.
  EXPECT_EQ(ftp.CurrentDir(), "/www/");
}

TEST(Ftp, ListingDownloadAndUploadOverPassiveConnections) {
  ScriptedSocketFactory net;
  ScriptedConnection& control = LoggedIn(net);
  control.Data("227 Entering Passive Mode (10,0,0,9,4,1)\r\n").Data("150 Here it comes\r\n").Data("226 Done\r\n");
  ScriptedConnection& listing = net.Next();
  listing.Data("total 1\r\n-rw-r--r-- 1 u g 5 Jan 12 10:30 a.htm\r\n");
  control.Data("227 Entering Passive Mode (10,0,0,9,4,2)\r\n")
      .Data("150 Opening BINARY mode data connection for a.htm (5 bytes)\r\n")
      .Data("226 Done\r\n");
  net.Next().Data("he").Data("llo");
  control.Data("227 Entering Passive Mode (10,0,0,9,4,3)\r\n").Data("150 Ok to send\r\n").Data("226 Stored\r\n");
  ScriptedConnection& upload = net.Next();

  T_Ftp ftp(net);
  ftp.Host = "h";
  ftp.Login();
  ftp.List(".");
  // The data connection goes to the control connection's host, not to the
  // address in the reply.
  EXPECT_EQ(listing.host, "h");
  EXPECT_EQ(listing.port, 1025);
  const auto entries = ftp.Entries(2026);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a.htm");

  std::ostringstream got;
  ftp.Download("a.htm", got);
  EXPECT_EQ(got.str(), "hello");

  std::istringstream data(std::string(70000, 'x'));
  std::vector<std::int64_t> progress;
  ftp.OnProgress = [&](int, std::int64_t expected, std::int64_t done) {
    EXPECT_EQ(expected, 70000);
    progress.push_back(done);
  };
  ftp.Upload(data, "big.bin");
  EXPECT_EQ(upload.sent.size(), 70000u);
  EXPECT_TRUE(upload.sendShutdown);
  EXPECT_EQ(progress, (std::vector<std::int64_t>{32512, 65024, 70000}));
  EXPECT_NE(control.sent.find("PASV\r\nLIST .\r\nPASV\r\nRETR a.htm\r\nPASV\r\nSTOR big.bin\r\n"), std::string::npos);
}

TEST(Ftp, FailuresOfTheNetwork) {
  struct Case {
    const char* what;
    void (*script)(ScriptedSocketFactory&);
  };
  const Case cases[] = {
      {"refused", [](ScriptedSocketFactory& net) { net.Next().refuse = true; }},
      {"greeting times out", [](ScriptedSocketFactory& net) { net.Next().Timeout(); }},
      {"closed before the greeting", [](ScriptedSocketFactory& net) { net.Next().Close(); }},
      {"login refused",
       [](ScriptedSocketFactory& net) { net.Next().Data("220 Hi\r\n331 Pass\r\n530 Login incorrect.\r\n"); }},
      {"endless reply line", [](ScriptedSocketFactory& net) { net.Next().Data(std::string(20000, 'x')); }},
      {"endless continuation",
       [](ScriptedSocketFactory& net) {
         std::string lines;
         for (int i = 0; i < 1200; ++i) lines += "220-more\r\n";
         net.Next().Data(lines);
       }},
  };
  for (const Case& c : cases) {
    ScriptedSocketFactory net;
    c.script(net);
    T_Ftp ftp(net);
    ftp.Host = "h";
    EXPECT_ANY_THROW(ftp.Login()) << c.what;
    EXPECT_FALSE(ftp.Connected()) << c.what;
  }
}

TEST(Ftp, ADownloadCutShortIsAnError) {
  ScriptedSocketFactory net;
  LoggedIn(net)
      .Data("227 Entering Passive Mode (1,2,3,4,0,21)\r\n")
      .Data("150 Opening data connection for a.htm (100 bytes)\r\n")
      .Data("226 Done\r\n");
  net.Next().Data("only part");
  T_Ftp ftp(net);
  ftp.Host = "h";
  ftp.Login();
  std::ostringstream got;
  EXPECT_THROW(ftp.Download("a.htm", got), ProtocolError);
}

TEST(Ftp, AFileReadIntoMemoryHasABound) {
  ScriptedSocketFactory net;
  LoggedIn(net).Data("227 Entering Passive Mode (1,2,3,4,0,21)\r\n").Data("150 Here\r\n").Data("226 Done\r\n");
  net.Next().Data(std::string(5000, 'v'));
  T_Ftp ftp(net);
  ftp.Host = "h";
  ftp.Login();
  std::ostringstream got;
  EXPECT_THROW(ftp.Download("x_ver.html", got, 4096), ProtocolError);
  EXPECT_LE(got.str().size(), 4096u);
}

TEST(FtpComm, ResultsOfOperations) {
  ScriptedSocketFactory net;
  LoggedIn(net).Data("250 Ok\r\n").Data("550 Permission denied\r\n");
  TKrFtpComm comm(net, nullptr);
  comm.Engine().Host = "h";
  EXPECT_EQ(comm.ChangeDir("/www"), kResultOk);
  EXPECT_EQ(comm.MakeDir("/www/x"), kResultFailed);
  EXPECT_EQ(comm.ErrorMessage(), "550 Permission denied");
  EXPECT_EQ(comm.UploadFile("", "x"), kResultRefused);
  EXPECT_EQ(comm.LastCommand(), "550 Permission denied");
}

TEST(FtpComm, FailedConnectionStartsAfreshNextTime) {
  ScriptedSocketFactory net;
  LoggedIn(net).Reset();
  LoggedIn(net).Data("250 Ok\r\n");
  TKrFtpComm comm(net, nullptr);
  comm.Engine().Host = "h";
  EXPECT_EQ(comm.ChangeDir("/a"), kResultFailed);
  EXPECT_FALSE(comm.Engine().Connected());
  EXPECT_EQ(comm.ChangeDir("/a"), kResultOk);
  EXPECT_EQ(net.Used(), 2u);
}

}  // namespace
}  // namespace tarn::publish
