// The FTP engine, the publication of a site and the server component
// against real servers on loopback: pyftpdlib for FTP, and a small server
// of the publishing extensions written for these tests.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "loopbackserver.h"
#include "platform/eventloop.h"
#include "platform/posixsocket.h"
#include "platform/testing/testplatform.h"
#include "publish/exportlistrows.h"
#include "publish/ftppublisher.h"
#include "publish/tarn3comm.h"
#include "publish/versionpage.h"

namespace tarn::publish {
namespace {

namespace fs = std::filesystem;
using testing::LoopbackServer;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tarn-publish-test-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~Scratch() {
    std::error_code e;
    fs::remove_all(m_path, e);
  }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

// An event loop whose ProcessEvents runs what the test gives it, as a
// click on the stop button would arrive while an operation waits.
class CallbackLoop : public platform::EventLoop {
 public:
  std::function<void()> onProcess;
  void Post(std::function<void()> call) override { call(); }
  void PostMessage(int, std::function<void()> handler) override { handler(); }
  TimerId StartTimer(int, bool, std::function<void()>) override { return kNoTimer; }
  void StopTimer(TimerId) override {}
  bool TimerActive(TimerId) const override { return false; }
  void ProcessEvents() override {
    if (onProcess) onProcess();
  }
};

class FtpLoopback : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> options = {}) {
    if (!testing::HavePyftpdlib()) GTEST_SKIP() << "pyftpdlib missing";
    fs::create_directories(root);
    std::vector<std::string> args = {"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/ftpserver.py",
                                     "--root", root.string()};
    args.insert(args.end(), options.begin(), options.end());
    server = std::make_unique<LoopbackServer>(args);
    ASSERT_NE(server->Port(), 0);
  }
  void Configure(TKrFtpComm& comm, const std::string& password = "secret") {
    comm.Engine().Host = "127.0.0.1";
    comm.Engine().Port = server->Port();
    comm.Engine().User = "author";
    comm.Engine().Password = password;
    comm.Engine().TimeoutMs = 10000;
  }

  Scratch scratch;
  fs::path root = scratch.Path() / "server";
  std::unique_ptr<LoopbackServer> server;
  platform::PosixSocketFactory sockets;
};

TEST_F(FtpLoopback, FoldersFilesListingAndRenaming) {
  Start();
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm);
  const fs::path local = scratch.Path() / "page.htm";
  WriteAll(local, "<HTML>hello</HTML>");
  std::string dir;
  EXPECT_EQ(comm.CurrentDir(dir), kResultOk);
  EXPECT_EQ(dir, "/");
  EXPECT_EQ(comm.MakeDir("/My Documents"), kResultOk);
  EXPECT_EQ(comm.UploadFile(local, "/My Documents/page.htm"), kResultOk);
  EXPECT_EQ(comm.ChangeDir("/My Documents"), kResultOk);
  EXPECT_EQ(comm.List("."), kResultOk);
  auto entries = comm.Engine().Entries(2026);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "page.htm");
  EXPECT_EQ(entries[0].size, 18);
  EXPECT_EQ(comm.List("/"), kResultOk);
  entries = comm.Engine().Entries(2026);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "My Documents");
  EXPECT_EQ(entries[0].kind, T_Filedata::kDirectory);

  EXPECT_EQ(comm.Rename("/My Documents/page.htm", "/My Documents/renamed.htm"), kResultOk);
  EXPECT_EQ(comm.DownloadFile("/My Documents/renamed.htm", scratch.Path() / "back.htm"), kResultOk);
  EXPECT_EQ(ReadAll(scratch.Path() / "back.htm"), "<HTML>hello</HTML>");
  EXPECT_EQ(comm.ChangeDir("/missing"), kResultFailed);
  EXPECT_EQ(comm.ErrorMessage().substr(0, 3), "550");
  EXPECT_EQ(comm.DeleteFile("/My Documents/renamed.htm"), kResultOk);
  EXPECT_EQ(comm.RemoveDir("/My Documents"), kResultOk);
  EXPECT_FALSE(fs::exists(root / "My Documents"));
  EXPECT_EQ(comm.Logout(), kResultOk);
}

TEST_F(FtpLoopback, RefusedLoginKeepsThePasswordOutOfTheMessage) {
  Start();
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm, "wrong-password");
  EXPECT_EQ(comm.Login(), kResultFailed);
  EXPECT_EQ(comm.ErrorMessage().substr(0, 3), "530");
  EXPECT_EQ(comm.ErrorMessage().find("wrong-password"), std::string::npos);
  EXPECT_EQ(comm.LastCommand().find("wrong-password"), std::string::npos);
}

TEST_F(FtpLoopback, ADownloadCutShortLeavesNoFileAndAnUploadDroppedReconnects) {
  WriteAll(scratch.Path() / "big.bin", std::string(200000, 'b'));
  fs::create_directories(root);
  fs::copy_file(scratch.Path() / "big.bin", root / "big.bin");
  Start({"--cut", "big.bin", "--drop", "dropped.bin"});
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm);
  const fs::path local = scratch.Path() / "out" / "big.bin";
  fs::create_directories(local.parent_path());
  WriteAll(local, "the old file");
  EXPECT_EQ(comm.DownloadFile("big.bin", local), kResultFailed);
  // The old file is kept, and no partial file stays behind.
  EXPECT_EQ(ReadAll(local), "the old file");
  EXPECT_EQ(std::distance(fs::directory_iterator(local.parent_path()), fs::directory_iterator()), 1);

  EXPECT_EQ(comm.UploadFile(scratch.Path() / "big.bin", "dropped.bin"), kResultFailed);
  EXPECT_EQ(comm.UploadFile(scratch.Path() / "big.bin", "fine.bin"), kResultOk);
  EXPECT_EQ(fs::file_size(root / "fine.bin"), 200000u);
}

TEST_F(FtpLoopback, StopReturnsAtOnceAndTheNextOperationStartsAfresh) {
  Start({"--slow", "2"});
  CallbackLoop loop;
  TKrFtpComm comm(sockets, &loop);
  Configure(comm);
  ASSERT_EQ(comm.Login(), kResultOk);
  const auto start = std::chrono::steady_clock::now();
  int busy = 0;
  loop.onProcess = [&] {
    if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(200)) return;
    // A second operation while one runs is refused.
    busy = comm.ChangeDir("/");
    comm.Abort();
  };
  EXPECT_EQ(comm.List("/"), kResultStopped);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::milliseconds(1000));
  EXPECT_EQ(busy, kResultRefused);
  EXPECT_FALSE(comm.Engine().Connected());
  loop.onProcess = nullptr;
  EXPECT_EQ(comm.ChangeDir("/"), kResultOk);
}

TEST_F(FtpLoopback, ASlowServerHitsTheTimeOut) {
  Start({"--slow", "2"});
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm);
  comm.Engine().TimeoutMs = 500;
  EXPECT_EQ(comm.List("/"), kResultFailed);
  EXPECT_NE(comm.ErrorMessage().find("Timed out"), std::string::npos);
}

TEST_F(FtpLoopback, FullDiskEndsThePublication) {
  Start({"--full-disk"});
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm);
  const fs::path local = scratch.Path() / "a.htm";
  WriteAll(local, "x");
  EXPECT_EQ(comm.UploadFile(local, "a.htm"), kResultFailed);
  EXPECT_EQ(comm.ErrorMessage().substr(0, 3), "452");
}

// The sample exported as the publishing dialog does it.
class SitePublication : public FtpLoopback {
 protected:
  void Load(bool imagesFolder) {
    fs::copy_file(TARN_SAMPLE, scratch.Path() / "sample.aeh");
    app::Compose(set);
    ASSERT_TRUE(set.LoadFromFile(scratch.Path() / "sample.aeh"));
    converter.SetLinkedAEHset(&set);
    converter.ExportPath = scratch.Path() / "TmpExpHtml";
    converter.ExpSepImage = imagesFolder;
    ASSERT_TRUE(converter.ExportAllPages(files));
  }
  std::vector<std::string> Publish(int release, bool all = false) {
    TKrFtpComm comm(sockets, nullptr);
    Configure(comm);
    ExportListRows rows(List());
    TFtpPublisher publisher(comm, rows, converter);
    if (!all) rows.CheckNewerThan(release);
    EXPECT_EQ(publisher.ReadRelease("/"), release);
    result = publisher.Publish("/", set.Revision() - 1);
    error = comm.ErrorMessage();
    return publisher.Uploaded();
  }

  convert::TAEHListHtmlToTx& List() { return testing::ListEverything(list, converter, files); }

  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system;
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  convert::TAEHtoHtml converter;
  convert::RecordList files;
  convert::TAEHListHtmlToTx list;
  int result = 0;
  std::string error;
};

TEST_F(SitePublication, SecondPublicationSendsOnlyTheChangedPage) {
  Start();
  Load(false);
  const int revision = set.Revision() - 1;
  const auto first = Publish(-1, true);
  EXPECT_EQ(result, kResultOk) << error;
  EXPECT_EQ(first.back(), "/sample_ver.html");
  EXPECT_EQ(ReadVersionPage(ReadAll(root / "sample_ver.html")), revision);
  for (const std::string& name : first) EXPECT_TRUE(fs::exists(root / name.substr(1))) << name;

  // An edit stamps the page with the hypertext's revision.
  document::TAEHoggetto* page = set.GetObject(document::testoHtml, 2);
  page->SetRevision(set.Revision());
  const auto second = Publish(revision);
  EXPECT_EQ(result, kResultOk) << error;
  EXPECT_EQ(second, (std::vector<std::string>{"/sample_style.css", "/" + converter.OutputFileName(*page, 0),
                                              "/sample_ver.html"}));
}

TEST_F(SitePublication, ImagesFolderMadeOnceAndFoundAfterwards) {
  Start();
  Load(true);
  auto uploaded = Publish(-1, true);
  EXPECT_EQ(result, kResultOk) << error;
  EXPECT_TRUE(fs::exists(root / "images" / "sample_i000000.gif"));
  // The folder is there now: MKD is refused, yet the run goes on.
  uploaded = Publish(set.Revision() - 1, true);
  EXPECT_EQ(result, kResultOk) << error;
  EXPECT_NE(std::find(uploaded.begin(), uploaded.end(), "/images/sample_i000000.gif"), uploaded.end());
}

TEST_F(SitePublication, NothingCheckedSendsOnlyTheVersionPage) {
  Start();
  Load(false);
  const auto uploaded = Publish(-1, true);
  ASSERT_EQ(result, kResultOk);
  TKrFtpComm comm(sockets, nullptr);
  Configure(comm);
  ExportListRows rows(List());
  list.CheckAll(false);
  TFtpPublisher publisher(comm, rows, converter);
  EXPECT_EQ(publisher.Publish("/", 41), kResultOk);
  EXPECT_EQ(publisher.Uploaded(), std::vector<std::string>{"/sample_ver.html"});
  EXPECT_EQ(publisher.ReadRelease("/"), 41);
}

// ---- The server extensions ----

class ServerLoopback : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/tarn3server.py",
                                     "--root", root.string()};
    args.insert(args.end(), options.begin(), options.end());
    server = std::make_unique<LoopbackServer>(args);
    ASSERT_NE(server->Port(), 0);
    comm = std::make_unique<TTarn3Comm>(sockets, nullptr, messages);
    comm->SetServer("127.0.0.1");
    comm->SetPort(server->Port());
    comm->SetUser("author");
    comm->Password = "secret";
    comm->SetTimeoutSeconds(10);
  }
  fs::path Hypertext(const std::string& name, std::size_t size) {
    const fs::path path = scratch.Path() / name;
    WriteAll(path, std::string(size, 'h'));
    return path;
  }
  std::string Section(const std::string& name) { return ReadAll(root / "pub" / name); }

  Scratch scratch;
  fs::path root = scratch.Path() / "server";
  std::unique_ptr<LoopbackServer> server;
  platform::PosixSocketFactory sockets;
  platform::testing::RecordingMessages messages;
  std::unique_ptr<TTarn3Comm> comm;
};

TEST_F(ServerLoopback, PublishListFetchAndDelete) {
  Start();
  ASSERT_EQ(comm->Rights(), 200);
  ASSERT_EQ(comm->RightsList().size(), 2u);
  EXPECT_EQ(comm->RightsList()[0].base, "sec1");
  EXPECT_EQ(comm->RightsList()[0].quota, 100);
  ASSERT_EQ(comm->SelectSection(1), 200);
  EXPECT_EQ(comm->List(), 404);

  const fs::path site = Hypertext("Site.AEH", 3000);
  ASSERT_EQ(comm->Publish(site, "My site", 7), 200) << comm->Message();
  const std::string list = Section("sec2/lista.html");
  EXPECT_NE(list.find("<!=site.aeh\"3000\"7\""), std::string::npos);
  EXPECT_NE(list.find("/sec2site.aeh/0/0/Z/\">\r\nMy site</A>"), std::string::npos);
  EXPECT_EQ(Section("sec2/site.aeh").size(), 3000u);
  EXPECT_NE(Section("sec2/site.htm").find("CONTENT=\"0;URL=http://127.0.0.1:"), std::string::npos);

  ASSERT_EQ(comm->Publish(Hypertext("homepage.aeh", 10), "Home", 1), 200);
  ASSERT_EQ(comm->List(), 200);
  ASSERT_EQ(comm->Entries().size(), 2u);
  EXPECT_EQ(comm->Entries()[0].name, "homepage.aeh");
  EXPECT_EQ(comm->Entries()[1].size, 3000);

  std::ostringstream fetched;
  EXPECT_EQ(comm->Fetch("site.aeh", fetched), 200);
  EXPECT_EQ(fetched.str(), std::string(3000, 'h'));
  std::ostringstream missing;
  EXPECT_EQ(comm->Fetch("none.aeh", missing), 404);
  // Into a folder: whole, or nothing at all; never outside it.
  const fs::path out = scratch.Path() / "fetched";
  fs::create_directories(out);
  EXPECT_EQ(comm->FetchFile("site.aeh", out), 200);
  EXPECT_EQ(fs::file_size(out / "site.aeh"), 3000u);
  EXPECT_EQ(comm->FetchFile("none.aeh", out), 404);
  EXPECT_EQ(comm->FetchFile("../site.aeh", out), kTarnFailed);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);

  // Publishing again asks; No leaves the list alone.
  messages.answers = {platform::Answer::No};
  EXPECT_EQ(comm->Publish(site, "My site", 8), 0);
  EXPECT_TRUE(messages.Saw("Hypertext already exists. Overwrite?"));
  messages.answers = {platform::Answer::Yes};
  EXPECT_EQ(comm->Publish(site, "My site", 8), 200);
  EXPECT_EQ(comm->Entries().size(), 2u);
  EXPECT_NE(Section("sec2/lista.html").find("<!=site.aeh\"3000\"8\""), std::string::npos);

  EXPECT_EQ(comm->Delete("site.aeh"), 200) << comm->Message();
  EXPECT_FALSE(fs::exists(root / "pub/sec2/site.aeh"));
  EXPECT_EQ(Section("sec2/lista.html").find("site.aeh\""), std::string::npos);
}

TEST_F(ServerLoopback, RefusalsAndTheirCodes) {
  Start({"--fail", "broken.aeh"});
  ASSERT_EQ(comm->SelectSection(1), 200);
  ASSERT_EQ(comm->Publish(Hypertext("kept.aeh", 5), "Kept", 1), 200);
  // The hypertext's own upload fails: the list goes back as it was.
  EXPECT_EQ(comm->Publish(Hypertext("broken.aeh", 5), "Broken", 1), kTarnRefused);
  EXPECT_EQ(comm->Message(), "NDisk full");
  EXPECT_EQ(Section("sec2/lista.html").find("broken.aeh"), std::string::npos);
  EXPECT_NE(Section("sec2/lista.html").find("kept.aeh"), std::string::npos);

  comm->Password = "wrong";
  EXPECT_EQ(comm->ChangePassword("another"), kTarnEmptyAnswer);
  EXPECT_EQ(comm->Message(), "Quote Ko or Password Ko");
  // The list could not be sent: the hypertext stays where it is.
  EXPECT_EQ(comm->Delete("kept.aeh"), kTarnListUploadFailed);
  EXPECT_TRUE(fs::exists(root / "pub/sec2/kept.aeh"));

  comm->SetUser("nobody");
  comm->Password = "x";
  EXPECT_EQ(comm->SelectSection(0), 200);
  EXPECT_EQ(comm->Publish(Hypertext("a.aeh", 5), "A", 1), kTarnNoSection);
}

// Only a list page that is not there (404) is started afresh; a list page
// that could not be read stops the publication and stays as it was, or
// every other hypertext of the section would drop out of it.
TEST_F(ServerLoopback, UnreadableListPageIsNeverRebuilt) {
  const std::string others = "<!listatarntesti>\r\n<!=other.aeh\"10\"1\"today>\r\n<!/listatarntesti>\r\n";
  for (const auto& [how, code] : {std::pair{"500", 500}, std::pair{"drop", kTarnFailed}}) {
    SCOPED_TRACE(how);
    fs::create_directories(root / "pub/sec2");
    WriteAll(root / "pub/sec2/lista.html", others);
    Start({"--list-fail", how});
    ASSERT_EQ(comm->SelectSection(1), 200);
    EXPECT_EQ(comm->Publish(Hypertext("mine.aeh", 5), "Mine", 1), code);
    EXPECT_EQ(Section("sec2/lista.html"), others);
    EXPECT_FALSE(fs::exists(root / "pub/sec2/mine.aeh"));
  }
  // No list at all: the built-in page is started with the one entry.
  fs::remove(root / "pub/sec2/lista.html");
  Start();
  ASSERT_EQ(comm->SelectSection(1), 200);
  EXPECT_EQ(comm->Publish(Hypertext("mine.aeh", 5), "Mine", 1), 200) << comm->Message();
  EXPECT_NE(Section("sec2/lista.html").find("<!=mine.aeh\"5\"1\""), std::string::npos);
  EXPECT_NE(Section("sec2/lista.html").find("Needed for TARN server extensions."), std::string::npos);
}

TEST_F(ServerLoopback, QuotaQuestionAndPasswordChange) {
  Start();
  ASSERT_EQ(comm->SelectSection(0), 200);
  // Section 1 holds 100 KB.
  messages.answers = {platform::Answer::No};
  EXPECT_EQ(comm->Publish(Hypertext("large.aeh", 200 * 1024), "Large", 1), 0);
  EXPECT_TRUE(messages.Saw("You will probabilly out of quote. Send anyway?"));
  EXPECT_FALSE(fs::exists(root / "pub/sec1/large.aeh"));

  EXPECT_EQ(comm->ChangePassword("newsecret"), 200) << comm->Message();
  EXPECT_EQ(comm->Publish(Hypertext("small.aeh", 10), "Small", 1), kTarnEmptyAnswer);
  comm->Password = "newsecret";
  EXPECT_EQ(comm->Publish(Hypertext("small.aeh", 10), "Small", 1), 200) << comm->Message();
}

TEST_F(ServerLoopback, UnknownUserIsRefusedAtTheChallenge) {
  Start();
  comm->SetUser("stranger");
  EXPECT_EQ(comm->ChangePassword("whatever"), kTarnChallengeRefused);
  EXPECT_EQ(comm->Message(), "Unknown user\nChallenge KO.");
}

}  // namespace
}  // namespace tarn::publish
