#include "script.h"

#include <charconv>
#include <istream>
#include <ostream>

namespace nubbo::sim {

namespace {

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == line.npos;
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == s.npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A whole number of digits only, at most `max`.
bool number(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= max;
}

char cell(Tile t) {
    return t == EMPTY ? '.' : t == CLEARING ? '*' : char('0' + t);
}

}  // namespace

Script::Script(std::ostream& out, bool skipIdleTicks) : out_(out), game_(window_, clock_, this) {
    game_.setSkipIdleTicks(skipIdleTicks);
    game_.load();
}

Script::Status Script::feed(std::string_view line) {
    ++line_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != line.npos) return fail("a NUL byte");
    if (rowsWanted_ > 0) return boardRow(line);
    if (blank(line) || line.front() == '#') return Status::Running;
    line = trim(line);
    const auto space = line.find_first_of(" \t");
    const std::string_view command = line.substr(0, space);
    const std::string_view args =
        space == line.npos ? std::string_view{} : trim(line.substr(space));
    return run(command, args);
}

Script::Status Script::finish() {
    if (rowsWanted_ > 0) {
        errorLine_ = boardLine_;
        error_ = "board needs 13 rows, got " + std::to_string(kRows - rowsWanted_);
        return Status::Failed;
    }
    return Status::Running;
}

Script::Status Script::fail(std::string reason) {
    errorLine_ = line_;
    error_ = std::move(reason);
    return Status::Failed;
}

Script::Status Script::run(std::string_view command, std::string_view args) {
    const bool noArgs = args.empty();
    auto numeric = [&](std::uint64_t max, std::uint64_t& value) {
        return args.find_first_of(" \t") == args.npos && number(args, max, value);
    };
    std::uint64_t value = 0;
    if (command == "seed") {
        if (!numeric(UINT64_MAX, value)) return fail("seed takes a whole number");
        game_.random().seed(value);
    } else if (command == "new" && noArgs) {
        game_.newGame();
    } else if (command == "board" && noArgs) {
        rowsWanted_ = kRows;
        boardLine_ = line_;
    } else if (command == "check" && noArgs) {
        game_.check();
    } else if (command == "show" && noArgs) {
        show();
    } else if (command == "key") {
        if (!numeric(65535, value)) return fail("key takes a code from 0 to 65535");
        game_.keyDown(int(value), 0);
    } else if (command == "advance") {
        if (!numeric(3600000, value)) return fail("advance takes 0 to 3600000 ms");
        clock_.advance(game_, Millis(value));
    } else if (command == "pause" && noArgs) {
        game_.pause();
    } else if (command == "help" && noArgs) {
        // The help box stands the game still; with no time passing here,
        // opening and closing it changes nothing.
    } else if (command == "check1") {
        if (!numeric(1, value)) return fail("check1 takes 0 or 1");
        window_.check1 = int(value);
    } else if (command == "exit" && noArgs) {
        game_.exit();
    } else if (command == "new" || command == "board" || command == "check" || command == "show" ||
               command == "pause" || command == "help" || command == "exit") {
        return fail(std::string(command) + " takes no argument");
    } else {
        return fail("unknown command '" + std::string(command.substr(0, 40)) + "'");
    }
    if (window_.ended) {
        out_ << "exit\n";
        return Status::Exited;
    }
    return Status::Running;
}

Script::Status Script::boardRow(std::string_view row) {
    if (row.size() != kCols) return fail("a board row has 8 cells");
    const int r = kRows - rowsWanted_;
    for (int c = 0; c < kCols; ++c) {
        const char ch = row[c];
        if (ch == '.')
            rows_[r][c] = EMPTY;
        else if (ch >= '0' && ch <= '5')
            rows_[r][c] = Tile(ch - '0');
        else
            return fail("a board cell is 0 to 5 or '.'");
    }
    if (--rowsWanted_ == 0)
        for (int rr = 0; rr < kRows; ++rr)
            for (int c = 0; c < kCols; ++c) game_.state().board[rr][c] = rows_[rr][c];
    return Status::Running;
}

void Script::printBoard() {
    for (const auto& row : game_.state().board) {
        char text[kCols + 1];
        for (int c = 0; c < kCols; ++c) text[c] = cell(row[c]);
        text[kCols] = '\n';
        out_.write(text, sizeof text);
    }
}

void Script::passPainted() {
    const State& s = game_.state();
    out_ << "pass " << s.combo << '\n';
    printBoard();
    out_ << "score " << s.score << " level " << s.level << " banner "
         << (window_.label2 ? window_.caption2 : "-") << '\n';
}

void Script::spawned() {
    const State& s = game_.state();
    out_ << "spawn " << s.piece[0] << ' ' << s.piece[1] << ' ' << s.piece[2] << '\n';
}

void Script::gameOver() {
    out_ << "over\n";
}

void Script::show() {
    const State& s = game_.state();
    out_ << "board\n";
    printBoard();
    out_ << "px " << s.px << " py " << s.py << " piece " << s.piece[0] << ' ' << s.piece[1] << ' '
         << s.piece[2] << '\n';
    out_ << "score " << s.score << " level " << s.level << " nextlevel " << s.nextlevel << " combo "
         << s.combo << " active " << s.active << " kinds " << s.kinds << " speed " << s.speed
         << '\n';
    const Timers& t = game_.timers();
    for (int k = 0; k < kTimerCount; ++k) {
        const auto id = static_cast<TimerId>(k);
        out_ << "timer" << k + 1 << (t.enabled(id) ? " on " : " off ") << t.interval(id) << '\n';
    }
    out_ << "label1 " << (window_.label1 ? "shown" : "hidden") << '\n';
    out_ << "label2 " << (window_.label2 ? "shown" : "hidden") << ' ' << window_.caption2 << '\n';
    out_ << "text1 " << window_.text1 << '\n';
    out_ << "text4 " << window_.text4 << '\n';
    out_ << "end\n";
}

int runScript(std::istream& in, std::ostream& out, std::ostream& err, bool skipIdleTicks) {
    Script script(out, skipIdleTicks);
    std::string line;
    Script::Status status = Script::Status::Running;
    while (status == Script::Status::Running && std::getline(in, line)) status = script.feed(line);
    if (status == Script::Status::Running) status = script.finish();
    out.flush();
    if (status == Script::Status::Failed) {
        err << "error " << script.errorLine() << ": " << script.error() << '\n';
        return 2;
    }
    return 0;
}

}  // namespace nubbo::sim
