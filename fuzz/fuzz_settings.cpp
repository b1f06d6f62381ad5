// Settings files and translation tables are text that anyone may have
// edited: reading them must never crash, and what the store writes back
// must read back the same.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/translationtable.h"
#include "platform/filesettings.h"

static std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const tarn::app::TranslationTable table(text);
  (void)table.Property("bok", "caption");
  (void)table.List("rgcomp", "items");
  (void)table.ItemProperty("extlist", "columns", 0, "caption");

  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("fuzz_settings_" + std::to_string(getpid()) + ".ini");
  // A damaged input is set aside as FILE.damaged (FILE.damaged.1 when that
  // is taken); neither may pile up over the run.
  std::filesystem::remove(file.string() + ".damaged");
  std::filesystem::remove(file.string() + ".damaged.1");
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  std::string written;
  {
    tarn::platform::FileSettings settings(file, nullptr);
    for (const std::string& key : settings.Subkeys("\\SOFTWARE\\LF\\Tarn3.0proE")) {
      (void)settings.Read("\\SOFTWARE\\LF\\Tarn3.0proE\\" + key, "x");
    }
    settings.Write("\\SOFTWARE\\LF\\Tarn3.0proE\\options", "fuzz", "1");
    written = Slurp(file);
  }
  // What the store wrote, it reads back and writes again unchanged.
  {
    tarn::platform::FileSettings settings(file, nullptr);
    settings.Write("\\SOFTWARE\\LF\\Tarn3.0proE\\options", "fuzz", "1");
    if (Slurp(file) != written) std::abort();
  }
  return 0;
}
