#include "features/colorbins.h"
#include "features/edgedetector.h"
#include "features/featurevector.h"
#include "support/exifjpeg.h"

#include <QColor>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace veldra;

namespace {

QImage filled(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QMap<int, int> weightMap(const QVector<QPair<int, int>>& weights)
{
    QMap<int, int> map;
    for (const auto& [key, weight] : weights)
        map.insert(key, weight);
    return map;
}

int levelDistance(int a, int b)
{
    const int dr = a / 100 - b / 100, dg = a / 10 % 10 - b / 10 % 10, db = a % 10 - b % 10;
    return dr * dr + dg * dg + db * db;
}

} // namespace

class TestFeatureVector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void singleColourSpreadsToItsNeighbours_data()
    {
        QTest::addColumn<QRgb>("color");
        QTest::newRow("red") << qRgb(255, 0, 0);
        QTest::newRow("black") << qRgb(0, 0, 0);
        QTest::newRow("mid grey") << qRgb(128, 128, 128);
        QTest::newRow("olive") << qRgb(100, 150, 20);
    }

    void singleColourSpreadsToItsNeighbours()
    {
        QFETCH(QRgb, color);
        const QImage image = filled(30, 20, color);
        const FeatureVector features("unused.png", &image);
        const int key = colorBinKey(color);
        const QMap<int, int> weights = weightMap(features.colorWeights);
        const int expected[6] = { 100, 83, 66, 50, 33, 16 };
        for (int bin : colorBinKeys()) {
            const int d2 = levelDistance(bin, key);
            QCOMPARE(weights.value(bin, 0), d2 < 6 ? expected[d2] : 0);
        }
        QCOMPARE(features.rgn, 0.0);
        QCOMPARE(features.width, 30);
        QCOMPARE(features.height, 20);
        QCOMPARE(features.rcn, 0);
    }

    void sixPercentAddsNothingAtDistanceFive()
    {
        // 94 black pixels and 6 of a bin at squared level distance 5.
        QImage image = filled(10, 10, qRgb(0, 0, 0));
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, 0, qRgb(100, 50, 0)); // key 210
        const QMap<int, int> weights = weightMap(FeatureVector::computeColorWeights(image));
        QCOMPARE(weights.value(0), 94);
        QCOMPARE(weights.value(210), 6 + 15); // its own 6, and 94 / 6 truncated
    }

    void colourBelowOnePercentLeavesNoTrace()
    {
        QImage image = filled(100, 10, qRgb(0, 0, 0));
        for (int x = 0; x < 9; ++x)
            image.setPixel(x, 5, qRgb(255, 255, 255));
        const QMap<int, int> weights = weightMap(FeatureVector::computeColorWeights(image));
        QCOMPARE(weights.value(0), 99);
        QVERIFY(!weights.contains(555));
        QCOMPARE(weights.value(1), 82); // 99 * 5 / 6 truncated
    }

    void temperature_data()
    {
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<double>("temperature");
        QTest::newRow("red") << qRgb(255, 0, 0) << 45 * 2.2222222222;
        QTest::newRow("cyan") << qRgb(0, 255, 255) << -45 * 2.2222222222;
        QTest::newRow("green") << qRgb(0, 255, 0) << 0.0;
        QTest::newRow("blue") << qRgb(0, 0, 255) << 0.0;
        QTest::newRow("grey") << qRgb(77, 77, 77) << -10 * 2.2222222222;
        QTest::newRow("white") << qRgb(255, 255, 255) << -10 * 2.2222222222;
        // 8-bit channels: (255, 0, 128) has hue 329 and (0, 128, 255) hue 209.
        QTest::newRow("hue 329") << qRgb(255, 0, 128) << 14 * 2.2222222222;
        QTest::newRow("hue 150") << QColor::fromHsv(150, 255, 255).rgb() << -15 * 2.2222222222;
        QTest::newRow("hue 209") << qRgb(0, 128, 255) << -16 * 2.2222222222;
        QTest::newRow("hue 300") << QColor::fromHsv(300, 255, 255).rgb() << 0.0;
    }

    void temperature()
    {
        QFETCH(QRgb, color);
        QFETCH(double, temperature);
        QCOMPARE(FeatureVector::colorTemperature(filled(7, 3, color)), temperature);
    }

    void temperatureIsTheMeanOverPixels()
    {
        QImage image = filled(4, 1, qRgb(255, 0, 0));
        image.setPixel(0, 0, qRgb(9, 9, 9));
        // (45 + 45 + 45 - 10) / 4
        QCOMPARE(FeatureVector::colorTemperature(image), 125 / 4.0 * 2.2222222222);
    }

    void hueAgreesWithQColorForEveryColour()
    {
        std::vector<QRgb> row(256 * 256 + 3);
        std::vector<int> hues(row.size());
        for (int r = 0; r < 256; ++r) {
            for (int g = 0; g < 256; ++g)
                for (int b = 0; b < 256; ++b)
                    row[g * 256 + b] = qRgba(r, g, b, (g + b) & 0xff);
            // An odd count also takes the path for the last few pixels.
            row[65536] = row[65537] = row[65538] = qRgb(r, 7, 200);
            hsvHues(row.data(), qsizetype(row.size()), hues.data());
            for (size_t i = 0; i < row.size(); ++i) {
                const QColor color = QColor::fromRgb(row[i]);
                const int expected = color.hue();
                if (hues[i] != expected
                    || hsvHue(color.red(), color.green(), color.blue()) != expected)
                    QFAIL(qPrintable(QString("hue of %1 %2 %3")
                                         .arg(color.red())
                                         .arg(color.green())
                                         .arg(color.blue())));
            }
        }
    }

    void noiseCountsStrongEdges()
    {
        QImage image(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(x, y, (x / 8 + y / 8) % 2 ? qRgb(230, 230, 230) : qRgb(20, 20, 20));
        const QImage edges = detectEdges(image, 20, 58);
        int strong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                strong += qRed(edges.pixel(x, y)) > 50;
        QVERIFY(strong > 0);
        QCOMPARE(FeatureVector::edgeDensity(image), std::min(strong / 4096.0 * 260.0, 100.0));

        // Fine noise everywhere saturates at 100.
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        QImage speckled = image;
        for (int y = 0; y < 64; y += 3)
            for (int x = 0; x < 64; x += 2)
                speckled.setPixel(x, y, qRgb(128, 0, 255));
        QVERIFY(FeatureVector::edgeDensity(speckled) <= 100.0);
    }

    void tinyAndEmptyImages()
    {
        const QImage one = filled(1, 1, qRgb(255, 255, 255));
        const FeatureVector single("one.png", &one);
        QCOMPARE(single.rgn, 0.0);
        QCOMPARE(weightMap(single.colorWeights).value(555), 100);

        const QImage none;
        const FeatureVector empty("none.png", &none);
        QCOMPARE(empty.width, 0);
        QVERIFY(empty.colorWeights.isEmpty());
        QVERIFY(std::isnan(empty.rgn));
        QVERIFY(std::isnan(empty.temperature));
    }

    void readsTheFileUpright()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("rotated.jpg");
        const QByteArray bytes
            = test::jpegWithSegment(filled(40, 20, qRgb(255, 0, 0)), test::orientationSegment(6));
        QVERIFY(test::writeFile(path, bytes));

        const FeatureVector features(path);
        QCOMPARE(features.fileName, path);
        QCOMPARE(features.width, 20);
        QCOMPARE(features.height, 40);
        QCOMPARE(features.bytes, int(bytes.size()));

        const FeatureVector missing(dir.filePath("missing.jpg"));
        QCOMPARE(missing.bytes, 0);
        QCOMPARE(missing.width, 0);
    }
};

QTEST_GUILESS_MAIN(TestFeatureVector)
#include "tst_featurevector.moc"
