// The "Pages" panel; see pagespanel.h.
#include "document/ui/pagespanel.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

#include "document/aehoggetto.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/ui/aehorderedtreeview.h"

namespace tarn::document::ui {
namespace {

constexpr char kNewChapterName[] = "New chapter";

}  // namespace

TPagesPanel::TPagesPanel(PagesPanelHost host, QWidget* parent) : QWidget(parent), m_host(std::move(host)) {
  setObjectName(QStringLiteral("PagesPanel"));
  m_bar = new QToolBar(this);
  m_bar->setObjectName(QStringLiteral("PagesBar"));
  m_bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  m_bar->setIconSize(QSize(16, 16));
  AddAction("PagesAddPage", tr("Page"), tr("New page in the selected chapter"), &TPagesPanel::AddPage);
  AddAction("PagesAddChapter", tr("Chapter"), tr("New chapter in the selected chapter"), &TPagesPanel::AddChapter);
  AddAction("PagesRename", tr("Rename"), tr("Rename the selected page or chapter (F2)"), &TPagesPanel::RenameSelected);
  AddAction("PagesUp", tr("Up"), tr("Move up"), &TPagesPanel::MoveUp);
  AddAction("PagesDown", tr("Down"), tr("Move down"), &TPagesPanel::MoveDown);
  AddAction("PagesDelete", tr("Delete"), tr("Delete the selected page (after a report of its references) or chapter"),
            &TPagesPanel::DeleteSelected);

  m_tree = new TAEHorderedTreeView(this);
  m_tree->setObjectName(QStringLiteral("PagesTree"));
  m_tree->SetEditable(true);
  m_tree->ItemModel().renamePage = [this](TreeNode& node, const std::string& title) { return RenamePage(node, title); };
  m_tree->OnDel = [this](TreeNode& node) { DeletePage(node.Object()); };
  m_tree->Model().OnChanged = [this] {
    if (m_host.changed) m_host.changed();
  };
  connect(m_tree, &QAbstractItemView::clicked, this, &TPagesPanel::ShowNodePage);
  connect(m_tree, &QAbstractItemView::activated, this, &TPagesPanel::ShowNodePage);
  connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { UpdateActions(); });
  connect(m_tree->model(), &QAbstractItemModel::modelReset, this, [this] { UpdateActions(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_bar);
  layout->addWidget(m_tree);
  UpdateActions();
}

QAction* TPagesPanel::AddAction(const char* name, const QString& caption, const QString& hint,
                                void (TPagesPanel::*slot)()) {
  auto* action = m_bar->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

QAction* TPagesPanel::Action(const char* name) const {
  return findChild<QAction*>(QString::fromLatin1(name));
}

void TPagesPanel::SetHypertext(TAEHset* set) {
  m_set = set;
  m_tree->SetLinkedAEHset(set);
  if (m_host.editor.mainPage) ShowPage(m_host.editor.mainPage());
  UpdateActions();
}

void TPagesPanel::Reload() {
  m_tree->Reload();
  if (m_host.editor.mainPage) ShowPage(m_host.editor.mainPage());
}

void TPagesPanel::ShowPage(long page) {
  if (m_set == nullptr || page < 0) return;
  const ObjectId id = MakeObjectId(testoHtml, static_cast<int>(page));
  TreeNode* node = m_tree->Model().FindObject(id);
  if (node == nullptr) {
    // A page the editor made (or one made elsewhere): it joins at the end.
    m_tree->Reload();
    node = m_tree->Model().FindObject(id);
  } else if (const TAEHoggetto* record = m_set->GetObjectById(id); record && record->GetCaption() != node->Text()) {
    // Titles follow the text as it is written: show the current ones.
    m_tree->Model().RefreshCaptions();
    m_tree->viewport()->update();
  }
  if (node != nullptr) m_tree->SelectObject(id);
  UpdateActions();
}

void TPagesPanel::SetEditable(bool editable) {
  m_editable = editable;
  m_tree->SetEditable(editable);
  UpdateActions();
}

void TPagesPanel::ShowNodePage(const QModelIndex& index) {
  const TreeNode* node = m_tree->ItemModel().Node(index);
  if (node == nullptr || !node->HoldsObject() || !m_host.editor.showPage) return;
  const long page = IndexOf(node->Object());
  if (!m_host.editor.mainPage || m_host.editor.mainPage() != page) m_host.editor.showPage(page);
}

TreeNode* TPagesPanel::TargetContainer() const {
  TreeNode* node = m_tree->SelectedNode();
  while (node != nullptr && !node->IsContainer()) node = node->Parent();
  return node != nullptr ? node : m_tree->Model().RootNode();
}

void TPagesPanel::AddPage() {
  TreeNode* container = TargetContainer();
  if (m_set == nullptr || container == nullptr || !m_editable) return;
  TAEHoggetto* page = m_set->Register(m_set->NewObject(testoHtml));
  if (page == nullptr) return;
  m_tree->selectionModel()->setCurrentIndex(m_tree->ItemModel().IndexOf(container),
                                            QItemSelectionModel::ClearAndSelect);
  if (m_tree->AddObject(page->GetId()) == nullptr) return;
  if (m_host.editor.showPage) m_host.editor.showPage(page->Index());
  // Named at once, like a new chapter.
  if (TreeNode* node = m_tree->SelectObject(page->GetId())) m_tree->edit(m_tree->ItemModel().IndexOf(node));
}

void TPagesPanel::AddChapter() {
  TreeNode* container = TargetContainer();
  if (container == nullptr || !m_editable) return;
  m_tree->selectionModel()->setCurrentIndex(m_tree->ItemModel().IndexOf(container),
                                            QItemSelectionModel::ClearAndSelect);
  m_tree->AddChapter(tr(kNewChapterName).toStdString());
}

void TPagesPanel::RenameSelected() {
  const QModelIndex index = m_tree->currentIndex();
  if (index.isValid() && (m_tree->ItemModel().flags(index) & Qt::ItemIsEditable)) m_tree->edit(index);
}

void TPagesPanel::MoveUp() { m_tree->MoveUp(); }

void TPagesPanel::MoveDown() { m_tree->MoveDown(); }

void TPagesPanel::DeleteSelected() {
  TreeNode* node = m_tree->SelectedNode();
  if (node == nullptr || node->IsRoot() || !m_editable) return;
  if (node->HoldsObject() && !m_tree->Model().CanDelete(*node)) {
    DeletePage(node->Object());
  } else {
    m_tree->DeleteNode(*node);
  }
}

void TPagesPanel::DeletePage(ObjectId page) {
  // Page 0 is the one page that is never deleted.
  if (!m_host.deleteObjects || !m_editable || page <= 0) return;
  m_host.deleteObjects({page});
  // The deletion rewrote the stored tree without the page.
  Reload();
}

bool TPagesPanel::RenamePage(TreeNode& node, const std::string& title) {
  if (m_set == nullptr) return false;
  // The editor keeps its own copy of the page it shows: it writes it back
  // and closes it first, and shows it again afterwards, so that the new
  // title is neither lost nor overwritten.
  const long shown = m_host.editor.mainPage ? m_host.editor.mainPage() : -1;
  const bool reopen = shown >= 0 && m_host.editor.showPage;
  if (reopen) m_host.editor.showPage(-1);
  const bool renamed = m_tree->Model().RenamePage(node, title);
  if (reopen) m_host.editor.showPage(shown);
  return renamed;
}

void TPagesPanel::UpdateActions() {
  const TreeNode* node = m_tree->SelectedNode();
  const bool editable = m_editable && m_set != nullptr;
  const bool isPage = node != nullptr && node->HoldsObject();
  Action("PagesAddPage")->setEnabled(editable);
  Action("PagesAddChapter")->setEnabled(editable);
  Action("PagesRename")->setEnabled(editable && node != nullptr &&
                                    (m_tree->ItemModel().flags(m_tree->currentIndex()) & Qt::ItemIsEditable));
  Action("PagesUp")->setEnabled(editable && node != nullptr && node->Row() > 0);
  Action("PagesDown")->setEnabled(editable && node != nullptr && !node->IsRoot());
  Action("PagesDelete")->setEnabled(editable && node != nullptr && !node->IsRoot() &&
                                    (!isPage || (node->Object() != 0 && m_host.deleteObjects)));
}

}  // namespace tarn::document::ui
