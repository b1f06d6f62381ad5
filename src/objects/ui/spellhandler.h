// What the editor control asks of the program's spell checker: the spelling
// menu's services and the interactive check from a place in a text box. The
// main window's checker implements it; without one the spelling menu offers
// nothing and the checks do nothing.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::objects {

class SpellHandler {
 public:
  virtual ~SpellHandler() = default;
  virtual std::vector<std::string> Suggest(const std::string& word) = 0;
  virtual void IgnoreAll(const std::string& word) = 0;
  virtual void AddWord(const std::string& word) = 0;
  // The interactive check of the page from the box's caret.
  virtual void SpellCheckFrom(ui::TInsiemeCornici& frameSet, QWidget* box) = 0;
};

}  // namespace tarn::objects
