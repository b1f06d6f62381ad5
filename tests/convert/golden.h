// Golden files of the converters' tests: what a converter writes is compared
// with a copy a person has read. TARN_UPDATE_GOLDEN=1 writes the copy
// instead (look at the difference before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "document/testfixtures.h"

namespace tarn::convert::testing {

inline void ExpectGolden(const std::filesystem::path& folder, const std::string& name, const std::string& actual) {
  const std::filesystem::path golden = folder / name;
  if (std::getenv("TARN_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(folder);
    tarn::testing::WriteFile(golden, actual);
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
  EXPECT_EQ(actual, tarn::testing::ReadFile(golden)) << "differs from " << golden;
}

}  // namespace tarn::convert::testing
