// The export dialog: the one road from the main window to every exporter.
// The author picks a format, the pages (in the export file list), the
// folder and main file, page-size, help-compiler and word-processor
// options; Export runs the export with progress in the dialog and a Cancel
// that stops it between documents. TFopzExp holds the HTML options.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/transferdialog.h"
#include "convert/exportjob.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeView;

namespace tarn::convert {
class TAEHtoHtml;
}
namespace tarn::app::ui {

class FormPlacement;
class TAEHListHtmlToTxView;
class TKrLanguager;

// The HTML export options, under "htmlexp".
class TFopzExp : public QDialog {
  Q_OBJECT
 public:
  TFopzExp(platform::Registry& registry, QWidget* parent = nullptr);
  QCheckBox* AutoAlt() const { return m_alt; }
  QCheckBox* OriginalNames() const { return m_origName; }
  QCheckBox* SeparateImages() const { return m_sepImage; }
  QComboBox* Extension() const { return m_extension; }

  // What the settings say (the defaults where nothing is stored).
  static convert::HtmlExportOptions Read(platform::Registry& registry);

 protected:
  void accept() override;

 private:
  platform::Registry& m_registry;
  QCheckBox* m_alt = nullptr;
  QCheckBox* m_origName = nullptr;
  QCheckBox* m_sepImage = nullptr;
  QCheckBox* m_utf8 = nullptr;
  QComboBox* m_extension = nullptr;
};

class TFexp : public TTransferDialog {
  Q_OBJECT
 public:
  struct Host : TransferHost {
    // A folder chosen by the author; empty when cancelled.
    std::function<std::string(const std::string& proposed)> askFolder;
    // The command of the program registered for help projects.
    std::function<std::vector<std::string>(const std::filesystem::path&)> registeredProgram;
  };
  // The format items: number, caption, extension list of the preselection.
  struct FormatItem {
    int number;
    const char* caption;
    const char* extensions;
  };
  static const std::vector<FormatItem>& Formats();

  explicit TFexp(Host host, QWidget* parent = nullptr);
  ~TFexp() override;

  // Chooses the format whose extensions hold the proposed name's, loads its
  // settings, and takes the name's folder and file name. Nothing matching:
  // the stored settings of HTML.
  void Prepare(const std::string& proposed);

  int Format() const { return m_format; }
  void SetFormat(int number);
  TAEHListHtmlToTxView* PageList() const { return m_list; }
  QLineEdit* Folder() const { return m_folder; }
  QLineEdit* MainFile() const { return m_mainFile; }
  QPushButton* ExportButton() const { return RunButton(); }
  QPushButton* AllButton() const { return m_all; }
  const convert::ExportOutcome& Outcome() const { return m_outcome; }
  // Runs the export of the current format; answers whether it succeeded
  // (the dialog then closes with OK).
  bool RunExport();
  // The dialog that chooses pages; answers the chosen page indexes (tests
  // replace it).
  std::function<std::vector<int>(const std::vector<std::pair<int, std::string>>& pages)> ChoosePages;

 protected:
  bool Run() override { return RunExport(); }
  void showEvent(QShowEvent* event) override;
  void ShowProgress(int item, int total, int phase) override;

 private:
  QWidget* BuildPagesTab();
  QWidget* BuildPathTab();
  QWidget* BuildOptionsTab();
  void FormatChosen(int index);
  void PreselectFormat(const std::string& proposed);
  void LoadSettings(int format);
  void SaveSettings(int format);
  void RebuildList(bool keepChecks);
  void ToggleAll();
  void BrowsePages();
  void HtmlOptions();
  void ShowPathPanel();
  void ShowFileList();
  void SetFolder(const QString& folder);
  void BrowseFolder();
  void NewFolder();
  void PreviousFolder();
  void UpdateConverter();
  // The folder tree shows the folder chosen, once the model has read it.
  void RevealFolder();
  std::string FolderText() const;

  Host m_host;
  std::unique_ptr<convert::TAEHtoHtml> m_html;
  TKrLanguager* m_languager = nullptr;
  FormPlacement* m_placement = nullptr;
  int m_format = convert::kExpHtml;
  // While settings load, the list is only marked for a rebuild.
  bool m_loading = false;
  bool m_listDirty = false;
  // The rebuild checks the pages as the format wants.
  bool m_defaultChecks = false;
  convert::ExportOutcome m_outcome;

  TAEHListHtmlToTxView* m_list = nullptr;
  QPushButton* m_all = nullptr;
  QPushButton* m_browsePages = nullptr;
  QPushButton* m_htmlOptions = nullptr;
  QLineEdit* m_folder = nullptr;
  QLineEdit* m_mainFile = nullptr;
  QLabel* m_mainFileLabel = nullptr;
  QFileSystemModel* m_folderModel = nullptr;
  QTreeView* m_folderTree = nullptr;
  QFileSystemModel* m_fileModel = nullptr;
  QListView* m_fileList = nullptr;
  QSpinBox* m_width = nullptr;
  QSpinBox* m_height = nullptr;
  QSpinBox* m_top = nullptr;
  QSpinBox* m_bottom = nullptr;
  QSpinBox* m_left = nullptr;
  QSpinBox* m_right = nullptr;
  QWidget* m_sizeBox = nullptr;
  QWidget* m_helpBox = nullptr;
  QCheckBox* m_runHcp = nullptr;
  QCheckBox* m_titlesAsKeywords = nullptr;
  QRadioButton* m_defaultHcp = nullptr;
  QRadioButton* m_pathHcp = nullptr;
  QLineEdit* m_hcpPath = nullptr;
  QWidget* m_wordBox = nullptr;
  QLineEdit* m_wordProcessor = nullptr;
};

// The settings key of an export format ("exp\N") and of an import format.
std::string ExportFormatKey(int format);
// Where exports and imports go when nothing is stored.
std::string DefaultTransferFolder();
// A stored folder of the dialogs, or the default when it is empty or names
// a drive of the older program ("c:\\temp\\").
std::string StoredOrDefaultFolder(std::string stored);
// The page chooser of the export and publishing dialogs: the pages (index,
// title), several may be chosen; answers the chosen indexes.
std::vector<int> ChoosePagesDialog(QWidget* parent, const std::vector<std::pair<int, std::string>>& pages);
// The word processor's command from the options; empty: LibreOffice.
inline constexpr const char* kWordProcessorOption = "WordProcessorPath";

}  // namespace tarn::app::ui
