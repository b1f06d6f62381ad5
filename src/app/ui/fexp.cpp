// The export dialog and its HTML options; see fexp.h.
#include "app/ui/fexp.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <system_error>

#include "app/selectionfeedback.h"
#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
#include "app/ui/listhtmltotxview.h"
#include "base/cp1252.h"
#include "convert/aehtohtml.h"
#include "convert/exportprogress.h"
#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;
using platform::qt::NamedButton;
using platform::qt::PathToQString;
using platform::qt::ToQString;

constexpr const char* kHtmlOptionsKey = "htmlexp";

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

QSpinBox* Spin(QWidget* parent, const char* name, int maximum) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(0, maximum);
  box->setSuffix(QStringLiteral(" mm"));
  return box;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

// The page chooser: the hypertext's pages, several may be chosen.
std::vector<int> ChoosePagesDialog(QWidget* parent, const std::vector<std::pair<int, std::string>>& pages) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("FScegliPagine"));
  dialog.setWindowTitle(QStringLiteral("Choose pages"));
  auto* list = new QListWidget(&dialog);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const auto& [index, title] : pages) {
    auto* item = new QListWidgetItem(ToQString(title), list);
    item->setData(Qt::UserRole, index);
  }
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addLayout(platform::qt::OkCancelRow(&dialog));
  std::vector<int> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (const QListWidgetItem* item : list->selectedItems()) chosen.push_back(item->data(Qt::UserRole).toInt());
  return chosen;
}

std::string ExportFormatKey(int format) { return "exp\\" + std::to_string(format); }

std::string DefaultTransferFolder() {
  std::error_code ec;
  std::string folder = fs::temp_directory_path(ec).string();
  if (ec || folder.empty()) folder = "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string StoredOrDefaultFolder(std::string stored) {
  if (stored.empty() || (stored.size() >= 2 && stored[1] == ':')) return DefaultTransferFolder();
  return stored;
}

// ---- HTML options ----

TFopzExp::TFopzExp(platform::Registry& registry, QWidget* parent) : QDialog(parent), m_registry(registry) {
  setObjectName(QStringLiteral("FOpzExp"));
  setWindowTitle(QStringLiteral("Export options"));
  auto* tabs = new QTabWidget(this);
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsHtml"));
  tabs->addTab(page, QStringLiteral("HTML export"));
  m_sepImage = Check(page, "cbSepImage", QStringLiteral("Images in a different dir"));
  m_origName = Check(page, "cbOrigName", QStringLiteral("use original names"));
  m_alt = Check(page, "cbAlt", QStringLiteral("autom. generation of map area's \"alt\""));
  m_utf8 = Check(page, "cbUtf8", QStringLiteral("Pages in UTF-8"));
  m_extension = new QComboBox(page);
  m_extension->setObjectName(QStringLiteral("cbTipoExt"));
  m_extension->addItems({QStringLiteral(".htm"), QStringLiteral(".html")});
  auto* extensionLabel = new QLabel(QStringLiteral("Extension for pages:"), page);
  extensionLabel->setObjectName(QStringLiteral("lTipoExt"));
  auto* layout = new QGridLayout(page);
  layout->addWidget(m_sepImage, 0, 0, 1, 2);
  layout->addWidget(m_origName, 1, 0, 1, 2);
  layout->addWidget(m_alt, 2, 0, 1, 2);
  layout->addWidget(m_utf8, 3, 0, 1, 2);
  layout->addWidget(extensionLabel, 4, 0);
  layout->addWidget(m_extension, 4, 1);
  layout->setRowStretch(5, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(tabs);
  outer->addLayout(platform::qt::OkCancelRow(this));

  const convert::HtmlExportOptions options = Read(registry);
  m_alt->setChecked(options.autoAlt);
  m_origName->setChecked(options.origName);
  m_sepImage->setChecked(options.sepImage);
  m_utf8->setChecked(options.utf8);
  m_extension->setCurrentIndex(options.tipoExt == 0 ? 0 : 1);
  auto* languager = new TKrLanguager(this);
  ApplyWindowTable(*languager, objectName());
}

convert::HtmlExportOptions TFopzExp::Read(platform::Registry& registry) {
  convert::HtmlExportOptions options;
  options.autoAlt = registry.ReadSubkeyValue(kHtmlOptionsKey, "expAlt") != "0";
  options.origName = registry.ReadSubkeyValue(kHtmlOptionsKey, "expOrigName") == "1";
  options.sepImage = registry.ReadSubkeyValue(kHtmlOptionsKey, "expSepImage") == "1";
  // A value that is no number leaves the choice as it is (".htm").
  options.tipoExt = platform::ParseNumber(registry.ReadSubkeyValue(kHtmlOptionsKey, "expTipoExt"), 0) == 0 ? 0 : 1;
  // Not an option of the older program, so absent (off) in its settings.
  options.utf8 = registry.ReadSubkeyValue(kHtmlOptionsKey, "expUtf8") == "1";
  return options;
}

void TFopzExp::accept() {
  m_registry.WriteSubkeyValue(kHtmlOptionsKey, "expAlt", m_alt->isChecked() ? "1" : "0");
  m_registry.WriteSubkeyValue(kHtmlOptionsKey, "expOrigName", m_origName->isChecked() ? "1" : "0");
  m_registry.WriteSubkeyValue(kHtmlOptionsKey, "expSepImage", m_sepImage->isChecked() ? "1" : "0");
  m_registry.WriteSubkeyValue(kHtmlOptionsKey, "expUtf8", m_utf8->isChecked() ? "1" : "0");
  m_registry.WriteSubkeyValue(kHtmlOptionsKey, "expTipoExt", std::to_string(m_extension->currentIndex()));
  QDialog::accept();
}

// ---- The export dialog ----

void TFexp::ShowProgress(int item, int total, int phase) {
  Status()->setText(QString::fromStdString(ExportProgressText(phase, item, total)));
  Bar()->setValue(total > 0 ? item * 100 / total : 100);
}

const std::vector<TFexp::FormatItem>& TFexp::Formats() {
  static const std::vector<FormatItem> formats = {
      {convert::kExpHtml, "HTML", "*.htm;*.html;"},
      {convert::kExpRtf, "RTF (Word, Word Perfect, Publisher, ...): one file only", "*.rtf;"},
      {convert::kExpRtfPerPage, "RTF (Word, Word Perfect, Publisher, ...): a file per page", "*.rtf;"},
      {convert::kExpWinHelp, "Rtf WINHELP (WinHelp Compiler): one file only", "*.rtf;"},
      {convert::kExpAscii, "ASCII (Notes,...)", "*.txt;*.asc;*.pas;*.c;*.cpp;*.ini;"},
      {convert::kExpDoc, "DOC (Word): one file only", "*.doc;*.wri;*.rtf;"},
  };
  return formats;
}

TFexp::TFexp(Host host, QWidget* parent)
    : TTransferDialog(parent, "bExport", QStringLiteral("&Export")),
      m_host(std::move(host)),
      m_html(std::make_unique<convert::TAEHtoHtml>()) {
  setObjectName(QStringLiteral("FExp"));
  setWindowTitle(QStringLiteral("Export"));
  m_html->SetLinkedAEHset(&m_host.set);
  ChoosePages = [this](const std::vector<std::pair<int, std::string>>& pages) {
    return ChoosePagesDialog(this, pages);
  };
  for (const FormatItem& item : Formats()) {
    if (item.number == convert::kExpDoc && !m_host.wordProcessor) continue;
    FormatBox()->addItem(QString::fromLatin1(item.caption), item.number);
  }
  Tabs()->addTab(BuildPagesTab(), QStringLiteral("Pages"));
  Tabs()->addTab(BuildPathTab(), QStringLiteral("Path"));
  Tabs()->addTab(BuildOptionsTab(), QStringLiteral("Options"));

  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
  m_placement = new FormPlacement(this, m_host.registry, QSize(560, 420));
  connect(FormatBox(), &QComboBox::currentIndexChanged, this, &TFexp::FormatChosen);
  // The list is built once, when the dialog is shown or prepared.
  m_loading = true;
  LoadSettings(m_format);
  SetFormat(m_format);
  m_loading = false;
}

void TFexp::showEvent(QShowEvent* event) {
  if (m_listDirty) RebuildList(true);
  TTransferDialog::showEvent(event);
  RevealFolder();
}

TFexp::~TFexp() {
  // The settings are kept however the dialog ends.
  SaveSettings(m_format);
}

QWidget* TFexp::BuildPagesTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsPages"));
  m_list = new TAEHListHtmlToTxView(page);
  m_list->List().SetLinkedAEHtoHtml(m_html.get());
  m_all = NamedButton(page, "bAll", QStringLiteral("All"));
  m_browsePages = NamedButton(page, "bBrowsePages", QStringLiteral("Browse..."));
  m_htmlOptions = NamedButton(page, "bHtml", QStringLiteral("Html..."));
  connect(m_all, &QPushButton::clicked, this, &TFexp::ToggleAll);
  connect(m_browsePages, &QPushButton::clicked, this, &TFexp::BrowsePages);
  connect(m_htmlOptions, &QPushButton::clicked, this, &TFexp::HtmlOptions);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_all);
  buttons->addWidget(m_browsePages);
  buttons->addWidget(m_htmlOptions);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(m_list, 1);
  layout->addLayout(buttons);
  return page;
}

QWidget* TFexp::BuildPathTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsPath"));
  m_folder = new QLineEdit(page);
  m_folder->setObjectName(QStringLiteral("eDir"));
  auto* browse = NamedButton(page, "bBrowseDir", QStringLiteral("..."), QStringLiteral("Choose the folder"));
  auto* newFolder = NamedButton(page, "bNewFolder", QStringLiteral("New folder"));
  auto* refresh = NamedButton(page, "bRefresh", QStringLiteral("Refresh"));
  auto* previous = NamedButton(page, "bPrevDir", QStringLiteral("Previous directory"));
  m_mainFileLabel = new QLabel(QStringLiteral("File name:"), page);
  m_mainFileLabel->setObjectName(QStringLiteral("lMainFile"));
  m_mainFile = new QLineEdit(page);
  m_mainFile->setObjectName(QStringLiteral("eMainFile"));

  m_folderModel = new QFileSystemModel(this);
  m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  m_folderModel->setRootPath(QDir::rootPath());
  m_folderTree = new QTreeView(page);
  m_folderTree->setObjectName(QStringLiteral("tvDirs"));
  m_folderTree->setModel(m_folderModel);
  for (int c = 1; c < m_folderModel->columnCount(); ++c) m_folderTree->hideColumn(c);
  m_folderTree->setHeaderHidden(true);
  connect(m_folderTree, &QTreeView::clicked, this,
          [this](const QModelIndex& index) { SetFolder(m_folderModel->filePath(index)); });

  m_fileModel = new QFileSystemModel(this);
  m_fileModel->setFilter(QDir::Files | QDir::NoDotAndDotDot);
  m_fileModel->setNameFilterDisables(false);
  m_fileList = new QListView(page);
  m_fileList->setObjectName(QStringLiteral("lvFiles"));
  m_fileList->setModel(m_fileModel);
  connect(m_fileList, &QListView::clicked, this,
          [this](const QModelIndex& index) { m_mainFile->setText(m_fileModel->fileName(index)); });

  connect(browse, &QPushButton::clicked, this, &TFexp::BrowseFolder);
  connect(newFolder, &QPushButton::clicked, this, &TFexp::NewFolder);
  connect(refresh, &QPushButton::clicked, this, [this] { SetFolder(m_folder->text()); });
  connect(previous, &QPushButton::clicked, this, &TFexp::PreviousFolder);
  connect(m_folder, &QLineEdit::editingFinished, this, [this] { SetFolder(m_folder->text()); });
  EnterRunsInstead(m_folder, [this] { SetFolder(m_folder->text()); });
  // The model reads folders in the background: the chosen folder can be
  // shown only when its parents have been read.
  connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (m_folder->text().startsWith(loaded)) RevealFolder();
  });

  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(m_folder, 1);
  folderRow->addWidget(browse);
  auto* commands = new QHBoxLayout;
  commands->addWidget(newFolder);
  commands->addWidget(refresh);
  commands->addWidget(previous);
  commands->addStretch();
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_mainFileLabel);
  fileRow->addWidget(m_mainFile, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(folderRow);
  layout->addLayout(commands);
  layout->addWidget(m_folderTree, 1);
  layout->addWidget(m_fileList, 1);
  layout->addLayout(fileRow);
  return page;
}

QWidget* TFexp::BuildOptionsTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsOptions"));
  auto* size = new QGroupBox(QStringLiteral("Page size"), page);
  size->setObjectName(QStringLiteral("gbPageSize"));
  m_sizeBox = size;
  m_width = Spin(size, "seWidth", 2000);
  m_height = Spin(size, "seHeight", 2000);
  m_top = Spin(size, "seTop", 500);
  m_bottom = Spin(size, "seBottom", 500);
  m_left = Spin(size, "seLeft", 500);
  m_right = Spin(size, "seRight", 500);
  auto* sizeLayout = new QFormLayout(size);
  sizeLayout->addRow(QStringLiteral("Width:"), m_width);
  sizeLayout->addRow(QStringLiteral("Height:"), m_height);
  sizeLayout->addRow(QStringLiteral("Top margin:"), m_top);
  sizeLayout->addRow(QStringLiteral("Bottom margin:"), m_bottom);
  sizeLayout->addRow(QStringLiteral("Left margin:"), m_left);
  sizeLayout->addRow(QStringLiteral("Right margin:"), m_right);

  auto* help = new QGroupBox(QStringLiteral("WinHelp"), page);
  help->setObjectName(QStringLiteral("gbWinHelp"));
  m_helpBox = help;
  m_runHcp = Check(help, "cbRunHcp", QStringLiteral("Run the help compiler after the export"));
  m_titlesAsKeywords = Check(help, "cbTitKey", QStringLiteral("Page titles as keywords"));
  m_defaultHcp = new QRadioButton(QStringLiteral("The program registered for help projects"), help);
  m_defaultHcp->setObjectName(QStringLiteral("rbDefaultHcp"));
  m_pathHcp = new QRadioButton(QStringLiteral("This command:"), help);
  m_pathHcp->setObjectName(QStringLiteral("rbHcpPath"));
  m_hcpPath = new QLineEdit(help);
  m_hcpPath->setObjectName(QStringLiteral("eHcpPath"));
  m_hcpPath->setPlaceholderText(QStringLiteral("the help compiler's command; the project file is added"));
  auto* helpLayout = new QGridLayout(help);
  helpLayout->addWidget(m_runHcp, 0, 0, 1, 2);
  helpLayout->addWidget(m_defaultHcp, 1, 0, 1, 2);
  helpLayout->addWidget(m_pathHcp, 2, 0);
  helpLayout->addWidget(m_hcpPath, 2, 1);
  helpLayout->addWidget(m_titlesAsKeywords, 3, 0, 1, 2);

  auto* word = new QGroupBox(QStringLiteral("Word processor"), page);
  word->setObjectName(QStringLiteral("gbWord"));
  m_wordBox = word;
  m_wordProcessor = new QLineEdit(word);
  m_wordProcessor->setObjectName(QStringLiteral("eWordProcessor"));
  m_wordProcessor->setPlaceholderText(QStringLiteral("soffice (LibreOffice)"));
  auto* wordLayout = new QFormLayout(word);
  wordLayout->addRow(QStringLiteral("Command:"), m_wordProcessor);

  // Only the groups of the format show; those on the right stack from the
  // top whichever of them is hidden.
  auto* right = new QVBoxLayout;
  right->addWidget(help);
  right->addWidget(word);
  right->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(size, 0, Qt::AlignTop);
  layout->addLayout(right, 1);
  return page;
}

void TFexp::LoadSettings(int format) {
  // The list is rebuilt once, by whoever loads, not by each field.
  const bool loading = m_loading;
  m_loading = true;
  platform::Registry& r = m_host.registry;
  const std::string key = ExportFormatKey(format);
  const std::string folder = StoredOrDefaultFolder(r.ReadSubkeyValue(key, "expPathInWindow"));
  std::error_code ec;
  fs::create_directories(folder, ec);  // a failure shows at the export
  m_folder->setText(PathToQString(folder));
  auto number = [&](const char* name, int fallback) { return platform::ParseNumber(r.ReadSubkeyValue(key, name), fallback); };
  m_width->setValue(number("largh", 210));
  m_height->setValue(number("lungh", 297));
  m_top->setValue(number("top", 15));
  m_bottom->setValue(number("bottom", 15));
  m_left->setValue(number("sx", 15));
  m_right->setValue(number("dx", 15));
  m_runHcp->setChecked(r.ReadSubkeyValue(key, "runHcp") == "1");
  m_titlesAsKeywords->setChecked(r.ReadSubkeyValue(key, "runTitKey") == "1");
  const bool registered = r.ReadSubkeyValue(key, "runDefaultHcp") != "0";
  m_defaultHcp->setChecked(registered);
  m_pathHcp->setChecked(!registered);
  m_hcpPath->setText(PathToQString(r.ReadOption("HcpPath")));
  m_wordProcessor->setText(PathToQString(r.ReadOption(kWordProcessorOption)));
  SetFolder(m_folder->text());
  m_loading = loading;
}

void TFexp::SaveSettings(int format) {
  platform::Registry& r = m_host.registry;
  const std::string key = ExportFormatKey(format);
  r.WriteSubkeyValue(key, "expPathInWindow", FolderText());
  r.WriteSubkeyValue(key, "largh", std::to_string(m_width->value()));
  r.WriteSubkeyValue(key, "lungh", std::to_string(m_height->value()));
  r.WriteSubkeyValue(key, "top", std::to_string(m_top->value()));
  r.WriteSubkeyValue(key, "bottom", std::to_string(m_bottom->value()));
  r.WriteSubkeyValue(key, "sx", std::to_string(m_left->value()));
  r.WriteSubkeyValue(key, "dx", std::to_string(m_right->value()));
  r.WriteSubkeyValue(key, "runHcp", m_runHcp->isChecked() ? "1" : "0");
  r.WriteSubkeyValue(key, "runTitKey", m_titlesAsKeywords->isChecked() ? "1" : "0");
  r.WriteSubkeyValue(key, "runDefaultHcp", m_defaultHcp->isChecked() ? "1" : "0");
  r.WriteOption("HcpPath", Utf8(m_hcpPath->text().trimmed()));
  r.WriteOption(kWordProcessorOption, Utf8(m_wordProcessor->text().trimmed()));
}

std::string TFexp::FolderText() const {
  std::string folder = Utf8(m_folder->text().trimmed());
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

void TFexp::Prepare(const std::string& proposed) {
  m_loading = true;
  PreselectFormat(proposed);
  m_loading = false;
  RebuildList(true);
}

void TFexp::PreselectFormat(const std::string& proposed) {
  std::string extension = base::LowerCase(fs::path(proposed).extension().string()) + ";";
  for (int i = 0; i < FormatBox()->count(); ++i) {
    const int number = FormatBox()->itemData(i).toInt();
    for (const FormatItem& item : Formats()) {
      if (item.number != number || std::string(item.extensions).find(extension) == std::string::npos) continue;
      SetFormat(number);
      // The proposed name overrides the stored folder.
      m_mainFile->setText(PathToQString(fs::path(proposed).filename().string()));
      SetFolder(PathToQString(fs::path(proposed).parent_path().string()));
      return;
    }
  }
}

void TFexp::SetFormat(int number) {
  const int index = FormatBox()->findData(number);
  if (index < 0) return;
  if (FormatBox()->currentIndex() != index) {
    FormatBox()->setCurrentIndex(index);  // FormatChosen follows
  } else {
    FormatChosen(index);
  }
}

void TFexp::FormatChosen(int index) {
  const int number = FormatBox()->itemData(index).toInt();
  if (number != m_format) {
    SaveSettings(m_format);
    m_format = number;
    LoadSettings(number);
  }
  convert::TAEHListHtmlToTx& list = m_list->List();
  list.ListType = number == convert::kExpHtml        ? convert::ltHtml
                  : number == convert::kExpRtfPerPage ? convert::ltManyFiles
                                                      : convert::ltOneFile;
  // The one-file formats take the format's extension.
  const char* extension = number == convert::kExpRtf || number == convert::kExpWinHelp ? ".rtf"
                          : number == convert::kExpAscii                               ? ".txt"
                          : number == convert::kExpDoc                                 ? ".doc"
                                                                                       : nullptr;
  std::string name = fs::path(Utf8(m_mainFile->text())).filename().string();
  if (name.empty()) name = m_host.set.ExpPrefix().empty() ? std::string("export") : m_host.set.ExpPrefix();
  if (extension != nullptr) name = fs::path(name).replace_extension(extension).string();
  m_mainFile->setText(PathToQString(name));
  ShowPathPanel();
  m_htmlOptions->setVisible(number == convert::kExpHtml);
  // Page sizes shape the RTF documents only (and the DOC made from one).
  m_sizeBox->setVisible(number != convert::kExpHtml && number != convert::kExpAscii);
  m_helpBox->setVisible(number == convert::kExpWinHelp);
  m_wordBox->setVisible(number == convert::kExpDoc);
  RebuildList(false);
}

void TFexp::ShowPathPanel() {
  const bool oneFile = m_format != convert::kExpHtml && m_format != convert::kExpRtfPerPage;
  m_folderTree->setVisible(!oneFile);
  m_fileList->setVisible(oneFile);
  m_mainFile->setVisible(oneFile);
  m_mainFileLabel->setVisible(oneFile);
  QStringList filters;
  for (const FormatItem& item : Formats()) {
    if (item.number != m_format) continue;
    for (const QString& pattern : QString::fromLatin1(item.extensions).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      filters << pattern << pattern.toUpper();
    }
  }
  m_fileModel->setNameFilters(filters);
  ShowFileList();
}

void TFexp::ShowFileList() {
  // The list of files watches its folder: only while it is shown, so that
  // a site written into the folder does not keep it busy.
  const bool oneFile = m_format != convert::kExpHtml && m_format != convert::kExpRtfPerPage;
  const QString root = oneFile ? m_folder->text() : QString();
  if (m_fileModel->rootPath() != root) m_fileList->setRootIndex(m_fileModel->setRootPath(root));
}

void TFexp::UpdateConverter() {
  const convert::HtmlExportOptions options = TFopzExp::Read(m_host.registry);
  m_html->ExportPath = fs::path(FolderText());
  m_html->SetExportPrefixOverride(m_host.set.ExpPrefix());
  m_html->ExpOrigName = options.origName;
  m_html->ExpSepImage = options.sepImage;
  m_html->ExpTipoExt = options.tipoExt;
}

void TFexp::RebuildList(bool keepChecks) {
  if (m_loading) {
    m_listDirty = true;
    m_defaultChecks = m_defaultChecks || !keepChecks;
    return;
  }
  convert::TAEHListHtmlToTx& list = m_list->List();
  std::vector<bool> checks;
  for (const convert::ExportListRow& row : list.Rows()) checks.push_back(row.checked);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  UpdateConverter();
  // The images and files show before a run has collected the ones the
  // pages use; their checks decide what the export writes.
  if (list.ListType == convert::ltHtml) list.ListAllFiles();
  list.Reload();
  if (!keepChecks || m_defaultChecks) {
    // Every page is checked except for a file per page, where none is.
    const bool all = m_format != convert::kExpRtfPerPage;
    list.CheckAll(all);
    m_all->setProperty("tag", all ? 1 : 0);
    m_all->setText(all ? QStringLiteral("None") : QStringLiteral("All"));
  } else if (checks.size() == list.Count()) {
    for (std::size_t i = 0; i < checks.size(); ++i) list.SetChecked(i, checks[i]);
  }
  m_list->Refill();
  m_listDirty = false;
  m_defaultChecks = false;
  QApplication::restoreOverrideCursor();
}

void TFexp::ToggleAll() {
  const bool check = m_all->property("tag").toInt() == 0;
  m_list->List().CheckAll(check);
  m_list->Refill();
  m_all->setProperty("tag", check ? 1 : 0);
  m_all->setText(check ? QStringLiteral("None") : QStringLiteral("All"));
}

void TFexp::BrowsePages() {
  std::vector<std::pair<int, std::string>> pages;
  for (int i = 0; i < m_host.set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = m_host.set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) pages.emplace_back(i, page->GetCaption());
  }
  const std::vector<int> chosen = ChoosePages(pages);
  if (chosen.empty()) return;
  convert::TAEHListHtmlToTx& list = m_list->List();
  for (std::size_t row = 0; row < list.Count(); ++row) {
    const document::ObjectId id = list.Rows()[row].id;
    if (id == convert::kStyleSheetRow || document::KindOf(id) != document::testoHtml) continue;
    for (const int page : chosen) {
      if (document::IndexOf(id) == page) list.SetChecked(row, true);
    }
  }
  m_list->Refill();
}

void TFexp::HtmlOptions() {
  TFopzExp options(m_host.registry, this);
  if (options.exec() == QDialog::Accepted) RebuildList(true);
}

void TFexp::SetFolder(const QString& folder) {
  QString shown = folder.trimmed();
  if (shown.isEmpty()) return;
  if (!shown.endsWith(QLatin1Char('/'))) shown += QLatin1Char('/');
  if (m_folder->text() != shown) m_folder->setText(shown);
  RevealFolder();
  ShowFileList();
  if (!m_loading) RebuildList(true);
}

void TFexp::RevealFolder() {
  QString shown = m_folder->text();
  if (shown.size() > 1 && shown.endsWith(QLatin1Char('/'))) shown.chop(1);
  const QModelIndex index = m_folderModel->index(shown);
  if (!index.isValid()) return;
  m_folderTree->setCurrentIndex(index);
  m_folderTree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFexp::BrowseFolder() {
  if (!m_host.askFolder) return;
  const std::string chosen = m_host.askFolder(FolderText());
  if (!chosen.empty()) SetFolder(PathToQString(chosen));
}

void TFexp::NewFolder() {
  QDir shown(m_folder->text());
  if (!shown.exists()) return;
  QString name = QStringLiteral("New folder");
  for (int n = 2; shown.exists(name); ++n) name = QStringLiteral("New folder (%1)").arg(n);
  if (shown.mkdir(name)) SetFolder(shown.filePath(name));
}

void TFexp::PreviousFolder() {
  QDir shown(m_folder->text());
  if (shown.cdUp()) SetFolder(shown.absolutePath());
}

bool TFexp::RunExport() {
  if (Running()) return false;
  if (m_listDirty) RebuildList(true);
  SaveSettings(m_format);
  convert::ExportRequest request;
  request.format = m_format;
  request.folder = fs::path(FolderText());
  request.mainFile = fs::path(Utf8(m_mainFile->text().trimmed())).filename().string();
  request.pages = m_list->List().CheckedPages();
  if (m_format == convert::kExpHtml) {
    request.filesChosen = m_list->List().FileRows(true);
    request.filesLeftOut = m_list->List().FileRows(false);
  }
  request.size = {m_width->value(), m_height->value(), m_top->value(), m_bottom->value(), m_left->value(),
                  m_right->value()};
  request.html = TFopzExp::Read(m_host.registry);
  request.titlesAsKeywords = m_titlesAsKeywords->isChecked();
  request.runHelpCompiler = m_runHcp->isChecked();
  request.registeredHelpCompiler = m_defaultHcp->isChecked();
  request.helpCompiler = Utf8(m_hcpPath->text().trimmed());
  request.wordProcessor = Utf8(m_wordProcessor->text().trimmed());

  convert::ExportJob job(m_host.set, &m_host.process);
  job.RegisteredProgram = m_host.registeredProgram;
  m_outcome = RunJob(job, request, m_host);
  if (m_outcome.cancelled) {
    Status()->setText(QStringLiteral("The export was cancelled; nothing was written."));
    return false;
  }
  Status()->clear();
  if (!m_outcome.ok) {
    if (!m_outcome.errorShown) m_host.messages.Error(m_outcome.error);
    return false;
  }
  if (!m_outcome.note.empty()) m_host.messages.Information(m_outcome.note);
  return true;
}

}  // namespace tarn::app::ui
