// The window's clock: one precise wake-up at a time, never early.
#include <QElapsedTimer>
#include <QtTest>
#include <vector>

#include "qt_clock.h"

using nubbo::Millis;
using nubbo::ui::QtClock;

class ClockTest : public QObject {
    Q_OBJECT

    std::vector<Millis> wakes;  // the clock's reading at each wake-up
    std::unique_ptr<QtClock> clock;

  private slots:
    void init() {
        wakes.clear();
        clock = std::make_unique<QtClock>([this] { wakes.push_back(clock->now()); });
    }
    void cleanup() { clock.reset(); }

    void wakesOnceWhenDueAndNotBefore() {
        const Millis due = clock->now() + 40;
        clock->wakeAt(due);
        QTRY_COMPARE(wakes.size(), std::size_t(1));
        QVERIFY(wakes[0] >= due);
        QTest::qWait(100);
        QCOMPARE(wakes.size(), std::size_t(1));  // a single shot
    }

    void aLaterRequestReplacesTheEarlierOne() {
        const Millis start = clock->now();
        clock->wakeAt(start + 30);
        clock->wakeAt(start + 120);
        QTRY_COMPARE_WITH_TIMEOUT(wakes.size(), std::size_t(1), 2000);
        QVERIFY(wakes[0] >= start + 120);
        QTest::qWait(50);
        QCOMPARE(wakes.size(), std::size_t(1));
    }

    void noDueInstantCancels() {
        clock->wakeAt(clock->now() + 30);
        clock->wakeAt(std::nullopt);
        QTest::qWait(150);
        QCOMPARE(wakes.size(), std::size_t(0));
    }

    void anOverdueTickWakesAtOnce() {
        QTest::qWait(20);
        clock->wakeAt(clock->now() - 10);
        QElapsedTimer waited;
        waited.start();
        QTRY_COMPARE(wakes.size(), std::size_t(1));
        QVERIFY(waited.elapsed() < 500);
    }

    // A periodic tick re-armed from inside each wake-up, as the game does:
    // every wake-up reads a time at or after the instant it was due.
    void reArmedFromTheWakeUpNeverEarly() {
        std::vector<Millis> dues;
        clock = std::make_unique<QtClock>([&] {
            wakes.push_back(clock->now());
            if (dues.size() < 20) {
                dues.push_back(dues.back() + 7);
                clock->wakeAt(dues.back());
            }
        });
        dues.push_back(clock->now() + 7);
        clock->wakeAt(dues.back());
        QTRY_COMPARE_WITH_TIMEOUT(wakes.size(), std::size_t(20), 3000);
        for (std::size_t n = 0; n < wakes.size(); ++n)
            QVERIFY2(wakes[n] >= dues[n], qPrintable(QStringLiteral("wake-up %1").arg(n)));
    }

    void nowIsMonotonic() {
        Millis last = clock->now();
        for (int n = 0; n < 1000; ++n) {
            const Millis t = clock->now();
            QVERIFY(t >= last);
            last = t;
        }
    }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "clock_test.moc"
