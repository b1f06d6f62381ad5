// Every command of the editor as data: the main menu with its submenus,
// separators and the anchors of the lists filled at run time, the nine
// toolbars with their buttons and controls, and the popup menus of the frame
// set. Each entry names the operation it runs; the areas of the program bind
// their operations by those names, and an entry whose operation is not
// built yet says so when chosen. No window system here: the command-line
// tool prints the table, the widget library builds menus from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::app {

enum class CommandKind : std::uint8_t {
  Menu,       // a main menu (no parent), a submenu, or a popup menu's submenu
  Item,       // a menu item
  Separator,  // a menu separator; the anchors of run-time lists are named
  Toolbar,    // a toolbar; its caption is the toolbar's title
  Button,     // a toolbar button; its hint is its text
  Control,    // a control docked in a toolbar (combo box, spin box)
  Popup,      // a popup menu of the frame set
};

// The controls a toolbar can hold.
enum class ControlKind : std::uint8_t { None, FontCombo, ColorCombo, SpinBox, ComboBox };

enum CommandFlag : std::uint32_t {
  kHidden = 1u << 0,         // never shown
  kShownAtStart = 1u << 1,   // hidden at design, shown when the window is first shown
  kLatching = 1u << 2,       // a button or item that stays down (checkable)
  kAllowAllUp = 1u << 3,     // in a latching group, all may be up
  kEditOnly = 1u << 4,       // an editing command: hidden in preview
  kPreviewOnly = 1u << 5,    // shown in preview only
  kObjectMenu = 1u << 6,     // a menu shown only while its kind of object is selected
  kObjectToolbar = 1u << 7,  // a toolbar shown only while its kind of object is selected
  kDownAtStart = 1u << 8,    // a latching button down when the window opens
  kDropDown = 1u << 9,       // a button with a drop-down menu (its popup names the menu)
  kNewRow = 1u << 10,        // a toolbar that starts a new row of its dock
};

// A shortcut as the program stores it: the virtual-key code in the low
// byte, plus these for the modifiers.
inline constexpr std::uint16_t kShift = 0x2000;
inline constexpr std::uint16_t kCtrl = 0x4000;
inline constexpr std::uint16_t kAlt = 0x8000;
// Keys without a letter of their own.
inline constexpr std::uint16_t kKeyBack = 0x08;
inline constexpr std::uint16_t kKeyInsert = 0x2D;
inline constexpr std::uint16_t kKeyDelete = 0x2E;
inline constexpr std::uint16_t kKeyF1 = 0x70;
inline constexpr std::uint16_t kKeyPlus = 0xBB;
inline constexpr std::uint16_t kKeyMinus = 0xBD;
inline constexpr std::uint16_t F(int n) { return static_cast<std::uint16_t>(kKeyF1 + n - 1); }
inline constexpr std::uint16_t Key(char letterOrDigit) { return static_cast<std::uint16_t>(letterOrDigit); }

struct CommandEntry {
  CommandKind kind;
  std::string_view parent;   // the menu, toolbar or popup it belongs to; empty at the top
  std::string_view name;     // the object name, unique in the main window
  std::string_view caption;  // English, with its "&" marks; a button's is its hint
  std::uint16_t shortcut = 0;
  // A second key for the same command: the key every Linux program uses
  // for it, or the editor's own key for the clipboard and undo.
  std::uint16_t alternate = 0;
  std::string_view method;  // the operation it runs; empty for none
  int tag = 0;              // what the operation tells its callers apart by
  std::uint32_t flags = 0;
  std::string_view hint;   // "short|long"
  int group = 0;           // latching buttons of one group exclude each other
  ControlKind control = ControlKind::None;
  // Popups: the frame-set properties that show it, blank-separated. Drop-
  // down buttons: the popup they drop down.
  std::string_view popup;

  bool Has(CommandFlag flag) const { return (flags & flag) != 0; }
};

// The whole table, parents before their children, in menu order.
std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(std::string_view name);
// The entries inside a menu, toolbar or popup, in order.
std::vector<const CommandEntry*> ChildrenOf(std::string_view parent);

// The operations this version has built; every other entry says it is not
// available yet. The window binds exactly these (a test holds the two in
// step).
std::span<const std::string_view> BuiltOperations();
bool IsBuilt(std::string_view method);

// "Ctrl+F12", "Shift+Del", "Ctrl++": the shortcut as Qt's portable text
// writes it; empty for none.
std::string ShortcutText(std::uint16_t shortcut);
// The caption without its "&" marks ("&&" is one "&").
std::string PlainCaption(std::string_view caption);
// "File > Save all", "Toolbar Main > Open", "Popup PopupMenuTabella > Cut":
// where the entry is found.
std::string CommandPath(const CommandEntry& entry);
// What the author is told of a command not built yet: what + " is not
// available in this version yet.".
std::string NotAvailableMessage(std::string_view what);
// What an entry is called in that message: its caption (a button's hint)
// without "&" and a trailing "...".
std::string NotAvailableWhat(const CommandEntry& entry);

}  // namespace tarn::app
