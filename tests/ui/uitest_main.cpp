// Runs the widget tests headless: one application object for the whole run,
// the offscreen platform unless a display was asked for explicitly.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/qt/qtfonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tarn::platform::qt::RegisterDocumentFonts();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
