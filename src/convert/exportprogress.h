// How a converter reports the progress of an export run: the export dialog
// shows a status line, the command line prints a line per phase.
#pragma once

namespace tarn::convert {

class TAEHconv;

// Why a run that was asked to stop ended early.
inline constexpr const char* kExportCancelled = "The export was cancelled.";

// Phases of an HTML export run.
enum ExportPhase : int { kPhasePages = 1, kPhaseFrameless = 2, kPhaseFiles = 3 };
// The phase an import reports for each file it reads.
inline constexpr int kPhaseImportFiles = 1;

class ExportProgress {
 public:
  virtual ~ExportProgress() = default;
  // Called before each document: item `item` (counted from 0) of `total`
  // in phase `phase`.
  virtual void OnExpProgress(const TAEHconv& sender, int item, int total, int phase) = 0;
  // Called between documents, so that a window stays responsive during a
  // long run; the hypertext must not be changed meanwhile.
  virtual void ProcessPendingEvents() {}
  // Asked between documents: true stops the run there (an export then
  // fails, an import keeps what it made so far and finishes it).
  virtual bool CancelRequested() { return false; }
};

}  // namespace tarn::convert
