// The interactive spell check's dialog.
#include "app/ui/spellerdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "search/krspellchecker.h"

namespace tarn::app::ui {

namespace {

using platform::qt::FromQString;
using platform::qt::NamedButton;
using platform::qt::ToQString;

constexpr int kClientWidth = 346;
constexpr int kClientHeight = 322;
constexpr int kProgressHeight = 41;

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

TKrSpellerDialog::TKrSpellerDialog(search::TKrSpellChecker& checker, QWidget* parent)
    : QDialog(parent), m_checker(checker) {
  setObjectName(QStringLiteral("KrSpellerDialog"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  m_progressPanel = new QWidget(this);
  m_progressPanel->setObjectName(QStringLiteral("Panel1"));
  m_progressPanel->setFixedHeight(kProgressHeight);
  auto* progress = new QHBoxLayout(m_progressPanel);
  auto* label3 = new QLabel(QStringLiteral("Controllo in corso..."), m_progressPanel);
  label3->setObjectName(QStringLiteral("Label3"));
  m_progressBar = new QProgressBar(m_progressPanel);
  m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
  m_progressBar->setRange(0, 100);
  progress->addWidget(label3);
  progress->addWidget(m_progressBar, 1);
  layout->addWidget(m_progressPanel);

  m_errorPanel = new QWidget(this);
  auto* grid = new QGridLayout(m_errorPanel);
  grid->setContentsMargins(0, 0, 0, 0);
  m_info = new QLabel(m_errorPanel);
  m_info->setObjectName(QStringLiteral("InfoMsg"));
  m_misspelling = new QTextEdit(m_errorPanel);
  m_misspelling->setObjectName(QStringLiteral("Misspelling"));
  m_misspelling->setAcceptRichText(false);
  m_misspelling->setFixedHeight(60);
  m_prompt = new QLabel(m_errorPanel);
  m_prompt->setObjectName(QStringLiteral("Label2"));
  m_variants = new QListWidget(m_errorPanel);
  m_variants->setObjectName(QStringLiteral("Variants"));
  m_change = NamedButton(m_errorPanel, "ChangeButton", tr("&Change"));
  m_change->setDefault(true);
  m_delete = NamedButton(m_errorPanel, "DelButton", tr("D&elete"));
  m_changeAll = NamedButton(m_errorPanel, "ChangeAllButton", tr("Change &All"));
  m_skip = NamedButton(m_errorPanel, "SkipButton", tr("Ski&p"));
  m_skipAll = NamedButton(m_errorPanel, "SkipAllButton", tr("S&kip All"));
  m_add = NamedButton(m_errorPanel, "AddButton", tr("A&dd"));
  m_cancelEdit = NamedButton(m_errorPanel, "CancelEdit", tr("Cancel edi&t"));
  m_skipPage = NamedButton(m_errorPanel, "BSalta", tr("&Skip page"));
  m_close = NamedButton(m_errorPanel, "CancelButton", tr("C&lose"));
  grid->addWidget(m_info, 0, 0, 1, 2);
  grid->addWidget(m_misspelling, 1, 0, 1, 2);
  grid->addWidget(m_prompt, 2, 0, 1, 2);
  grid->addWidget(m_variants, 3, 0, 9, 1);
  int row = 3;
  for (QPushButton* b : {m_change, m_delete, m_changeAll, m_skip, m_skipAll, m_add, m_cancelEdit, m_skipPage, m_close}) {
    grid->addWidget(b, row++, 1);
  }
  layout->addWidget(m_errorPanel);
  resize(kClientWidth, kClientHeight);

  connect(m_change, &QPushButton::clicked, this, [this] { ChangeClicked(); });
  connect(m_variants, &QListWidget::itemDoubleClicked, this, [this] { ChangeClicked(); });
  connect(m_variants, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!m_editing || item == nullptr) return;
    // While editing, a suggestion takes the place of the edited text.
    m_settingField = true;
    m_misspelling->setHtml(Escaped(m_before) + "<span style=\"color:#ff0000\">" + Escaped(item->text()) +
                           "</span>" + Escaped(m_after));
    m_settingField = false;
  });
  connect(m_changeAll, &QPushButton::clicked, this, [this] { Follow(m_checker.ChangeAll(Replacement())); });
  connect(m_skip, &QPushButton::clicked, this, [this] { Follow(m_checker.Skip()); });
  connect(m_skipAll, &QPushButton::clicked, this, [this] { Follow(m_checker.SkipAll()); });
  connect(m_add, &QPushButton::clicked, this, [this] { Follow(m_checker.Add()); });
  connect(m_delete, &QPushButton::clicked, this, [this] { Follow(m_checker.Delete()); });
  connect(m_cancelEdit, &QPushButton::clicked, this, [this] { CancelEditing(); });
  connect(m_skipPage, &QPushButton::clicked, this, [this] {
    m_checker.SkipPage();
    Follow(false);
  });
  connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
  connect(m_misspelling, &QTextEdit::textChanged, this, [this] { FieldEdited(); });
}

void TKrSpellerDialog::Run() {
  setWindowTitle(ToQString(m_checker.DialogCaption()));
  m_started = false;
  m_skipPage->setVisible(m_checker.SkipPageOffered);
  ShowProgress(true);
  exec();
}

void TKrSpellerDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_started) {
    m_started = true;
    // The check starts once the dialog is on screen, so that its progress
    // shows while it runs.
    QTimer::singleShot(0, this, [this] { Start(); });
  }
}

void TKrSpellerDialog::Start() { Follow(m_checker.Begin()); }

void TKrSpellerDialog::reject() {
  m_checker.CloseCheck();
  QDialog::reject();
}

void TKrSpellerDialog::Follow(bool stopped) {
  m_progressBar->setValue(m_checker.Progress());
  if (!stopped || !m_checker.Running()) {
    if (isVisible()) done(QDialog::Accepted);
    return;
  }
  ShowError();
}

void TKrSpellerDialog::ShowProgress(bool on) {
  m_progressPanel->setVisible(on);
  m_errorPanel->setVisible(!on);
  if (on) m_progressBar->setValue(0);
}

void TKrSpellerDialog::ShowError() {
  const search::TKrSpellChecker::ErrorView& e = m_checker.Error();
  ShowProgress(false);
  m_editing = false;
  const int at = e.lineErrorStart;
  m_errorText = ToQString(e.word);
  m_before = ToQString(e.line.substr(0, static_cast<std::size_t>(at)));
  m_after = ToQString(e.line.substr(std::min(e.line.size(), static_cast<std::size_t>(at) + e.word.size())));
  m_settingField = true;
  m_misspelling->setHtml(Escaped(m_before) + "<span style=\"color:#ff0000\">" + Escaped(m_errorText) + "</span>" +
                         Escaped(m_after));
  m_settingField = false;
  m_info->setText(ToQString(e.message));
  m_cancelEdit->hide();
  m_delete->setVisible(e.deleteShown);
  m_change->setVisible(!e.deleteShown);
  m_skip->setEnabled(true);
  m_skipAll->setEnabled(e.skipAllEnabled);
  m_add->setEnabled(e.addEnabled);
  m_variants->clear();
  for (const std::string& s : e.suggestions) m_variants->addItem(ToQString(s));
  if (m_variants->count() > 0) m_variants->setCurrentRow(0);
  m_change->setEnabled(e.changeEnabled);
  m_changeAll->setEnabled(e.changeAllEnabled);
  m_variants->setEnabled(e.changeEnabled);
  m_prompt->setText(e.suggestions.empty() ? tr("Replace word in red.")
                                          : tr("Replace word in red, or choose a suggestion:"));
  if (!e.suggestions.empty()) m_misspelling->setFocus();
}

void TKrSpellerDialog::FieldEdited() {
  if (m_settingField) return;
  const QString text = m_misspelling->toPlainText();
  if (!text.startsWith(m_before) || !text.endsWith(m_after) || text.size() < m_before.size() + m_after.size()) {
    // Only the error may be edited: the rest of the line comes back.
    m_settingField = true;
    m_misspelling->setHtml(Escaped(m_before) + "<span style=\"color:#ff0000\">" + Escaped(m_errorText) +
                           "</span>" + Escaped(m_after));
    m_settingField = false;
    return;
  }
  if (m_editing) return;
  m_editing = true;
  m_remembered = {m_change->isVisible(), m_change->isEnabled(), m_changeAll->isEnabled(), m_skip->isEnabled(),
                  m_skipAll->isEnabled(), m_add->isEnabled(),    m_delete->isVisible(),  m_variants->isEnabled()};
  m_cancelEdit->show();
  m_change->show();
  m_change->setEnabled(true);
  m_changeAll->setEnabled(false);
  m_skipAll->setEnabled(false);
  m_add->setEnabled(false);
  m_delete->hide();
}

QString TKrSpellerDialog::EditedText() const {
  const QString text = m_misspelling->toPlainText();
  return text.mid(m_before.size(), text.size() - m_before.size() - m_after.size());
}

void TKrSpellerDialog::CancelEditing() {
  m_settingField = true;
  m_misspelling->setHtml(Escaped(m_before) + "<span style=\"color:#ff0000\">" + Escaped(m_errorText) + "</span>" +
                         Escaped(m_after));
  m_settingField = false;
  m_editing = false;
  m_change->setVisible(m_remembered.changeVisible);
  m_change->setEnabled(m_remembered.changeEnabled);
  m_changeAll->setEnabled(m_remembered.changeAllEnabled);
  m_skip->setEnabled(m_remembered.skipEnabled);
  m_skipAll->setEnabled(m_remembered.skipAllEnabled);
  m_add->setEnabled(m_remembered.addEnabled);
  m_delete->setVisible(m_remembered.deleteVisible);
  m_variants->setEnabled(m_remembered.variantsEnabled);
  m_cancelEdit->hide();
}

std::string TKrSpellerDialog::Replacement() const {
  if (m_editing) return FromQString(EditedText()).value_or(std::string());
  const QListWidgetItem* item = m_variants->currentItem();
  return item != nullptr ? FromQString(item->text()).value_or(std::string()) : std::string();
}

void TKrSpellerDialog::ChangeClicked() {
  if (m_delete->isVisible() && !m_change->isVisible()) return;
  const bool edited = m_editing;
  Follow(m_checker.Change(Replacement(), edited));
}

}  // namespace tarn::app::ui
