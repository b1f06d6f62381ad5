// The interactive spell check's dialog: the error in its line, the kind of
// error, suggestions and the buttons that correct, skip, accept or add the
// word. It shows the state of the checker's check and presses its buttons;
// the checker hands every correction to the page.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QWidget;

namespace tarn::search {
class TKrSpellChecker;
}

namespace tarn::app::ui {

class TKrSpellerDialog : public QDialog {
  Q_OBJECT

 public:
  TKrSpellerDialog(search::TKrSpellChecker& checker, QWidget* parent = nullptr);

  // Runs the check modally: the dialog closes when the check ends.
  void Run();

  // The edited text of the error while the user edits it, for tests.
  QString EditedText() const;
  bool Editing() const { return m_editing; }

 public:
  // Escape and "C&lose": the check stops.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();
  // Shows the checker's error, or closes when the check has ended.
  void Follow(bool stopped);
  void ShowError();
  void ShowProgress(bool on);
  void FieldEdited();
  void CancelEditing();
  void ChangeClicked();
  std::string Replacement() const;

  search::TKrSpellChecker& m_checker;
  QWidget* m_progressPanel;
  QProgressBar* m_progressBar;
  QWidget* m_errorPanel;
  QLabel* m_info;
  QTextEdit* m_misspelling;
  QLabel* m_prompt;
  QListWidget* m_variants;
  QPushButton* m_change;
  QPushButton* m_changeAll;
  QPushButton* m_skip;
  QPushButton* m_skipAll;
  QPushButton* m_add;
  QPushButton* m_delete;
  QPushButton* m_cancelEdit;
  QPushButton* m_close;
  QPushButton* m_skipPage;
  bool m_started = false;
  // The field's text around the error: only what lies between them is the
  // user's to edit.
  QString m_before;
  QString m_after;
  QString m_errorText;
  bool m_settingField = false;
  bool m_editing = false;
  struct Remembered {
    bool changeVisible, changeEnabled, changeAllEnabled, skipEnabled, skipAllEnabled, addEnabled, deleteVisible,
        variantsEnabled;
  } m_remembered{};
};

}  // namespace tarn::app::ui
