// The server publishing dialog.
#include "publish/ui/frete.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "publish/netconfig.h"
#include "publish/ui/tarn3txrxbar.h"

namespace tarn::publish::ui {
namespace {

using platform::qt::NamedButton;

constexpr int kMinPasswordLength = 5;
// The prompts of the configurations are those of the FTP dialog.
constexpr const char* kNewConfigPrompt = "Inserisci il nome per la nuova configurazione server";

std::string Text(const QLineEdit* edit) { return edit->text().toUtf8().toStdString(); }

QLineEdit* NamedEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

}  // namespace

TFrete::TFrete(Host host, int mode, QWidget* parent)
    : QDialog(parent), m_host(std::move(host)), m_mode(mode), m_store(std::make_unique<Tarn3Configurations>(m_host.registry)) {
  setObjectName(QStringLiteral("Frete"));
  setWindowTitle(QStringLiteral("Publishing on a Tarn server"));
  m_bar = new TTarn3TxRxBar(m_host.sockets, m_host.messages, this);
  m_list = new TTarn3ListView(this);
  m_sections = new TTarn3ComboBox(this);
  m_port = new QSpinBox(this);
  m_port->setObjectName(QStringLiteral("sePort"));
  m_port->setRange(1, 65535);
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("lStatus"));
  auto* password = NamedEdit(this, "ePassword");
  password->setEchoMode(QLineEdit::Password);
  m_configs = new QComboBox(this);
  m_configs->setObjectName(QStringLiteral("cbConfig"));
  auto* add = NamedButton(this, "bAddNew", QStringLiteral("Add new..."));
  auto* rename = NamedButton(this, "bRename", QStringLiteral("Rename present..."));
  auto* proxy = NamedEdit(this, "eProxy");
  proxy->setPlaceholderText(QStringLiteral("host:port, empty for none"));
  proxy->setToolTip(QStringLiteral("An HTTP proxy to reach the server through (port 8080 when none is given)"));

  auto* configRow = new QHBoxLayout;
  configRow->addWidget(m_configs, 1);
  configRow->addWidget(add);
  configRow->addWidget(rename);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Configuration"), configRow);
  form->addRow(QStringLiteral("Server"), NamedEdit(this, "eServer"));
  form->addRow(QStringLiteral("Port"), m_port);
  form->addRow(QStringLiteral("Programs folder"), NamedEdit(this, "eProgramsDir"));
  form->addRow(QStringLiteral("User"), NamedEdit(this, "eUser"));
  form->addRow(QStringLiteral("Password"), password);
  form->addRow(QStringLiteral("Proxy"), proxy);
  form->addRow(QStringLiteral("Section"), m_sections);
  auto* connectButton = NamedButton(this, "bConnect", QStringLiteral("Connect"));
  auto* publish = NamedButton(this, "bPublish", QStringLiteral("Publish"));
  auto* fetch = NamedButton(this, "bFetch", QStringLiteral("Get"));
  auto* remove = NamedButton(this, "bDelete", QStringLiteral("Delete"));
  auto* change = NamedButton(this, "bChangePass", QStringLiteral("Change password..."));
  auto* close = NamedButton(this, "bClose", QStringLiteral("&Close"));
  connect(connectButton, &QPushButton::clicked, this, [this] { Connect(); });
  connect(publish, &QPushButton::clicked, this, [this] { Publish(); });
  connect(fetch, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Get hypertext"));
    if (!folder.isEmpty()) Fetch(folder.toStdString());
  });
  connect(remove, &QPushButton::clicked, this, [this] { Delete(); });
  connect(change, &QPushButton::clicked, this, [this] {
    const QString first = QInputDialog::getText(this, windowTitle(), QStringLiteral("New password"), QLineEdit::Password);
    if (first.isEmpty()) return;
    const QString again = QInputDialog::getText(this, windowTitle(), QStringLiteral("New password again"),
                                                QLineEdit::Password);
    ChangePassword(first.toStdString(), again.toStdString());
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(add, &QPushButton::clicked, this, [this] { AddConfig(); });
  connect(rename, &QPushButton::clicked, this, [this] { RenameConfig(); });
  connect(m_configs, &QComboBox::activated, this, [this](int index) {
    if (index == m_current) return;
    Save();
    m_bar->Comm().Reset();
    LoadConfig(index);
  });
  connect(m_sections, &QComboBox::activated, this, [this](int index) {
    m_bar->Comm().SelectSection(index);
    const int code = m_bar->Run([](TTarn3Comm& c) { return c.List(); });
    if (code != 200 && code != 404) Failed(code);
    m_list->Fill(m_bar->Comm());
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(connectButton);
  buttons->addWidget(publish);
  buttons->addWidget(fetch);
  buttons->addWidget(remove);
  buttons->addWidget(change);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_list, 1);
  layout->addWidget(m_bar);
  layout->addWidget(m_status);
  layout->addLayout(buttons);
  publish->setVisible(m_mode == 0);
  fetch->setVisible(m_mode == 1);
  remove->setVisible(m_mode <= 1);
  change->setVisible(m_mode == 3);

  if (m_store->Count() == 0) {
    Tarn3Config fallback;
    fallback.name = "DefaultNT";
    m_store->Save(0, fallback);
  }
  for (const std::string& name : m_store->Names()) m_configs->addItem(QString::fromStdString(name));
  LoadConfig(m_store->Selected());
  resize(640, 480);
}

void TFrete::LoadConfig(int index) {
  m_current = index;
  m_configs->setCurrentIndex(index);
  const Tarn3Config c = m_store->Load(index);
  Field("eServer")->setText(QString::fromStdString(c.server));
  m_port->setValue(c.port);
  Field("eProgramsDir")->setText(QString::fromStdString(c.programsDir));
  Field("eUser")->setText(QString::fromStdString(c.user));
  Field("eProxy")->setText(QString::fromStdString(c.proxy));
  // The sections and hypertexts shown were another server's.
  m_sections->clear();
  m_list->clear();
}

void TFrete::AddConfig() {
  Save();
  const QString name = QInputDialog::getText(this, windowTitle(), QString::fromLatin1(kNewConfigPrompt));
  if (name.isEmpty()) return;
  const int index = m_store->Add(name.toStdString());
  m_configs->addItem(name);
  m_bar->Comm().Reset();
  LoadConfig(index);
}

void TFrete::RenameConfig() {
  const QString name = QInputDialog::getText(
      this, windowTitle(), QStringLiteral("Rinomina la configurazione \"") + m_configs->currentText() + QStringLiteral("\":"));
  if (name.isEmpty()) return;
  m_configs->setItemText(m_current, name);
  Save();
}

TFrete::~TFrete() = default;

QLineEdit* TFrete::Field(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

QString TFrete::StatusText() const { return m_status->text(); }

void TFrete::Apply() {
  TTarn3Comm& c = m_bar->Comm();
  Tarn3Config config = m_store->Load(m_current);
  c.SetServer(Text(Field("eServer")));
  c.SetPort(m_port->value());
  c.SetUser(Text(Field("eUser")));
  c.SetProxy(Text(Field("eProxy")));
  c.SetBaseDirs(config.listTemplateDir, Text(Field("eProgramsDir")));
  c.SetPrograms(config.uploadProgram, config.pageProgram);
  c.SetTimeoutSeconds(config.timeout);
  c.Password = Text(Field("ePassword"));
}

void TFrete::Save() {
  Tarn3Config c = m_store->Load(m_current);
  c.name = m_configs->itemText(m_current).toStdString();
  c.server = Text(Field("eServer"));
  c.port = m_port->value();
  c.programsDir = Text(Field("eProgramsDir"));
  c.user = Text(Field("eUser"));
  c.proxy = Text(Field("eProxy"));
  // Without a section chosen in this run (not connected) the stored one
  // stays.
  if (m_bar->Comm().Section() >= 0) c.section = m_bar->Comm().Section();
  m_store->Save(m_current, c);
  m_store->SetSelected(m_current);
}

void TFrete::Failed(int code) {
  const std::string text = code == kTarnNoSection ? std::string("Problems to reach server.") : m_bar->Comm().Message();
  m_status->setText(platform::qt::ToQString(text));
  m_host.messages.Error(text);
}

bool TFrete::PasswordGiven() {
  if (!Field("ePassword")->text().isEmpty()) return true;
  m_host.messages.Information("Insert password!");
  Field("ePassword")->setFocus();
  return false;
}

int TFrete::Connect() {
  if (m_bar->Comm().Busy()) {
    m_host.messages.Information("Operation in progress, please wait...");
    return kTarnBusy;
  }
  Apply();
  const int section = m_store->Load(m_current).section;
  int code = m_bar->Run([section](TTarn3Comm& c) {
    const int rights = c.Rights();
    if (rights != 200) return rights;
    return c.SelectSection(std::min<int>(section, static_cast<int>(c.RightsList().size()) - 1));
  });
  if (code != 200) {
    Failed(code);
    return code;
  }
  m_sections->Fill(m_bar->Comm());
  code = m_bar->Run([](TTarn3Comm& c) { return c.List(); });
  m_list->Fill(m_bar->Comm());
  m_status->clear();
  return code == 404 ? 200 : code;
}

int TFrete::Publish() {
  if (m_host.set == nullptr || !PasswordGiven()) return kTarnBusy;
  if (m_host.isModified && m_host.isModified()) {
    if (m_host.messages.Ask("Need to save file locally. Can I go?") != platform::Answer::Yes) return 0;
    if (m_host.save && !m_host.save()) return 0;
  }
  Apply();
  const std::filesystem::path file = m_host.set->AEHFileName();
  const std::string title = m_host.set->Title();
  const int version = m_host.set->Revision();
  const int code = m_bar->Run([&](TTarn3Comm& c) { return c.Publish(file, title, version); });
  if (code == 200) {
    m_status->setText(QStringLiteral("Hypertext published."));
    m_host.messages.Information("Hypertext published.");
    m_list->Fill(m_bar->Comm());
  } else if (code != 0) {
    Failed(code);
  }
  return code;
}

int TFrete::Fetch(const std::string& folder) {
  const std::string name = m_list->SelectedName();
  if (name.empty()) {
    m_host.messages.Information("No hypertext selected");
    return kTarnBusy;
  }
  const int code = m_bar->Run([&](TTarn3Comm& c) { return c.FetchFile(name, folder); });
  if (code != 200) {
    m_host.messages.Error(m_bar->Comm().Message());
    return code;
  }
  m_host.messages.Information("File reception OK");
  return code;
}

int TFrete::Delete() {
  const std::string name = m_list->SelectedName();
  if (name.empty()) {
    m_host.messages.Information("No hypertext selected");
    return kTarnBusy;
  }
  if (!PasswordGiven()) return kTarnBusy;
  Apply();
  const int code = m_bar->Run([&](TTarn3Comm& c) { return c.Delete(name); });
  if (code != 200) Failed(code);
  m_list->Fill(m_bar->Comm());
  return code;
}

int TFrete::ChangePassword(const std::string& newPassword, const std::string& again) {
  if (!PasswordGiven()) return kTarnBusy;
  if (newPassword.size() < kMinPasswordLength) {
    m_host.messages.Warning("Too short!");
    return kTarnBusy;
  }
  if (newPassword != again) {
    m_host.messages.Warning("There's something wrong: the two passwords\rare different! Please check and retry.");
    return kTarnBusy;
  }
  if (newPassword == Text(Field("ePassword"))) {
    m_host.messages.Warning("New password is the same than older one!\r Please check and retry.");
    return kTarnBusy;
  }
  Apply();
  const int code = m_bar->Run([&](TTarn3Comm& c) { return c.ChangePassword(newPassword); });
  if (code == 200) {
    Field("ePassword")->setText(QString::fromStdString(newPassword));
    m_host.messages.Information("Password changed.");
  } else {
    m_host.messages.Error("Problems while changing password.\n" + m_bar->Comm().Message());
  }
  return code;
}

void TFrete::done(int result) {
  if (m_bar->Comm().Busy()) {
    if (m_host.messages.Ask("Network operation in progress. Abort?") != platform::Answer::Yes) return;
    m_bar->Comm().Reset();
  }
  Save();
  QDialog::done(result);
}

}  // namespace tarn::publish::ui
