// Gamepads on the real window, on Qt's offscreen platform: SDL's virtual
// pads stand in for pads plugged in, and what each control does is read
// from the board's pixels.
#include <SDL.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <memory>

#include "board_view.h"
#include "fonts.h"
#include "form_layout.h"
#include "gamepads.h"
#include "main_window.h"
#include "open_window.h"
#include "virtual_pad.h"

using nubbo::ui::Gamepads;
using nubbo::ui::MainWindow;
namespace form = nubbo::form;

namespace {

// A pad with a standard layout, attached to SDL as if plugged in.
class VirtualPad {
  public:
    VirtualPad() {
        joystick_ = SDL_JoystickOpen(nubbo::test::attachVirtualPad());
        if (!joystick_) qFatal("no virtual pad: %s", SDL_GetError());
    }
    ~VirtualPad() { unplug(); }
    void unplug() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int device = 0; device < SDL_NumJoysticks(); ++device)
            if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
    }
    void button(int which, bool down) { SDL_JoystickSetVirtualButton(joystick_, which, down); }
    void axis(int which, int value) { SDL_JoystickSetVirtualAxis(joystick_, which, Sint16(value)); }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

// A control of the pad: a button, or an axis pushed to a value.
struct Control {
    int button = -1, axis = -1, value = 0;
    void set(VirtualPad& pad, bool on) const {
        if (button >= 0)
            pad.button(button, on);
        else
            pad.axis(axis, on ? value : 0);
    }
};

QImage tile(int k) {
    return QImage(QStringLiteral(":/tiles/tile%1.png").arg(k))
        .convertToFormat(QImage::Format_RGB32);
}

// A board cell's top-left corner in pixels of the client area.
int cellX(int col) {
    return form::kBoard.left + form::kCell * col;
}
int cellY(int row) {
    return form::kBoard.top + form::kCell * row;
}

// Every thread's CPU time so far, from the scheduler's accounting.
qint64 cpuNs() {
    qint64 total = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/self/task/%1/schedstat").arg(task));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toLongLong();
    }
    return total;
}

}  // namespace

Q_DECLARE_METATYPE(Control)

class GamepadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    const int poll = 3 * Gamepads::kPollMs;  // long enough for a read of the pads

    Gamepads& gamepads() { return *window->findChild<Gamepads*>(QStringLiteral("gamepads")); }
    QLabel& banner() { return *window->findChild<QLabel*>(QStringLiteral("banner")); }
    bool paused() { return banner().isVisible() && banner().text() == QStringLiteral("PAUSE"); }

    // The falling piece as a player sees it: column, top row, tiles.
    struct Piece {
        int col = -1, row = -1;
        QList<int> tiles;
        bool operator==(const Piece&) const = default;
    };
    Piece piece() {
        const QImage buffer = window->findChild<nubbo::ui::BoardView*>()->snapshot();
        auto picture = [&](int row, int col) {
            const QImage cell = buffer.copy(cellX(col), cellY(row), form::kCell, form::kCell);
            for (int k = 0; k < 8; ++k)
                if (cell == tile(k)) return k;
            return -1;
        };
        for (int col = 0; col < 8; ++col)
            for (int row = 0; row < 13; ++row)
                if (picture(row, col) != 6) {
                    Piece p{col, row, {}};
                    for (int k = row; k < row + 3 && k < 13; ++k) p.tiles.append(picture(k, col));
                    return p;
                }
        return {};
    }
    // The piece's column alone, quickly: the first with a cell not empty.
    int column() {
        const QImage buffer = window->findChild<nubbo::ui::BoardView*>()->snapshot();
        static const QImage empty = tile(6);
        for (int col = 0; col < 8; ++col)
            for (int row = 0; row < 13; ++row)
                for (int y = 0; y < form::kCell; ++y)
                    if (std::memcmp(buffer.constScanLine(cellY(row) + y) + 4 * cellX(col),
                                    empty.constScanLine(y), 4 * form::kCell) != 0)
                        return col;
        return -1;
    }

    // A pad plugged in, as the notice of its device node would report it.
    std::unique_ptr<VirtualPad> plugIn() {
        auto pad = std::make_unique<VirtualPad>();
        gamepads().rescan();
        return pad;
    }
    void press(VirtualPad& pad, const Control& control) {
        control.set(pad, true);
        QTest::qWait(poll);
        control.set(pad, false);
        QTest::qWait(poll);
    }
    static Control button(int which) { return {which, -1, 0}; }

    std::unique_ptr<VirtualPad> pad;

    // A new game by the pad's Back button: its first piece at the top of
    // the spawn column.
    [[nodiscard]] bool newGame() {
        press(*pad, button(SDL_CONTROLLER_BUTTON_BACK));
        // (On a busy machine the first fall step may come before the look.)
        return QTest::qWaitFor([&] { return piece().col == 3 && piece().row <= 1; });
    }

  private slots:
    void initTestCase() {
        nubbo::ui::installFontSubstitutions();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        QVERIFY(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0);
    }
    void cleanupTestCase() { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }

    void init() {
        window = nubbo::test::openWindow();
        QVERIFY(window);
        pad = plugIn();
        QCOMPARE(gamepads().openCount(), 1);
        QTRY_VERIFY(gamepads().active());  // told of the activation
    }
    void cleanup() {
        pad.reset();
        window.reset();
    }

    // With no pad, nothing polls and no thread of SDL's spins. The CPU bound
    // is loose, for a busy machine and the sanitizers: a spinning thread
    // takes the whole second.
    void noPadCostsNothing() {
        pad.reset();
        QTest::qWait(poll);
        QCOMPARE(gamepads().openCount(), 0);
        QVERIFY(!gamepads().polling());
        const qint64 before = cpuNs();
        QTest::qWait(1000);
        const qint64 used = cpuNs() - before;
        QVERIFY2(used < 200'000'000, qPrintable(QStringLiteral("%1 ns in 1 s").arg(used)));
    }

    // Each control after Game > Pause by Start: it resumes the game and does
    // what its key does, read at once (the fall restarts its countdown).
    void eachControlIsItsKey_data() {
        QTest::addColumn<Control>("control");
        QTest::addColumn<int>("cols");  // columns moved
        QTest::addColumn<int>("rows");  // rows dropped
        QTest::addColumn<bool>("rotates");
        QTest::addColumn<bool>("resumes");
        const Control leftX{-1, SDL_CONTROLLER_AXIS_LEFTX, 0},
            leftY{-1, SDL_CONTROLLER_AXIS_LEFTY, 0};
        auto at = [](Control axis, int value) { return Control{-1, axis.axis, value}; };
        auto row = [](const char* name, Control control, int cols, int rows, bool rotates,
                      bool resumes) {
            QTest::newRow(name) << control << cols << rows << rotates << resumes;
        };
        row("D-pad left", button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), -1, 0, false, true);
        row("D-pad right", button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 1, 0, false, true);
        row("D-pad down", button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 0, 1, false, true);
        row("D-pad up", button(SDL_CONTROLLER_BUTTON_DPAD_UP), 0, 0, true, true);
        row("A", button(SDL_CONTROLLER_BUTTON_A), 0, 0, true, true);
        row("stick left", at(leftX, -32768), -1, 0, false, true);
        row("stick right", at(leftX, 32767), 1, 0, false, true);
        row("stick down", at(leftY, 32767), 0, 1, false, true);
        // Other buttons are keys the game does not use: they only resume.
        row("B", button(SDL_CONTROLLER_BUTTON_B), 0, 0, false, true);
        row("Y", button(SDL_CONTROLLER_BUTTON_Y), 0, 0, false, true);
        row("shoulder", button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), 0, 0, false, true);
        // The stick's up, a push inside the dead zone and the other stick
        // are no key at all.
        row("stick up", at(leftY, -32768), 0, 0, false, false);
        row("stick inside the dead zone", at(leftX, -16000), 0, 0, false, false);
        row("right stick", Control{-1, SDL_CONTROLLER_AXIS_RIGHTX, -32768}, 0, 0, false, false);
    }
    void eachControlIsItsKey() {
        QFETCH(Control, control);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(bool, rotates);
        QFETCH(bool, resumes);
        QVERIFY(newGame());
        press(*pad, button(SDL_CONTROLLER_BUTTON_START));
        QTRY_VERIFY(paused());
        const Piece before = piece();
        QTest::qWait(300);
        QCOMPARE(piece(), before);  // paused
        press(*pad, control);
        const QList<int> t = before.tiles;
        const Piece expected{before.col + cols, before.row + rows,
                             rotates ? QList<int>{t[1], t[2], t[0]} : t};
        QCOMPARE(piece(), expected);
        // Resumed, the piece falls on; else it stays.
        if (resumes) {
            QTRY_COMPARE_WITH_TIMEOUT(piece().row, expected.row + 1, 1500);
        } else {
            QTest::qWait(700);
            QCOMPARE(piece(), expected);
        }
    }

    // Two pads pressing at once are two key presses in one turn of the
    // event loop: the key gate lets the first through, as it would two keys
    // (the second too when the gate's 10 ms tick falls between them, which
    // a millisecond clock now and then shows, on a busy machine twice in
    // three). With no gate, all six would pass.
    void twoPadsAtOnceMeetTheKeyGate() {
        QVERIFY(newGame());
        auto second = plugIn();
        const int from = piece().row;
        // Each time paused first, so that no fall step comes between.
        for (int n = 0; n < 3; ++n) {
            press(*pad, button(SDL_CONTROLLER_BUTTON_START));
            for (VirtualPad* p : {pad.get(), second.get()})
                button(SDL_CONTROLLER_BUTTON_DPAD_DOWN).set(*p, true);
            QTest::qWait(poll);
            for (VirtualPad* p : {pad.get(), second.get()})
                button(SDL_CONTROLLER_BUTTON_DPAD_DOWN).set(*p, false);
            QTest::qWait(poll);
        }
        const int dropped = piece().row - from;
        QVERIFY2(dropped >= 3 && dropped <= 5, qPrintable(QString::number(dropped)));
    }

    // A held direction repeats as a held key does: one press, then after the
    // repeat delay one every interval.
    void aHeldDirectionRepeats() {
        QVERIFY(newGame());
        const Control right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        QList<std::pair<qint64, int>> moves{{0, column()}};  // when the column changed, to which
        QElapsedTimer since;
        since.start();
        right.set(*pad, true);
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            const int col = column();
            if (moves.isEmpty() || moves.last().second != col) moves.append({since.elapsed(), col});
        });
        watch.start(1);
        QTest::qWait(900);
        right.set(*pad, false);
        QStringList seen;
        for (auto [at, col] : moves) seen << QStringLiteral("%1 ms: %2").arg(at).arg(col);
        const QString what = seen.join(QStringLiteral(", "));
        // When the column first reached `col` (a busy loop may skip a sample).
        auto when = [&](int col) {
            for (auto [at, c] : moves)
                if (c >= col) return at;
            return qint64(100000);
        };
        QVERIFY2(moves.last().second == 7, qPrintable(what));
        QVERIFY2(when(4) < 100, qPrintable(what));
        // The first repeat after the delay (500 ms on the offscreen
        // platform), the next ones 1/30 s apart, give or take a read and a
        // busy machine (pad_input_test holds the exact instants).
        QVERIFY2(when(5) - when(4) >= 480 && when(5) - when(4) < 800, qPrintable(what));
        const double step = (when(7) - when(5)) / 2.0;
        QVERIFY2(step >= 20 && step <= 90, qPrintable(what));
    }

    // Pads come and go mid-game: the new one plays, one pulled out while
    // held repeats no more, and with the last gone nothing polls.
    void padsComeAndGo() {
        QVERIFY(newGame());
        auto second = plugIn();
        press(*second, button(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
        QCOMPARE(piece().col, 2);
        button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT).set(*pad, true);
        QTest::qWait(poll);
        QCOMPARE(piece().col, 3);
        pad->unplug();
        QTest::qWait(900);
        QCOMPARE(piece().col, 3);  // no repeat after it went
        QCOMPARE(gamepads().openCount(), 1);
        press(*second, button(SDL_CONTROLLER_BUTTON_A));
        press(*second, button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
        QCOMPARE(piece().col, 4);
        second.reset();
        QTest::qWait(poll);
        QCOMPARE(gamepads().openCount(), 0);
        QVERIFY(!gamepads().polling());
        pad = plugIn();  // and plugged in again
        press(*pad, button(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
        QCOMPARE(piece().col, 3);
    }

    // Back deals a new game from the prompt, and again mid-game.
    void backStartsANewGame() {
        QCOMPARE(banner().text(), QStringLiteral("按F2"));
        QVERIFY(newGame());
        press(*pad, button(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
        QCOMPARE(piece().col, 2);
        QVERIFY(newGame());
    }

    // A window that lost the focus paused, and a pad does not resume it;
    // back in the window, it does.
    void aPadActsOnlyOnTheActiveWindow() {
        QVERIFY(newGame());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(paused());
        const Piece still = piece();
        for (int b :
             {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_BACK})
            press(*pad, button(b));
        QTest::qWait(600);
        QCOMPARE(piece(), still);
        QVERIFY(paused());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        press(*pad, button(SDL_CONTROLLER_BUTTON_B));
        QTRY_COMPARE_WITH_TIMEOUT(piece().row, still.row + 1, 1500);
    }
};

QTEST_MAIN(GamepadTest)
#include "gamepad_test.moc"
