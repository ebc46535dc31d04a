#include "app_style.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

namespace nubbo::ui {

namespace {
class AppStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton ||
            icon == SP_ToolBarVerticalExtensionButton)
            return {};
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};
}  // namespace

void installAppStyle() {
    // Over a style of the kind Qt chose (the desktop's, or the one the player
    // named with -style or QT_STYLE_OVERRIDE); the application owns it.
    QApplication::setStyle(new AppStyle(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace nubbo::ui
