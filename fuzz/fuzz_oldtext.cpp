// Converts arbitrary bytes as an older page text: once against a fake
// hypertext whose answers follow from the reference's digits, and, for short
// inputs, as a page of a small real container.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"
#include "richtext/oldtext.h"

namespace {

using tarn::document::ObjectId;

// Every answer is a function of the reference, so any digits the fuzzer
// writes reach every branch: records that exist or not, links, copies,
// tables of any shape and alignment (3 is out of range on purpose).
class FakeContext final : public tarn::richtext::OlderTextContext {
 public:
  std::uint32_t TextColour() const override { return 0x00123456; }
  std::uint32_t LinkColour() const override { return 0x00FF0000; }
  std::optional<ObjectId> Resolve(ObjectId id) override {
    if (tarn::document::IndexOf(id) % 3 == 0) return std::nullopt;
    if (tarn::document::KindOf(id) == tarn::document::zipLink) return id + (1 << 24);
    return id;
  }
  std::optional<ObjectId> CopyImage(ObjectId id) override {
    if (tarn::document::IndexOf(id) % 2 == 0) return std::nullopt;
    return tarn::document::MakeObjectId(tarn::document::immagine, ++m_made);
  }
  std::optional<ObjectId> ConvertFormField(int index) override {
    if (index % 2 == 1) return std::nullopt;
    return tarn::document::MakeObjectId(tarn::document::shortObj, ++m_made);
  }
  tarn::richtext::OlderTable Table(ObjectId resolved) override {
    const int index = tarn::document::IndexOf(resolved);
    return {index & 0xFF, (index >> 8) & 0xFF, (index >> 16) & 3};
  }

 private:
  int m_made = 0;
};

// The input as the text of a page in a container holding an image, a table,
// an archive and two form fields, all at index 0 or 1.
void ConvertInContainer(std::string_view text) {
  using namespace tarn;
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system;
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  auto image = set.NewObject(document::immagine);
  image->SetContent("GIF89a");
  set.Register(std::move(image));
  auto table = set.NewObject(document::tabellaHtml);
  table->SetU8(document::field::kTableRows, 2);
  table->SetU8(document::field::kTableColumns, 3);
  table->SetU8(document::field::kTableAlignment, 2);
  set.Register(std::move(table));
  set.Register(set.NewObject(document::genLink));
  for (int subtype : {12, 3}) {
    auto field = set.NewObject(document::inputStat);
    field->SetSubtype(subtype);
    field->SetContent("field");
    set.Register(std::move(field));
  }
  auto page = set.NewObject(document::testoHtml);
  page->SetU8(document::field::kPageGeneration, 1);
  page->SetContent(std::string(text));
  document::TAEHoggetto* registered = set.Register(std::move(page));
  if (registered == nullptr || !richtext::ConvertOlderText(*registered)) __builtin_trap();
  const std::string converted = registered->ReadContent().value_or(std::string());
  // One byte 0, at the end.
  if (converted.empty() || converted.find('\0') != converted.size() - 1) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FakeContext context;
  const std::string out = tarn::richtext::ConvertOlderMarkup(text, context);
  // The output holds no byte 0 and grows at most by a fixed factor: about
  // 200 bytes for the shortest reference (11 bytes), 70 for a 3-byte tag.
  if (out.find('\0') != std::string::npos) __builtin_trap();
  if (out.size() > 64 + 25 * size) __builtin_trap();
  if (size <= 4096) ConvertInContainer(text);
  return 0;
}
