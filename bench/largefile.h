// The generated hypertext the benchmarks share: 10,000 pages of about 2 KB
// of markup each, written once into the temporary folder; and how other
// programs are run beside them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/aehset.h"
#include "platform/testing/testplatform.h"

namespace tarn::bench {

constexpr int kPages = 10000;
const std::filesystem::path& LargeFile();
const std::filesystem::path& BenchFolder();
// Writes files of the given sizes into the folder, as fast as the disk
// takes them: the yardstick of an export. Answers the seconds taken.
double WriteSameBytes(const std::filesystem::path& folder, const std::vector<std::uintmax_t>& sizes);

// A command run to its end with its output thrown away: whether it exited
// with 0, how long it took, and the most memory it held in megabytes, as
// /usr/bin/time tells it (0 when that is not installed). A child spawned
// straight from a benchmark would count the pages it shares with the
// benchmark's own process.
struct CommandRun {
  bool ok = false;
  double seconds = 0;
  double peakMegabytes = 0;
};
CommandRun RunCommand(const std::vector<std::string>& command);

// The generated hypertext loaded once per benchmark program, with recorded
// messages and a fixed system folder.
struct LoadedLargeFile {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  LoadedLargeFile();
};
LoadedLargeFile& SharedLargeFile();

}  // namespace tarn::bench
