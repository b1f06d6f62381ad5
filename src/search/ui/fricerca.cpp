// The link explorer window; see fricerca.h.
#include "search/ui/fricerca.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "document/ui/aehlistview.h"
#include "platform/qt/qtstrings.h"
#include "search/linkexplorer.h"
#include "platform/qt/qteventloop.h"

namespace tarn::search::ui {
namespace {

using document::TAEHoggetto;
using document::ui::TAEHListView;
using platform::qt::ToQString;

constexpr int kRaiseDelayMs = 200;
constexpr int kPercent = 100;

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

TAEHListView* List(QWidget* parent, const char* name, int kind) {
  auto* list = new TAEHListView(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->SetObjects(kind);
  list->SetReadOnly(true);
  list->SetMultiSelect(true);
  return list;
}

}  // namespace

TFricerca::TFricerca(document::TAEHset& set, ExplorerHost host, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_set(set),
      m_host(std::move(host)),
      m_loop(new platform::qt::QtEventLoop(this)),
      m_raise(m_loop) {
  setObjectName(QStringLiteral("Fricerca"));
  setWindowTitle(tr("Hypertext search - Link explorer"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(720, 460);

  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PageControl1"));
  m_tabs->addTab(BuildSearchTab(), tr("Search for page containing..."));
  m_tabs->addTab(BuildExploreTab(), tr("Explore link from and to present page"));
  connect(m_tabs, &QTabWidget::currentChanged, this, &TFricerca::TabChanged);

  auto* ok = Button(this, "BOk", tr("&Ok"));
  auto* cancel = Button(this, "BCancel", tr("&Cancel"));
  connect(ok, &QPushButton::clicked, this, &QWidget::close);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addLayout(buttons);

  ChooseKind(0);
}

TFricerca::~TFricerca() {
  StopSearch();
  StopThreads();
}

QWidget* TFricerca::BuildSearchTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabSearch"));
  m_kinds = new QComboBox(tab);
  m_kinds->setObjectName(QStringLiteral("CBtipoRic"));
  for (const SearchKind& kind : kSearchKinds) {
    m_kinds->addItem(QString::fromLatin1(kind.caption.data(), static_cast<int>(kind.caption.size())), kind.kind);
  }
  connect(m_kinds, &QComboBox::activated, this, &TFricerca::ChooseKind);

  m_candidates = List(tab, "AEHListViewOgg", document::testoHtml);
  m_candidates->OnClick = [this](ObjectId) {
    if (m_searchIdle) m_found->Clear();
  };
  m_candidates->OnDoubleClick = [this](ObjectId) { Search(); };
  m_candidates->OnDel = [this] { DeleteSelection(); };
  m_found = List(tab, "AEHListViewTrov", document::testoHtml);
  m_found->SetViewStyle(TAEHListView::ViewStyle::List);
  m_found->OnDoubleClick = [this](ObjectId) { ShowSelectedPage(*m_found); };

  m_showCandidate = Button(tab, "BMostraOgg", tr("Show page in editor"));
  connect(m_showCandidate, &QPushButton::clicked, this, [this] { ShowSelectedPage(*m_candidates); });
  auto* remove = Button(tab, "BCancella", tr("Delete selection"));
  connect(remove, &QPushButton::clicked, this, &TFricerca::DeleteSelection);
  auto* update = Button(tab, "BAggiorna1", tr("Update"));
  connect(update, &QPushButton::clicked, this, &TFricerca::Update);
  auto* search = Button(tab, "BCerca", tr("Search"));
  connect(search, &QPushButton::clicked, this, &TFricerca::Search);
  m_stop = Button(tab, "BInterrompi", tr("&Stop"));
  m_stop->hide();
  connect(m_stop, &QPushButton::clicked, this, &TFricerca::StopSearch);
  m_progress = new QProgressBar(tab);
  m_progress->setObjectName(QStringLiteral("ProgressBar1"));
  m_progress->setRange(0, kPercent);
  m_progress->hide();
  auto* showFound = Button(tab, "BMostraTrov", tr("Show page in editor"));
  connect(showFound, &QPushButton::clicked, this, [this] { ShowSelectedPage(*m_found); });

  auto* candidates = new QVBoxLayout;
  candidates->addWidget(m_candidates, 1);
  auto* candidateButtons = new QHBoxLayout;
  candidateButtons->addWidget(m_showCandidate);
  candidateButtons->addWidget(remove);
  candidateButtons->addWidget(update);
  candidates->addLayout(candidateButtons);
  candidates->addWidget(ViewButtons("Ogg", {m_candidates}));

  auto* middle = new QVBoxLayout;
  middle->addWidget(search);
  middle->addWidget(m_stop);
  middle->addWidget(m_progress);
  middle->addStretch();

  auto* found = new QVBoxLayout;
  found->addWidget(m_found, 1);
  found->addWidget(showFound);
  found->addWidget(ViewButtons("Trov", {m_found}));

  auto* columns = new QHBoxLayout;
  columns->addLayout(candidates, 3);
  columns->addLayout(middle);
  columns->addLayout(found, 2);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(m_kinds);
  layout->addLayout(columns, 1);
  return tab;
}

QWidget* TFricerca::BuildExploreTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabExplore"));
  m_from = List(tab, "AEHListViewDa", document::testoHtml);
  m_to = List(tab, "AEHListViewPer", document::testoHtml);
  m_from->OnDoubleClick = [this](ObjectId id) { Browse(id); };
  m_to->OnDoubleClick = [this](ObjectId id) { Browse(id); };
  m_current = new QLabel(tab);
  m_current->setObjectName(QStringLiteral("Lcorrente"));
  m_current->setAlignment(Qt::AlignCenter);
  m_current->setWordWrap(true);
  QFont bold = m_current->font();
  bold.setBold(true);
  m_current->setFont(bold);
  auto* update = Button(tab, "BAggiorna2", tr("Update"));
  connect(update, &QPushButton::clicked, this, &TFricerca::Update);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(tr("Pages that refer to it:"), tab));
  left->addWidget(m_from, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(tr("What it refers to:"), tab));
  right->addWidget(m_to, 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 2);
  columns->addWidget(m_current, 1);
  columns->addLayout(right, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(update);
  bottom->addStretch();
  bottom->addWidget(ViewButtons("DaPer", {m_from, m_to}));
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(columns, 1);
  layout->addLayout(bottom);
  return tab;
}

QWidget* TFricerca::ViewButtons(const char* prefix, std::vector<TAEHListView*> lists) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::pair<const char*, TAEHListView::ViewStyle> styles[] = {{"Big icons", TAEHListView::ViewStyle::Icon},
                                                                    {"Small icons", TAEHListView::ViewStyle::SmallIcon},
                                                                    {"List", TAEHListView::ViewStyle::Report}};
  for (const auto& [caption, style] : styles) {
    auto* button = new QPushButton(tr(caption), box);
    button->setObjectName(QStringLiteral("BVista%1%2").arg(QLatin1String(prefix)).arg(static_cast<int>(style)));
    connect(button, &QPushButton::clicked, this, [lists, style = style] {
      for (TAEHListView* list : lists) list->SetViewStyle(style);
    });
    layout->addWidget(button);
  }
  layout->addStretch();
  return box;
}

QString TFricerca::CurrentCaption() const { return m_current->text(); }

bool TFricerca::ThreadsRunning() const {
  return (m_search && m_search->Running()) || (m_fromThread && m_fromThread->Running()) ||
         (m_toThread && m_toThread->Running());
}

void TFricerca::SelectTab(Tab tab) {
  if (m_tabs->currentIndex() == tab) {
    TabChanged(tab);
  } else {
    m_tabs->setCurrentIndex(tab);
  }
}

void TFricerca::MarkStale() {
  m_searchStale = true;
  m_exploreStale = true;
  // What the lists show names objects of the hypertext that went.
  StopSearch();
  StopThreads();
  m_found->Clear();
  m_from->Clear();
  m_to->Clear();
  m_current->clear();
  if (isVisible()) Update();
}

void TFricerca::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  m_active = true;
  if (m_searchIdle) m_progress->hide();
  TabChanged(m_tabs->currentIndex());
}

void TFricerca::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  m_active = isActiveWindow();
  if (m_active && (m_searchStale || m_exploreStale)) Update();
}

void TFricerca::closeEvent(QCloseEvent* event) {
  if (!m_closing) {
    StopSearch();
    StopThreads();
  }
  m_active = false;
  m_closing = true;
  event->accept();
}

void TFricerca::TabChanged(int tab) {
  if ((tab == kExploreTab && m_exploreStale) || (tab == kSearchTab && m_searchStale)) Update();
}

void TFricerca::Update() {
  if (m_tabs->currentIndex() == kSearchTab) {
    m_searchStale = false;
    m_candidates->SetLinkedAEHset(&m_set);
    m_candidates->Reload();
  } else {
    Explore();
  }
}

void TFricerca::ChooseKind(int entry) {
  if (entry < 0 || entry >= static_cast<int>(kSearchKinds.size())) return;
  m_kinds->setCurrentIndex(entry);
  m_candidates->SetObjects(kSearchKinds[static_cast<std::size_t>(entry)].kind);
  m_candidates->SetLinkedAEHset(&m_set);
  m_candidates->Reload();
  m_showCandidate->setVisible(kSearchKinds[static_cast<std::size_t>(entry)].kind == document::testoHtml);
  if (m_searchIdle) m_found->Clear();
}

void TFricerca::Search() {
  const ObjectId id = m_candidates->SelectedId();
  if (id == -1 || !m_searchIdle) return;
  m_searchIdle = false;
  m_searchId = id;
  m_searchKind = m_kinds->currentData().toInt();
  m_progress->setValue(0);
  m_progress->show();
  m_stop->show();
  m_found->SetLinkedAEHset(&m_set);
  m_found->Clear();
  m_search = std::make_unique<TKrPageSearchThread>(
      m_set, id, PostThrough(*m_loop),
      [this](std::vector<ObjectId> pages, int percent) {
        AddFound(pages, *m_found);
        m_progress->setValue(percent);
      },
      [this] { SearchFinished(); });
}

void TFricerca::SearchFinished() {
  m_searchIdle = true;
  m_stop->hide();
  m_progress->hide();
  m_search.reset();
}

void TFricerca::StopSearch() {
  // The pages found so far stay listed; the rest are not looked at.
  if (m_search) m_search->Terminate();
  m_search.reset();
  m_searchIdle = true;
  if (m_stop != nullptr) m_stop->hide();
  if (m_progress != nullptr) m_progress->hide();
}

void TFricerca::AddFound(const std::vector<ObjectId>& ids, TAEHListView& list) {
  for (ObjectId id : ids) {
    const TAEHoggetto* object = m_set.GetObjectById(id);
    if (object != nullptr && !object->IsFree()) list.AddItem(*object);
  }
}

void TFricerca::ShowSelectedPage(TAEHListView& list) {
  const ObjectId id = list.SelectedId();
  if (id == -1 || document::KindOf(id) != document::testoHtml || !m_host.editor.showPage) return;
  m_host.editor.showPage(document::IndexOf(id));
  m_exploreStale = true;
}

void TFricerca::DeleteSelection() {
  const std::vector<ObjectId> ids = m_candidates->SelectedObjects();
  if (ids.empty() || !m_host.deleteObjects) return;
  StopSearch();
  StopThreads();
  m_host.deleteObjects(ids);
  m_found->Clear();
  m_candidates->Reload();
  m_exploreStale = true;
}

void TFricerca::StopThreads() {
  // Reports already queued by the threads are dropped with them.
  if (m_fromThread) m_fromThread->Terminate();
  if (m_toThread) m_toThread->Terminate();
  m_fromThread.reset();
  m_toThread.reset();
}

void TFricerca::RaiseSoon() {
  // Showing the page in the editor may have brought the main window up.
  m_raise.Start(kRaiseDelayMs, false, [this] {
    raise();
    activateWindow();
  });
}

void TFricerca::Explore() {
  m_exploreStale = false;
  const long shown = m_host.editor.mainPage ? m_host.editor.mainPage() : -1;
  const TAEHoggetto* page = shown >= 0 ? m_set.GetObject(document::testoHtml, shown) : nullptr;
  if (page == nullptr || page->IsFree()) return;
  StopThreads();
  m_current->setText(ToQString(page->GetCaption()));
  m_from->SetLinkedAEHset(&m_set);
  m_to->SetLinkedAEHset(&m_set);
  m_from->Clear();
  m_to->Clear();
  m_fromThread = std::make_unique<TKrSearchThreadDa>(
      m_set, page->GetId(), PostThrough(*m_loop), [this](std::vector<ObjectId> ids) { AddFound(ids, *m_from); });
  m_toThread = std::make_unique<TKrSearchThreadPer>(
      m_set, page->GetId(), PostThrough(*m_loop), [this](std::vector<ObjectId> ids) { AddFound(ids, *m_to); });
}

void TFricerca::Browse(ObjectId id) {
  const TAEHoggetto* object = m_set.GetObjectById(id);
  if (object == nullptr || object->IsFree()) return;
  switch (object->Kind()) {
    case document::testoHtml:
      StopThreads();
      if (m_host.editor.showPage) m_host.editor.showPage(object->Index());
      Explore();
      RaiseSoon();
      break;
    case document::internetLink: {
      const std::string url = object->Str(document::field::kLinkUrl, document::field::kLinkUrlCapacity);
      if (url.starts_with(document::kInternalScheme)) {
        StopThreads();
        if (m_host.navigateToUrl) m_host.navigateToUrl(url);
        Explore();
        RaiseSoon();
      } else if (m_host.openUrl) {
        m_host.openUrl(url);
      } else {
        QDesktopServices::openUrl(QUrl(ToQString(url)));
      }
      break;
    }
    case document::genLink:
      if (m_host.openFile) m_host.openFile(id);
      break;
    default: break;
  }
}

}  // namespace tarn::search::ui
