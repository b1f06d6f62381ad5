// The page-properties dialog, on its "Text properties" tab (title, colours,
// background, HTML name) and its "Header and footer" tab (the page's
// header and footer choice, and the hypertext's own header and footer
// pages). It edits a page record and the hypertext's header; the caller
// shows the page again so that its header, footer and colours follow.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document

namespace tarn::app::ui {

class TKrLanguager;

class TFPageProperties : public QDialog {
 public:
  enum Tab { kTextTab = 0, kHeaderFooterTab = 1 };

  // page: the record edited (the working copy of the page shown); its own
  // index, -1 for a page not stored yet.
  TFPageProperties(const document::TAEHset& set, const document::TAEHoggetto& page, int pageIndex, Tab tab,
                   QWidget* parent = nullptr);

  // Writes what the author chose into the page record and the hypertext's
  // header; answers whether anything changed.
  bool ApplyTo(document::TAEHoggetto& page, document::TAEHset& set) const;

  QTabWidget* Tabs() const { return m_tabs; }
  QLineEdit* Title() const { return m_title; }
  QLineEdit* HtmlName() const { return m_htmlName; }
  QComboBox* Header() const { return m_header; }
  QComboBox* Footer() const { return m_footer; }
  QComboBox* SetHeader() const { return m_setHeader; }
  QComboBox* SetFooter() const { return m_setFooter; }
  QComboBox* Background() const { return m_background; }
  QCheckBox* FixedBackground() const { return m_fixed; }
  // The colour a button shows (0x00BBGGRR), and choosing one without the
  // colour dialog.
  std::uint32_t Colour(int which) const { return m_colours[which]; }
  void SetColour(int which, std::uint32_t colour);
  enum ColourField { kText = 0, kLink = 1, kVisited = 2, kGround = 3 };

 private:
  QWidget* TextTab(const document::TAEHoggetto& page);
  QWidget* HeaderFooterTab(const document::TAEHoggetto& page, int pageIndex);
  QComboBox* PageChoice(const char* name, bool withChoices, std::int32_t value, int pageIndex);

  const document::TAEHset& m_set;
  QTabWidget* m_tabs;
  QLineEdit* m_title;
  QLineEdit* m_htmlName;
  QPushButton* m_colourButtons[4];
  std::uint32_t m_colours[4];
  QComboBox* m_background;
  QCheckBox* m_fixed;
  QComboBox* m_header;
  QComboBox* m_footer;
  QComboBox* m_setHeader;
  QComboBox* m_setFooter;
  TKrLanguager* m_languager;
};

}  // namespace tarn::app::ui
