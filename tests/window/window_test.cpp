// The window as a player sees it, on Qt's offscreen platform.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include "fonts.h"
#include "main_window.h"

using nubbo::ui::MainWindow;

namespace {

const QColor kPink(255, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);

// Top-left corner, in points, of a board cell, as the game paints it.
int cellX(int col) {
    return 24 * col + 10;
}
int cellY(int row) {
    return 24 * row + 50;
}
// The same corner in pixels of the client area.
QPoint cellPx(int row, int col) {
    return {13 + 32 * col, 67 + 32 * row};
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

    // The client area as it would be shown: the back buffer with the
    // controls and the labels over it.
    QImage client() {
        return window->board().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget* control(const QString& name) {
        if (name == QLatin1String("Check1")) return &window->check1();
        if (name == QLatin1String("Label1")) return &window->label1();
        if (name == QLatin1String("Label2")) return &window->label2();
        return &window->text(name.mid(4).toInt());
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
        window = std::make_unique<MainWindow>();
        window->show();
        window->load();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void captionAndFixedSize() {
        QCOMPARE(window->windowTitle(), QStringLiteral("完全NUBBO方塊版"));
        QCOMPARE(window->board().size(), QSize(289, 508));
        QCOMPARE(window->board().y(), window->menuBar()->height());
        QCOMPARE(window->size(), QSize(289, 508 + window->menuBar()->height()));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("Check1") << "Check1" << QRect(40, 0, 17, 17) << QString();
        QTest::newRow("Text7") << "Text7" << QRect(56, 0, 33, 18) << QStringLiteral("高手");
        QTest::newRow("Text3") << "Text3" << QRect(96, 0, 41, 18) << QStringLiteral("Level:");
        QTest::newRow("Text4") << "Text4" << QRect(136, 0, 25, 18) << QString();
        QTest::newRow("Text2") << "Text2" << QRect(192, 0, 41, 18) << QStringLiteral("Score:");
        QTest::newRow("Text1") << "Text1" << QRect(232, 0, 49, 18) << QString();
        QTest::newRow("Text6") << "Text6" << QRect(8, 488, 265, 18) << QString();
        QTest::newRow("Label1") << "Label1" << QRect(72, 184, 145, 113)
                                << QStringLiteral("GAME OVER");
        QTest::newRow("Label2") << "Label2" << QRect(8, 200, 273, 81) << QStringLiteral("按F2");
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QWidget* widget = control(name);
        QCOMPARE(widget->parentWidget(), &window->board());
        QCOMPARE(widget->geometry(), geometry);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            // Text1 and Text4 are empty until the first repaint: read a window
            // that has not been loaded.
            MainWindow fresh;
            const QLineEdit* before = &fresh.text(name.mid(4).toInt());
            if (name == QLatin1String("Text6"))
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
        MainWindow fresh;
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QVERIFY(!fresh.label1().isVisible());
        QVERIFY(!fresh.label2().isVisible());
        fresh.load();
        QVERIFY(!fresh.label1().isVisible());
        QVERIFY(fresh.label2().isVisible());
        QCOMPARE(fresh.label2().text(), QStringLiteral("按F2"));
    }

    void startUpShowsScoreAndLevelAfterTheFirstRepaint() {
        QTRY_COMPARE(window->text(1).text(), QStringLiteral("0"));
        QCOMPARE(window->text(4).text(), QStringLiteral("1"));
    }

    // Pink around a white board of 8 x 13 cells, the blue prompt over it.
    void startUpLooksRight() {
        QTRY_COMPARE(window->board().buffer().pixelColor(cellPx(12, 7) + QPoint(31, 31)), kWhite);
        const QImage shot = client();
        QCOMPARE(shot.size(), QSize(289, 508));
        QCOMPARE(shot.pixelColor(5, 100), kPink);    // left of the board
        QCOMPARE(shot.pixelColor(12, 67), kPink);    // just left of cell (0, 0)
        QCOMPARE(shot.pixelColor(13, 66), kPink);    // just above it
        QCOMPARE(shot.pixelColor(269, 483), kPink);  // just past cell (12, 7)
        QCOMPARE(shot.pixelColor(150, 40), kPink);   // between the boxes and the board
        QCOMPARE(countColour(shot, QRect(13, 67, 256, 133), kWhite),
                 256 * 133);  // rows above the banner
        QCOMPARE(countColour(shot, QRect(13, 67, 256, 416), kBlue) > 300, true);
        QCOMPARE(countColour(shot, QRect(8, 200, 273, 81), kBlue) > 300, true);
        QCOMPARE(countColour(shot, QRect(0, 0, 289, 508), kBlue),
                 countColour(shot, QRect(8, 200, 273, 81), kBlue));  // GAME OVER hidden
    }

    void labelsPaintOverTheBoard() {
        const QRect banner(8, 200, 273, 81);
        QTRY_VERIFY(countColour(client(), banner, kBlue) > 300);
        const QImage before = client();
        for (int row = 4; row <= 6; ++row)
            for (int col = 0; col < 8; ++col) window->paintPicture(3, cellX(col), cellY(row));
        QCoreApplication::processEvents();
        const QImage after = client();
        for (int y = banner.top(); y <= banner.bottom(); ++y)
            for (int x = banner.left(); x <= banner.right(); ++x)
                if (before.pixelColor(x, y) == kBlue) QCOMPARE(after.pixelColor(x, y), kBlue);
        // Clicks on a label reach the board beneath it.
        QCOMPARE(window->board().childAt(banner.center()), nullptr);
    }

    void fontsResolveToInstalledFamilies() {
        QCOMPARE(QFont::substitute(QStringLiteral("標楷體")), QStringLiteral("ar pl ukai tw"));
        QCOMPARE(QFont::substitute(QStringLiteral("Arial")), QStringLiteral("liberation sans"));
        const QFontInfo banner(window->label2().font());
        QCOMPARE(banner.family(), QStringLiteral("AR PL UKai TW"));
        QCOMPARE(banner.pixelSize(), 80);
        QCOMPARE(banner.weight(), int(QFont::Normal));
        const QFontInfo over(window->label1().font());
        QCOMPARE(over.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(over.pixelSize(), 48);
        QCOMPARE(over.weight(), int(QFont::Normal));

        const QFontMetrics kai(window->label2().font());
        for (const QString text :
             {"按F2", "連扁", "第", "關", "完全NUBBO方塊版", "GAME OVER", "PAUSE", " 0123456789"})
            for (QChar ch : text) QVERIFY2(kai.inFont(ch), qPrintable(text + " " + ch));
        const QFontMetrics arial(window->label1().font());
        for (QChar ch : QStringLiteral("GAME OVER")) QVERIFY(arial.inFont(ch));
        const QFontMetrics plain(window->text(7).font());
        for (QChar ch : QStringLiteral("高手完全NUBBO方塊版Level:Score:"))
            QVERIFY2(plain.inFont(ch), qPrintable(QString(ch)));
    }

    // 高手 in its text box and the banner come from one face of the Kai font
    // file; a second face would map the 17 MB file a second time, and each
    // mapping keeps megabytes resident.
    void theKaiFontFileIsMappedOnce() {
        QTRY_VERIFY(countColour(client(), QRect(8, 200, 273, 81), kBlue) > 300);
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly | QIODevice::Text));
        int mappings = 0;
        for (const QByteArray& line : maps.readAll().split('\n'))
            if (line.endsWith("/ukai.ttc")) ++mappings;
        QCOMPARE(mappings, 1);
    }

    void menuAndShortcuts() {
        const auto bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("Game"));
        QVERIFY(bar[0]->menu());
        const auto items = bar[0]->menu()->actions();
        QCOMPARE(items.size(), 3);
        const QList<std::pair<QString, Qt::Key>> expected = {
            {"New", Qt::Key_F2}, {"Pause", Qt::Key_F3}, {"Exit", Qt::Key_F4}};
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(items[n]->text(), expected[n].first);
            QCOMPARE(items[n]->shortcut(), QKeySequence(expected[n].second));
        }
        QCOMPARE(items[0], &window->newAction());
        QCOMPARE(items[1], &window->pauseAction());
        QCOMPARE(items[2], &window->exitAction());
        // Help is a command on the bar itself, with no drop-down.
        QCOMPARE(bar[1], &window->helpAction());
        QCOMPARE(bar[1]->text(), QStringLiteral("Help"));
        QVERIFY(bar[1]->menu() == nullptr);
    }

    void boardPixelsAreTheTilePictures() {
        for (int k = 0; k < 8; ++k) {
            const int row = k, col = 7 - k;  // a different cell for each picture
            window->paintPicture(k, cellX(col), cellY(row));
            QCOMPARE(window->board().buffer().copy(QRect(cellPx(row, col), QSize(32, 32))),
                     tile(k));
        }
        window->paintPicture(7, cellX(7), cellY(12));  // the last cell
        QCOMPARE(window->board().buffer().copy(QRect(cellPx(12, 7), QSize(32, 32))), tile(7));
        // Nothing beside the board was touched.
        const QImage& buffer = window->board().buffer();
        QCOMPARE(countColour(buffer, QRect(0, 67, 13, 416), kPink), 13 * 416);
        QCOMPARE(countColour(buffer, QRect(269, 67, 20, 416), kPink), 20 * 416);
        QCOMPARE(countColour(buffer, QRect(0, 483, 289, 5), kPink), 289 * 5);
    }

    // Between the grid's cells (and half off the client area) a picture is
    // still copied whole; the cells it covered are painted again afterwards
    // even with the picture they showed before.
    void offGridPicturesAndTheCellsTheyCover() {
        window->paintPicture(6, cellX(1), cellY(1));
        window->paintPicture(6, cellX(2), cellY(1));
        window->paintPicture(0, cellX(1) + 12, cellY(1) + 3);  // 16 px right, 4 px down
        const QImage& buffer = window->board().buffer();
        QCOMPARE(buffer.copy(QRect(cellPx(1, 1) + QPoint(16, 4), QSize(32, 32))), tile(0));
        window->paintPicture(6, cellX(1), cellY(1));
        window->paintPicture(6, cellX(2), cellY(1));
        QCOMPARE(countColour(buffer, QRect(cellPx(1, 1), QSize(64, 32)), kWhite), 64 * 32);

        window->paintPicture(4, -6, 370);  // 8 px off the left, 13 px off the bottom
        QCOMPARE(buffer.copy(0, 493, 24, 15), tile(4).copy(8, 0, 24, 15));
    }

    // The game repaints the whole board every 10 ms; a cell that shows the
    // picture already costs no pixel and no screen update.
    void unchangedCellsAskForNoUpdate() {
        QTRY_COMPARE(window->text(1).text(), QStringLiteral("0"));  // the first repaint is done
        QCoreApplication::processEvents();
        PaintSpy spy(&window->board());
        window->game().display(12, 7);
        QTest::qWait(50);
        QCOMPARE(spy.rects, QList<QRect>());

        window->paintPicture(4, cellX(5), cellY(9));
        QTRY_COMPARE(spy.rects.size(), 1);
        QVERIFY(QRect(cellPx(9, 5), QSize(32, 32)).contains(spy.rects[0]));
    }

    void f2DealsAPieceIntoTheSpawnColumn() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        const auto& s = window->game().state();
        QVERIFY(s.inGame);
        QCOMPARE(s.px, 3);
        for (int k = 0; k < 3; ++k)
            QTRY_COMPARE(window->board().buffer().copy(QRect(cellPx(k, 3), QSize(32, 32))),
                         tile(s.piece[k]));
        QTRY_COMPARE_WITH_TIMEOUT(s.py, 1, 1500);
    }

    void keysReachTheGameAndNotTheFocusedCheckBox() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        window->check1().setFocus();
        const auto& s = window->game().state();
        const nubbo::Tile top = s.piece[0], middle = s.piece[1];
        QTest::keyClick(&window->check1(), Qt::Key_Space);
        QVERIFY(!window->check1().isChecked());
        QCOMPARE(s.piece[0], middle);
        QCOMPARE(s.piece[2], top);
        QTest::keyClick(&window->check1(), Qt::Key_Left);
        QCOMPARE(s.px, 2);
        QTest::mouseClick(&window->check1(), Qt::LeftButton);
        QVERIFY(window->check1().isChecked());  // the mouse still ticks it
        QVERIFY(window->check1().hasFocus());
    }

    // A held key repeats; each repeat is a key press of its own for the game.
    void autoRepeatedKeysReachTheGame() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        const auto& s = window->game().state();
        const int before = window->keysForwarded();
        for (int n = 1; n <= 3; ++n) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&window->check1(), &repeat);
            QCOMPARE(window->keysForwarded(), before + n);
            QCOMPARE(s.px, 3 + n);
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
        QTest::keyClick(window.get(), Qt::Key_F2);
        QTest::keyClick(window.get(), Qt::Key_Right);  // the new piece moves away from column 3
        QTest::qWait(30);
        const int forwarded = window->keysForwarded();
        window->check1().setFocus();
        QTest::keyClick(&window->check1(), Qt::Key(key));
        QCOMPARE(window->keysForwarded(), forwarded);
        if (key == Qt::Key_F2) {
            QCOMPARE(window->game().state().px, 3);  // a new piece
            QVERIFY(!window->label2().isVisible());
        } else {
            QVERIFY(window->label2().isVisible());
            QCOMPARE(window->label2().text(), QStringLiteral("PAUSE"));
            QVERIFY(!window->game().timers().enabled(nubbo::TimerId::Timer1));
        }
    }

    void f4EndsTheProgram() {
        QTimer::singleShot(0, this, [&] { QTest::keyClick(&window->check1(), Qt::Key_F4); });
        QCOMPARE(runUntilEnd(3000), 0);
    }

    void theCloseBoxEndsTheProgram() {
        QTimer::singleShot(0, this, [&] { window->close(); });
        QCOMPARE(runUntilEnd(3000), 0);
    }

    // The box stays open longer than a fall step; the piece must not fall.
    void helpBoxStandsTheGameStill() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        const auto& s = window->game().state();
        const auto score = window->text(1).text();
        // Read while the box is open, checked once it is closed.
        struct Seen {
            bool open = false, frozen = false;
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::Information;
            QList<QMessageBox::StandardButton> buttons;
            int py = -1;
        } seen;
        QTimer::singleShot(700, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = {true, window->game().frozen(), box->windowTitle(), box->text(), box->icon(), {},
                    s.py};
            for (QAbstractButton* button : box->buttons())
                seen.buttons.append(box->standardButton(button));
            box->done(0);
        });
        window->helpAction().trigger();
        QVERIFY(seen.open);
        QCOMPARE(seen.title, QStringLiteral("完全NUBBO方塊版"));
        static const QRegularExpression message(
            QStringLiteral("^有問題請E-mail至[A-Za-z0-9._-]+@[A-Za-z0-9.-]+\\.[a-z]+$"));
        QVERIFY2(message.match(seen.text).hasMatch(), qPrintable(seen.text));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
        QVERIFY(seen.frozen);
        QCOMPARE(seen.py, 0);
        QVERIFY(!window->game().frozen());
        QCOMPARE(s.py, 0);
        QCOMPARE(window->text(1).text(), score);
        QTRY_COMPARE_WITH_TIMEOUT(s.py, 1, 1500);  // and the fall goes on afterwards
    }

    void losingTheFocusPausesAFallingPiece() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(window->label2().isVisible());
        QCOMPARE(window->label2().text(), QStringLiteral("PAUSE"));
        QVERIFY(!window->game().timers().enabled(nubbo::TimerId::Timer1));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->label2().text(), QStringLiteral("PAUSE"));  // until a key
        QTest::keyClick(window.get(), Qt::Key_A);
        QVERIFY(window->game().timers().enabled(nubbo::TimerId::Timer1));
    }

    void losingTheFocusLeavesAnIdleWindowAlone() {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(window->label2().text(), QStringLiteral("按F2"));
    }

    void minimisingPausesAFallingPiece() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        window->setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE(window->label2().text(), QStringLiteral("PAUSE"));
        QVERIFY(!window->game().timers().enabled(nubbo::TimerId::Timer1));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
