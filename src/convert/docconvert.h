// Word-processor documents (DOC, WRI) go out and come in through LibreOffice
// run headless: an RTF written by the RTF converter becomes a DOC file, and a
// DOC file becomes an RTF file that the RTF importer reads. The program is
// run through the process seam with a time limit; what went wrong is told in
// words the author can act on.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace tarn::platform {
class Process;
}

namespace tarn::convert {

// The message of the older program when no word processor answers.
inline constexpr const char* kNoWordProcessor = "MsWord not installed, or nonsupported MsWord language.";
// How long one conversion may take.
inline constexpr int kDocTimeoutMs = 120'000;

struct DocConversion {
  bool ok = false;
  std::filesystem::path output;  // the file written
  std::string error;             // why not, for the author
};

class DocConverter {
 public:
  // program: the word processor's command ("soffice" when empty, then
  // "libreoffice"); profile: a folder for the word processor's own settings,
  // so that a copy already running on the desktop does not swallow the work.
  DocConverter(platform::Process& process, std::string program, std::filesystem::path profile);

  // The command that will run, empty when none is found.
  std::string Program();
  // source into outFolder as `format` ("doc" or "rtf"), named after source
  // with the format's extension.
  DocConversion Convert(const std::filesystem::path& source, const std::filesystem::path& outFolder,
                        const std::string& format);
  int TimeoutMs = kDocTimeoutMs;
  // Called while waiting, so that a window stays alive.
  std::function<void()> WhileWaiting;

 private:
  platform::Process& m_process;
  std::string m_program;
  std::filesystem::path m_profile;
};

// Where the word processor keeps its settings for Tarn's conversions, kept
// between runs (a fresh one costs it seconds): under the user's cache folder.
std::filesystem::path DefaultWordProcessorProfile();

// The filter LibreOffice is asked for: "MS Word 97" for DOC, "Rich Text
// Format" for RTF.
std::string ConvertToArgument(const std::string& format);

}  // namespace tarn::convert
