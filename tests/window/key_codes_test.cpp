// Qt key presses to the game's keys.
#include <QtTest>

#include "key_codes.h"

using nubbo::Key;

class KeyCodesTest : public QObject {
    Q_OBJECT
  private slots:
    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<Key>("expected");
        const int none = Qt::NoModifier, pad = Qt::KeypadModifier, shift = Qt::ShiftModifier;
        // The four keys the game acts on, also with modifiers held.
        QTest::newRow("left") << int(Qt::Key_Left) << none << Key::Left;
        QTest::newRow("right") << int(Qt::Key_Right) << none << Key::Right;
        QTest::newRow("space") << int(Qt::Key_Space) << none << Key::Rotate;
        QTest::newRow("down") << int(Qt::Key_Down) << none << Key::Down;
        QTest::newRow("shift+left") << int(Qt::Key_Left) << shift << Key::Left;
        QTest::newRow("keypad right") << int(Qt::Key_Right) << pad << Key::Right;
        QTest::newRow("shift+space") << int(Qt::Key_Space) << shift << Key::Rotate;
        // Every other key, the shortcuts' keys included, is one the game
        // does not use.
        QTest::newRow("up") << int(Qt::Key_Up) << none << Key::Other;
        QTest::newRow("A") << int(Qt::Key_A) << none << Key::Other;
        QTest::newRow("keypad 4") << int(Qt::Key_4) << pad << Key::Other;
        QTest::newRow("F2") << int(Qt::Key_F2) << none << Key::Other;
        QTest::newRow("return") << int(Qt::Key_Return) << none << Key::Other;
        QTest::newRow("e acute") << int(Qt::Key_Eacute) << none << Key::Other;
        QTest::newRow("unknown") << int(Qt::Key_unknown) << none << Key::Other;
        QTest::newRow("no key") << 0 << none << Key::Other;
        QTest::newRow("negative") << -1 << none << Key::Other;
    }

    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(Key, expected);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(nubbo::ui::gameKey(event), expected);
    }
};

QTEST_GUILESS_MAIN(KeyCodesTest)
#include "key_codes_test.moc"
