// Opens arbitrary bytes as a hypertext file and writes each of its pages as
// HTML in memory: tables, maps, forms, multimedia and custom objects read
// records, content and extra blocks exactly as the file holds them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"
#include "scratchdir.h"

namespace {
std::filesystem::path Dir() { return tarn::fuzz::ScratchDir("tarn-fuzz-html-"); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const auto in = Dir() / "in.aeh";
  base::WriteWholeFile(in, std::string_view(reinterpret_cast<const char*>(data), size));
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(Dir());
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  if (!set.LoadFromFile(in)) return 0;
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&set);
  html.AutoAlt = (size & 1) != 0;
  html.ExpUtf8 = (size & 2) != 0;
  convert::RecordList frameless;
  convert::RecordList files;
  // A bounded number of pages: a file may claim many.
  for (int i = 0; i < set.CountOf(document::testoHtml) && i < 64; ++i) {
    document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    std::string out;
    html.ExportPage(*page, out, &frameless, files, convert::kMainName);
  }
  return 0;
}
