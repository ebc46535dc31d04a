// Saves what the X server shows of a window as a PNG, read back with
// XGetImage: what a player would see. Usage: xshot WINDOW OUT.png
// Qt's headers first: Xlib defines macros (Status, CursorShape) they use.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xshot WINDOW OUT.png\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "xshot: cannot open the display\n");
        return 2;
    }
    const Window w = std::strtoul(argv[1], nullptr, 0);
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a)) return 1;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return 1;
    QImage out(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) out.setPixel(x, y, 0xFF000000 | XGetPixel(img, x, y));
    XDestroyImage(img);
    XCloseDisplay(dpy);
    return out.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
