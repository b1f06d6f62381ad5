// The program-options dialog: the general options, the behaviour for files
// linked to a hypertext by extension, the spell checker's options and the
// browsers for the quick preview. Nothing is stored until OK, except that
// deleting an extension removes its stored entry at once.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarn::platform {
class Messages;
class Registry;
}  // namespace tarn::platform

namespace tarn::app {
class OptionsHost;
class SpellCheckerSettings;
}  // namespace tarn::app

namespace tarn::app::ui {

class FormPlacement;
class TKrLanguager;

// What the dialog keeps for each listed extension.
struct TExtData {
  int behaviour = 0;
  std::string path;
  std::string description;
};

class TFopzProg : public QDialog {
  Q_OBJECT
 public:
  TFopzProg(platform::Registry& registry, OptionsHost& host, platform::Messages& messages, QWidget* parent = nullptr);

  // The controls, by the names the tests and the translation table use.
  QTabWidget* Pages() const { return m_pages; }
  QCheckBox* Check(const char* option) const;
  QSpinBox* Spin(const char* option) const;

 protected:
  void accept() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct OptionCheck {
    const char* option;
    QCheckBox* box;
    bool tickedWhenMissing;
  };
  struct OptionSpin {
    const char* option;
    QSpinBox* box;
    int fallback;        // shown when the option is missing or not a number
    bool stored = true;  // false: the stored text was not a number and is left alone
  };

  QWidget* BuildEditorPage();
  QWidget* BuildExtensionsPage();
  QWidget* BuildSpellPage();
  QWidget* BuildBrowserPage();
  QCheckBox* AddCheck(QWidget* parent, const char* name, const char* option, const QString& caption,
                      bool tickedWhenMissing = false);
  QSpinBox* AddSpin(QWidget* parent, const char* name, const char* option, int minimum, int maximum, int fallback);
  void FillFromSettings();
  void ExtensionSelected();
  void ExtensionEdited();
  void AddExtension();
  void DeleteExtension();
  void BrowserSelected();
  void AddBrowser();
  void DeleteBrowser();
  void ResetWindowSettings();
  void ChooseProgram(QLineEdit* edit);
  TExtData ExtensionOf(const QTreeWidgetItem* item) const;
  void SetExtension(QTreeWidgetItem* item, const TExtData& data);
  void StoreSpellOptions(SpellCheckerSettings& checker);

  platform::Registry& m_registry;
  OptionsHost& m_host;
  platform::Messages& m_messages;
  TKrLanguager* m_languager = nullptr;
  FormPlacement* m_placement = nullptr;
  bool m_filling = false;

  QTabWidget* m_pages = nullptr;
  std::vector<OptionCheck> m_checks;
  std::vector<OptionSpin> m_spins;
  QSpinBox* m_toolWindows = nullptr;
  QGroupBox* m_pointers = nullptr;

  QTreeWidget* m_extensions = nullptr;
  QLineEdit* m_description = nullptr;
  QGroupBox* m_behaviour = nullptr;
  QLineEdit* m_programPath = nullptr;

  QComboBox* m_language = nullptr;
  std::vector<std::pair<int, QCheckBox*>> m_spellBits;
  QCheckBox* m_autoCheck = nullptr;
  QCheckBox* m_progress = nullptr;

  QListWidget* m_browsers = nullptr;
  QLineEdit* m_browserPath = nullptr;
};

// Filters written in the Windows form ("Text|*.A;*.B|All|*.*") in Qt's.
QString QtFileFilter(const QString& windowsFilter);

}  // namespace tarn::app::ui
