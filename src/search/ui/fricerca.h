// The link explorer window: on its first tab, the pages that refer to a
// chosen page, image, file, keyword or link; on its second, the pages that
// refer to the page shown in the editor beside what that page refers to,
// walked by double clicks. The searches run on worker threads over a copy
// of the hypertext; every list is filled on the user-interface thread.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/objectkinds.h"
#include "document/ui/editorlink.h"
#include "platform/eventloop.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform::qt {
class QtEventLoop;
}
namespace tarn::document::ui {
class TAEHListView;
}

namespace tarn::search {
class TKrPageSearchThread;
class TKrSearchThreadDa;
class TKrSearchThreadPer;
}  // namespace tarn::search

namespace tarn::search::ui {

using document::ObjectId;

struct ExplorerHost {
  document::ui::EditorLink editor;
  // Shows the page an internal ("tarn:") URL names, opening its hypertext
  // first when it is another one (the main window's NavigateToUrl).
  std::function<void(const std::string& url)> navigateToUrl;
  // Any other URL; unset: the desktop's handler opens it.
  std::function<void(const std::string& url)> openUrl;
  // The file-link dialog for an embedded file.
  std::function<void(ObjectId file)> openFile;
  // The main window's delete command.
  std::function<void(const std::vector<ObjectId>& ids)> deleteObjects;
};

class TFricerca : public QWidget {
  Q_OBJECT
 public:
  enum Tab { kSearchTab = 0, kExploreTab = 1 };

  // The window deletes itself when closed (the main window keeps a
  // QPointer to it).
  TFricerca(document::TAEHset& set, ExplorerHost host, QWidget* parent = nullptr);
  ~TFricerca() override;

  void SelectTab(Tab tab);
  // Another hypertext was opened: what the window shows is out of date.
  void MarkStale();

  // State the tests and the main window look at.
  bool SearchStale() const { return m_searchStale; }
  bool ExploreStale() const { return m_exploreStale; }
  bool SearchIdle() const { return m_searchIdle; }
  bool ThreadsRunning() const;
  document::ui::TAEHListView& Candidates() const { return *m_candidates; }
  document::ui::TAEHListView& Found() const { return *m_found; }
  document::ui::TAEHListView& ReferringPages() const { return *m_from; }
  document::ui::TAEHListView& ReferencedObjects() const { return *m_to; }
  QComboBox& SearchKinds() const { return *m_kinds; }
  QString CurrentCaption() const;

  // The commands of the window's buttons.
  void Update();
  void ChooseKind(int entry);
  void Search();
  void StopSearch();
  void ShowSelectedPage(document::ui::TAEHListView& list);
  void DeleteSelection();
  void Explore();
  void Browse(ObjectId id);

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildSearchTab();
  QWidget* BuildExploreTab();
  QWidget* ViewButtons(const char* prefix, std::vector<document::ui::TAEHListView*> lists);
  void TabChanged(int tab);
  void StopThreads();
  void SearchFinished();
  void AddFound(const std::vector<ObjectId>& ids, document::ui::TAEHListView& list);
  void RaiseSoon();

  document::TAEHset& m_set;
  ExplorerHost m_host;
  QTabWidget* m_tabs = nullptr;
  QComboBox* m_kinds = nullptr;
  document::ui::TAEHListView* m_candidates = nullptr;
  document::ui::TAEHListView* m_found = nullptr;
  document::ui::TAEHListView* m_from = nullptr;
  document::ui::TAEHListView* m_to = nullptr;
  QPushButton* m_showCandidate = nullptr;
  QPushButton* m_stop = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_current = nullptr;
  // Results of the threads come through the loop; what is pending when the
  // window goes is dropped with it.
  platform::qt::QtEventLoop* m_loop = nullptr;
  // After a page was browsed to, brings the explorer back to the front.
  platform::Timer m_raise;

  bool m_searchStale = true;
  bool m_exploreStale = true;
  bool m_active = false;
  bool m_closing = false;
  bool m_searchIdle = true;
  ObjectId m_searchId = -1;
  int m_searchKind = 0;
  std::unique_ptr<TKrPageSearchThread> m_search;
  std::unique_ptr<TKrSearchThreadDa> m_fromThread;
  std::unique_ptr<TKrSearchThreadPer> m_toThread;
};

}  // namespace tarn::search::ui
