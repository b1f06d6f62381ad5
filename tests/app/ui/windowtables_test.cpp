// Every key of a window's English table must name a text the window has: a
// typo in a component or property name would silently leave a built-in
// text in place.
#include <QDialog>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/fakeoptionshost.h"
#include "app/ui/fopzprog.h"
#include "app/ui/krlanguager.h"
#include "app/ui/mainform.h"
#include "app/ui/resources.h"
#include "app/ui/tipform.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/testplatform.h"

namespace tarn::app::ui {
namespace {

void ExpectKeysNameTexts(const QString& table, const QStringList& properties) {
  const QStringList lines = QString::fromLatin1(WindowTable(table)).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 2) << table.toStdString();
  ASSERT_EQ(lines.size() % 2, 0) << table.toStdString();
  for (int i = 0; i < lines.size(); i += 2) {
    const QString key = lines[i];
    ASSERT_TRUE(key.startsWith("*_")) << key.toStdString();
    ASSERT_TRUE(lines[i + 1].startsWith(' ')) << key.toStdString();
    // "*_*component_property" or "*_.component_property*item..."
    const QString id = key.startsWith("*_.") ? key.mid(3).section('*', 0, 0) : key.mid(3);
    const QString property = id.section('_', 0, 0) + "." + id.section('_', 1);
    EXPECT_TRUE(properties.contains(property)) << table.toStdString() << ": " << key.toStdString();
  }
}

QStringList Properties(QWidget& window) { return TKrLanguager(&window).GetPropertiesList(); }

TEST(WindowTables, EveryKeyNamesATextOfItsWindow) {
  platform::MemorySettings store;
  platform::Registry registry(store);
  platform::testing::RecordingMessages messages;
  testing::FakeOptionsHost host;
  // The spell tab's texts exist only with a spelling engine: look at both.
  QStringList options = Properties(*std::make_unique<TFopzProg>(registry, host, messages));
  testing::FakeSpellChecker checker;
  host.speller = &checker;
  options += Properties(*std::make_unique<TFopzProg>(registry, host, messages));
  ExpectKeysNameTexts("fopzprog", options);

  TMainForm main(store, ProgramFolders{std::filesystem::temp_directory_path(), std::filesystem::temp_directory_path()},
                 &messages);
  ExpectKeysNameTexts("mainform", Properties(main));
  TTipForm tip(registry);
  ExpectKeysNameTexts("tipform", Properties(tip));
  TFabout about;
  ExpectKeysNameTexts("fabout", Properties(about));
}

// The English texts speak of this program's desktop, not of the system the
// old program ran on.
TEST(WindowTables, NoTextSpeaksOfWindowsTheSystem) {
  for (const QString table : {"fopzprog", "mainform", "tipform", "fabout"}) {
    const QString text = QString::fromLatin1(WindowTable(table));
    for (const QString word : {"in Windows", "windows default", "Microsoft", "Windows cache"}) {
      EXPECT_FALSE(text.contains(word)) << table.toStdString() << ": " << word.toStdString();
    }
  }
}

}  // namespace
}  // namespace tarn::app::ui
