// Moving between pages in the main window; see pagenavigation.h.
#include "app/ui/pagenavigation.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/commandset.h"
#include "app/ui/krspinedit.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/workingcopy.h"
#include "richtext/ui/aehbox.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

using platform::qt::ToQString;

// Wide enough for five digits and the spin buttons.
constexpr int kPageNumberWidth = 76;
// The open visited-pages list: room for the scroll bar beside the longest
// address, and no wider than most screens can show beside the toolbar.
constexpr int kHistoryListMargin = 32;
constexpr int kHistoryListMaxWidth = 720;

QString PageTitle(document::TAEHset& set, long page) {
  const document::TAEHoggetto* record = LivePage(set, page);
  return record != nullptr ? ToQString(record->GetCaption()) : QString();
}

// A page chosen from a list of every page ("Select page from preview" and
// "All hypertext pages"); -1 when cancelled.
long ChoosePageFromList(QWidget* parent, document::TAEHset& set, long current) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Go to page"));
  auto* filter = new QLineEdit(&dialog);
  filter->setPlaceholderText(QStringLiteral("Title or number"));
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("PageList"));
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    if (LivePage(set, i) == nullptr) continue;
    auto* item = new QListWidgetItem(QStringLiteral("%1  %2").arg(i).arg(PageTitle(set, i)), list);
    item->setData(Qt::UserRole, i);
    if (i == current) list->setCurrentItem(item);
  }
  QObject::connect(filter, &QLineEdit::textChanged, list, [list](const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < list->count(); ++i) {
      QListWidgetItem* item = list->item(i);
      item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
      if (first == nullptr && !item->isHidden()) first = item;
    }
    // Enter takes the page that shows, not one the filter hid.
    if (list->currentItem() == nullptr || list->currentItem()->isHidden()) list->setCurrentItem(first);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(filter);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.resize(360, 420);
  if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr || list->currentItem()->isHidden()) {
    return -1;
  }
  return list->currentItem()->data(Qt::UserRole).toInt();
}

}  // namespace

document::TAEHoggetto* LivePage(document::TAEHset& set, long page) {
  if (page < 0 || page > document::kMaxIndex) return nullptr;
  document::TAEHoggetto* record = set.GetObject(document::testoHtml, static_cast<int>(page));
  return record != nullptr && !record->IsFree() ? record : nullptr;
}

PageNavigation::PageNavigation(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_commands(commands) {
  m_pageNumber = qobject_cast<QSpinBox*>(commands.Control("PageNumber"));
  m_history = qobject_cast<QComboBox*>(commands.Control("HistoryCombo"));
  m_goMenu = commands.Menu("mGoToPage");
  m_goSeparator = commands.Action("N37");
  m_numberMenu = commands.Menu("PopupMenuChPag");
  m_numberSeparator = commands.Action("N39");

  // A number is taken when Enter is pressed or a spin button clicked, not
  // at every digit typed.
  m_pageNumber->setKeyboardTracking(false);
  m_textColour = m_pageNumber->palette().color(QPalette::Text);
  // Any number may be typed (one beyond the last page makes a new page);
  // the spin buttons stop at the page count and at 0.
  m_pageNumber->setRange(0, document::kMaxIndex);
  m_pageNumber->setMaximumWidth(kPageNumberWidth);
  if (auto* spin = dynamic_cast<TKrSpinEdit*>(m_pageNumber)) {
    spin->canStep = [this](int value, int steps) {
      const int next = value + steps;
      return next >= 0 && (steps < 0 || value < m_host.set.CountOf(document::testoHtml));
    };
  }
  connect(m_pageNumber, &QSpinBox::valueChanged, this, [this](int value) {
    if (!m_updatingControls) PageNumberChanged(value);
  });
  // Enter selects the whole number once the page is shown and the focus
  // has gone to it: a selection left behind would hide the number's
  // colour (red for a page just made) until the box is clicked again.
  connect(m_pageNumber, &QAbstractSpinBox::editingFinished, this, [this] {
    if (m_pageNumber->hasFocus()) return;
    if (auto* edit = m_pageNumber->findChild<QLineEdit*>()) edit->deselect();
  });
  m_pageNumber->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_pageNumber, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { m_numberMenu->popup(m_pageNumber->mapToGlobal(at)); });
  connect(m_numberMenu, &QMenu::aboutToShow, this, [this] { PrepareNumberMenu(); });
  if (QMenu* hypertext = commands.Menu("mHypertext")) {
    connect(hypertext, &QMenu::aboutToShow, this, [this] { RecaptionGoMenus(); });
  }

  // Every entry starts with the same folder: the box shows the end of its
  // URL (file and page), the list elides the middle, and the page's title
  // is the entry's tooltip.
  m_history->setEditable(true);
  m_history->setInsertPolicy(QComboBox::NoInsert);
  m_history->lineEdit()->setReadOnly(true);
  m_history->view()->setTextElideMode(Qt::ElideMiddle);
  // Taken by a click only: the focus leaving a page (a link followed)
  // must not land in the list and select its text.
  m_history->setFocusPolicy(Qt::ClickFocus);
  m_history->lineEdit()->setFocusPolicy(Qt::ClickFocus);
  commands.Bind("HistoryComboClick", [this](const CommandCall&) {
    if (!Switching() && !m_updatingControls) GoToHistoryEntry(m_history->currentIndex());
  });
  // A click on an entry, or Enter on the list or in the box.
  connect(m_history, &QComboBox::activated, this, [this](int index) {
    if (!Switching() && !m_updatingControls) GoToHistoryEntry(index);
  });
  connect(m_history->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    if (!Switching() && !m_updatingControls) GoToHistoryEntry(m_history->currentIndex());
  });
  commands.Bind("BPrecedenteClick", [this](const CommandCall&) {
    if (!Switching()) GoToHistoryEntry(m_history->currentIndex() - 1);
  });
  commands.Bind("BseguenteClick", [this](const CommandCall&) {
    if (!Switching()) GoToHistoryEntry(m_history->currentIndex() + 1);
  });
  commands.Bind("Pagina11Click", [this](const CommandCall&) { StepPage(1); });
  commands.Bind("Pagina12Click", [this](const CommandCall&) { StepPage(-1); });
  commands.Bind("PageNumberChange", [this](const CommandCall&) { PageNumberChanged(m_pageNumber->value()); });
  commands.Bind("VaiATestata1Click", [this](const CommandCall&) { FollowSharedPage(false); });
  commands.Bind("VaiAPie1Click", [this](const CommandCall&) { FollowSharedPage(true); });
  commands.Bind("Vaiaprossimaslide1Click", [this](const CommandCall& call) {
    if (call.action != nullptr && call.action->data().isValid()) ShowPage(call.action->data().toInt());
  });
  choosePage = [this](long current) {
    return ChoosePageFromList(m_host.editor.window(), m_host.set, current);
  };
  commands.Bind("ScegliDaAnteprima1Click", [this](const CommandCall&) {
    const long chosen = choosePage(m_host.editor.MainPageNumber());
    if (chosen >= 0) ShowPage(chosen);
    m_host.editor.RestoreFocus();
  });
  for (QAction* action : commands.ActionsOf("BPrecedenteClick")) action->setEnabled(false);
  for (QAction* action : commands.ActionsOf("BseguenteClick")) action->setEnabled(false);
}

bool PageNavigation::Switching() const { return m_host.editor.Model().IsSwitching(); }

std::string PageNavigation::UrlOf(long page) const {
  return "tarn://" + m_host.fileName() + "|" + std::to_string(page);
}

// ---- The page number ----

void PageNavigation::ColourPageNumber() {
  // A number at or beyond the page count makes a new page: it shows red.
  QPalette palette = m_pageNumber->palette();
  const bool beyond = m_pageNumber->value() >= m_host.set.CountOf(document::testoHtml);
  palette.setColor(QPalette::Text, beyond ? QColor(Qt::red) : m_textColour);
  m_pageNumber->setPalette(palette);
}

void PageNavigation::PageNumberChanged(int value) {
  if (Switching()) return;
  long page = std::max(0, value);
  const long current = m_host.editor.MainPageNumber();
  // Deleted pages leave gaps that the numbers step over, in the direction
  // of the move; showing one would make a new page in its place.
  const int count = m_host.set.CountOf(document::testoHtml);
  const long step = page < current ? -1 : 1;
  while (page >= 0 && page < count && LivePage(m_host.set, page) == nullptr) page += step;
  if (page < 0) page = current;
  {
    const QSignalBlocker block(m_pageNumber);
    m_pageNumber->setValue(static_cast<int>(page));
  }
  ColourPageNumber();
  // The box stays disabled while the page is being changed, and keeps the
  // colour of the number asked for (red: a new page was made).
  m_pageNumber->setEnabled(false);
  m_numberAsked = true;
  ShowPage(page);
  m_numberAsked = false;
  m_pageNumber->setEnabled(true);
  // The number shows its colour, not a selection.
  if (auto* edit = m_pageNumber->findChild<QLineEdit*>()) edit->deselect();
}

void PageNavigation::StepPage(int step) { m_pageNumber->stepBy(step); }

void PageNavigation::ShowPage(long page) {
  if (Switching()) return;
  m_host.editor.SetMainPageNumber(page);
  m_host.editor.RestoreFocus();
}

// ---- Visited pages ----

void PageNavigation::EditorPageChanged() {
  const long page = m_host.editor.MainPageNumber();
  if (page < 0) return;
  {
    const QSignalBlocker block(m_pageNumber);
    m_pageNumber->setValue(static_cast<int>(page));
  }
  if (!m_numberAsked) ColourPageNumber();
  if (!m_historyEnabled || m_host.editor.Model().ShowingTmpFrameSet()) return;
  const QString url = ToQString(UrlOf(page));
  const int current = m_history->currentIndex();
  if (current >= 0 && m_history->itemText(current) == url) return;
  // The page the list already has next (the author went back, then
  // followed the same link again): the list moves on to that entry
  // rather than holding the same address twice in a row.
  if (current + 1 < m_history->count() && m_history->itemText(current + 1) == url) {
    AddPageToGoMenu(page);
    GoToHistoryEntry(current + 1);
    return;
  }
  {
    m_updatingControls = true;
    m_history->insertItem(current + 1, url);
    m_history->setItemData(current + 1, PageTitle(m_host.set, page), Qt::ToolTipRole);
    m_updatingControls = false;
  }
  // The open list is as wide as its longest address (within reason): the
  // box shows only the end of one.
  const QFontMetrics metrics(m_history->view()->font());
  const int wanted = metrics.horizontalAdvance(url) + kHistoryListMargin;
  if (wanted > m_history->view()->minimumWidth()) {
    m_history->view()->setMinimumWidth(std::min(wanted, kHistoryListMaxWidth));
  }
  AddPageToGoMenu(page);
  GoToHistoryEntry(current + 1);
}

void PageNavigation::GoToHistoryEntry(int index) {
  if (index < 0 || index >= m_history->count()) return;
  m_historyEnabled = false;
  const std::string url = platform::qt::FromQString(m_history->itemText(index)).value_or(std::string());
  m_host.navigateToUrl(url);
  m_updatingControls = true;
  m_history->setCurrentIndex(index);
  m_history->lineEdit()->setCursorPosition(static_cast<int>(m_history->currentText().size()));
  m_updatingControls = false;
  for (QAction* action : m_commands.ActionsOf("BPrecedenteClick")) action->setEnabled(index > 0);
  for (QAction* action : m_commands.ActionsOf("BseguenteClick")) action->setEnabled(index < m_history->count() - 1);
  m_historyEnabled = true;
}

QStringList PageNavigation::HistoryEntries() const {
  QStringList entries;
  for (int i = 0; i < m_history->count(); ++i) entries << m_history->itemText(i);
  return entries;
}

int PageNavigation::HistoryIndex() const { return m_history->currentIndex(); }

// ---- The go-to menus ----

void PageNavigation::AddToMenu(QMenu* menu, QAction* separator, long page, const QString& title) {
  QList<QAction*> items = menu->actions();
  const qsizetype start = items.indexOf(separator) + 1;
  // A page already listed moves to the top.
  for (qsizetype i = start; i < items.size(); ++i) {
    if (items[i]->data().toLongLong() == page) {
      menu->removeAction(items[i]);
      delete items[i];
      items = menu->actions();
      break;
    }
  }
  if (items.size() >= kGoMenuLimit) {
    QAction* oldest = items[kGoMenuLimit - 1];
    menu->removeAction(oldest);
    delete oldest;
    items = menu->actions();
  }
  auto* entry = new QAction(title, menu);
  entry->setData(static_cast<qlonglong>(page));
  connect(entry, &QAction::triggered, this, [this, page] {
    if (!Switching()) ShowPage(page);
  });
  menu->insertAction(start < items.size() ? items[start] : nullptr, entry);
}

void PageNavigation::AddPageToGoMenu(long page) {
  if (LivePage(m_host.set, page) == nullptr) return;
  const QString title = PageTitle(m_host.set, page);
  AddToMenu(m_goMenu, m_goSeparator, page, title);
  AddToMenu(m_numberMenu, m_numberSeparator, page, title);
  ShowGoMenuSeparators();
}

void PageNavigation::ShowGoMenuSeparators() {
  for (auto [menu, separator] : {std::pair{m_goMenu, m_goSeparator}, std::pair{m_numberMenu, m_numberSeparator}}) {
    const QList<QAction*> items = menu->actions();
    separator->setVisible(items.indexOf(separator) + 1 < items.size());
  }
}

void PageNavigation::ClearGoMenu() {
  for (auto [menu, separator] : {std::pair{m_goMenu, m_goSeparator}, std::pair{m_numberMenu, m_numberSeparator}}) {
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = items.indexOf(separator) + 1; i < items.size(); ++i) {
      menu->removeAction(items[i]);
      delete items[i];
    }
  }
  ShowGoMenuSeparators();
}

void PageNavigation::HypertextLoaded() {
  ClearGoMenu();
  const int count = std::min(m_host.set.CountOf(document::testoHtml), kPagesListedAtLoad);
  for (int page = 0; page < count; ++page) AddPageToGoMenu(page);
}

void PageNavigation::RecaptionGoMenus() {
  for (auto [menu, separator] : {std::pair{m_goMenu, m_goSeparator}, std::pair{m_numberMenu, m_numberSeparator}}) {
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = items.indexOf(separator) + 1; i < items.size(); ++i) {
      items[i]->setText(PageTitle(m_host.set, items[i]->data().toLongLong()));
    }
  }
}

std::vector<std::pair<long, QString>> PageNavigation::GoMenuEntries(const QMenu* menu) const {
  const QAction* separator = menu == m_goMenu ? m_goSeparator : m_numberSeparator;
  std::vector<std::pair<long, QString>> entries;
  const QList<QAction*> items = menu->actions();
  for (qsizetype i = items.indexOf(separator) + 1; i < items.size(); ++i) {
    entries.emplace_back(static_cast<long>(items[i]->data().toLongLong()), items[i]->text());
  }
  return entries;
}

// ---- The page-number popup ----

void PageNavigation::FollowSharedPage(bool footer) {
  richtext::ui::TAEHbox* box = m_host.editor.ActiveBox();
  page::TAEHpage* view = m_host.editor.PageOfBox(box);
  const document::TAEHoggetto* shown = view != nullptr ? view->StoredPage() : nullptr;
  const document::TAEHoggetto* shared = shown != nullptr ? page::HeaderPageOf(m_host.set, *shown, footer) : nullptr;
  if (shared == nullptr) {
    m_host.editor.RestoreFocus();
    return;
  }
  m_host.editor.Model().FollowLink({false, view}, shared->GetId());
}

void PageNavigation::PrepareNumberMenu() {
  QAction* slide = m_commands.Action("Vaiaprossimaslide1");
  if (slide == nullptr) return;
  slide->setEnabled(false);
  slide->setText(QStringLiteral("Go to next &slide"));
  slide->setData({});
  page::TAEHpage* view = m_host.editor.PageOfBox(m_host.editor.ActiveBox());
  const document::TAEHoggetto* shown = view != nullptr ? view->StoredPage() : nullptr;
  // Going to a header or footer the page does not have would do nothing.
  for (const bool footer : {false, true}) {
    QAction* go = m_commands.Action(footer ? "VaiAPie2" : "VaiATestata2");
    const document::TAEHoggetto* shared =
        shown != nullptr ? page::HeaderPageOf(m_host.set, *shown, footer) : nullptr;
    if (go != nullptr) go->setEnabled(shared != nullptr && shared != shown);
  }
  const long target = shown != nullptr ? shown->I32(document::field::kPageSlideTarget) : -1;
  if (LivePage(m_host.set, target) == nullptr) return;
  slide->setEnabled(true);
  slide->setText(QStringLiteral("Go to next &slide (%1 @%2)").arg(PageTitle(m_host.set, target)).arg(target));
  slide->setData(static_cast<qlonglong>(target));
}

}  // namespace tarn::app::ui
