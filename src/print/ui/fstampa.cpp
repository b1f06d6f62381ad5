// The print dialog; see fstampa.h.
#include "print/ui/fstampa.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
#include "document/aehset.h"
#include "document/ui/aehorderedtreeview.h"
#include "objects/ui/framesetwidget.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtpagedprinter.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "print/pagesetupdialog.h"

namespace tarn::print::ui {
namespace {

using platform::qt::NamedButton;

using document::ObjectId;


// The pages under a tree node in tree order: the node's own page, or every
// page in a chapter (or the whole tree for the root).
void PagesUnder(const document::TreeNode& node, std::vector<ObjectId>& pages) {
  if (node.HoldsObject() && document::KindOf(node.Object()) == document::testoHtml) pages.push_back(node.Object());
  for (std::size_t i = 0; i < node.ChildCount(); ++i) PagesUnder(*node.Child(i), pages);
}

}  // namespace

TFstampa::TFstampa(PrintDialogHost host, Mode mode, QWidget* parent)
    : QDialog(parent), m_host(std::move(host)), m_mode(mode), m_list(m_host.set) {
  setObjectName(QStringLiteral("FStampa"));
  setWindowTitle(mode == Mode::Print ? QStringLiteral("Print") : QStringLiteral("Predefined page order"));
  setModal(true);

  // The preview reads a copy of the hypertext: nothing it shows or leaves
  // can touch the page the editor has open.
  m_previewSet = m_host.set.ReadingCopy();
  m_preview = new objects::ui::TAEHframeSet(m_host.messages, this);
  m_preview->setObjectName(QStringLiteral("Anteprima"));
  m_preview->SetLinkedAEHset(m_previewSet.get());
  m_preview->SetReadOnly(true);
  m_preview->setMinimumSize(280, 240);
  m_preview->events.OnPageChanged = [this] { PreviewChanged(); };

  auto* splitter = new QSplitter(this);
  splitter->setObjectName(QStringLiteral("Splitter"));
  splitter->addWidget(BuildTreePane());
  if (mode == Mode::Print) splitter->addWidget(BuildListPane());
  splitter->addWidget(m_preview);
  splitter->setStretchFactor(splitter->count() - 1, 1);

  m_close = NamedButton(this, "BChiudi", QStringLiteral("&Close"));
  connect(m_close, &QPushButton::clicked, this, &TFstampa::reject);
  auto* bottom = new QHBoxLayout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  if (mode == Mode::Print) {
    layout->addWidget(BuildOptionsPane());
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setValue(0);
    bottom->addWidget(m_progress, 1);
    m_print = NamedButton(this, "BStampa", QStringLiteral("&Print"));
    m_print->setDefault(true);
    connect(m_print, &QPushButton::clicked, this, [this] { PrintPages(); });
    bottom->addWidget(m_print);
  } else {
    bottom->addStretch();
  }
  bottom->addWidget(m_close);
  layout->addLayout(bottom);

  app::ui::ApplyWindowTable(*new app::ui::TKrLanguager(this), objectName());
  new app::ui::FormPlacement(this, m_host.registry, QSize(640, 420));
  resize(900, 560);
  const long current = m_host.currentPage ? m_host.currentPage() : 0;
  Preview(current >= 0 ? current : 0);
  m_visited.clear();
  if (current >= 0) m_visited.push_back(static_cast<int>(current));
}

TFstampa::~TFstampa() {
  // The preview lets go of its copy of the hypertext before the copy goes.
  if (m_preview) m_preview->SetLinkedAEHset(nullptr);
}

objects::ui::TAEHframeSet* TFstampa::PreviewFrames() const { return m_preview; }

QWidget* TFstampa::BuildTreePane() {
  auto* pane = new QGroupBox(QStringLiteral("Default page order"), this);
  pane->setObjectName(QStringLiteral("GBOrdine"));
  m_tree = new document::ui::TAEHorderedTreeView(pane);
  m_tree->setObjectName(QStringLiteral("Albero"));
  m_tree->SetLinkedAEHset(&m_host.set);
  const bool editable = m_host.editable && m_host.editable();
  m_tree->SetEditable(editable);
  m_tree->Model().OnChanged = [this] {
    if (m_host.changed) m_host.changed();
  };
  connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const document::TreeNode* node = m_tree->ItemModel().Node(index);
    if (node == nullptr || !node->HoldsObject()) return;
    // Arranging the order always shows what is picked; printing as chosen.
    if (m_mode == Mode::PageOrder || (m_previewOnClick != nullptr && m_previewOnClick->isChecked())) {
      Preview(document::IndexOf(node->Object()));
    }
  });
  connect(m_tree, &QTreeView::doubleClicked, this, [this] {
    if (m_mode == Mode::Print) AddFromTree();
  });

  auto* up = NamedButton(pane, "BTreeUp", QStringLiteral("Move &up"), QStringLiteral("Move the page or chapter up"));
  auto* down = NamedButton(pane, "BTreeDown", QStringLiteral("Move &down"), QStringLiteral("Move the page or chapter down"));
  auto* chapter = NamedButton(pane, "BCapitolo", QStringLiteral("New c&hapter"),
                         QStringLiteral("A chapter in the selected chapter; drag pages onto it"));
  connect(up, &QPushButton::clicked, this, [this] { m_tree->MoveUp(); });
  connect(down, &QPushButton::clicked, this, [this] { m_tree->MoveDown(); });
  connect(chapter, &QPushButton::clicked, this, [this] { m_tree->AddChapter("New chapter"); });
  for (QPushButton* b : {up, down, chapter}) b->setEnabled(editable);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(up);
  buttons->addWidget(down);
  buttons->addWidget(chapter);
  auto* layout = new QVBoxLayout(pane);
  layout->addWidget(m_tree, 1);
  layout->addLayout(buttons);
  if (m_mode == Mode::Print) {
    auto* add = NamedButton(pane, "BAggiungi", QStringLiteral("&Add to the list >"),
                       QStringLiteral("The selected page, or the pages of the selected chapter"));
    connect(add, &QPushButton::clicked, this, &TFstampa::AddFromTree);
    layout->addWidget(add);
  }
  return pane;
}

QWidget* TFstampa::BuildListPane() {
  auto* pane = new QGroupBox(QStringLiteral("Pages to print"), this);
  pane->setObjectName(QStringLiteral("GBStampa"));
  m_listBox = new QListWidget(pane);
  m_listBox->setObjectName(QStringLiteral("LBPagine"));
  connect(m_listBox, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!m_previewOnClick->isChecked() || item == nullptr) return;
    const ObjectId id = item->data(Qt::UserRole).toInt();
    if (document::KindOf(id) == document::testoHtml) Preview(document::IndexOf(id));
  });

  auto* all = NamedButton(pane, "BTutte", QStringLiteral("All, in default order"),
                     QStringLiteral("Every page, in the default page order"));
  auto* current = NamedButton(pane, "BCorrente", QStringLiteral("C&urrent page"));
  auto* visited = NamedButton(pane, "BVisitate", QStringLiteral("&Visited in preview"),
                         QStringLiteral("The pages shown in the preview, in the order they were shown"));
  auto* remove = NamedButton(pane, "BTogli", QStringLiteral("&Remove"));
  auto* up = NamedButton(pane, "BSu", QStringLiteral("Up"));
  auto* down = NamedButton(pane, "BGiu", QStringLiteral("Down"));
  auto* clear = NamedButton(pane, "BSvuota", QStringLiteral("Clear"));
  connect(all, &QPushButton::clicked, this, &TFstampa::AllInDefaultOrder);
  connect(current, &QPushButton::clicked, this, &TFstampa::AddCurrentPage);
  connect(visited, &QPushButton::clicked, this, &TFstampa::AddVisited);
  connect(remove, &QPushButton::clicked, this, &TFstampa::RemoveSelected);
  connect(up, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveSelected(1); });
  connect(clear, &QPushButton::clicked, this, [this] {
    m_list.Clear();
    RefreshList();
  });

  auto* fill = new QHBoxLayout;
  fill->addWidget(all);
  fill->addWidget(current);
  fill->addWidget(visited);
  auto* edit = new QHBoxLayout;
  edit->addWidget(remove);
  edit->addWidget(up);
  edit->addWidget(down);
  edit->addWidget(clear);
  auto* layout = new QVBoxLayout(pane);
  layout->addLayout(fill);
  layout->addWidget(m_listBox, 1);
  layout->addLayout(edit);
  auto* hint = new QLabel(QStringLiteral("An empty list prints the current page."), pane);
  hint->setObjectName(QStringLiteral("LVuota"));
  layout->addWidget(hint);
  return pane;
}

QWidget* TFstampa::BuildOptionsPane() {
  auto* pane = new QWidget(this);
  m_background = new QCheckBox(QStringLiteral("Page &background"), pane);
  m_background->setObjectName(QStringLiteral("CBsfondo"));
  m_tableBackground = new QCheckBox(QStringLiteral("&Table backgrounds"), pane);
  m_tableBackground->setObjectName(QStringLiteral("CBsfondoTabelle"));
  const PrintOptions defaults;
  m_background->setChecked(defaults.pageBackground);
  m_tableBackground->setChecked(defaults.tableBackground);
  auto* scaleLabel = new QLabel(QStringLiteral("&Image scale:"), pane);
  scaleLabel->setObjectName(QStringLiteral("LScala"));
  m_scale = new QSpinBox(pane);
  m_scale->setObjectName(QStringLiteral("SEScalaImmagini"));
  m_scale->setRange(kMinImageScale, kMaxImageScale);
  m_scale->setValue(defaults.imageScale);
  m_scale->setToolTip(QStringLiteral("Hundredths of a millimetre per 100 screen pixels: 2500 prints a pixel as 0.25 mm"));
  scaleLabel->setBuddy(m_scale);
  auto* unit = new QLabel(QStringLiteral("1/100 mm per 100 pixels"), pane);
  unit->setObjectName(QStringLiteral("LUnita"));
  m_previewOnClick = new QCheckBox(QStringLiteral("Pre&view on click"), pane);
  m_previewOnClick->setObjectName(QStringLiteral("CBclicprintprev"));
  m_previewOnClick->setChecked(m_host.registry.ReadOption(kPreviewOption) != "0");
  connect(m_previewOnClick, &QCheckBox::toggled, this,
          [this](bool on) { m_host.registry.WriteOption(kPreviewOption, on ? "1" : "0"); });
  m_printerName = new QLabel(pane);
  m_printerName->setObjectName(QStringLiteral("LStampante"));
  auto* printer = NamedButton(pane, "BStampante", QStringLiteral("Printe&r..."));
  auto* margins = NamedButton(pane, "BMargini", QStringLiteral("&Margins..."));
  connect(printer, &QPushButton::clicked, this, [this] {
    if (m_host.printerSetup) m_host.printerSetup(this);
    UpdatePrinterLabel();
  });
  connect(margins, &QPushButton::clicked, this, [this] {
    if (m_host.marginsSetup) m_host.marginsSetup(this);
    UpdatePrinterLabel();
  });

  auto* first = new QHBoxLayout;
  first->addWidget(m_background);
  first->addWidget(m_tableBackground);
  first->addSpacing(16);
  first->addWidget(scaleLabel);
  first->addWidget(m_scale);
  first->addWidget(unit);
  first->addStretch();
  first->addWidget(m_previewOnClick);
  auto* second = new QHBoxLayout;
  second->addWidget(m_printerName, 1);
  second->addWidget(printer);
  second->addWidget(margins);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(first);
  layout->addLayout(second);
  UpdatePrinterLabel();
  return pane;
}

void TFstampa::UpdatePrinterLabel() {
  if (m_printerName == nullptr) return;
  platform::Printer& printer = m_host.setup.PrinterObject();
  if (!printer.HasPrinter()) {
    m_printerName->setText(QStringLiteral("No printer"));
    return;
  }
  const platform::DeviceMode mode = printer.Mode();
  const QString paper = platform::qt::LayoutOf(mode).pageSize().name();
  m_printerName->setText(QStringLiteral("Printer: %1, %2 %3; margins: left %4, top %5, right %6, bottom %7 mm")
                             .arg(QString::fromStdString(printer.Current().device), paper,
                                  mode.orientation == platform::DeviceMode::kLandscape ? QStringLiteral("landscape")
                                                                                       : QStringLiteral("portrait"))
                             .arg(m_host.setup.LeftHundredths() / 100.0)
                             .arg(m_host.setup.TopHundredths() / 100.0)
                             .arg(m_host.setup.RightHundredths() / 100.0)
                             .arg(m_host.setup.BottomHundredths() / 100.0));
}

PrintOptions TFstampa::Options() const {
  PrintOptions options;
  if (m_background != nullptr) options.pageBackground = m_background->isChecked();
  if (m_tableBackground != nullptr) options.tableBackground = m_tableBackground->isChecked();
  if (m_scale != nullptr) options.imageScale = m_scale->value();
  return options;
}

void TFstampa::RefreshList(int select) {
  if (m_listBox == nullptr) return;
  m_listBox->clear();
  for (std::size_t i = 0; i < m_list.Entries().size(); ++i) {
    auto* item = new QListWidgetItem(platform::qt::ToQString(m_list.Caption(i)), m_listBox);
    item->setData(Qt::UserRole, m_list.Entries()[i]);
  }
  if (select >= 0 && select < m_listBox->count()) m_listBox->setCurrentRow(select);
}

void TFstampa::AllInDefaultOrder() {
  m_list.AllInDefaultOrder();
  RefreshList();
}

void TFstampa::AddCurrentPage() {
  const long current = m_host.currentPage ? m_host.currentPage() : -1;
  if (current < 0) return;
  m_list.Add(document::MakeObjectId(document::testoHtml, static_cast<int>(current)));
  RefreshList(static_cast<int>(m_list.Entries().size()) - 1);
}

void TFstampa::AddFromTree() {
  const document::TreeNode* node = m_tree->SelectedNode();
  if (node == nullptr) return;
  std::vector<ObjectId> pages;
  PagesUnder(*node, pages);
  for (ObjectId id : pages) m_list.Add(id);
  RefreshList(static_cast<int>(m_list.Entries().size()) - 1);
}

void TFstampa::AddVisited() {
  m_list.AddVisited(m_visited);
  RefreshList(static_cast<int>(m_list.Entries().size()) - 1);
}

void TFstampa::RemoveSelected() {
  const int row = m_listBox != nullptr ? m_listBox->currentRow() : -1;
  if (row < 0) return;
  m_list.Remove(static_cast<std::size_t>(row));
  RefreshList(std::min(row, static_cast<int>(m_list.Entries().size()) - 1));
}

void TFstampa::MoveSelected(int direction) {
  const int row = m_listBox != nullptr ? m_listBox->currentRow() : -1;
  if (row < 0) return;
  const auto at = static_cast<std::size_t>(row);
  const bool moved = direction < 0 ? m_list.MoveUp(at) : m_list.MoveDown(at);
  RefreshList(moved ? row + direction : row);
}

void TFstampa::Preview(long page) {
  if (!m_preview || page < 0) return;
  m_preview->SetMainPageNumber(page);
}

void TFstampa::PreviewChanged() {
  const long page = m_preview ? m_preview->MainPageNumber() : -1;
  if (page < 0) return;
  if (m_visited.empty() || m_visited.back() != page) m_visited.push_back(static_cast<int>(page));
}

bool TFstampa::PrintPages() {
  if (m_printing) return false;
  const long current = m_host.currentPage ? m_host.currentPage() : 0;
  if (m_list.Empty() && current >= 0) {
    AddCurrentPage();
  }
  if (!m_host.setup.CheckPrinters()) return false;
  if (m_host.prepareOutput && !m_host.prepareOutput(this)) return false;
  m_printing = true;
  m_stop = false;
  m_print->setEnabled(false);
  m_close->setText(QStringLiteral("&Stop"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int printed =
      m_list.Print(static_cast<int>(std::max(current, 0L)), m_host.setup, Options(), [this](int step, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(step);
        QCoreApplication::processEvents();
        return !m_stop;
      });
  QApplication::restoreOverrideCursor();
  m_printing = false;
  m_print->setEnabled(true);
  m_close->setText(QStringLiteral("&Close"));
  m_progress->setValue(0);
  m_printed = std::max(printed, 0);
  if (printed <= 0) return false;
  accept();
  return true;
}

void TFstampa::reject() {
  // Close stops a printing that runs; the dialog closes once it has stopped.
  if (m_printing) {
    m_stop = true;
    return;
  }
  QDialog::reject();
}

}  // namespace tarn::print::ui
