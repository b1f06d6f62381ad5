// The print dialog: the ordered list of pages to print, filled from the
// default page order, the current page, the page order tree and the pages
// visited in the preview; the page and table background options and the
// image scale; printing with a progress bar. In its page-order mode it is
// the editor of the default page order, with the preview beside it.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "print/aehpagep.h"
#include "print/printlist.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::document::ui {
class TAEHorderedTreeView;
}
namespace tarn::objects::ui {
class TAEHframeSet;
}
namespace tarn::platform {
class Messages;
class Registry;
}  // namespace tarn::platform

namespace tarn::print::ui {

struct PrintDialogHost {
  document::TAEHset& set;
  platform::Messages& messages;
  platform::Registry& registry;
  // The page setup, and through it the printer.
  TPageSetupDialog& setup;
  // The page the editor shows.
  std::function<long()> currentPage;
  // Whether the page order may be changed (the hypertext is being edited).
  std::function<bool()> editable;
  // The page order was changed.
  std::function<void()> changed;
  // Readies the printer for a job (the PDF printer asks for its file);
  // false when the author cancelled.
  std::function<bool(QWidget* parent)> prepareOutput;
  // The printer and margins setups, run from the dialog.
  std::function<void(QWidget* parent)> printerSetup;
  std::function<void(QWidget* parent)> marginsSetup;
};

class TFstampa : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Print, PageOrder };
  static constexpr const char* kPreviewOption = "clicprintprev";

  TFstampa(PrintDialogHost host, Mode mode, QWidget* parent = nullptr);
  ~TFstampa() override;

  Mode DialogMode() const { return m_mode; }
  print::PrintList& List() { return m_list; }
  PrintOptions Options() const;
  // The list's buttons.
  void AllInDefaultOrder();
  void AddCurrentPage();
  void AddFromTree();
  void AddVisited();
  void RemoveSelected();
  void MoveSelected(int direction);
  // Prints the list; true when it printed (the dialog then closes).
  bool PrintPages();
  // Shows the page in the preview (when previewing on click).
  void Preview(long page);
  const std::vector<int>& Visited() const { return m_visited; }
  // The pages the last printing printed.
  int Printed() const { return m_printed; }

  document::ui::TAEHorderedTreeView& Tree() const { return *m_tree; }
  QListWidget* ListBox() const { return m_listBox; }
  QCheckBox* PageBackground() const { return m_background; }
  QCheckBox* TableBackground() const { return m_tableBackground; }
  QSpinBox* ImageScale() const { return m_scale; }
  QCheckBox* PreviewOnClick() const { return m_previewOnClick; }
  QProgressBar* Progress() const { return m_progress; }
  QPushButton* PrintButton() const { return m_print; }
  objects::ui::TAEHframeSet* PreviewFrames() const;

 protected:
  void reject() override;

 private:
  QWidget* BuildListPane();
  QWidget* BuildTreePane();
  QWidget* BuildOptionsPane();
  void RefreshList(int select = -1);
  void UpdatePrinterLabel();
  void PreviewChanged();

  PrintDialogHost m_host;
  Mode m_mode;
  print::PrintList m_list;
  std::unique_ptr<document::TAEHset> m_previewSet;
  std::vector<int> m_visited;
  bool m_printing = false;
  int m_printed = 0;
  bool m_stop = false;

  document::ui::TAEHorderedTreeView* m_tree = nullptr;
  QListWidget* m_listBox = nullptr;
  QCheckBox* m_background = nullptr;
  QCheckBox* m_tableBackground = nullptr;
  QSpinBox* m_scale = nullptr;
  QCheckBox* m_previewOnClick = nullptr;
  QLabel* m_printerName = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_print = nullptr;
  QPushButton* m_close = nullptr;
  QPointer<objects::ui::TAEHframeSet> m_preview;
};

}  // namespace tarn::print::ui
