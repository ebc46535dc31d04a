#include "gamepads.h"

#include <SDL.h>
#include <dlfcn.h>

#include <type_traits>

#include <QDir>
#include <QFile>
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

// SDL's entry points the game uses, looked up in the library once it is
// loaded: the program does not link SDL, so that a start with no pad loads
// none of it (nor the sound, video and udev libraries it pulls in).
struct Gamepads::Sdl {
    decltype(&::SDL_SetHint) SDL_SetHint = nullptr;
    decltype(&::SDL_InitSubSystem) SDL_InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) SDL_QuitSubSystem = nullptr;
    decltype(&::SDL_NumJoysticks) SDL_NumJoysticks = nullptr;
    decltype(&::SDL_IsGameController) SDL_IsGameController = nullptr;
    decltype(&::SDL_GameControllerOpen) SDL_GameControllerOpen = nullptr;
    decltype(&::SDL_GameControllerClose) SDL_GameControllerClose = nullptr;
    decltype(&::SDL_GameControllerGetJoystick) SDL_GameControllerGetJoystick = nullptr;
    decltype(&::SDL_JoystickInstanceID) SDL_JoystickInstanceID = nullptr;
    decltype(&::SDL_JoystickGetDeviceInstanceID) SDL_JoystickGetDeviceInstanceID = nullptr;
    decltype(&::SDL_PollEvent) SDL_PollEvent = nullptr;

    // The library with every entry point, or none. The library stays
    // loaded: SDL keeps threads and state of its own.
    static std::unique_ptr<Sdl> load() {
        void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        auto sdl = std::make_unique<Sdl>();
        auto find = [library](auto& entry, const char* name) {
            entry =
                reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(library, name));
            return entry != nullptr;
        };
        const bool complete =
            find(sdl->SDL_SetHint, "SDL_SetHint") &&
            find(sdl->SDL_InitSubSystem, "SDL_InitSubSystem") &&
            find(sdl->SDL_QuitSubSystem, "SDL_QuitSubSystem") &&
            find(sdl->SDL_NumJoysticks, "SDL_NumJoysticks") &&
            find(sdl->SDL_IsGameController, "SDL_IsGameController") &&
            find(sdl->SDL_GameControllerOpen, "SDL_GameControllerOpen") &&
            find(sdl->SDL_GameControllerClose, "SDL_GameControllerClose") &&
            find(sdl->SDL_GameControllerGetJoystick, "SDL_GameControllerGetJoystick") &&
            find(sdl->SDL_JoystickInstanceID, "SDL_JoystickInstanceID") &&
            find(sdl->SDL_JoystickGetDeviceInstanceID, "SDL_JoystickGetDeviceInstanceID") &&
            find(sdl->SDL_PollEvent, "SDL_PollEvent");
        return complete ? std::move(sdl) : nullptr;
    }
};

bool hasJoystickButtons(std::string_view keyBitmap) {
    // The bitmap is written as hexadecimal words, the highest bits first,
    // each word of 64 bits on this platform, separated by spaces.
    constexpr int kWordBits = 64;
    constexpr int kFirst = 0x120, kLast = 0x13f;  // BTN_JOYSTICK up to BTN_GAMEPAD's last
    std::vector<std::string_view> words;
    while (!keyBitmap.empty()) {
        const auto cut = keyBitmap.find_first_of(" \n");
        const auto word = keyBitmap.substr(0, cut);
        if (!word.empty()) words.push_back(word);
        if (cut == std::string_view::npos) break;
        keyBitmap.remove_prefix(cut + 1);
    }
    for (int bit = kFirst; bit <= kLast; ++bit) {
        const std::size_t index = std::size_t(bit / kWordBits);
        if (index >= words.size()) return false;
        const std::string_view word = words[words.size() - 1 - index];
        const int nibble = (bit % kWordBits) / 4;  // hex digit from the right
        if (std::size_t(nibble) >= word.size()) continue;
        const char digit = word[word.size() - 1 - std::size_t(nibble)];
        const int value = digit >= '0' && digit <= '9'   ? digit - '0'
                          : digit >= 'a' && digit <= 'f' ? digit - 'a' + 10
                          : digit >= 'A' && digit <= 'F' ? digit - 'A' + 10
                                                         : -1;
        if (value < 0) return false;  // not a bitmap
        if (value & (1 << (bit % 4))) return true;
    }
    return false;
}

// The entries of `dir` whose names start with `prefix`. (A name filter of
// QDir's would compile a regular expression, loading PCRE and its JIT:
// some 400 KB for a prefix.)
QStringList entriesStartingWith(const QDir& dir, const QString& prefix, QDir::Filters filters) {
    QStringList found;
    for (const QString& name : dir.entryList(filters))
        if (name.startsWith(prefix)) found << name;
    return found;
}

bool joystickPluggedIn() {
    const QDir input(kInput);
    if (!entriesStartingWith(input, QStringLiteral("js"), QDir::System).isEmpty()) return true;
    const QDir devices(QStringLiteral("/sys/class/input"));
    for (const QString& device :
         entriesStartingWith(devices, QStringLiteral("event"), QDir::AllEntries)) {
        QFile keys(devices.filePath(device + QStringLiteral("/device/capabilities/key")));
        if (keys.open(QIODevice::ReadOnly) && hasJoystickButtons(keys.readAll().toStdString()))
            return true;
    }
    return false;
}

Gamepads::Gamepads(Sink sink, QObject* parent)
    : QObject(parent), sink_(std::move(sink)), input_(keyRepeatDelay(), keyRepeatInterval()) {
    setObjectName(QStringLiteral("gamepads"));
    clock_.start();
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &Gamepads::poll);
    // A pad plugged in adds a device node to /dev/input (made with the
    // first input device, if there is none yet): inotify tells, nothing polls.
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(QDir(kInput).exists() ? kInput : QStringLiteral("/dev"));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!watcher_->directories().contains(kInput) && QDir(kInput).exists())
            watcher_->addPath(kInput);
        lookAgainSoon();
    });
}

void Gamepads::lookForPads() {
    if (!sdl_ && joystickPluggedIn()) startSdl();
    poll();
}

void Gamepads::startSdl() {
    if (sdl_ || sdlFailed_) return;
    std::unique_ptr<Sdl> sdl = Sdl::load();
    // SDL stays off the process's signals, and reads pads with no window
    // of its own to have the focus.
    if (sdl) {
        sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        sdl->SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    }
    if (!sdl || sdl->SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        sdlFailed_ = true;  // no library, or no controller support: keys only
        return;
    }
    sdl_ = std::move(sdl);
    for (int device = 0; device < sdl_->SDL_NumJoysticks(); ++device)
        if (sdl_->SDL_IsGameController(device)) {
            SDL_GameController* pad = sdl_->SDL_GameControllerOpen(device);
            if (pad)
                open_[sdl_->SDL_JoystickInstanceID(sdl_->SDL_GameControllerGetJoystick(pad))] = pad;
        }
}

Gamepads::~Gamepads() {
    if (!sdl_) return;
    for (auto [id, pad] : open_)
        sdl_->SDL_GameControllerClose(static_cast<SDL_GameController*>(pad));
    sdl_->SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::rescan() {
    startSdl();
    poll();
}

void Gamepads::setActive(bool active) {
    if (active_ && !active) input_.releaseAll();
    active_ = active;
}

// The device node comes before its permissions and before SDL's own
// notice of it: look now and twice more soon after, then stop.
void Gamepads::lookAgainSoon() {
    lookForPads();
    for (int ms : {250, 1000}) QTimer::singleShot(ms, this, &Gamepads::lookForPads);
}

void Gamepads::poll() {
    if (!sdl_) return;
    const Millis now = clock_.elapsed();
    presses_.clear();
    SDL_Event event;
    while (sdl_->SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED: {
                const int device = event.cdevice.which;
                if (open_.contains(sdl_->SDL_JoystickGetDeviceInstanceID(device))) break;
                if (SDL_GameController* pad = sdl_->SDL_GameControllerOpen(device))
                    open_[sdl_->SDL_JoystickInstanceID(sdl_->SDL_GameControllerGetJoystick(pad))] =
                        pad;
                break;
            }
            case SDL_CONTROLLERDEVICEREMOVED: {
                const auto found = open_.find(event.cdevice.which);
                if (found == open_.end()) break;
                sdl_->SDL_GameControllerClose(static_cast<SDL_GameController*>(found->second));
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
