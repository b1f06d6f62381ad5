// Command-line messages; see climessages.h.
#include "climessages.h"

#include <cstdio>
#include <string>

#include "base/cp1252.h"

namespace tarn::cli {
namespace {

void Print(std::string_view caption, std::string_view text) {
  std::string out = base::Cp1252ToUtf8(text);
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(caption.size()), caption.data(), out.c_str());
}

}  // namespace

void CliMessages::Information(std::string_view text) { Print("Information", text); }
void CliMessages::Warning(std::string_view text) { Print("Warning!", text); }
void CliMessages::Error(std::string_view text) { Print("Error!", text); }

platform::Answer CliMessages::Ask(std::string_view question, bool /*withCancel*/) {
  Print("Tarn", question);
  platform::Answer given = answer;
  if (given == platform::Answer::Yes && ++m_yesGiven[std::string(question)] > kMaxYes) {
    given = platform::Answer::No;
    std::fprintf(stderr, "Tarn: answered No (asked %d times)\n", kMaxYes + 1);
    return given;
  }
  std::fprintf(stderr, "Tarn: answered %s\n", given == platform::Answer::Yes ? "Yes" : "No");
  return given;
}

}  // namespace tarn::cli
