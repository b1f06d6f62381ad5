// The publishing dialogs driven as an author would, against the loopback
// servers: the site published from the FTP dialog, a page changed, the
// changes published alone; a hypertext published from the server dialog.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "loopbackserver.h"
#include "platform/memorysettings.h"
#include "platform/posixsocket.h"
#include "platform/registry.h"
#include "platform/testing/testplatform.h"
#include "publish/netconfig.h"
#include "publish/ui/fftp.h"
#include "publish/ui/frete.h"
#include "publish/ui/krftplistview.h"
#include "publish/ui/tarn3txrxbar.h"

namespace tarn::publish::ui {
namespace {

namespace fs = std::filesystem;

class PublishDialogs : public ::testing::Test {
 protected:
  PublishDialogs() {
    std::string pattern = (fs::temp_directory_path() / "tarn-dialogs-XXXXXX").string();
    scratch = ::mkdtemp(pattern.data());
  }
  ~PublishDialogs() override {
    std::error_code e;
    fs::remove_all(scratch, e);
  }
  void LoadSample() {
    fs::copy_file(TARN_SAMPLE, scratch / "sample.aeh");
    app::Compose(set);
    ASSERT_TRUE(set.LoadFromFile(scratch / "sample.aeh"));
    converter.SetLinkedAEHset(&set);
    converter.ExportPath = scratch / "TmpExpHtml";
    ASSERT_TRUE(converter.ExportAllPages(files));
  }
  // A configuration "Loopback" for `port`, selected in `mode`.
  void Configure(int port, int mode) {
    FtpConfigurations configs(registry);
    configs.Add("Loopback");
    FtpConfig c = configs.Load(1);
    c.server = "127.0.0.1";
    c.port = port;
    c.user = "author";
    c.password = "secret";
    c.savePassword = true;
    configs.Save(1, c);
    configs.SetSelected(mode, 1);
  }
  int Checked(QTreeWidget* rows) {
    int n = 0;
    for (int i = 0; i < rows->topLevelItemCount(); ++i) n += rows->topLevelItem(i)->checkState(0) == Qt::Checked;
    return n;
  }

  fs::path scratch;
  platform::MemorySettings settings;
  platform::Registry registry{settings};
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system;
  platform::PosixSocketFactory sockets;
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  convert::TAEHtoHtml converter;
  convert::RecordList files;
};

TEST_F(PublishDialogs, FtpPublishThenPublishOnlyTheChanges) {
  if (!testing::HavePyftpdlib()) GTEST_SKIP() << "pyftpdlib missing";
  const fs::path root = scratch / "server";
  fs::create_directories(root);
  testing::LoopbackServer server({"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/ftpserver.py", "--root",
                                  root.string()});
  ASSERT_NE(server.Port(), 0);
  LoadSample();
  FtpConfigurations configs(registry);
  configs.Add("Loopback");
  FtpConfig c = configs.Load(1);
  c.server = "127.0.0.1";
  c.port = server.Port();
  c.user = "author";
  c.password = "secret";
  c.savePassword = true;
  configs.Save(1, c);
  configs.SetSelected(0, 1);

  bool modified = false;
  bool saved = false;
  auto open = [&] {
    auto dialog = std::make_unique<TFftp>(TFftp::Host{registry, messages, sockets, &set, &converter,
                                               [&] { return modified; },
                                               [&] {
                                                 // Saving reopens the hypertext: its records are new.
                                                 saved = set.SaveToFile(set.AEHFileName());
                                                 modified = !saved;
                                                 return saved;
                                               },
                                               [&] { modified = true; }},
                                   0);
    dialog->ExportList().FilesToList() = files;
    return dialog;
  };
  {
    auto dialog = open();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->StatusText() == "No release of this hypertext was on server"; }, 10000));
    EXPECT_EQ(dialog->RemoteList()->Directory(), "/");
    // With no release on the server every row is checked.
    EXPECT_EQ(Checked(dialog->Rows()), dialog->Rows()->topLevelItemCount());
    QTest::mouseClick(dialog->findChild<QPushButton*>("bPublish"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->StatusText() == "Publishing OK."; }, 10000));
    EXPECT_TRUE(modified);
    EXPECT_TRUE(fs::exists(root / "sample_ver.html"));
    EXPECT_TRUE(fs::exists(root / "sample_index.html"));
    EXPECT_EQ(dialog->Release(), set.Revision() - 1);
    EXPECT_NE(dialog->RemoteList()->Row("sample_ver.html"), nullptr);
    dialog->grab().save(QString::fromStdString((fs::temp_directory_path() / "tarn-fftp.png").string()));
    dialog->findChild<QPushButton*>("bClose")->click();
  }
  EXPECT_EQ(FtpConfigurations(registry).Selected(0), 1);

  // An edit of page 2; the dialog opened again reads the release back and
  // checks the changed page and the style sheet only.
  set.GetObject(document::testoHtml, 2)->SetRevision(set.Revision());
  fs::remove(root / "sample_index.html");
  auto dialog = open();
  dialog->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->StatusText().startsWith("Release currently on server: "); }, 10000));
  EXPECT_EQ(Checked(dialog->Rows()), 2);
  // The hypertext is saved first, when the author agrees.
  modified = true;
  messages.answers = {platform::Answer::Yes};
  QTest::mouseClick(dialog->findChild<QPushButton*>("bPublish"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->StatusText() == "Publishing OK."; }, 10000));
  EXPECT_TRUE(messages.Saw("Need to save file locally. Can I go?"));
  EXPECT_TRUE(saved);
  // The unchanged cover page did not travel again.
  EXPECT_FALSE(fs::exists(root / "sample_index.html"));
  EXPECT_TRUE(fs::exists(root / converter.OutputFileName(*set.GetObject(document::testoHtml, 2), 0)));
}

// Renaming a row in place, a new folder and deleting rows, each done on
// the server; what the server refuses leaves the row as it was.
TEST_F(PublishDialogs, RemoteRowsRenamedMadeAndDeletedOnTheServer) {
  if (!testing::HavePyftpdlib()) GTEST_SKIP() << "pyftpdlib missing";
  const fs::path root = scratch / "server";
  fs::create_directories(root);
  for (const char* name : {"old.aeh", "other.aeh"}) std::ofstream(root / name) << "AEH";
  testing::LoopbackServer server({"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/ftpserver.py", "--root",
                                  root.string()});
  ASSERT_NE(server.Port(), 0);
  Configure(server.Port(), 2);
  TFftp dialog({registry, messages, sockets, nullptr, nullptr, {}, {}, {}}, 2);
  dialog.show();
  TKrFTPlistView* list = dialog.RemoteList();
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->Row("old.aeh") != nullptr; }, 10000));
  // The open editor of a row's caption.
  auto editor = [&] { return list->viewport()->findChild<QLineEdit*>(); };
  // Types a new caption into the row's editor, as F2 opens it.
  auto retitle = [&](QTreeWidgetItem* row, const QString& text, bool open = true) {
    list->setCurrentItem(row);
    if (open) QTest::keyClick(list, Qt::Key_F2);
    QLineEdit* edit = editor();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    // The editor hands its text over once events run.
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor() == nullptr; }, 5000));
  };

  retitle(list->Row("old.aeh"), "new.aeh");
  EXPECT_TRUE(fs::exists(root / "new.aeh"));
  EXPECT_FALSE(fs::exists(root / "old.aeh"));
  ASSERT_NE(list->Row("new.aeh"), nullptr);
  // Gone from the server behind the list's back: RNFR is refused and the
  // row keeps its name.
  fs::remove(root / "new.aeh");
  retitle(list->Row("new.aeh"), "x.aeh");
  EXPECT_NE(list->Row("new.aeh"), nullptr);
  EXPECT_EQ(list->Row("x.aeh"), nullptr);
  EXPECT_FALSE(fs::exists(root / "x.aeh"));

  // "New folder" makes the folder and opens its name for editing.
  QTest::mouseClick(dialog.findChild<QPushButton*>("bNewFolderT"), Qt::LeftButton);
  EXPECT_TRUE(fs::is_directory(root / "New folder"));
  ASSERT_NE(list->Row("New folder"), nullptr);
  retitle(list->Row("New folder"), "pics", false);
  EXPECT_TRUE(fs::is_directory(root / "pics"));
  // A second one is numbered.
  QTest::mouseClick(dialog.findChild<QPushButton*>("bNewFolderT"), Qt::LeftButton);
  QTest::keyClick(editor(), Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor() == nullptr; }, 5000));
  QTest::mouseClick(dialog.findChild<QPushButton*>("bNewFolderT"), Qt::LeftButton);
  QTest::keyClick(editor(), Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor() == nullptr; }, 5000));
  EXPECT_TRUE(fs::is_directory(root / "New folder (2)"));

  // The Delete key removes the selected file and folder; the row of a
  // file the server no longer has stays.
  list->clearSelection();
  list->Row("pics")->setSelected(true);
  list->Row("other.aeh")->setSelected(true);
  list->Row("new.aeh")->setSelected(true);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_FALSE(fs::exists(root / "pics"));
  EXPECT_FALSE(fs::exists(root / "other.aeh"));
  EXPECT_EQ(list->Row("pics"), nullptr);
  EXPECT_EQ(list->Row("other.aeh"), nullptr);
  EXPECT_NE(list->Row("new.aeh"), nullptr);
  // The Delete button asks first; No keeps everything.
  list->clearSelection();
  list->Row("New folder")->setSelected(true);
  messages.answers = {platform::Answer::No};
  QTest::mouseClick(dialog.findChild<QPushButton*>("bDeleteT"), Qt::LeftButton);
  EXPECT_TRUE(fs::is_directory(root / "New folder"));
  messages.answers = {platform::Answer::Yes};
  QTest::mouseClick(dialog.findChild<QPushButton*>("bDeleteT"), Qt::LeftButton);
  EXPECT_FALSE(fs::exists(root / "New folder"));
  EXPECT_TRUE(messages.Saw("Delete \"New folder\" on the server?"));
}

// "Browse..." checks the chosen pages; "Options..." exports the site again
// with the options confirmed and lists the new files.
TEST_F(PublishDialogs, BrowseChecksChosenPagesAndOptionsExportAgain) {
  LoadSample();
  Configure(1, 0);
  TFftp dialog({registry, messages, sockets, &set, &converter, {}, {}, {}}, 0);
  dialog.ExportList().FilesToList() = files;
  dialog.show();
  QTreeWidget* rows = dialog.Rows();
  ASSERT_GT(rows->topLevelItemCount(), 3);
  // Every row has the export list's columns: the Size of the file on disk
  // and the revision stamp.
  const QTreeWidgetItem* css = rows->topLevelItem(0);
  EXPECT_EQ(css->text(2), "CSS");
  EXPECT_EQ(css->text(1).toLongLong(), static_cast<long long>(fs::file_size(converter.ExportPath / "sample_style.css")));
  QTest::mouseClick(dialog.findChild<QPushButton*>("bAll"), Qt::LeftButton);
  EXPECT_EQ(Checked(rows), 0);
  std::vector<std::pair<int, std::string>> offered;
  dialog.ChoosePages = [&](const std::vector<std::pair<int, std::string>>& pages) {
    offered = pages;
    return std::vector<int>{2};
  };
  QTest::mouseClick(dialog.findChild<QPushButton*>("bBrowse"), Qt::LeftButton);
  EXPECT_GT(offered.size(), 2u);
  ASSERT_EQ(Checked(rows), 1);
  const QString page2 = QString::fromStdString(set.GetObject(document::testoHtml, 2)->GetCaption());
  for (int i = 0; i < rows->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = rows->topLevelItem(i);
    EXPECT_EQ(row->checkState(0) == Qt::Checked, row->text(0) == page2 && row->text(2) == "Page") << i;
  }

  // The sample went out as ".html"; the options say ".htm".
  const std::string before = converter.OutputFileName(*set.GetObject(document::testoHtml, 0), 0);
  ASSERT_EQ(fs::path(before).extension(), ".html");
  QTimer::singleShot(0, [] {
    QWidget* options = QApplication::activeModalWidget();
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->objectName(), "FOpzExp");
    options->findChild<QComboBox*>("cbTipoExt")->setCurrentIndex(0);
    QTest::mouseClick(options->findChild<QPushButton*>("bOk"), Qt::LeftButton);
  });
  QTest::mouseClick(dialog.findChild<QPushButton*>("bOptions"), Qt::LeftButton);
  const std::string after = converter.OutputFileName(*set.GetObject(document::testoHtml, 0), 0);
  EXPECT_EQ(fs::path(after).extension(), ".htm");
  EXPECT_TRUE(fs::exists(converter.ExportPath / after));
  // Every page was written anew: every row goes.
  EXPECT_EQ(Checked(rows), rows->topLevelItemCount());
  bool listed = false;
  for (int i = 0; i < rows->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = rows->topLevelItem(i);
    if (row->text(3) != QString::fromStdString(after)) continue;
    listed = true;
    EXPECT_EQ(row->text(1).toLongLong(), static_cast<long long>(fs::file_size(converter.ExportPath / after)));
  }
  EXPECT_TRUE(listed);
}

TEST_F(PublishDialogs, FtpWrongServerSaysConnectionImpossible) {
  FtpConfigurations configs(registry);
  configs.Add("Nowhere");
  FtpConfig c = configs.Load(1);
  c.server = "127.0.0.1";
  c.port = 1;
  configs.Save(1, c);
  configs.SetSelected(2, 1);
  TFftp dialog({registry, messages, sockets, nullptr, nullptr, {}, {}, {}}, 2);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.StatusText() == "Connection impossible"; }, 10000));
  // Publishing without a password asks for one.
  dialog.Field("ePassword")->clear();
  EXPECT_EQ(dialog.SendSelected(), -1);
  EXPECT_TRUE(messages.Saw("Insert password!"));
}

// Configurations of the server dialog: added, renamed, each with its own
// fields and proxy; the section chosen earlier survives a dialog that
// never connected.
TEST_F(PublishDialogs, ServerDialogAddsAndRenamesConfigurations) {
  registry.WriteNetworkDefaults();
  {
    Tarn3Configurations configs(registry);
    Tarn3Config c = configs.Load(0);
    c.section = 2;
    configs.Save(0, c);
  }
  auto answer = [](const QString& text) {
    QTimer::singleShot(0, [text] {
      auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(input, nullptr);
      input->setTextValue(text);
      input->accept();
    });
  };
  {
    TFrete dialog({registry, messages, sockets, nullptr, {}, {}}, 2);
    dialog.show();
    QComboBox* configs = dialog.Configurations();
    ASSERT_EQ(configs->count(), 1);
    EXPECT_EQ(configs->currentText(), "DefaultNT");
    answer("Office");
    QTest::mouseClick(dialog.findChild<QPushButton*>("bAddNew"), Qt::LeftButton);
    ASSERT_EQ(configs->count(), 2);
    EXPECT_EQ(configs->currentIndex(), 1);
    EXPECT_EQ(dialog.Field("eServer")->text(), "www.example.com");
    dialog.Field("eServer")->setText("office.example.org");
    dialog.Field("eProxy")->setText("gate.example.org:3128");
    answer("Office server");
    QTest::mouseClick(dialog.findChild<QPushButton*>("bRename"), Qt::LeftButton);
    EXPECT_EQ(configs->itemText(1), "Office server");
    // Back to the first: its own fields, no proxy.
    configs->setCurrentIndex(0);
    emit configs->activated(0);
    EXPECT_EQ(dialog.Field("eProxy")->text(), "");
    EXPECT_NE(dialog.Field("eServer")->text(), "office.example.org");
    configs->setCurrentIndex(1);
    emit configs->activated(1);
    EXPECT_EQ(dialog.Field("eProxy")->text(), "gate.example.org:3128");
    dialog.findChild<QPushButton*>("bClose")->click();
  }
  Tarn3Configurations configs(registry);
  EXPECT_EQ(configs.Names(), (std::vector<std::string>{"DefaultNT", "Office server"}));
  EXPECT_EQ(configs.Load(1).server, "office.example.org");
  EXPECT_EQ(configs.Load(1).proxy, "gate.example.org:3128");
  EXPECT_EQ(configs.Selected(), 1);
  EXPECT_EQ(configs.Load(0).section, 2);
}

TEST_F(PublishDialogs, ServerDialogPublishesTheHypertext) {
  const fs::path root = scratch / "server";
  testing::LoopbackServer server({"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/tarn3server.py",
                                  "--root", root.string()});
  ASSERT_NE(server.Port(), 0);
  LoadSample();
  registry.WriteNetworkDefaults();
  Tarn3Configurations configs(registry);
  Tarn3Config c = configs.Load(0);
  c.server = "127.0.0.1";
  c.port = server.Port();
  c.user = "author";
  c.section = 1;
  configs.Save(0, c);
  TFrete dialog({registry, messages, sockets, &set, [] { return false; }, [] { return true; }}, 0);
  dialog.show();
  dialog.Field("ePassword")->setText("secret");
  EXPECT_EQ(dialog.Connect(), 200);
  EXPECT_EQ(dialog.Sections()->count(), 2);
  EXPECT_EQ(dialog.Sections()->currentIndex(), 1);
  QTest::mouseClick(dialog.findChild<QPushButton*>("bPublish"), Qt::LeftButton);
  EXPECT_EQ(dialog.StatusText(), "Hypertext published.");
  EXPECT_TRUE(fs::exists(root / "pub/sec2/sample.aeh"));
  ASSERT_EQ(dialog.List()->topLevelItemCount(), 1);
  EXPECT_EQ(dialog.List()->topLevelItem(0)->text(0).toStdString(), set.Title());
  dialog.grab().save(QString::fromStdString((fs::temp_directory_path() / "tarn-frete.png").string()));
}

}  // namespace
}  // namespace tarn::publish::ui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
