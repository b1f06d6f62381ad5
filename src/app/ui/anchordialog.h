// Anchors from the window: Insert > Anchor puts a new anchor at the caret,
// numbered after the page's highest; the anchor dialog (a double click on
// an anchor) renumbers it or deletes it. Each change is one undo step.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QSpinBox;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
}
namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;
class TKrLanguager;

class TFAnchor : public QDialog {
 public:
  // taken: the numbers the page's other anchors have.
  TFAnchor(int number, std::vector<int> taken, platform::Messages& messages, QWidget* parent = nullptr);

  int Number() const;
  // "Delete anchor" closed the dialog.
  bool DeleteChosen() const { return m_delete; }
  QSpinBox* NumberBox() const { return m_number; }
  // Ok: a number another anchor of the page has is refused, with a warning.
  void accept() override;

 private:
  QSpinBox* m_number;
  std::vector<int> m_taken;
  platform::Messages& m_messages;
  bool m_delete = false;
  TKrLanguager* m_languager;
};

// Binds Insert > Anchor and answers a double click on an anchor with the
// anchor dialog (other objects go to the answer that was there before, so
// this is bound after the object commands). changed runs after a change.
void BindAnchorCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                        std::function<void()> changed);

}  // namespace tarn::app::ui
