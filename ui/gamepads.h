#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "pad_input.h"

class QFileSystemWatcher;

namespace nubbo::ui {

// Whether a Linux input device's key capabilities (the hexadecimal bitmap
// of /sys/class/input/eventN/device/capabilities/key) hold a joystick's or
// a gamepad's buttons (BTN_JOYSTICK to BTN_THUMBR and beyond, 0x120-0x13f).
bool hasJoystickButtons(std::string_view keyBitmap);
// Whether /dev/input holds a joystick: a js node, or an event device with
// a joystick's buttons.
bool joystickPluggedIn();

// The player's gamepads, through SDL2's game-controller API and its
// database of pads, with no SDL window and no SDL video. Every controller
// plugged in is opened, and each press is handed to `sink` as the key or
// command it stands for (PadInput). SDL is loaded (dlopen) and started only
// once a joystick is plugged in: not on the way to the window's first
// frame, and never with no pad. With no controller open nothing polls: a
// change in /dev/input (inotify, no timer) makes it look for new pads; only
// while one is open does it read them, about 60 times a second. Without
// SDL's library or its controller support, it does nothing.
class Gamepads : public QObject {
    Q_OBJECT
  public:
    using Sink = std::function<void(const PadPress&)>;
    Gamepads(Sink sink, QObject* parent);
    ~Gamepads() override;

    // Starts SDL if a joystick is plugged in, and looks for pads: the
    // window calls it once its first frame is painted.
    void lookForPads();
    // Starts SDL whatever /dev/input holds, looks for controllers plugged
    // in or pulled out, and reads them.
    void rescan();
    // Whether SDL is loaded and started.
    bool started() const { return sdl_ != nullptr; }
    // Presses count only while active (the game's window is the active
    // window); going inactive releases every held control.
    void setActive(bool active);
    bool active() const { return active_; }
    int openCount() const { return int(open_.size()); }
    bool polling() const { return timer_.isActive(); }

    static constexpr int kPollMs = 16;

  private:
    struct Sdl;
    void startSdl();
    void poll();
    void lookAgainSoon();

    Sink sink_;
    std::unique_ptr<Sdl> sdl_;
    bool sdlFailed_ = false;
    bool active_ = false;
    std::map<int, void*> open_;  // SDL's joystick instance id to its SDL_GameController
    QTimer timer_;
    QFileSystemWatcher* watcher_ = nullptr;
    QElapsedTimer clock_;
    PadInput input_;
    std::vector<PadPress> presses_;
};

}  // namespace nubbo::ui
