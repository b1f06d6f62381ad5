// The command table: a handful of menus checked entry by entry against what
// the author sees, and the rules that hold for the whole table.
#include "app/commandtable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tarn::app {
namespace {

struct Expected {
  std::string_view caption;
  std::string_view shortcut;
};

TEST(CommandTable, MenusHoldTheirEntriesInOrderWithTheirKeys) {
  const std::map<std::string_view, std::vector<Expected>> menus = {
      {"mFile",
       {{"&New hypertext", "Ctrl+N"}, {"Ne&w from...", ""}, {"&Open...", "Ctrl+F12"}, {"&Import pages...", ""},
        {"Add new page", ""}, {"Search &file...", "Ctrl+F10"}, {"&Get hypertext from net...", ""}, {"-", ""},
        {"&Save all", "Ctrl+S"}, {"Save &as...", ""}, {"Save as template...", ""}, {"E&xport pages...", "Ctrl+E"},
        {"&All pages...", ""}, {"-", ""}, {"Printer se&tup...", ""}, {"&Margins setup...", ""}, {"&Print...", ""},
        {"Print &present page", ""}, {"Print all", ""}, {"-", ""}, {"&Exit", "Alt+X"}, {"-", ""}}},
      {"mEdit",
       {{"&Undo", "Alt+Backspace"}, {"&Redo", "Alt+Shift+Backspace"}, {"-", ""}, {"Cu&t", "Shift+Del"}, {"&Copy", "Ctrl+Ins"}, {"&Paste", "Shift+Ins"},
        {"Paste pa&ge from...", ""}, {"-", ""}, {"&Select all", "Ctrl+F2"}}},
      {"mSearch",
       {{"&Search...", "Ctrl+F"}, {"Search / &Replace...", "Ctrl+R"}, {"Search &again in page", "F3"},
        {"Search again in the &hypertext", "F4"}, {"-", ""}, {"Search by &keyword...", "Ctrl+F3"},
        {"&Boolean search...", ""}}},
      {"mBrowserPreview",
       {{"&Present page in default browser", "Ctrl+A"}, {"&All hypertext in default browser", ""}, {"-", ""},
        {"&Options and browsers...", ""}}},
      {"PopupMenuZona",
       {{"&Add area", ""}, {"&Bring to front", ""}, {"&Send to back", ""}, {"-", ""}, {"Cu&t", ""}, {"&Copy", ""},
        {"&Paste", ""}, {"-", ""}, {"&Define link...", ""}, {"D&efine special link...", ""},
        {"Define link to last inserted anchor", ""}, {"&Follow link", ""}}},
  };
  for (const auto& [menu, expected] : menus) {
    std::vector<const CommandEntry*> shown;
    for (const CommandEntry* entry : ChildrenOf(menu)) {
      if (!entry->Has(kHidden)) shown.push_back(entry);
    }
    ASSERT_EQ(shown.size(), expected.size()) << menu;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(shown[i]->caption, expected[i].caption) << menu << " " << i;
      EXPECT_EQ(ShortcutText(shown[i]->shortcut), expected[i].shortcut) << menu << " " << shown[i]->caption;
    }
  }
}

TEST(CommandTable, StoredShortcutsAndTheirText) {
  const std::pair<std::string_view, std::uint16_t> keys[] = {
      {"FileOpen", 0x407B},   {"EditUndo", 0x8008},   {"EditCut", 0x202E},        {"Finestre1", 0x8030},
      {"PagePlus", 0x40BB},   {"PageMinus", 0x40BD},  {"NuovaPagina2", 0x604E},   {"Seguicollegamentodoppioclic1", 0x78},
  };
  for (const auto& [name, stored] : keys) {
    const CommandEntry* entry = FindCommand(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->shortcut, stored) << name;
  }
  EXPECT_EQ(ShortcutText(0x40BB), "Ctrl++");
  EXPECT_EQ(ShortcutText(0x40BD), "Ctrl+-");
  EXPECT_EQ(ShortcutText(0x604E), "Ctrl+Shift+N");
  EXPECT_EQ(ShortcutText(0x8008), "Alt+Backspace");
}

TEST(CommandTable, AnchorsToolbarsAndPopupsAreWhereTheWindowFillsThem) {
  const std::pair<std::string_view, std::string_view> anchors[] = {
      {"Nrecent", "mFile"}, {"N28", "mBrowserPreview"}, {"N37", "mGoToPage"}, {"N39", "PopupMenuChPag"}};
  for (const auto& [name, menu] : anchors) {
    const CommandEntry* entry = FindCommand(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->kind, CommandKind::Separator);
    EXPECT_EQ(entry->parent, menu);
    // The lists follow their anchor: it is the last entry of its menu.
    EXPECT_EQ(ChildrenOf(menu).back(), entry) << name;
  }
  std::vector<std::string_view> toolbars;
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.kind == CommandKind::Toolbar) toolbars.push_back(entry.caption);
  }
  EXPECT_EQ(toolbars, (std::vector<std::string_view>{"Main", "Browsed pages", "Page", "Format", "Paragraphs",
                                                     "Insertions", "Images", "Floating frames", "Table"}));
  // Every popup property of the frame set but the spelling one, which the
  // text box builds, shows one popup of the table.
  std::set<std::string> properties;
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.kind != CommandKind::Popup) continue;
    std::string list(entry.popup);
    for (std::size_t start = 0; start < list.size();) {
      std::size_t end = list.find(' ', start);
      if (end == std::string::npos) end = list.size();
      EXPECT_TRUE(properties.insert(list.substr(start, end - start)).second) << list;
      start = end + 1;
    }
  }
  EXPECT_EQ(properties.size(), 17u);
  EXPECT_EQ(properties.count("PopupSpell"), 0u);
}

TEST(CommandTable, NamesAreUniqueParentsComeFirstAndBuiltOperationsAreUsed) {
  std::set<std::string_view> seen;
  for (const CommandEntry& entry : CommandTable()) {
    if (!entry.parent.empty()) {
      EXPECT_TRUE(seen.count(entry.parent)) << entry.name << " before " << entry.parent;
    }
    if (!entry.name.empty()) {
      EXPECT_TRUE(seen.insert(entry.name).second) << "twice: " << entry.name;
    }
    if (entry.kind == CommandKind::Button) {
      EXPECT_FALSE(entry.hint.empty()) << entry.name;
    }
  }
  for (std::string_view method : BuiltOperations()) {
    bool used = false;
    for (const CommandEntry& entry : CommandTable()) used = used || entry.method == method;
    EXPECT_TRUE(used) << method;
  }
}

// Within the window a key runs one command. The only key given twice is
// Ctrl+F12 ("&Open..." and "All h&ypertext pages..."), and the first in
// menu order has it.
TEST(CommandTable, NoKeyRunsTwoCommandsButCtrlF12) {
  std::map<std::uint16_t, std::vector<std::string_view>> owners;
  for (const CommandEntry& entry : CommandTable()) {
    for (std::uint16_t key : {entry.shortcut, entry.alternate}) {
      if (key != 0) owners[key].push_back(entry.name);
    }
  }
  for (const auto& [key, names] : owners) {
    if (key == (kCtrl | F(12))) {
      EXPECT_EQ(names, (std::vector<std::string_view>{"FileOpen", "ScegliDaAnteprima2"}));
    } else {
      EXPECT_EQ(names.size(), 1u) << ShortcutText(key) << ": " << names[0] << ", " << names[1];
    }
  }
}

TEST(CommandTable, PathsAndTheNotAvailableText) {
  EXPECT_EQ(CommandPath(*FindCommand("PreviewPage")), "Publish > Browser preview > Present page in default browser");
  EXPECT_EQ(CommandPath(*FindCommand("BfileSave")), "Toolbar Main > Save all");
  EXPECT_EQ(CommandPath(*FindCommand("TabAddRow")), "Popup PopupMenuTabella > Rows... > Add row");
  EXPECT_EQ(NotAvailableMessage(NotAvailableWhat(*FindCommand("Impostastampante1"))),
            "Printer setup is not available in this version yet.");
  EXPECT_EQ(NotAvailableWhat(*FindCommand("ImageButton")), "Insert image");
  EXPECT_EQ(PlainCaption("Save && &close"), "Save & close");
}

}  // namespace
}  // namespace tarn::app
