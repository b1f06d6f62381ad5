// What the export and import dialogs share: the format list above their
// tabs, and below them a status line, a progress bar, the button that runs
// the work and Cancel, which during a run asks the run to stop between two
// documents instead of closing the dialog. The window lives on while the
// work runs: the run lets pending events through after each document.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <filesystem>
#include <functional>

#include "convert/exportprogress.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Process;
class Registry;
}  // namespace tarn::platform

namespace tarn::app::ui {

// What both dialogs work with.
struct TransferHost {
  document::TAEHset& set;
  platform::Registry& registry;
  platform::Messages& messages;
  platform::Process& process;
  // DOC is offered only when a word processor was found.
  bool wordProcessor = false;
  // The word processor's own settings folder.
  std::filesystem::path wordProcessorProfile;
};

class TTransferDialog : public QDialog {
  Q_OBJECT
 public:
  QComboBox* FormatBox() const { return m_formatBox; }
  QTabWidget* Tabs() const { return m_tabs; }
  QPushButton* CancelButton() const { return m_cancel; }
  bool Running() const { return m_running; }
  // Called between documents while a run goes on (tests press Cancel here).
  std::function<void()> OnProgress;

 protected:
  // runName and runCaption: the button that runs the work ("bExport",
  // "&Export").
  TTransferDialog(QWidget* parent, const char* runName, const QString& runCaption);
  // The work the run button starts; true closes the dialog with OK.
  virtual bool Run() = 0;
  // What the progress of a run looks like in this dialog.
  virtual void ShowProgress(int item, int total, int phase) = 0;

  // The run's progress: shows it, keeps the window alive, asks for Cancel.
  // The window gets its events (and the progress its display) every few
  // milliseconds, not after every document: thousands of small pages would
  // otherwise spend more time on the window than on the work.
  class Progress : public convert::ExportProgress {
   public:
    explicit Progress(TTransferDialog& dialog) : m_dialog(dialog) { m_sinceEvents.start(); }
    void OnExpProgress(const convert::TAEHconv&, int item, int total, int phase) override;
    void ProcessPendingEvents() override;
    bool CancelRequested() override { return m_dialog.m_cancelRequested; }

   private:
    TTransferDialog& m_dialog;
    QElapsedTimer m_sinceEvents;
    int m_item = 0;
    int m_total = 0;
    int m_phase = 0;
    bool m_shown = true;
  };

  // Enter in the field runs `go` (go to the folder typed, list the pages)
  // instead of starting the work through the dialog's default button.
  void EnterRunsInstead(QLineEdit* field, std::function<void()> go);
  // Runs an export or import job with this dialog's progress; only Cancel
  // is enabled meanwhile.
  template <typename Job, typename Request>
  auto RunJob(Job& job, const Request& request, const TransferHost& host) {
    Progress progress(*this);
    job.Progress = &progress;
    job.WordProcessorProfile = host.wordProcessorProfile;
    SetRunning(true);
    auto outcome = job.Run(request);
    SetRunning(false);
    return outcome;
  }
  // Only Cancel stays enabled while running.
  void SetRunning(bool running);
  QPushButton* RunButton() const { return m_run; }
  QLabel* Status() const { return m_status; }
  QProgressBar* Bar() const { return m_progress; }

  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QComboBox* m_formatBox = nullptr;
  QTabWidget* m_tabs = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_run = nullptr;
  QPushButton* m_cancel = nullptr;
  bool m_running = false;
  bool m_cancelRequested = false;
};

}  // namespace tarn::app::ui
