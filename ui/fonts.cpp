#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "form_layout.h"

namespace nubbo::ui {

namespace {
// Sizes in pixels at 96 dots per inch, so that the screen's DPI setting
// cannot change the layout.
constexpr int pointsToPixels(int points) {
    return points * 4 / 3;
}

// Whether the program's own Kai face is loaded.
bool ownKai = false;

// The Kai faces: the program's own, with only the glyphs the window shows
// in it, then the installed ones, the one of Traditional Chinese first.
QStringList kaiFaces() {
    QStringList faces{QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UKai CN")};
    if (ownKai) faces.prepend(kOwnKaiFamily);
    return faces;
}
}  // namespace

void installFontSubstitutions() {
    // The glyphs the banner and 高手 show, compiled in: fontconfig need not
    // match the Kai face nor map its 17 MB file on the way to the first
    // frame. The installed faces stay behind it for any other character.
    if (!ownKai)
        ownKai = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/nubbo-kai.ttf")) >= 0;
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
