// Loads arbitrary bytes as an object transfer stream (clipboard, undo).
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/testing/testplatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  static platform::testing::RecordingMessages messages;
  static document::TAEHset set({&messages, nullptr, nullptr, nullptr});
  messages.Clear();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  base::ByteReader loose(bytes);
  document::TAEHoggetto object;
  object.SetOwner(&set);
  if (object.LoadFromStream(loose)) {
    object.GetCaption();
    object.IsFree();
    std::string again;
    object.SaveToStream(again);
  }
  // Into a registered object of the container.
  base::ByteReader reader(bytes);
  if (auto* style = set.GetObject(document::stileParagrafo, 0)) style->LoadFromStream(reader);
  set.NewHypertext();
  return 0;
}
