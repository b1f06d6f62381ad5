// The server publishing component with its progress strip, and the two
// views of what the server holds: the sections of the user (a combo) and
// the hypertexts published in the chosen section (a list).
#pragma once

#include <QComboBox>
#include <QTreeWidget>
#include <QWidget>

#include <memory>

#include "publish/tarn3comm.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarn::platform::qt {
class QtEventLoop;
}

namespace tarn::publish::ui {

class TTarn3TxRxBar : public QWidget {
 public:
  TTarn3TxRxBar(platform::SocketFactory& sockets, platform::Messages& messages, QWidget* parent = nullptr);
  ~TTarn3TxRxBar() override;
  TTarn3Comm& Comm() { return *m_comm; }
  // Runs an operation of the component with the strip shown.
  int Run(const std::function<int(TTarn3Comm&)>& operation);
  QPushButton* StopButton() const { return m_stop; }

 private:
  void Tick();
  std::unique_ptr<platform::qt::QtEventLoop> m_loop;
  std::unique_ptr<TTarn3Comm> m_comm;
  QPushButton* m_stop;
  QProgressBar* m_gauge;
  QTimer* m_timer;
};

// Columns "Title", "Size", "Modified", "Version".
class TTarn3ListView : public QTreeWidget {
 public:
  explicit TTarn3ListView(QWidget* parent = nullptr);
  // Rebuilds the rows from the component's list page.
  void Fill(const TTarn3Comm& comm);
  // The file name of the selected row; empty when none.
  std::string SelectedName() const;
};

class TTarn3ComboBox : public QComboBox {
 public:
  explicit TTarn3ComboBox(QWidget* parent = nullptr);
  void Fill(const TTarn3Comm& comm);
};

}  // namespace tarn::publish::ui
