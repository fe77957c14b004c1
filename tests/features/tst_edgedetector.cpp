#include "features/edgedetector.h"
#include "features/edgedetector_p.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <vector>

using namespace veldra;

namespace {

// The edge rules written out the plain way: whole-image arrays and pixel
// accessors. The detector under test streams rows; both must agree bit for bit.
QImage referenceEdges(const QImage& input, int low, int high)
{
    const QImage image = input.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(qRgb(0, 0, 0));
    if (w < 3 || h < 3)
        return out;

    std::vector<int> grey(w * h), smooth(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            grey[y * w + x] = (11 * qRed(p) + 16 * qGreen(p) + 5 * qBlue(p)) >> 5;
        }
    const int kernel[3][3] = { { 1, 2, 1 }, { 2, 4, 2 }, { 1, 2, 1 } };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sum = 0;
            int weights = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    if (x + i >= 0 && x + i < w && y + j >= 0 && y + j < h) {
                        sum += kernel[j + 1][i + 1] * grey[(y + j) * w + x + i];
                        weights += kernel[j + 1][i + 1];
                    }
            const bool inner = x > 0 && y > 0 && x < w - 1 && y < h - 1;
            smooth[y * w + x]
                = inner ? std::min(int(sum * 0.0625), 255) : int(sum / double(weights));
        }

    auto R = [&](int x, int y) { return smooth[y * w + x]; };
    std::vector<int> m(w * h, 0);
    std::vector<double> theta(w * h, 0);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const int gy = (R(x - 1, y + 1) + 2 * R(x, y + 1) + R(x + 1, y + 1))
                - (R(x - 1, y - 1) + 2 * R(x, y - 1) + R(x + 1, y - 1));
            int gx = (R(x + 1, y - 1) + R(x + 1, y + 1)) - (R(x - 1, y - 1) + R(x - 1, y + 1));
            if (x > 1)
                gx += 2 * (R(x + 1, y) - R(x, y));
            m[y * w + x] = std::abs(gx) + std::abs(gy);
            theta[y * w + x] = fastAtan2(gx, gy) * 180.0 / 3.141592653589793;
        }
    auto M = [&](int x, int y) -> int& { return m[y * w + x]; };
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            if (M(x, y) < low) {
                M(x, y) = 0;
                continue;
            }
            double t = theta[y * w + x];
            if (t < 0)
                t += 180;
            int a, b;
            if (t > 112.5 && t <= 157.5) {
                a = M(x + 1, y - 1);
                b = M(x - 1, y + 1);
            } else if (t > 67.5 && t <= 112.5) {
                a = M(x - 1, y);
                b = M(x + 1, y);
            } else if (t > 22.5 && t <= 67.5) {
                a = M(x - 1, y - 1);
                b = M(x + 1, y + 1);
            } else {
                a = M(x, y - 1);
                b = M(x, y + 1);
            }
            if (a > M(x, y) || b > M(x, y))
                M(x, y) = 0;
        }
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            int mx = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    mx = std::max(mx, M(x + i, y + j));
            if (mx >= high) {
                const int v = std::min(M(x, y), 255);
                out.setPixel(x, y, qRgb(v, v, v));
            }
        }
    return out;
}

QImage uniform(int w, int h, QRgb color, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    image.fill(color);
    return image;
}

// Blocks, gradients and noise: edges in every direction and of every strength.
QImage photoLike(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int base = ((x / 7 + y / 5) % 3) * 70 + (x * 255) / std::max(w, 1) / 3;
            const int noise = int(random.bounded(40)) - 20;
            line[x] = qRgb(std::clamp(base + noise, 0, 255), std::clamp(base / 2 + noise, 0, 255),
                std::clamp(255 - base + noise, 0, 255));
        }
    }
    return image;
}

// 30 x 20, black above row 10 and grey from there down.
QImage step(int grey)
{
    QImage image = uniform(30, 20, qRgb(grey, grey, grey));
    std::fill_n(reinterpret_cast<QRgb*>(image.bits()), 30 * 10, qRgb(0, 0, 0));
    return image;
}

QList<int> rowsWithGrey(const QImage& image)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                rows << y;
                break;
            }
    return rows;
}

} // namespace

class TestEdgeDetector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesTheRulesOnVariedImages_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        for (const QSize size : { QSize(3, 3), QSize(3, 17), QSize(17, 3), QSize(4, 4),
                 QSize(64, 48), QSize(101, 26), QSize(257, 131) }) {
            const QString name = QString("%1x%2").arg(size.width()).arg(size.height());
            QTest::newRow(qPrintable(name + " noise 20/58"))
                << photoLike(size.width(), size.height(), 7) << 20 << 58;
            QTest::newRow(qPrintable(name + " noise 50/58"))
                << photoLike(size.width(), size.height(), 8) << 50 << 58;
            QTest::newRow(qPrintable(name + " noise 100/58"))
                << photoLike(size.width(), size.height(), 9) << 100 << 58;
        }
        QTest::newRow("thresholds zero") << photoLike(40, 30, 3) << 0 << 0;
        QTest::newRow("negative thresholds") << photoLike(40, 30, 4) << -5 << -1;
        QImage argb = photoLike(50, 40, 5).convertToFormat(QImage::Format_ARGB32);
        argb.setPixel(10, 10, qRgba(255, 0, 0, 0));
        QTest::newRow("argb input") << argb << 20 << 58;
        QTest::newRow("grayscale input")
            << photoLike(50, 40, 6).convertToFormat(QImage::Format_Grayscale8) << 20 << 58;
    }

    void matchesTheRulesOnVariedImages()
    {
        QFETCH(QImage, image);
        QFETCH(int, low);
        QFETCH(int, high);
        const QImage edges = detectEdges(image, low, high);
        QCOMPARE(edges.format(), QImage::Format_RGB32);
        QCOMPARE(edges.size(), image.size());
        QCOMPARE(edges, referenceEdges(image, low, high));
    }

    void constantOrThinImagesHaveNoEdges()
    {
        for (const QRgb color : { qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(12, 200, 99) })
            for (const int low : { 0, 20, 50 })
                QVERIFY(rowsWithGrey(detectEdges(uniform(40, 30, color), low, 58)).isEmpty());
        // Without inner pixels nothing is an edge, whatever the content.
        for (const QSize size : { QSize(2, 2), QSize(1, 9), QSize(9, 1), QSize(2, 40) }) {
            const QImage edges = detectEdges(photoLike(size.width(), size.height(), 1), 0, 0);
            QCOMPARE(edges.size(), size);
            QVERIFY(rowsWithGrey(edges).isEmpty());
        }
        QVERIFY(detectEdges(QImage(), 20, 58).isNull());
    }

    void stepIsDrawnNextToTheStepOnly()
    {
        const QImage edges = detectEdges(step(255), 20, 58);
        QCOMPARE(rowsWithGrey(edges), QList<int>({ 10 }));
        QCOMPARE(edges.pixel(0, 10), qRgb(0, 0, 0));
        QCOMPARE(edges.pixel(1, 10), qRgb(255, 255, 255));
        QCOMPARE(edges.pixel(28, 10), qRgb(255, 255, 255));
        QCOMPARE(edges.pixel(29, 10), qRgb(0, 0, 0));
    }

    void weakEdgesBelowLowCannotLightANeighbour()
    {
        // A step of 25 grey levels has a gradient of 76: strong enough for
        // the high threshold 58, too weak for a low threshold of 100.
        const QImage shown = detectEdges(step(25), 20, 58);
        QCOMPARE(rowsWithGrey(shown), QList<int>({ 10 }));
        QCOMPARE(shown.pixel(5, 10), qRgb(76, 76, 76));
        QVERIFY(rowsWithGrey(detectEdges(step(25), 100, 58)).isEmpty());
        QVERIFY(rowsWithGrey(detectEdges(step(25), 20, 77)).isEmpty());
    }

    void smoothingDividesByTheWeightsUsed()
    {
        QImage dot = uniform(3, 3, qRgb(0, 0, 0));
        dot.setPixel(1, 1, qRgb(255, 255, 255));
        const QImage smooth = smoothGrey(dot);
        QCOMPARE(smooth.pixel(1, 1), qRgb(63, 63, 63)); // 4 * 255 / 16
        QCOMPARE(smooth.pixel(1, 0), qRgb(42, 42, 42)); // 2 * 255 / 12
        QCOMPARE(smooth.pixel(0, 0), qRgb(28, 28, 28)); // 255 / 9
        QCOMPARE(smooth.pixel(2, 2), qRgb(28, 28, 28));

        // Two pixels wide: every pixel is on the border.
        QImage narrow = uniform(2, 3, qRgb(0, 0, 0));
        narrow.setPixel(0, 1, qRgb(255, 255, 255));
        QCOMPARE(smoothGrey(narrow).pixel(1, 1), qRgb(42, 42, 42));
        QCOMPARE(smoothGrey(narrow).pixel(1, 0), qRgb(28, 28, 28));
    }

    void alphaDarkensBeforeSmoothing()
    {
        const QImage clear
            = smoothGrey(uniform(5, 5, qRgba(255, 255, 255, 0), QImage::Format_ARGB32));
        QCOMPARE(clear.pixel(2, 2), qRgb(0, 0, 0));
        const QImage half
            = smoothGrey(uniform(5, 5, qRgba(255, 255, 255, 128), QImage::Format_ARGB32));
        QCOMPARE(half.pixel(2, 2), qRgb(128, 128, 128));
        QCOMPARE(half.pixel(0, 0), qRgb(128, 128, 128));
        // The darkened grey is truncated before it is smoothed: 100 * 100 / 255 = 39.2.
        const QImage partial
            = smoothGrey(uniform(5, 5, qRgba(100, 100, 100, 100), QImage::Format_ARGB32));
        QCOMPARE(partial.pixel(2, 2), qRgb(39, 39, 39));
        // Premultiplied storage reads the same colours.
        const QImage premultiplied
            = smoothGrey(uniform(5, 5, qRgba(255, 255, 255, 128), QImage::Format_ARGB32)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied));
        QCOMPARE(qAlpha(premultiplied.pixel(2, 2)), 255);
        QCOMPARE(qRed(premultiplied.pixel(2, 2)), 128);
    }

    void smoothGreyKeepsSizeAndFormat()
    {
        using F = QImage::Format;
        // Indexed colours cannot hold the grey levels: those become 32-bit RGB.
        for (const auto& [format, expected] : { std::pair { F::Format_RGB32, F::Format_RGB32 },
                 { F::Format_ARGB32, F::Format_ARGB32 }, { F::Format_RGB888, F::Format_RGB888 },
                 { F::Format_Grayscale8, F::Format_Grayscale8 },
                 { F::Format_Indexed8, F::Format_RGB32 } }) {
            const QImage source = photoLike(9, 7, 2).convertToFormat(format);
            const QImage smooth = smoothGrey(source);
            QCOMPARE(smooth.format(), expected);
            QCOMPARE(smooth.size(), source.size());
            const QImage reference = smoothGrey(source.convertToFormat(QImage::Format_ARGB32));
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 9; ++x)
                    QCOMPARE(smooth.pixel(x, y), reference.pixel(x, y));
        }
    }

    void fastAtan2FollowsTheAngle()
    {
        // Every tenth of a degree, for short and long gradients.
        for (int step = -1800; step < 1800; ++step)
            for (const double length : { 1.0, 700.0 }) {
                const double t = step * 3.141592653589793 / 1800;
                const float a = float(length * std::sin(t)), b = float(length * std::cos(t));
                const float angle = fastAtan2(a, b);
                const double error = std::remainder(angle - std::atan2(a, b), 6.283185307179586);
                if (!(angle > -3.1416f && angle <= 3.1416f) || std::fabs(error) >= 0.075)
                    QFAIL(qPrintable(QString("fastAtan2(%1, %2) = %3").arg(a).arg(b).arg(angle)));
            }
    }

    void directionLimitsAgreeWithTheArctangent()
    {
        for (int gx = -maxGradient; gx <= maxGradient; ++gx)
            for (int gy = -maxGradient; gy <= maxGradient; ++gy)
                if (edgeDirectionBucket(gx, gy) != edgeDirectionBucketExact(gx, gy))
                    QFAIL(qPrintable(QString("direction of %1, %2").arg(gx).arg(gy)));
    }

    void fastAtan2ExactValues()
    {
        QCOMPARE(fastAtan2(1, 0), 1.5707963705062866f);
        QCOMPARE(fastAtan2(-1, 0), -1.5707963705062866f);
        QCOMPARE(fastAtan2(0, -1), 3.1415927410125732f);
        QCOMPARE(fastAtan2(0, 0), 1.5707963705062866f);
    }
};

QTEST_GUILESS_MAIN(TestEdgeDetector)
#include "tst_edgedetector.moc"
