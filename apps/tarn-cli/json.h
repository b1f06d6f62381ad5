// A small JSON writer for the command-line tool's reports.
#pragma once

#include <string>
#include <string_view>

namespace tarn::cli {

// A JSON string literal of cp1252 text (converted to UTF-8).
std::string JsonString(std::string_view cp1252);

}  // namespace tarn::cli
