#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "game.h"
#include "text_window.h"
#include "virtual_clock.h"

namespace nubbo::sim {

// Runs a script, one command a line, against a game on a virtual clock and
// writes what happens. Lines are fed one at a time, so that everything before
// a malformed line has been run and printed when it is reported.
class Script : GameEvents {
  public:
    enum class Status { Running, Exited, Failed };
    // What a line held beyond the kMaxLine bytes kept of it: nothing, only
    // blanks (spaces, tabs, carriage returns), or text.
    enum class Overflow { None, Blank, Text };
    static constexpr std::size_t kMaxLine = 4096;

    explicit Script(std::ostream& out, bool skipIdleTicks = true);

    // Runs one line (without its '\n'; a '\r' before it is dropped here). On
    // a malformed line returns Failed and leaves the reason in error().
    Status feed(std::string_view line, Overflow overflow = Overflow::None);
    // The input has ended.
    Status finish();

    const std::string& error() const { return error_; }
    long long errorLine() const { return errorLine_; }

  private:
    void passPainted() override;
    void spawned() override;
    void gameOver() override;

    Status run(std::string_view command, std::string_view args);
    Status boardRow(std::string_view row);
    Status fail(std::string reason);
    void printBoard();
    void show();

    std::ostream& out_;
    TextWindow window_;
    VirtualClock clock_;
    Game game_;
    long long line_ = 0;
    int rowsWanted_ = 0;  // rows still to come after `board`
    long long boardLine_ = 0;
    Board rows_;
    bool expert_ = false;  // the 高手 box, which a script ticks with `check1`
    std::string error_;
    long long errorLine_ = 0;
};

// Reads a whole script and returns the exit status: 0 for a well-formed
// script, 2 after reporting a malformed line on `err`.
int runScript(std::istream& in, std::ostream& out, std::ostream& err, bool skipIdleTicks = true);

}  // namespace nubbo::sim
