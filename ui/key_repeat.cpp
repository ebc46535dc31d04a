#include "key_repeat.h"

#include <QGuiApplication>
#include <QStyleHints>

// Xlib after Qt: its macros (Status, Bool) break Qt's headers.
#include <X11/XKBlib.h>

namespace nubbo::ui {

Millis keyRepeatDelay() {
    constexpr Millis kUsual = 500;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return kUsual;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    unsigned delay = 0, interval = 0;
    if (!x11 || !x11->display() ||
        !XkbGetAutoRepeatRate(x11->display(), XkbUseCoreKbd, &delay, &interval) || delay == 0)
        return kUsual;
    return Millis(delay);
}

Millis keyRepeatInterval() {
    const int rate = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    return rate > 0 ? (1000 + rate / 2) / rate : 33;
}

}  // namespace nubbo::ui
