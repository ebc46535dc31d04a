#pragma once

// A pad with a standard layout, attached to SDL as if plugged in: what the
// gamepad tests and the idle benchmark play with instead of hardware.
#include <SDL.h>

namespace nubbo::test {

// Returns the new pad's device index, or -1 (SDL_GetError says why).
inline int attachVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "virtual pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

}  // namespace nubbo::test
