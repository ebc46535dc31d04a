// A pad's controls to key presses on a virtual clock: the stick's dead zone
// and hysteresis, the repeat of held directions, two pads, and pads let go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pad_input.h"

using nubbo::Key;
using nubbo::Millis;
using nubbo::ui::PadAxis;
using nubbo::ui::PadButton;
using nubbo::ui::PadInput;
using nubbo::ui::PadPress;

namespace {

// One step of a script: at `at` ms, pad `pad` moves a control (a button
// down or up, an axis to a value), or `remove` lets the pad go, or
// `release` lets every pad go; the clock is then read for repeats. The
// presses are written as letters: L R D (the directions), S (rotate),
// O (a key the game does not use), P (Pause), N (New).
struct Step {
    Millis at;
    int pad = 0;
    enum { Button, Axis, Remove, ReleaseAll, Wait } what = Wait;
    int control = 0;  // a PadButton or PadAxis
    int value = 0;    // down (1) or up (0), or the axis's value
};

Step button(Millis at, PadButton b, bool down, int pad = 0) {
    return {at, pad, Step::Button, int(b), down};
}
Step axis(Millis at, PadAxis a, int value, int pad = 0) {
    return {at, pad, Step::Axis, int(a), value};
}
Step wait(Millis at) {
    return {at};
}

std::string letter(const PadPress& p) {
    if (p.kind == PadPress::Kind::Pause) return "P";
    if (p.kind == PadPress::Kind::NewGame) return "N";
    switch (p.key) {
        case Key::Left:
            return "L";
        case Key::Right:
            return "R";
        case Key::Down:
            return "D";
        case Key::Rotate:
            return "S";
        default:
            return "O";
    }
}

// Runs a script with a delay of 500 ms and an interval of 33 ms; returns
// "at:letters" for each step that pressed anything.
std::string run(const std::vector<Step>& steps) {
    PadInput input(500, 33);
    std::string out;
    for (const Step& s : steps) {
        std::vector<PadPress> presses;
        if (s.what == Step::Button)
            input.button(s.pad, PadButton(s.control), s.value != 0, s.at, presses);
        else if (s.what == Step::Axis)
            input.axis(s.pad, PadAxis(s.control), s.value, s.at, presses);
        else if (s.what == Step::Remove)
            input.remove(s.pad);
        else if (s.what == Step::ReleaseAll)
            input.releaseAll();
        input.repeat(s.at, presses);
        if (presses.empty()) continue;
        out += (out.empty() ? "" : " ") + std::to_string(s.at) + ":";
        for (const PadPress& p : presses) out += letter(p);
    }
    return out;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* presses;
};

using B = PadButton;
using A = PadAxis;

const Case kCases[] = {
    {"each button once as it goes down; a second down with no up is no press",
     {button(0, B::South, true), button(10, B::South, true), button(20, B::South, false),
      button(30, B::Up, true), button(40, B::East, true), button(50, B::West, true),
      button(60, B::North, true), button(70, B::Other, true), button(80, B::Start, true),
      button(90, B::Back, true), wait(2000)},
     "0:S 30:S 40:O 50:O 60:O 70:O 80:P 90:N"},
    {"a held direction: one press, the first repeat after the delay, then one every interval",
     {button(0, B::Left, true), wait(499), wait(500), wait(532), wait(533), wait(566),
      button(570, B::Left, false), wait(600), wait(2000)},
     "0:L 500:L 533:L 566:L"},
    {"a late read repeats once, and the next is due one interval after it",
     {button(0, B::Down, true), wait(900), wait(932), wait(933)},
     "0:D 900:D 933:D"},
    {"reads a little late keep the repeats on their instants",
     {button(0, B::Right, true), wait(510), wait(540), wait(570), wait(600)},
     "0:R 510:R 540:R 570:R 600:R"},
    {"the stick: pushed past half way, let go only under 30 %; near the edge it never chatters",
     {axis(0, A::LeftX, -16000), axis(10, A::LeftX, -16384), axis(20, A::LeftX, -10000),
      axis(30, A::LeftX, -20000), axis(40, A::LeftX, -9831), axis(50, A::LeftX, -9829),
      axis(60, A::LeftX, -16384), axis(70, A::LeftX, 0), axis(80, A::LeftY, 16383),
      axis(90, A::LeftY, 32767), axis(100, A::LeftY, 9000), axis(110, A::LeftY, -32768),
      axis(120, A::Other, 32767), wait(2000)},
     "10:L 60:L 90:D"},
    {"flung from one side to the other between two reads",
     {axis(0, A::LeftX, -32768), axis(10, A::LeftX, 32767), wait(509), wait(510)},
     "0:L 10:R 510:R"},
    {"D-pad and stick on one direction: held while either holds it",
     {button(0, B::Left, true), axis(10, A::LeftX, -32768), button(20, B::Left, false), wait(500),
      axis(510, A::LeftX, 0), wait(600), button(610, B::Left, true)},
     "0:L 500:L 610:L"},
    {"the stick's up and the other axes are no keys",
     {axis(0, A::LeftY, -32768), axis(10, A::Other, -32768), wait(900)},
     ""},
    {"two pads repeat each on its own clock",
     {button(0, B::Left, true, 1), button(100, B::Right, true, 2), wait(500), wait(533), wait(600),
      wait(633)},
     "0:L 100:R 500:L 533:L 600:LR 633:LR"},
    {"a pad let go of while held: no release press, no more repeats, the other goes on",
     {button(0, B::Left, true, 1),
      button(0, B::Down, true, 2),
      {100, 1, Step::Remove},
      wait(500),
      wait(533),
      button(540, B::Left, true, 1)},
     "0:L 0:D 500:D 533:D 540:L"},
    {"every pad let go of when the window stops being the active one",
     {button(0, B::Left, true),
      button(10, B::South, true),
      {100, 0, Step::ReleaseAll},
      wait(900),
      button(910, B::Left, false),
      button(920, B::South, true)},
     "0:L 10:S 920:S"},
};

TEST(PadInput, Scripts) {
    for (const Case& c : kCases) EXPECT_EQ(run(c.steps), c.presses) << c.name;
}

}  // namespace

#ifdef NUBBO_GAMEPADS
#include "gamepads.h"

// Which input devices start SDL: their key capabilities as Linux writes
// them (hexadecimal words, the highest bits first).
TEST(JoystickButtons, OnlyJoysticksAndGamepads) {
    const struct {
        const char* bitmap;
        bool joystick;
    } rows[] = {
        {"7cdb000000000000 0 0 0 0\n", true},  // a gamepad: BTN_SOUTH and its kin
        {"ffff00000000 0 0 0 0", true},        // a joystick: BTN_TRIGGER up
        {"1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", false},  // KEY_* beyond the buttons
        {"8000000000000000 0 0 0 0", true},                        // 0x13f, the last of the range
        {"1 0 0 0 0 0", false},       // 0x140, BTN_DIGI: a tablet's pen
        {"80000000 0 0 0 0", false},  // 0x11f, the mouse button below the range
        {"70000 0 0 0 0", false},     // a mouse: BTN_LEFT, RIGHT, MIDDLE
        {"402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe", false},  // a keyboard
        {"", false},
        {"0", false},
        {"zz 0 0 0 0", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(nubbo::ui::hasJoystickButtons(row.bitmap), row.joystick) << row.bitmap;
}
#endif
