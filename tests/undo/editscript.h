// Edits, undos and redos on a page, chosen by a stream of bytes (random in
// the tests, mutated by the fuzzer). After every operation the script
// checks what undo promises: an undo gives back exactly the text the step
// was recorded from, a redo the text the undo left, the layout of the box
// is the one a full layout gives, and a page written back and shown again
// shows what the author saw.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarn::testing {

class EditScript {
 public:
  // Answers an empty string, or what went wrong and after which operation.
  static std::string Run(std::span<const std::uint8_t> bytes);
};

}  // namespace tarn::testing
