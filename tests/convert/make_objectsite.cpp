// Writes the hypertext with every kind of placed object (objectsite.h) as a
// file, for the HTML checker and for looking at the exported site in a
// browser:  tarn-make-objectsite OUT.aeh
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/compose.h"
#include "convert/objectsite.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace tarn;
  if (argc != 2) {
    std::fputs("usage: tarn-make-objectsite OUT.aeh\n", stderr);
    return 2;
  }
  const fs::path scratch = fs::temp_directory_path() / ("tarn-objectsite-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(scratch);
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetTitle("Every object kind");
  set.SetExpPrefix("site");
  set.SetBackup(false);
  testing::BuildObjectSite(set, scratch);
  const bool saved = set.SaveToFile(argv[1]);
  std::error_code ec;
  fs::remove_all(scratch, ec);
  if (!saved) {
    for (const auto& e : set.SaveErrors()) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  return 0;
}
