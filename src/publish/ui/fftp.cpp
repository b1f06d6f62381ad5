// The FTP publishing dialog.
#include "publish/ui/fftp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ui/fexp.h"
#include "app/ui/listhtmltotxview.h"
#include "convert/aehtohtml.h"
#include "convert/exportprogress.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "publish/exportlistrows.h"
#include "publish/ftppublisher.h"
#include "publish/netconfig.h"
#include "publish/versionpage.h"
#include "publish/ui/krftplistview.h"
#include "publish/ui/krftptxrxbar.h"

namespace tarn::publish::ui {
namespace {

using platform::qt::NamedButton;
using platform::qt::ToQString;

constexpr int kConnectDelayMs = 100;

std::string Text(const QLineEdit* edit) { return edit->text().toUtf8().toStdString(); }

// The progress of a new export in the dialog's status line.
class StatusLineProgress : public convert::ExportProgress {
 public:
  explicit StatusLineProgress(QLabel* status) : m_status(status) {}
  void OnExpProgress(const convert::TAEHconv&, int item, int total, int phase) override {
    const int percent = total > 0 ? item * 100 / total : 100;
    m_status->setText(QStringLiteral("Export in corso, fase %1: %2%").arg(phase).arg(percent));
    m_status->repaint();
  }
  void ProcessPendingEvents() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

 private:
  QLabel* m_status;
};

QLineEdit* NamedEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

}  // namespace

void ApplyHtmlOptions(platform::Registry& registry, convert::TAEHtoHtml& converter) {
  const convert::HtmlExportOptions options = app::ui::TFopzExp::Read(registry);
  converter.ExpOrigName = options.origName;
  converter.ExpSepImage = options.sepImage;
  converter.AutoAlt = options.autoAlt;
  converter.ExpTipoExt = options.tipoExt;
  converter.ExpUtf8 = options.utf8;
}

TFftp::TFftp(Host host, int mode, QWidget* parent)
    : QDialog(parent), m_host(std::move(host)), m_mode(mode), m_store(std::make_unique<FtpConfigurations>(m_host.registry)) {
  setObjectName(QStringLiteral("Fftp"));
  setWindowTitle(QStringLiteral("Pubblicazione in rete tramite FTP"));
  ChoosePages = [this](const std::vector<std::pair<int, std::string>>& pages) {
    return app::ui::ChoosePagesDialog(this, pages);
  };
  m_bar = new TKrFtpTxRxBar(m_host.sockets, this);
  m_tabs = new QTabWidget(this);
  m_tabs->addTab(MakePublishTab(), QStringLiteral("Publish"));
  m_tabs->addTab(MakeTransferTab(), QStringLiteral("AEH transfer"));
  m_tabs->addTab(MakeSettingsTab(), QStringLiteral("Settings"));
  m_address = new QLabel(this);
  m_address->setObjectName(QStringLiteral("lAddress"));
  m_address->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("lStatus"));
  m_publish = NamedButton(this, "bPublish", QStringLiteral("Publish"));
  auto* close = NamedButton(this, "bClose", QStringLiteral("&Close"));
  connect(m_publish, &QPushButton::clicked, this, [this] {
    if (m_mode == 2) {
      if (!SaveFirst()) return;
      std::error_code error;
      if (m_host.set == nullptr || !std::filesystem::exists(m_host.set->AEHFileName(), error)) {
        SetStatus(QStringLiteral("Error: ") +
                  ToQString(m_host.set ? m_host.set->AEHFileName().filename().string() : std::string()));
        return;
      }
      SendSelected();
    } else {
      Publish();
    }
  });
  connect(close, &QPushButton::clicked, this, [this] {
    SaveConfig();
    m_store->SetSelected(m_mode, m_current);
    accept();
  });
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_status, 1);
  bottom->addWidget(m_publish);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs, 1);
  layout->addWidget(m_address);
  layout->addWidget(m_bar);
  layout->addLayout(bottom);

  for (const std::string& name : m_store->Names()) m_configs->addItem(ToQString(name));
  m_autoModified->setChecked(m_store->AutoChooseModified());
  if (m_mode == 3) {
    m_tabs->removeTab(1);
    m_tabs->removeTab(0);
    m_publish->hide();
  } else if (m_mode == 2) {
    m_tabs->removeTab(0);
  } else {
    m_tabs->removeTab(1);
  }
  resize(760, 520);
}

TFftp::~TFftp() = default;

QWidget* TFftp::MakePublishTab() {
  auto* page = new QWidget(this);
  m_rowsView = new app::ui::TAEHListHtmlToTxView(page);
  m_rowsView->setObjectName(QStringLiteral("ListHtmlToTx"));
  m_rows = std::make_unique<ExportListRows>(m_rowsView->List());
  auto* all = NamedButton(page, "bAll", QStringLiteral("&All"));
  auto* modified = NamedButton(page, "bModified", QStringLiteral("&Modified"));
  auto* browse = NamedButton(page, "bBrowse", QStringLiteral("Browse..."), QStringLiteral("Check the pages chosen"));
  auto* options = NamedButton(page, "bOptions", QStringLiteral("Options..."),
                              QStringLiteral("HTML options; the site is exported again"));
  m_autoModified = new QCheckBox(QStringLiteral("automatically select modified items"), page);
  m_autoModified->setObjectName(QStringLiteral("cAutoModified"));
  connect(all, &QPushButton::clicked, this, [this] {
    bool any = false;
    for (int i = 0; i < m_rows->RowCount(); ++i) any = any || m_rows->Checked(i);
    ExportList().CheckAll(!any);
    FillRows();
  });
  connect(modified, &QPushButton::clicked, this, [this] { CheckModified(); });
  connect(browse, &QPushButton::clicked, this, [this] { BrowsePages(); });
  connect(options, &QPushButton::clicked, this, [this] { HtmlOptions(); });
  m_publishList = new TKrFTPlistView(page);
  m_publishCombo = new TKrFTPComboBox(page);
  m_publishList->LinkedFTPbar = m_bar;
  m_publishList->LinkedFTPCombo = m_publishCombo;
  m_publishCombo->LinkedFTPList = m_publishList;
  // An empty text from the list (a reload that went well) leaves the
  // release just read on show.
  m_publishList->OnStatus = [this](const std::string& text) {
    if (!text.empty()) SetStatus(QString::fromUtf8(text.c_str()));
  };
  m_publishList->OnReload = [this] { ReadRelease(); };

  auto* left = new QVBoxLayout;
  left->addWidget(m_rowsView, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(all);
  buttons->addWidget(modified);
  buttons->addWidget(browse);
  buttons->addWidget(options);
  buttons->addStretch();
  left->addLayout(buttons);
  left->addWidget(m_autoModified);
  auto* right = new QVBoxLayout;
  right->addWidget(m_publishCombo);
  right->addWidget(m_publishList, 1);
  right->addLayout(RemoteButtons(page, m_publishList, ""));
  auto* row = new QHBoxLayout(page);
  row->addLayout(left, 3);
  row->addLayout(right, 2);
  return page;
}

QWidget* TFftp::MakeTransferTab() {
  auto* page = new QWidget(this);
  m_local = new QListWidget(page);
  m_local->setObjectName(QStringLiteral("LocalFiles"));
  m_local->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* send = NamedButton(page, "bSend", QStringLiteral("publish >"));
  auto* get = NamedButton(page, "bGet", QStringLiteral("< get"));
  connect(send, &QPushButton::clicked, this, [this] { SendSelected(); });
  connect(get, &QPushButton::clicked, this, [this] { GetSelected(); });
  m_transferList = new TKrFTPlistView(page);
  m_transferCombo = new TKrFTPComboBox(page);
  m_transferList->LinkedFTPbar = m_bar;
  m_transferList->LinkedFTPCombo = m_transferCombo;
  m_transferCombo->LinkedFTPList = m_transferList;
  m_transferList->OnStatus = [this](const std::string& text) {
    if (!text.empty()) SetStatus(QString::fromUtf8(text.c_str()));
  };
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(send);
  middle->addWidget(get);
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(m_transferCombo);
  right->addWidget(m_transferList, 1);
  right->addLayout(RemoteButtons(page, m_transferList, "T"));
  auto* row = new QHBoxLayout(page);
  row->addWidget(m_local, 1);
  row->addLayout(middle);
  row->addLayout(right, 1);
  return page;
}

QWidget* TFftp::MakeSettingsTab() {
  auto* page = new QWidget(this);
  m_configs = new QComboBox(page);
  m_configs->setObjectName(QStringLiteral("cbConfig"));
  auto* add = NamedButton(page, "bAddNew", QStringLiteral("Add new..."));
  auto* rename = NamedButton(page, "bRename", QStringLiteral("Rename present..."));
  auto* apply = NamedButton(page, "bApply", QStringLiteral("Apply settings"));
  m_port = new QSpinBox(page);
  m_port->setObjectName(QStringLiteral("sePort"));
  m_port->setRange(1, 65535);
  m_timeout = new QSpinBox(page);
  m_timeout->setObjectName(QStringLiteral("seTimeout"));
  m_timeout->setRange(1, 3600);
  m_savePass = new QCheckBox(QStringLiteral("Save password"), page);
  m_savePass->setObjectName(QStringLiteral("cSavePass"));
  auto* password = NamedEdit(page, "ePassword");
  password->setEchoMode(QLineEdit::Password);
  auto* form = new QFormLayout(page);
  auto* configRow = new QHBoxLayout;
  configRow->addWidget(m_configs, 1);
  configRow->addWidget(add);
  configRow->addWidget(rename);
  form->addRow(QStringLiteral("Configuration"), configRow);
  form->addRow(QStringLiteral("Server"), NamedEdit(page, "eServer"));
  form->addRow(QStringLiteral("Port"), m_port);
  form->addRow(QStringLiteral("Time-out (s)"), m_timeout);
  form->addRow(QStringLiteral("Folder"), NamedEdit(page, "eBaseDir"));
  form->addRow(QStringLiteral("User"), NamedEdit(page, "eUser"));
  form->addRow(QStringLiteral("Password"), password);
  form->addRow(QString(), m_savePass);
  form->addRow(QStringLiteral("Web address"), NamedEdit(page, "eWww"));
  form->addRow(QString(), apply);
  connect(m_configs, &QComboBox::activated, this, [this](int index) {
    if (index == m_current) return;
    m_bar->Comm().Abort();
    SaveConfig();
    LoadConfig(index);
    Connect();
  });
  connect(add, &QPushButton::clicked, this, [this] {
    SaveConfig();
    const QString name = QInputDialog::getText(this, QStringLiteral("Pubblicazione in rete tramite FTP"),
                                               QStringLiteral("Inserisci il nome per la nuova configurazione server"));
    if (name.isEmpty()) return;
    const int index = m_store->Add(name.toUtf8().toStdString());
    while (m_configs->count() <= index) m_configs->addItem(QString());
    m_configs->setItemText(index, name);
    m_configs->setCurrentIndex(index);
    LoadConfig(index);
  });
  connect(rename, &QPushButton::clicked, this, [this] {
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Pubblicazione in rete tramite FTP"),
        QStringLiteral("Rinomina la configurazione \"") + m_configs->currentText() + QStringLiteral("\":"));
    if (name.isEmpty()) return;
    m_configs->setItemText(m_current, name);
    SaveConfig();
    Connect();
  });
  connect(apply, &QPushButton::clicked, this, [this] {
    SaveConfig();
    m_bar->Comm().Abort();
    Connect();
  });
  return page;
}

QHBoxLayout* TFftp::RemoteButtons(QWidget* page, TKrFTPlistView* list, const char* suffix) {
  // The two tabs each have a row; the suffix keeps their names apart.
  auto name = [suffix](const char* base) { return std::string(base) + suffix; };
  auto* up = NamedButton(page, name("bUp").c_str(), QStringLiteral("Up"), QStringLiteral("The folder above"));
  auto* reload = NamedButton(page, name("bReload").c_str(), QStringLiteral("Reload"));
  auto* folder = NamedButton(page, name("bNewFolder").c_str(), QStringLiteral("New folder"),
                             QStringLiteral("Make a folder on the server"));
  auto* remove = NamedButton(page, name("bDelete").c_str(), QStringLiteral("Delete"),
                             QStringLiteral("Delete the selected files and folders on the server"));
  connect(up, &QPushButton::clicked, this, [list] { list->GoUp(); });
  connect(reload, &QPushButton::clicked, this, [list] { list->Reload(); });
  connect(folder, &QPushButton::clicked, this, [this] { NewRemoteFolder(); });
  connect(remove, &QPushButton::clicked, this, [this, list] {
    const auto rows = list->selectedItems();
    if (rows.isEmpty()) return;
    const QString what = rows.size() == 1 ? QStringLiteral("\"") + rows.front()->text(0) + QStringLiteral("\"")
                                          : QString::number(rows.size()) + QStringLiteral(" items");
    if (m_host.messages.Ask("Delete " + what.toStdString() + " on the server?") != platform::Answer::Yes) return;
    list->DeleteSelected();
  });
  auto* row = new QHBoxLayout;
  row->addWidget(up);
  row->addWidget(reload);
  row->addWidget(folder);
  row->addWidget(remove);
  row->addStretch();
  return row;
}

convert::TAEHListHtmlToTx& TFftp::ExportList() { return m_rowsView->List(); }

QTreeWidget* TFftp::Rows() const { return m_rowsView; }

void TFftp::BrowsePages() {
  if (m_host.set == nullptr || !ChoosePages) return;
  std::vector<std::pair<int, std::string>> pages;
  for (int i = 0; i < m_host.set->CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = m_host.set->GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) pages.emplace_back(i, page->GetCaption());
  }
  const std::vector<int> chosen = ChoosePages(pages);
  convert::TAEHListHtmlToTx& list = ExportList();
  for (std::size_t row = 0; row < list.Count(); ++row) {
    const document::ObjectId id = list.Rows()[row].id;
    if (id == convert::kStyleSheetRow || document::KindOf(id) != document::testoHtml) continue;
    if (std::find(chosen.begin(), chosen.end(), document::IndexOf(id)) != chosen.end()) list.SetChecked(row, true);
  }
  FillRows();
}

void TFftp::HtmlOptions() {
  app::ui::TFopzExp options(m_host.registry, this);
  if (options.exec() == QDialog::Accepted) ExportAgain();
}

bool TFftp::ExportAgain() {
  if (m_host.converter == nullptr || m_mode > 1) return false;
  convert::TAEHtoHtml& converter = *m_host.converter;
  ApplyHtmlOptions(m_host.registry, converter);
  convert::TAEHListHtmlToTx& list = ExportList();
  list.FilesToList().Clear();
  list.PagesToList().clear();
  StatusLineProgress progress(m_status);
  converter.OnExpProgress = &progress;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = converter.ExportAllPages(list.FilesToList());
  QApplication::restoreOverrideCursor();
  converter.OnExpProgress = nullptr;
  m_rowsView->Reload();
  if (!ok) {
    SetStatus(QString::fromStdString(converter.ErrorText().empty() ? std::string("Error") : converter.ErrorText()));
    return false;
  }
  SetStatus({});
  // Other options rewrite every page (names, links, image folder): the
  // whole site goes again, whatever the stamps say.
  ExportList().CheckAll(true);
  FillRows();
  return true;
}

int TFftp::NewRemoteFolder() {
  TKrFTPlistView* list = RemoteList();
  std::string name = "New folder";
  for (int n = 2; list->Row(name) != nullptr; ++n) name = "New folder (" + std::to_string(n) + ")";
  return list->NewFolder(name);
}

QLineEdit* TFftp::Field(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

TKrFTPlistView* TFftp::RemoteList() const { return m_mode == 2 ? m_transferList : m_publishList; }

QString TFftp::StatusText() const { return m_status->text(); }

void TFftp::SetStatus(const QString& text) {
  // Replies of the server are shown without their code.
  m_status->setText(!text.isEmpty() && text[0].isDigit() && text.size() > 3 ? text.mid(4) : text);
}

void TFftp::ShowAddress() {
  // The address of the cover page as the server will show it.
  std::string address = Text(Field("eWww"));
  if (m_host.set != nullptr && m_host.converter != nullptr) {
    const int cover = m_host.set->HeaderI32(document::header::kCoverPage);
    if (const document::TAEHoggetto* page = m_host.set->GetObject(document::testoHtml, cover)) {
      address += m_host.converter->OutputFileName(*page, 0);
    }
  }
  m_address->setText(ToQString(address));
}

void TFftp::LoadConfig(int index) {
  m_current = index;
  const FtpConfig c = m_store->Load(index);
  Field("eServer")->setText(QString::fromUtf8(c.server.c_str()));
  m_port->setValue(c.port);
  m_timeout->setValue(c.timeout);
  Field("eBaseDir")->setText(QString::fromUtf8(c.baseDir.c_str()));
  Field("eUser")->setText(QString::fromUtf8(c.user.c_str()));
  Field("eWww")->setText(QString::fromUtf8(c.www.c_str()));
  Field("ePassword")->setText(QString::fromUtf8(c.password.c_str()));
  m_savePass->setChecked(c.savePassword);
  ShowAddress();
}

void TFftp::SaveConfig() {
  if (m_current < 0 || m_current >= m_configs->count()) return;
  FtpConfig c = m_store->Load(m_current);
  c.name = m_configs->itemText(m_current).toUtf8().toStdString();
  c.server = Text(Field("eServer"));
  c.port = m_port->value();
  c.timeout = m_timeout->value();
  c.baseDir = Text(Field("eBaseDir"));
  c.user = Text(Field("eUser"));
  c.www = Text(Field("eWww"));
  c.savePassword = m_savePass->isChecked();
  c.password = Text(Field("ePassword"));
  m_store->Save(m_current, c);
}

void TFftp::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  if (m_configs->count() == 0) {
    m_configs->addItem(QStringLiteral("Default"));
    FtpConfig fallback;
    fallback.name = "Default";
    m_store->Save(0, fallback);
    m_host.registry.WriteSubkeyValue("ftpnet", "numConfTot", "1");
  }
  const int selected = m_store->Selected(m_mode);
  m_configs->setCurrentIndex(selected);
  LoadConfig(selected);
  if (m_mode == 2) FillLocal();
  if (m_mode <= 1 && m_host.converter != nullptr) {
    // The prefix is the hypertext's own, as the version page names it.
    m_host.converter->SetExportPrefixOverride({});
    m_rowsView->List().SetLinkedAEHtoHtml(m_host.converter);
    m_rowsView->Reload();
  }
  if (m_mode != 3) QTimer::singleShot(kConnectDelayMs, this, [this] { Connect(); });
}

void TFftp::Connect() {
  if (m_mode == 3) return;
  TKrFTPlistView* list = RemoteList();
  list->Disconnect();
  ShowAddress();
  T_Ftp& ftp = m_bar->Comm().Engine();
  ftp.Host = Text(Field("eServer"));
  ftp.Port = m_port->value();
  ftp.TimeoutMs = m_timeout->value() * 1000;
  ftp.User = Text(Field("eUser"));
  ftp.Password = Text(Field("ePassword"));
  const int result = list->SetDirectory(Text(Field("eBaseDir")));
  if (result == kResultFailed || list->LastResult() == kResultFailed) SetStatus(QStringLiteral("Connection impossible"));
}

void TFftp::FillRows() { m_rowsView->Refill(); }

void TFftp::ReadRelease() {
  if (m_mode > 1 || m_host.converter == nullptr) return;
  const std::string name = VersionPageName(m_host.converter->ExportPrefix());
  m_release = -1;
  if (m_publishList->Row(name) != nullptr) {
    TFtpPublisher publisher(m_bar->Comm(), *m_rows, *m_host.converter);
    m_release = publisher.ReadRelease(m_publishList->Directory());
  }
  SetStatus(m_release < 0 ? QStringLiteral("No release of this hypertext was on server")
                          : QStringLiteral("Release currently on server: ") + QString::number(m_release));
  if (m_autoModified->isChecked()) CheckModified();
}

void TFftp::CheckModified() {
  m_rows->CheckNewerThan(m_release);
  FillRows();
}

bool TFftp::CheckPassword() {
  if (!Field("ePassword")->text().isEmpty()) return true;
  m_host.messages.Information("Insert password!");
  if (m_mode != 3) m_tabs->setCurrentIndex(m_tabs->count() - 1);
  Field("ePassword")->setFocus();
  return false;
}

bool TFftp::SaveFirst() {
  if (!m_host.isModified || !m_host.isModified()) return true;
  if (m_host.messages.Ask("Need to save file locally. Can I go?") == platform::Answer::Yes && m_host.save) {
    m_host.save();
  }
  return true;
}

int TFftp::Publish() {
  if (m_mode > 1 || m_host.converter == nullptr || m_host.set == nullptr) return kResultRefused;
  if (m_bar->Comm().Running()) {
    m_host.messages.Information("Operation in progress, please wait...");
    return kResultRefused;
  }
  if (!CheckPassword()) return kResultRefused;
  SaveFirst();
  std::error_code error;
  if (!std::filesystem::exists(m_host.set->AEHFileName(), error)) {
    SetStatus(QStringLiteral("Interrupted by user"));
    return kResultStopped;
  }
  m_publish->setEnabled(false);
  TKrFtpComm& comm = m_bar->Comm();
  int result = comm.Engine().Connected() ? kResultOk : comm.Login();
  if (result == kResultOk) {
    TFtpPublisher publisher(comm, *m_rows, *m_host.converter);
    publisher.OnStatus = [this](const std::string& text) { SetStatus(QString::fromUtf8(text.c_str())); };
    result = publisher.Publish(m_publishList->Directory(), m_host.set->Revision() - 1);
    if (publisher.Modified() && m_host.markModified) m_host.markModified();
    if (result == kResultOk) m_publishList->Reload();
  }
  FillRows();
  SetStatus(QString::fromStdString(TFtpPublisher::ResultText(result, false)));
  m_publish->setEnabled(true);
  return result;
}

void TFftp::FillLocal() {
  m_local->clear();
  if (m_host.set == nullptr) return;
  m_localFolder = m_host.set->AEHFileName().parent_path();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(m_localFolder, error)) {
    if (!entry.is_regular_file(error)) continue;
    std::string extension = entry.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".aeh") continue;
    auto* item = new QListWidgetItem(QString::fromUtf8(entry.path().filename().string().c_str()), m_local);
    if (entry.path() == m_host.set->AEHFileName()) item->setSelected(true);
  }
  m_local->sortItems();
}

int TFftp::SendSelected() {
  if (m_bar->Comm().Running() || !CheckPassword()) return kResultRefused;
  TKrFtpComm& comm = m_bar->Comm();
  int result = comm.Engine().Connected() ? kResultOk : comm.Login();
  for (QListWidgetItem* item : m_local->selectedItems()) {
    if (result != kResultOk) break;
    const std::string name = item->text().toUtf8().toStdString();
    result = comm.UploadFile(m_localFolder / name, m_transferList->Directory() + name);
  }
  if (result == kResultOk) m_transferList->Reload();
  SetStatus(QString::fromStdString(TFtpPublisher::ResultText(result, true)));
  return result;
}

int TFftp::GetSelected() {
  if (m_bar->Comm().Running() || !CheckPassword()) return kResultRefused;
  TKrFtpComm& comm = m_bar->Comm();
  int result = comm.Engine().Connected() ? kResultOk : comm.Login();
  for (QTreeWidgetItem* row : m_transferList->selectedItems()) {
    if (result != kResultOk) break;
    const std::string name = m_transferList->FileNameOf(row);
    if (name.empty()) continue;
    // A server's name never leads out of the chosen folder.
    if (!IsSafeLocalName(name)) {
      result = kResultFailed;
      break;
    }
    result = comm.DownloadFile(m_transferList->Directory() + name, m_localFolder / name);
  }
  FillLocal();
  SetStatus(QString::fromStdString(TFtpPublisher::ResultText(result, true)));
  return result;
}

void TFftp::reject() { done(QDialog::Rejected); }

void TFftp::done(int result) {
  if (m_bar->Comm().Running()) {
    if (m_host.messages.Ask("Network operation in progress. Abort?") != platform::Answer::Yes) return;
    m_bar->Comm().Abort();
  }
  SaveConfig();
  m_store->SetAutoChooseModified(m_autoModified->isChecked());
  RemoteList()->Disconnect();
  QDialog::done(result);
}

}  // namespace tarn::publish::ui
