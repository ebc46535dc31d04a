#pragma once

#include <chrono>

namespace nubbo::ui {

// The instant this program's process started, as near as it can be known
// from inside: now, less the CPU time the process has used, which before
// main() is nearly all the dynamic loader's work of mapping and linking the
// libraries (some 7 ms for Qt's). Never before the true start, as waiting
// adds to the wall clock and not to the CPU time; at most 100 ms back, so
// that a wrapper that ran long in the same process before starting this
// program does not count.
std::chrono::steady_clock::time_point programStart();

}  // namespace nubbo::ui
