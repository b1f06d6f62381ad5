// tarn-cli render: a page's text laid out and drawn into a PNG.
#pragma once

#include <memory>
#include <string>
#include <vector>

class QGuiApplication;

namespace tarn::cli {

int Render(const std::vector<std::string>& args);
// A display-less application for fonts and painting; nothing when one runs.
std::unique_ptr<QGuiApplication> OffscreenApplication();

}  // namespace tarn::cli
