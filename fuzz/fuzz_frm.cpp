// Reads arbitrary bytes as a ".frm" layout file and as a frame map's record
// stream, lays the tree out, and writes it and its frameset HTML again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "objects/frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn::objects;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto exercise = [](TAEHFrame& top) {
    LayoutTree(top, {0, 0, 800, 600});
    const std::string again = WriteLayoutFile(top);
    auto reread = ReadLayoutFile(again);
    if (!reread || WriteLayoutFile(*reread->top) != again) __builtin_trap();
  };
  if (auto file = ReadLayoutFile(bytes)) exercise(*file->top);
  if (size >= 1) {
    const auto recordSize = static_cast<std::int32_t>(data[0]);
    if (auto top = ReadFrameTree(bytes.substr(1), recordSize)) exercise(*top);
    std::string html;
    TNonVisCornice::FromStream(bytes.substr(1), recordSize).Write(html, DocumentFrameSource);
  }
  return 0;
}
