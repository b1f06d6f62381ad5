// What the manual demo tools share: their command line (a file, "--page N"
// and one option with a value of their own) and an opened hypertext with
// the Qt platform behind it.
#pragma once

#include <QStringList>

#include <cstdio>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtclipboard.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"

namespace tarn::testing {

struct DemoArguments {
  std::string file;
  long page = 0;
  QString value;  // the value of the tool's own option
};

inline DemoArguments ParseDemoArguments(const QStringList& args, const QString& option, std::string file, long page) {
  DemoArguments parsed{std::move(file), page, {}};
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--page") && i + 1 < args.size()) {
      parsed.page = args[++i].toLong();
    } else if (args[i] == option && i + 1 < args.size()) {
      parsed.value = args[++i];
    } else {
      parsed.file = args[i].toStdString();
    }
  }
  return parsed;
}

struct DemoWorld {
  platform::testing::RecordingMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  platform::qt::QtClipboard clipboard;
  document::TAEHset set{{&messages, &system, &measurer, &clipboard}};

  DemoWorld() { app::Compose(set); }

  bool Open(const std::string& file) {
    if (set.LoadFromFile(file)) return true;
    std::fprintf(stderr, "cannot open %s\n", file.c_str());
    return false;
  }
};

}  // namespace tarn::testing
