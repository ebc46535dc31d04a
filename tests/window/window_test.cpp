// The window as a player sees it, on Qt's offscreen platform.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <clocale>

#include "board_view.h"
#include "fonts.h"
#include "form_layout.h"
#ifdef NUBBO_GAMEPADS
#include "gamepads.h"
#endif
#include "main_window.h"
#include "open_window.h"
#include "program_start.h"

using nubbo::ui::MainWindow;

namespace {

const QColor kPink(255, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);

namespace form = nubbo::form;

QRect box(const form::Box& b) {
    return {b.left, b.top, b.width, b.height};
}

// The top-left corner of a board cell in pixels of the client area.
QPoint cellPx(int row, int col) {
    return {form::kBoard.left + form::kCell * col, form::kBoard.top + form::kCell * row};
}

QImage tile(int k) {
    return QImage(QStringLiteral(":/tiles/tile%1.png").arg(k))
        .convertToFormat(QImage::Format_RGB32);
}

int countColour(const QImage& image, const QRect& rect, const QColor& colour) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

// Records the paint events a widget receives.
class PaintSpy : public QObject {
  public:
    explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRect> rects;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(event)->region().boundingRect());
        return false;
    }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    // The window's parts, found by name as a player names them.
    template <typename T = QWidget>
    T* part(const QString& name, const MainWindow* in = nullptr) {
        T* found = (in ? in : window.get())->findChild<T*>(name);
        if (!found) qFatal("no part %s", qPrintable(name));
        return found;
    }
    nubbo::ui::BoardView& board() { return *part<nubbo::ui::BoardView>("board"); }
    QCheckBox& expertBox() { return *part<QCheckBox>("expertBox"); }
    QLabel& gameOverLabel() { return *part<QLabel>("gameOverLabel"); }
    QLabel& banner() { return *part<QLabel>("banner"); }
    QLineEdit& scoreBox() { return *part<QLineEdit>("scoreBox"); }
    QLineEdit& levelBox() { return *part<QLineEdit>("levelBox"); }
    QAction& action(const QString& name) { return *window->findChild<QAction*>(name); }

    // The client area as it would be shown: the board with the
    // controls and the labels over it.
    QImage client() { return board().grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The picture a board cell shows, or -1 for none of the eight.
    int picture(int row, int col) {
        const QImage cell = board().snapshot().copy(QRect(cellPx(row, col), QSize(32, 32)));
        for (int k = 0; k < 8; ++k)
            if (cell == tile(k)) return k;
        return -1;
    }
    // The column of the falling piece's three pictures, top to bottom, and
    // the row of its top tile, read from the board as a player sees it.
    struct Piece {
        int col = -1, row = -1;
        QList<int> tiles;
    };
    Piece piece() {
        Piece p;
        for (int col = 0; col < 8 && p.col < 0; ++col)
            for (int row = 0; row < 13; ++row)
                if (picture(row, col) != 6) {
                    p = {col, row, {}};
                    for (int k = row; k < row + 3 && k < 13; ++k) p.tiles.append(picture(k, col));
                    break;
                }
        return p;
    }
    // Starts a game and waits for its first piece to be shown.
    void newGame() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        QTRY_COMPARE(piece().col, 3);
    }

    // Runs the application until the window ends it (0) or `ms` pass (1).
    int runUntilEnd(int ms) {
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        timeout.start(ms);
        return QCoreApplication::exec();
    }

  private slots:
    void initTestCase() { nubbo::ui::installFontSubstitutions(); }

    void init() {
        window = nubbo::test::openWindow();
        QVERIFY(window);
    }
    void cleanup() { window.reset(); }

    void captionAndFixedSize() {
        QCOMPARE(window->windowTitle(), QStringLiteral("完全NUBBO方塊版"));
        QCOMPARE(board().size(), QSize(form::kWidth, form::kHeight));
        QCOMPARE(board().y(), window->menuBar()->height());
        QCOMPARE(window->size(), QSize(form::kWidth, form::kHeight + window->menuBar()->height()));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        // The icon comes once the first frame is painted.
        QTRY_VERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const struct {
            const char* name;
            form::Box place;
            QString text;
        } rows[] = {
            {"expertBox", form::kExpertBox, {}},
            {"expertCaption", form::kExpertCaption, QStringLiteral("高手")},
            {"levelCaption", form::kLevelCaption, QStringLiteral("Level:")},
            {"levelBox", form::kLevelBox, {}},
            {"scoreCaption", form::kScoreCaption, QStringLiteral("Score:")},
            {"scoreBox", form::kScoreBox, {}},
            {"credits", form::kCredits, {}},
            {"gameOverLabel", form::kGameOverLabel, QStringLiteral("GAME OVER")},
            {"banner", form::kBanner, QStringLiteral("按F2")},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.name << box(row.place) << row.text;
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QWidget* widget = part(name);
        QCOMPARE(widget->parentWidget(), &board());
        QCOMPARE(widget->geometry(), geometry);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            // The score and level are empty until the first repaint: read a window
            // that has not been loaded.
            MainWindow fresh(1);
            const QLineEdit* before = part<QLineEdit>(name, &fresh);
            if (name == QLatin1String("credits"))
                QVERIFY(!before->text().isEmpty());  // the credit line
            else
                QCOMPARE(before->text(), text);
            QCOMPARE(edit->focusPolicy(), Qt::NoFocus);
            QVERIFY(edit->isReadOnly());
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->palette().color(QPalette::WindowText), kBlue);
        }
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            QVERIFY(!box->isChecked());
            QVERIFY(box->text().isEmpty());
        }
    }

    void labelsAreHiddenUntilLoadShowsThePrompt() {
        MainWindow fresh(1);
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QLabel* label1 = part<QLabel>("gameOverLabel", &fresh);
        QLabel* label2 = part<QLabel>("banner", &fresh);
        QVERIFY(!label1->isVisible());
        QVERIFY(!label2->isVisible());
        fresh.load();
        QVERIFY(!label1->isVisible());
        QVERIFY(label2->isVisible());
        QCOMPARE(label2->text(), QStringLiteral("按F2"));
    }

    // Counted from the program's start, as the program counts it, the game's
    // first repaint is due by the load, however fast the window maps: the
    // first frame shows the board's cells, not a board without them that a
    // second frame fills in whole.
    void theFirstFrameShowsTheCells() {
        MainWindow fresh(1, nullptr, nubbo::ui::programStart());
        PaintSpy spy(part<nubbo::ui::BoardView>("board", &fresh));
        fresh.show();
        fresh.load();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QTRY_COMPARE(part<QLineEdit>("scoreBox", &fresh)->text(), QStringLiteral("0"));
        QCoreApplication::processEvents();
        const QRect firstCell(cellPx(0, 0), QSize(form::kCell, form::kCell));
        QCOMPARE(std::count_if(spy.rects.begin(), spy.rects.end(),
                               [&](const QRect& r) { return r.intersects(firstCell); }),
                 1);
    }

    void startUpShowsScoreAndLevelAfterTheFirstRepaint() {
        QTRY_COMPARE(scoreBox().text(), QStringLiteral("0"));
        QCOMPARE(levelBox().text(), QStringLiteral("1"));
    }

    // Pink around a white board of 8 x 13 cells, the blue prompt over it.
    void startUpLooksRight() {
        QTRY_COMPARE(board().snapshot().pixelColor(cellPx(12, 7) + QPoint(31, 31)), kWhite);
        const QImage shot = client();
        QCOMPARE(shot.size(), QSize(form::kWidth, form::kHeight));
        QCOMPARE(shot.pixelColor(5, 100), kPink);    // left of the board
        QCOMPARE(shot.pixelColor(12, 67), kPink);    // just left of cell (0, 0)
        QCOMPARE(shot.pixelColor(13, 66), kPink);    // just above it
        QCOMPARE(shot.pixelColor(269, 483), kPink);  // just past cell (12, 7)
        QCOMPARE(shot.pixelColor(150, 40), kPink);   // between the boxes and the board
        QCOMPARE(countColour(shot, QRect(13, 67, 256, 133), kWhite),
                 256 * 133);  // rows above the banner
        QCOMPARE(countColour(shot, box(form::kBoard), kBlue) > 300, true);
        QCOMPARE(countColour(shot, box(form::kBanner), kBlue) > 300, true);
        QCOMPARE(countColour(shot, QRect(0, 0, form::kWidth, form::kHeight), kBlue),
                 countColour(shot, box(form::kBanner), kBlue));  // GAME OVER hidden
    }

    void labelsPaintOverTheBoard() {
        const QRect banner = box(form::kBanner);
        QTRY_VERIFY(countColour(client(), banner, kBlue) > 300);
        const QImage before = client();
        for (int row = 4; row <= 6; ++row)
            for (int col = 0; col < 8; ++col) window->paintCell(row, col, 3);
        QCoreApplication::processEvents();
        const QImage after = client();
        for (int y = banner.top(); y <= banner.bottom(); ++y)
            for (int x = banner.left(); x <= banner.right(); ++x)
                if (before.pixelColor(x, y) == kBlue) QCOMPARE(after.pixelColor(x, y), kBlue);
        // Clicks on a label reach the board beneath it.
        QCOMPARE(board().childAt(banner.center()), nullptr);
    }

    void fontsResolveToInstalledFamilies() {
        QCOMPARE(QFont::substitute(QStringLiteral("標楷體")), QStringLiteral("nubbo kai"));
        QCOMPARE(QFont::substitute(QStringLiteral("Arial")), QStringLiteral("liberation sans"));
        const QFontInfo kaiFace(banner().font());
        QCOMPARE(kaiFace.family(), QStringLiteral("Nubbo Kai"));
        QCOMPARE(kaiFace.pixelSize(), 80);
        QCOMPARE(kaiFace.weight(), int(QFont::Normal));
        // A Latin face to Qt, the Kai face is loaded once a size for both
        // the ideographs and the digits, not once for each.
        QVERIFY(QFontDatabase::writingSystems(kaiFace.family()).contains(QFontDatabase::Latin));
        const QFontInfo over(gameOverLabel().font());
        QCOMPARE(over.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(over.pixelSize(), 48);
        QCOMPARE(over.weight(), int(QFont::Normal));

        const QFontMetrics kai(banner().font());
        for (const QString text :
             {"按F2", "連扁", "第", "關", "完全NUBBO方塊版", "GAME OVER", "PAUSE", " 0123456789"})
            for (QChar ch : text) QVERIFY2(kai.inFont(ch), qPrintable(text + " " + ch));
        const QFontMetrics arial(gameOverLabel().font());
        for (QChar ch : QStringLiteral("GAME OVER")) QVERIFY(arial.inFont(ch));
        // Every text box 12 pixels high, as on the page, and in the page's
        // face but for 高手, which only the Kai face has.
        for (const QLineEdit* edit : board().findChildren<QLineEdit*>()) {
            const QFontInfo face(edit->font());
            QCOMPARE(face.pixelSize(), 12);
            if (edit->objectName() != QLatin1String("expertCaption"))
                QCOMPARE(face.family(), QStringLiteral("Liberation Sans"));
        }
        // The digits keep one width each, unkerned, so that a score does not
        // shift as it counts: Liberation Sans would close "11" up.
        const QFontMetricsF digits(scoreBox().font());
        QCOMPARE(digits.horizontalAdvance(QStringLiteral("1100")),
                 4 * digits.horizontalAdvance(QLatin1Char('0')));
        const QFontMetrics plain(part<QLineEdit>("expertCaption")->font());
        for (QChar ch : QStringLiteral("高手完全NUBBO方塊版Level:Score:"))
            QVERIFY2(plain.inFont(ch), qPrintable(QString(ch)));
    }

    // 高手 in its text box and the banner come from the program's own Kai
    // face: the 17 MB font file, of which each mapping keeps megabytes
    // resident, is not mapped at all.
    void theKaiFontFileIsNotMapped() {
        QTRY_VERIFY(countColour(client(), box(form::kBanner), kBlue) > 300);
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly | QIODevice::Text));
        int mappings = 0;
        for (const QByteArray& line : maps.readAll().split('\n'))
            if (line.endsWith("/ukai.ttc")) ++mappings;
        QCOMPARE(mappings, 0);
    }

    // The font configuration is read under the locale the program runs in,
    // set before the read starts rather than by Qt while it runs.
    void theFontConfigurationIsReadUnderTheFinalLocale() {
        const QByteArray before = std::setlocale(LC_ALL, nullptr);
        const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
        const QByteArray environment = qgetenv("LC_ALL");
        std::setlocale(LC_ALL, "C");
        qputenv("LC_ALL", "C.UTF-8");
        std::jthread reader = nubbo::ui::readFontConfigurationAhead();
        const QByteArray reading = std::setlocale(LC_ALL, nullptr);
        if (reader.joinable()) reader.join();
        wasSet ? qputenv("LC_ALL", environment) : qunsetenv("LC_ALL");
        std::setlocale(LC_ALL, before.constData());
        QCOMPARE(reading, QByteArray("C.UTF-8"));
    }

    // What the first frame does not show waits until it is painted: the
    // icon's pictures, and SDL, which is loaded at all only once a joystick
    // is plugged in.
    void theFirstFrameWaitsForNothingItDoesNotShow() {
        QVERIFY(nubbo::ui::MainWindow(2).windowIcon().isNull());
        QTRY_VERIFY(!window->windowIcon().isNull());
#ifdef NUBBO_GAMEPADS
        if (nubbo::ui::joystickPluggedIn()) QSKIP("a joystick is plugged in: SDL is started");
        QVERIFY(!window->findChild<nubbo::ui::Gamepads*>()->started());
#endif
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly | QIODevice::Text));
        QVERIFY(!maps.readAll().contains("libSDL2"));
    }

    void menuAndShortcuts() {
        const auto bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("Game"));
        QVERIFY(bar[0]->menu());
        const auto items = bar[0]->menu()->actions();
        QCOMPARE(items.size(), 3);
        // Unlike the window's own texts, the menu's are shaped (kerned) as
        // any program's menus are.
        QVERIFY(!(bar[0]->menu()->font().styleStrategy() & QFont::PreferNoShaping));
        const QList<std::pair<QString, Qt::Key>> expected = {
            {"New", Qt::Key_F2}, {"Pause", Qt::Key_F3}, {"Exit", Qt::Key_F4}};
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(items[n]->text(), expected[n].first);
            QCOMPARE(items[n]->shortcut(), QKeySequence(expected[n].second));
        }
        // Help is a command on the bar itself, with no drop-down.
        QCOMPARE(bar[1]->text(), QStringLiteral("Help"));
        QVERIFY(bar[1]->menu() == nullptr);
    }

    void boardPixelsAreTheTilePictures() {
        for (int k = 0; k < 8; ++k) {
            const int row = k, col = 7 - k;  // a different cell for each picture
            window->paintCell(row, col, k);
            QCOMPARE(board().snapshot().copy(QRect(cellPx(row, col), QSize(32, 32))), tile(k));
        }
        window->paintCell(12, 7, 7);  // the last cell
        QCOMPARE(board().snapshot().copy(QRect(cellPx(12, 7), QSize(32, 32))), tile(7));
        // Nothing beside the board was touched.
        const QImage buffer = board().snapshot();
        QCOMPARE(countColour(buffer, QRect(0, 67, 13, 416), kPink), 13 * 416);
        QCOMPARE(countColour(buffer, QRect(269, 67, 20, 416), kPink), 20 * 416);
        QCOMPARE(countColour(buffer, QRect(0, 483, 289, 5), kPink), 289 * 5);
    }

    // The game repaints the whole board every 10 ms; a board that does not
    // change costs no pixel and no screen update, and a changed cell only
    // its own.
    void unchangedCellsAskForNoUpdate() {
        QTRY_COMPARE(scoreBox().text(), QStringLiteral("0"));  // the first repaint is done
        QCoreApplication::processEvents();
        PaintSpy spy(&board());
        QTest::qWait(50);
        QCOMPARE(spy.rects, QList<QRect>());
        window->paintCell(9, 5, 6);  // the picture the cell shows already
        QTest::qWait(20);
        QCOMPARE(spy.rects, QList<QRect>());

        window->paintCell(9, 5, 4);
        QTRY_COMPARE(spy.rects.size(), 1);
        QVERIFY(QRect(cellPx(9, 5), QSize(32, 32)).contains(spy.rects[0]));
    }

    void f2DealsAPieceIntoTheSpawnColumn() {
        newGame();
        const Piece p = piece();
        QCOMPARE(p.row, 0);
        for (int t : p.tiles) QVERIFY2(t >= 0 && t < 5, qPrintable(QString::number(t)));
        QTRY_COMPARE_WITH_TIMEOUT(piece().row, 1, 1500);  // and it falls
    }

    void keysReachTheGameAndNotTheFocusedCheckBox() {
        newGame();
        expertBox().setFocus();
        const QList<int> tiles = piece().tiles;
        QTest::keyClick(&expertBox(), Qt::Key_Space);
        QVERIFY(!expertBox().isChecked());
        QCOMPARE(piece().tiles, (QList<int>{tiles[1], tiles[2], tiles[0]}));
        QTest::keyClick(&expertBox(), Qt::Key_Left);
        QCOMPARE(piece().col, 2);
        QTest::mouseClick(&expertBox(), Qt::LeftButton);
        QVERIFY(expertBox().isChecked());  // the mouse still ticks it
        QVERIFY(expertBox().hasFocus());
    }

    // A held key repeats; each repeat is a key press of its own for the game.
    void autoRepeatedKeysReachTheGame() {
        newGame();
        for (int n = 1; n <= 3; ++n) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&expertBox(), &repeat);
            QCOMPARE(piece().col, 3 + n);
            QTest::qWait(30);  // past the key gate's 10 ms
        }
    }

    void shortcutsWorkFromAnyControlAndAreNotAlsoKeys_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("F2 New") << int(Qt::Key_F2);
        QTest::newRow("F3 Pause") << int(Qt::Key_F3);
    }

    void shortcutsWorkFromAnyControlAndAreNotAlsoKeys() {
        QFETCH(int, key);
        newGame();
        QTest::keyClick(window.get(), Qt::Key_Right);  // the new piece moves away from column 3
        QCOMPARE(piece().col, 4);
        QTest::qWait(30);
        expertBox().setFocus();
        QTest::keyClick(&expertBox(), Qt::Key(key));
        if (key == Qt::Key_F2) {
            QTRY_COMPARE(piece().col, 3);  // a new piece, shown at the next repaint
            QVERIFY(!banner().isVisible());
        } else {
            // Paused: had F3 also reached the game as a key, the key would
            // have resumed the fall at once.
            QVERIFY(banner().isVisible());
            QCOMPARE(banner().text(), QStringLiteral("PAUSE"));
            const int row = piece().row;
            QTest::qWait(700);
            QCOMPARE(piece().row, row);
        }
    }

    void f4EndsTheProgram() {
        QTimer::singleShot(0, this, [&] { QTest::keyClick(&expertBox(), Qt::Key_F4); });
        QCOMPARE(runUntilEnd(3000), 0);
    }

    void theCloseBoxEndsTheProgram() {
        QTimer::singleShot(0, this, [&] { window->close(); });
        QCOMPARE(runUntilEnd(3000), 0);
    }

    // The box stays open longer than a fall step; the piece must not fall.
    void helpBoxStandsTheGameStill() {
        newGame();
        const auto score = scoreBox().text();
        // Read while the box is open, checked once it is closed.
        struct Seen {
            bool open = false;
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::Information;
            QList<QMessageBox::StandardButton> buttons;
            int row = -1;
        } seen;
        QTimer::singleShot(700, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = {true, box->windowTitle(), box->text(), box->icon(), {}, piece().row};
            for (QAbstractButton* button : box->buttons())
                seen.buttons.append(box->standardButton(button));
            box->done(0);
        });
        // The row as the box opens: a step already due then is taken first.
        int row = -1;
        QTimer::singleShot(0, this, [&] {
            if (QApplication::activeModalWidget()) row = piece().row;
        });
        action(QStringLiteral("help")).trigger();
        QVERIFY(seen.open);
        QCOMPARE(seen.title, QStringLiteral("完全NUBBO方塊版"));
        static const QRegularExpression message(
            QStringLiteral("^有問題請E-mail至[A-Za-z0-9._-]+@[A-Za-z0-9.-]+\\.[a-z]+$"));
        QVERIFY2(message.match(seen.text).hasMatch(), qPrintable(seen.text));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
        QVERIFY(row >= 0);
        QCOMPARE(seen.row, row);
        QCOMPARE(piece().row, row);
        QCOMPARE(scoreBox().text(), score);
        QTRY_COMPARE_WITH_TIMEOUT(piece().row, row + 1, 1500);  // and the fall goes on afterwards
    }

    void losingTheFocusPausesAFallingPiece() {
        newGame();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(banner().isVisible());
        QCOMPARE(banner().text(), QStringLiteral("PAUSE"));
        // On a slow machine the piece may have taken a step before the focus
        // went: what counts is that it takes none while paused.
        const int pausedRow = piece().row;
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::qWait(600);
        QCOMPARE(piece().row, pausedRow);  // still paused, until a key
        QCOMPARE(banner().text(), QStringLiteral("PAUSE"));
        QTest::keyClick(window.get(), Qt::Key_A);
        QTRY_COMPARE_WITH_TIMEOUT(piece().row, pausedRow + 1, 1500);
    }

    // The focus lost while the game stands still after a clearing: the hold
    // runs out, nothing falls, "PAUSE" shows until a key.
    void losingTheFocusDuringAHoldPausesTheGame() {
        window = nubbo::test::openWindow(27);  // its first piece: three equal tiles
        QVERIFY(window);
        newGame();
        const QList<int> tiles = piece().tiles;
        QCOMPARE(tiles.count(tiles[0]), 3);
        for (int presses = 0; piece().row < 10 && presses < 40; ++presses) {
            QTest::keyClick(window.get(), Qt::Key_Down);
            QTest::qWait(20);
        }
        QTRY_COMPARE_WITH_TIMEOUT(picture(12, 3), 7, 1000);  // landed and cleared: the hold
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(picture(12, 3), 7);  // the hold was still on when the focus went
        QVERIFY(banner().isVisible());
        QCOMPARE(banner().text(), QStringLiteral("PAUSE"));
        QTRY_COMPARE_WITH_TIMEOUT(picture(12, 3), 6, 1500);  // the hold ran out
        QTest::qWait(700);
        QCOMPARE(piece().col, 3);
        QCOMPARE(piece().row, 0);  // the next piece waits
        QVERIFY(banner().isVisible());
        QCOMPARE(banner().text(), QStringLiteral("PAUSE"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_A);
        QTRY_COMPARE_WITH_TIMEOUT(piece().row, 1, 1500);
        QVERIFY(!banner().isVisible());
    }

    void losingTheFocusLeavesAnIdleWindowAlone() {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(banner().text(), QStringLiteral("按F2"));
    }

    void minimisingPausesAFallingPiece() {
        newGame();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE(banner().text(), QStringLiteral("PAUSE"));
        const int pausedRow = piece().row;  // a slow window manager may let it step first
        QTest::qWait(600);
        QCOMPARE(piece().row, pausedRow);
    }

    // The program's own Kai face draws every text the window shows in it
    // pixel for pixel as the installed face does: the same outlines,
    // metrics and hinting. Last, as it maps the installed font file.
    void theOwnKaiFaceDrawsAsTheInstalledOne() {
        auto draw = [](const QString& family, int px, const QString& text) {
            QImage image(360, 120, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QFont font(family);
            font.setPixelSize(px);
            painter.setFont(font);
            painter.setPen(kBlue);
            painter.drawText(3, px + 5, text);
            return image;
        };
        for (const auto& [px, text] : std::initializer_list<std::pair<int, QString>>{
                 {11, "高手"}, {80, "按F2"}, {80, "PAUSE"}, {80, " 3連扁"}, {80, "第 12關"}}) {
            QVERIFY2(draw(nubbo::ui::kOwnKaiFamily, px, text) == draw("AR PL UKai TW", px, text),
                     qPrintable(text));
        }
        // 高手 in its text box, whose own face has no Chinese: the line is laid
        // out over both faces.
        auto box = [](const QString& kai) {
            QLineEdit edit(QStringLiteral("高手"));
            QFont font = nubbo::ui::textBoxFont();
            font.setFamilies({font.family(), kai});
            edit.setFont(font);
            edit.setGeometry(0, 0, form::kExpertCaption.width, form::kExpertCaption.height);
            return edit.grab().toImage();
        };
        QCOMPARE(box(nubbo::ui::kOwnKaiFamily), box(QStringLiteral("AR PL UKai TW")));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
