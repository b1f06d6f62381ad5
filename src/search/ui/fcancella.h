// The delete dialog every command that deletes stored objects opens: it
// reports, for each object, where it is referenced (worked out on a worker
// thread while the dialog is up), and on OK cancels every reference and
// then deletes the objects; Cancel changes nothing.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "document/objectkinds.h"
#include "document/ui/editorlink.h"
#include "search/referencereport.h"

class QPlainTextEdit;
class QProgressBar;
class QTabWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform::qt {
class QtEventLoop;
}

namespace tarn::search::ui {

using document::ObjectId;

class TFcancella : public QDialog {
  Q_OBJECT
 public:
  enum Tab { kReferencesTab = 0, kSelectedTab = 1 };

  TFcancella(document::TAEHset& set, std::vector<ObjectId> ids, document::ui::EditorLink editor,
             QWidget* parent = nullptr);
  ~TFcancella() override;

  // What the tests look at.
  QString References() const;
  QString Selected() const;
  QTabWidget& Tabs() const { return *m_tabs; }
  bool ReportRunning() const;
  const std::vector<ReportLine>& ReportLines() const { return m_report; }

 public slots:
  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void StopReport();
  void ShowSelected();

  document::TAEHset& m_set;
  std::vector<ObjectId> m_ids;
  document::ui::EditorLink m_editor;
  std::vector<std::string> m_selected;  // one line per object, in order
  std::vector<ReportLine> m_report;
  QTabWidget* m_tabs = nullptr;
  QPlainTextEdit* m_references = nullptr;
  QPlainTextEdit* m_selectedMemo = nullptr;
  QProgressBar* m_reportProgress = nullptr;
  QProgressBar* m_deleteProgress = nullptr;
  // The report comes through the loop; what is pending when the dialog goes
  // is dropped with it.
  platform::qt::QtEventLoop* m_loop = nullptr;
  std::unique_ptr<TKrSearchThread> m_thread;
  bool m_started = false;
};

// The main window's delete command: the dialog for the objects, shown
// modally. True when the objects were deleted (the caller reloads its lists).
bool AskAndDeleteObjects(QWidget* parent, document::TAEHset& set, const std::vector<ObjectId>& ids,
                         const document::ui::EditorLink& editor);

}  // namespace tarn::search::ui
