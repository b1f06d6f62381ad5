// Facts about the machine and the session that documents record: the user's
// name, the screen resolution and where temporary files go.
#pragma once

#include <filesystem>
#include <string>

namespace tarn::platform {

class Clipboard;
class Messages;
class TextMeasurer;

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::string UserName() = 0;  // cp1252
  virtual int ScreenPixelsPerInch() = 0;
  virtual std::filesystem::path TempPath() = 0;
};

// The real machine: the login name, 96 pixels per inch, $TMPDIR or /tmp.
class HostSystemInfo : public SystemInfo {
 public:
  std::string UserName() override;
  int ScreenPixelsPerInch() override { return 96; }
  std::filesystem::path TempPath() override;
};

// Everything a document container needs from the outside, handed in by the
// caller. Clipboard and measurer may be absent (headless tools).
struct Services {
  Messages* messages = nullptr;
  SystemInfo* system = nullptr;
  TextMeasurer* measurer = nullptr;
  Clipboard* clipboard = nullptr;
};

}  // namespace tarn::platform
