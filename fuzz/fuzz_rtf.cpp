// Reads arbitrary bytes as an RTF document: into pages (plain, WinHelp and
// cut by headings, as the first byte chooses) and into the clipboard's
// container (with and without its records); every page made is then written
// back as RTF and read again.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "convert/aehtortf.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;

struct World {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{std::filesystem::temp_directory_path()};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  world.messages.Clear();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::uint8_t choice = size > 0 ? data[0] : 0;
  document::TAEHset set({&world.messages, &world.system, nullptr, nullptr});
  app::Compose(set);
  convert::TAEHtortf rtf;
  rtf.SetLinkedAEHset(&set);
  rtf.ImportOptions.winHelp = (choice & 1) != 0;
  rtf.ImportOptions.headingsCut = (choice & 2) != 0;
  rtf.ImportOptions.commonIndex = (choice & 4) != 0;
  rtf.ImportOptions.allToGif = (choice & 8) != 0;
  rtf.ImportOptions.paragraphsPerPage = (choice & 16) != 0 ? 3 : 100;
  convert::TRtfImp run(set, rtf.ImportOptions);
  run.ReadDocument(bytes, {}, "fuzz");
  run.Finish();

  std::string container;
  rtf.ConvertPaste(bytes, container, 0, 0);
  // What a box that cannot take records is given.
  rtf.PasteTextOnly = true;
  container.clear();
  rtf.ConvertPaste(bytes, container, 0, 0);
  rtf.PasteTextOnly = false;

  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    std::string again;
    rtf.ConvertText(page->ReadContent().value_or(std::string()), again);
    std::string back;
    rtf.ConvertPaste(again, back, 0, 0);
  }
  return 0;
}
