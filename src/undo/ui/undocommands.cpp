// Undo and redo in the main window; see undocommands.h.
#include "undo/ui/undocommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "document/aehset.h"
#include "undo/aehundolist.h"
#include "undo/ui/tundobox.h"

namespace tarn::undo::ui {
namespace {

constexpr const char* kDirectionProperty = "undoDirection";

QToolButton* ButtonOf(QAction* action) {
  if (action == nullptr) return nullptr;
  for (QObject* object : action->associatedObjects()) {
    if (auto* bar = qobject_cast<QToolBar*>(object)) {
      if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) return button;
    }
  }
  return nullptr;
}

// The part of a button with a drop-down that opens it: the arrow.
QRect ArrowRect(QToolButton& button) {
  QStyleOptionToolButton option;
  option.initFrom(&button);
  option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
  option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;
  const QRect arrow =
      button.style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, &button);
  return arrow.isValid() ? arrow : QRect(button.width() - 14, 0, 14, button.height());
}

}  // namespace

UndoCommands::UndoCommands(app::ui::CommandSet& commands, document::TAEHset& set, app::ui::EditorControl& editor,
                           QObject* parent)
    : QObject(parent), m_commands(commands), m_set(set), m_editor(editor) {
  setObjectName(QStringLiteral("UndoCommands"));
  commands.Bind("UndoButtonClick", [this](const app::ui::CommandCall&) { Step(kUndo); });
  commands.Bind("RedoButtonClick", [this](const app::ui::CommandCall&) { Step(kRedo); });
  WatchButton("UndoButton", "UndoDrop", kUndo);
  WatchButton("RedoButton", "RedoDrop", kRedo);
  // The container may outlive these commands (and the other way round when
  // the window goes): the handler looks before it calls.
  QPointer<UndoCommands> self(this);
  std::function<void()> before = std::move(set.OnUndoChanged);
  set.OnUndoChanged = [self, before] {
    if (before) before();
    if (self) self->Refresh();
  };
  Refresh();
}

UndoCommands::~UndoCommands() = default;

void UndoCommands::WatchButton(const char* button, const char* dropMenu, int direction) {
  if (QToolButton* tool = ButtonOf(m_commands.Action(button))) {
    tool->setProperty(kDirectionProperty, direction);
    tool->installEventFilter(this);
  }
  // The drop-down menu of the button stands for the list: should it open
  // (from the keyboard), the list opens instead.
  if (QMenu* menu = m_commands.Menu(dropMenu)) {
    QPointer<QToolButton> anchor = ButtonOf(m_commands.Action(button));
    connect(menu, &QMenu::aboutToShow, this, [this, menu, anchor, direction] {
      QTimer::singleShot(0, this, [this, menu, anchor, direction] {
        menu->close();
        DropDown(direction, anchor);
      });
    });
  }
}

bool UndoCommands::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  if (button == nullptr || (!press && event->type() != QEvent::MouseButtonRelease)) {
    return QObject::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton || !ArrowRect(*button).contains(mouse->position().toPoint())) {
    return QObject::eventFilter(watched, event);
  }
  // The arrow opens the list once the click is over, so that no button is
  // still down while the list is shown.
  if (!press && button->isEnabled()) {
    const int direction = button->property(kDirectionProperty).toInt();
    QPointer<QToolButton> anchor(button);
    QTimer::singleShot(0, this, [this, direction, anchor] { DropDown(direction, anchor); });
  }
  return true;
}

void UndoCommands::Step(int direction) { Take(direction, nullptr); }

void UndoCommands::DropDown(int direction, QWidget* anchor) { Take(direction, anchor); }

void UndoCommands::Take(int direction, QWidget* anchor) {
  TAEHundoList* list = UndoListOf(m_set);
  if (list == nullptr || list->Busy() || (direction == kRedo ? !list->CanRedo() : !list->CanUndo())) return;
  // The object being edited ends its edit: the focus leaves it.
  QPointer<QWidget> remembered = QApplication::focusWidget();
  if (QWidget* editor = m_editor.Widget()) editor->setFocus(Qt::OtherFocusReason);
  UndoControl* control = anchor != nullptr ? ShowList(*list, direction, anchor) : list->Steps(direction, 1);
  Refresh();
  if (control != nullptr && control->UndoFocus()) return;
  if (remembered) {
    remembered->setFocus(Qt::OtherFocusReason);
  } else {
    m_editor.RestoreFocus();
  }
}

void UndoCommands::Refresh() {
  const TAEHundoList* list = UndoListOf(m_set);
  const bool canUndo = list != nullptr && list->CanUndo();
  const bool canRedo = list != nullptr && list->CanRedo();
  for (QAction* action : m_commands.ActionsOf("UndoButtonClick")) action->setEnabled(canUndo);
  for (QAction* action : m_commands.ActionsOf("RedoButtonClick")) action->setEnabled(canRedo);
}

}  // namespace tarn::undo::ui
