// The link dialog: where the selected text leads. A page of this hypertext
// (picked from a list that a typed word narrows, or by its title), a page
// of another hypertext file, a web address, an e-mail address or a file.
// It answers the URL of the link record to make, or that the link goes.
#pragma once

#include <QDialog>

#include <string>

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

class TFLink : public QDialog {
 public:
  enum class Target { Page = 0, OtherHypertext = 1, Address = 2, Mail = 3, File = 4 };

  // current: the URL of the link the selection has now; hasLink: it has
  // one (which may be a special link without a URL), so it can be removed.
  TFLink(const document::TAEHset& set, const std::string& current, bool hasLink, QWidget* parent = nullptr);

  // The link chosen on Ok: an internal URL, an address, "mailto:" and the
  // address, or "file:" and a path. Empty when nothing valid was chosen.
  std::string Url() const;
  // "Remove link" closed the dialog.
  bool RemoveChosen() const { return m_remove; }

  void SetTarget(Target target);
  QListWidget* Pages() const { return m_pages; }
  QLineEdit* Filter() const { return m_filter; }
  QLineEdit* Address() const { return m_address; }

 private:
  void FillPages();
  void ShowCurrent(const std::string& url);

  const document::TAEHset& m_set;
  QComboBox* m_kind;
  QStackedWidget* m_stack;
  QLineEdit* m_filter;
  QListWidget* m_pages;
  QLineEdit* m_otherFile;
  QSpinBox* m_otherPage;
  QLineEdit* m_address;
  QLineEdit* m_mail;
  QLineEdit* m_file;
  TKrLanguager* m_languager;
  bool m_remove = false;
};

}  // namespace tarn::app::ui
