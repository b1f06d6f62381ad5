// The pictures of the toolbar buttons: the desktop theme's icon where the
// theme has one, otherwise a simple drawing of our own, so that no button
// is ever blank.
#pragma once

#include <QIcon>
#include <string_view>

namespace tarn::app::ui {

QIcon CommandIcon(std::string_view buttonName);

}  // namespace tarn::app::ui
