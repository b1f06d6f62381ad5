// TFftp: the FTP publishing dialog in its four modes: publishing the
// exported hypertext (0) or the current page (1) beside a listing of the
// remote folder, copying .AEH files to and from the server (2), and the
// named server configurations alone (3).
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QComboBox;
class QHBoxLayout;

namespace tarn::app::ui {
class TAEHListHtmlToTxView;
}
namespace tarn::convert {
class TAEHListHtmlToTx;
class TAEHtoHtml;
}
namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
class SocketFactory;
}  // namespace tarn::platform

namespace tarn::publish {
class ExportListRows;
class FtpConfigurations;
}  // namespace tarn::publish

namespace tarn::publish::ui {

// Sets the converter's HTML options as the author chose them for exports.
void ApplyHtmlOptions(platform::Registry& registry, convert::TAEHtoHtml& converter);

class TKrFtpTxRxBar;
class TKrFTPlistView;
class TKrFTPComboBox;

class TFftp : public QDialog {
 public:
  struct Host {
    platform::Registry& registry;
    platform::Messages& messages;
    platform::SocketFactory& sockets;
    document::TAEHset* set = nullptr;
    // The converter that exported the site (modes 0 and 1) into its
    // ExportPath; the export file list shows what it wrote.
    convert::TAEHtoHtml* converter = nullptr;
    std::function<bool()> isModified;
    // Saves the hypertext; false when it was not saved.
    std::function<bool()> save;
    std::function<void()> markModified;
  };

  TFftp(Host host, int mode, QWidget* parent = nullptr);
  ~TFftp() override;

  // Connects with the selected configuration (the one-shot timer after
  // showing calls it).
  void Connect();
  // "Publish" in modes 0 and 1; answers the result.
  int Publish();
  // "publish >" and "< get" of mode 2.
  int SendSelected();
  int GetSelected();
  // The release read from the server after the folder changed; -1 none.
  int Release() const { return m_release; }
  QString StatusText() const;

  // The export file list of modes 0 and 1: the caller fills its input
  // lists (the pages and files exported) before showing the dialog.
  convert::TAEHListHtmlToTx& ExportList();
  // "Browse...": the pages the author picks (index, title) get their rows
  // checked. The chooser (tests replace it) answers the chosen indexes.
  void BrowsePages();
  std::function<std::vector<int>(const std::vector<std::pair<int, std::string>>& pages)> ChoosePages;
  // After "Options..." was confirmed: the site exported again with the new
  // options and the list rebuilt, every row checked; false when the export
  // failed.
  bool ExportAgain();
  // A new remote folder named "New folder" (numbered when taken), its
  // name open for editing.
  int NewRemoteFolder();

  // The controls, for tests and the translation tables.
  QLineEdit* Field(const char* name) const;
  QTreeWidget* Rows() const;
  TKrFTPlistView* RemoteList() const;
  QListWidget* LocalList() const { return m_local; }
  TKrFtpTxRxBar* Bar() const { return m_bar; }
  QTabWidget* Tabs() const { return m_tabs; }
  QComboBox* Configurations() const { return m_configs; }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;
  void done(int result) override;

 private:
  QWidget* MakePublishTab();
  QWidget* MakeTransferTab();
  QWidget* MakeSettingsTab();
  void LoadConfig(int index);
  void ShowAddress();
  void SaveConfig();
  void ReadRelease();
  void FillRows();
  QHBoxLayout* RemoteButtons(QWidget* page, TKrFTPlistView* list, const char* suffix);
  void HtmlOptions();
  void CheckModified();
  void SetStatus(const QString& text);
  bool CheckPassword();
  bool SaveFirst();
  void FillLocal();

  Host m_host;
  int m_mode;
  std::unique_ptr<FtpConfigurations> m_store;
  int m_current = 0;
  int m_release = -1;
  bool m_shown = false;

  TKrFtpTxRxBar* m_bar = nullptr;
  QTabWidget* m_tabs = nullptr;
  app::ui::TAEHListHtmlToTxView* m_rowsView = nullptr;
  std::unique_ptr<ExportListRows> m_rows;
  TKrFTPlistView* m_publishList = nullptr;
  TKrFTPComboBox* m_publishCombo = nullptr;
  TKrFTPlistView* m_transferList = nullptr;
  TKrFTPComboBox* m_transferCombo = nullptr;
  QListWidget* m_local = nullptr;
  std::filesystem::path m_localFolder;
  QCheckBox* m_autoModified = nullptr;
  QCheckBox* m_savePass = nullptr;
  QComboBox* m_configs = nullptr;
  QSpinBox* m_port = nullptr;
  QSpinBox* m_timeout = nullptr;
  QLabel* m_status = nullptr;
  QLabel* m_address = nullptr;
  QPushButton* m_publish = nullptr;
};

}  // namespace tarn::publish::ui
