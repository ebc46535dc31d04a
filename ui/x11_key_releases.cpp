#include "x11_key_releases.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>

namespace nubbo::ui {

bool stopKeyReleases(QWidget& window) {
    // On Wayland (even with Xwayland's DISPLAY set) there is no X window.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* connection = x11->connection();
    const auto id = xcb_window_t(window.winId());
    // Keep every other event Qt asked for; only this client's mask changes.
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, id), nullptr);
    if (!attributes) return false;
    const uint32_t values[] = {
        attributes->your_event_mask & ~uint32_t(XCB_EVENT_MASK_KEY_RELEASE),
        // Nor pass a release on to a window manager's frame around this one.
        uint32_t(attributes->do_not_propagate_mask) | XCB_EVENT_MASK_KEY_RELEASE,
    };
    std::free(attributes);
    xcb_change_window_attributes(connection, id, XCB_CW_EVENT_MASK | XCB_CW_DONT_PROPAGATE, values);
    xcb_flush(connection);
    return true;
}

}  // namespace nubbo::ui
