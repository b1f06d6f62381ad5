// Random sequences of edits, undos and redos keep every promise of undo
// (see editscript.h).
#include "undo/editscript.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tarn::testing {
namespace {

TEST(EditScript, RandomEditsUndosAndRedosKeepThePageWhole) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(3000);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::string failure = EditScript::Run(bytes);
    EXPECT_TRUE(failure.empty()) << "seed " << seed << ": " << failure;
  }
}

}  // namespace
}  // namespace tarn::testing
