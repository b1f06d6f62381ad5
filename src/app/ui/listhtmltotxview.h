// The export file list on screen: a report-style list with check boxes and
// editable titles over TAEHListHtmlToTx, the rows' icons the desktop's
// file-type icons. The export and publishing dialogs show it.
#pragma once

#include <QTreeWidget>

#include <map>
#include <string>

#include "convert/listhtmltotx.h"

namespace tarn::app::ui {

class TAEHListHtmlToTxView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TAEHListHtmlToTxView(QWidget* parent = nullptr);

  convert::TAEHListHtmlToTx& List() { return m_list; }
  // Rebuilds the rows from the hypertext and shows them.
  void Reload();
  // Shows the list's rows again (after checks or stamps changed in it).
  void Refill();
  // A right-button press selects the row under the mouse.
  bool RightMouseSelect = true;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void ItemChanged(QTreeWidgetItem* item, int column);
  void HeaderClicked(int column);
  QIcon IconFor(const std::string& extension);

  convert::TAEHListHtmlToTx m_list;
  // Looked up once per extension for the rest of the run.
  std::map<std::string, QIcon> m_icons;
  bool m_filling = false;
};

}  // namespace tarn::app::ui
