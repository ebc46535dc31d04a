#pragma once

namespace nubbo::ui {

// Chooses the cheaper of Qt's ways for this window before the application
// object exists; a setting the player has made in the environment stands.
//  - Shared-memory images make Qt wait for the X server before every paint,
//    a round trip that wakes both of its threads; the window changes a few
//    cells at a time, and sending those pixels down the socket costs less.
//    Only the X11 plugin reads it; it is left unset when the player names
//    another platform.
//  - Qt's own event loop instead of GLib's: one poll per wake-up instead of
//    GLib's prepare, check and dispatch over every source. Nothing in the
//    game needs GLib's loop.
//  - No input method: the game takes no text, and its keys reach it
//    straight; Qt would otherwise load a plugin only to pass them on.
void setPlatformDefaults();

}  // namespace nubbo::ui
