// Moving between pages in the main window: the page-number box with its
// spin buttons and popup, the visited-pages list ("Browsed pages") with the
// previous and next commands, the "Go to page" menus of recently shown
// pages, page +1 and -1, the header, footer and next-slide commands of the
// page-number popup. The window creates it once and tells it when the
// editor shows another page or another hypertext was opened.
#pragma once

#include <QColor>
#include <QObject>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QMenu;
class QSpinBox;

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document
namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;

// The live page n of the hypertext, or nothing (deleted, or never made).
document::TAEHoggetto* LivePage(document::TAEHset& set, long page);

class PageNavigation : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    objects::ui::TInsiemeCornici& editor;
    // The open hypertext's name as the window keeps it ("Untitled" for a
    // new one): the visited-pages list names pages by it.
    std::function<std::string()> fileName;
    // Shows the page an internal URL names (the window's NavigateToUrl).
    std::function<void(const std::string& url)> navigateToUrl;
  };

  // The go-to menus hold at most this many items, the fixed ones included.
  static constexpr int kGoMenuLimit = 17;
  // After loading, the first pages go into the go-to menus.
  static constexpr int kPagesListedAtLoad = 15;

  PageNavigation(CommandSet& commands, Host host, QObject* parent);

  // The editor shows another page: the number box follows, the page joins
  // the visited pages and the go-to menus.
  void EditorPageChanged();
  // Shows visited page i, selects it in the list and enables previous and
  // next; the move is not recorded again.
  void GoToHistoryEntry(int index);
  void AddPageToGoMenu(long page);
  void ClearGoMenu();
  // A hypertext was loaded: the go-to menus start with its first pages.
  void HypertextLoaded();
  // Every go-to entry takes the current title of its page.
  void RecaptionGoMenus();
  // The number box's value as typed or stepped: shows that page.
  void PageNumberChanged(int value);
  // "Page +1" and "Page -1": the number box one live page on (or back).
  void StepPage(int step);

  // The visited pages' internal URLs, oldest first, and the selected one.
  QStringList HistoryEntries() const;
  int HistoryIndex() const;
  QComboBox* History() const { return m_history; }
  QSpinBox* PageNumber() const { return m_pageNumber; }
  // The entries after the separator of a go-to menu: (page, caption).
  std::vector<std::pair<long, QString>> GoMenuEntries(const QMenu* menu) const;
  QMenu* GoToPageMenu() const { return m_goMenu; }
  QMenu* PageNumberMenu() const { return m_numberMenu; }
  bool UpdatingControls() const { return m_updatingControls; }

  // The page chooser of "Select page from preview..." and "All hypertext
  // pages..."; -1 when cancelled. Tests answer it.
  std::function<long(long current)> choosePage;

 private:
  bool Switching() const;
  std::string UrlOf(long page) const;
  void AddToMenu(QMenu* menu, QAction* separator, long page, const QString& title);
  void ShowGoMenuSeparators();
  void ShowPage(long page);
  void FollowSharedPage(bool footer);
  void PrepareNumberMenu();
  void ColourPageNumber();

  Host m_host;
  CommandSet& m_commands;
  QSpinBox* m_pageNumber = nullptr;
  QComboBox* m_history = nullptr;
  QMenu* m_goMenu = nullptr;
  QAction* m_goSeparator = nullptr;
  QMenu* m_numberMenu = nullptr;
  QAction* m_numberSeparator = nullptr;
  QColor m_textColour;
  bool m_historyEnabled = true;
  bool m_updatingControls = false;
  bool m_numberAsked = false;
};

}  // namespace tarn::app::ui
