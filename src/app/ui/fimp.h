// The import dialog: the road from the main window to every importer. The
// author picks a source format and files (from the dialog's file list, by
// dragging, or dropped from the desktop), sets the options, and Import
// makes new pages with progress and a Cancel that stops between files. For
// HTML it also lists the pages reachable by links from a start page.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/transferdialog.h"
#include "convert/importjob.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace tarn::app::ui {

class FormPlacement;
class TKrLanguager;

class TFimp : public TTransferDialog {
  Q_OBJECT
 public:
  using Host = TransferHost;
  struct FormatItem {
    int number;
    const char* caption;
    const char* mask;
    const char* extensions;
  };
  static const std::vector<FormatItem>& Formats();

  explicit TFimp(Host host, QWidget* parent = nullptr);
  ~TFimp() override;

  // The first name picks the format; the others join when that format
  // takes their extension.
  void OpenWith(const std::vector<std::string>& files);
  // HTML on the tab "Automatic import, by following links", from the start
  // page given, its linked pages listed at once.
  void OpenAutomatic(const std::string& start);
  // Files dropped from the desktop (the drop rules of the dialog).
  void DropFiles(const std::vector<std::string>& files);
  // Adds a file to the chosen files (lower case, once).
  void AddChosen(const std::string& file);

  int Format() const { return m_format; }
  void SetFormat(int number);
  std::vector<std::string> ChosenFiles() const;
  QWidget* AutomaticTab() const { return m_autoTab; }
  QListWidget* AutomaticList() const { return m_autoList; }
  QLineEdit* StartPage() const { return m_startPage; }
  QPushButton* ImportButton() const { return RunButton(); }
  QLabel* MainFileLabel() const { return m_mainFileLabel; }
  const convert::ImportOutcome& Outcome() const { return m_outcome; }
  // Lists the pages reachable from the start page.
  void DoList();
  // Runs the import; true when it ran (the dialog then closes with OK).
  bool RunImport();
  // Shows the WinHelp import report (tests read it instead).
  std::function<void(const std::vector<std::string>& lines)> ShowReport;

 protected:
  bool Run() override { return RunImport(); }
  void ShowProgress(int item, int total, int phase) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildFilesTab();
  QWidget* BuildOptionsTab();
  QWidget* BuildAutomaticTab();
  void FormatChosen(int index);
  void LoadSettings(int format);
  void SaveSettings(int format);
  void SetFolder(const QString& folder);
  void AddSelected();
  void RemoveSelected();
  void UpdateMainFile();
  void ChooseColour();
  void ShowColour();
  bool Accepts(int format, const std::string& file) const;
  int FormatOf(const std::string& file) const;

  Host m_host;
  TKrLanguager* m_languager = nullptr;
  FormPlacement* m_placement = nullptr;
  int m_format = convert::kImpRtfPages;
  std::uint32_t m_colour = 0xFFFFFF;
  convert::ImportOutcome m_outcome;

  QLineEdit* m_folder = nullptr;
  QFileSystemModel* m_fileModel = nullptr;
  QListView* m_fileList = nullptr;
  QListWidget* m_chosen = nullptr;
  QLabel* m_mainFileLabel = nullptr;
  QCheckBox* m_allToGif = nullptr;
  QCheckBox* m_summary = nullptr;
  QCheckBox* m_common = nullptr;
  QSpinBox* m_paragraphs = nullptr;
  QSpinBox* m_headingLevel = nullptr;
  QCheckBox* m_useImage = nullptr;
  QComboBox* m_image = nullptr;
  QPushButton* m_colourButton = nullptr;
  QWidget* m_autoTab = nullptr;
  QLineEdit* m_startPage = nullptr;
  QSpinBox* m_depth = nullptr;
  QListWidget* m_autoList = nullptr;
  QLabel* m_autoCount = nullptr;
};

std::string ImportFormatKey(int format);

}  // namespace tarn::app::ui
