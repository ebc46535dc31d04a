#include "program_start.h"

#include <algorithm>
#include <ctime>

namespace nubbo::ui {

std::chrono::steady_clock::time_point programStart() {
    const auto now = std::chrono::steady_clock::now();
    timespec used{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0) return now;
    const auto age = std::chrono::seconds(used.tv_sec) + std::chrono::nanoseconds(used.tv_nsec);
    return now - std::min<std::chrono::steady_clock::duration>(age, std::chrono::milliseconds(100));
}

}  // namespace nubbo::ui
