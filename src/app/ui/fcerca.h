// The search window: pages by keyword, words in the page and across the
// hypertext with "(A and B) or (C and D)", and replacing in the page or in
// all pages with the confirmations the options ask for. A tool window of
// the main window that works on the main editor and moves it to the pages
// it finds.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
}  // namespace tarn::platform
namespace tarn::objects::ui {
class TInsiemeCornici;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::app::ui {

class TFcerca : public QWidget {
  Q_OBJECT

 public:
  enum Tab { kKeywordTab = 0, kWordTab = 1, kReplaceTab = 2 };
  struct Host {
    std::function<document::TAEHset*()> set;
    objects::ui::TInsiemeCornici& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    // The status bar's text.
    std::function<void(const QString& text)> status;
  };

  TFcerca(Host host, QWidget* parent);
  ~TFcerca() override;

  // Shows the window on a tab (reading the stored options).
  void ShowTab(Tab tab);
  // F3 and F4 on the active tab.
  void F3();
  void F4();
  // The editor changed between editing and reading.
  void ReadOnlyChanged();

  // ---- The operations, for the keys and for tests ----
  void FindKeyword();
  void ShowKeyword(int keywordIndex);
  void ListMatchingPages();
  bool SearchInPage();
  bool SearchInHypertext();
  bool ReplaceStep();
  bool SearchAndAsk();
  // False when the user cancelled.
  bool ReplaceAllInPage();
  void ReplaceAllInHypertext();
  void ClearWords();

  // The controls, for tests.
  QTabWidget* Tabs() const { return m_tabs; }
  QComboBox* Word(int i) const { return m_words[i]; }
  QComboBox* ReplaceWord() const { return m_replaceWord; }
  QComboBox* ReplaceWith() const { return m_replaceWith; }
  QListWidget* Results() const { return m_results; }
  QListWidget* Keywords() const { return m_keywords; }
  QListWidget* KeywordPages() const { return m_keywordPages; }
  QPushButton* PageButton() const { return m_inPage; }
  QCheckBox* AskOne() const { return m_askOne; }
  QCheckBox* AskAll() const { return m_askAll; }
  QRadioButton* FromPageZero() const { return m_fromZero; }
  int Options() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildKeywordTab();
  QWidget* BuildWordTab();
  QWidget* BuildReplaceTab();
  void ReadOptions();
  void WriteOptions();
  void ResetPageButton();
  void FillKeywords();
  // The main page's text box.
  richtext::ui::TAEHbox* PageBox() const;
  // Selects the next occurrence of the word from the end of the selection;
  // false when there is none.
  bool FindFromCaret(const std::string& word);
  void CaretToStart();
  void ShowPage(int page);
  void Status(const QString& text);
  std::string Text(const QComboBox* box) const;
  void Remember(QComboBox* box);
  void WordTyped(int index);
  bool ReadOnly() const;

  Host m_host;
  QTabWidget* m_tabs;
  QWidget* m_replaceTab = nullptr;
  // Keyword tab.
  QLineEdit* m_keyword = nullptr;
  QListWidget* m_keywords = nullptr;
  QLabel* m_keywordLabel = nullptr;
  QListWidget* m_keywordPages = nullptr;
  // Word tab.
  QComboBox* m_words[4] = {};
  QCheckBox* m_wholeWord = nullptr;
  QCheckBox* m_ignoreCaps = nullptr;
  QListWidget* m_results = nullptr;
  QPushButton* m_inPage = nullptr;
  // Replace tab.
  QComboBox* m_replaceWord = nullptr;
  QComboBox* m_replaceWith = nullptr;
  QCheckBox* m_replaceWholeWord = nullptr;
  QCheckBox* m_replaceIgnoreCaps = nullptr;
  QCheckBox* m_askOne = nullptr;
  QCheckBox* m_askAll = nullptr;
  QRadioButton* m_fromZero = nullptr;
  QRadioButton* m_fromPresent = nullptr;
  bool m_moving = false;
};

}  // namespace tarn::app::ui
