#include "fonts.h"

#include <QStringList>

namespace nubbo::ui {

namespace {
// Sizes in pixels at 96 dots per inch, so that the screen's DPI setting
// cannot change the layout.
constexpr int pointsToPixels(int points) {
    return points * 4 / 3;
}
}  // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("標楷體"), QStringList()
                                                             << QStringLiteral("AR PL UKai TW")
                                                             << QStringLiteral("AR PL UKai CN"));
    QFont::insertSubstitutions(QStringLiteral("Arial"), QStringList()
                                                            << QStringLiteral("Liberation Sans")
                                                            << QStringLiteral("DejaVu Sans"));
}

QFont bannerFont() {
    QFont font(QStringLiteral("標楷體"));
    font.setPixelSize(pointsToPixels(60));
    font.setWeight(QFont::Normal);
    return font;
}

QFont gameOverFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pointsToPixels(36));
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace nubbo::ui
