// At a device pixel ratio of 2 the tiles are scaled by nearest neighbour.
#include <QtTest>

#include "board_view.h"
#include "main_window.h"

class DprTest : public QObject {
    Q_OBJECT
  private slots:
    void tilesAreCrispAtTwice() {
        nubbo::ui::MainWindow window(1);
        window.show();
        window.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.devicePixelRatio(), 2.0);
        window.paintCell(0, 0, 1);
        const QImage buffer = window.findChild<nubbo::ui::BoardView*>("board")->snapshot();
        QCOMPARE(buffer.size(), QSize(578, 1016));
        const QImage tile =
            QImage(QStringLiteral(":/tiles/tile1.png")).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        QCOMPARE(buffer.pixel(26 + 2 * x + dx, 134 + 2 * y + dy), tile.pixel(x, y));
    }
};

QTEST_MAIN(DprTest)
#include "dpr_test.moc"
