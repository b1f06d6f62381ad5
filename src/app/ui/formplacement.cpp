// Window placement as plain numbers: "Left", "Top", "Width", "Height" and
// "Maximized" ("1" or "0") under forms\<window name>.
#include "app/ui/formplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/registry.h"

namespace tarn::app::ui {

FormPlacement::FormPlacement(QWidget* form, platform::Registry& registry, QSize minimumSize)
    : QObject(form), m_form(form), m_registry(registry), m_minimumSize(minimumSize) {
  setObjectName(QStringLiteral("FormPlacement1"));
  form->installEventFilter(this);
}

QString FormPlacement::Key() const { return QStringLiteral("forms\\") + m_form->objectName(); }

void FormPlacement::Restore() {
  if (!m_active) return;
  const std::string key = Key().toStdString();
  auto number = [&](const char* name) { return platform::ParseNumber(m_registry.ReadSubkeyValue(key, name), -1); };
  const int left = number("Left");
  const int top = number("Top");
  const int width = number("Width");
  const int height = number("Height");
  if (width < m_minimumSize.width() || height < m_minimumSize.height()) return;
  QRect wanted(left, top, width, height);
  // A position on a screen that is no longer there is not restored: the
  // window would open out of sight.
  bool visible = false;
  for (const QScreen* screen : QGuiApplication::screens()) visible |= screen->availableGeometry().intersects(wanted);
  if (visible) {
    m_form->move(left, top);
  }
  m_form->resize(width, height);
  if (number("Maximized") == 1) m_form->setWindowState(m_form->windowState() | Qt::WindowMaximized);
}

void FormPlacement::Save() {
  if (!m_active) return;
  const std::string key = Key().toStdString();
  const QRect normal = m_form->isMaximized() ? m_form->normalGeometry() : m_form->geometry();
  const platform::SettingsBatch batch(m_registry.Store());
  m_registry.WriteSubkeyValue(key, "Left", std::to_string(normal.x()));
  m_registry.WriteSubkeyValue(key, "Top", std::to_string(normal.y()));
  m_registry.WriteSubkeyValue(key, "Width", std::to_string(normal.width()));
  m_registry.WriteSubkeyValue(key, "Height", std::to_string(normal.height()));
  m_registry.WriteSubkeyValue(key, "Maximized", m_form->isMaximized() ? "1" : "0");
}

bool FormPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_form) {
    if (event->type() == QEvent::Show && !m_restored) {
      m_restored = true;
      m_form->setMinimumSize(m_minimumSize);
      Restore();
    } else if (event->type() == QEvent::Hide && m_restored) {
      Save();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tarn::app::ui
