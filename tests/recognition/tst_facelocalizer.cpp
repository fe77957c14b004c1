#include "recognition/face/facelocalizer.h"
#include "recognition/face/integralimage.h"
#include "support/syntheticphotos.h"

#include <QTest>

using namespace veldra;
using veldra::test::Face;
using veldra::test::facePhoto;
using veldra::test::twice;

namespace {

QRect square(int x, int y, int side)
{
    return QRect(x, y, side, side);
}

} // namespace

class TestFaceLocalizer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faceTemplatePassesTheWholeCascade_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("25 pixels") << 1 << QPoint(0, 0);
        QTest::newRow("50 pixels") << 2 << QPoint(7, 3);
        QTest::newRow("100 pixels") << 4 << QPoint(0, 0);
        QTest::newRow("200 pixels") << 8 << QPoint(1, 11);
    }

    void faceTemplatePassesTheWholeCascade()
    {
        QFETCH(int, cell);
        QFETCH(QPoint, at);
        const int side = 25 * cell;
        const QImage image = facePhoto(QSize(at.x() + side, at.y() + side), { { at, cell } });
        const IntegralImage integral(image, false);
        QCOMPARE(FaceLocalizer::passedTests(integral, at.x(), at.y(), side),
            FaceLocalizer::cascadeLength);
        // The same window on plain grey fails the first test.
        const IntegralImage plain(facePhoto(image.size(), {}), false);
        QCOMPARE(FaceLocalizer::passedTests(plain, at.x(), at.y(), side), 0);
    }

    // One small change to the face (cells in the 25 x 25 grid set to one grey
    // level) makes exactly one test of the cascade the first to fail.
    void eachTestRejectsItsOwnFault_data()
    {
        QTest::addColumn<QRect>("cells");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("failingTest");
        QTest::newRow("1: left eye block") << QRect(9, 14, 1, 2) << 0x2 << 1;
        QTest::newRow("2: right eye block") << QRect(15, 9, 3, 1) << 0xe << 2;
        QTest::newRow("3") << QRect(17, 11, 1, 2) << 0x2 << 3;
        QTest::newRow("4: three columns") << QRect(11, 4, 3, 1) << 0x1 << 4;
        QTest::newRow("5: quadrants") << QRect(9, 10, 1, 2) << 0xf << 5;
        QTest::newRow("6: B - A") << QRect(7, 6, 5, 1) << 0x0 << 6;
        QTest::newRow("7") << QRect(6, 16, 5, 3) << 0xf << 7;
        QTest::newRow("8") << QRect(11, 21, 3, 1) << 0x0 << 8;
        QTest::newRow("9") << QRect(10, 13, 1, 5) << 0xf << 9;
        QTest::newRow("10") << QRect(6, 14, 1, 1) << 0x3 << 10;
        QTest::newRow("11: direction of test 10") << QRect(16, 13, 1, 1) << 0x0 << 11;
        QTest::newRow("12") << QRect(3, 4, 1, 1) << 0x1 << 12;
        QTest::newRow("13") << QRect(20, 16, 1, 1) << 0x1 << 13;
        QTest::newRow("14: split of test 13") << QRect(12, 13, 1, 4) << 0x0 << 14;
        QTest::newRow("15") << QRect(3, 17, 1, 1) << 0x4 << 15;
        QTest::newRow("17: three rows") << QRect(12, 16, 2, 1) << 0x0 << 17;
        QTest::newRow("18: three rows") << QRect(7, 16, 17, 6) << 0xb << 18;
        QTest::newRow("19: three columns") << QRect(13, 19, 1, 1) << 0x4 << 19;
        QTest::newRow("20: A - B") << QRect(8, 10, 2, 8) << 0xf << 20;
        QTest::newRow("21: B - A") << QRect(7, 7, 7, 1) << 0x1 << 21;
        QTest::newRow("22") << QRect(4, 7, 2, 4) << 0x0 << 22;
        QTest::newRow("23") << QRect(14, 14, 1, 1) << 0x0 << 23;
        QTest::newRow("24") << QRect(5, 15, 1, 1) << 0x4 << 24;
        QTest::newRow("25") << QRect(23, 16, 1, 1) << 0xf << 25;
        QTest::newRow("26: six blocks") << QRect(18, 7, 1, 4) << 0xf << 26;
        QTest::newRow("27: -69 to 69") << QRect(17, 5, 6, 20) << 0x0 << 27;
        QTest::newRow("28: four rows") << QRect(7, 3, 3, 3) << 0x0 << 28;
        QTest::newRow("29: dark upper part") << QRect(3, 6, 8, 3) << 0x0 << 29;
    }

    void eachTestRejectsItsOwnFault()
    {
        QFETCH(QRect, cells);
        QFETCH(int, value);
        QFETCH(int, failingTest);
        const QImage image = facePhoto(QSize(100, 100), { { QPoint(0, 0), 4, cells, value } });
        const IntegralImage integral(image, false);
        QCOMPARE(FaceLocalizer::passedTests(integral, 0, 0, 100), failingTest - 1);
    }

    void locateFindsDrawnFaces_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<Face>>("faces");
        QTest::addColumn<QVector<QRect>>("expected");
        QTest::newRow("one face") << QSize(160, 160) << QList<Face> { { QPoint(30, 30), 4 } }
                                  << QVector<QRect> { square(38, 37, 86) };
        QTest::newRow("face at the border")
            << QSize(120, 100) << QList<Face> { { QPoint(20, 0), 4 } }
            << QVector<QRect> { square(28, 7, 86) };
        QTest::newRow("wide photo") << QSize(300, 60) << QList<Face> { { QPoint(100, 5), 2 } }
                                    << QVector<QRect> { square(101, 6, 49) };
        // The smaller face is found first: smaller windows are scanned first.
        QTest::newRow("two faces")
            << QSize(300, 200) << QList<Face> { { QPoint(20, 40), 4 }, { QPoint(180, 90), 3 } }
            << QVector<QRect> { square(184, 94, 67), square(28, 47, 86) };
        QTest::newRow("same face in a 200 pixel photo")
            << QSize(200, 200) << QList<Face> { { QPoint(100, 100), 2 } }
            << QVector<QRect> { square(101, 101, 49) };
        // The scan starts at a fifth of the smaller side (80): a 50-pixel face
        // is not searched for.
        QTest::newRow("small face in a 400 pixel photo")
            << QSize(400, 400) << QList<Face> { { QPoint(100, 100), 2 } } << QVector<QRect>();
        // The only window of a 25 x 25 photo passes, but nothing confirms it.
        QTest::newRow("face fills the photo")
            << QSize(25, 25) << QList<Face> { { QPoint(0, 0), 1 } } << QVector<QRect>();
        QTest::newRow("24 pixels wide") << QSize(24, 100) << QList<Face>() << QVector<QRect>();
        QTest::newRow("24 pixels high") << QSize(100, 24) << QList<Face>() << QVector<QRect>();
        QTest::newRow("plain grey") << QSize(300, 300) << QList<Face>() << QVector<QRect>();
    }

    void locateFindsDrawnFaces()
    {
        QFETCH(QSize, size);
        QFETCH(QList<Face>, faces);
        QFETCH(QVector<QRect>, expected);
        const QImage image = facePhoto(size, faces);
        QCOMPARE(FaceLocalizer(25, 0.2).locate(image), expected);
        // The localiser reads any format as 32-bit RGB.
        QCOMPARE(FaceLocalizer().locate(image.convertToFormat(QImage::Format_RGB888)), expected);
    }

    void emptyImagesHaveNoFaces()
    {
        QVERIFY(FaceLocalizer().locate(QImage()).isEmpty());
        QVERIFY(FaceLocalizer().locate(QImage(1, 1, QImage::Format_RGB32)).isEmpty());
    }

    // Windows below 4 pixels would never grow (trunc(3 * 1.25) is 3), neither
    // to the start size nor past it.
    void tinyMinimumSizeStillFinishes_data()
    {
        QTest::addColumn<int>("minimumSize");
        QTest::addColumn<double>("startFraction");
        QTest::newRow("grows to the start size") << 3 << 0.2;
        QTest::newRow("scans from 1 pixel") << 1 << 0.0;
        QTest::newRow("scans from 0 pixels") << 0 << 0.0;
    }

    void tinyMinimumSizeStillFinishes()
    {
        QFETCH(int, minimumSize);
        QFETCH(double, startFraction);
        const QImage image = facePhoto(QSize(120, 90), {});
        QVERIFY(FaceLocalizer(minimumSize, startFraction).locate(image).isEmpty());
    }

    void postProcessing_data()
    {
        QTest::addColumn<QVector<QRect>>("candidates");
        QTest::addColumn<QVector<QRect>>("faces");
        QTest::newRow("none") << QVector<QRect>() << QVector<QRect>();
        QTest::newRow("two identical candidates confirm each other")
            << twice({ square(10, 20, 50) }) << QVector<QRect> { square(10, 20, 50) };
        QTest::newRow("a lone candidate is dropped")
            << QVector<QRect> { square(10, 20, 50) } << QVector<QRect>();
        // Width 100: neighbours must lie less than trunc(0.39 * 100) = 39 away.
        QTest::newRow("38 to the right confirms") << QVector<QRect> { square(0, 0, 100),
            square(38, 0, 100) } << QVector<QRect> { square(19, 0, 100) };
        QTest::newRow("39 to the right does not")
            << QVector<QRect> { square(0, 0, 100), square(39, 0, 100) } << QVector<QRect>();
        QTest::newRow("39 below does not")
            << QVector<QRect> { square(0, 0, 100), square(0, 39, 100) } << QVector<QRect>();
        // Each candidate measures with its own width: 40 is too far for the
        // 100 (limit 39) but near enough for the 140 (limit 54).
        QTest::newRow("tolerance of the larger candidate") << QVector<QRect> { square(0, 0, 100),
            square(0, 0, 140) } << QVector<QRect> { square(0, 0, 140) };
        QTest::newRow("38 larger confirms both") << QVector<QRect> { square(0, 0, 100),
            square(0, 0, 138) } << QVector<QRect> { square(0, 0, 119) };
        // 0 and 90 are too far apart for one cluster (limit 50), but 45 joins
        // both while the cluster grows.
        QTest::newRow("cluster grows through its members")
            << twice({ square(0, 0, 100), square(90, 0, 100), square(45, 0, 100) })
            << QVector<QRect> { square(45, 0, 100) };
        QTest::newRow("averages are truncated")
            << QVector<QRect> { square(0, 0, 100), square(1, 1, 101), square(1, 1, 101) }
            << QVector<QRect> { square(0, 0, 100) };
        QTest::newRow("a small face inside a large one goes") << twice(
            { square(50, 50, 60), square(0, 0, 200) }) << QVector<QRect> { square(0, 0, 200) };
        // The smaller face shares 18 pixels (0.3 * 60) of its side with the
        // larger, which keeps it; 19 removes it.
        QTest::newRow("overlap of 0.3 of the smaller side is kept")
            << twice({ square(0, 0, 100), square(82, 82, 60) })
            << QVector<QRect> { square(0, 0, 100), square(82, 82, 60) };
        QTest::newRow("overlap above 0.3 of the smaller side is removed") << twice(
            { square(0, 0, 100), square(81, 81, 60) }) << QVector<QRect> { square(0, 0, 100) };
        QTest::newRow("overlapping faces of one size both stay")
            << twice({ square(0, 0, 100), square(60, 0, 100) })
            << QVector<QRect> { square(0, 0, 100), square(60, 0, 100) };
        QTest::newRow("touching faces both stay")
            << twice({ square(0, 0, 100), square(100, 0, 60) })
            << QVector<QRect> { square(0, 0, 100), square(100, 0, 60) };
        QTest::newRow("faces keep the order of their first candidates")
            << twice({ square(300, 0, 50), square(0, 0, 80) })
            << QVector<QRect> { square(300, 0, 50), square(0, 0, 80) };
    }

    void postProcessing()
    {
        QFETCH(QVector<QRect>, candidates);
        QFETCH(QVector<QRect>, faces);
        QCOMPARE(FaceLocalizer::postProcess(candidates), faces);
    }

    // Two clusters that average to the same square: a ring of candidates 56
    // pixels around the centre (too far to join the centre's cluster, close
    // enough to each other) and a pair at the centre. Each lies inside the
    // other, so both go.
    void equalAveragedFacesAreBothRemoved()
    {
        QVector<QRect> candidates = twice({ square(0, 0, 100) });
        for (int x = -56; x <= 56; x += 28) {
            for (int y = -56; y <= 56; y += 28) {
                if (qAbs(x) == 56 || qAbs(y) == 56)
                    candidates.append(square(x, y, 100));
            }
        }
        QCOMPARE(candidates.size(), 18);
        QCOMPARE(FaceLocalizer::postProcess(candidates), QVector<QRect>());
        // Without the centre pair the ring alone is one face.
        QCOMPARE(
            FaceLocalizer::postProcess(candidates.mid(2)), QVector<QRect> { square(0, 0, 100) });
    }
};

QTEST_GUILESS_MAIN(TestFaceLocalizer)
#include "tst_facelocalizer.moc"
