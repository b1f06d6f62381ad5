// The number boxes of the toolbars (the page number, the font size): a
// spin box whose owner may limit where its buttons and arrow keys step,
// separately from the numbers that can be typed.
#pragma once

#include <QSpinBox>

#include <functional>

namespace tarn::app::ui {

class TKrSpinEdit : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

  // Whether a step from value by steps may be taken; unset, any step
  // inside the range.
  std::function<bool(int value, int steps)> canStep;

  void stepBy(int steps) override {
    if (!canStep || canStep(value(), steps)) QSpinBox::stepBy(steps);
  }

 protected:
  StepEnabled stepEnabled() const override {
    StepEnabled enabled = QSpinBox::stepEnabled();
    if (canStep) {
      if (!canStep(value(), 1)) enabled &= ~StepUpEnabled;
      if (!canStep(value(), -1)) enabled &= ~StepDownEnabled;
    }
    return enabled;
  }
};

}  // namespace tarn::app::ui
