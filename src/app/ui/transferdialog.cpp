// The export and import dialogs' shared frame; see transferdialog.h.
#include "app/ui/transferdialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/qt/dialogbuttons.h"

namespace tarn::app::ui {

TTransferDialog::TTransferDialog(QWidget* parent, const char* runName, const QString& runCaption)
    : QDialog(parent) {
  setModal(true);
  m_formatBox = new QComboBox(this);
  m_formatBox->setObjectName(QStringLiteral("cbFormat"));
  auto* formatLabel = new QLabel(QStringLiteral("Format:"), this);
  formatLabel->setObjectName(QStringLiteral("lFormat"));
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("pcPages"));
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("lStatus"));
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("pbProgress"));
  m_progress->setRange(0, 100);
  m_progress->setMaximumWidth(160);
  m_progress->hide();
  m_run = platform::qt::NamedButton(this, runName, runCaption);
  m_run->setDefault(true);
  m_cancel = platform::qt::NamedButton(this, "bCancel", QStringLiteral("&Cancel"));
  connect(m_run, &QPushButton::clicked, this, [this] {
    if (!m_running && Run()) accept();
  });
  connect(m_cancel, &QPushButton::clicked, this, &TTransferDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(formatLabel);
  top->addWidget(m_formatBox, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_status, 1);
  bottom->addWidget(m_progress);
  bottom->addWidget(m_run);
  bottom->addWidget(m_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_tabs, 1);
  layout->addLayout(bottom);
}

namespace {
// Takes Enter from a line edit before the dialog turns it into a press of
// the default button.
class EnterFilter : public QObject {
 public:
  EnterFilter(QObject* parent, std::function<void()> go) : QObject(parent), m_go(std::move(go)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_go();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_go;
};
}  // namespace

void TTransferDialog::EnterRunsInstead(QLineEdit* field, std::function<void()> go) {
  field->installEventFilter(new EnterFilter(field, std::move(go)));
}

namespace {
// How often a run lets the window have its events: well under the tenth of
// a second in which a window still feels alive.
constexpr qint64 kEventsEveryMs = 20;
}  // namespace

void TTransferDialog::Progress::OnExpProgress(const convert::TAEHconv&, int item, int total, int phase) {
  // A new phase shows at once; within one, at the next turn of the events.
  if (phase != m_phase) m_dialog.ShowProgress(item, total, phase);
  m_item = item;
  m_total = total;
  m_phase = phase;
  m_shown = false;
}

void TTransferDialog::Progress::ProcessPendingEvents() {
  if (m_sinceEvents.elapsed() >= kEventsEveryMs) {
    if (!m_shown) m_dialog.ShowProgress(m_item, m_total, m_phase);
    m_shown = true;
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
  }
  if (m_dialog.OnProgress) m_dialog.OnProgress();
}

void TTransferDialog::SetRunning(bool running) {
  m_running = running;
  m_formatBox->setEnabled(!running);
  m_tabs->setEnabled(!running);
  m_run->setEnabled(!running);
  m_progress->setVisible(running);
  m_progress->setValue(0);
  m_cancelRequested = false;
}

void TTransferDialog::reject() {
  // During a run Cancel stops it between two documents; the dialog stays.
  if (m_running) {
    m_cancelRequested = true;
    m_status->setText(QStringLiteral("Cancelling..."));
    return;
  }
  QDialog::reject();
}

void TTransferDialog::closeEvent(QCloseEvent* event) {
  if (m_running) {
    m_cancelRequested = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace tarn::app::ui
