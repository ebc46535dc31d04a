// Qt key presses to the game's key codes (Windows virtual-key codes).
#include <QtTest>

#include "key_codes.h"

class KeyCodesTest : public QObject {
    Q_OBJECT
  private slots:
    void codes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        const int none = Qt::NoModifier, pad = Qt::KeypadModifier, shift = Qt::ShiftModifier;
        // The four keys the game acts on, also with modifiers held.
        QTest::newRow("left") << int(Qt::Key_Left) << none << 37;
        QTest::newRow("up") << int(Qt::Key_Up) << none << 38;
        QTest::newRow("right") << int(Qt::Key_Right) << none << 39;
        QTest::newRow("down") << int(Qt::Key_Down) << none << 40;
        QTest::newRow("space") << int(Qt::Key_Space) << none << 32;
        QTest::newRow("shift+left") << int(Qt::Key_Left) << shift << 37;
        QTest::newRow("keypad left") << int(Qt::Key_Left) << pad << 37;
        QTest::newRow("shift+space") << int(Qt::Key_Space) << shift << 32;
        // Letters, digits, function keys.
        QTest::newRow("A") << int(Qt::Key_A) << none << 65;
        QTest::newRow("shift+Z") << int(Qt::Key_Z) << shift << 90;
        QTest::newRow("0") << int(Qt::Key_0) << none << 48;
        QTest::newRow("9") << int(Qt::Key_9) << none << 57;
        QTest::newRow("shift+1 (!)") << int(Qt::Key_Exclam) << shift << 49;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << pad << 96;
        QTest::newRow("keypad 9") << int(Qt::Key_9) << pad << 105;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << pad << 107;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << pad << 13;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 112;
        QTest::newRow("F12") << int(Qt::Key_F12) << none << 123;
        // Editing and control keys.
        QTest::newRow("return") << int(Qt::Key_Return) << none << 13;
        QTest::newRow("escape") << int(Qt::Key_Escape) << none << 27;
        QTest::newRow("tab") << int(Qt::Key_Tab) << none << 9;
        QTest::newRow("shift+tab") << int(Qt::Key_Backtab) << shift << 9;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8;
        QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46;
        QTest::newRow("home") << int(Qt::Key_Home) << none << 36;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << none << 34;
        QTest::newRow("shift") << int(Qt::Key_Shift) << shift << 16;
        QTest::newRow("ctrl") << int(Qt::Key_Control) << int(Qt::ControlModifier) << 17;
        QTest::newRow("alt") << int(Qt::Key_Alt) << int(Qt::AltModifier) << 18;
        QTest::newRow("alt gr") << int(Qt::Key_AltGr) << none << 18;
        QTest::newRow("comma") << int(Qt::Key_Comma) << none << 188;
        QTest::newRow("volume up") << int(Qt::Key_VolumeUp) << none << 175;
        // Keys without a code of their own share one the game has no use for.
        QTest::newRow("e acute") << int(Qt::Key_Eacute) << none << 255;
        QTest::newRow("unknown") << int(Qt::Key_unknown) << none << 255;
        QTest::newRow("no key") << 0 << none << 255;
        QTest::newRow("negative") << -1 << none << 255;
    }

    void codes() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(nubbo::ui::virtualKeyCode(event), code);
    }

    // Only Shift, Ctrl and Alt count, each its own bit.
    void shiftMask() {
        using nubbo::ui::shiftMask;
        QCOMPARE(shiftMask(Qt::NoModifier), 0);
        QCOMPARE(shiftMask(Qt::ShiftModifier), 1);
        QCOMPARE(shiftMask(Qt::ControlModifier), 2);
        QCOMPARE(shiftMask(Qt::AltModifier), 4);
        QCOMPARE(shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
        QCOMPARE(shiftMask(Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier), 0);
    }
};

QTEST_GUILESS_MAIN(KeyCodesTest)
#include "key_codes_test.moc"
