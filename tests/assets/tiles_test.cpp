// The artwork as the game gets it: every tile picture and icon is read back from the
// resources compiled into nubbo_assets and checked against what the board needs of it.

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

#include <array>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int kSide = 32;
constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kPureRed = 0xffff0000;

QImage tile(int code) {
    return QImage(QStringLiteral(":/tiles/tile%1.png").arg(code));
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

template <typename Pred>
int countPixels(const QImage& img, Pred pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += pred(img.pixel(x, y)) ? 1 : 0;
    return n;
}

bool isGrey(QRgb c) {
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}
// Yellow and its blends with black, grey or white: red and green high and close, blue lower.
bool isYellowish(QRgb c) {
    return qRed(c) >= qGreen(c) && qRed(c) - qGreen(c) <= 60 && qGreen(c) - qBlue(c) >= 40;
}

}  // namespace

class TilesTest : public QObject {
    Q_OBJECT

  private slots:
    // Every picture: a 32 x 32, 8-bit RGB PNG without alpha, opaque in every pixel.
    void format_data() {
        QTest::addColumn<int>("code");
        for (int code = 0; code < 8; ++code) QTest::addRow("tile%d", code) << code;
    }
    void format() {
        QFETCH(int, code);
        QFile file(QStringLiteral(":/tiles/tile%1.png").arg(code));
        QVERIFY2(file.open(QIODevice::ReadOnly), "picture missing from the resources");
        const QByteArray png = file.readAll();
        QVERIFY(png.size() > 26);
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(png[24]), 8);  // bit depth
        QCOMPARE(int(png[25]), 2);  // colour type 2: RGB, no alpha

        const QImage img = QImage::fromData(png);
        QCOMPARE(img.size(), QSize(kSide, kSide));
        QVERIFY(!img.hasAlphaChannel());
        QCOMPARE(countPixels(img, [](QRgb c) { return qAlpha(c) == 255; }), kSide * kSide);
    }

    // The share of pure white pixels of each picture, within 5 percentage points.
    void whiteShare_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<double>("percent");
        const std::array<double, 8> shares{64, 80, 52, 57, 58, 84, 100, 93.75};
        for (int code = 0; code < 8; ++code) QTest::addRow("tile%d", code) << code << shares[code];
    }
    void whiteShare() {
        QFETCH(int, code);
        QFETCH(double, percent);
        const QImage img = tile(code);
        const double measured =
            100.0 * countPixels(img, [](QRgb c) { return c == kWhite; }) / (kSide * kSide);
        QVERIFY2(std::abs(measured - percent) <= 5.0,
                 qPrintable(QStringLiteral("white share %1 %, expected about %2 %")
                                .arg(measured)
                                .arg(percent)));
    }

    // The colour keys that tell the kinds apart: each appears in enough pixels.
    void colourKeys_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QColor>("key");
        QTest::addColumn<int>("atLeast");
        QTest::addRow("0 lavender lines") << 0 << QColor(163, 145, 253) << 40;
        QTest::addRow("0 light-blue areas") << 0 << QColor(145, 216, 255) << 40;
        QTest::addRow("1 black lines") << 1 << QColor(0, 0, 0) << 40;
        QTest::addRow("1 speck of yellow") << 1 << QColor(255, 220, 40) << 2;
        QTest::addRow("2 pale pink") << 2 << QColor(255, 208, 255) << 40;
        QTest::addRow("2 deeper pink") << 2 << QColor(255, 176, 255) << 40;
        QTest::addRow("2 light grey") << 2 << QColor(220, 220, 220) << 8;
        QTest::addRow("3 dark grey lines") << 3 << QColor(65, 65, 65) << 40;
        QTest::addRow("3 large red areas") << 3 << QColor(218, 53, 54) << 60;
        QTest::addRow("3 dark red") << 3 << QColor(145, 25, 30) << 20;
        QTest::addRow("3 yellow") << 3 << QColor(254, 235, 90) << 20;
        QTest::addRow("4 light blue") << 4 << QColor(160, 192, 239) << 60;
        QTest::addRow("4 red accent") << 4 << QColor(255, 32, 32) << 4;
        QTest::addRow("5 black lines") << 5 << QColor(0, 0, 0) << 40;
        QTest::addRow("5 speck of yellow") << 5 << QColor(255, 220, 40) << 2;
    }
    void colourKeys() {
        QFETCH(int, code);
        QFETCH(QColor, key);
        QFETCH(int, atLeast);
        const QRgb rgb = key.rgb();
        const int n = countPixels(tile(code), [rgb](QRgb c) { return near(c, rgb, 24); });
        QVERIFY2(n >= atLeast, qPrintable(QStringLiteral("%1 pixels").arg(n)));
    }

    // Each kind's motif lies on a white ground that reaches the corners, spans the full width
    // and most of the height.
    void motifFillsTheCell_data() {
        QTest::addColumn<int>("code");
        for (int code = 0; code < 6; ++code) QTest::addRow("tile%d", code) << code;
    }
    void motifFillsTheCell() {
        QFETCH(int, code);
        const QImage img = tile(code);
        for (QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
            QCOMPARE(img.pixel(corner), kWhite);
        int left = kSide, right = -1, top = kSide, bottom = -1;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (img.pixel(x, y) != kWhite) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY2(left <= 1 && right >= 30, "motif does not span the width");
        QVERIFY2(bottom - top + 1 > kSide / 2, "motif does not cover most of the height");
    }

    // Code 5 is code 1 without its red accent, and both keep to black, greys and yellow.
    void twinKindsDifferOnlyByTheRedAccent() {
        const QImage one = tile(1), five = tile(5);
        int accent = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const QRgb a = one.pixel(x, y), b = five.pixel(x, y);
                if (a == b) continue;
                QVERIFY2(a == kPureRed, qPrintable(QStringLiteral("(%1, %2) differs but is not "
                                                                  "the red accent")
                                                       .arg(x)
                                                       .arg(y)));
                ++accent;
            }
        QCOMPARE(countPixels(one, [](QRgb c) { return c == kPureRed; }), accent);
        QVERIFY2(accent >= 10 && accent <= 80, qPrintable(QString::number(accent)));
        QCOMPARE(countPixels(five, [](QRgb c) { return qRed(c) > qGreen(c) + 100; }), 0);

        for (const QImage& img : {one, five}) {
            QCOMPARE(
                countPixels(img,
                            [](QRgb c) { return c != kPureRed && !isGrey(c) && !isYellowish(c); }),
                0);
            const int yellow = countPixels(img, isYellowish);
            QVERIFY2(yellow >= 1 && yellow <= 32, "the yellow should be a speck");
        }
    }

    // The pale-pink kind is soft shading with no dark outline anywhere.
    void pinkKindHasNoHardOutline() {
        const QImage img = tile(2);
        QCOMPARE(countPixels(img,
                             [](QRgb c) {
                                 return std::min({qRed(c), qGreen(c), qBlue(c)}) < 100;
                             }),
                 0);
    }

    // Light blue with small details in many colours: vivid pixels in at least four hue sextants.
    void robotKindHasManyColouredDetails() {
        const QImage img = tile(4);
        QSet<int> sextants;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const QColor c = QColor::fromRgb(img.pixel(x, y));
                if (c.hsvSaturation() >= 100 && c.value() >= 100) sextants.insert(c.hsvHue() / 60);
            }
        QVERIFY2(sextants.size() >= 4, qPrintable(QString::number(sextants.size())));
    }

    // A kind keyed by one main colour shows it most: it is the commonest colour after the
    // white, and at least two fifths of the motif are near it.
    void dominantColour_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QColor>("key");
        QTest::addRow("4 light blue") << 4 << QColor(160, 192, 239);
    }
    void dominantColour() {
        QFETCH(int, code);
        QFETCH(QColor, key);
        const QImage img = tile(code);
        std::map<QRgb, int> counts;
        int motif = 0, nearKey = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const QRgb c = img.pixel(x, y);
                if (c == kWhite) continue;
                ++counts[c];
                ++motif;
                nearKey += near(c, key.rgb(), 24);
            }
        const auto commonest = std::max_element(
            counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
        QVERIFY2(near(commonest->first, key.rgb(), 24),
                 qPrintable(QStringLiteral("commonest colour %1 (%2 pixels)")
                                .arg(QColor(commonest->first).name())
                                .arg(commonest->second)));
        QVERIFY2(
            5 * nearKey >= 2 * motif,
            qPrintable(QStringLiteral("%1 of %2 pixels near the key").arg(nearKey).arg(motif)));
    }

    // The six kinds are far apart; only codes 1 and 5 are near twins.
    void kindsAreDistinct() {
        for (int a = 0; a < 6; ++a)
            for (int b = a + 1; b < 6; ++b) {
                if (a == 1 && b == 5) continue;
                const QImage ia = tile(a), ib = tile(b);
                int differing = 0;
                for (int y = 0; y < kSide; ++y)
                    for (int x = 0; x < kSide; ++x)
                        differing += near(ia.pixel(x, y), ib.pixel(x, y), 24) ? 0 : 1;
                QVERIFY2(differing >= 200,
                         qPrintable(
                             QStringLiteral("tile%1 vs tile%2: %3").arg(a).arg(b).arg(differing)));
            }
    }

    void emptyCellIsPlainWhite() {
        QCOMPARE(countPixels(tile(6), [](QRgb c) { return c == kWhite; }), kSide * kSide);
    }

    // The clearing mark, pixel for pixel: the magenta badge outline, everything else white.
    void clearingMarkIsTheBadge() {
        const std::vector<int> side{6, 25};
        const std::vector<int> flat{8, 9, 10, 11, 13, 18, 20, 21, 22, 23};
        const std::map<int, std::vector<int>> magentaColumns{
            {4, {15, 16}}, {5, {14, 17}}, {6, flat},      {7, {7, 24}},   {8, side},
            {9, side},     {10, side},    {11, side},     {12, side},     {13, side},
            {14, {5, 26}}, {15, {4, 27}}, {16, {4, 27}},  {17, {5, 26}},  {18, side},
            {19, side},    {20, side},    {21, side},     {22, side},     {23, side},
            {24, {7, 24}}, {25, flat},    {26, {14, 17}}, {27, {15, 16}},
        };
        const QImage img = tile(7);
        int magenta = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const auto row = magentaColumns.find(y);
                const bool inOutline =
                    row != magentaColumns.end() &&
                    std::find(row->second.begin(), row->second.end(), x) != row->second.end();
                const QRgb expected = inOutline ? qRgb(255, 13, 170) : kWhite;
                magenta += inOutline;
                QVERIFY2(img.pixel(x, y) == expected,
                         qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        QCOMPARE(magenta, 64);
    }

    // The icon at every size the desktop asks for, all drawn from the same artwork.
    void iconSizes_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
    }
    void iconSizes() {
        QFETCH(int, size);
        const QImage img(QStringLiteral(":/icons/nubbo-%1.png").arg(size));
        QVERIFY2(!img.isNull(), "icon missing from the resources");
        QCOMPARE(img.size(), QSize(size, size));
        QVERIFY(img.hasAlphaChannel());
        const int clear = countPixels(img, [](QRgb c) { return qAlpha(c) == 0; });
        const int solid = countPixels(img, [](QRgb c) { return qAlpha(c) == 255; });
        QVERIFY2(clear > 0 && solid > size * size / 3, "icon should be artwork on transparency");

        // Against the largest rendering scaled down: the same picture, small blending
        // differences only.
        const QImage ref = QImage(QStringLiteral(":/icons/nubbo-256.png"))
                               .convertToFormat(QImage::Format_ARGB32)
                               .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage own = img.convertToFormat(QImage::Format_ARGB32);
        double total = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb a = own.pixel(x, y), b = ref.pixel(x, y);
                total += std::abs(qAlpha(a) - qAlpha(b)) +
                         std::abs(qRed(a) * qAlpha(a) - qRed(b) * qAlpha(b)) / 255.0 +
                         std::abs(qGreen(a) * qAlpha(a) - qGreen(b) * qAlpha(b)) / 255.0 +
                         std::abs(qBlue(a) * qAlpha(a) - qBlue(b) * qAlpha(b)) / 255.0;
            }
        const double mean = total / (4.0 * size * size);
        QVERIFY2(mean < 8.0, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    }

    void scalableIconIsSvg() {
        QFile file(QStringLiteral(":/icons/icon.svg"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "icon.svg missing from the resources");
        const QByteArray svg = file.readAll();
        QVERIFY(svg.startsWith("<?xml") || svg.startsWith("<svg"));
        QVERIFY(svg.contains("<svg") && svg.trimmed().endsWith("</svg>"));
    }

    // assets.qrc and the compiled resources list the same files.
    void resourcesMatchTheList() {
        QFile qrc(QStringLiteral(NUBBO_ASSETS_QRC));
        QVERIFY(qrc.open(QIODevice::ReadOnly));
        QSet<QString> listed;
        QString prefix;
        QXmlStreamReader xml(&qrc);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("qresource")) {
                prefix = xml.attributes().value(QLatin1String("prefix")).toString();
            } else if (xml.name() == QLatin1String("file")) {
                const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
                const QString path = xml.readElementText();
                listed.insert(QLatin1Char(':') + prefix + QLatin1Char('/') +
                              (alias.isEmpty() ? path : alias));
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(listed.size(), 16);

        QSet<QString> compiled;
        for (const QString& root : {QStringLiteral(":/tiles"), QStringLiteral(":/icons")}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) compiled.insert(it.next());
        }
        QCOMPARE(compiled, listed);
    }
};

QTEST_MAIN(TilesTest)
#include "tiles_test.moc"
