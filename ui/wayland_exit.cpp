#include "wayland_exit.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace nubbo::ui {

void endNowOnWayland(int status) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace nubbo::ui
