// The export and import runs of the dialogs: each format's files under their
// final names, nothing half-written after a cancel, the folder message, and
// DOC documents through a scripted word processor.
#include "convert/exportjob.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/filestream.h"
#include "convert/docconvert.h"
#include "convert/exportprogress.h"
#include "convert/htmlfixture.h"
#include "convert/importjob.h"
#include "platform/testing/scriptedprocess.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;

// Cancels once `after` documents have been reported.
class CancellingProgress : public ExportProgress {
 public:
  explicit CancellingProgress(int after) : m_after(after) {}
  void OnExpProgress(const TAEHconv&, int, int, int) override { ++reported; }
  bool CancelRequested() override { return reported >= m_after; }
  int reported = 0;

 private:
  int m_after;
};

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    names.push_back(fs::relative(it->path(), folder).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Read(const fs::path& file) {
  std::string bytes;
  base::ReadWholeFile(file, bytes);
  return bytes;
}

// A word processor that writes what it is asked for: the source's bytes
// behind a marker, into --outdir under the source's name.
std::optional<platform::ProcessResult> FakeOffice(const std::vector<std::string>& arguments, const char* extension) {
  fs::path outdir;
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == "--outdir") outdir = arguments[i + 1];
  }
  const fs::path source = arguments.back();
  fs::path target = outdir / source.filename();
  target.replace_extension(extension);
  std::ofstream(target) << (std::string(extension) == ".rtf" ? "" : "DOC:") << Read(source);
  platform::ProcessResult result;
  result.started = result.finished = true;
  result.exitCode = 0;
  return result;
}

class ExportJobTest : public testing::HtmlFixture, public ::testing::Test {
 protected:
  ExportJobTest() {
    for (int i = 0; i < 3; ++i) pages.push_back(Page("Page " + std::to_string(i), "<Z S0 >Text " + std::to_string(i))->Index());
    set->SetTitle("Book");
  }
  ExportRequest Request(int format, const std::string& main) const {
    ExportRequest request;
    request.format = format;
    request.folder = env.Path("target");
    request.mainFile = main;
    request.pages = pages;
    return request;
  }

  std::vector<int> pages;
  platform::testing::ScriptedProcess process;
};

TEST_F(ExportJobTest, EachFormatWritesItsFilesUnderTheirFinalNames) {
  struct Case {
    int format;
    std::string main;
    std::vector<std::string> files;
  };
  const std::vector<Case> cases = {
      {kExpHtml, "", {"site_000001.htm", "site_000002.htm", "site_index.htm", "site_style.css"}},
      {kExpRtf, "book.rtf", {"book.rtf"}},
      {kExpRtfPerPage, "", {"site000001.rtf", "site000002.rtf", "siteindex.rtf"}},
      {kExpWinHelp, "help.rtf", {"help.HPJ", "help.rtf"}},
      {kExpAscii, "book.txt", {"book.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    fs::remove_all(env.Path("target"));
    ExportJob job(*set, &process);
    const ExportOutcome outcome = job.Run(Request(c.format, c.main));
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(FilesIn(env.Path("target")), c.files);
    EXPECT_EQ(outcome.written.size(), c.files.size());
  }
  EXPECT_NE(Read(env.Path("target") / "book.txt").find("Text 2"), std::string::npos);
}

TEST_F(ExportJobTest, HelpProjectNamesTheTopicsFileAndTheCompilerRunsOnlyWhenConfigured) {
  ExportRequest request = Request(kExpWinHelp, "help.rtf");
  request.runHelpCompiler = true;
  ExportJob job(*set, &process);
  ExportOutcome outcome = job.Run(request);
  ASSERT_TRUE(outcome.ok);
  const std::string project = Read(env.Path("target") / "help.HPJ");
  EXPECT_EQ(project.rfind("[OPTIONS]", 0), 0u);
  EXPECT_NE(project.find("TITLE=Book"), std::string::npos);
  EXPECT_NE(project.find("[FILES]\r\nhelp.rtf"), std::string::npos) << project;
  // Nothing registered for project files: said plainly, the sources stay.
  EXPECT_NE(outcome.note.find("No help compiler is configured"), std::string::npos);
  EXPECT_TRUE(process.calls.empty());

  std::ofstream(env.Path("target") / "help.hlp") << "old";
  request.registeredHelpCompiler = false;
  request.helpCompiler = "/opt/hc/hcrtf";
  outcome = job.Run(request);
  ASSERT_TRUE(outcome.ok);
  EXPECT_TRUE(outcome.note.empty());
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_EQ(process.calls[0].program, "/opt/hc/hcrtf");
  EXPECT_EQ(process.calls[0].arguments, (std::vector<std::string>{(env.Path("target") / "help.HPJ").string()}));
  EXPECT_FALSE(fs::exists(env.Path("target") / "help.hlp"));
}

TEST_F(ExportJobTest, CancelLeavesNoPartialFileAndKeepsTheOldOne) {
  for (const int format : {kExpHtml, kExpRtf, kExpAscii}) {
    SCOPED_TRACE(format);
    fs::remove_all(env.Path("target"));
    fs::create_directories(env.Path("target"));
    const std::string main = format == kExpRtf ? "book.rtf" : "book.txt";
    std::ofstream(env.Path("target") / main) << "the previous export";
    CancellingProgress progress(2);
    ExportJob job(*set, &process);
    job.Progress = &progress;
    const ExportOutcome outcome = job.Run(Request(format, main));
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.error, kExportCancelled);
    // Only the file that was there before, untouched; no staging folder.
    EXPECT_EQ(FilesIn(env.Path("target")), std::vector<std::string>{main});
    EXPECT_EQ(Read(env.Path("target") / main), "the previous export");
  }
}

TEST_F(ExportJobTest, NoCheckedPageMakesTheFolderOnly) {
  ExportRequest request = Request(kExpHtml, "");
  request.pages.clear();
  request.folder = env.Path("a/b/c");
  const ExportOutcome outcome = ExportJob(*set, &process).Run(request);
  EXPECT_TRUE(outcome.ok);
  EXPECT_TRUE(fs::is_directory(env.Path("a/b/c")));
  EXPECT_TRUE(FilesIn(env.Path("a/b/c")).empty());
}

TEST_F(ExportJobTest, FolderThatCannotBeMadeIsReportedAndNothingIsWritten) {
  std::ofstream(env.Path("blocker")) << "a file, not a folder";
  ExportRequest request = Request(kExpHtml, "");
  request.folder = env.Path("blocker") / "site";
  const ExportOutcome outcome = ExportJob(*set, &process).Run(request);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, "Error creating directory: \"" + request.folder.string() + "\" check the \"path\" tab.");
}

TEST_F(ExportJobTest, DocGoesThroughTheWordProcessorAndOnlyTheDocIsLeft) {
  process.installed = {"soffice"};
  process.answer = [](const std::string&, const std::vector<std::string>& arguments) {
    return FakeOffice(arguments, ".doc");
  };
  ExportJob job(*set, &process);
  job.WordProcessorProfile = env.Path("profile");
  const ExportOutcome outcome = job.Run(Request(kExpDoc, "book.doc"));
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(FilesIn(env.Path("target")), std::vector<std::string>{"book.doc"});
  EXPECT_EQ(Read(env.Path("target") / "book.doc").rfind("DOC:{\\rtf1", 0), 0u);
  ASSERT_EQ(process.calls.size(), 1u);
  const std::vector<std::string>& args = process.calls[0].arguments;
  EXPECT_EQ(process.calls[0].program, "/usr/bin/soffice");
  EXPECT_EQ(args[0], "-env:UserInstallation=file://" + env.Path("profile").string());
  EXPECT_NE(std::find(args.begin(), args.end(), "--headless"), args.end());
  EXPECT_NE(std::find(args.begin(), args.end(), "doc:MS Word 97"), args.end());
}

TEST_F(ExportJobTest, DocFailuresSayWhatHappened) {
  struct Case {
    std::set<std::string> installed;
    platform::ProcessResult result;
    std::string says;
  };
  platform::ProcessResult timedOut;
  timedOut.started = true;
  platform::ProcessResult failed;
  failed.started = failed.finished = true;
  failed.exitCode = 81;
  failed.errors = "Error: source file could not be loaded\n";
  const std::vector<Case> cases = {
      {{}, {}, kNoWordProcessor},
      {{"soffice"}, timedOut, "did not convert book.rtf within 120 seconds"},
      {{"soffice"}, failed, "(exit code 81):\nError: source file could not be loaded"},
  };
  for (const Case& c : cases) {
    process.installed = c.installed;
    process.results["/usr/bin/soffice"] = c.result;
    ExportJob job(*set, &process);
    const ExportOutcome outcome = job.Run(Request(kExpDoc, "book.doc"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.error.find(c.says), std::string::npos) << outcome.error;
    EXPECT_EQ(FilesIn(env.Path("target")), std::vector<std::string>{});
  }
}

class ImportJobTest : public testing::HtmlFixture, public ::testing::Test {
 protected:
  ImportJobTest() { set->NewHypertext(); }
  platform::testing::ScriptedProcess process;
};

TEST_F(ImportJobTest, DocIsConvertedToRtfAndImportedWithoutTouchingTheSource) {
  // The "DOC" here is RTF already; the scripted word processor copies it.
  std::ofstream(env.Path("letter.doc")) << "{\\rtf1\\ansi Dear reader,\\par See you.\\par}";
  process.installed = {"soffice"};
  process.answer = [](const std::string&, const std::vector<std::string>& arguments) {
    return FakeOffice(arguments, ".rtf");
  };
  ImportRequest request;
  request.format = kImpDocPages;
  request.files = {env.Path("letter.doc")};
  ImportJob job(*set, &process);
  const ImportOutcome outcome = job.Run(request);
  EXPECT_EQ(outcome.error, "");
  EXPECT_EQ(outcome.pagesMade, 1);
  ASSERT_GE(outcome.firstPage, 0);
  const std::string markup = set->GetObject(document::testoHtml, outcome.firstPage)->ReadContent().value_or("");
  EXPECT_NE(markup.find("Dear reader,"), std::string::npos);
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_NE(std::find(process.calls[0].arguments.begin(), process.calls[0].arguments.end(), "rtf:Rich Text Format"),
            process.calls[0].arguments.end());
  EXPECT_TRUE(fs::exists(env.Path("letter.doc")));
}

TEST_F(ImportJobTest, NoFileAndCancelledRuns) {
  ImportJob job(*set, &process);
  EXPECT_EQ(job.Run({}).error, "You should choose one file at least");

  for (int i = 0; i < 3; ++i) std::ofstream(env.Path("t" + std::to_string(i) + ".txt")) << "line " << i;
  ImportRequest request;
  request.format = kImpAscii;
  request.files = {env.Path("t0.txt"), env.Path("t1.txt"), env.Path("t2.txt")};
  CancellingProgress progress(2);
  job.Progress = &progress;
  const ImportOutcome outcome = job.Run(request);
  EXPECT_TRUE(outcome.cancelled);
  // The first file was read before the cancel came; the rest were not.
  EXPECT_EQ(outcome.pagesMade, 1);
}

TEST(WinHelpReportTest, ListsTheThreeKindsInOrder) {
  EXPECT_EQ(ImportJob::WinHelpReportLines({{1, "key"}, {0, "Topic"}}),
            (std::vector<std::string>{"  Imported pages:", "Topic", "  Imported keywords:", "key",
                                      "  Non imported links:", "none"}));
}

}  // namespace
}  // namespace tarn::convert
