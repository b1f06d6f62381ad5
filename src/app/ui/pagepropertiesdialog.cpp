// The page-properties dialog; see pagepropertiesdialog.h.
#include "app/ui/pagepropertiesdialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/formattoolbars.h"
#include "app/ui/krlanguager.h"
#include "app/ui/linkdialog.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

namespace field = document::field;
using platform::qt::ToQColor;
using platform::qt::ToQString;

// 1 = the background stays while the text scrolls.
constexpr int kPageFixedBackground = 288;
// A header or footer choice: the hypertext's page, or none.
constexpr std::int32_t kHypertextsPage = -1;
constexpr std::int32_t kNoPage = -2;
constexpr int kValueRole = Qt::UserRole;

constexpr int kColourFields[4] = {field::kPageTextColour, field::kPageLinkColour, field::kPageVisitedColour,
                                  field::kPageBgColour};

std::string Bytes(const QString& text) { return RecordText(text); }

void Choose(QComboBox& box, std::int32_t value) {
  const int found = box.findData(value);
  box.setCurrentIndex(found >= 0 ? found : 0);
}

std::int32_t Chosen(const QComboBox& box) { return box.currentData(kValueRole).toInt(); }

}  // namespace

TFPageProperties::TFPageProperties(const document::TAEHset& set, const document::TAEHoggetto& page, int pageIndex,
                                   Tab tab, QWidget* parent)
    : QDialog(parent), m_set(set) {
  setObjectName(QStringLiteral("FPageProperties"));
  setWindowTitle(QStringLiteral("Page properties"));
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("Tabs"));
  m_tabs->addTab(TextTab(page), QStringLiteral("Text properties"));
  m_tabs->addTab(HeaderFooterTab(page, pageIndex), QStringLiteral("Header and footer"));
  m_tabs->setCurrentIndex(tab);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addLayout(platform::qt::OkCancelRow(this));
  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
}

QWidget* TFPageProperties::TextTab(const document::TAEHoggetto& page) {
  auto* tab = new QWidget;
  auto* form = new QFormLayout(tab);
  m_title = new QLineEdit(ToQString(page.Str(field::kPageTitle, field::kPageTitleCapacity)));
  m_title->setObjectName(QStringLiteral("eTitle"));
  m_title->setMaxLength(field::kPageTitleCapacity);
  form->addRow(QStringLiteral("Title:"), m_title);
  m_htmlName = new QLineEdit(ToQString(page.Str(field::kPageHtmlName, field::kPageHtmlNameCapacity)));
  m_htmlName->setObjectName(QStringLiteral("eHtmlName"));
  m_htmlName->setMaxLength(field::kPageHtmlNameCapacity);
  form->addRow(QStringLiteral("HTML name:"), m_htmlName);

  const char* names[4] = {"bTextColour", "bLinkColour", "bVisitedColour", "bBackgroundColour"};
  const QString captions[4] = {QStringLiteral("Text color:"), QStringLiteral("Link color:"),
                               QStringLiteral("Visited link color:"), QStringLiteral("Background color:")};
  for (int i = 0; i < 4; ++i) {
    m_colourButtons[i] = new QPushButton;
    m_colourButtons[i]->setObjectName(QString::fromLatin1(names[i]));
    SetColour(i, static_cast<std::uint32_t>(page.I32(kColourFields[i])) & 0xFFFFFFu);
    connect(m_colourButtons[i], &QPushButton::clicked, this, [this, i, caption = captions[i]] {
      const QColor chosen = QColorDialog::getColor(ToQColor(m_colours[i]), this, caption.chopped(1));
      if (chosen.isValid()) SetColour(i, ColourValue(chosen));
    });
    form->addRow(captions[i], m_colourButtons[i]);
  }

  m_background = new QComboBox;
  m_background->setObjectName(QStringLiteral("cbBackground"));
  m_background->addItem(QStringLiteral("(none)"), -1);
  for (int i = 0; i < m_set.CountOf(document::immagine); ++i) {
    const document::TAEHoggetto* image = m_set.GetObject(document::immagine, i);
    if (image == nullptr || image->IsFree()) continue;
    m_background->addItem(ToQString(image->GetCaption()), i);
  }
  Choose(*m_background, page.I32(field::kPageBgImage));
  form->addRow(QStringLiteral("Background image:"), m_background);
  m_fixed = new QCheckBox(QStringLiteral("Fixed background (the text scrolls over it)"));
  m_fixed->setObjectName(QStringLiteral("cbFixed"));
  m_fixed->setChecked(page.I32(kPageFixedBackground) == 1);
  form->addRow(QString(), m_fixed);
  return tab;
}

QComboBox* TFPageProperties::PageChoice(const char* name, bool withChoices, std::int32_t value, int pageIndex) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  if (withChoices) {
    box->addItem(QStringLiteral("The hypertext's page"), kHypertextsPage);
    box->addItem(QStringLiteral("None"), kNoPage);
  } else {
    box->addItem(QStringLiteral("None"), -1);
  }
  for (int i = 0; i < m_set.CountOf(document::testoHtml); ++i) {
    const auto* page = dynamic_cast<const document::TAEHtesto*>(m_set.GetObject(document::testoHtml, i));
    // A page is not its own header.
    if (page == nullptr || page->IsFree() || i == pageIndex) continue;
    box->addItem(QStringLiteral("%1 - %2").arg(i).arg(ToQString(page->Title())), i);
  }
  Choose(*box, value);
  return box;
}

QWidget* TFPageProperties::HeaderFooterTab(const document::TAEHoggetto& page, int pageIndex) {
  auto* tab = new QWidget;
  auto* form = new QFormLayout(tab);
  m_header = PageChoice("cbHeader", true, page.I32(field::kPageHeaderChoice), pageIndex);
  m_footer = PageChoice("cbFooter", true, page.I32(field::kPageFooterChoice), pageIndex);
  form->addRow(QStringLiteral("Header of this page:"), m_header);
  form->addRow(QStringLiteral("Footer of this page:"), m_footer);
  m_setHeader = PageChoice("cbHypertextHeader", false, m_set.HeaderI32(document::header::kHeaderPage), -1);
  m_setFooter = PageChoice("cbHypertextFooter", false, m_set.HeaderI32(document::header::kFooterPage), -1);
  form->addRow(QStringLiteral("The hypertext's header page:"), m_setHeader);
  form->addRow(QStringLiteral("The hypertext's footer page:"), m_setFooter);
  return tab;
}

void TFPageProperties::SetColour(int which, std::uint32_t colour) {
  m_colours[which] = colour & 0xFFFFFFu;
  QPixmap swatch(24, 12);
  swatch.fill(ToQColor(m_colours[which]));
  m_colourButtons[which]->setIcon(QIcon(swatch));
  m_colourButtons[which]->setText(ToQColor(m_colours[which]).name());
}

bool TFPageProperties::ApplyTo(document::TAEHoggetto& page, document::TAEHset& set) const {
  bool changed = false;
  const auto setI32 = [&](int at, std::int32_t value) {
    if (page.I32(at) == value) return;
    page.SetI32(at, value);
    changed = true;
  };
  const auto setStr = [&](int at, int capacity, std::string text) {
    // A name made only of blanks is kept empty.
    if (text.find_first_not_of(' ') == std::string::npos) text.clear();
    if (static_cast<int>(text.size()) > capacity) text.resize(static_cast<std::size_t>(capacity));
    if (page.Str(at, capacity) == text) return;
    page.SetStr(at, capacity, text);
    changed = true;
  };
  const std::string title = Bytes(m_title->text().trimmed());
  if (!title.empty()) setStr(field::kPageTitle, field::kPageTitleCapacity, title);
  setStr(field::kPageHtmlName, field::kPageHtmlNameCapacity, Bytes(m_htmlName->text().trimmed()));
  for (int i = 0; i < 4; ++i) {
    if ((static_cast<std::uint32_t>(page.I32(kColourFields[i])) & 0xFFFFFFu) != m_colours[i]) {
      setI32(kColourFields[i], static_cast<std::int32_t>(m_colours[i]));
    }
  }
  setI32(field::kPageBgImage, Chosen(*m_background));
  if ((page.I32(kPageFixedBackground) == 1) != m_fixed->isChecked()) {
    setI32(kPageFixedBackground, m_fixed->isChecked() ? 1 : 0);
  }
  setI32(field::kPageHeaderChoice, Chosen(*m_header));
  setI32(field::kPageFooterChoice, Chosen(*m_footer));
  const std::pair<int, QComboBox*> hypertextPages[] = {{document::header::kHeaderPage, m_setHeader},
                                                       {document::header::kFooterPage, m_setFooter}};
  for (const auto& [at, box] : hypertextPages) {
    if (set.HeaderI32(at) == Chosen(*box)) continue;
    set.SetHeaderI32(at, Chosen(*box));
    set.SetModified(true);
    changed = true;
  }
  return changed;
}

}  // namespace tarn::app::ui
