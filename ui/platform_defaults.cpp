#include "platform_defaults.h"

#include <QByteArray>
#include <QtGlobal>

namespace nubbo::ui {

namespace {
void setDefault(const char* name, const char* value) {
    if (!qEnvironmentVariableIsSet(name)) qputenv(name, QByteArray(value));
}
// Whether Qt may open the window on X11: the platform is not yet chosen,
// but one named by the player that is not X11 rules it out.
bool mayBeX11() {
    const QByteArray named = qgetenv("QT_QPA_PLATFORM");
    return named.isEmpty() || named.contains("xcb");
}
}  // namespace

void setPlatformDefaults() {
    if (mayBeX11()) setDefault("QT_XCB_NO_MITSHM", "1");
    setDefault("QT_NO_GLIB", "1");
    setDefault("QT_IM_MODULE", "none");
}

}  // namespace nubbo::ui
