// nubbo: the game window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "fonts.h"
#include "main_window.h"

int main(int argc, char** argv) {
    // Without a display Qt would abort with a long message; say it in one line.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "nubbo: no display to open the window on\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("nubbo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nubbo.Nubbo"));
    nubbo::ui::installFontSubstitutions();

    nubbo::ui::MainWindow window;
    window.show();
    window.load();
    return app.exec();
}
