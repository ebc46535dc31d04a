// nubbo: the game window.
#include <malloc.h>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app_style.h"
#include "fonts.h"
#include "main_window.h"
#include "platform_defaults.h"
#include "program_start.h"
#include "wayland_exit.h"
#include "x11_key_releases.h"
#ifdef NUBBO_TIMING
#include "timing_log.h"
#endif

int main(int argc, char** argv) {
    // The game's window counts as created when the program started: its
    // timers run while the libraries load and Qt and the controls are set up.
    const auto started = nubbo::ui::programStart();
    // Without a display Qt would abort with a long message; say it in one line.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "nubbo: no display to open the window on\n");
        return 1;
    }
    nubbo::ui::setPlatformDefaults();
    // One malloc arena for all threads: the program has a handful, and what
    // one frees (reading the font configuration leaves much) is then there
    // for the others to reuse, not kept in an arena of its own.
    mallopt(M_ARENA_MAX, 1);
    std::jthread fontConfiguration = nubbo::ui::readFontConfigurationAhead();
    QApplication app(argc, argv);
    if (fontConfiguration.joinable()) fontConfiguration.join();
    QApplication::setApplicationName(QStringLiteral("nubbo"));
    // The caption doubles as the name shown to the player; being the title's
    // own text, it is not appended to the title a second time.
    QApplication::setApplicationDisplayName(nubbo::ui::MainWindow::caption());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nubbo.Nubbo"));
    nubbo::ui::installAppStyle();
    nubbo::ui::installFontSubstitutions();

    // Every run deals a different sequence of tiles, unless NUBBO_SEED names
    // one (a whole number): the end-to-end tests replay a known game with it.
    auto seed = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    if (const char* fixed = std::getenv("NUBBO_SEED"); fixed && *fixed >= '0' && *fixed <= '9') {
        char* end = nullptr;
        const auto value = std::strtoull(fixed, &end, 10);
        if (*end == '\0') seed = value;
    }
#ifdef NUBBO_TIMING
    nubbo::ui::TimingLog timing;
    nubbo::ui::MainWindow window(seed, &timing, started);
    window.setTimingLog(&timing);
#else
    nubbo::ui::MainWindow window(seed, nullptr, started);
#endif
    window.show();
    nubbo::ui::stopKeyReleases(window);
    window.load();
    const int status = app.exec();
#ifdef NUBBO_TIMING
    timing.report();
#endif
    nubbo::ui::endNowOnWayland(status);
    return status;
}
