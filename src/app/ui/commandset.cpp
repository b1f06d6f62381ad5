// The command table in a window; see commandset.h.
#include "app/ui/commandset.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

#include "app/ui/commandicons.h"
#include "app/ui/krspinedit.h"
#include "base/hint.h"

namespace tarn::app::ui {
namespace {

QString Latin(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Toolbar controls are sized like the old ones: a font name box wide enough
// for common names, small number boxes.
constexpr int kFontBoxWidth = 150;
constexpr int kComboWidth = 140;
constexpr int kHistoryWidth = 220;

QWidget* MakeControl(const CommandEntry& entry, QWidget* parent) {
  QWidget* control = nullptr;
  switch (entry.control) {
    case ControlKind::FontCombo: {
      auto* box = new QFontComboBox(parent);
      box->setFixedWidth(kFontBoxWidth);
      control = box;
      break;
    }
    case ControlKind::ColorCombo: {
      auto* box = new QComboBox(parent);
      for (const char* colour : {"black", "maroon", "green", "olive", "navy", "purple", "teal", "gray", "silver",
                                 "red", "lime", "yellow", "blue", "fuchsia", "aqua", "white"}) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(QString::fromLatin1(colour)));
        box->addItem(QIcon(swatch), QString::fromLatin1(colour));
      }
      control = box;
      break;
    }
    case ControlKind::SpinBox: {
      auto* box = new TKrSpinEdit(parent);
      box->setRange(0, 0xFFFFFF);
      control = box;
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::None: {
      auto* box = new QComboBox(parent);
      box->setFixedWidth(entry.name == "HistoryCombo" ? kHistoryWidth : kComboWidth);
      control = box;
      break;
    }
  }
  control->setObjectName(Latin(entry.name));
  control->setToolTip(Latin(base::ShortHint(entry.hint)));
  control->setStatusTip(Latin(base::LongHint(entry.hint)));
  return control;
}

}  // namespace

QList<QKeySequence> KeySequences(std::uint16_t shortcut) {
  if (shortcut == 0) return {};
  QList<QKeySequence> keys{QKeySequence::fromString(QString::fromStdString(ShortcutText(shortcut)),
                                                    QKeySequence::PortableText)};
  if ((shortcut & 0xFF) == kKeyPlus) {
    // "Ctrl++" also as "Ctrl+=": the two share a key.
    keys << QKeySequence::fromString(QString::fromStdString(ShortcutText(shortcut)).chopped(1) + QLatin1Char('='),
                                     QKeySequence::PortableText);
  }
  return keys;
}

CommandSet::CommandSet(QMainWindow& window, std::function<void(const CommandEntry&)> notAvailable)
    : QObject(&window), m_notAvailable(std::move(notAvailable)) {
  setObjectName(QStringLiteral("Commands"));
  Build(window);
  Refresh();
}

QAction* CommandSet::MakeAction(const CommandEntry& entry, QObject* parent) {
  auto* action = new QAction(Latin(entry.caption), parent);
  action->setObjectName(Latin(entry.name));
  if (!entry.hint.empty()) {
    action->setToolTip(Latin(base::ShortHint(entry.hint)));
    action->setStatusTip(Latin(base::LongHint(entry.hint)));
  }
  action->setCheckable(entry.Has(kLatching));
  if (entry.Has(kDownAtStart)) action->setChecked(true);
  if (entry.kind == CommandKind::Button) action->setIcon(CommandIcon(entry.name));
  connect(action, &QAction::triggered, this, [this, &entry, action] { Run(entry, action); });
  m_actions[std::string(entry.name)] = action;
  return action;
}

void CommandSet::Build(QMainWindow& window) {
  std::set<std::uint16_t> keysTaken;
  std::map<std::pair<std::string, int>, QActionGroup*> groups;
  for (const CommandEntry& entry : CommandTable()) {
    const std::string parentName(entry.parent);
    QMenu* parentMenu = entry.parent.empty() ? nullptr : Menu(entry.parent);
    switch (entry.kind) {
      case CommandKind::Menu:
      case CommandKind::Popup: {
        QMenu* menu = nullptr;
        if (entry.parent.empty() && entry.kind == CommandKind::Menu) {
          menu = window.menuBar()->addMenu(Latin(entry.caption));
        } else if (parentMenu != nullptr) {
          menu = parentMenu->addMenu(Latin(entry.caption));
        } else {
          menu = new QMenu(&window);
        }
        menu->setObjectName(Latin(entry.name));
        if (entry.Has(kHidden)) menu->menuAction()->setVisible(false);
        m_menus[std::string(entry.name)] = menu;
        break;
      }
      case CommandKind::Separator: {
        if (parentMenu == nullptr) break;
        QAction* separator = parentMenu->addSeparator();
        if (!entry.name.empty()) {
          separator->setObjectName(Latin(entry.name));
          m_actions[std::string(entry.name)] = separator;
        }
        if (entry.Has(kHidden)) separator->setVisible(false);
        break;
      }
      case CommandKind::Item: {
        if (parentMenu == nullptr) break;
        QAction* action = MakeAction(entry, &window);
        parentMenu->addAction(action);
        // A key given twice belongs to the first entry in menu order; the
        // later one shows it but answers only inside its menu.
        QList<QKeySequence> keys = KeySequences(entry.shortcut) + KeySequences(entry.alternate);
        if (!keys.isEmpty()) {
          action->setShortcuts(keys);
          if (!keysTaken.insert(entry.shortcut).second) action->setShortcutContext(Qt::WidgetShortcut);
          if (entry.alternate != 0) keysTaken.insert(entry.alternate);
        }
        if (entry.Has(kHidden)) action->setVisible(false);
        break;
      }
      case CommandKind::Toolbar: {
        if (entry.Has(kNewRow)) window.addToolBarBreak();
        QToolBar* toolbar = window.addToolBar(Latin(entry.caption));
        toolbar->setObjectName(Latin(entry.name));
        toolbar->setIconSize(QSize(20, 20));
        m_toolbars[std::string(entry.name)] = toolbar;
        break;
      }
      case CommandKind::Button: {
        QToolBar* toolbar = Toolbar(entry.parent);
        if (toolbar == nullptr) break;
        QAction* action = MakeAction(entry, &window);
        toolbar->addAction(action);
        if (entry.group != 0) {
          QActionGroup*& group = groups[{parentName, entry.group}];
          if (group == nullptr) {
            group = new QActionGroup(&window);
            group->setExclusionPolicy(entry.Has(kAllowAllUp) ? QActionGroup::ExclusionPolicy::ExclusiveOptional
                                                             : QActionGroup::ExclusionPolicy::Exclusive);
          }
          group->addAction(action);
        }
        if (entry.Has(kHidden)) action->setVisible(false);
        break;
      }
      case CommandKind::Control: {
        QToolBar* toolbar = Toolbar(entry.parent);
        if (toolbar == nullptr) break;
        QWidget* control = MakeControl(entry, toolbar);
        QAction* holder = toolbar->addWidget(control);
        holder->setObjectName(Latin(entry.name) + QStringLiteral("Holder"));
        m_controls[std::string(entry.name)] = control;
        break;
      }
    }
  }
  // Drop-down buttons get their menus once every popup exists.
  for (const CommandEntry& entry : CommandTable()) {
    if (!entry.Has(kDropDown)) continue;
    QAction* action = Action(entry.name);
    QToolBar* toolbar = Toolbar(entry.parent);
    QMenu* menu = Menu(entry.popup);
    if (action == nullptr || toolbar == nullptr || menu == nullptr) continue;
    action->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action))) {
      button->setPopupMode(QToolButton::MenuButtonPopup);
    }
  }
}

void CommandSet::Bind(std::string_view method, Handler handler) {
  bool used = false;
  for (const CommandEntry& entry : CommandTable()) used = used || entry.method == method;
  if (!used) throw std::logic_error("no command runs " + std::string(method));
  m_handlers[std::string(method)] = std::move(handler);
}

std::vector<std::string> CommandSet::BoundMethods() const {
  std::vector<std::string> methods;
  for (const auto& [method, handler] : m_handlers) methods.push_back(method);
  return methods;
}

void CommandSet::Run(const CommandEntry& entry, QAction* action) {
  if (entry.method.empty()) return;
  const auto it = m_handlers.find(std::string(entry.method));
  if (it == m_handlers.end()) {
    if (m_notAvailable) m_notAvailable(entry);
    return;
  }
  // The handler may rebind or rebuild: it runs on a copy.
  const Handler handler = it->second;
  handler(CommandCall{entry, action, action != nullptr && action->isChecked()});
}

template <typename Map>
static typename Map::mapped_type Lookup(const Map& map, std::string_view name) {
  const auto it = map.find(name);
  return it != map.end() ? it->second : nullptr;
}

QAction* CommandSet::Action(std::string_view name) const { return Lookup(m_actions, name); }
QMenu* CommandSet::Menu(std::string_view name) const { return Lookup(m_menus, name); }
QToolBar* CommandSet::Toolbar(std::string_view name) const { return Lookup(m_toolbars, name); }
QWidget* CommandSet::Control(std::string_view name) const { return Lookup(m_controls, name); }

std::vector<QAction*> CommandSet::ActionsOf(std::string_view method) const {
  std::vector<QAction*> actions;
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.method != method) continue;
    if (QAction* action = Action(entry.name)) actions.push_back(action);
  }
  return actions;
}

void CommandSet::SetStarted(bool started) {
  m_started = started;
  Refresh();
}

void CommandSet::SetEditMode(bool edit) {
  m_edit = edit;
  Refresh();
}

void CommandSet::SetObjectCommands(const std::set<std::string>& shown) {
  m_objectShown = shown;
  Refresh();
}

void CommandSet::Refresh() {
  constexpr std::uint32_t kGoverned = kShownAtStart | kEditOnly | kPreviewOnly | kObjectMenu | kObjectToolbar;
  for (const CommandEntry& entry : CommandTable()) {
    if ((entry.flags & kGoverned) == 0 || entry.Has(kHidden)) continue;
    bool visible = true;
    if (entry.Has(kShownAtStart)) visible = visible && m_started;
    if (entry.Has(kEditOnly)) visible = visible && m_edit;
    if (entry.Has(kPreviewOnly)) visible = visible && !m_edit;
    // The object toolbars are hidden in preview, as every editing tool is.
    if (entry.Has(kObjectMenu) || entry.Has(kObjectToolbar)) {
      visible = visible && m_edit && m_objectShown.count(std::string(entry.name)) != 0;
    }
    if (QToolBar* toolbar = Toolbar(entry.name)) {
      toolbar->setVisible(visible);
      toolbar->setEnabled(visible);
    } else if (QMenu* menu = Menu(entry.name)) {
      menu->menuAction()->setVisible(visible);
    } else if (QAction* action = Action(entry.name)) {
      action->setVisible(visible);
    }
  }
}

std::vector<std::pair<std::string, QMenu*>> CommandSet::PopupProperties() const {
  std::vector<std::pair<std::string, QMenu*>> properties;
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.kind != CommandKind::Popup || entry.popup.empty()) continue;
    std::size_t start = 0;
    while (start < entry.popup.size()) {
      std::size_t end = entry.popup.find(' ', start);
      if (end == std::string_view::npos) end = entry.popup.size();
      properties.emplace_back(std::string(entry.popup.substr(start, end - start)), Menu(entry.name));
      start = end + 1;
    }
  }
  return properties;
}

}  // namespace tarn::app::ui
