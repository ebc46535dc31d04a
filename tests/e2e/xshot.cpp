// Reads back from the X server what a window shows: what a player would see.
//   xshot WINDOW OUT.png                save it as a PNG
//   xshot WINDOW count X Y W H RRGGBB   count the pixels of one colour in a rectangle
//   xshot WINDOW cells X Y              the non-white pixel count of each of the
//                                       13 x 8 board cells whose top-left is at X, Y
//   xshot WINDOW close                  ask the window to close, as its close box does
// Qt's headers first: Xlib defines macros (Status, CursorShape) they use.
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

QImage grab(const char* window) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return {};
    const Window w = std::strtoul(window, nullptr, 0);
    XWindowAttributes a;
    QImage out;
    if (XGetWindowAttributes(dpy, w, &a)) {
        if (XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap)) {
            out = QImage(a.width, a.height, QImage::Format_RGB32);
            for (int y = 0; y < a.height; ++y)
                for (int x = 0; x < a.width; ++x)
                    out.setPixel(x, y, 0xFF000000 | XGetPixel(img, x, y));
            XDestroyImage(img);
        }
    }
    XCloseDisplay(dpy);
    return out;
}

// What a window manager sends when the close box is clicked.
bool askToClose(const char* window) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(window, nullptr, 0);
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(dpy, event.xclient.window, False, NoEventMask, &event) != 0;
    XCloseDisplay(dpy);  // flushes the request
    return sent;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: xshot WINDOW OUT.png | count X Y W H RRGGBB | cells X Y | close\n");
        return 2;
    }
    if (std::strcmp(argv[2], "close") == 0) return askToClose(argv[1]) ? 0 : 1;
    const QImage img = grab(argv[1]);
    if (img.isNull()) {
        std::fprintf(stderr, "xshot: cannot read window %s\n", argv[1]);
        return 1;
    }
    if (std::strcmp(argv[2], "count") == 0 && argc == 8) {
        const int x0 = std::atoi(argv[3]), y0 = std::atoi(argv[4]);
        const int w = std::atoi(argv[5]), h = std::atoi(argv[6]);
        const QRgb colour = 0xFF000000 | std::strtoul(argv[7], nullptr, 16);
        long n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += img.valid(x, y) && img.pixel(x, y) == colour;
        std::printf("%ld\n", n);
        return 0;
    }
    if (std::strcmp(argv[2], "cells") == 0 && argc == 5) {
        const int x0 = std::atoi(argv[3]), y0 = std::atoi(argv[4]);
        for (int r = 0; r < 13; ++r) {
            for (int c = 0; c < 8; ++c) {
                int n = 0;
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        const int px = x0 + 32 * c + x, py = y0 + 32 * r + y;
                        n += img.valid(px, py) && (img.pixel(px, py) & 0xFFFFFF) != 0xFFFFFF;
                    }
                std::printf(c ? " %d" : "%d", n);
            }
            std::printf("\n");
        }
        return 0;
    }
    return img.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
