#include "timing_log.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace nubbo::ui {

void TimingLog::report() const {
    auto ms = [](qint64 ns) { return double(ns) / 1e6; };
    if (!stepIntervals_.empty()) {
        const double mean =
            ms(std::accumulate(stepIntervals_.begin(), stepIntervals_.end(), qint64{0})) /
            double(stepIntervals_.size());
        const qint64 longest = *std::max_element(stepIntervals_.begin(), stepIntervals_.end());
        std::fprintf(stderr, "timing fall-steps %zu mean-ms %.3f max-ms %.3f\n",
                     stepIntervals_.size(), mean, ms(longest));
    }
    if (!keyLatencies_.empty()) {
        std::vector<qint64> sorted = keyLatencies_;
        std::sort(sorted.begin(), sorted.end());
        std::fprintf(stderr, "timing keys %zu median-ms %.4f max-ms %.4f\n", sorted.size(),
                     ms(sorted[sorted.size() / 2]), ms(sorted.back()));
    }
}

}  // namespace nubbo::ui
