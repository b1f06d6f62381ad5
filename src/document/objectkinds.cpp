// Record sizes per kind; see objectkinds.h.
#include "document/objectkinds.h"

#include <array>

namespace tarn::document {
namespace {
constexpr std::array<int, 25> kRecordSizes = {292, 133, 93, 93,  80,  667, 667, 465, 220,
                                              112, 47,  28, 80,  67,  0,   0,   553, 103,
                                              38,  75,  192, 460, 203, 364, 46};
}

int RecordSize(int kind) {
  int k = kind % 128;
  if (k < 0 || k >= static_cast<int>(kRecordSizes.size())) return 0;
  return kRecordSizes[static_cast<std::size_t>(k)];
}

}  // namespace tarn::document
