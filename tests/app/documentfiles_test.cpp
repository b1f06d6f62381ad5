// The main window's decisions that need no window: the command line, the
// recent files, save kinds, captions and the desktop installation.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>

#include "app/commandline.h"
#include "app/desktopinstall.h"
#include "app/documentfiles.h"
#include "app/recentfiles.h"
#include "app/wordprocessor.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/scriptedprocess.h"

namespace tarn::app {
namespace {

TEST(CommandLine, FileNamesAndSwitches) {
  struct Case {
    std::vector<std::string> arguments;
    NextAction next;
    bool install;
    std::string file;
  };
  const Case cases[] = {
      {{}, NextAction::ProbeWordProcessor, false, ""},
      {{"/home/a/b.aeh"}, NextAction::ProbeWordProcessor, false, "/home/a/b.aeh"},
      // An unquoted path with blanks, and a switch after the file: all one name.
      {{"/My", "Documents/x.aeh"}, NextAction::ProbeWordProcessor, false, "/My Documents/x.aeh"},
      {{"my", "file.aeh", "/PRINT"}, NextAction::ProbeWordProcessor, false, "my file.aeh /PRINT"},
      {{"/print", "b.aeh"}, NextAction::Print, false, "b.aeh"},
      {{"/PTarn", "b.aeh"}, NextAction::PublishServer, false, "b.aeh"},
      {{"/pftp"}, NextAction::PublishFtp, false, ""},
      {{"/INIT"}, NextAction::ProbeWordProcessor, true, ""},
  };
  for (const Case& c : cases) {
    const CommandLine command = ParseCommandLine(c.arguments);
    EXPECT_EQ(command.next, c.next) << c.file;
    EXPECT_EQ(command.install, c.install) << c.file;
    EXPECT_EQ(command.file, c.file);
  }
}

TEST(RecentFiles, FiveAtMostMovedWhenReopenedSavedInOrder) {
  RecentFiles recent([](std::string_view path) { return path.starts_with("/ex/"); });
  for (int i = 1; i <= 6; ++i) recent.Add("/d/" + std::to_string(i) + ".aeh");
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/d/2.aeh", "/d/3.aeh", "/d/4.aeh", "/d/5.aeh", "/d/6.aeh"}));
  recent.Add("/d/3.aeh");
  EXPECT_EQ(recent.Entries().back(), "/d/3.aeh");
  EXPECT_EQ(recent.Entries().size(), 5u);
  recent.Add("/ex/index.aeh");  // an example: the last file, never listed
  EXPECT_EQ(recent.Last(), "/ex/index.aeh");
  EXPECT_EQ(recent.Entries().back(), "/d/3.aeh");
  recent.Remove("/d/2.aeh");
  recent.Remove("/d/4.aeh");

  platform::MemorySettings store;
  platform::Registry registry(store);
  for (int i = 0; i < 5; ++i) registry.WriteSubkeyValue("RecentFile", std::to_string(i), "/old");
  recent.Save(registry);
  EXPECT_EQ(registry.ReadSubkeyValue("recentfile", "0"), "/d/5.aeh");
  EXPECT_EQ(registry.ReadSubkeyValue("recentfile", "2"), "/d/3.aeh");
  RecentFiles reread;
  reread.Load(registry);
  EXPECT_EQ(reread.Entries(), recent.Entries());  // the old fourth and fifth do not come back
}

TEST(DocumentFiles, SaveKindsOpenKindsAndCaptions) {
  const std::tuple<const char*, int, int> saves[] = {
      {"a.AEH", 3, 1}, {"a.txt", 1, 5}, {"a.C", 4, 5}, {"a.pas", 2, 5}, {"a.ini", 0, 5},
      {"a.htm", 3, 3}, {"a.rtf", 4, 4}, {"a", -1, -1}};
  for (auto [name, chosen, kind] : saves) EXPECT_EQ(SaveKind(name, chosen), kind) << name;

  const std::pair<const char*, OpenKind> opens[] = {
      {"x.AEH", OpenKind::Hypertext}, {"x.wzz", OpenKind::CdProject}, {"x.cus", OpenKind::CustomLibrary},
      {"x.JPEG", OpenKind::Image},    {"x.wri", OpenKind::Import},     {"x.html", OpenKind::Html},
      {"x.zip", OpenKind::Other},     {"x", OpenKind::Other}};
  for (auto [name, kind] : opens) EXPECT_EQ(OpenKindOf(name), kind) << name;

  EXPECT_EQ(DocumentCaption("/home/u/doc/guide.aeh", "/opt/tarn/es_aeh", "Tarn"), "guide.aeh - Tarn");
  EXPECT_EQ(DocumentCaption("/opt/tarn/ES_AEH/index.aeh", "/opt/tarn/es_aeh", "Tarn"), "index.aeh [example] - Tarn");
  EXPECT_EQ(DocumentCaption("Untitled", "/opt/tarn/es_aeh", "Tarn"), "Untitled - Tarn");
  EXPECT_FALSE(InFolder("/opt/tarn/es_aeh/sub/x.aeh", "/opt/tarn/es_aeh"));
}

TEST(DocumentFiles, NativeHtmlChoicesFallBackWhenTheirHypertextIsGone) {
  using C = HtmlOpenChoice;
  const std::tuple<C, bool, C> cases[] = {
      {C::EditNative, true, C::EditNative},          {C::EditNative, false, C::EditPageSet},
      {C::CopyOfNative, false, C::EditPageSet},      {C::NewWithNativePage, false, C::NewWithPage},
      {C::InsertNativePage, false, C::InsertPage},   {C::InsertNativePage, true, C::InsertNativePage},
      {C::NewWithPage, false, C::NewWithPage}};
  for (auto [chosen, exists, effective] : cases) {
    EXPECT_EQ(EffectiveHtmlOpenChoice(chosen, exists), effective) << static_cast<int>(chosen) << exists;
  }
}

TEST(DesktopInstall, WritesTheEntryAndTheFileType) {
  const auto home = std::filesystem::temp_directory_path() / ("tarn_install_" + std::to_string(::getpid()));
  std::filesystem::remove_all(home);
  platform::MemorySettings store;
  platform::Registry registry(store);
  const InstallResult result = InstallDesktopIntegration("/opt/my tarn/tarn", home, registry);
  EXPECT_TRUE(result.error.empty()) << result.error;
  ASSERT_EQ(result.written.size(), 2u);
  std::ifstream desktop(home / "applications" / "tarn.desktop");
  const std::string text((std::istreambuf_iterator<char>(desktop)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Exec=\"/opt/my tarn/tarn\" %f\n"), std::string::npos);
  EXPECT_NE(text.find("MimeType=application/x-tarn-hypertext;"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(home / "mime" / "packages" / "tarn-hypertext.xml"));
  EXPECT_EQ(registry.ReadSubkeyValue("ftpnet", "numMax"), "222");
  std::filesystem::remove_all(home);

  // A data folder that cannot be made is reported, not passed as success.
  const InstallResult failed = InstallDesktopIntegration("/x/tarn", "/proc/nonexistent", registry);
  EXPECT_FALSE(failed.error.empty());
}

}  // namespace
}  // namespace tarn::app

namespace tarn::app {
namespace {

TEST(WordProcessor, LooksOnceADayAndRemembersTheResult) {
  platform::MemorySettings store;
  platform::Registry registry(store);
  int probes = 0;
  auto found = [&] { ++probes; return 1; };
  auto missing = [&] { ++probes; return 0; };
  EXPECT_FALSE(DetectWordProcessor(registry, "10/12/2026", missing));
  EXPECT_EQ(registry.ReadOption("LastDetWordN"), "0");
  EXPECT_TRUE(DetectWordProcessor(registry, "10/12/2026", found));  // not found: looked for again
  EXPECT_EQ(registry.ReadOption("LastDetWord"), "10/12/2026");
  EXPECT_TRUE(DetectWordProcessor(registry, "10/12/2026", missing));  // found today: not looked for
  EXPECT_EQ(probes, 2);
  EXPECT_FALSE(DetectWordProcessor(registry, "11/12/2026", missing));
  EXPECT_EQ(probes, 3);
}

}  // namespace
}  // namespace tarn::app

namespace tarn::app {
namespace {

// "?" > "Examples..." must find the sample wherever the program runs from:
// a build tree keeps it beside the program, an installation under its
// prefix's share folder.
TEST(ProgramFolders, ExamplesBesideTheProgramOrUnderTheInstalledPrefix) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("tarn_examples_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "bin");
  EXPECT_EQ(FindExamplesFolder(root / "bin"), root / "bin" / "es_aeh");  // named in the message
  fs::create_directories(root / "share" / "tarn" / "es_aeh");
  EXPECT_EQ(FindExamplesFolder(root / "bin"), root / "share" / "tarn" / "es_aeh");
  fs::create_directories(root / "bin" / "es_aeh");
  EXPECT_EQ(FindExamplesFolder(root / "bin"), root / "bin" / "es_aeh");
  fs::remove_all(root);
}

}  // namespace
}  // namespace tarn::app

namespace tarn::app {
namespace {

TEST(WordProcessor, ProbeRunsLibreOfficeThroughTheProcessSeam) {
  platform::testing::ScriptedProcess process;
  EXPECT_EQ(ProbeWordProcessor(process, 1000), 0);  // none installed
  EXPECT_TRUE(process.calls.empty());

  process.installed = {"libreoffice"};
  platform::ProcessResult answered;
  answered.started = answered.finished = true;
  answered.exitCode = 0;
  answered.output = "LibreOffice 7.4\n";
  process.results["/usr/bin/libreoffice"] = answered;
  int waits = 0;
  EXPECT_EQ(ProbeWordProcessor(process, 1000, [&] { ++waits; }), 1);
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_EQ(process.calls[0].arguments, (std::vector<std::string>{"--version"}));
  EXPECT_EQ(waits, 1);

  // Found but not answering in time (or failing) counts as absent.
  process.results["/usr/bin/libreoffice"].finished = false;
  EXPECT_EQ(ProbeWordProcessor(process, 1000), 0);
}

}  // namespace
}  // namespace tarn::app
