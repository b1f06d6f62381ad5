// The metafiles of the tests; see metafiles.h.
#include "document/metafiles.h"

#include <cstdint>
#include <initializer_list>

#include "base/bytes.h"

namespace tarn::testing {
namespace {

void U16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void U32(std::string& out, std::int64_t v) { base::AppendI32(out, static_cast<std::int32_t>(v)); }

// A WMF record: its size in 16-bit words, its function, its parameters.
void WmfRecord(std::string& out, int function, std::initializer_list<int> params) {
  U32(out, 3 + static_cast<std::int64_t>(params.size()));
  U16(out, function);
  for (int p : params) U16(out, p);
}

}  // namespace

std::string SmallWmf(int width, int height) {
  std::string placeable;
  U32(placeable, static_cast<std::int32_t>(0x9AC6CDD7u));
  U16(placeable, 0);  // handle
  for (int v : {0, 0, width, height}) U16(placeable, v);
  U16(placeable, 96);  // units per inch
  U32(placeable, 0);
  std::uint16_t checksum = 0;
  for (std::size_t i = 0; i + 1 < placeable.size(); i += 2) {
    checksum ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(placeable[i]) |
                                           (static_cast<std::uint8_t>(placeable[i + 1]) << 8));
  }
  U16(placeable, checksum);

  std::string records;
  WmfRecord(records, 0x020B, {0, 0});            // SetWindowOrg
  WmfRecord(records, 0x020C, {height, width});  // SetWindowExt
  WmfRecord(records, 0x02FC, {0, 0x00FF, 0, 0});  // CreateBrushIndirect: solid red
  WmfRecord(records, 0x012D, {0});              // SelectObject
  WmfRecord(records, 0x041B, {height * 3 / 4, width * 3 / 4, height / 4, width / 4});  // Rectangle
  WmfRecord(records, 0x0000, {});                // end

  std::string header;
  U16(header, 1);       // in memory
  U16(header, 9);       // header words
  U16(header, 0x0300);  // version
  U32(header, static_cast<std::int64_t>((18 + records.size()) / 2));
  U16(header, 1);  // objects
  U32(header, 7);  // largest record, words
  U16(header, 0);
  return placeable + header + records;
}

std::string SmallEmf(int width, int height) {
  std::string records;
  // EMR_CREATEBRUSHINDIRECT (39): handle 1, solid red.
  for (std::int64_t v : {39, 24, 1, 0, 0x0000FF, 0}) U32(records, v);
  // EMR_SELECTOBJECT (37).
  for (std::int64_t v : {37, 12, 1}) U32(records, v);
  // EMR_RECTANGLE (43).
  for (std::int64_t v : {43, 24, width / 4, height / 4, width * 3 / 4, height * 3 / 4}) U32(records, v);
  // EMR_EOF (14).
  for (std::int64_t v : {14, 20, 0, 16, 20}) U32(records, v);

  constexpr int kHeaderSize = 88;
  std::string header;
  U32(header, 1);
  U32(header, kHeaderSize);
  for (std::int64_t v : {0, 0, width - 1, height - 1}) U32(header, v);  // bounds, pixels
  // The frame in hundredths of a millimetre at 96 pixels per inch.
  for (std::int64_t v : {0, 0, width * 2540 / 96, height * 2540 / 96}) U32(header, v);
  U32(header, 0x464D4520);
  U32(header, 0x10000);
  U32(header, kHeaderSize + static_cast<std::int64_t>(records.size()));
  U32(header, 5);  // records
  U16(header, 2);  // handles
  U16(header, 0);
  for (std::int64_t v : {0, 0, 0}) U32(header, v);  // description, palette
  for (std::int64_t v : {1024, 768, 320, 240}) U32(header, v);  // device pixels and millimetres
  return header + records;
}

}  // namespace tarn::testing
