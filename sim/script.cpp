#include "script.h"

#include "script_keys.h"

#include <charconv>
#include <cstddef>
#include <istream>
#include <ostream>
#include <streambuf>

namespace nubbo::sim {

namespace {

bool space(char ch) {
    return ch == ' ' || ch == '\t';
}

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == line.npos;
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == s.npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A whole number of decimal digits only, at most `max`.
bool number(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty()) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= max;
}

char cell(Tile t) {
    return t == EMPTY ? '.' : t == CLEARING ? '*' : char('0' + t);
}

// A word of the script as it may be quoted in a message: printable ASCII as
// is, any other byte as \xHH, and no more than 40 bytes of it.
std::string quoted(std::string_view word) {
    constexpr std::size_t kMax = 40;
    std::string text;
    for (unsigned char ch : word.substr(0, kMax)) {
        if (ch > ' ' && ch < 0x7f) {
            text += char(ch);
        } else {
            constexpr char hex[] = "0123456789abcdef";
            text += "\\x";
            text += hex[ch >> 4];
            text += hex[ch & 15];
        }
    }
    if (word.size() > kMax) text += "...";
    return text;
}

// Reads one line, without its '\n', keeping at most kMaxLine bytes of it so
// that no input can make the reader hold more. Returns false at the end of
// the input when no byte of a further line was read.
bool readLine(std::streambuf& in, std::string& line, Script::Overflow& overflow) {
    line.clear();
    overflow = Script::Overflow::None;
    int ch = in.sbumpc();
    if (ch == std::char_traits<char>::eof()) return false;
    for (; ch != std::char_traits<char>::eof() && ch != '\n'; ch = in.sbumpc()) {
        if (line.size() < Script::kMaxLine) {
            line += char(ch);
        } else if (ch != ' ' && ch != '\t' && ch != '\r') {
            overflow = Script::Overflow::Text;
        } else if (overflow == Script::Overflow::None) {
            overflow = Script::Overflow::Blank;
        }
    }
    return true;
}

}  // namespace

Script::Script(std::ostream& out, bool skipIdleTicks) : out_(out), game_(window_, clock_, 0, this) {
    game_.setSkipIdleTicks(skipIdleTicks);
    game_.load(expert_);
}

Script::Status Script::feed(std::string_view line, Overflow overflow) {
    ++line_;
    if (overflow == Overflow::None && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (rowsWanted_ > 0) {
        if (overflow != Overflow::None) return fail("a board row has 8 cells, not more");
        return boardRow(line);
    }
    if (!line.empty() && line.front() == '#') return Status::Running;
    if (overflow == Overflow::Text)
        return fail("a line longer than " + std::to_string(kMaxLine) + " bytes");
    if (blank(line)) return Status::Running;
    line = trim(line);
    std::size_t end = 0;
    while (end < line.size() && !space(line[end])) ++end;
    return run(line.substr(0, end), trim(line.substr(end)));
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
    std::uint64_t value = 0;
    auto numeric = [&](std::uint64_t max) {
        return args.find_first_of(" \t") == args.npos && number(args, max, value);
    };
    if (command == "seed") {
        if (!numeric(UINT64_MAX)) return fail("seed takes a whole number from 0 to 2^64-1");
        game_.reseed(value);
    } else if (command == "new" && noArgs) {
        game_.newGame(expert_);
    } else if (command == "board" && noArgs) {
        rowsWanted_ = kRows;
        boardLine_ = line_;
    } else if (command == "check" && noArgs) {
        game_.scan();
    } else if (command == "show" && noArgs) {
        show();
    } else if (command == "key") {
        if (!numeric(65535)) return fail("key takes a code from 0 to 65535");
        game_.key(keyFromCode(int(value)));
    } else if (command == "advance") {
        if (!numeric(3600000)) return fail("advance takes 0 to 3600000 ms");
        clock_.advance(game_, Millis(value));
    } else if (command == "pause" && noArgs) {
        game_.pause();
    } else if (command == "help" && noArgs) {
        // The help box, opened and closed with no time passing.
        game_.openHelp();
        game_.closeHelp();
    } else if (command == "check1") {
        if (!numeric(1)) return fail("check1 takes 0 or 1");
        expert_ = value != 0;
    } else if (command == "exit" && noArgs) {
        game_.exit();
    } else if (command == "new" || command == "board" || command == "check" || command == "show" ||
               command == "pause" || command == "help" || command == "exit") {
        return fail(std::string(command) + " takes no argument");
    } else {
        return fail("unknown command '" + quoted(command) + "'");
    }
    if (game_.ended()) {
        out_ << "exit\n";
        return Status::Exited;
    }
    return Status::Running;
}

Script::Status Script::boardRow(std::string_view row) {
    if (row.size() != kCols)
        return fail("a board row has 8 cells, not " + std::to_string(row.size()));
    const int r = kRows - rowsWanted_;
    for (int c = 0; c < kCols; ++c) {
        const char ch = row[c];
        if (ch == '.')
            rows_[r][c] = EMPTY;
        else if (ch >= '0' && ch <= '5')
            rows_[r][c] = Tile(ch - '0');
        else
            return fail("a board cell is 0 to 5 or '.', not '" + quoted(row.substr(c, 1)) + "'");
    }
    if (--rowsWanted_ == 0) {
        game_.setBoard(rows_);
    }
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
         << (game_.screen().bannerShown ? game_.screen().bannerCaption : "-") << '\n';
}

void Script::spawned() {
    const State& s = game_.state();
    out_ << "spawn " << s.piece[0] << ' ' << s.piece[1] << ' ' << s.piece[2] << '\n';
}

void Script::gameOver() {
    out_ << "over\n";
}

void Script::show() {
    game_.wake();  // the ticks already due first: the state as it stands now
    const State& s = game_.state();
    const Screen& screen = game_.screen();
    out_ << "board\n";
    printBoard();
    out_ << "px " << s.px << " py " << s.py << " piece " << s.piece[0] << ' ' << s.piece[1] << ' '
         << s.piece[2] << '\n';
    out_ << "score " << s.score << " level " << s.level << " nextlevel " << s.nextLevelScore
         << " combo " << s.combo << " active " << int(s.keysOpen) << " kinds " << s.kinds
         << " speed " << s.fallInterval << '\n';
    const Timers& t = game_.timers();
    for (int k = 0; k < kTimerCount; ++k) {
        const auto id = static_cast<TimerId>(k);
        out_ << "timer" << k + 1 << (t.enabled(id) ? " on " : " off ") << t.interval(id) << '\n';
    }
    // The words are the script language's own, whatever the names inside.
    out_ << "label1 " << (screen.gameOverShown ? "shown" : "hidden") << '\n';
    out_ << "label2 " << (screen.bannerShown ? "shown" : "hidden") << ' ' << screen.bannerCaption
         << '\n';
    out_ << "text1 " << screen.score << '\n';
    out_ << "text4 " << screen.level << '\n';
    out_ << "end\n";
}

int runScript(std::istream& in, std::ostream& out, std::ostream& err, bool skipIdleTicks) {
    Script script(out, skipIdleTicks);
    std::string line;
    line.reserve(Script::kMaxLine);
    Script::Overflow overflow = Script::Overflow::None;
    Script::Status status = Script::Status::Running;
    std::streambuf* buffer = in.rdbuf();
    while (status == Script::Status::Running && buffer) {
        // Whatever has been printed goes out before the reader may wait for
        // more input, so a script fed interactively sees each answer.
        if (buffer->in_avail() <= 0) out.flush();
        if (!readLine(*buffer, line, overflow)) break;
        status = script.feed(line, overflow);
    }
    if (status == Script::Status::Running) status = script.finish();
    out.flush();
    if (status == Script::Status::Failed) {
        err << "error " << script.errorLine() << ": " << script.error() << '\n';
        return 2;
    }
    return 0;
}

}  // namespace nubbo::sim
