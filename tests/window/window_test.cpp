// The window as a player sees it, on Qt's offscreen platform.
#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "fonts.h"
#include "main_window.h"

using nubbo::ui::MainWindow;

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QImage tile(int k) {
        return QImage(QStringLiteral(":/tiles/tile%1.png").arg(k))
            .convertToFormat(QImage::Format_RGB32);
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
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!window->windowIcon().isNull());
    }

    QWidget* control(const QString& name) {
        if (name == QLatin1String("Check1")) return &window->check1();
        if (name == QLatin1String("Label1")) return &window->label1();
        if (name == QLatin1String("Label2")) return &window->label2();
        return &window->text(name.mid(4).toInt());
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
        QCOMPARE(widget->geometry(), geometry);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (name == QLatin1String("Text6"))
                QVERIFY(!edit->text().isEmpty());  // the credit line
            else
                QCOMPARE(edit->text(), text);
            QCOMPARE(edit->focusPolicy(), Qt::NoFocus);
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), text);
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            QVERIFY(!box->isChecked());
            QVERIFY(box->text().isEmpty());
        }
    }

    void startUpShowsThePromptAndThenScoreAndLevel() {
        QVERIFY(!window->label1().isVisible());
        QVERIFY(window->label2().isVisible());
        QCOMPARE(window->label2().palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QTRY_COMPARE(window->text(1).text(), QStringLiteral("0"));
        QCOMPARE(window->text(4).text(), QStringLiteral("1"));
    }

    void fontsResolveToInstalledFamilies() {
        const QFontInfo banner(window->label2().font());
        QVERIFY2(banner.family().contains(QStringLiteral("UKai")), qPrintable(banner.family()));
        QCOMPARE(banner.pixelSize(), 80);
        const QFontInfo over(window->label1().font());
        QCOMPARE(over.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(over.pixelSize(), 48);
        const QFontMetrics kai(window->label2().font());
        for (QChar ch : QStringLiteral("按F2連扁第關 PAUSE0123456789"))
            QVERIFY2(kai.inFont(ch), qPrintable(QString(ch)));
        const QFontMetrics arial(window->label1().font());
        for (QChar ch : QStringLiteral("GAME OVER")) QVERIFY(arial.inFont(ch));
        const QFontMetrics plain(window->text(7).font());
        for (QChar ch : QStringLiteral("高手完全NUBBO方塊版"))
            QVERIFY2(plain.inFont(ch), qPrintable(QString(ch)));
    }

    void menuAndShortcuts() {
        QCOMPARE(window->newAction().text(), QStringLiteral("New"));
        QCOMPARE(window->newAction().shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(window->pauseAction().text(), QStringLiteral("Pause"));
        QCOMPARE(window->pauseAction().shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(window->exitAction().text(), QStringLiteral("Exit"));
        QCOMPARE(window->exitAction().shortcut(), QKeySequence(Qt::Key_F4));
        const auto bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("Game"));
        QCOMPARE(bar[1], &window->helpAction());
        QCOMPARE(bar[1]->text(), QStringLiteral("Help"));
        QVERIFY(bar[1]->menu() == nullptr);
    }

    void boardPixelsAreTheTilePictures() {
        window->paintPicture(3, 10, 50);                     // row 0, column 0
        window->paintPicture(7, 24 * 7 + 10, 24 * 12 + 50);  // row 12, column 7
        const QImage& buffer = window->board().buffer();
        QCOMPARE(buffer.copy(13, 67, 32, 32), tile(3));
        QCOMPARE(buffer.copy(13 + 7 * 32, 67 + 12 * 32, 32, 32), tile(7));
        QCOMPARE(buffer.pixelColor(12, 67), QColor(255, 192, 192));  // left of the board: pink
    }

    void repaintingTheSamePictureRequestsNothing() {
        window->paintPicture(2, 34, 74);
        const int before = window->board().repaintRequests();
        window->paintPicture(2, 34, 74);
        QCOMPARE(window->board().repaintRequests(), before);
        window->paintPicture(4, 34, 74);
        QCOMPARE(window->board().repaintRequests(), before + 1);
    }

    void f2StartsAGameThatFalls() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        QVERIFY(window->game().state().inGame);
        QCOMPARE(window->game().state().px, 3);
        QTRY_COMPARE_WITH_TIMEOUT(window->game().state().py, 1, 1500);
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
    }

    void f3PausesWithoutAlsoActingAsAKey() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        QTest::keyClick(&window->check1(), Qt::Key_F3);
        QVERIFY(window->label2().isVisible());
        QCOMPARE(window->label2().text(), QStringLiteral("PAUSE"));
        QVERIFY(!window->game().timers().enabled(nubbo::TimerId::Timer1));
    }

    void helpBoxStandsTheGameStill() {
        QTest::keyClick(window.get(), Qt::Key_F2);
        bool checked = false;
        QTimer::singleShot(100, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("完全NUBBO方塊版"));
            QVERIFY(box->text().startsWith(QStringLiteral("有問題請E-mail至")));
            QVERIFY(box->text().contains(QLatin1Char('@')));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButton(box->buttons()[0]), QMessageBox::Ok);
            QVERIFY(window->game().frozen());
            checked = true;
            box->button(QMessageBox::Ok)->click();
        });
        window->helpAction().trigger();
        QVERIFY(checked);
        QVERIFY(!window->game().frozen());
        QCOMPARE(window->game().state().py, 0);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
