// DOC documents through LibreOffice; see docconvert.h.
#include "convert/docconvert.h"

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/process.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;

// The last lines of what the program said, enough to tell why it failed.
std::string Tail(const std::string& text) {
  constexpr std::size_t kShown = 400;
  std::string tail = text.size() > kShown ? text.substr(text.size() - kShown) : text;
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' ')) tail.pop_back();
  return tail;
}

// A file URL for the profile folder; the folder names the program makes are
// plain, so only the characters that break a URL are escaped.
std::string FileUrl(const fs::path& folder) {
  std::string url = "file://";
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  for (const char c : (ec ? folder : absolute).string()) {
    if (c == ' ' || c == '%' || c == '#' || c == '?') {
      constexpr const char* kHex = "0123456789ABCDEF";
      url += '%';
      url += kHex[(static_cast<unsigned char>(c) >> 4) & 15];
      url += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      url += c;
    }
  }
  return url;
}

}  // namespace

fs::path DefaultWordProcessorProfile() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  fs::path folder;
  if (cache != nullptr && *cache != '\0') {
    folder = cache;
  } else if (home != nullptr && *home != '\0') {
    folder = fs::path(home) / ".cache";
  } else {
    std::error_code ec;
    folder = fs::temp_directory_path(ec);
  }
  return folder / "tarn" / "office-profile";
}

std::string ConvertToArgument(const std::string& format) {
  if (format == "doc") return "doc:MS Word 97";
  if (format == "rtf") return "rtf:Rich Text Format";
  return format;
}

DocConverter::DocConverter(platform::Process& process, std::string program, fs::path profile)
    : m_process(process), m_program(std::move(program)), m_profile(std::move(profile)) {}

std::string DocConverter::Program() {
  if (!m_program.empty()) return m_process.FindProgram(m_program);
  for (const char* name : {"soffice", "libreoffice"}) {
    std::string found = m_process.FindProgram(name);
    if (!found.empty()) return found;
  }
  return {};
}

DocConversion DocConverter::Convert(const fs::path& source, const fs::path& outFolder, const std::string& format) {
  DocConversion result;
  const std::string program = Program();
  if (program.empty()) {
    const std::string wanted = m_program.empty() ? std::string("LibreOffice (\"soffice\")") : "\"" + m_program + "\"";
    result.error = std::string(kNoWordProcessor) + "\n" + wanted +
                   " was not found: install LibreOffice, or name the word processor's command in the export " +
                   "dialog's options.";
    return result;
  }
  std::error_code ec;
  fs::create_directories(outFolder, ec);
  result.output = outFolder / source.filename();
  result.output.replace_extension("." + format);
  // A stale file of the same name would pass for the program's work.
  fs::remove(result.output, ec);
  std::vector<std::string> arguments;
  if (!m_profile.empty()) arguments.push_back("-env:UserInstallation=" + FileUrl(m_profile));
  for (std::string argument : {std::string("--headless"), std::string("--norestore"), std::string("--convert-to"),
                               ConvertToArgument(format), std::string("--outdir"), outFolder.string(),
                               source.string()}) {
    arguments.push_back(std::move(argument));
  }
  const platform::ProcessResult run = m_process.Run(program, arguments, TimeoutMs, WhileWaiting);
  if (!run.started) {
    result.error = std::string(kNoWordProcessor) + "\nThe word processor \"" + program + "\" could not be started.";
  } else if (!run.finished) {
    result.error = "The word processor did not convert " + source.filename().string() + " within " +
                   std::to_string(TimeoutMs / 1000) + " seconds and was stopped.";
  } else if (run.exitCode != 0 || !fs::is_regular_file(result.output, ec)) {
    const std::string said = Tail(run.errors.empty() ? run.output : run.errors);
    result.error = "The word processor could not convert " + source.filename().string() + " (exit code " +
                   std::to_string(run.exitCode) + ")" + (said.empty() ? std::string(".") : ":\n" + said);
  } else {
    result.ok = true;
  }
  if (!result.ok) result.output.clear();
  return result;
}

}  // namespace tarn::convert
