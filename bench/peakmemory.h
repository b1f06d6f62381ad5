// The most memory a program held while it ran, measured from outside.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarn::bench {

// Runs the command under /usr/bin/time and answers its peak resident memory
// in megabytes (what the descendants it waited for held included); 0 when
// it cannot be measured. The report file is scratch. Measured in a child:
// one spawned from a benchmark would count the pages it shares with it.
double PeakMegabytes(const std::vector<std::string>& command, const std::filesystem::path& report);

}  // namespace tarn::bench
