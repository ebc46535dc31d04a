// Measures start-up as the X server sees it: the time from exec of the game
// to the first frame in which the whole board (104 white cells) shows on the
// pink window. Usage: first_frame BINARY [ARGUMENTS...]   (DISPLAY must name
// an X server)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <linux/perf_event.h>
#include <signal.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "form_layout.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The game's top-level window, found by its name.
Window findGame(Display* dpy, Window w, Atom netName, Atom utf8) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* name = nullptr;
    if (XGetWindowProperty(dpy, w, netName, 0, 64, False, utf8, &type, &format, &count, &after,
                           &name) == Success &&
        name) {
        const bool match = std::strcmp(reinterpret_cast<char*>(name), "完全NUBBO方塊版") == 0;
        XFree(name);
        // Qt's hidden 1 x 1 client-leader window carries the same name.
        XWindowAttributes a;
        if (match && XGetWindowAttributes(dpy, w, &a) && a.width >= 289) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned k = 0; k < n && !found; ++k) found = findGame(dpy, children[k], netName, utf8);
    if (children) XFree(children);
    return found;
}

// The colour at (x, y), read straight from a 32-bit image: XGetPixel, a
// call a pixel, would keep this process busy for a millisecond a look, on
// one of the cores the game and the X server start on.
unsigned long pixel(const XImage* img, int x, int y) {
    if (img->bits_per_pixel != 32) return XGetPixel(const_cast<XImage*>(img), x, y) & 0xFFFFFF;
    std::uint32_t p;
    std::memcpy(&p, img->data + std::ptrdiff_t(y) * img->bytes_per_line + x * 4, 4);
    return p & 0xFFFFFF;
}

// The board is on screen when the window holds its 104 white cells.
bool boardShown(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) return false;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return false;
    long white = 0, pink = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long p = pixel(img, x, y);
            white += p == 0xFFFFFF;
            pink += p == 0xFFC0C0;
        }
    XDestroyImage(img);
    return white >= 104 * 32 * 32 && pink > 10000;
}

// A counter of the CPU time of process `pid` and of every thread it starts
// from now on, ended ones included; -1 where the kernel does not allow it.
int cpuCounter(pid_t pid) {
    perf_event_attr attr{};
    attr.size = sizeof attr;
    attr.type = PERF_TYPE_SOFTWARE;
    attr.config = PERF_COUNT_SW_TASK_CLOCK;
    attr.inherit = 1;
    return int(syscall(SYS_perf_event_open, &attr, pid, -1, -1, 0));
}

// CPU time of process `pid` so far, in milliseconds: from `counter`, else
// from the scheduler's own accounting of its threads still running, which
// misses a thread that has ended.
double cpuMillis(pid_t pid, int counter) {
    if (unsigned long long ns = 0; counter >= 0 && read(counter, &ns, sizeof ns) == sizeof ns)
        return double(ns) / 1e6;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* tasks = opendir(dir.c_str());
    if (!tasks) return -1;
    double ns = 0;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.') continue;
        if (FILE* f = std::fopen((dir + "/" + task->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long run = 0;
            if (std::fscanf(f, "%llu", &run) == 1) ns += double(run);
            std::fclose(f);
        }
    }
    closedir(tasks);
    return ns / 1e6;
}

// Peak resident memory of process `pid`, in megabytes.
double peakMegabytes(pid_t pid) {
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!f) return -1;
    char line[256];
    double kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %lf", &kb) == 1) break;
    std::fclose(f);
    return kb / 1024;
}

// The board shows a new game's piece: one of the top three cells of its
// column, empty (all white) before, holds a tile. Some tile pictures are
// mostly white themselves, so a cell counts as holding one as soon as a
// fair number of its pixels are not white. The client area starts below
// the menu bar, at the bottom of the window.
constexpr int kInkedPixels = 64;

bool pieceShown(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) return false;
    const int top = a.height - nubbo::form::kHeight;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return false;
    bool shown = false;
    for (int row = 0; row < 3 && !shown; ++row) {
        const int x0 = nubbo::form::kBoard.left + nubbo::form::kCell * 3;
        const int y0 = top + nubbo::form::kBoard.top + nubbo::form::kCell * row;
        int white = 0;
        for (int y = y0; y < y0 + nubbo::form::kCell; ++y)
            for (int x = x0; x < x0 + nubbo::form::kCell; ++x)
                white += pixel(img, x, y) == 0xFFFFFF;
        shown = nubbo::form::kCell * nubbo::form::kCell - white >= kInkedPixels;
    }
    XDestroyImage(img);
    return shown;
}

// Waits up to 5 ms for windows to be mapped; returns the game's, once
// mapped, or 0.
Window awaitMapped(Display* dpy, Atom netName, Atom utf8) {
    if (!XPending(dpy)) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(dpy), &fds);
        timeval wait{0, 5000};
        select(ConnectionNumber(dpy) + 1, &fds, nullptr, nullptr, &wait);
    }
    Window game = 0;
    while (XPending(dpy)) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == MapNotify && !game)
            game = findGame(dpy, event.xmap.window, netName, utf8);
    }
    return game;
}

// Presses F2 (a new game) in window `w`, given the focus first.
void pressF2(Display* dpy, Window w) {
    XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
    XKeyEvent key{};
    key.type = KeyPress;
    key.display = dpy;
    key.window = w;
    key.root = DefaultRootWindow(dpy);
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(dpy, XK_F2);
    XSendEvent(dpy, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    XFlush(dpy);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame BINARY [ARGUMENTS...]\n");
        return 2;
    }
    // On a loaded machine the server may refuse a connection now and then.
    Display* dpy = nullptr;
    for (int attempt = 0; attempt < 100 && !(dpy = XOpenDisplay(nullptr)); ++attempt) usleep(20000);
    if (!dpy) {
        std::fprintf(stderr, "first_frame: cannot open the display\n");
        return 2;
    }
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);

    // The game's window is found by the server's word that a window was
    // mapped, not by walking the tree of windows over and over: the look
    // must not take from the start-up it measures.
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);
    const auto start = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror("first_frame: spawn");
        return 2;
    }
    const int counter = cpuCounter(pid);
    // FIRST_FRAME_KEY=1: F2 is pressed the moment the window is on screen
    // (mapped, whether painted yet or not), and what is measured is the time
    // from that press to the first frame that shows the new game's piece.
    const char* keyMode = std::getenv("FIRST_FRAME_KEY");
    const bool key = keyMode && *keyMode == '1';
    Clock::time_point pressed;
    Window game = 0;
    double ms = -1, cpuMs = -1;
    while (Clock::now() - start < std::chrono::seconds(10)) {
        if (!game) {
            game = awaitMapped(dpy, netName, utf8);
            continue;
        }
        if (key && game && pressed == Clock::time_point()) {
            XWindowAttributes a;
            if (XGetWindowAttributes(dpy, game, &a) && a.map_state == IsViewable) {
                pressF2(dpy, game);
                pressed = Clock::now();
            }
            continue;
        }
        if (key && pressed != Clock::time_point() && pieceShown(dpy, game)) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
            cpuMs = cpuMillis(pid, counter);
            break;
        }
        if (!key && game && boardShown(dpy, game)) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            cpuMs = cpuMillis(pid, counter);
            break;
        }
        usleep(500);
    }
    // FIRST_FRAME_HOLD_MS=N: the program's peak resident memory N ms after
    // that frame as well (VmHWM, in MB).
    double peakMb = -1;
    if (const char* hold = std::getenv("FIRST_FRAME_HOLD_MS"); hold && ms >= 0) {
        usleep(useconds_t(std::atoi(hold)) * 1000);
        peakMb = peakMegabytes(pid);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (counter >= 0) close(counter);
    XCloseDisplay(dpy);
    if (ms < 0) {
        std::fprintf(stderr, "first_frame: no frame within 10 s\n");
        return 1;
    }
    // FIRST_FRAME_CPU=1: the CPU time the program took up to that frame
    // as well, which a loaded machine disturbs far less than the wall clock.
    if (const char* cpu = std::getenv("FIRST_FRAME_CPU"); cpu && *cpu == '1')
        std::printf("%.1f %.1f", ms, cpuMs);
    else
        std::printf("%.1f", ms);
    if (peakMb >= 0) std::printf(" %.2f", peakMb);
    std::printf("\n");
    return 0;
}
