#pragma once

#include <cstdint>
#include <random>

namespace nubbo {

// The random number generator: uniform numbers in [0, 1), the same sequence for the same seed on
// every platform (the simulator replays games from a seed).
class Random {
  public:
    void seed(std::uint64_t s) { engine_.seed(s); }
    double next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    bool operator==(const Random&) const = default;

  private:
    std::mt19937_64 engine_{0};
};

}  // namespace nubbo
