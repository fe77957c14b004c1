#include "recognition/face/regionrendering.h"

#include <QRandomGenerator>
#include <QTest>

using namespace veldra;

namespace {

QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xff000000 | (random.generate() & 0xffffff));
    return image;
}

bool sameOutside(const QImage& a, const QImage& b, const QRect& region)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!region.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

} // namespace

class TestRegionRendering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void censorCoversTheSecondQuarter_data()
    {
        QTest::addColumn<QRect>("region");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("endRow"); // first row not painted
        QTest::newRow("40 high: rows y1 + 10 to y1 + 19") << QRect(20, 30, 40, 40) << 40 << 50;
        // 0.25 * 41 = 10.25 and 0.5 * 41 = 20.5 are truncated.
        QTest::newRow("41 high") << QRect(5, 7, 30, 41) << 17 << 27;
        QTest::newRow("3 high: bottom row only") << QRect(0, 0, 10, 3) << 0 << 1;
    }

    void censorCoversTheSecondQuarter()
    {
        QFETCH(QRect, region);
        QFETCH(int, firstRow);
        QFETCH(int, endRow);
        const QImage image = noise(100, 100);
        const QImage censored = censorRegions(image, { region });
        QCOMPARE(censored.size(), image.size());
        const QRect bar(region.left(), firstRow, region.width(), endRow - firstRow);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (bar.contains(x, y))
                    QCOMPARE(censored.pixel(x, y), qRgb(0, 0, 0));
                else
                    QCOMPARE(censored.pixel(x, y), image.pixel(x, y));
            }
        }
    }

    void censorClipsRegionsAtTheBorder()
    {
        const QImage image = noise(50, 50);
        const QImage censored = censorRegions(image, { QRect(-20, -40, 100, 100), QRect() });
        // Rows -15 to 9 are painted where they exist: 0 to 9.
        QCOMPARE(censored.pixel(0, 9), qRgb(0, 0, 0));
        QCOMPARE(censored.pixel(49, 0), qRgb(0, 0, 0));
        QCOMPARE(censored.pixel(0, 10), image.pixel(0, 10));
    }

    void pixelationShowsBlocksAlongTheLongerSide_data()
    {
        QTest::addColumn<QRect>("region");
        QTest::addColumn<int>("blockWidth");
        QTest::addColumn<int>("blockHeight");
        QTest::newRow("100 x 50: blocks 10 wide") << QRect(10, 20, 100, 50) << 10 << 10;
        QTest::newRow("50 x 100: blocks 10 high") << QRect(3, 5, 50, 100) << 10 << 10;
        QTest::newRow("square 60") << QRect(0, 0, 60, 60) << 6 << 6;
    }

    void pixelationShowsBlocksAlongTheLongerSide()
    {
        QFETCH(QRect, region);
        QFETCH(int, blockWidth);
        QFETCH(int, blockHeight);
        const QImage image = noise(130, 120);
        const QImage pixelated = pixelateRegions(image, { region }, 10);
        QCOMPARE(pixelated.size(), image.size());
        QVERIFY(sameOutside(pixelated, image, region));

        // Every block is one colour, and neighbouring blocks of noise differ.
        int distinct = 0;
        for (int y = 0; y < region.height(); ++y) {
            for (int x = 0; x < region.width(); ++x) {
                const QRgb corner = pixelated.pixel(region.left() + x / blockWidth * blockWidth,
                    region.top() + y / blockHeight * blockHeight);
                QCOMPARE(pixelated.pixel(region.left() + x, region.top() + y), corner);
            }
        }
        for (int x = blockWidth; x < region.width(); x += blockWidth)
            distinct += pixelated.pixel(region.left() + x, region.top())
                != pixelated.pixel(region.left() + x - blockWidth, region.top());
        QVERIFY(distinct > 0);
    }

    void renderingKeepsTheInput()
    {
        QImage indexed(20, 20, QImage::Format_Indexed8);
        indexed.setColorTable({ qRgb(10, 20, 30), qRgb(200, 100, 0) });
        indexed.fill(1);
        const QImage censored = censorRegions(indexed, { QRect(0, 0, 20, 20) });
        QCOMPARE(censored.pixel(0, 5), qRgb(0, 0, 0));
        QCOMPARE(censored.pixel(0, 10), qRgb(200, 100, 0));
        QCOMPARE(indexed.pixelIndex(0, 5), 1);

        const QImage image = noise(30, 30);
        QCOMPARE(pixelateRegions(image, {}, 10), image);
        QCOMPARE(pixelateRegions(image, { QRect(0, 0, 30, 30) }, 0), image);
        QCOMPARE(censorRegions(QImage(), { QRect(0, 0, 5, 5) }).isNull(), true);
    }
};

QTEST_GUILESS_MAIN(TestRegionRendering)
#include "tst_regionrendering.moc"
