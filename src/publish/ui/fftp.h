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

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QComboBox;

namespace tarn::convert {
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
class PublishRows;
class FtpConfigurations;
}  // namespace tarn::publish

namespace tarn::publish::ui {

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
    convert::TAEHtoHtml* converter = nullptr;
    // The exported files (modes 0 and 1).
    PublishRows* rows = nullptr;
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

  // The controls, for tests and the translation tables.
  QLineEdit* Field(const char* name) const;
  QTreeWidget* Rows() const { return m_rowsView; }
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
  void SaveConfig();
  void ReadRelease();
  void FillRows();
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
  QTreeWidget* m_rowsView = nullptr;
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
