// Reads the input as a script of edits, undos and redos on a page with a
// format, a link, a table and an anchor; any broken promise of undo (a text
// that does not come back, a layout off, a page written back that shows
// something else) stops the fuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "undo/editscript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = tarn::testing::EditScript::Run({data, size});
  if (!failure.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
