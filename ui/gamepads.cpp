#include "gamepads.h"

#include <SDL.h>

#include <QDir>
#include <QFileSystemWatcher>

#include "key_repeat.h"

namespace nubbo::ui {

namespace {

PadButton padButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::South;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::East;
        case SDL_CONTROLLER_BUTTON_X:
            return PadButton::West;
        case SDL_CONTROLLER_BUTTON_Y:
            return PadButton::North;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::Right;
        default:
            return PadButton::Other;
    }
}

PadAxis padAxis(int axis) {
    return axis == SDL_CONTROLLER_AXIS_LEFTX   ? PadAxis::LeftX
           : axis == SDL_CONTROLLER_AXIS_LEFTY ? PadAxis::LeftY
                                               : PadAxis::Other;
}

const QString kInput = QStringLiteral("/dev/input");

}  // namespace

Gamepads::Gamepads(Sink sink, QObject* parent)
    : QObject(parent), sink_(std::move(sink)), input_(keyRepeatDelay(), keyRepeatInterval()) {
    setObjectName(QStringLiteral("gamepads"));
    clock_.start();
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &Gamepads::poll);
    // SDL stays off the process's signals, and reads pads with no window
    // of its own to have the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdl_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!sdl_) return;
    // A pad plugged in adds a device node to /dev/input (made with the
    // first input device, if there is none yet): inotify tells, nothing polls.
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(QDir(kInput).exists() ? kInput : QStringLiteral("/dev"));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!watcher_->directories().contains(kInput) && QDir(kInput).exists())
            watcher_->addPath(kInput);
        lookAgainSoon();
    });
    for (int device = 0; device < SDL_NumJoysticks(); ++device)
        if (SDL_IsGameController(device)) {
            SDL_GameController* pad = SDL_GameControllerOpen(device);
            if (pad) open_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
        }
    poll();
}

Gamepads::~Gamepads() {
    if (!sdl_) return;
    for (auto [id, pad] : open_) SDL_GameControllerClose(static_cast<SDL_GameController*>(pad));
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::setActive(bool active) {
    if (active_ && !active) input_.releaseAll();
    active_ = active;
}

// The device node comes before its permissions and before SDL's own
// notice of it: look now and twice more soon after, then stop.
void Gamepads::lookAgainSoon() {
    poll();
    for (int ms : {250, 1000}) QTimer::singleShot(ms, this, &Gamepads::poll);
}

void Gamepads::poll() {
    if (!sdl_) return;
    const Millis now = clock_.elapsed();
    presses_.clear();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED: {
                const int device = event.cdevice.which;
                if (open_.contains(SDL_JoystickGetDeviceInstanceID(device))) break;
                if (SDL_GameController* pad = SDL_GameControllerOpen(device))
                    open_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
                break;
            }
            case SDL_CONTROLLERDEVICEREMOVED: {
                const auto found = open_.find(event.cdevice.which);
                if (found == open_.end()) break;
                SDL_GameControllerClose(static_cast<SDL_GameController*>(found->second));
                open_.erase(found);
                input_.remove(event.cdevice.which);  // what it held is let go
                break;
            }
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                if (active_ && open_.contains(event.cbutton.which))
                    input_.button(event.cbutton.which, padButton(event.cbutton.button),
                                  event.type == SDL_CONTROLLERBUTTONDOWN, now, presses_);
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (active_ && open_.contains(event.caxis.which))
                    input_.axis(event.caxis.which, padAxis(event.caxis.axis), event.caxis.value,
                                now, presses_);
                break;
            default:
                break;
        }
    }
    if (active_) input_.repeat(now, presses_);
    // Read pads only while there are any.
    if (open_.empty())
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
    for (const PadPress& press : presses_) sink_(press);
}

}  // namespace nubbo::ui
