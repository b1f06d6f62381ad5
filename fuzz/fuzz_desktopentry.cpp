// Desktop entries are files of other programs, written by anyone: reading
// a command line out of one must never crash, a command always names a
// program, and the file given always reaches it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/desktopapplication.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string file = "/fuzz/file name.txt";
  // Without a terminal and with one (entries marked Terminal=true run in it).
  for (const char* terminal : {"", "x-terminal-emulator"}) {
    const auto command = tarn::platform::DesktopExecCommand(text, file, terminal);
    if (!command) continue;
    if (command->size() < 2 || command->front().empty()) std::abort();
    if (std::count(command->begin() + 1, command->end(), file) < 1) std::abort();
  }
  return 0;
}
