// MD5 and single DES through OpenSSL. Single DES is obsolete and lives in
// the legacy part of OpenSSL 3; the server side fixes it, so the low-level
// call is used on purpose and its deprecation notice is silenced here only.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include "publish/descipher.h"

#include <openssl/des.h>
#include <openssl/md5.h>

#include <array>
#include <cstring>

namespace tarn::publish {
namespace {

std::array<unsigned char, MD5_DIGEST_LENGTH> Md5(std::string_view text) {
  std::array<unsigned char, MD5_DIGEST_LENGTH> digest{};
  MD5(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest.data());
  return digest;
}

}  // namespace

std::string NibbleLetters(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += static_cast<char>('A' + (b & 0x0F));
    out += static_cast<char>('A' + (b >> 4));
  }
  return out;
}

std::string ChallengeResponse(std::string_view challenge, std::string_view password) {
  const auto digest = Md5(std::string(challenge) + std::string(password));
  return NibbleLetters(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

std::string CipherNewPassword(std::string_view currentPassword, std::string_view newPassword) {
  const auto digest = Md5(currentPassword);
  DES_cblock key;
  for (std::size_t i = 0; i < sizeof key; ++i) key[i] = digest[i] == 0 ? 1 : digest[i];
  DES_key_schedule schedule;
  DES_set_key_unchecked(&key, &schedule);
  constexpr std::size_t kPlainLength = 16;
  std::string plain = std::string(newPassword) + std::string(19, '\r');
  plain.resize(kPlainLength);
  std::string out(kPlainLength, '\0');
  for (std::size_t block = 0; block < kPlainLength; block += 8) {
    DES_cblock in;
    DES_cblock result;
    std::memcpy(in, plain.data() + block, 8);
    DES_ecb_encrypt(&in, &result, &schedule, DES_ENCRYPT);
    std::memcpy(out.data() + block, result, 8);
  }
  return NibbleLetters(out);
}

}  // namespace tarn::publish
