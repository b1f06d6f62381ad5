// Keeps a window's position and size under "forms\" + the window's name, so
// that it opens where the author left it. It can be switched off, after
// which it never writes again (the reset of window positions needs that).
#pragma once

#include <QObject>
#include <QSize>
#include <QString>

class QWidget;

namespace tarn::platform {
class Registry;
}

namespace tarn::app::ui {

class FormPlacement : public QObject {
  Q_OBJECT
 public:
  // Restores the placement when the window is first shown and stores it
  // when the window closes.
  FormPlacement(QWidget* form, platform::Registry& registry, QSize minimumSize = QSize(100, 100));

  void SetActive(bool active) { m_active = active; }
  bool Active() const { return m_active; }
  void Restore();
  void Save();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString Key() const;
  QWidget* m_form;
  platform::Registry& m_registry;
  QSize m_minimumSize;
  bool m_active = true;
  bool m_restored = false;
};

}  // namespace tarn::app::ui
