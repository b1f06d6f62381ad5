// The special-link dialog: what a special link does (go to a page, to the
// previous or next page, close a window, open the keywords window), the
// page and anchor it leads to, and the window it opens in. The text's
// special links, the links of pictures and of click zones share it.
#pragma once

#include <QDialog>

#include <vector>

#include "richtext/formattinglinks.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace tarn::document {
class TAEHset;
}

namespace tarn::app::ui {

class TFSpecialLink : public QDialog {
 public:
  // Starts from the fields; title and name tell what the link belongs to.
  TFSpecialLink(const document::TAEHset& set, const richtext::SpecialLinkFields& fields, const QString& title,
                const char* name, QWidget* parent = nullptr);

  // The fields as the author left them.
  richtext::SpecialLinkFields Fields() const;

  // The choices by their position, for the tests: the kind (0 a page, 1 close
  // a window, 2 the keywords window, 3 the previous page, 4 the next page),
  // and the page as its place in the list of the hypertext's pages.
  QComboBox* KindBox() const { return m_kind; }
  QComboBox* PageBox() const { return m_page; }
  QSpinBox* AnchorBox() const { return m_anchor; }
  QComboBox* ActionBox() const { return m_action; }
  QLineEdit* WindowBox() const { return m_window; }
  // Chooses the page of that index of the hypertext; false when it has none.
  bool ChoosePage(int page);

 private:
  void ShowKind();

  richtext::SpecialLinkFields m_start;
  std::vector<int> m_pages;
  QComboBox* m_kind;
  QComboBox* m_page;
  QSpinBox* m_anchor;
  QComboBox* m_action;
  QLineEdit* m_window;
};

// Runs the dialog over the fields; true, with the fields changed, on Ok.
bool EditSpecialLink(const document::TAEHset& set, richtext::SpecialLinkFields& fields, const QString& title,
                     const char* name, QWidget* parent);

}  // namespace tarn::app::ui
