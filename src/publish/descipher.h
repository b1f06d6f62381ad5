// The small pieces of cryptography of server publishing: the response to a
// login challenge and the enciphered new password, both written as letters
// so that they travel as plain text lines.
#pragma once

#include <string>
#include <string_view>

namespace tarn::publish {

// Each byte as two letters: "A" + low nibble, then "A" + high nibble.
std::string NibbleLetters(std::string_view bytes);
// The MD5 digest of challenge + password, as letters.
std::string ChallengeResponse(std::string_view challenge, std::string_view password);
// The new password enciphered under a key made from the current one.
std::string CipherNewPassword(std::string_view currentPassword, std::string_view newPassword);

}  // namespace tarn::publish
