#include "recognition/face/integralimage.h"

#include <QTest>

using namespace veldra;

class TestIntegralImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void greyWeightsAndTruncation_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("mean");
        QTest::newRow("white") << qRgb(255, 255, 255) << 255;
        QTest::newRow("red weighs 0.3") << qRgb(100, 0, 0) << 30;
        QTest::newRow("green weighs 0.59") << qRgb(0, 100, 0) << 59;
        QTest::newRow("blue weighs 0.11") << qRgb(0, 0, 100) << 11;
        // 0.11 * 9 = 0.99: the running sum is truncated after every pixel, so
        // it never leaves 0; 0.11 * 10 = 1.1 adds exactly 1 per pixel.
        QTest::newRow("fraction below one is lost per pixel") << qRgb(0, 0, 9) << 0;
        QTest::newRow("fraction above one keeps the integer") << qRgb(0, 0, 10) << 1;
        // 0.59 * 150 + 0.3 * 100 + 0.11 * 200 = 140.5
        QTest::newRow("mixed colour") << qRgb(100, 150, 200) << 140;
    }

    void greyWeightsAndTruncation()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, mean);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        const IntegralImage integral(image, false);
        QCOMPARE(integral.mean(0, 0, 39, 29), mean);
        QCOMPARE(integral.mean(7, 3, 20, 11), mean);
    }

    void redChannelAndOtherFormats()
    {
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(qRgb(101, 255, 3));
        const IntegralImage integral(image, true);
        QCOMPARE(integral.mean(0, 0, 9, 9), 101);
        QCOMPARE(integral.sum(9, 9), 10100);
        // Any format is read as RGB.
        QImage grey(12, 12, QImage::Format_Grayscale8);
        grey.fill(100);
        QCOMPARE(IntegralImage(grey, false).mean(0, 0, 11, 11), 100);
        QCOMPARE(IntegralImage(QImage(), false).width(), 0);
    }

    void meanBoundaries_data()
    {
        QTest::addColumn<QRect>("corners"); // x1, y1 as left/top; x2, y2 as right/bottom
        QTest::addColumn<int>("mean");
        // Left half (x < 5) is 0, right half 200; the image is 10 x 8.
        QTest::newRow("whole image") << QRect(QPoint(0, 0), QPoint(9, 7)) << 100;
        QTest::newRow("corners are inclusive") << QRect(QPoint(4, 0), QPoint(5, 7)) << 100;
        QTest::newRow("right half from column 5") << QRect(QPoint(5, 2), QPoint(9, 7)) << 200;
        QTest::newRow("left half touching the origin") << QRect(QPoint(0, 0), QPoint(4, 7)) << 0;
        QTest::newRow("integer division") << QRect(QPoint(3, 0), QPoint(5, 1)) << 66;
        QTest::newRow("one pixel wide is 0") << QRect(QPoint(7, 0), QPoint(7, 7)) << 0;
        QTest::newRow("one pixel high is 0") << QRect(QPoint(5, 3), QPoint(9, 3)) << 0;
        QTest::newRow("left of the image") << QRect(QPoint(-1, 0), QPoint(5, 5)) << -1;
        QTest::newRow("above the image") << QRect(QPoint(0, -1), QPoint(5, 5)) << -1;
        QTest::newRow("right edge is width - 1") << QRect(QPoint(5, 0), QPoint(10, 5)) << -1;
        QTest::newRow("bottom edge is height - 1") << QRect(QPoint(5, 0), QPoint(9, 8)) << -1;
    }

    void meanBoundaries()
    {
        QFETCH(QRect, corners);
        QFETCH(int, mean);
        QImage image(10, 8, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 0));
        for (int y = 0; y < 8; ++y)
            for (int x = 5; x < 10; ++x)
                image.setPixel(x, y, qRgb(200, 200, 200));
        const IntegralImage integral(image, false);
        QCOMPARE(
            integral.mean(corners.left(), corners.top(), corners.right(), corners.bottom()), mean);
    }

    void reversedRectangleDoesNotDivideByZero()
    {
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        const IntegralImage integral(image, false);
        // x2 = x1 - 1 and y2 = y1 - 1: (w + 1) * (h + 1) would be 0.
        QCOMPARE(integral.mean(5, 5, 4, 4), 0);
        QCOMPARE(integral.mean(0, 0, -1, -1), 0);
    }

    // A white 12-megapixel photograph sums to 3.06e9, beyond a 32-bit int.
    void largePhotographSumsDoNotOverflow()
    {
        QImage image(4000, 3000, QImage::Format_RGB32);
        image.fill(Qt::white);
        const IntegralImage integral(image, false);
        QCOMPARE(integral.sum(3999, 2999), qint64(255) * 4000 * 3000);
        QCOMPARE(integral.mean(0, 0, 3999, 2999), 255);
        QCOMPARE(integral.mean(2000, 1500, 3999, 2999), 255);
        QCOMPARE(integral.mean(3990, 2990, 3999, 2999), 255);
    }
};

QTEST_GUILESS_MAIN(TestIntegralImage)
#include "tst_integralimage.moc"
