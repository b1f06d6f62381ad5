// The calling thread's processor time: benchmarks that compare two ways of
// doing the same work on a shared machine measure with it.
#pragma once

#include <time.h>

namespace tarn::bench {

inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace tarn::bench
