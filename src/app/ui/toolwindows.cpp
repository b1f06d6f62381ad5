// Tool windows kept alive; see toolwindows.h.
#include "app/ui/toolwindows.h"

#include <algorithm>

namespace tarn::app::ui {

std::vector<QWidget*> ToolWindows::Kept() const {
  std::vector<QWidget*> kept;
  for (const auto& window : m_windows) {
    if (window) kept.push_back(window);
  }
  return kept;
}

void ToolWindows::Keep(QWidget* window) {
  // Windows freed by themselves leave no entry behind.
  std::erase_if(m_windows, [window](const QPointer<QWidget>& kept) { return kept.isNull() || kept == window; });
  m_windows.emplace_back(window);
  const int limit = std::max(kMinimumLimit, m_limit ? m_limit() : kMinimumLimit);
  while (static_cast<int>(m_windows.size()) > limit) {
    QPointer<QWidget> oldest = m_windows.front();
    m_windows.erase(m_windows.begin());
    delete oldest.data();
  }
}

}  // namespace tarn::app::ui
