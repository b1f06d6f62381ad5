// Writes the navigation test hypertexts into the folder given, for trying
// the main window by hand.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "app/ui/navigationfixture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tarn_navdemo FOLDER\n", stderr);
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    const auto files = tarn::testing::WriteNavigationHypertexts(argv[1]);
    std::printf("wrote %s and %s\n", files.main.c_str(), files.other.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
