// Every text the window shows is shown whole: the banner's captions and the
// text boxes' texts, each compared with the same text drawn unclipped.
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

#include "fonts.h"
#include "form_layout.h"
#include "main_window.h"

using nubbo::ui::MainWindow;
namespace form = nubbo::form;

namespace {

QPoint corner(const form::Box& box) {
    return {box.left, box.top};
}

// The bounding box of the pixels where `with` differs from `without`.
QRect inkBox(const QImage& with, const QImage& without) {
    QRect box;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

// The ink of `text` in `font`, drawn with nothing to clip it.
QSize unclippedInk(const QString& text, const QFont& font) {
    QImage blank(1200, 300, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QImage drawn = blank;
    QPainter painter(&drawn);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(100, 200), text);
    painter.end();
    return inkBox(drawn, blank).size();
}

QString describe(const QRect& r) {
    return QStringLiteral("ink at %1,%2 size %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

}  // namespace

class WholeTextTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QWidget& board() { return *window->findChild<QWidget*>(QStringLiteral("board")); }

    QImage client() { return board().grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // A control by where it stands in the client area (each has its own place).
    template <typename Control>
    Control& at(QPoint place) {
        for (Control* control : board().findChildren<Control*>())
            if (control->geometry().topLeft() == place) return *control;
        qFatal("no control at %d, %d", place.x(), place.y());
    }

  private slots:
    void initTestCase() { nubbo::ui::installFontSubstitutions(); }

    void init() {
        window = std::make_unique<MainWindow>(1);
        window->show();
        window->load();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    // The banner over the board: every caption the game writes, with up to
    // three digits. Its ink lies inside the label with room to spare (a cut
    // glyph ends exactly on the label's edge), is centred across it, and is
    // the caption's whole ink, at full size where it fits.
    void bannerCaptionsShowWhole_data() {
        QTest::addColumn<QString>("caption");
        for (const char* caption :
             {"按F2", "PAUSE", " 2連扁", " 99連扁", " 100連扁", "第 2關", "第 10關", "第 100關"})
            QTest::newRow(caption) << QString::fromUtf8(caption);
    }
    void bannerCaptionsShowWhole() {
        QFETCH(QString, caption);
        QLabel& label = at<QLabel>(corner(form::kBanner));
        window->setBannerCaption(caption.toStdString());
        window->showBanner(true);
        const QImage with = client();
        window->showBanner(false);
        const QRect ink = inkBox(with, client());

        const QRect inside = label.geometry().adjusted(1, 1, -1, -1);
        QVERIFY2(inside.contains(ink), qPrintable(describe(ink)));
        QVERIFY2(std::abs(2 * ink.center().x() - 2 * label.geometry().center().x()) <= 2,
                 qPrintable(describe(ink)));
        const QSize whole = unclippedInk(caption, label.font());
        if (whole.width() <= label.width() - 4) {
            QCOMPARE(ink.size(), whole);
        } else {
            // Drawn smaller to fit: the same shape, filling the width.
            const double aspect = double(ink.height()) / ink.width();
            const double wholeAspect = double(whole.height()) / whole.width();
            QVERIFY2(std::abs(aspect - wholeAspect) <= 0.02 * wholeAspect,
                     qPrintable(describe(ink)));
            QVERIFY2(ink.width() >= label.width() - 12, qPrintable(describe(ink)));
        }
    }

    // Every text box shows its text from the first character to the last:
    // the ink starts inside the frame and is the text's whole ink.
    void textBoxesShowTheirWholeText_data() {
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QString>("text");  // empty: the box's own text
        QTest::newRow("高手") << corner(form::kExpertCaption) << QString();
        QTest::newRow("Level:") << corner(form::kLevelCaption) << QString();
        QTest::newRow("Score:") << corner(form::kScoreCaption) << QString();
        QTest::newRow("credits") << corner(form::kCredits) << QString();
        QTest::newRow("score one digit") << corner(form::kScoreBox) << QStringLiteral("0");
        QTest::newRow("score five digits") << corner(form::kScoreBox) << QStringLiteral("88888");
        QTest::newRow("level one digit") << corner(form::kLevelBox) << QStringLiteral("1");
        QTest::newRow("level two digits") << corner(form::kLevelBox) << QStringLiteral("88");
    }
    void textBoxesShowTheirWholeText() {
        QFETCH(QPoint, place);
        QFETCH(QString, text);
        QLineEdit& edit = at<QLineEdit>(place);
        if (place == corner(form::kScoreBox)) window->setScore(text.toStdString());
        if (place == corner(form::kLevelBox)) window->setLevel(text.toStdString());
        QCOMPARE(edit.text().isEmpty(), false);
        const QImage with = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage without(with.size(), QImage::Format_RGB32);
        without.fill(edit.palette().color(QPalette::Base));
        // Inside the frame (its lines are one or two pixels wide).
        const QRect inner = edit.rect().adjusted(2, 2, -2, -2);
        const QRect ink = inkBox(with.copy(inner), without.copy(inner)).translated(inner.topLeft());
        QVERIFY2(ink.left() > inner.left() && ink.right() < inner.right(),
                 qPrintable(describe(ink)));
        QCOMPARE(ink.size(), unclippedInk(edit.text(), edit.font()));
    }
};

QTEST_MAIN(WholeTextTest)
#include "whole_text_test.moc"
