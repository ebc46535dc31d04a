#include "fonts.h"

#include <QStringList>

#include "form_layout.h"

namespace nubbo::ui {

namespace {
// Sizes in pixels at 96 dots per inch, so that the screen's DPI setting
// cannot change the layout.
constexpr int pointsToPixels(int points) {
    return points * 4 / 3;
}

// The Kai faces, the one of Traditional Chinese first.
QStringList kaiFaces() {
    return {QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UKai CN")};
}
}  // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("標楷體"), kaiFaces());
    // Qt's generic default face, which fontconfig would answer by the locale
    // (under zh_TW with the CN face of the Kai file, mapping that large file
    // a second time): a plain sans face with the Latin letters in any locale.
    QFont::insertSubstitutions(
        QStringLiteral("Sans Serif"),
        QStringList() << QStringLiteral("DejaVu Sans") << QStringLiteral("Liberation Sans"));
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

QFont textBoxFont() {
    QFont font(QString::fromUtf8(form::kTextFontFamily));  // the page's face and size
    font.setPixelSize(form::kTextFontPixels);
    font.setWeight(QFont::Normal);
    return font;
}

QFont withKaiFallback(QFont font) {
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    font.setFamilies(families << kaiFaces());
    return font;
}

}  // namespace nubbo::ui
