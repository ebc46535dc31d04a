// Feeds bytes to the simulator as a script: a malformed script must end
// with status 2, never a crash or a hang.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out, err;
    const int status = nubbo::sim::runScript(in, out, err);
    if (status != 0 && status != 2) std::abort();
    if (status == 2 && err.str().rfind("error ", 0) != 0) std::abort();
    return 0;
}
