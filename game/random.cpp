#include "random.h"

#include <chrono>

namespace nubbo {

void Random::seedFromClock() {
    seed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

}  // namespace nubbo
