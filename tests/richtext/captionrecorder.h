// An undo recorder for tests of a box's commands: it keeps the caption of
// every step the commands record.
#pragma once

#include <string>
#include <vector>

#include "richtext/boxtext.h"

namespace tarn::richtext {

class Captions : public EditRecorder {
 public:
  std::uint64_t Record(std::string_view caption, UndoKind) override {
    steps.emplace_back(caption);
    return steps.size();
  }
  std::uint64_t NewestStep() const override { return steps.size(); }
  std::vector<std::string> steps;
};

}  // namespace tarn::richtext
