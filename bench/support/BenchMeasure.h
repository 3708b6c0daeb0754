#pragma once
// The benchmarks' repeat rule for short work: best of three runs, each repeated until it takes
// at least 20 ms.
#include <algorithm>
#include "bench/support/BenchClock.h"

namespace bench_support {

// Seconds per call of `work`.
template <typename Work>
double MeasureShort(Work work) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        int calls = 0;
        const double start = Now();
        double elapsed = 0;
        do {
            work();
            ++calls;
            elapsed = Now() - start;
        } while (elapsed < 0.02);
        best = std::min(best, elapsed / calls);
    }
    return best;
}

}  // namespace bench_support
