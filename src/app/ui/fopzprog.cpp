// The program-options dialog.
#include "app/ui/fopzprog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/optionshost.h"
#include "app/spellsettings.h"
#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"

namespace tarn::app::ui {
namespace {

using platform::qt::NamedButton;

using platform::qt::FromQString;
using platform::qt::ToQString;

constexpr const char* kProgramFilter =
    "Executable files (*.exe,*.com)|*.EXE;*.COM|All files (*.*)|*.*";
constexpr int kPathRole = Qt::UserRole;
constexpr int kDescriptionRole = Qt::UserRole + 1;
constexpr int kBehaviourRole = Qt::UserRole + 2;

std::string Bytes(const QString& text) {
  // Settings hold cp1252; a character outside it cannot be stored there, so
  // it becomes "?" rather than being dropped without trace.
  if (auto bytes = FromQString(text)) return *bytes;
  QString copy = text;
  for (QChar& c : copy) {
    if (!FromQString(QString(c))) c = QLatin1Char('?');
  }
  return FromQString(copy).value_or(std::string());
}

int RadioIndex(QGroupBox* group) {
  const auto buttons = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
  for (int i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return i;
  }
  return 0;
}

void SetRadioIndex(QGroupBox* group, int index) {
  const auto buttons = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
  if (buttons.isEmpty()) return;
  if (index < 0 || index >= buttons.size()) index = 0;
  buttons[index]->setChecked(true);
}

// A group of radio buttons laid out one below the other; the items are
// translated through the group.
QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(QString::fromLatin1(name));
  auto* layout = new QVBoxLayout(group);
  auto* exclusive = new QButtonGroup(group);
  for (const QString& item : items) {
    auto* button = new QRadioButton(item, group);
    exclusive->addButton(button);
    layout->addWidget(button);
  }
  return group;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  return label;
}


}  // namespace

QString QtFileFilter(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // Qt takes the patterns from the last parenthesis of the description.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.endsWith(QLatin1Char(')'))) description = description.left(open).trimmed();
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString p = pattern.trimmed();
      if (p == QLatin1String("*.*")) {
        patterns << QStringLiteral("*");
        continue;
      }
      // Names on Linux keep their case: offer both spellings of an extension.
      for (const QString& spelling : {p.toLower(), p.toUpper()}) {
        if (!patterns.contains(spelling)) patterns << spelling;
      }
    }
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

TFopzProg::TFopzProg(platform::Registry& registry, OptionsHost& host, platform::Messages& messages, QWidget* parent)
    : QDialog(parent), m_registry(registry), m_host(host), m_messages(messages) {
  setObjectName(QStringLiteral("FOpzProg"));
  setWindowTitle(QStringLiteral("Program options"));
  setModal(true);

  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("pcOptions"));
  m_pages->addTab(BuildEditorPage(), QStringLiteral("Editor"));
  m_pages->addTab(BuildExtensionsPage(), QStringLiteral("Applications/Extensions"));
  m_pages->addTab(BuildSpellPage(), QStringLiteral("Spell"));
  m_pages->addTab(BuildBrowserPage(), QStringLiteral("Browser"));

  auto* buttons = platform::qt::OkCancelRow(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  layout->addLayout(buttons);

  // A program-file chooser stands in for the design's open dialog; its
  // filter is translated with the window.
  auto* openDialog = new QObject(this);
  openDialog->setObjectName(QStringLiteral("OpenDialog1"));
  openDialog->setProperty("filter", QString::fromLatin1(kProgramFilter));

  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
  m_placement = new FormPlacement(this, m_registry);
  FillFromSettings();
}

QCheckBox* TFopzProg::AddCheck(QWidget* parent, const char* name, const char* option, const QString& caption,
                               bool tickedWhenMissing) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  m_checks.push_back({option, box, tickedWhenMissing});
  return box;
}

QSpinBox* TFopzProg::AddSpin(QWidget* parent, const char* name, const char* option, int minimum, int maximum,
                             int fallback) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(minimum, maximum);
  if (option != nullptr) m_spins.push_back({option, box, fallback});
  return box;
}

QCheckBox* TFopzProg::Check(const char* option) const {
  for (const OptionCheck& check : m_checks) {
    if (qstricmp(check.option, option) == 0) return check.box;
  }
  return nullptr;
}

QSpinBox* TFopzProg::Spin(const char* option) const {
  if (qstricmp(option, "formLim") == 0) return m_toolWindows;
  for (const OptionSpin& spin : m_spins) {
    if (qstricmp(spin.option, option) == 0) return spin.box;
  }
  return nullptr;
}

QWidget* TFopzProg::BuildEditorPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsEditor"));
  auto* left = new QVBoxLayout;
  left->addWidget(AddCheck(page, "cbAtStartBlank", "AtStartBlank", QStringLiteral("Start with blank page")));
  // The tip window opens when the option is missing, so the box shows it
  // ticked then; otherwise OK on an untouched dialog would turn it off.
  left->addWidget(AddCheck(page, "cbTipOfTheDay", "TipOfTheDay", QStringLiteral("Tip of the day"), true));
  left->addWidget(
      AddCheck(page, "cbAutoHideTip", "AutoHideTip", QStringLiteral("Automatically close tip window")));
  left->addWidget(AddCheck(page, "cbVirgolette", "Virgolette", QStringLiteral("Typographic \"")));
  left->addWidget(AddCheck(page, "cbAlt", "Alt", QStringLiteral("autom. generation of image's \"alt\"")));
  left->addWidget(AddCheck(page, "cbBak", "Bak", QStringLiteral("Create .BAK file"), true));
  left->addWidget(AddCheck(page, "cbBordoSx", "BordoSx", QStringLiteral("Left border")));
  left->addWidget(AddCheck(page, "cbCercaTop", "CercaTop", QStringLiteral("\"Search\" window always on top")));
  auto* reminder = new QHBoxLayout;
  reminder->addWidget(AddCheck(page, "cbPromemSave", "PromemSave", QStringLiteral("Remember to save:     each")));
  QSpinBox* minutes = AddSpin(page, "seTimeSave", "TimeSave", 1, 999, 5);
  reminder->addWidget(minutes);
  reminder->addWidget(Label(page, "lMinutes", QStringLiteral("min.")));
  reminder->addStretch();
  left->addLayout(reminder);
  // Switches for diagnosis and for settings that are only kept: present but
  // not shown, as in the design.
  const std::tuple<const char*, const char*, const char*, bool> hidden[] = {
      {"cbNotSaveTool", "NotSaveTool", "on start, use default for toolbar", true},
      {"cbDbDebug", "dbDebug", "db debug", false},
      {"cbDbDebugMap", "dbDebugMap", "db debug map", false},
      {"cbElStili", "ElStili", "skip styles from file", false},
      {"cbClipStili", "ClipStili", "skip styles from clipboard", false},
      {"cbElForm", "ElForm", "skip format from file", false},
      {"cbClipForm", "ClipForm", "skip format from clipboard", false},
      {"cbSaveTxtHtml", "SaveTxtHtml", "Save .TXT with HTML", true}};
  for (const auto& [name, option, caption, ticked] : hidden) {
    AddCheck(page, name, option, QString::fromLatin1(caption), ticked)->setVisible(false);
  }
  left->addStretch();

  auto* numbers = new QGridLayout;
  numbers->addWidget(Label(page, "lMaxCacheImg", QStringLiteral("Image cache deep:")), 0, 0);
  numbers->addWidget(AddSpin(page, "seMaxCacheImg", "maxCacheImg", 10, 200, 20), 0, 1);
  numbers->addWidget(Label(page, "lUndoDeep", QStringLiteral("Undo deep:")), 1, 0);
  numbers->addWidget(AddSpin(page, "seUndoDeep", "undoDeep", 5, 100, 20), 1, 1);
  numbers->addWidget(Label(page, "lFormLim", QStringLiteral("Tool windows kept open:")), 2, 0);
  m_toolWindows = AddSpin(page, "seFormLim", nullptr, 3, 10, 3);
  numbers->addWidget(m_toolWindows, 2, 1);

  auto* right = new QVBoxLayout;
  right->addLayout(numbers);
  m_pointers = RadioGroup(page, "rgCursors", QStringLiteral("Pointers"),
                          {QStringLiteral("Normal"), QStringLiteral("Evident"), QStringLiteral("Big"),
                           QStringLiteral("Big and evident")});
  right->addWidget(m_pointers);
  auto* reset = NamedButton(page, "bResetForms", QStringLiteral("Reset program windows settings"));
  connect(reset, &QPushButton::clicked, this, &TFopzProg::ResetWindowSettings);
  right->addWidget(reset);
  right->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 3);
  layout->addLayout(right, 2);
  return page;
}

QWidget* TFopzProg::BuildExtensionsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsApplications"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Label(page, "lExtIntro",
                          QStringLiteral("If editor/reader find files linked to hypertext, his behaviour is defined "
                                         "as follow:")));
  m_extensions = new QTreeWidget(page);
  m_extensions->setObjectName(QStringLiteral("extlist"));
  m_extensions->setColumnCount(2);
  m_extensions->setHeaderLabels({QStringLiteral("Extension"), QStringLiteral("Description")});
  m_extensions->setRootIsDecorated(false);
  m_extensions->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  m_extensions->installEventFilter(this);
  connect(m_extensions, &QTreeWidget::currentItemChanged, this, &TFopzProg::ExtensionSelected);

  auto* details = new QGridLayout;
  details->addWidget(Label(page, "lDescription", QStringLiteral("Description:")), 0, 0);
  m_description = new QLineEdit(page);
  m_description->setObjectName(QStringLiteral("eDescription"));
  details->addWidget(m_description, 0, 1, 1, 2);
  m_behaviour = RadioGroup(page, "rgcomp", QStringLiteral("Default behaviour"),
                           {QStringLiteral("ask user"), QStringLiteral("save"),
                            QStringLiteral("run, by using the application the desktop opens it with"),
                            QStringLiteral("run by using:")});
  details->addWidget(m_behaviour, 1, 0, 1, 3);
  m_programPath = new QLineEdit(page);
  m_programPath->setObjectName(QStringLiteral("eAppPath"));
  details->addWidget(m_programPath, 2, 0, 1, 2);
  auto* browse = NamedButton(page, "bAppPath", QStringLiteral("..."));
  browse->setMaximumWidth(40);
  connect(browse, &QPushButton::clicked, this, [this] { ChooseProgram(m_programPath); });
  details->addWidget(browse, 2, 2);

  auto* top = new QHBoxLayout;
  top->addWidget(m_extensions, 2);
  top->addLayout(details, 3);
  layout->addLayout(top);
  layout->addWidget(
      Label(page, "lExtNote", QStringLiteral("For applications not listed here, editor/reader asks user")));
  auto* buttons = new QHBoxLayout;
  auto* add = NamedButton(page, "bAddExt", QStringLiteral("Add"));
  auto* remove = NamedButton(page, "bDelExt", QStringLiteral("Delete selected"));
  connect(add, &QPushButton::clicked, this, &TFopzProg::AddExtension);
  connect(remove, &QPushButton::clicked, this, &TFopzProg::DeleteExtension);
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  layout->addLayout(buttons);

  connect(m_description, &QLineEdit::textChanged, this, &TFopzProg::ExtensionEdited);
  connect(m_programPath, &QLineEdit::textChanged, this, &TFopzProg::ExtensionEdited);
  for (QRadioButton* button : m_behaviour->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) ExtensionEdited();
    });
  }
  return page;
}

QWidget* TFopzProg::BuildSpellPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsSpell"));
  auto* layout = new QVBoxLayout(page);
  SpellCheckerSettings* checker = m_host.SpellChecker();
  if (checker == nullptr) {
    layout->addWidget(Label(page, "lNoSpell",
                            QStringLiteral("Spelling engine (Hunspell) or its dictionaries not installed.")));
    layout->addStretch();
    return page;
  }
  auto* language = new QHBoxLayout;
  language->addWidget(Label(page, "lLanguage", QStringLiteral("Language:")));
  m_language = new QComboBox(page);
  m_language->setObjectName(QStringLiteral("cbLanguage"));
  language->addWidget(m_language, 1);
  layout->addLayout(language);
  const std::pair<const char*, std::pair<int, const char*>> bits[] = {
      {"cbUserDic", {spoSuggestFromUserDict, "Use user dictionary"}},
      {"cbCaps", {spoIgnoreAllCaps, "Ignore caps"}},
      {"cbRoman", {spoIgnoreRomanNumerals, "Ignore roman numerals"}},
      {"cbStart", {spoFindUncappedSentences, "Find bad start sentences"}},
      {"cbRepeat", {spoFindRepeatWord, "Find repeated words"}},
      {"cbPoint", {spoFindSpacesBeforePunc, "Find bad points"}},
      {"cbRate", {spoRateSuggestions, "Suggest rate"}}};
  for (const auto& [name, bit] : bits) {
    auto* box = new QCheckBox(QString::fromLatin1(bit.second), page);
    box->setObjectName(QString::fromLatin1(name));
    m_spellBits.emplace_back(bit.first, box);
    layout->addWidget(box);
  }
  m_autoCheck = new QCheckBox(QStringLiteral("Automatically show errors"), page);
  m_autoCheck->setObjectName(QStringLiteral("cbAuto"));
  m_progress = new QCheckBox(QStringLiteral("Show search progress, if can't find errors"), page);
  m_progress->setObjectName(QStringLiteral("cbProgress"));
  layout->addWidget(m_autoCheck);
  layout->addWidget(m_progress);
  layout->addStretch();
  return page;
}

QWidget* TFopzProg::BuildBrowserPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsBrowser"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Label(page, "lBrowserIntro",
                          QStringLiteral("Browsers available for quick preview, in addition to the desktop's "
                                         "default browser:")));
  m_browsers = new QListWidget(page);
  m_browsers->setObjectName(QStringLiteral("lbBrowsers"));
  m_browsers->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  connect(m_browsers, &QListWidget::currentItemChanged, this, &TFopzProg::BrowserSelected);
  layout->addWidget(m_browsers);
  auto* path = new QHBoxLayout;
  path->addWidget(Label(page, "lBrowserPath", QStringLiteral("Browser path:")));
  m_browserPath = new QLineEdit(page);
  m_browserPath->setObjectName(QStringLiteral("eBrowserPath"));
  path->addWidget(m_browserPath, 1);
  auto* browse = NamedButton(page, "bBrowserPath", QStringLiteral("..."));
  browse->setMaximumWidth(40);
  connect(browse, &QPushButton::clicked, this, [this] { ChooseProgram(m_browserPath); });
  path->addWidget(browse);
  layout->addLayout(path);
  connect(m_browserPath, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (m_filling) return;
    if (QListWidgetItem* item = m_browsers->currentItem()) item->setData(kPathRole, text);
  });
  auto* buttons = new QHBoxLayout;
  auto* add = NamedButton(page, "bAddBrowser", QStringLiteral("Add"));
  auto* remove = NamedButton(page, "bDelBrowser", QStringLiteral("Delete"));
  connect(add, &QPushButton::clicked, this, &TFopzProg::AddBrowser);
  connect(remove, &QPushButton::clicked, this, &TFopzProg::DeleteBrowser);
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->addWidget(Label(page, "lBrowserNote",
                          QStringLiteral("The quick preview is available from \"Publish >Browser Preview\"")));
  return page;
}

void TFopzProg::FillFromSettings() {
  m_filling = true;
  m_toolWindows->setValue(m_host.ToolWindowLimit());
  for (const OptionCheck& check : m_checks) {
    const std::string value = m_registry.ReadOption(check.option);
    bool ticked = value == "1";
    if (qstricmp(check.option, "TipOfTheDay") == 0) {
      ticked = value.empty() || value == "1";
    } else if (check.tickedWhenMissing) {
      ticked = value != "0";
    }
    check.box->setChecked(ticked);
  }
  for (std::size_t i = 0; i < m_spins.size(); ++i) {
    OptionSpin& spin = m_spins[i];
    const std::string text = m_registry.ReadOption(spin.option);
    const int value = platform::ParseNumber(text, spin.fallback);
    spin.stored = text.empty() || platform::ParseNumber(text, -1) == value;
    spin.box->setValue(value);
    connect(spin.box, &QSpinBox::valueChanged, this, [this, i] { m_spins[i].stored = true; });
  }
  SetRadioIndex(m_pointers, platform::ParseNumber(m_registry.ReadOption("Cursors"), 0));

  for (const std::string& extension : m_registry.ListSubkeys("ext")) {
    const std::string key = "ext\\" + extension;
    auto* item = new QTreeWidgetItem(m_extensions);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setText(0, ToQString(extension));
    SetExtension(item, {platform::ParseNumber(m_registry.ReadSubkeyValue(key, "comp"), 0),
                        m_registry.ReadSubkeyValue(key, "appPath"), m_registry.ReadSubkeyValue(key, "nam")});
  }
  const int browsers = std::max(0, platform::ParseNumber(m_registry.ReadSubkeyValue("Browser", "Num"), 0));
  for (int i = 0; i < browsers; ++i) {
    const std::string key = "Browser\\" + std::to_string(i);
    auto* item = new QListWidgetItem(ToQString(m_registry.ReadSubkeyValue(key, "Name")), m_browsers);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(kPathRole, ToQString(m_registry.ReadSubkeyValue(key, "appPath")));
  }

  if (SpellCheckerSettings* checker = m_host.SpellChecker(); checker != nullptr && m_language != nullptr) {
    auto languages = checker->Languages();
    std::sort(languages.begin(), languages.end(),
              [](const SpellLanguage& a, const SpellLanguage& b) { return a.name < b.name; });
    for (const SpellLanguage& language : languages) m_language->addItem(ToQString(language.name), language.id);
    m_language->setCurrentIndex(std::max(0, m_language->findData(checker->Language())));
    for (auto& [bit, box] : m_spellBits) box->setChecked((checker->Options() & bit) != 0);
    m_autoCheck->setChecked(checker->AutoCheck());
    m_progress->setChecked(checker->ProgressWindow());
  }
  m_filling = false;
  if (m_extensions->topLevelItemCount() > 0) m_extensions->setCurrentItem(m_extensions->topLevelItem(0));
  if (m_browsers->count() > 0) m_browsers->setCurrentRow(0);
}

TExtData TFopzProg::ExtensionOf(const QTreeWidgetItem* item) const {
  return {item->data(0, kBehaviourRole).toInt(), Bytes(item->data(0, kPathRole).toString()),
          Bytes(item->data(0, kDescriptionRole).toString())};
}

void TFopzProg::SetExtension(QTreeWidgetItem* item, const TExtData& entry) {
  item->setData(0, kBehaviourRole, entry.behaviour);
  item->setData(0, kPathRole, ToQString(entry.path));
  item->setData(0, kDescriptionRole, ToQString(entry.description));
  item->setText(1, ToQString(entry.description));
}

void TFopzProg::ExtensionSelected() {
  QTreeWidgetItem* item = m_extensions->currentItem();
  if (item == nullptr) return;
  m_filling = true;
  const TExtData entry = ExtensionOf(item);
  m_description->setText(ToQString(entry.description));
  m_programPath->setText(ToQString(entry.path));
  SetRadioIndex(m_behaviour, entry.behaviour);
  m_filling = false;
}

void TFopzProg::ExtensionEdited() {
  if (m_filling) return;
  QTreeWidgetItem* item = m_extensions->currentItem();
  if (item == nullptr) return;
  SetExtension(item, {RadioIndex(m_behaviour), Bytes(m_programPath->text()), Bytes(m_description->text())});
}

void TFopzProg::AddExtension() {
  const TExtData current{RadioIndex(m_behaviour), Bytes(m_programPath->text()), Bytes(m_description->text())};
  auto* item = new QTreeWidgetItem(m_extensions);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  item->setText(0, QStringLiteral(".new"));
  SetExtension(item, current);
  m_filling = true;
  m_extensions->setCurrentItem(item);
  m_filling = false;
  // The new entry starts as "ask user"; the choice writes through to it.
  SetRadioIndex(m_behaviour, 0);
  m_extensions->editItem(item, 0);
}

void TFopzProg::DeleteExtension() {
  QTreeWidgetItem* item = m_extensions->currentItem();
  if (item == nullptr) return;
  // The stored entry of the extension deleted goes, never that of the entry
  // selected after it.
  const std::string extension = Bytes(item->text(0));
  delete item;
  if (m_extensions->topLevelItemCount() > 0) m_extensions->setCurrentItem(m_extensions->topLevelItem(0));
  if (!extension.empty()) m_registry.DeleteSubkey("ext\\" + extension);
}

void TFopzProg::BrowserSelected() {
  QListWidgetItem* item = m_browsers->currentItem();
  m_filling = true;
  m_browserPath->setText(item != nullptr ? item->data(kPathRole).toString() : QString());
  m_filling = false;
}

void TFopzProg::AddBrowser() {
  auto* item = new QListWidgetItem(QStringLiteral("new"), m_browsers);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  item->setData(kPathRole, m_browserPath->text());
  m_filling = true;
  m_browsers->setCurrentItem(item);
  m_filling = false;
  m_browsers->editItem(item);
}

void TFopzProg::DeleteBrowser() { delete m_browsers->currentItem(); }

bool TFopzProg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_extensions && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys reach the list itself only while no caption is being edited.
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      DeleteExtension();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFopzProg::ResetWindowSettings() {
  const auto answer = m_messages.Ask(
      "You should close the program immediately in order the reset to take effect. Proceed with the reset?");
  if (answer != platform::Answer::Yes) return;
  m_registry.DeleteSubkey("forms");
  m_host.StopFormPlacement();
  m_placement->SetActive(false);
}

void TFopzProg::ChooseProgram(QLineEdit* edit) {
  const QString filter = QtFileFilter(findChild<QObject*>(QStringLiteral("OpenDialog1"))->property("filter").toString());
  QString allFiles = filter.section(QStringLiteral(";;"), -1);
  const QString chosen = QFileDialog::getOpenFileName(this, QString(), edit->text(), filter, &allFiles);
  if (!chosen.isEmpty()) edit->setText(chosen);
}

void TFopzProg::StoreSpellOptions(SpellCheckerSettings& checker) {
  const int language = m_language->currentIndex() >= 0 ? m_language->currentData().toInt() : checker.Language();
  if (language != checker.Language()) {
    m_registry.WriteSubkeyValue("orto", "lang", std::to_string(language));
    const bool editing = m_host.InEditMode();
    m_host.SetEditMode(false);
    const int previous = checker.Language();
    checker.Close();
    checker.SetLanguage(language);
    if (!checker.Open()) {
      checker.SetLanguage(previous);
      checker.Open();
    }
    if (editing) m_host.SetEditMode(true);
  }
  int options = checker.Options();
  for (auto& [bit, box] : m_spellBits) options = box->isChecked() ? (options | bit) : (options & ~bit);
  checker.SetOptions(options);
  checker.SetAutoCheck(m_autoCheck->isChecked());
  checker.SetProgressWindow(m_progress->isChecked());
  WriteSpellFlags(m_registry, checker);
}

void TFopzProg::accept() {
  // A caption still being edited counts as typed.
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_extensions),
                                  static_cast<QAbstractItemView*>(m_browsers)}) {
    const QModelIndex index = view->currentIndex();
    if (QWidget* editor = view->indexWidget(index)) view->itemDelegate()->setModelData(editor, view->model(), index);
  }
  m_host.SetToolWindowLimit(m_toolWindows->value());

  for (int i = 0; i < m_browsers->count(); ++i) {
    const std::string key = "Browser\\" + std::to_string(i);
    m_registry.WriteSubkeyValue(key, "Name", Bytes(m_browsers->item(i)->text()));
    m_registry.WriteSubkeyValue(key, "appPath", Bytes(m_browsers->item(i)->data(kPathRole).toString()));
  }
  m_registry.WriteSubkeyValue("Browser", "Num", std::to_string(m_browsers->count()));

  for (int i = 0; i < m_extensions->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = m_extensions->topLevelItem(i);
    const std::string extension = Bytes(item->text(0));
    if (extension.empty()) continue;
    const TExtData entry = ExtensionOf(item);
    const std::string key = "ext\\" + extension;
    m_registry.WriteSubkeyValue(key, "appPath", entry.path);
    m_registry.WriteSubkeyValue(key, "nam", entry.description);
    m_registry.WriteSubkeyValue(key, "comp", std::to_string(entry.behaviour));
  }

  // The general options, in the order the program has always written them.
  static const char* const kOrder[] = {"dbDebug",   "dbDebugMap",  "AtStartBlank", "maxCacheImg", "formLim",
                                       "undoDeep",  "TipOfTheDay", "Virgolette",   "Alt",         "ElStili",
                                       "ClipStili", "ElForm",      "ClipForm",     "PromemSave",  "AutoHideTip",
                                       "BordoSx",   "Bak",         "NotSaveTool",  "CercaTop",    "SaveTxtHtml",
                                       "Cursors",   "TimeSave"};
  for (const char* option : kOrder) {
    if (QCheckBox* box = Check(option)) {
      m_registry.WriteOptionFlag(option, box->isChecked() ? 1 : 0);
    } else if (qstricmp(option, "formLim") == 0) {
      m_registry.WriteOption(option, std::to_string(m_toolWindows->value()));
    } else if (qstricmp(option, "Cursors") == 0) {
      m_registry.WriteOption(option, std::to_string(RadioIndex(m_pointers)));
    } else {
      for (const OptionSpin& spin : m_spins) {
        if (qstricmp(spin.option, option) == 0 && spin.stored) {
          m_registry.WriteOption(option, std::to_string(spin.box->value()));
        }
      }
    }
  }

  if (SpellCheckerSettings* checker = m_host.SpellChecker(); checker != nullptr && m_language != nullptr) {
    StoreSpellOptions(*checker);
  }
  m_host.ApplyProgramOptions();
  QDialog::accept();
}

}  // namespace tarn::app::ui
