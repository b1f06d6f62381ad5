// The import dialog; see fimp.h.
#include "app/ui/fimp.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

#include "app/ui/fexp.h"
#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
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

// The phase in which an importer advances the bar by one step.
constexpr int kStepPhase = 10;
// Files the dialog takes from the desktop (HTML comes through the main
// window or the file list).
constexpr const char* kDropExtensions = "*.txt;*.ini;*.asc;*.rtf;*.pas;*.c;*.cpp;*.doc;*.wri;";

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

std::string ExtensionKey(const std::string& file) {
  return "*" + base::LowerCase(fs::path(file).extension().string()) + ";";
}

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(Utf8(url.toLocalFile()));
  }
  return files;
}

}  // namespace

std::string ImportFormatKey(int format) { return "imp\\" + std::to_string(format); }

const std::vector<TFimp::FormatItem>& TFimp::Formats() {
  static const std::vector<FormatItem> formats = {
      {convert::kImpHtml, "HTML", "*.htm;", "*.htm;*.html;"},
      {convert::kImpRtfPages, "RTF (Word, Word Perfect, Publisher, ...): more pages", "*.rtf;", "*.rtf;"},
      {convert::kImpRtfPerFile, "RTF (Word, Word Perfect, Publisher, ...): a page per file", "*.rtf;", "*.rtf;"},
      {convert::kImpWinHelp, "Rtf WINHELP (WinHelp Compiler)", "*.rtf;", "*.rtf;"},
      {convert::kImpAscii, "ASCII (Blocco note,...)", "*.txt;*.asc;*.pas;*.c;*.cpp;*.ini;*.h;*.inc;*.dpr;",
       "*.txt;*.asc;*.pas;*.c;*.cpp;*.ini;*.h;*.inc;*.dpr;"},
      {convert::kImpDocPages, "DOC (Word): more pages", "*.doc;*.wri;*.rtf;", "*.doc;*.wri;*.rtf;"},
      {convert::kImpDocPerFile, "DOC (Word): a page per file", "*.doc;*.wri;*.rtf;", "*.doc;*.wri;*.rtf;"},
  };
  return formats;
}

void TFimp::ShowProgress(int item, int total, int phase) {
  if (phase != kStepPhase) {
    Status()->setText(QStringLiteral("Importing, phase %1: %2%").arg(phase).arg(total > 0 ? item * 100 / total : 100));
    return;
  }
  // One step of the bar; it starts again when full.
  Bar()->setValue(Bar()->value() >= 100 ? 0 : Bar()->value() + 1);
}

TFimp::TFimp(Host host, QWidget* parent)
    : TTransferDialog(parent, "bImport", QStringLiteral("&Import")), m_host(std::move(host)) {
  setObjectName(QStringLiteral("FImp"));
  setWindowTitle(QStringLiteral("Import"));
  setAcceptDrops(true);
  ShowReport = [this](const std::vector<std::string>& lines) {
    QDialog report(this);
    report.setObjectName(QStringLiteral("FReport"));
    report.setWindowTitle(QStringLiteral("Report importazione Win Help:"));
    auto* list = new QListWidget(&report);
    for (const std::string& line : lines) list->addItem(ToQString(line));
    auto* layout = new QVBoxLayout(&report);
    layout->addWidget(list);
    auto* ok = NamedButton(&report, "bOk", QStringLiteral("&Ok"));
    connect(ok, &QPushButton::clicked, &report, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    // Wide enough for a page's line with its links.
    report.resize(560, 360);
    report.exec();
  };

  for (const FormatItem& item : Formats()) {
    const bool doc = item.number == convert::kImpDocPages || item.number == convert::kImpDocPerFile;
    if (doc && !m_host.wordProcessor) continue;
    FormatBox()->addItem(QString::fromLatin1(item.caption), item.number);
  }
  Tabs()->addTab(BuildFilesTab(), QStringLiteral("Files"));
  Tabs()->addTab(BuildOptionsTab(), QStringLiteral("Options"));
  m_autoTab = BuildAutomaticTab();
  Tabs()->addTab(m_autoTab, QStringLiteral("Automatic import, by following links"));
  connect(Tabs(), &QTabWidget::currentChanged, this, [this](int index) {
    // An empty start page begins in the folder the file list shows.
    if (Tabs()->widget(index) == m_autoTab && m_startPage->text().isEmpty()) m_startPage->setText(m_folder->text());
  });

  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
  m_placement = new FormPlacement(this, m_host.registry, QSize(560, 400));
  LoadSettings(m_format);
  FormatBox()->setCurrentIndex(FormatBox()->findData(m_format));
  connect(FormatBox(), &QComboBox::currentIndexChanged, this, &TFimp::FormatChosen);
  FormatChosen(FormatBox()->currentIndex());
}

TFimp::~TFimp() { SaveSettings(m_format); }

QWidget* TFimp::BuildFilesTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsFiles"));
  m_folder = new QLineEdit(page);
  m_folder->setObjectName(QStringLiteral("eDir"));
  auto* up = NamedButton(page, "bPrevDir", QStringLiteral("Previous directory"));
  m_fileModel = new QFileSystemModel(this);
  m_fileModel->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDot);
  m_fileModel->setNameFilterDisables(false);
  m_fileList = new QListView(page);
  m_fileList->setObjectName(QStringLiteral("lvFiles"));
  m_fileList->setModel(m_fileModel);
  m_fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_fileList->setDragEnabled(true);
  m_fileList->setDragDropMode(QAbstractItemView::DragOnly);
  m_chosen = new QListWidget(page);
  m_chosen->setObjectName(QStringLiteral("lvChosen"));
  m_chosen->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_chosen->setAcceptDrops(true);
  m_chosen->viewport()->setAcceptDrops(true);
  m_chosen->installEventFilter(this);
  m_chosen->viewport()->installEventFilter(this);
  auto* add = NamedButton(page, "bAdd", QStringLiteral("Add >>"));
  auto* remove = NamedButton(page, "bRemove", QStringLiteral("<< Remove"));
  m_mainFileLabel = new QLabel(QStringLiteral("(...)"), page);
  m_mainFileLabel->setObjectName(QStringLiteral("lMainFile"));

  connect(m_folder, &QLineEdit::editingFinished, this, [this] { SetFolder(m_folder->text()); });
  EnterRunsInstead(m_folder, [this] { SetFolder(m_folder->text()); });
  connect(up, &QPushButton::clicked, this, [this] {
    QDir shown(m_folder->text());
    if (shown.cdUp()) SetFolder(shown.absolutePath());
  });
  connect(m_fileList, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (m_fileModel->isDir(index)) {
      SetFolder(m_fileModel->filePath(index));
    } else {
      AddChosen(Utf8(m_fileModel->filePath(index)));
    }
  });
  connect(add, &QPushButton::clicked, this, &TFimp::AddSelected);
  connect(remove, &QPushButton::clicked, this, &TFimp::RemoveSelected);

  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(m_folder, 1);
  folderRow->addWidget(up);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  auto* lists = new QHBoxLayout;
  lists->addWidget(m_fileList, 1);
  lists->addLayout(buttons);
  lists->addWidget(m_chosen, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(folderRow);
  layout->addLayout(lists, 1);
  layout->addWidget(m_mainFileLabel);
  return page;
}

QWidget* TFimp::BuildOptionsTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsOptions"));
  auto check = [page](const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), page);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  m_allToGif = check("cbAllToGif", "Convert in GIF all imported images");
  m_summary = check("cbSummary", "use RTF headings to index and cut pages");
  m_common = check("cbComune", "common summary for all imported files");
  m_paragraphs = new QSpinBox(page);
  m_paragraphs->setObjectName(QStringLiteral("seNumParPerPag"));
  m_paragraphs->setRange(1, 100000);
  m_headingLevel = new QSpinBox(page);
  m_headingLevel->setObjectName(QStringLiteral("seTitLevel"));
  m_headingLevel->setRange(1, 9);
  m_useImage = check("cbUseImage", "Use image as background");
  m_image = new QComboBox(page);
  m_image->setObjectName(QStringLiteral("cbBackgroundImage"));
  for (int i = 0; i < m_host.set.CountOf(document::immagine); ++i) {
    const document::TAEHoggetto* image = m_host.set.GetObject(document::immagine, i);
    if (image != nullptr && !image->IsFree()) m_image->addItem(ToQString(image->GetCaption()), i);
  }
  m_useImage->setEnabled(m_image->count() > 0);
  m_colourButton = NamedButton(page, "bBackgroundColor", QStringLiteral("Background color"));
  connect(m_colourButton, &QPushButton::clicked, this, &TFimp::ChooseColour);
  ShowColour();

  auto* layout = new QFormLayout(page);
  layout->addRow(m_allToGif);
  layout->addRow(m_summary);
  layout->addRow(m_common);
  layout->addRow(QStringLiteral("Max paragraphs per page:"), m_paragraphs);
  layout->addRow(QStringLiteral("ignore headings with level > from:"), m_headingLevel);
  layout->addRow(m_useImage, m_image);
  layout->addRow(m_colourButton);
  return page;
}

QWidget* TFimp::BuildAutomaticTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsAutomatic"));
  m_startPage = new QLineEdit(page);
  m_startPage->setObjectName(QStringLiteral("eStartPage"));
  m_depth = new QSpinBox(page);
  m_depth->setObjectName(QStringLiteral("seLevels"));
  m_depth->setRange(1, 50);
  m_depth->setValue(10);
  auto* doList = NamedButton(page, "bDoList", QStringLiteral("Do list"));
  // Enter in the start page lists its pages instead of importing at once.
  EnterRunsInstead(m_startPage, [this] { DoList(); });
  m_autoList = new QListWidget(page);
  m_autoList->setObjectName(QStringLiteral("lbAutomatic"));
  m_autoList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_autoList->installEventFilter(this);
  m_autoCount = new QLabel(QStringLiteral("(0)"), page);
  m_autoCount->setObjectName(QStringLiteral("lCount"));
  connect(doList, &QPushButton::clicked, this, &TFimp::DoList);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Start page:"), m_startPage);
  form->addRow(QStringLiteral("Levels:"), m_depth);
  auto* row = new QHBoxLayout;
  row->addWidget(doList);
  row->addWidget(m_autoCount);
  row->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addLayout(row);
  layout->addWidget(m_autoList, 1);
  return page;
}

void TFimp::LoadSettings(int format) {
  platform::Registry& r = m_host.registry;
  const std::string key = ImportFormatKey(format);
  const std::string folder = StoredOrDefaultFolder(r.ReadSubkeyValue(key, "impPathInWindow"));
  m_allToGif->setChecked(r.ReadSubkeyValue(key, "allToGif") == "1");
  m_summary->setChecked(r.ReadSubkeyValue(key, "summary") == "1");
  m_common->setChecked(r.ReadSubkeyValue(key, "comune") == "1");
  m_paragraphs->setValue(platform::ParseNumber(r.ReadSubkeyValue(key, "numParPerPag"), 100));
  m_headingLevel->setValue(platform::ParseNumber(r.ReadSubkeyValue(key, "titLevel"), 4));
  SetFolder(PathToQString(folder));
}

void TFimp::SaveSettings(int format) {
  platform::Registry& r = m_host.registry;
  const std::string key = ImportFormatKey(format);
  std::string folder = Utf8(m_folder->text().trimmed());
  if (!folder.empty() && folder.back() != '/') folder += '/';
  r.WriteSubkeyValue(key, "impPathInWindow", folder);
  r.WriteSubkeyValue(key, "allToGif", m_allToGif->isChecked() ? "1" : "0");
  r.WriteSubkeyValue(key, "summary", m_summary->isChecked() ? "1" : "0");
  r.WriteSubkeyValue(key, "comune", m_common->isChecked() ? "1" : "0");
  r.WriteSubkeyValue(key, "numParPerPag", std::to_string(m_paragraphs->value()));
  r.WriteSubkeyValue(key, "titLevel", std::to_string(m_headingLevel->value()));
}

void TFimp::SetFormat(int number) {
  const int index = FormatBox()->findData(number);
  if (index >= 0) FormatBox()->setCurrentIndex(index);
}

void TFimp::FormatChosen(int index) {
  const int number = FormatBox()->itemData(index).toInt();
  if (number != m_format) {
    SaveSettings(m_format);
    m_format = number;
    LoadSettings(number);
  }
  QStringList filters;
  for (const FormatItem& item : Formats()) {
    if (item.number != number) continue;
    for (const QString& pattern : QString::fromLatin1(item.mask).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      filters << pattern << pattern.toUpper();
    }
  }
  m_fileModel->setNameFilters(filters);
  Tabs()->setTabVisible(Tabs()->indexOf(m_autoTab), number == convert::kImpHtml);
  const bool rtf = number != convert::kImpHtml && number != convert::kImpAscii;
  for (QWidget* w : std::initializer_list<QWidget*>{m_allToGif, m_summary, m_common, m_headingLevel}) w->setEnabled(rtf);
  UpdateMainFile();
}

void TFimp::SetFolder(const QString& folder) {
  QString shown = folder.trimmed();
  if (shown.isEmpty()) return;
  if (!shown.endsWith(QLatin1Char('/'))) shown += QLatin1Char('/');
  m_folder->setText(shown);
  m_fileList->setRootIndex(m_fileModel->setRootPath(shown));
}

bool TFimp::Accepts(int format, const std::string& file) const {
  const std::string key = ExtensionKey(file);
  for (const FormatItem& item : Formats()) {
    if (item.number == format) return std::string(item.extensions).find(key) != std::string::npos;
  }
  return false;
}

int TFimp::FormatOf(const std::string& file) const {
  for (int i = 0; i < FormatBox()->count(); ++i) {
    const int number = FormatBox()->itemData(i).toInt();
    if (Accepts(number, file)) return number;
  }
  return -1;
}

void TFimp::AddChosen(const std::string& file) {
  // The older program kept the names in lower case; here names are
  // case-sensitive, so they are kept as they are.
  const QString shown = PathToQString(file);
  if (!m_chosen->findItems(shown, Qt::MatchExactly).isEmpty()) return;
  m_chosen->addItem(shown);
  UpdateMainFile();
}

std::vector<std::string> TFimp::ChosenFiles() const {
  std::vector<std::string> files;
  for (int i = 0; i < m_chosen->count(); ++i) files.push_back(Utf8(m_chosen->item(i)->text()));
  return files;
}

void TFimp::OpenWith(const std::vector<std::string>& files) {
  if (files.empty()) return;
  const int format = FormatOf(files.front());
  if (format < 0) return;
  SetFormat(format);
  AddChosen(files.front());
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (Accepts(m_format, files[i])) AddChosen(files[i]);
  }
}

void TFimp::OpenAutomatic(const std::string& start) {
  SetFormat(convert::kImpHtml);
  m_startPage->setText(PathToQString(start));
  Tabs()->setCurrentWidget(m_autoTab);
  DoList();
}

void TFimp::DropFiles(const std::vector<std::string>& files) {
  if (files.empty() || std::string(kDropExtensions).find(ExtensionKey(files.front())) == std::string::npos) return;
  std::size_t first = 0;
  if (m_chosen->count() == 0) {
    OpenWith({files.front()});
    first = 1;
  }
  for (std::size_t i = first; i < files.size(); ++i) {
    if (Accepts(m_format, files[i])) AddChosen(files[i]);
  }
}

void TFimp::AddSelected() {
  for (const QModelIndex& index : m_fileList->selectionModel()->selectedIndexes()) {
    if (!m_fileModel->isDir(index)) AddChosen(Utf8(m_fileModel->filePath(index)));
  }
}

void TFimp::RemoveSelected() {
  qDeleteAll(m_chosen->selectedItems());
  UpdateMainFile();
}

void TFimp::UpdateMainFile() {
  m_mainFileLabel->setVisible(m_format == convert::kImpWinHelp);
  m_mainFileLabel->setText(m_chosen->count() > 0 ? m_chosen->item(0)->text() : QStringLiteral("(...)"));
}

void TFimp::ShowColour() {
  const QColor colour(static_cast<int>(m_colour & 0xFF), static_cast<int>((m_colour >> 8) & 0xFF),
                      static_cast<int>((m_colour >> 16) & 0xFF));
  m_colourButton->setStyleSheet(QStringLiteral("QPushButton { border-left: 16px solid %1; padding-left: 6px; }")
                                    .arg(colour.name()));
}

void TFimp::ChooseColour() {
  const QColor current(static_cast<int>(m_colour & 0xFF), static_cast<int>((m_colour >> 8) & 0xFF),
                       static_cast<int>((m_colour >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(current, this, QStringLiteral("Background color"));
  if (!chosen.isValid()) return;
  // Colours are kept with red in the lowest byte.
  m_colour = static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8) |
             (static_cast<std::uint32_t>(chosen.blue()) << 16);
  ShowColour();
}

void TFimp::DoList() {
  m_autoList->clear();
  const std::string start = Utf8(m_startPage->text().trimmed());
  std::error_code ec;
  if (start.empty() || !fs::is_regular_file(start, ec)) {
    m_autoCount->setText(QStringLiteral("(0)"));
    return;
  }
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&m_host.set);
  convert::CrawlLimits limits;
  limits.depth = m_depth->value();
  const convert::CrawlResult crawl = html.CollectLinkedFiles(start, limits);
  for (const fs::path& file : crawl.files) m_autoList->addItem(PathToQString(file.string()));
  if (m_autoList->count() == 0) m_autoList->addItem(PathToQString(start));
  m_autoCount->setText(QStringLiteral("(%1)").arg(m_autoList->count()));
}

bool TFimp::RunImport() {
  if (Running()) return false;
  SaveSettings(m_format);
  convert::ImportRequest request;
  request.format = m_format;
  const bool automatic = m_format == convert::kImpHtml && Tabs()->currentWidget() == m_autoTab;
  if (automatic) {
    if (m_autoList->count() == 0) DoList();
    for (int i = 0; i < m_autoList->count(); ++i) request.files.emplace_back(Utf8(m_autoList->item(i)->text()));
  } else {
    if (m_chosen->count() == 0) {
      // The file selected in the file list stands in.
      const QModelIndex current = m_fileList->currentIndex();
      if (current.isValid() && !m_fileModel->isDir(current)) AddChosen(Utf8(m_fileModel->filePath(current)));
    }
    for (const std::string& file : ChosenFiles()) request.files.emplace_back(file);
  }
  if (request.files.empty()) {
    m_host.messages.Information("You should choose one file at least");
    return false;
  }
  request.allToGif = m_allToGif->isChecked();
  request.headingsCut = m_summary->isChecked();
  request.commonIndex = m_common->isChecked();
  request.paragraphsPerPage = m_paragraphs->value();
  request.headingLevel = m_headingLevel->value();
  request.backgroundColour = m_colour;
  request.backgroundImage = m_useImage->isChecked() && m_image->count() > 0 ? m_image->currentData().toInt() : -1;
  request.wordProcessor = m_host.registry.ReadOption(kWordProcessorOption);

  convert::ImportJob job(m_host.set, &m_host.process);
  m_outcome = RunJob(job, request, m_host);
  Status()->clear();
  if (!m_outcome.error.empty()) m_host.messages.Error(m_outcome.error);
  if (m_format == convert::kImpWinHelp && !m_outcome.winHelpReport.empty() && ShowReport) {
    ShowReport(convert::ImportJob::WinHelpReportLines(m_outcome.winHelpReport));
  }
  // The pages made stay, cancelled or not: the dialog closes to show them.
  return m_outcome.pagesMade > 0 || m_outcome.error.empty();
}

void TFimp::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !Running()) event->acceptProposedAction();
}

void TFimp::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = LocalFiles(event->mimeData());
  // Entries dragged from the dialog's own file list are added as Add does;
  // files from the desktop follow the drop rules.
  if (event->source() == m_fileList) {
    for (const std::string& file : files) {
      if (!fs::is_directory(file)) AddChosen(file);
    }
  } else {
    DropFiles(files);
  }
  event->acceptProposedAction();
}

bool TFimp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    if (watched == m_chosen) {
      RemoveSelected();
      return true;
    }
    if (watched == m_autoList) {
      qDeleteAll(m_autoList->selectedItems());
      m_autoCount->setText(QStringLiteral("(%1)").arg(m_autoList->count()));
      return true;
    }
  }
  if (watched == m_chosen->viewport()) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      dropEvent(static_cast<QDropEvent*>(event));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarn::app::ui
