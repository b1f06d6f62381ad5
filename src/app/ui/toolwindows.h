// Modeless tool windows kept alive between uses: showing one again is
// instant and keeps what it holds. The window keeps a few, the least
// recently shown going first when there are more than the options allow
// (never fewer than three).
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace tarn::app::ui {

class ToolWindows {
 public:
  static constexpr int kMinimumLimit = 3;

  // limit: how many windows are kept (read at each show).
  explicit ToolWindows(std::function<int()> limit) : m_limit(std::move(limit)) {}
  // The windows go with their owner.
  ~ToolWindows() = default;

  // Shows the window that ref holds, made by make when it holds none; the
  // window moves to the end of the list (the most recently shown). make's
  // window is the caller's to parent; freeing it clears ref.
  template <typename Window>
  Window* Show(QPointer<Window>& ref, const std::function<Window*()>& make) {
    if (ref.isNull()) ref = make();
    Window* window = ref.data();
    if (window == nullptr) return nullptr;
    Keep(window);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
  }

  // The windows kept, least recently shown first.
  std::vector<QWidget*> Kept() const;

 private:
  void Keep(QWidget* window);

  std::function<int()> m_limit;
  std::vector<QPointer<QWidget>> m_windows;
};

}  // namespace tarn::app::ui
