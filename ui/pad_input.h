#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "clock.h"
#include "game.h"

namespace nubbo::ui {

// What a pad asks of the game: a key, or one of the Game menu's commands.
struct PadPress {
    enum class Kind { Key, Pause, NewGame };
    Kind kind = Kind::Key;
    Key key = Key::Other;
    bool operator==(const PadPress&) const = default;
};

// The controls of a standard pad, by position, as the game reads them.
enum class PadButton { South, East, West, North, Back, Start, Up, Down, Left, Right, Other };
enum class PadAxis { LeftX, LeftY, Other };

// A pad's buttons and left stick turned into key presses, toolkit-free and
// on any clock, so that its timing is tested on a virtual one. The D-pad
// and the stick stand for the arrows, the bottom face button and D-pad up
// for the space bar, Start and Back for Pause and New, and any other button
// for a key the game does not use. Left, Right and Down repeat while held,
// as a held key does: after `delay`, then every `interval`. The stick counts
// as pushed past `kPushed` and as let go only back under `kReleased`, so
// that a stick resting near the edge does not chatter.
class PadInput {
  public:
    static constexpr int kPushed = 16384;   // half way
    static constexpr int kReleased = 9830;  // 30 % of the way

    PadInput(Millis delay, Millis interval) : delay_(delay), interval_(interval) {}

    // Each call appends what the change asks for, in order, to `out`.
    void button(int pad, PadButton which, bool down, Millis now, std::vector<PadPress>& out);
    void axis(int pad, PadAxis which, int value, Millis now, std::vector<PadPress>& out);
    // The repeats of held directions due by `now`, at most one each.
    void repeat(Millis now, std::vector<PadPress>& out);
    // A pad let go of: whatever it held is released, with no press.
    void remove(int pad) { pads_.erase(pad); }
    // Every held control counts as released, with no press; used when the
    // game's window stops being the one the player plays in.
    void releaseAll() { pads_.clear(); }

  private:
    // The three directions as a pad holds them, each from the D-pad and
    // from the stick: a direction is held while either holds it.
    enum Direction { kLeft, kRight, kDown, kDirections };
    struct Held {
        std::array<bool, kDirections> dpad{}, stick{};
        std::array<std::optional<Millis>, kDirections> nextRepeat{};  // while held
        std::uint32_t buttons = 0;                                    // the other buttons held down
    };
    void hold(Held& held, Direction direction, bool fromStick, bool on, Millis now,
              std::vector<PadPress>& out);

    Millis delay_, interval_;
    std::map<int, Held> pads_;
};

}  // namespace nubbo::ui
