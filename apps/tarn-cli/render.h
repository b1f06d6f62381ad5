// tarn-cli render: a page's text laid out and drawn into a PNG.
#pragma once

#include <QGuiApplication>

#include <memory>
#include <string>
#include <vector>

#include "climessages.h"
#include "document/aehset.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"

namespace tarn::cli {

int Render(const std::vector<std::string>& args);
// A display-less application for fonts and painting; nothing when one runs.
std::unique_ptr<QGuiApplication> OffscreenApplication();

// A hypertext for the commands that draw: Qt's fonts without a display,
// messages on standard error, the program's hooks installed.
struct DrawingSession {
  DrawingSession();
  ~DrawingSession();
  std::unique_ptr<QGuiApplication> application = OffscreenApplication();
  CliMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  document::TAEHset set{{&messages, &system, &measurer, nullptr}};
};

}  // namespace tarn::cli
