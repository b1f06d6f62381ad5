// Little-endian record access; see bytes.h.
#include "base/bytes.h"

#include <algorithm>
#include <cstring>

namespace tarn::base {

std::uint8_t GetU8(std::span<const std::uint8_t> buf, std::size_t at) { return buf[at]; }
std::int8_t GetI8(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::int8_t>(buf[at]);
}
std::uint16_t GetU16(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::uint16_t>(buf[at] | (buf[at + 1] << 8));
}
std::int16_t GetI16(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::int16_t>(GetU16(buf, at));
}
std::uint32_t GetU32(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::uint32_t>(buf[at]) | (static_cast<std::uint32_t>(buf[at + 1]) << 8) |
         (static_cast<std::uint32_t>(buf[at + 2]) << 16) |
         (static_cast<std::uint32_t>(buf[at + 3]) << 24);
}
std::int32_t GetI32(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::int32_t>(GetU32(buf, at));
}

void PutU8(std::span<std::uint8_t> buf, std::size_t at, std::uint8_t value) { buf[at] = value; }
void PutI16(std::span<std::uint8_t> buf, std::size_t at, std::int16_t value) {
  auto v = static_cast<std::uint16_t>(value);
  buf[at] = static_cast<std::uint8_t>(v & 0xFF);
  buf[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::span<std::uint8_t> buf, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) buf[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void PutI32(std::span<std::uint8_t> buf, std::size_t at, std::int32_t value) {
  PutU32(buf, at, static_cast<std::uint32_t>(value));
}

std::string GetShortString(std::span<const std::uint8_t> buf, std::size_t at, std::size_t capacity) {
  std::size_t len = std::min<std::size_t>(buf[at], capacity);
  return std::string(reinterpret_cast<const char*>(buf.data() + at + 1), len);
}

void PutShortString(std::span<std::uint8_t> buf, std::size_t at, std::size_t capacity,
                    std::string_view text) {
  std::size_t len = std::min(text.size(), capacity);
  buf[at] = static_cast<std::uint8_t>(len);
  std::memcpy(buf.data() + at + 1, text.data(), len);
}

void AppendI32(std::string& out, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void AppendU8(std::string& out, std::uint8_t value) { out.push_back(static_cast<char>(value)); }

bool ByteReader::ReadI32(std::int32_t& value) {
  if (Remaining() < 4) return false;
  value = GetI32({reinterpret_cast<const std::uint8_t*>(m_bytes.data()), m_bytes.size()}, m_pos);
  m_pos += 4;
  return true;
}
bool ByteReader::ReadU8(std::uint8_t& value) {
  if (Remaining() < 1) return false;
  value = static_cast<std::uint8_t>(m_bytes[m_pos++]);
  return true;
}
bool ByteReader::ReadBytes(std::size_t count, std::string& out) {
  if (Remaining() < count) return false;
  out.assign(m_bytes.substr(m_pos, count));
  m_pos += count;
  return true;
}
bool ByteReader::ReadInto(std::span<std::uint8_t> out) {
  if (Remaining() < out.size()) return false;
  std::memcpy(out.data(), m_bytes.data() + m_pos, out.size());
  m_pos += out.size();
  return true;
}

}  // namespace tarn::base
