#pragma once

#include <QFont>
#include <thread>

namespace nubbo::ui {

// The program's own Kai face: the glyphs of AR PL UKai TW that the banner
// and 高手 show, compiled in (assets/make_kai_font.py).
inline const QString kOwnKaiFamily = QStringLiteral("Nubbo Kai");

// Reads the system's font configuration (fontconfig's files and caches) on a
// thread of its own, started before Qt connects to the display: Qt spends
// most of that connection waiting on the display server, and the read, which
// the first text needs, is then done by the time the window is built. Join
// the thread before any font is used. An empty thread if none can be
// started: Qt then reads the configuration itself, as it needs it. Sets the
// process's locale from the environment first, as Qt would after.
std::jthread readFontConfigurationAhead();

// Loads the program's own Kai face and maps the window's font faces to the
// fonts that carry them: the Kai face of the banner to that face, then to
// Debian's AR PL UKai, Arial to Liberation Sans (same metrics), and Qt's
// generic default face to DejaVu Sans in every locale. The menus' face, if
// the desktop names one only through such a mapping, is then named by the
// face that carries it, and made the program's default font, unshaped; the
// faces below are named by their faces too.
void installFontSubstitutions();

QFont bannerFont();    // the banner: Kai, 60 pt
QFont gameOverFont();  // "GAME OVER": Arial, 36 pt
// The text boxes: the form's face and size (Arial, 12 px), as the page
// shows them.
QFont textBoxFont();

// The desktop's face, shaped, for the menus and the Help dialog, which show
// it as any program's do. The program's default font is unshaped, and the
// faces above, which leave the strategy unset, inherit that on the window.
QFont shapedFont();

// The text boxes' font with the banner's Kai face behind it, for 高手: the
// characters come from the face the banner loads anyway, not from a second
// face of the same large font file.
QFont expertCaptionFont();

}  // namespace nubbo::ui
