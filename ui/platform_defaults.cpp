#include "platform_defaults.h"

#include <QByteArray>
#include <QtGlobal>

namespace nubbo::ui {

namespace {
void setDefault(const char* name, const char* value) {
    if (!qEnvironmentVariableIsSet(name)) qputenv(name, QByteArray(value));
}
}  // namespace

void setPlatformDefaults() {
    setDefault("QT_XCB_NO_MITSHM", "1");
    setDefault("QT_NO_GLIB", "1");
}

}  // namespace nubbo::ui
