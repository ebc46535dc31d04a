// The idle cost of gamepads: the real window at rest (before the first
// game), its CPU over SECONDS with no pad, then with an SDL virtual pad
// plugged in and left untouched, then with it pulled out again, RUNS times
// side by side. CPU is every thread's, from /proc/self/task/*/schedstat, in
// percent of one core; also each phase's thread count and its busiest
// thread. Prints table rows. Usage: pad_idle [SECONDS [RUNS]]
#include <SDL.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "fonts.h"
#include "gamepads.h"
#include "main_window.h"
#include "platform_defaults.h"
#include "virtual_pad.h"

namespace {

// Each thread's CPU time in ns, by thread id, with its name.
struct Threads {
    std::map<QString, std::pair<QString, qint64>> byId;
    static Threads now() {
        Threads t;
        const QDir tasks(QStringLiteral("/proc/self/task"));
        for (const QString& id : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks.filePath(id + QStringLiteral("/schedstat")));
            QFile comm(tasks.filePath(id + QStringLiteral("/comm")));
            if (!stat.open(QIODevice::ReadOnly) || !comm.open(QIODevice::ReadOnly)) continue;
            t.byId[id] = {QString::fromUtf8(comm.readAll()).trimmed(),
                          stat.readAll().split(' ').value(0).toLongLong()};
        }
        return t;
    }
};

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Phase {
    double percent;
    int threads;
    QString busiest;
};

Phase measure(int ms) {
    const Threads before = Threads::now();
    QElapsedTimer wall;
    wall.start();
    runFor(ms);
    const Threads after = Threads::now();
    const double elapsedNs = double(wall.nsecsElapsed());
    qint64 total = 0, most = -1;
    QString busiest;
    for (const auto& [id, named] : after.byId) {
        const auto found = before.byId.find(id);
        const qint64 used = named.second - (found == before.byId.end() ? 0 : found->second.second);
        total += used;
        if (used > most) {
            most = used;
            busiest =
                QStringLiteral("%1 %2 ms").arg(named.first).arg(double(used) / 1e6, 0, 'f', 2);
        }
    }
    return {100.0 * double(total) / elapsedNs, int(after.byId.size()), busiest};
}

// A pad with a standard layout, plugged in as the test's are.
int plugIn() {
    return nubbo::test::attachVirtualPad();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    nubbo::ui::setPlatformDefaults();  // Qt's own event loop, as the game has
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    nubbo::ui::installFontSubstitutions();
    nubbo::ui::MainWindow window(1);
    window.show();
    window.load();
    window.activateWindow();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "pad_idle: SDL: %s\n", SDL_GetError());
        return 1;
    }
    auto* pads = window.findChild<nubbo::ui::Gamepads*>(QStringLiteral("gamepads"));
    runFor(2000);  // start-up done
    std::vector<double> none, plugged, after;
    Phase last[3];
    for (int run = 0; run < runs; ++run) {
        last[0] = measure(seconds * 1000);
        none.push_back(last[0].percent);
        const int device = plugIn();
        pads->rescan();
        runFor(500);
        last[1] = measure(seconds * 1000);
        plugged.push_back(last[1].percent);
        SDL_JoystickDetachVirtual(device);
        runFor(500);
        last[2] = measure(seconds * 1000);
        after.push_back(last[2].percent);
        std::fprintf(stderr,
                     "run %d: no pad %.3f %%, a pad %.3f %%, pulled out %.3f %% (open %d)\n",
                     run + 1, none.back(), plugged.back(), after.back(), pads->openCount());
    }
    const char* names[] = {"no pad", "a virtual pad plugged in, untouched",
                           "the pad pulled out again"};
    const std::vector<double>* figures[] = {&none, &plugged, &after};
    for (int k = 0; k < 3; ++k)
        std::printf(
            "| CPU of the window at rest, %s (median of %d runs of %d s) | %.3f %% | %s |\n",
            names[k], runs, seconds, median(*figures[k]), k == 1 ? "-" : "<= 0.05 %");
    for (int k = 0; k < 3; ++k)
        std::printf("| threads, %s: count, and the busiest over %d s | %d; %s | - |\n", names[k],
                    seconds, last[k].threads, qPrintable(last[k].busiest));
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    return 0;
}
