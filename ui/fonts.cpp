#include "fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <clocale>
#include <system_error>

#include <pthread.h>
#include <sched.h>

#include <fontconfig/fontconfig.h>

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

// The face that stands for `family`: the first installed one of the faces
// this program maps it to, else the family itself. Asking Qt for a name no
// face carries ("Arial", "標楷體", the generic "Sans Serif") makes it sort
// every face fontconfig knows for a fallback, some 1.5 million instructions
// a name, script and style, before it tries the substitutes, which then
// give the same face. (QFontDatabase::hasFamily would have fontconfig
// resolve the name as an alias, at much the same price.)
QString installedFace(const QString& family) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& substitute : QFont::substitutes(family))  // kept lower case
        for (const QString& face : installed)
            if (face.compare(substitute, Qt::CaseInsensitive) == 0) return face;
    return family;
}

// Adds the compiled-in Kai face; whether it is there. Read in place where
// the resource is stored as it is: a copy would keep another 120 KB in
// memory for as long as the program runs.
bool addOwnKai() {
    const QResource face(QStringLiteral(":/fonts/nubbo-kai.ttf"));
    if (!face.isValid()) return false;
    if (face.compressionAlgorithm() != QResource::NoCompression)
        return QFontDatabase::addApplicationFont(face.fileName()) >= 0;
    return QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
               reinterpret_cast<const char*>(face.data()), qsizetype(face.size()))) >= 0;
}

QFont named(const QString& family) {
    return QFont(installedFace(family));
}
}  // namespace

std::jthread readFontConfigurationAhead() {
    // The locale Qt's constructor would set, set before the read starts:
    // fontconfig reads the configuration's numbers by the locale's decimal
    // point, which must not change under it (a "0.2" read as the locale
    // turns from "C" to one with a decimal comma comes out as 0).
    std::setlocale(LC_ALL, "");
    std::jthread reader;
    try {
        reader = std::jthread([] { FcInit(); });
    } catch (const std::system_error&) {
        return {};
    }
    // On any core but this one: a new thread may otherwise wait behind this
    // one, which Qt's set-up keeps busy, until the scheduler's next tick some
    // milliseconds later, and the read is then not done in time.
    cpu_set_t cores;
    const int here = sched_getcpu();
    if (here >= 0 && sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) > 1) {
        CPU_CLR(here, &cores);
        pthread_setaffinity_np(reader.native_handle(), sizeof cores, &cores);
    }
    return reader;
}

void installFontSubstitutions() {
    // The glyphs the banner and 高手 show, compiled in: fontconfig need not
    // match the Kai face nor map its 17 MB file on the way to the first
    // frame. The installed faces stay behind it for any other character.
    if (!ownKai) ownKai = addOwnKai();
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
    // The menus' and dialogs' face, the desktop's choice, named by the face
    // that carries it.
    QFont menus = QApplication::font();
    if (const QString face = installedFace(menus.family()); face != menus.family())
        menus.setFamilies({face});
    // The game's own texts, which every control and the menu bar's titles
    // show in this font or in one that inherits its strategy, are Latin
    // letters, digits and Han characters, which need no shaping: Qt then
    // maps characters straight to glyphs and never sets HarfBuzz up for a
    // face, which costs the first frame half a millisecond and half a
    // megabyte. What is lost is kerning, which these faces have for none of
    // the texts shown but "11": the digits keep one width each, and a score
    // does not shift as it counts.
    menus.setStyleStrategy(QFont::PreferNoShaping);
    QApplication::setFont(menus);
}

QFont bannerFont() {
    QFont font = named(QStringLiteral("標楷體"));
    font.setPixelSize(pointsToPixels(60));
    font.setWeight(QFont::Normal);
    return font;
}

QFont gameOverFont() {
    QFont font = named(QStringLiteral("Arial"));
    font.setPixelSize(pointsToPixels(36));
    font.setWeight(QFont::Normal);
    return font;
}

QFont textBoxFont() {
    QFont font = named(QString::fromUtf8(form::kTextFontFamily));  // the page's face and size
    font.setPixelSize(form::kTextFontPixels);
    font.setWeight(QFont::Normal);
    return font;
}

QFont shapedFont() {
    QFont font;  // only the strategy set: the face and size stay the desktop's
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

QFont expertCaptionFont() {
    QFont font = textBoxFont();
    // The Kai face alone, which has 高手 and the Latin letters: with a list
    // of faces Qt would have fontconfig sort every face for fallbacks as
    // well, a million instructions a script, for glyphs the face has.
    font.setFamilies({installedFace(QStringLiteral("標楷體"))});
    return font;
}

}  // namespace nubbo::ui
