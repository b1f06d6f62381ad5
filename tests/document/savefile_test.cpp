// Saving: the layout written, byte compatibility on re-save, backups, and
// failures that must leave the previous document untouched.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/compose.h"
#include "base/bytes.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using testing::AehBuilder;
using testing::TestEnv;
namespace fs = std::filesystem;

std::int32_t FileI32(const std::string& bytes, std::size_t at) {
  return base::GetI32({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, at);
}

// A file as the old program wrote it: every kind's records in order, every
// object's blocks appended in the order objects are written.
std::string LegacyFile() {
  AehBuilder b;
  b.SetI16(header::kPixelsPerInch, 96);
  b.header[header::kExpPrefix] = 6;
  b.header.replace(header::kExpPrefix + 1, 6, "legacy");
  b.AddPage("Cover", "<Z S0 >Welcome to the <$00000001>second page<%>.");
  b.AddPage("Second", "<Z S0 >Back to the <$00000000>cover<%>.");
  std::string kw = AehBuilder::BlankRecord(80);
  AehBuilder::PutStr(kw, 0, "welcome");
  b.records[4] = {kw};
  std::string gif = testing::SmallGif(3, 3);
  std::string image = AehBuilder::BlankRecord(667);
  image[4] = 0;
  AehBuilder::PutStr(image, 5, "dot");
  AehBuilder::PutStr(image, 94, "dot.gif");
  AehBuilder::PutI32(image, 0, b.AddData(gif));
  AehBuilder::PutI32(image, 174, static_cast<std::int32_t>(gif.size()));
  image[666] = 0;
  b.records[5] = {image};
  for (const char* name : {"[no style]", "[no style intab]"}) {
    std::string style(103, '\0');
    style[4] = 1;
    AehBuilder::PutStr(style, 5, name);
    b.records[17].push_back(style);
  }
  return b.Build();
}

TEST(AehSave, ResaveIsByteCompatible) {
  TestEnv env;
  const std::string original = LegacyFile();
  testing::WriteFile(env.Path("legacy.aeh"), original);
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("legacy.aeh")));
  ASSERT_TRUE(set.SaveToFile(env.Path("copy.aeh"))) << (set.SaveErrors().empty() ? "" : set.SaveErrors()[0]);
  const std::string saved = testing::ReadFile(env.Path("copy.aeh"));
  ASSERT_EQ(saved.size(), original.size());
  // Only the revision differs.
  EXPECT_EQ(FileI32(saved, header::kRevision), FileI32(original, header::kRevision) + 1);
  std::string expected = original;
  expected.replace(header::kRevision, 4, saved.substr(header::kRevision, 4));
  EXPECT_TRUE(saved == expected);
  // The saved file is now the open document.
  EXPECT_EQ(set.AEHFileName(), env.Path("copy.aeh"));
  EXPECT_EQ(set.Revision(), FileI32(original, header::kRevision) + 1);
}

TEST(AehSave, NewHypertextLayoutTitleAndRevision) {
  TestEnv env;
  TAEHset set(env.Services());
  auto page = set.NewObject(testoHtml);
  page->SetName("Only page");
  set.Register(std::move(page));
  const fs::path path = env.Path("report.aeh");
  ASSERT_TRUE(set.SaveToFile(path));
  const std::string bytes = testing::ReadFile(path);
  EXPECT_EQ(static_cast<unsigned char>(bytes[header::kHighestKind]), 25);
  EXPECT_EQ(set.Title(), "report");
  EXPECT_EQ(set.ExpPrefix(), "report");
  EXPECT_EQ(set.Revision(), 3);
  // 26 type entries, then F; records start right after.
  const std::size_t dataStart = 1978 + 12 * 26 + 4;
  std::size_t fixed = 0;
  for (int k = 0; k < 26; ++k) {
    EXPECT_EQ(FileI32(bytes, 1978 + 12 * k), static_cast<std::int32_t>(fixed)) << k;
    EXPECT_EQ(FileI32(bytes, 1978 + 12 * k + 4), RecordSize(k)) << k;
    fixed += static_cast<std::size_t>(FileI32(bytes, 1978 + 12 * k + 8) * RecordSize(k));
  }
  EXPECT_EQ(FileI32(bytes, dataStart - 4), static_cast<std::int32_t>(fixed));
  EXPECT_EQ(bytes.substr(dataStart + fixed, 8), std::string("<Z S0 >\0", 8));

  for (int i = 0; i < 10; ++i) ASSERT_TRUE(set.SaveToFile(path));
  EXPECT_EQ(set.Revision(), 13);
  EXPECT_EQ(set.Title(), "report");
  ASSERT_EQ(set.CountOf(testoHtml), 1);
  EXPECT_EQ(set.GetObject(testoHtml, 0)->GetCaption(), "Only page");
}

TEST(AehSave, SaveOverOpenFileKeepsBackupAndLeavesNoTemporaries) {
  TestEnv env;
  const fs::path path = env.Path("doc.aeh");
  testing::WriteFile(path, LegacyFile());
  const std::string before = testing::ReadFile(path);
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(path));
  set.GetObject(testoHtml, 1)->SetName("Changed");
  ASSERT_TRUE(set.SaveToFile(path));
  EXPECT_EQ(testing::ReadFile(env.Path("doc.bak")), before);
  EXPECT_EQ(env.Files(), (std::vector<std::string>{"doc.aeh", "doc.bak"}));
  EXPECT_EQ(set.GetObject(testoHtml, 1)->GetCaption(), "Changed");
  // The image data stays in the file until it is used; it made it into the
  // new file.
  EXPECT_EQ(set.GetObject(immagine, 0)->Content().source, DataBlock::Source::Document);
  auto content = set.GetObject(immagine, 0)->ReadContent();
  ASSERT_TRUE(content);
  EXPECT_EQ(*content, testing::SmallGif(3, 3));

  // Saving under another name whose file exists turns that file into a .bak.
  testing::WriteFile(env.Path("other.aeh"), "old other");
  ASSERT_TRUE(set.SaveToFile(env.Path("other.aeh")));
  EXPECT_EQ(testing::ReadFile(env.Path("other.bak")), "old other");

  // Without the backup setting no .bak is made.
  set.SetBackup(false);
  ASSERT_TRUE(set.SaveToFile(env.Path("third.aeh")));
  ASSERT_TRUE(set.SaveToFile(env.Path("third.aeh")));
  EXPECT_FALSE(fs::exists(env.Path("third.bak")));
}

TEST(AehSave, FailuresLeaveThePreviousDocumentIntact) {
  TestEnv env;
  const fs::path path = env.Path("doc.aeh");
  testing::WriteFile(path, LegacyFile());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(path));
  ASSERT_TRUE(set.SaveToFile(path));  // makes doc.bak
  const std::string doc = testing::ReadFile(path);
  const std::string bak = testing::ReadFile(env.Path("doc.bak"));
  const std::int32_t revision = set.Revision();

  // An embedded file whose source has gone: the save fails with the message.
  testing::WriteFile(env.Path("attachment.txt"), "data");
  TAEHoggetto* file = set.AddEmbeddedFile(env.Path("attachment.txt"));
  ASSERT_NE(file, nullptr);
  fs::remove(file->FilePath());
  EXPECT_FALSE(set.SaveToFile(path));
  ASSERT_EQ(set.SaveErrors().size(), 1u);
  EXPECT_EQ(set.SaveErrors()[0].substr(0, 23), "Error in file opening: ");
  EXPECT_EQ(testing::ReadFile(path), doc);
  EXPECT_EQ(testing::ReadFile(env.Path("doc.bak")), bak);
  EXPECT_EQ(env.Files(), (std::vector<std::string>{"attachment.txt", "doc.aeh", "doc.bak"}));
  EXPECT_EQ(set.Revision(), revision);

  // A folder that cannot be created: the retry question, then No. The
  // message gives the system's reason on its second line.
  env.messages.Clear();
  file->Clear();
  const fs::path inFile = env.Path("attachment.txt") / "sub" / "x.aeh";
  EXPECT_FALSE(set.SaveToFile(inFile));
  ASSERT_FALSE(env.messages.entries.empty());
  EXPECT_EQ(env.messages.entries[0].kind, "question");
  EXPECT_EQ(env.messages.entries[0].text.substr(0, 35), "Share error, or out of disk space.\r");
  EXPECT_EQ(set.SaveErrors(),
            std::vector<std::string>{"Error writing file " + inFile.string() + "\rNot a directory"});
  EXPECT_EQ(testing::ReadFile(path), doc);

  // An empty name.
  EXPECT_FALSE(set.SaveToFile(""));
  EXPECT_TRUE(env.messages.Saw("Invalid file name!"));
}

TEST(AehSave, ThroughASymbolicLinkTheLinkStaysAndItsFileIsSaved) {
  TestEnv env;
  fs::create_directories(env.Path("real"));
  const fs::path real = env.Path("real") / "doc.aeh";
  testing::WriteFile(real, LegacyFile());
  const std::string before = testing::ReadFile(real);
  fs::create_symlink("real/doc.aeh", env.Path("link.aeh"));
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("link.aeh")));
  set.GetObject(testoHtml, 1)->SetName("Changed");
  ASSERT_TRUE(set.SaveToFile(env.Path("link.aeh")));
  EXPECT_TRUE(fs::is_symlink(env.Path("link.aeh")));
  EXPECT_EQ(fs::read_symlink(env.Path("link.aeh")), "real/doc.aeh");
  EXPECT_EQ(set.AEHFileName(), env.Path("link.aeh"));
  // The backup lies beside the file the link names.
  EXPECT_EQ(testing::ReadFile(env.Path("real") / "doc.bak"), before);
  TAEHset again(env.Services());
  ASSERT_TRUE(again.LoadFromFile(real));
  EXPECT_EQ(again.GetObject(testoHtml, 1)->GetCaption(), "Changed");
}

TEST(AehSave, FileNamesBecomeAbsolute) {
  TestEnv env;
  testing::WriteFile(env.Path("doc.aeh"), LegacyFile());
  const fs::path cwd = fs::current_path();
  fs::current_path(env.Dir().parent_path());
  const fs::path relative = env.Dir().filename() / "doc.aeh";
  TAEHset set(env.Services());
  const bool loaded = set.LoadFromFile(relative);
  const fs::path opened = set.AEHFileName();
  const bool saved = set.SaveToFile(env.Dir().filename() / "." / "copy.aeh");
  fs::current_path(cwd);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(opened, env.Path("doc.aeh"));
  ASSERT_TRUE(saved);
  EXPECT_EQ(set.AEHFileName(), env.Path("copy.aeh"));
}

TEST(AehSave, TemporaryFilesOfKilledSavesAreRemoved) {
  TestEnv env;
  const fs::path path = env.Path("doc.aeh");
  testing::WriteFile(path, LegacyFile());
  // A process that has ended stands for a save that was killed.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const std::vector<std::string> stale = {SaveTemporaryName("doc.aeh", gone, "0a0a0a"),
                                          SaveTemporaryName("doc.bak", gone, "0b0b0b")};
  const std::vector<std::string> kept = {SaveTemporaryName("doc.aeh", ::getpid(), "0c0c0c"),
                                         SaveTemporaryName("doc.aeh", ::getppid(), "0d0d0d"),
                                         ".doc.aeh.1234.tmp"};
  for (const auto& name : stale) testing::WriteFile(env.Path(name), "left by a killed save");
  for (const auto& name : kept) testing::WriteFile(env.Path(name), "not ours to remove");
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(path));
  ASSERT_TRUE(set.SaveToFile(path));
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"doc.aeh", "doc.bak"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(env.Files(), expected);
}

// A file cut inside its data blocks: what the cut took is lost, so opening
// it says which pages are not whole, and saving over it asks first.
TEST(AehSave, DamagedDocumentIsReportedAndReplacedOnlyWhenTheAuthorSaysSo) {
  TestEnv env;
  AehBuilder b;
  b.AddPage("Whole", "<Z S0 >first page");
  b.AddPage("Cut", "<Z S0 >second page, cut in the middle");
  b.AddPage("Gone", "<Z S0 >third");
  const std::string full = b.Build();
  const std::string cut = full.substr(0, full.size() - 30);
  const fs::path path = env.Path("cut.aeh");
  testing::WriteFile(path, cut);
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(path));
  ASSERT_EQ(env.messages.entries.size(), 1u);
  EXPECT_EQ(env.messages.entries[0].kind, "warning");
  EXPECT_EQ(
      env.messages.entries[0].text,
      "The file " + path.string() +
          " is damaged: these pages and objects could not be read whole, and what is missing of them is "
          "lost:\rpage 1 \"Cut\"\rpage 2 \"Gone\"");
  EXPECT_EQ(set.DamagedObjects(),
            (std::vector<ObjectId>{MakeObjectId(testoHtml, 1), MakeObjectId(testoHtml, 2)}));

  // Saving under another name asks nothing; over the damaged file, No keeps it.
  env.messages.Clear();
  ASSERT_TRUE(set.SaveToFile(env.Path("elsewhere.aeh")));
  EXPECT_TRUE(env.messages.entries.empty());
  ASSERT_TRUE(set.LoadFromFile(path));
  env.messages.Clear();
  EXPECT_FALSE(set.SaveToFile(path));
  ASSERT_EQ(env.messages.entries.size(), 1u);
  EXPECT_EQ(env.messages.entries[0].kind, "question");
  EXPECT_EQ(testing::ReadFile(path), cut);
  EXPECT_TRUE(set.IsDamaged());

  // Yes replaces it and keeps the damaged file as the .bak, even without
  // the backup setting.
  set.SetBackup(false);
  env.messages.answers.push_back(platform::Answer::Yes);
  ASSERT_TRUE(set.SaveToFile(path));
  EXPECT_EQ(testing::ReadFile(env.Path("cut.bak")), cut);
  EXPECT_FALSE(set.IsDamaged());
  EXPECT_EQ(set.GetObject(testoHtml, 0)->ReadContent(), std::string("<Z S0 >first page\0", 18));
}

TEST(AehSave, BlockRunningPastTheEndIsCopiedAsFarAsItExists) {
  TestEnv env;
  AehBuilder b;
  b.AddPage("P", "<Z S0 >x");
  std::string image = AehBuilder::BlankRecord(667);
  image[4] = 0;
  AehBuilder::PutStr(image, 94, "cut.gif");
  AehBuilder::PutI32(image, 0, b.AddData("GIF89a-partial"));
  AehBuilder::PutI32(image, 174, 1000);  // claims far more than the file holds
  image[666] = 0;
  b.records[5] = {image};
  testing::WriteFile(env.Path("cut.aeh"), b.Build());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("cut.aeh")));
  ASSERT_TRUE(set.SaveToFile(env.Path("fixed.aeh")));
  TAEHoggetto* reread = set.GetObject(immagine, 0);
  EXPECT_EQ(reread->I32(174), 14);
  EXPECT_EQ(reread->ReadContent().value(), "GIF89a-partial");
}

TEST(AehSave, PagesInOlderTextAreConvertedBeforeWriting) {
  TestEnv env;
  AehBuilder b;
  b.sizes[0] = 242;
  b.AddPage("Old", "older text");
  b.AddPage("Also old", "more");
  testing::WriteFile(env.Path("old.aeh"), b.Build());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("old.aeh")));
  int calls = 0;
  set.OlderTextConverter = [&calls](TAEHoggetto& page) {
    ++calls;
    page.SetContent(std::string("<Z S0 >converted\0", 17));
    page.SetU8(195, 2);
  };
  ASSERT_TRUE(set.SaveToFile(env.Path("new.aeh")));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(set.GetObject(testoHtml, 0)->U8(195), 2);
  EXPECT_EQ(set.GetObject(testoHtml, 1)->ReadContent().value(), std::string("<Z S0 >converted\0", 17));
}

TEST(AehSave, OlderPagesThatRegisterNewRecordsSaveSoundly) {
  // Converting an older page copies the images it names: the new records
  // must be counted before the file's tables are written.
  TestEnv env;
  AehBuilder b;
  b.sizes[0] = 242;
  b.AddPage("Old", "a<B>b</B><$05000000>c");
  std::string gif = testing::SmallGif();
  std::string image = AehBuilder::BlankRecord(667);
  image[4] = 0;
  AehBuilder::PutStr(image, 94, "old.gif");
  AehBuilder::PutI32(image, 0, b.AddData(gif));
  AehBuilder::PutI32(image, 174, static_cast<std::int32_t>(gif.size()));
  image[666] = 0;
  b.records[5] = {image};
  testing::WriteFile(env.Path("older.aeh"), b.Build());
  TAEHset set(env.Services());
  app::Compose(set);
  ASSERT_TRUE(set.LoadFromFile(env.Path("older.aeh")));
  ASSERT_TRUE(set.SaveToFile(env.Path("converted.aeh")));
  EXPECT_EQ(set.CountOf(immagine), 2);
  auto* page = dynamic_cast<TAEHtesto*>(set.GetObject(testoHtml, 0));
  EXPECT_EQ(page->U8(195), 2);
  const std::string markup = page->Markup();
  EXPECT_EQ(markup.substr(0, 7), "<Z S0 C");
  EXPECT_NE(markup.find("<$05000001>"), std::string::npos) << markup;
  EXPECT_EQ(set.GetObject(immagine, 1)->ReadContent().value(), gif);
  TAEHset again(env.Services());
  ASSERT_TRUE(again.LoadFromFile(env.Path("converted.aeh")));
  EXPECT_EQ(dynamic_cast<TAEHtesto*>(again.GetObject(testoHtml, 0))->Markup(), markup);
}

TEST(AehSave, TableDataSurvivesWhateverItsSubtype) {
  // Tables in use are stored with subtype 0, the same as deleted ones.
  TestEnv env;
  AehBuilder b;
  b.AddPage("P", "<Z S0 >x");
  std::string table = AehBuilder::BlankRecord(220);
  table[4] = 0;
  const std::string colours(16, '\x11');
  AehBuilder::PutI32(table, 0, b.AddData(colours));
  AehBuilder::PutI32(table, 81, 1);
  table[85] = 16;
  table[86] = 0;
  const std::string attributes = "border=\"3\"";
  AehBuilder::PutI32(table, 58, b.AddData(attributes));
  AehBuilder::PutI32(table, 62, static_cast<std::int32_t>(attributes.size()));
  b.records[8] = {table};
  testing::WriteFile(env.Path("t.aeh"), b.Build());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("t.aeh")));
  ASSERT_TRUE(set.SaveToFile(env.Path("t2.aeh")));
  TAEHoggetto* reread = set.GetObject(tabellaHtml, 0);
  EXPECT_EQ(reread->ReadContent().value(), colours);
  EXPECT_EQ(reread->Extra().View(), attributes);
}

TEST(AehSave, EmptySlotsAndFreeRecordsKeepTheirIndexes) {
  TestEnv env;
  TAEHset set(env.Services());
  for (const char* title : {"A", "B", "C"}) {
    auto p = set.NewObject(testoHtml);
    p->SetName(title);
    set.Register(std::move(p));
  }
  set.GetObject(testoHtml, 1)->Clear();
  auto moved = set.ChangeKind(set.GetObject(testoHtml, 0), keyword);
  ASSERT_TRUE(set.SaveToFile(env.Path("slots.aeh")));
  ASSERT_EQ(set.CountOf(testoHtml), 3);
  EXPECT_TRUE(set.GetObject(testoHtml, 0)->IsFree());
  EXPECT_TRUE(set.GetObject(testoHtml, 1)->IsFree());
  EXPECT_EQ(set.GetObject(testoHtml, 2)->GetCaption(), "C");
}

}  // namespace
}  // namespace tarn::document
