// The publishing dialogs driven as an author would, against the loopback
// servers: the site published from the FTP dialog, a page changed, the
// changes published alone; a hypertext published from the server dialog.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "loopbackserver.h"
#include "platform/memorysettings.h"
#include "platform/posixsocket.h"
#include "platform/registry.h"
#include "platform/testing/testplatform.h"
#include "publish/exportedsiterows.h"
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
  auto open = [&](ExportedSiteRows& rows) {
    return std::make_unique<TFftp>(TFftp::Host{registry, messages, sockets, &set, &converter, &rows,
                                               [&] { return modified; },
                                               [&] {
                                                 // Saving reopens the hypertext: its records are new.
                                                 saved = set.SaveToFile(set.AEHFileName());
                                                 modified = !saved;
                                                 return saved;
                                               },
                                               [&] { modified = true; }},
                                   0);
  };
  {
    ExportedSiteRows rows(converter, files);
    auto dialog = open(rows);
    dialog->show();
    QTRY_VERIFY_WITH_TIMEOUT(dialog->StatusText() == "No release of this hypertext was on server", 10000);
    EXPECT_EQ(dialog->RemoteList()->Directory(), "/");
    // With no release on the server every row is checked.
    EXPECT_EQ(Checked(dialog->Rows()), dialog->Rows()->topLevelItemCount());
    QTest::mouseClick(dialog->findChild<QPushButton*>("bPublish"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->StatusText() == "Publishing OK.", 10000);
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
  ExportedSiteRows rows(converter, files);
  auto dialog = open(rows);
  dialog->show();
  QTRY_VERIFY_WITH_TIMEOUT(dialog->StatusText().startsWith("Release currently on server: "), 10000);
  EXPECT_EQ(Checked(dialog->Rows()), 2);
  // The hypertext is saved first, when the author agrees.
  modified = true;
  messages.answers = {platform::Answer::Yes};
  QTest::mouseClick(dialog->findChild<QPushButton*>("bPublish"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(dialog->StatusText() == "Publishing OK.", 10000);
  EXPECT_TRUE(messages.Saw("Need to save file locally. Can I go?"));
  EXPECT_TRUE(saved);
  // The unchanged cover page did not travel again.
  EXPECT_FALSE(fs::exists(root / "sample_index.html"));
  EXPECT_TRUE(fs::exists(root / converter.OutputFileName(*set.GetObject(document::testoHtml, 2), 0)));
}

TEST_F(PublishDialogs, FtpWrongServerSaysConnectionImpossible) {
  FtpConfigurations configs(registry);
  configs.Add("Nowhere");
  FtpConfig c = configs.Load(1);
  c.server = "127.0.0.1";
  c.port = 1;
  configs.Save(1, c);
  configs.SetSelected(2, 1);
  TFftp dialog({registry, messages, sockets, nullptr, nullptr, nullptr, {}, {}, {}}, 2);
  dialog.show();
  QTRY_VERIFY_WITH_TIMEOUT(dialog.StatusText() == "Connection impossible", 10000);
  // Publishing without a password asks for one.
  dialog.Field("ePassword")->clear();
  EXPECT_EQ(dialog.SendSelected(), -1);
  EXPECT_TRUE(messages.Saw("Insert password!"));
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
