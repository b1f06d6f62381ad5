// The link dialog: where the selected text leads. A page of this hypertext
// (picked from a list that a typed word narrows, or by its title) and an
// anchor of it, a page of another hypertext file, a web address, an e-mail
// address, a file, or a new page that the dialog's caller creates. It
// answers the URL of the link record to make (or the page and anchor), or
// that the link goes.
#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStackedWidget;

namespace tarn::document {
class TAEHset;
}

namespace tarn::app::ui {

class TKrLanguager;

// Text typed for a record (cp1252): a character outside it becomes "?", so
// that what is lost shows.
std::string RecordText(const QString& text);

class TFLink : public QDialog {
 public:
  enum class Target { Page = 0, OtherHypertext = 1, Address = 2, Mail = 3, File = 4, NewPage = 5 };

  // current: the URL of the link the selection has now; hasLink: it has
  // one (which may be a special link without a URL), so it can be removed.
  TFLink(const document::TAEHset& set, const std::string& current, bool hasLink, QWidget* parent = nullptr);

  // The link chosen on Ok: an internal URL, an address, "mailto:" and the
  // address, or "file:" and a path. Empty when nothing valid was chosen (and
  // for a new page, which has no URL before it is made).
  std::string Url() const;
  // A page of this hypertext chosen with an anchor of it: the page (-1 none)
  // and the anchor number (-1 none).
  int ChosenPage() const;
  int ChosenAnchor() const;
  // The title typed for a new page.
  std::string NewPageTitle() const;

  // The anchors of a page, and the page that holds the link (whose anchors
  // the page view knows before they are stored). Without them no anchor is
  // offered.
  void SetAnchorSource(std::function<std::vector<int>(int page)> anchorsOf, int currentPage);
  // Shows a link to a page of this hypertext (-1: the current page) and an
  // anchor of it.
  void ShowPageTarget(int page, int anchor);
  // "Remove link" closed the dialog.
  bool RemoveChosen() const { return m_remove; }

  void SetTarget(Target target);
  Target Kind() const;
  QListWidget* Pages() const { return m_pages; }
  QLineEdit* Filter() const { return m_filter; }
  QLineEdit* Address() const { return m_address; }
  QComboBox* Anchors() const { return m_anchors; }
  QLineEdit* Title() const { return m_title; }

 private:
  void FillPages();
  void FillAnchors();
  void ShowCurrent(const std::string& url);

  const document::TAEHset& m_set;
  QComboBox* m_kind;
  QStackedWidget* m_stack;
  QLineEdit* m_filter;
  QListWidget* m_pages;
  QComboBox* m_anchors;
  QLineEdit* m_title;
  std::function<std::vector<int>(int page)> m_anchorsOf;
  int m_currentPage = -1;
  QLineEdit* m_otherFile;
  QSpinBox* m_otherPage;
  QLineEdit* m_address;
  QLineEdit* m_mail;
  QLineEdit* m_file;
  TKrLanguager* m_languager;
  bool m_remove = false;
};

}  // namespace tarn::app::ui
