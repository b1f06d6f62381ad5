// The tip window: shown while the program starts and, unless the author
// chose otherwise, left open as the tip of the day.
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace tarn::platform {
class Registry;
}

namespace tarn::app::ui {

class TKrLanguager;

class TTipForm : public QDialog {
  Q_OBJECT
 public:
  TTipForm(platform::Registry& registry, QWidget* parent = nullptr);

  QCheckBox* ShowAtStart() const { return m_showAtStart; }
  QString CurrentTip() const;
  void NextTip();
  // The built-in tips, one per line.
  static QStringList Tips();

 protected:
  void done(int result) override;

 private:
  platform::Registry& m_registry;
  QLabel* m_header = nullptr;
  QLabel* m_tip = nullptr;
  QCheckBox* m_showAtStart = nullptr;
  QStringList m_tips;
  int m_current = 0;
};

// The about window; at start-up it serves as the splash window.
class TFabout : public QDialog {
  Q_OBJECT
 public:
  explicit TFabout(QWidget* parent = nullptr);
};

}  // namespace tarn::app::ui
