// Opens arbitrary bytes as a hypertext file, then saves and re-opens it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/testing/testplatform.h"

namespace {
std::filesystem::path Dir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("tarn-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const auto in = Dir() / "in.aeh";
  tarn::base::WriteWholeFile(in, std::string_view(reinterpret_cast<const char*>(data), size));
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(Dir());
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetBackup(false);
  if (!set.LoadFromFile(in)) return 0;
  for (int k = 0; k < document::kKindCount; ++k) {
    for (int i = 0; i < set.CountOf(k); ++i) {
      auto* object = set.GetObject(k, i);
      if (object == nullptr) continue;
      object->GetCaption();
      object->IsFree();
      if (auto* page = dynamic_cast<document::TAEHtesto*>(object)) page->LookupName();
    }
  }
  set.FindPage("x");
  set.SaveToFile(Dir() / "out.aeh");
  return 0;
}
