// Hand-made hostile files; see hostilefiles.h.
#include "document/hostilefiles.h"

#include "document/testfixtures.h"

namespace tarn::testing {
namespace {

constexpr int kTinyRecord = 16;
constexpr int kImageKind = 5;
constexpr int kClickMapKind = 6;
constexpr int kFrameMapKind = 9;
constexpr int kShortObjectKind = 11;
constexpr int kHighestKind = 25;

std::size_t Count(std::size_t bytes, int recordSize) { return bytes / static_cast<std::size_t>(recordSize); }

// A 16-byte record of an embedded file or image, in use.
std::string TinyEmbedded(int kind) {
  std::string r = AehBuilder::BlankRecord(kTinyRecord);
  r[4] = static_cast<char>(kind == kImageKind || kind == kClickMapKind ? 0 : 4);
  AehBuilder::PutStr(r, 5, "same.txt");
  return r;
}

}  // namespace

std::string ShortEmbeddedRecords(int kind, std::size_t bytes) {
  AehBuilder b;
  b.sizes[kind] = kTinyRecord;
  b.records[kind].assign(Count(bytes, kTinyRecord), TinyEmbedded(kind));
  return b.Build();
}

std::string OldClickMapRecords(std::size_t bytes) {
  AehBuilder b;
  b.SetI16(1621, 1);
  b.sizes[kClickMapKind] = kTinyRecord;
  b.records[kClickMapKind].assign(Count(bytes, kTinyRecord), TinyEmbedded(kClickMapKind));
  return b.Build();
}

std::string TinyRecords(std::size_t bytes) {
  AehBuilder b;
  std::string record = AehBuilder::BlankRecord(kTinyRecord);
  record[4] = 1;
  b.sizes[kShortObjectKind] = kTinyRecord;
  b.records[kShortObjectKind].assign(Count(bytes, kTinyRecord), record);
  return b.Build();
}

std::string OverlappingRecords(std::size_t bytes) {
  std::string file = TinyRecords(bytes);
  // Every kind's entry names the same records.
  for (int k = 0; k <= kHighestKind; ++k) {
    std::string entry(12, '\0');
    AehBuilder::PutI32(entry, 4, kTinyRecord);
    AehBuilder::PutI32(entry, 8, static_cast<std::int32_t>(Count(bytes, kTinyRecord)));
    file.replace(1978 + 12 * static_cast<std::size_t>(k), 12, entry);
  }
  return file;
}

std::string OverlappingFrameDescriptions(std::size_t bytes) {
  AehBuilder b;
  b.AddData(std::string(bytes / 2, 'F'));
  const auto size = static_cast<std::int32_t>(b.data.size());
  std::string map = AehBuilder::BlankRecord(112);
  map[4] = 2;
  AehBuilder::PutI32(map, 0, size);  // the content starts where the description ends
  AehBuilder::PutI32(map, 85, 0);
  AehBuilder::PutI32(map, 101, 0);  // the description starts at the data area
  b.records[kFrameMapKind].assign(Count(bytes / 2, 112), map);
  return b.Build();
}

std::string OverlappingImageData(std::size_t bytes) {
  AehBuilder b;
  b.AddData(std::string(bytes / 2, 'I'));
  const auto size = static_cast<std::int32_t>(b.data.size());
  const std::size_t count = Count(bytes / 2, 667);
  for (std::size_t i = 0; i < count; ++i) {
    std::string image = AehBuilder::BlankRecord(667);
    image[4] = 0;
    AehBuilder::PutStr(image, 94, "i" + std::to_string(i) + ".gif");
    AehBuilder::PutI32(image, 0, 0);
    AehBuilder::PutI32(image, 174, size);
    image[666] = 0;
    b.records[kImageKind].push_back(image);
  }
  return b.Build();
}

}  // namespace tarn::testing
