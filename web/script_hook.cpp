// The simulator's script reader in the page: runs a script exactly as
// `nubbo-sim` with no options does and keeps what it printed for the page
// to read. It builds its own game on its own virtual clock, so it never
// touches the game on the page.
#include <emscripten.h>

#include <cstddef>
#include <sstream>
#include <string>

#include "script.h"

namespace {
std::string input, output, errors;
}  // namespace

extern "C" {

// Room for a script of `size` bytes, which the page writes before the run.
EMSCRIPTEN_KEEPALIVE char* nubbo_script_input(std::size_t size) {
    input.assign(size, '\0');
    return input.data();
}

// Runs the script written into the input and returns the exit status.
EMSCRIPTEN_KEEPALIVE int nubbo_run_script() {
    std::istringstream in(std::move(input));
    std::ostringstream out, err;
    const int status = nubbo::sim::runScript(in, out, err);
    input.clear();
    input.shrink_to_fit();
    output = std::move(out).str();
    errors = std::move(err).str();
    return status;
}

EMSCRIPTEN_KEEPALIVE const char* nubbo_script_out() {
    return output.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t nubbo_script_out_size() {
    return output.size();
}
EMSCRIPTEN_KEEPALIVE const char* nubbo_script_err() {
    return errors.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t nubbo_script_err_size() {
    return errors.size();
}

}  // extern "C"
