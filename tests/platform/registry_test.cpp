// Settings in the registry's shape: names without case, keys made on first
// access, defaults for missing or unparsable values, the extension table.
#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/filestream.h"
#include "platform/filesettings.h"
#include "platform/memorysettings.h"
#include "platform/testing/testplatform.h"

namespace tarn::platform {
namespace {

TEST(Registry, DefaultsOfAnEmptyStore) {
  MemorySettings store;
  Registry registry(store);
  const ProgramOptions o = ReadProgramOptions(registry);
  EXPECT_TRUE(o.tipOfTheDay);
  EXPECT_FALSE(o.atStartBlank);
  EXPECT_TRUE(o.lastFile.empty());
  EXPECT_EQ(o.undoDeep, 20);
  EXPECT_EQ(o.maxCacheImg, 20);
  EXPECT_EQ(o.toolWindowLimit, 3);
  EXPECT_TRUE(o.backup);
  EXPECT_FALSE(o.saveReminder);
  EXPECT_EQ(o.pointerSet, 0);
}

TEST(Registry, ValuesAndTheirReadings) {
  MemorySettings store;
  Registry registry(store);
  registry.WriteOption("formLim", "2");
  registry.WriteOption("TimeSave", "10");
  registry.WriteOption("PromemSave", "1");
  registry.WriteOption("TipOfTheDay", "0");
  registry.WriteOption("Bak", "0");
  registry.WriteOption("Cursors", "7");
  registry.WriteOption("undoDeep", "many");
  registry.WriteOptionFlag("Num", 3);
  const ProgramOptions o = ReadProgramOptions(registry);
  EXPECT_EQ(o.toolWindowLimit, 3);  // below 3 counts as 3
  EXPECT_EQ(o.SaveReminderMilliseconds(), 600000);
  EXPECT_TRUE(o.saveReminder);
  EXPECT_FALSE(o.tipOfTheDay);
  EXPECT_FALSE(o.backup);
  EXPECT_EQ(o.pointerSet, 0);
  EXPECT_EQ(o.undoDeep, 20);
  // Names compare without case.
  EXPECT_EQ(registry.ReadOption("num"), "3");
  EXPECT_EQ(registry.ReadOption("TIMESAVE"), "10");
  EXPECT_EQ(registry.ReadOption("missing"), "");
  EXPECT_EQ(registry.ReadRegistryValue("\\SOFTWARE\\LF\\Tarn3.0proE\\options\\Num"), "3");
}

TEST(Registry, ExtensionsSubkeysAndDeletion) {
  MemorySettings store;
  testing::RecordingMessages messages;
  Registry registry(store, &messages);
  registry.WriteSubkeyValue("ext\\.doc", "comp", "2");
  registry.WriteSubkeyValue("ext\\.doc", "appPath", "/usr/bin/soffice");
  registry.WriteSubkeyValue("ext\\.ZIP", "nam", "archive");
  EXPECT_EQ(registry.ExtensionBehaviour(".DOC", 9), 2);
  EXPECT_EQ(registry.ExtensionBehaviour(".zip", 9), 0);  // listed, no "comp"
  EXPECT_EQ(registry.ExtensionBehaviour(".pdf", 9), 9);
  EXPECT_EQ(registry.ExtensionApplication(".doc"), "/usr/bin/soffice");
  EXPECT_EQ(registry.ListSubkeys("ext"), (std::vector<std::string>{".doc", ".ZIP"}));
  registry.DeleteSubkey("ext\\.doc");
  EXPECT_EQ(registry.ListSubkeys("ext"), (std::vector<std::string>{".ZIP"}));
  EXPECT_EQ(registry.ReadSubkeyValue("ext\\.ZIP", "nam"), "archive");

  EXPECT_EQ(registry.ReadRegistryValue("\\SOFTWARE\\nowhere\\x"), "");
  EXPECT_TRUE(messages.Saw("Tmp err msg. Key non trovata nel registry:\\SOFTWARE\\nowhere : x"));
}

TEST(Registry, NetworkDefaultsOnlyWhenMissing) {
  MemorySettings store;
  Registry registry(store);
  registry.WriteNetworkDefaults();
  EXPECT_EQ(registry.ReadSubkeyValue("tarnnet\\0", "tarnCGI"), "tarnd.dll");
  EXPECT_EQ(registry.ReadSubkeyValue("ftpnet\\0", "port"), "21");
  registry.WriteSubkeyValue("ftpnet\\0", "port", "2121");
  registry.WriteNetworkDefaults();
  EXPECT_EQ(registry.ReadSubkeyValue("ftpnet\\0", "port"), "2121");
}

TEST(FileSettings, RoundTripAtomicWritesAndDamagedFiles) {
  const auto dir = std::filesystem::temp_directory_path() / ("tarn-settings-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const auto file = dir / "Tarn" / "HKEY_CURRENT_USER.ini";
  testing::RecordingMessages messages;
  {
    FileSettings store(file, &messages);
    Registry registry(store);
    registry.WriteOption("LastFile", "/home/a/caf\xE9=1.aeh");
    registry.WriteSubkeyValue("ext\\.Doc", "nam", "two\nlines");
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "Tarn" / "HKEY_CURRENT_USER.ini.tmp"));
  {
    FileSettings store(file, &messages);
    Registry registry(store);
    EXPECT_EQ(registry.ReadOption("lastfile"), "/home/a/caf\xE9=1.aeh");
    EXPECT_EQ(registry.ReadSubkeyValue("EXT\\.doc", "NAM"), "two\nlines");
    EXPECT_EQ(registry.ListSubkeys("ext"), (std::vector<std::string>{".Doc"}));
  }
  EXPECT_TRUE(messages.entries.empty());

  base::WriteWholeFile(file, "[\\SOFTWARE]\ngarbage line\n");
  FileSettings damaged(file, &messages);
  EXPECT_FALSE(damaged.Read("\\SOFTWARE", "x").has_value());
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].kind, "warning");
  EXPECT_TRUE(std::filesystem::exists(dir / "Tarn" / "HKEY_CURRENT_USER.ini.damaged"));
  std::filesystem::remove_all(dir);
}

// Two running copies of the program write the same settings file: neither
// may write into the other's temporary file, nor through anything found at
// a fixed name, and a second damaged file does not replace the first copy.
TEST(FileSettings, WritesAreTheirOwnAndDamagedCopiesAreAllKept) {
  namespace fs = std::filesystem;
  const auto dir = fs::temp_directory_path() / ("tarn-settings-own-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto file = dir / "HKEY_CURRENT_USER.ini";
  base::WriteWholeFile(dir / "victim", "not settings");
  fs::create_symlink(dir / "victim", dir / "HKEY_CURRENT_USER.ini.tmp");
  // A temporary file of a process that has gone is removed.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const auto stale = dir / ("HKEY_CURRENT_USER.ini." + std::to_string(gone) + "-1.tmp");
  base::WriteWholeFile(stale, "half a settings fi");
  testing::RecordingMessages messages;
  {
    FileSettings store(file, &messages);
    store.Write("\\SOFTWARE", "a", "1");
  }
  std::string victim;
  base::ReadWholeFile(dir / "victim", victim);
  EXPECT_EQ(victim, "not settings");
  EXPECT_FALSE(fs::exists(stale));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // it may hold a saved password

  for (const char* damage : {"[first damage\n", "[second damage\n"}) {
    base::WriteWholeFile(file, damage);
    FileSettings store(file, &messages);
  }
  std::string first;
  std::string second;
  base::ReadWholeFile(dir / "HKEY_CURRENT_USER.ini.damaged", first);
  base::ReadWholeFile(dir / "HKEY_CURRENT_USER.ini.damaged.1", second);
  EXPECT_EQ(first, "[first damage\n");
  EXPECT_EQ(second, "[second damage\n");
  EXPECT_TRUE(
      messages.Saw("The damaged file was kept as " + (dir / "HKEY_CURRENT_USER.ini.damaged.1").string()));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tarn::platform
