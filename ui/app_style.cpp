#include "app_style.h"

#include <QApplication>
#include <QProxyStyle>

namespace nubbo::ui {

namespace {
class AppStyle : public QProxyStyle {
  public:
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
    QApplication::setStyle(new AppStyle);  // the application owns it
}

}  // namespace nubbo::ui
