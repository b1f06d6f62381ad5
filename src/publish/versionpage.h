// The version page: a small HTML file kept beside a published site that
// records which revision of the hypertext the server holds, so that the
// next publication can send only what changed since.
#pragma once

#include <string>
#include <string_view>

namespace tarn::publish {

// The lower-cased export prefix + "_ver.html".
std::string VersionPageName(std::string_view exportPrefix);
// The page for a hypertext file and its release number.
std::string VersionPageText(std::string_view hypertextFile, int release);
// The number between "<!--VER=" and "-->" on the first line holding
// "<!--VER="; -1 when there is none or it is not a number.
int ReadVersionPage(std::string_view text);

}  // namespace tarn::publish
