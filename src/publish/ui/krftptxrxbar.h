// TKrFtpTxRxBar: the strip that shows a running FTP operation (a stop
// button whose caption turns, a gauge and the last command) and owns the
// TKrFtpComm that runs it. It shows itself while an operation runs.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "publish/ftpcomm.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarn::platform::qt {
class QtEventLoop;
}

namespace tarn::publish::ui {

class TKrFTPComboBox;
class TKrFTPlistView;

class TKrFtpTxRxBar : public QWidget {
 public:
  TKrFtpTxRxBar(platform::SocketFactory& sockets, QWidget* parent = nullptr);
  ~TKrFtpTxRxBar() override;

  TKrFtpComm& Comm() { return *m_comm; }
  QPushButton* StopButton() const { return m_stop; }
  // Called after a stop.
  std::function<void()> OnStopClick;
  TKrFTPComboBox* LinkedFTPCombo = nullptr;
  TKrFTPlistView* LinkedFTPList = nullptr;

 private:
  void Started();
  void Finished();
  void Tick();

  std::unique_ptr<platform::qt::QtEventLoop> m_loop;
  std::unique_ptr<TKrFtpComm> m_comm;
  QPushButton* m_stop;
  QProgressBar* m_gauge;
  QLabel* m_label;
  QTimer* m_timer;
  QString m_caption;
};

}  // namespace tarn::publish::ui
