// Record field access and the bounded byte reader.
#include "base/bytes.h"

#include <gtest/gtest.h>

#include <array>

namespace tarn::base {
namespace {

TEST(Bytes, LittleEndianFieldsAndShortStrings) {
  std::array<std::uint8_t, 16> buf{};
  buf.fill(0xEE);
  PutI32(buf, 1, -2);
  EXPECT_EQ(buf[1], 0xFE);
  EXPECT_EQ(buf[4], 0xFF);
  EXPECT_EQ(GetI32(buf, 1), -2);
  PutI16(buf, 6, static_cast<std::int16_t>(0x8300));
  EXPECT_EQ(GetU16(buf, 6), 0x8300);
  EXPECT_EQ(GetI16(buf, 6), static_cast<std::int16_t>(0x8300));

  std::array<std::uint8_t, 8> s{};
  s.fill(0xAA);
  PutShortString(s, 0, 5, "abcdefgh");  // cut to the capacity
  EXPECT_EQ(s[0], 5);
  EXPECT_EQ(GetShortString(s, 0, 5), "abcde");
  EXPECT_EQ(s[6], 0xAA);                 // bytes after the field untouched
  PutShortString(s, 0, 5, "ab");
  EXPECT_EQ(s[3], 'c');                  // bytes after the text keep their value
  s[0] = 200;                            // a damaged length is clamped
  EXPECT_EQ(GetShortString(s, 0, 5).size(), 5u);
}

TEST(Bytes, ReaderNeverReadsPastTheEnd) {
  std::string data;
  AppendI32(data, 7);
  AppendU8(data, 9);
  ByteReader r(data);
  std::int32_t v = 0;
  std::uint8_t b = 0;
  std::string out;
  EXPECT_TRUE(r.ReadI32(v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(r.ReadI32(v));
  EXPECT_EQ(r.Remaining(), 1u);
  EXPECT_FALSE(r.ReadBytes(2, out));
  EXPECT_TRUE(r.ReadU8(b));
  EXPECT_EQ(b, 9);
  EXPECT_FALSE(r.ReadU8(b));
}

}  // namespace
}  // namespace tarn::base
