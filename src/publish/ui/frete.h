// TFrete: publishing to a server with the server extensions: the stored
// server configurations, the user's sections, the hypertexts published in
// the chosen one, and publishing, fetching, deleting and the change of
// password.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
class SocketFactory;
}  // namespace tarn::platform

namespace tarn::publish {
class Tarn3Configurations;
}

namespace tarn::publish::ui {

class TTarn3TxRxBar;
class TTarn3ListView;
class TTarn3ComboBox;

class TFrete : public QDialog {
 public:
  struct Host {
    platform::Registry& registry;
    platform::Messages& messages;
    platform::SocketFactory& sockets;
    document::TAEHset* set = nullptr;
    std::function<bool()> isModified;
    std::function<bool()> save;
  };

  // Modes: 0 publish, 1 fetch, 2 configuration, 3 change of password.
  TFrete(Host host, int mode, QWidget* parent = nullptr);
  ~TFrete() override;

  // Applies the settings and reads the sections and the list.
  int Connect();
  int Publish();
  int Fetch(const std::string& folder);
  int Delete();
  int ChangePassword(const std::string& newPassword, const std::string& again);

  QLineEdit* Field(const char* name) const;
  TTarn3ListView* List() const { return m_list; }
  TTarn3ComboBox* Sections() const { return m_sections; }
  TTarn3TxRxBar* Bar() const { return m_bar; }
  QComboBox* Configurations() const { return m_configs; }
  QString StatusText() const;

 protected:
  void done(int result) override;

 private:
  void Apply();
  void Save();
  void LoadConfig(int index);
  void AddConfig();
  void RenameConfig();
  void Failed(int code);
  bool PasswordGiven();

  Host m_host;
  int m_mode;
  std::unique_ptr<Tarn3Configurations> m_store;
  int m_current = 0;
  TTarn3TxRxBar* m_bar;
  TTarn3ListView* m_list;
  TTarn3ComboBox* m_sections;
  QSpinBox* m_port;
  QComboBox* m_configs;
  QLabel* m_status;
};

}  // namespace tarn::publish::ui
