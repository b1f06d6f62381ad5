// Running a linked file's application: which program the options choose
// for an extension, the desktop's registered application read from its
// desktop entry, and the watch that tells the dialog when the program ends.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/linkedapplication.h"
#include "base/filestream.h"
#include "platform/desktopapplication.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/manualeventloop.h"
#include "platform/testing/scriptedprocess.h"

namespace tarn::app {
namespace {

namespace fs = std::filesystem;
using platform::ProcessResult;

TEST(DesktopEntry, ExecKeyWithTheFileInPlaceOfItsFieldCode) {
  struct Case {
    std::string entry;
    std::vector<std::string> command;  // empty: none
  };
  const std::string head = "[Desktop Entry]\nName=Editor\n";
  const Case cases[] = {
      {head + "Exec=gedit %U\n", {"gedit", "/tmp/a b.txt"}},
      {head + "Exec=gimp-2.10 %f --new-instance\n", {"gimp-2.10", "/tmp/a b.txt", "--new-instance"}},
      // No field code: the file goes last; other codes and %% as a launcher would.
      {head + "Exec=\"/opt/My Editor/bin/ed\" --icon %i --rate=50%%\n",
       {"/opt/My Editor/bin/ed", "--icon", "--rate=50%", "/tmp/a b.txt"}},
      {head + "Exec=sh -c \"echo \\\"x\\\"\" %F %F\n", {"sh", "-c", "echo \"x\"", "/tmp/a b.txt"}},
      // The key counts in its own group only; a quote left open is no command.
      {"[Desktop Action new]\nExec=other\n" + head, {}},
      {head + "Exec=\"unclosed %f\n", {}},
      // The file never stands in for the program.
      {head + "Exec=\"\" %U --x=50%%\n", {}},
      {head + "Exec=%f\n", {}},
      {head + "Exec=%i viewer %f\n", {}},
      {head + "Exec=\n", {}},
  };
  // A program for a terminal runs in the desktop's terminal, or not at all.
  const std::string vim = head + "Terminal=true\nExec=vim %F\n";
  EXPECT_FALSE(platform::DesktopExecCommand(vim, "/tmp/a b.txt").has_value());
  EXPECT_EQ(platform::DesktopExecCommand(vim, "/tmp/a b.txt", "/usr/bin/x-terminal-emulator"),
            (std::vector<std::string>{"/usr/bin/x-terminal-emulator", "-e", "vim", "/tmp/a b.txt"}));
  for (const Case& c : cases) {
    const auto command = platform::DesktopExecCommand(c.entry, "/tmp/a b.txt");
    if (c.command.empty()) {
      EXPECT_FALSE(command.has_value()) << c.entry;
    } else {
      ASSERT_TRUE(command.has_value()) << c.entry;
      EXPECT_EQ(*command, c.command) << c.entry;
    }
  }
}

class LinkedApplication : public ::testing::Test {
 protected:
  LinkedApplication() {
    folder = fs::temp_directory_path() / ("tarn_linkedapp_" + std::to_string(::getpid()));
    fs::create_directories(folder / "applications" / "vendor");
    base::WriteWholeFile(folder / "applications" / "vendor" / "viewer.desktop",
                         "[Desktop Entry]\nType=Application\nExec=imageviewer --fit %f\n");
    // The desktop's answers: PNG pictures have a viewer, text files none.
    process.answer = [](const std::string& program,
                        const std::vector<std::string>& arguments) -> std::optional<ProcessResult> {
      if (program != "xdg-mime" || arguments.size() != 3) return std::nullopt;
      const bool png = arguments[2].ends_with(".png") || arguments[2] == "image/png";
      if (arguments[1] == "filetype") return ProcessResult{true, true, 0, png ? "image/png\n" : "text/plain\n", {}};
      return ProcessResult{true, true, 0, png ? "vendor-viewer.desktop\n" : "", {}};
    };
  }
  ~LinkedApplication() override { fs::remove_all(folder); }

  LinkedApplications Make() {
    return LinkedApplications({registry, process, loop,
                               [this](const fs::path& file) {
                                 asked.push_back(file);
                                 return chosen;
                               },
                               {folder / "applications"}});
  }

  fs::path folder;
  platform::MemorySettings store;
  platform::Registry registry{store};
  platform::testing::ScriptedProcess process;
  platform::testing::ManualEventLoop loop;
  std::vector<fs::path> asked;
  std::string chosen;
};

TEST_F(LinkedApplication, TheOptionsChooseTheProgramByExtension) {
  registry.WriteSubkeyValue("ext\\.doc", "comp", "3");
  registry.WriteSubkeyValue("ext\\.doc", "appPath", "/usr/bin/lowriter");
  registry.WriteSubkeyValue("ext\\.wav", "comp", "0");
  registry.WriteSubkeyValue("ext\\.png", "comp", "1");
  LinkedApplications applications = Make();
  chosen = "/usr/bin/player";
  struct Case {
    std::string file;
    std::vector<std::string> command;
    bool asks;
  };
  const Case cases[] = {
      // Configured, whatever the case of the extension.
      {"/d/Report.DOC", {"/usr/bin/lowriter", "/d/Report.DOC"}, false},
      // Asked every time.
      {"/d/bell.wav", {"/usr/bin/player", "/d/bell.wav"}, true},
      // Listed as the desktop's, and not listed at all: the desktop entry.
      {"/d/lake.png", {"imageviewer", "--fit", "/d/lake.png"}, false},
      // The desktop has nothing for it: the author is asked.
      {"/d/notes.txt", {"/usr/bin/player", "/d/notes.txt"}, true},
  };
  for (const Case& c : cases) {
    asked.clear();
    EXPECT_EQ(applications.CommandFor(c.file), c.command) << c.file;
    EXPECT_EQ(!asked.empty(), c.asks) << c.file;
  }
  // Cancelled, or configured without a program: nothing runs.
  chosen.clear();
  EXPECT_TRUE(applications.CommandFor("/d/bell.wav").empty());
  registry.WriteSubkeyValue("ext\\.doc", "appPath", "");
  const std::size_t before = process.calls.size();
  EXPECT_EQ(applications.Run("/d/Report.doc"), LinkedApplications::kNotStarted);
  EXPECT_EQ(process.calls.size(), before);
}

TEST_F(LinkedApplication, TheDialogIsToldOnTheUserInterfaceThreadWhenTheProgramEnds) {
  LinkedApplications applications = Make();
  int ended = 0;
  const auto watch = applications.Run("/pictures/lake.png", [&] { ++ended; });
  ASSERT_NE(watch, LinkedApplications::kNotStarted);
  const auto& call = process.calls.back();
  EXPECT_EQ(call.program, "imageviewer");
  EXPECT_EQ(call.arguments, (std::vector<std::string>{"--fit", "/pictures/lake.png"}));
  EXPECT_EQ(call.workingFolder, "/pictures");
  EXPECT_TRUE(call.detached);
  EXPECT_EQ(applications.Watching(), 1u);

  // The watcher's report waits for the event loop.
  ASSERT_TRUE(process.Finish(0));
  EXPECT_EQ(ended, 0);
  loop.ProcessEvents();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(applications.Watching(), 0u);

  // A stopped watch tells nothing; the program was left running.
  const auto second = applications.Run("/pictures/lake.png", [&] { ++ended; });
  applications.Stop(second);
  ASSERT_TRUE(process.Finish(0));
  loop.ProcessEvents();
  EXPECT_EQ(ended, 1);

  // Nor does one whose runner has gone, even with the report already posted.
  {
    LinkedApplications gone = Make();
    gone.Run("/pictures/lake.png", [&] { ++ended; });
    ASSERT_TRUE(process.Finish(0));
  }
  loop.ProcessEvents();
  EXPECT_EQ(ended, 1);

  // A program that cannot start is no watch.
  process.detachedStart = false;
  EXPECT_EQ(applications.Run("/pictures/lake.png", [&] { ++ended; }), LinkedApplications::kNotStarted);
}

}  // namespace
}  // namespace tarn::app
