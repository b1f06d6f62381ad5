// The caret of a text box: a child control three pixels wide and one line
// high that inverts what lies under it. One timer blinks one caret in the
// whole program: the caret that started it last.
#pragma once

#include "objects/ui/transcontrol.h"
#include "richtext/layout.h"

class QTimer;

namespace tarn::richtext::ui {

class TAEHcursor : public objects::TKrTransCustomControl {
  Q_OBJECT

 public:
  static constexpr int kWidth = 3;
  static constexpr int kBlinkMilliseconds = 500;

  explicit TAEHcursor(QWidget* box);
  ~TAEHcursor() override;

  void SetPosition(const TextPos& position);
  const TextPos& Position() const { return m_position; }

  // Shows the caret and makes it the blinking one (the previous one stops).
  void StartBlinking();
  // Stops and hides the caret.
  void StopBlinking();
  bool Blinking() const;
  static TAEHcursor* BlinkingCaret();

  bool IsOpaque() const override { return false; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static void Toggle();
  TextPos m_position;
};

}  // namespace tarn::richtext::ui
