// Little-endian, unaligned access to fixed-size records and the short strings
// (a length byte followed by the characters) that the document format uses.
// Every field of a record is read and written through these helpers; nothing
// overlays structs on file bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarn::base {

std::int8_t GetI8(std::span<const std::uint8_t> buf, std::size_t at);
std::uint8_t GetU8(std::span<const std::uint8_t> buf, std::size_t at);
std::int16_t GetI16(std::span<const std::uint8_t> buf, std::size_t at);
std::uint16_t GetU16(std::span<const std::uint8_t> buf, std::size_t at);
std::int32_t GetI32(std::span<const std::uint8_t> buf, std::size_t at);
std::uint32_t GetU32(std::span<const std::uint8_t> buf, std::size_t at);

void PutU8(std::span<std::uint8_t> buf, std::size_t at, std::uint8_t value);
void PutI16(std::span<std::uint8_t> buf, std::size_t at, std::int16_t value);
void PutI32(std::span<std::uint8_t> buf, std::size_t at, std::int32_t value);
void PutU32(std::span<std::uint8_t> buf, std::size_t at, std::uint32_t value);

// A short string of capacity n occupies n + 1 bytes: the length, then the
// characters. A length byte larger than the capacity is clamped, so a damaged
// record never reads into the next field's neighbour beyond the field.
std::string GetShortString(std::span<const std::uint8_t> buf, std::size_t at, std::size_t capacity);
// Writes the length and the characters (cut to the capacity); the bytes after
// the text keep whatever they held, as the format leaves them undefined.
void PutShortString(std::span<std::uint8_t> buf, std::size_t at, std::size_t capacity,
                    std::string_view text);

// Appends little-endian integers to a byte string (used to build streams).
void AppendI32(std::string& out, std::int32_t value);
void AppendU8(std::string& out, std::uint8_t value);

// Reads little-endian values from a byte range with a cursor; every read is
// checked against the end, and a failed read leaves the cursor where it was.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}
  bool ReadI32(std::int32_t& value);
  bool ReadU8(std::uint8_t& value);
  bool ReadBytes(std::size_t count, std::string& out);
  bool ReadInto(std::span<std::uint8_t> out);
  std::size_t Remaining() const { return m_bytes.size() - m_pos; }
  std::size_t Position() const { return m_pos; }
  std::string_view Bytes() const { return m_bytes; }

 private:
  std::string_view m_bytes;
  std::size_t m_pos = 0;
};

}  // namespace tarn::base
