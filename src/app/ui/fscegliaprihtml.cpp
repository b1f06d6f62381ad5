// The choices of opening an HTML file; see fscegliaprihtml.h.
#include "app/ui/fscegliaprihtml.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/krlanguager.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {

TFScegliApriHtml::TFScegliApriHtml(const std::string& file, bool native, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FScegliApriHtml"));
  setWindowTitle(QStringLiteral("Open HTML file"));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(platform::qt::PathToQString(file), this);
  name->setObjectName(QStringLiteral("lFile"));
  layout->addWidget(name);
  struct Item {
    HtmlOpenChoice choice;
    const char* name;
    const char* caption;
  };
  static constexpr Item kForeign[] = {
      {HtmlOpenChoice::InsertPage, "rbInsert", "insert page in present hypertext (page import)"},
      {HtmlOpenChoice::NewWithPage, "rbNew", "open new hypertext with this page as first page"},
      {HtmlOpenChoice::EditPageSet, "rbPageSet", "edit a page set (hypertext) with this page as home page"},
  };
  static constexpr Item kNative[] = {
      {HtmlOpenChoice::EditNative, "rbNative", "edit this page in his own hypertext (native format)"},
      {HtmlOpenChoice::CopyOfNative, "rbNativeCopy", "open a copy of the hypertext that contains the page"},
      {HtmlOpenChoice::NewWithNativePage, "rbNativeNew", "open a new hypertext with the page copied as first page"},
      {HtmlOpenChoice::InsertNativePage, "rbNativeInsert", "insert a copy of the page in present hypertext"},
  };
  auto add = [&](const Item& item) {
    auto* button = new QRadioButton(QString::fromLatin1(item.caption), this);
    button->setObjectName(QString::fromLatin1(item.name));
    layout->addWidget(button);
    m_choices.emplace_back(item.choice, button);
  };
  if (native) {
    for (const Item& item : kNative) add(item);
  } else {
    for (const Item& item : kForeign) add(item);
  }
  m_choices.front().second->setChecked(true);
  layout->addStretch();
  layout->addLayout(platform::qt::OkCancelRow(this));
  auto* languager = new TKrLanguager(this);
  ApplyWindowTable(*languager, objectName());
}

HtmlOpenChoice TFScegliApriHtml::Choice() const {
  for (const auto& [choice, button] : m_choices) {
    if (button->isChecked()) return choice;
  }
  return m_choices.front().first;
}

void TFScegliApriHtml::SetChoice(HtmlOpenChoice choice) {
  if (QRadioButton* button = Button(choice)) button->setChecked(true);
}

QRadioButton* TFScegliApriHtml::Button(HtmlOpenChoice choice) const {
  for (const auto& [offered, button] : m_choices) {
    if (offered == choice) return button;
  }
  return nullptr;
}

}  // namespace tarn::app::ui
