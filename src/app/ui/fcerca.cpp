// The search window.
#include "app/ui/fcerca.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/cp1252.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/aehpage.h"
#include "page/ui/pageview.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "richtext/ui/aehbox.h"
#include "search/pagetextmatch.h"

namespace tarn::app::ui {

namespace {

using platform::qt::FromQString;
using platform::qt::NamedButton;
using platform::qt::ToQString;

constexpr std::string_view kFinds = "finds";
constexpr int kPageRole = Qt::UserRole + 1;

const QString kSearchInPage = QStringLiteral("&Search in page  F3");
const QString kContinueInPage = QStringLiteral("&Continue in page  F3");
const QString kPageSearchComplete = QStringLiteral("Page search complete");

QComboBox* Combo(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(160);
  return box;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

TFcerca::TFcerca(Host host, QWidget* parent) : QWidget(parent, Qt::Tool), m_host(std::move(host)) {
  setObjectName(QStringLiteral("Fcerca"));
  setWindowTitle(tr("Search:"));
  auto* layout = new QVBoxLayout(this);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PageControl1"));
  m_tabs->addTab(BuildKeywordTab(), tr("Page for keyword"));
  m_tabs->addTab(BuildWordTab(), tr("Word"));
  m_replaceTab = BuildReplaceTab();
  m_tabs->addTab(m_replaceTab, tr("Replace"));
  layout->addWidget(m_tabs);

  // Each box keeps its counterpart on the other tab in step.
  connect(m_wholeWord, &QCheckBox::toggled, m_replaceWholeWord, &QCheckBox::setChecked);
  connect(m_replaceWholeWord, &QCheckBox::toggled, m_wholeWord, &QCheckBox::setChecked);
  connect(m_ignoreCaps, &QCheckBox::toggled, m_replaceIgnoreCaps, &QCheckBox::setChecked);
  connect(m_replaceIgnoreCaps, &QCheckBox::toggled, m_ignoreCaps, &QCheckBox::setChecked);
  ReadOptions();
}

TFcerca::~TFcerca() = default;

QWidget* TFcerca::BuildKeywordTab() {
  auto* tab = new QWidget;
  auto* grid = new QGridLayout(tab);
  m_keyword = new QLineEdit(tab);
  m_keyword->setObjectName(QStringLiteral("EKey"));
  auto* find = NamedButton(tab, "BCercaKey", tr("&Search"));
  m_keywords = new QListWidget(tab);
  m_keywords->setObjectName(QStringLiteral("LKeywords"));
  m_keywordLabel = new QLabel(tab);
  m_keywordLabel->setObjectName(QStringLiteral("LPagesLabel"));
  m_keywordPages = new QListWidget(tab);
  m_keywordPages->setObjectName(QStringLiteral("LKeyPages"));
  grid->addWidget(new QLabel(tr("Keyword:"), tab), 0, 0);
  grid->addWidget(m_keyword, 0, 1);
  grid->addWidget(find, 0, 2);
  grid->addWidget(m_keywords, 1, 0, 1, 3);
  grid->addWidget(m_keywordLabel, 2, 0, 1, 3);
  grid->addWidget(m_keywordPages, 3, 0, 1, 3);
  connect(find, &QPushButton::clicked, this, [this] { FindKeyword(); });
  connect(m_keyword, &QLineEdit::returnPressed, this, [this] { FindKeyword(); });
  connect(m_keywords, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowKeyword(item->data(kPageRole).toInt()); });
  connect(m_keywordPages, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(kPageRole).toInt()); });
  return tab;
}

QWidget* TFcerca::BuildWordTab() {
  auto* tab = new QWidget;
  auto* grid = new QGridLayout(tab);
  const char* names[] = {"CWordA", "CWordB", "CWordC", "CWordD"};
  const QString labels[] = {tr("Search word:"), tr("and:"), tr("Or:"), tr("and:")};
  for (int i = 0; i < 4; ++i) {
    m_words[i] = Combo(tab, names[i]);
    grid->addWidget(new QLabel(labels[i], tab), i, 0);
    grid->addWidget(m_words[i], i, 1);
    connect(m_words[i], &QComboBox::editTextChanged, this, [this, i] { WordTyped(i); });
  }
  auto* clear = NamedButton(tab, "BClear", QStringLiteral("<"));
  clear->setMaximumWidth(30);
  grid->addWidget(clear, 0, 2);
  m_wholeWord = Check(tab, "CBWholeWord", tr("Whole word only"));
  m_ignoreCaps = Check(tab, "CBIgnoreCaps", tr("Ignore caps"));
  grid->addWidget(m_wholeWord, 4, 0, 1, 2);
  grid->addWidget(m_ignoreCaps, 5, 0, 1, 2);
  auto* all = NamedButton(tab, "BAllPages", tr("All pages that meet criteria"));
  m_inPage = NamedButton(tab, "BInPage", kSearchInPage);
  auto* inHypertext = NamedButton(tab, "BInHypertext", tr("In &hypertext  F4"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(all);
  buttons->addWidget(m_inPage);
  buttons->addWidget(inHypertext);
  grid->addLayout(buttons, 6, 0, 1, 3);
  m_results = new QListWidget(tab);
  m_results->setObjectName(QStringLiteral("LResults"));
  grid->addWidget(m_results, 7, 0, 1, 3);
  connect(clear, &QPushButton::clicked, this, [this] { ClearWords(); });
  connect(all, &QPushButton::clicked, this, [this] { ListMatchingPages(); });
  connect(m_inPage, &QPushButton::clicked, this, [this] { SearchInPage(); });
  connect(inHypertext, &QPushButton::clicked, this, [this] { SearchInHypertext(); });
  connect(m_words[0]->lineEdit(), &QLineEdit::returnPressed, this, [this] { SearchInPage(); });
  connect(m_results, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    ShowPage(item->data(kPageRole).toInt());
    CaretToStart();
    if (!FindFromCaret(Text(m_words[0]))) FindFromCaret(Text(m_words[2]));
  });
  return tab;
}

QWidget* TFcerca::BuildReplaceTab() {
  auto* tab = new QWidget;
  auto* grid = new QGridLayout(tab);
  m_replaceWord = Combo(tab, "CReplaceWord");
  m_replaceWith = Combo(tab, "CReplaceWith");
  grid->addWidget(new QLabel(tr("Search word:"), tab), 0, 0);
  grid->addWidget(m_replaceWord, 0, 1, 1, 2);
  grid->addWidget(new QLabel(tr("Replace with:"), tab), 1, 0);
  grid->addWidget(m_replaceWith, 1, 1, 1, 2);
  m_replaceWholeWord = Check(tab, "CBRWholeWord", tr("Whole word only"));
  m_replaceIgnoreCaps = Check(tab, "CBRIgnoreCaps", tr("Ignore caps"));
  m_askOne = Check(tab, "CBConf1", tr("Ask confirmation to replace one"));
  m_askAll = Check(tab, "CBConfAll", tr("Ask confirmation to replace all"));
  grid->addWidget(m_replaceWholeWord, 2, 0, 1, 3);
  grid->addWidget(m_replaceIgnoreCaps, 3, 0, 1, 3);
  grid->addWidget(m_askOne, 4, 0, 1, 3);
  grid->addWidget(m_askAll, 5, 0, 1, 3);
  grid->addWidget(new QLabel(tr("Start from:"), tab), 6, 0);
  m_fromZero = new QRadioButton(tr("Page 0"), tab);
  m_fromZero->setObjectName(QStringLiteral("RBPage0"));
  m_fromPresent = new QRadioButton(tr("Present page"), tab);
  m_fromPresent->setObjectName(QStringLiteral("RBPresent"));
  grid->addWidget(m_fromZero, 6, 1);
  grid->addWidget(m_fromPresent, 6, 2);
  auto* step = NamedButton(tab, "BReplace", tr("Search/&Replace  F3"));
  auto* find = NamedButton(tab, "BRSearch", tr("&Search"));
  auto* allPage = NamedButton(tab, "BReplaceAllPage", tr("Replace &all in page"));
  auto* allHypertext = NamedButton(tab, "BReplaceAllHypertext", tr("All in &hypertext  F4"));
  auto* buttons = new QGridLayout;
  buttons->addWidget(step, 0, 0);
  buttons->addWidget(find, 0, 1);
  buttons->addWidget(allPage, 1, 0);
  buttons->addWidget(allHypertext, 1, 1);
  grid->addLayout(buttons, 7, 0, 1, 3);
  grid->setRowStretch(8, 1);
  connect(step, &QPushButton::clicked, this, [this] { ReplaceStep(); });
  connect(m_replaceWith->lineEdit(), &QLineEdit::returnPressed, this, [this] { ReplaceStep(); });
  connect(find, &QPushButton::clicked, this, [this] { SearchAndAsk(); });
  connect(allPage, &QPushButton::clicked, this, [this] {
    Status({});
    if (!ReadOnly()) ReplaceAllInPage();
  });
  connect(allHypertext, &QPushButton::clicked, this, [this] { ReplaceAllInHypertext(); });
  return tab;
}

// ---- Options ----

int TFcerca::Options() const {
  return search::SearchOptionsFrom(m_replaceWholeWord->isChecked(), m_replaceIgnoreCaps->isChecked());
}

void TFcerca::ReadOptions() {
  platform::Registry& r = m_host.registry;
  auto flag = [&r](std::string_view name, bool fallback) {
    const std::string value = r.ReadSubkeyValue(kFinds, name);
    return value.empty() ? fallback : value == "1";
  };
  m_wholeWord->setChecked(flag("wholeword", false));
  m_ignoreCaps->setChecked(flag("ignorecaps", true));
  m_askOne->setChecked(flag("conf1", false));
  m_askAll->setChecked(flag("confAll", true));
  const bool present = r.ReadSubkeyValue(kFinds, "startFrom") == "1";
  (present ? m_fromPresent : m_fromZero)->setChecked(true);
}

void TFcerca::WriteOptions() {
  platform::Registry& r = m_host.registry;
  r.WriteSubkeyFlag(kFinds, "wholeword", m_wholeWord->isChecked() ? 1 : 0);
  r.WriteSubkeyFlag(kFinds, "ignorecaps", m_ignoreCaps->isChecked() ? 1 : 0);
  r.WriteSubkeyFlag(kFinds, "conf1", m_askOne->isChecked() ? 1 : 0);
  r.WriteSubkeyFlag(kFinds, "confAll", m_askAll->isChecked() ? 1 : 0);
  r.WriteSubkeyValue(kFinds, "startFrom", m_fromPresent->isChecked() ? "1" : "0");
}

void TFcerca::showEvent(QShowEvent* event) {
  ReadOptions();
  FillKeywords();
  ReadOnlyChanged();
  QWidget::showEvent(event);
}

void TFcerca::closeEvent(QCloseEvent* event) {
  WriteOptions();
  QWidget::closeEvent(event);
}

void TFcerca::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) ResetPageButton();
  QWidget::changeEvent(event);
}

void TFcerca::ShowTab(Tab tab) {
  show();
  raise();
  activateWindow();
  if (tab == kReplaceTab && ReadOnly()) tab = kWordTab;
  m_tabs->setCurrentIndex(tab);
  switch (tab) {
    case kKeywordTab: m_keyword->setFocus(); break;
    case kWordTab: m_words[0]->setFocus(); break;
    case kReplaceTab: m_replaceWord->setFocus(); break;
  }
}

void TFcerca::ReadOnlyChanged() {
  // The replace tab is not there while the editor only reads.
  const bool readOnly = ReadOnly();
  const int at = m_tabs->indexOf(m_replaceTab);
  if (readOnly && at >= 0) {
    if (m_tabs->currentIndex() == at) m_tabs->setCurrentIndex(kWordTab);
    m_tabs->removeTab(at);
  } else if (!readOnly && at < 0) {
    m_tabs->insertTab(kReplaceTab, m_replaceTab, tr("Replace"));
  }
}

bool TFcerca::ReadOnly() const { return m_host.editor.ReadOnly(); }

void TFcerca::F3() {
  if (m_tabs->currentWidget() == m_replaceTab) ReplaceStep();
  else SearchInPage();
}

void TFcerca::F4() {
  if (m_tabs->currentWidget() == m_replaceTab) ReplaceAllInHypertext();
  else SearchInHypertext();
}

// ---- Helpers ----

std::string TFcerca::Text(const QComboBox* box) const { return FromQString(box->currentText()).value_or(std::string()); }

void TFcerca::Remember(QComboBox* box) {
  const QString text = box->currentText();
  if (!text.isEmpty() && box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
    box->addItem(text);
    box->setCurrentText(text);
  }
}

void TFcerca::Status(const QString& text) {
  if (m_host.status) m_host.status(text);
}

void TFcerca::ShowPage(int page) {
  if (page < 0) return;
  m_moving = true;
  m_host.editor.SetMainPageNumber(page);
  m_moving = false;
}

richtext::ui::TAEHbox* TFcerca::PageBox() const {
  objects::ui::TInsiemeCornici& editor = m_host.editor;
  richtext::ui::TAEHbox* box = editor.ActiveBox();
  page::TAEHpage* view = box != nullptr ? editor.PageOfBox(box) : nullptr;
  auto* pageBox = view != nullptr ? dynamic_cast<page::ui::PageBox*>(view->Box()) : nullptr;
  return pageBox != nullptr ? pageBox->Widget() : box;
}

void TFcerca::CaretToStart() {
  if (richtext::ui::TAEHbox* box = PageBox()) {
    const richtext::CharPos start = box->Text().TextStartPos();
    box->SelectRange(start, start);
  }
}

bool TFcerca::FindFromCaret(const std::string& word) {
  richtext::ui::TAEHbox* box = PageBox();
  if (box == nullptr || word.empty()) return false;
  richtext::BoxText& text = box->Text();
  const int options = Options();
  const std::string wanted = search::LowerCaseUnless(word, options);
  richtext::CharPos from = text.HasSelection() ? text.SelectionEnd() : text.SelectionStart();
  if (from.paragraph < text.FirstOwn()) from = text.TextStartPos();
  for (int p = from.paragraph; p <= text.LastOwn(); ++p) {
    const std::string& haystack = text.Paragraph(p).text;
    const std::size_t start = p == from.paragraph ? static_cast<std::size_t>(std::max(0, from.character)) : 0;
    const std::size_t hit = search::FindWord(haystack, wanted, start, options);
    if (hit == std::string::npos) continue;
    const int at = static_cast<int>(hit);
    box->SelectRange({p, at}, {p, at + static_cast<int>(wanted.size())});
    box->ScrollCaretIntoView();
    return true;
  }
  return false;
}

// ---- Keyword tab ----

void TFcerca::FillKeywords() {
  m_keywords->clear();
  document::TAEHset* set = m_host.set();
  if (set == nullptr) return;
  for (int i = 0; i < set->CountOf(document::keyword); ++i) {
    const document::TAEHoggetto* word = set->GetObject(document::keyword, i);
    if (word == nullptr || word->IsFree() || word->GetCaption() == document::field::kFreeKeyword) continue;
    auto* item = new QListWidgetItem(ToQString(word->GetCaption()), m_keywords);
    item->setData(kPageRole, i);
  }
}

void TFcerca::FindKeyword() {
  if (m_keywords->count() == 0) FillKeywords();
  const QString wanted = m_keyword->text();
  for (int row = 0; row < m_keywords->count(); ++row) {
    QListWidgetItem* item = m_keywords->item(row);
    if (item->text().compare(wanted, Qt::CaseInsensitive) != 0) continue;
    m_keywords->setCurrentItem(item);
    m_keywords->scrollToItem(item);
    ShowKeyword(item->data(kPageRole).toInt());
    return;
  }
}

void TFcerca::ShowKeyword(int keywordIndex) {
  document::TAEHset* set = m_host.set();
  if (set == nullptr) return;
  const document::TAEHoggetto* word = set->GetObject(document::keyword, keywordIndex);
  if (word == nullptr) return;
  m_keywordLabel->setText(QStringLiteral("Pages containing \"") + ToQString(word->GetCaption()) + "\"");
  m_keywordPages->clear();
  for (int page : document::PagesWithKeyword(*set, keywordIndex)) {
    const document::TAEHoggetto* record = set->GetObject(document::testoHtml, page);
    auto* item = new QListWidgetItem(
        QString::number(page) + "  " + (record != nullptr ? ToQString(record->GetCaption()) : QString()), m_keywordPages);
    item->setData(kPageRole, page);
  }
}

// ---- Word tab ----

void TFcerca::ClearWords() {
  for (QComboBox* box : m_words) box->setCurrentText({});
}

void TFcerca::WordTyped(int index) {
  ResetPageButton();
  if (m_moving) return;
  const QString typed = m_words[index]->currentText();
  // Typing into B, C or D with A empty moves the text into A; typing into D
  // with C empty moves it into C.
  int target = -1;
  if (index > 0 && m_words[0]->currentText().isEmpty() && !typed.isEmpty()) target = 0;
  else if (index == 3 && m_words[2]->currentText().isEmpty() && !typed.isEmpty()) target = 2;
  if (target < 0) return;
  m_moving = true;
  m_words[index]->setCurrentText({});
  m_words[target]->setCurrentText(typed);
  m_words[target]->setFocus();
  m_moving = false;
}

void TFcerca::ResetPageButton() {
  m_inPage->setText(kSearchInPage);
  m_inPage->setEnabled(true);
}

void TFcerca::ListMatchingPages() {
  m_results->clear();
  document::TAEHset* set = m_host.set();
  if (set == nullptr) return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string a = Text(m_words[0]), b = Text(m_words[1]), c = Text(m_words[2]), d = Text(m_words[3]);
  const int options = Options();
  for (int i = 0; i < set->CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set->GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    if (search::PageTextMatch(*page, a, b, c, d, options).empty()) continue;
    auto* item = new QListWidgetItem(QString::number(i) + "  " + ToQString(page->GetCaption()), m_results);
    item->setData(kPageRole, i);
  }
  QGuiApplication::restoreOverrideCursor();
}

bool TFcerca::SearchInPage() {
  const std::string a = Text(m_words[0]);
  if (a.empty() || !m_inPage->isEnabled()) return false;
  Remember(m_words[0]);
  if (FindFromCaret(a)) {
    m_inPage->setText(kContinueInPage);
    return true;
  }
  Status(kPageSearchComplete);
  m_inPage->setText(kPageSearchComplete);
  m_inPage->setEnabled(false);
  return false;
}

bool TFcerca::SearchInHypertext() {
  const std::string a = Text(m_words[0]);
  document::TAEHset* set = m_host.set();
  if (a.empty() || set == nullptr) return false;
  for (QComboBox* box : m_words) Remember(box);
  const std::string b = Text(m_words[1]), c = Text(m_words[2]), d = Text(m_words[3]);
  const int options = Options();
  // The page shown is written back first, so that its stored text is the
  // one searched when the search comes round to it again.
  for (int n = static_cast<int>(m_host.editor.MainPageNumber()) + 1; n < set->CountOf(document::testoHtml); ++n) {
    const document::TAEHoggetto* page = set->GetObject(document::testoHtml, n);
    if (page == nullptr || page->IsFree()) continue;
    const std::string found = search::PageTextMatch(*page, a, b, c, d, options);
    if (found.empty()) continue;
    m_host.editor.SetShowNested(false);
    ShowPage(n);
    CaretToStart();
    FindFromCaret(found);
    return true;
  }
  Status(QStringLiteral("Hypertext search complete"));
  return false;
}

// ---- Replace tab ----

bool TFcerca::ReplaceStep() {
  Status({});
  if (ReadOnly()) return false;
  const std::string word = Text(m_replaceWord), with = Text(m_replaceWith);
  if (word.empty() || with.empty()) return false;
  Remember(m_replaceWord);
  Remember(m_replaceWith);
  if (!FindFromCaret(word)) {
    Status(QStringLiteral("Page replace complete"));
    return false;
  }
  if (m_askOne->isChecked() &&
      m_host.messages.Ask("Replace " + word + "?", false) != platform::Answer::Yes) {
    return true;
  }
  if (richtext::ui::TAEHbox* box = PageBox()) {
    box->TextAttributes().ReplaceSelection(with);
    box->update();
  }
  return true;
}

bool TFcerca::SearchAndAsk() {
  Status({});
  if (ReadOnly()) return false;
  const std::string word = Text(m_replaceWord), with = Text(m_replaceWith);
  if (word.empty() || !FindFromCaret(word)) return false;
  if (m_host.messages.Ask("Replace " + word + "?", false) == platform::Answer::Yes) {
    if (richtext::ui::TAEHbox* box = PageBox()) {
      box->TextAttributes().ReplaceSelection(with);
      box->update();
    }
  }
  return true;
}

bool TFcerca::ReplaceAllInPage() {
  const std::string word = Text(m_replaceWord), with = Text(m_replaceWith);
  if (word.empty() || ReadOnly()) return true;
  Remember(m_replaceWord);
  Remember(m_replaceWith);
  richtext::ui::TAEHbox* box = PageBox();
  while (box != nullptr && FindFromCaret(word)) {
    if (m_askAll->isChecked()) {
      const platform::Answer answer = m_host.messages.Ask("Replace " + word + "?", true);
      if (answer == platform::Answer::Cancel) return false;
      if (answer == platform::Answer::No) continue;
    }
    box->TextAttributes().ReplaceSelection(with);
    box->update();
  }
  Status(QStringLiteral("Page replace complete"));
  return true;
}

void TFcerca::ReplaceAllInHypertext() {
  Status({});
  document::TAEHset* set = m_host.set();
  const std::string word = Text(m_replaceWord);
  if (ReadOnly() || set == nullptr || word.empty() || Text(m_replaceWith).empty()) return;
  if (m_fromZero->isChecked()) {
    ShowPage(0);
    CaretToStart();
  }
  const int options = Options();
  while (true) {
    if (!ReplaceAllInPage()) return;
    int next = -1;
    for (int n = static_cast<int>(m_host.editor.MainPageNumber()) + 1; n < set->CountOf(document::testoHtml); ++n) {
      const document::TAEHoggetto* page = set->GetObject(document::testoHtml, n);
      if (page != nullptr && !page->IsFree() && !search::PageTextMatch(*page, word, {}, {}, {}, options).empty()) {
        next = n;
        break;
      }
    }
    if (next < 0) break;
    ShowPage(next);
    CaretToStart();
  }
  Status(QStringLiteral("Hypertext replace complete"));
}

}  // namespace tarn::app::ui
