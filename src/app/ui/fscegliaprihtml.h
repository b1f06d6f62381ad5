// What to do with an HTML file opened from the File menu: import it into the
// open hypertext, make a new hypertext of it or of the pages its links
// reach, or, for a page this program exported, go back to the hypertext it
// came from or copy the page.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "app/documentfiles.h"

class QRadioButton;

namespace tarn::app::ui {

class TFScegliApriHtml : public QDialog {
  Q_OBJECT
 public:
  // native: the file was exported from a hypertext (the four native
  // choices are offered instead of the three foreign ones).
  TFScegliApriHtml(const std::string& file, bool native, QWidget* parent = nullptr);

  HtmlOpenChoice Choice() const;
  void SetChoice(HtmlOpenChoice choice);
  // The radio button of a choice; null when it is not offered.
  QRadioButton* Button(HtmlOpenChoice choice) const;

 private:
  std::vector<std::pair<HtmlOpenChoice, QRadioButton*>> m_choices;
};

}  // namespace tarn::app::ui
