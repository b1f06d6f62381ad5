// What the program-options dialog needs from the main window: the tool
// window limit, the spell checker (when there is one), the editor's mode,
// and applying the options once they are stored.
#pragma once

namespace tarn::app {

class SpellCheckerSettings;

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;
  virtual int ToolWindowLimit() const = 0;
  virtual void SetToolWindowLimit(int limit) = 0;
  // Nothing when no spelling engine is installed.
  virtual SpellCheckerSettings* SpellChecker() = 0;
  virtual bool InEditMode() const = 0;
  virtual void SetEditMode(bool edit) = 0;
  // Reads the stored options again and reloads the current page.
  virtual void ApplyProgramOptions() = 0;
  // The window positions were reset: the main window must not store its
  // position again before the program ends.
  virtual void StopFormPlacement() = 0;
};

}  // namespace tarn::app
