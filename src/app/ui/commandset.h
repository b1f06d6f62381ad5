// The command table built into a window: its menus, toolbars and popup
// menus, one action per entry, and the operations bound to them by name.
// Each area of the program binds its own operations from its own file; an
// entry whose operation is not bound tells the author it is not available
// yet. Which entries show follows the mode (edit or preview), the start of
// the window and the object being edited.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/commandtable.h"

class QAction;
class QKeySequence;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace tarn::app::ui {

// What an operation is told of the command that ran it.
struct CommandCall {
  const CommandEntry& entry;
  QAction* action;
  bool checked;
  // A menu item rather than a toolbar button (some operations tell the two
  // apart).
  bool FromMenu() const { return entry.kind == CommandKind::Item; }
};

// The Qt key sequences of a stored shortcut (the key "+" also answers as
// "=", which shares its key on most keyboards).
QList<QKeySequence> KeySequences(std::uint16_t shortcut);

class CommandSet : public QObject {
 public:
  using Handler = std::function<void(const CommandCall&)>;

  // Builds every menu, toolbar and popup of the table into the window.
  // notAvailable is told of entries chosen whose operation is not bound.
  CommandSet(QMainWindow& window, std::function<void(const CommandEntry&)> notAvailable);

  // Binds an operation of the table by its name. Binding a name the table
  // does not use is a programming error and throws.
  void Bind(std::string_view method, Handler handler);
  bool Bound(std::string_view method) const { return m_handlers.count(std::string(method)) != 0; }
  std::vector<std::string> BoundMethods() const;
  // Runs the entry's operation as if it had been chosen.
  void Run(const CommandEntry& entry, QAction* action);

  QAction* Action(std::string_view name) const;
  QMenu* Menu(std::string_view name) const;
  QToolBar* Toolbar(std::string_view name) const;
  QWidget* Control(std::string_view name) const;
  // Every action of the entries that run this operation.
  std::vector<QAction*> ActionsOf(std::string_view method) const;

  // Visibility: the window has been shown (entries hidden until then
  // appear), edit or preview, and the object toolbars and menus that the
  // selected object brings.
  void SetStarted(bool started);
  void SetEditMode(bool edit);
  void SetObjectCommands(const std::set<std::string>& shown);
  const std::set<std::string>& ObjectCommands() const { return m_objectShown; }
  // The frame set's popup property menus that show a popup of the table
  // ("PopupTable" and "PopupTableChild" show "PopupMenuTabella").
  std::vector<std::pair<std::string, QMenu*>> PopupProperties() const;

 private:
  void Build(QMainWindow& window);
  QAction* MakeAction(const CommandEntry& entry, QObject* parent);
  void Refresh();

  std::function<void(const CommandEntry&)> m_notAvailable;
  std::map<std::string, Handler> m_handlers;
  std::map<std::string, QAction*, std::less<>> m_actions;
  std::map<std::string, QMenu*, std::less<>> m_menus;
  std::map<std::string, QToolBar*, std::less<>> m_toolbars;
  std::map<std::string, QWidget*, std::less<>> m_controls;
  std::set<std::string> m_objectShown;
  bool m_started = false;
  bool m_edit = true;
};

}  // namespace tarn::app::ui
