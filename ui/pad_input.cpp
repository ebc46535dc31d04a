#include "pad_input.h"

#include <span>
#include <utility>

namespace nubbo::ui {

namespace {
constexpr Key kDirectionKey[] = {Key::Left, Key::Right, Key::Down};

PadPress keyPress(Key key) {
    return {PadPress::Kind::Key, key};
}
}  // namespace

void PadInput::hold(Held& held, Direction direction, bool fromStick, bool on, Millis now,
                    std::vector<PadPress>& out) {
    const bool before = held.dpad[direction] || held.stick[direction];
    (fromStick ? held.stick : held.dpad)[direction] = on;
    const bool after = held.dpad[direction] || held.stick[direction];
    if (after && !before) {
        out.push_back(keyPress(kDirectionKey[direction]));
        held.nextRepeat[direction] = now + delay_;
    } else if (!after) {
        held.nextRepeat[direction].reset();
    }
}

void PadInput::button(int pad, PadButton which, bool down, Millis now, std::vector<PadPress>& out) {
    Held& held = pads_[pad];
    switch (which) {
        case PadButton::Left:
            return hold(held, kLeft, false, down, now, out);
        case PadButton::Right:
            return hold(held, kRight, false, down, now, out);
        case PadButton::Down:
            return hold(held, kDown, false, down, now, out);
        default:
            break;
    }
    // Every other button acts once as it goes down; a second "down" with no
    // "up" between them is no press.
    const std::uint32_t bit = 1u << unsigned(which);
    const bool was = held.buttons & bit;
    held.buttons = down ? held.buttons | bit : held.buttons & ~bit;
    if (!down || was) return;
    switch (which) {
        case PadButton::South:
        case PadButton::Up:
            return out.push_back(keyPress(Key::Rotate));
        case PadButton::Start:
            return out.push_back({PadPress::Kind::Pause});
        case PadButton::Back:
            return out.push_back({PadPress::Kind::NewGame});
        default:
            return out.push_back(keyPress(Key::Other));
    }
}

void PadInput::axis(int pad, PadAxis which, int value, Millis now, std::vector<PadPress>& out) {
    if (which == PadAxis::Other) return;
    Held& held = pads_[pad];
    // How far the stick leans towards each direction of this axis; the
    // stick's up is no control.
    const bool across = which == PadAxis::LeftX;
    const std::pair<Direction, int> sides[] = {{across ? kLeft : kDown, across ? -value : value},
                                               {kRight, value}};
    const auto leaning = std::span(sides).first(across ? 2 : 1);
    // Let go first, then push: a stick flung from one side to the other
    // between two reads releases the one before it presses the other.
    for (auto [direction, along] : leaning)
        if (held.stick[direction] && along < kReleased)
            hold(held, direction, true, false, now, out);
    for (auto [direction, along] : leaning)
        if (!held.stick[direction] && along >= kPushed) hold(held, direction, true, true, now, out);
}

void PadInput::repeat(Millis now, std::vector<PadPress>& out) {
    for (auto& [pad, held] : pads_)
        for (int d = 0; d < kDirections; ++d) {
            auto& next = held.nextRepeat[d];
            if (!next || *next > now) continue;
            out.push_back(keyPress(kDirectionKey[d]));
            // From the instant it was due, so a slow poll drifts no repeat;
            // but after a long stall, one repeat and no burst.
            *next += interval_;
            if (*next <= now) *next = now + interval_;
        }
}

}  // namespace nubbo::ui
