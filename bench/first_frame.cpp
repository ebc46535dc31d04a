// Measures start-up as the X server sees it: the time from exec of the game
// to the first frame in which the whole board (104 white cells) shows on the
// pink window. Usage: first_frame BINARY   (DISPLAY must name an X server)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

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

// The board is on screen when the window holds its 104 white cells.
bool boardShown(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) return false;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return false;
    long white = 0, pink = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long p = XGetPixel(img, x, y) & 0xFFFFFF;
            white += p == 0xFFFFFF;
            pink += p == 0xFFC0C0;
        }
    XDestroyImage(img);
    return white >= 104 * 32 * 32 && pink > 10000;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame BINARY\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "first_frame: cannot open the display\n");
        return 2;
    }
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);

    const auto start = Clock::now();
    pid_t pid;
    char* args[] = {argv[1], nullptr};
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, args, environ) != 0) {
        std::perror("first_frame: spawn");
        return 2;
    }
    Window game = 0;
    double ms = -1;
    while (Clock::now() - start < std::chrono::seconds(10)) {
        if (!game) game = findGame(dpy, DefaultRootWindow(dpy), netName, utf8);
        if (game && boardShown(dpy, game)) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        usleep(500);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(dpy);
    if (ms < 0) {
        std::fprintf(stderr, "first_frame: no frame within 10 s\n");
        return 1;
    }
    std::printf("%.1f\n", ms);
    return 0;
}
