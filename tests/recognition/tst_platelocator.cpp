#include "recognition/face/integralimage.h"
#include "recognition/plate/platelocator.h"
#include "support/syntheticphotos.h"

#include <QTest>

using namespace veldra;
using veldra::test::carPhoto;
using veldra::test::twice;

namespace {

// One row of an edge image, 101 pixels: `width` 100 plus the pixel after it.
// Every listed position gets the given strength and is followed by black, so
// each is a falling step of that size.
QImage edgeRow(const QList<int>& positions, int strength = 255, const QList<int>& moderate = {})
{
    QImage row(101, 1, QImage::Format_RGB32);
    row.fill(qRgb(0, 0, 0));
    for (int i : positions)
        row.setPixel(i, 0, qRgb(strength, strength, strength));
    for (int i : moderate)
        row.setPixel(i, 0, qRgb(60, 60, 60));
    return row;
}

QList<int> steps(int first, int last, int step)
{
    QList<int> positions;
    for (int i = first; i <= last; i += step)
        positions.append(i);
    return positions;
}

// An edge image 101 wide, black but for character rows (12 transitions) at rows.
QImage characterRowsAt(int height, const QList<int>& rows)
{
    const QImage row = edgeRow(steps(17, 83, 6));
    QImage edges(101, height, QImage::Format_RGB32);
    edges.fill(qRgb(0, 0, 0));
    for (int y : rows)
        std::copy_n(reinterpret_cast<const QRgb*>(row.constScanLine(0)), 101,
            reinterpret_cast<QRgb*>(edges.scanLine(y)));
    return edges;
}

} // namespace

class TestPlateLocator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void characterRows_data()
    {
        QTest::addColumn<QList<int>>("transitions");
        QTest::addColumn<int>("strength");
        QTest::addColumn<int>("moderateSteps");
        QTest::addColumn<bool>("isRow");
        // Window width 100: transitions every 6 pixels around the middle.
        QTest::newRow("12 transitions") << steps(17, 83, 6) << 255 << 0 << true;
        QTest::newRow("11 transitions") << steps(20, 80, 6) << 255 << 0 << false;
        QTest::newRow("32 transitions") << steps(19, 81, 2) << 255 << 0 << true;
        QTest::newRow("33 transitions") << steps(18, 82, 2) << 255 << 0 << false;
        QTest::newRow("steps of 111") << steps(17, 83, 6) << 111 << 0 << true;
        QTest::newRow("steps of 110 are no transitions") << steps(17, 83, 6) << 110 << 0 << false;
        QTest::newRow("23 moderate steps") << steps(17, 83, 6) << 255 << 23 << true;
        QTest::newRow("24 moderate steps") << steps(17, 83, 6) << 255 << 24 << false;
        // Mean position sumPos / nTrans must lie strictly between 40 and 60.
        QTest::newRow("centre 40")
            << QList<int> { 0, 7, 15, 22, 29, 36, 44, 51, 58, 65, 73, 80 } << 255 << 0 << false;
        QTest::newRow("centre 41")
            << QList<int> { 0, 7, 15, 22, 30, 37, 45, 52, 60, 67, 75, 82 } << 255 << 0 << true;
        QTest::newRow("centre 59")
            << QList<int> { 19, 26, 34, 41, 48, 55, 63, 70, 77, 84, 92, 99 } << 255 << 0 << true;
        QTest::newRow("centre 60")
            << QList<int> { 21, 28, 35, 42, 49, 56, 64, 71, 78, 85, 92, 99 } << 255 << 0 << false;
        // More than 20 pixels without a transition restart the count: the
        // first ten are forgotten and 24 remain; a gap of 20 keeps all 34.
        QTest::newRow("gap of 21 restarts the count")
            << (steps(10, 28, 2) + steps(50, 96, 2)) << 255 << 0 << true;
        QTest::newRow("gap of 20 keeps counting")
            << (steps(10, 28, 2) + steps(49, 95, 2)) << 255 << 0 << false;
        // More than 30 pixels without a transition end the row.
        QTest::newRow("30 leading pixels") << (steps(30, 48, 2) << 69 << 90) << 255 << 0 << true;
        QTest::newRow("31 leading pixels") << (steps(31, 49, 2) << 70 << 91) << 255 << 0 << false;
        QTest::newRow("long tail restarts the count") << steps(10, 76, 6) << 255 << 0 << false;
        QTest::newRow("no transitions") << QList<int>() << 255 << 0 << false;
    }

    void characterRows()
    {
        QFETCH(QList<int>, transitions);
        QFETCH(int, strength);
        QFETCH(int, moderateSteps);
        QFETCH(bool, isRow);
        // Moderate steps (60 followed by black) in the gaps between transitions.
        QList<int> moderate;
        for (int i = 1; i < 100 && moderate.size() < moderateSteps; i += 2) {
            if (!transitions.contains(i) && !transitions.contains(i + 1)
                && !transitions.contains(i - 1))
                moderate.append(i);
        }
        QCOMPARE(moderate.size(), moderateSteps);
        const QImage row = edgeRow(transitions, strength, moderate);
        QCOMPARE(PlateLocator::isCharacterRow(row, 0, 0, 100), isRow);
    }

    void windowNeedsAQuarterToThreeQuartersCharacterRows_data()
    {
        QTest::addColumn<QList<int>>("characterRows");
        QTest::addColumn<bool>("accepted");
        // Height 20: rows 0, 2, ... 18 are read; 5 < k < 15 passes.
        QTest::newRow("5 rows") << QList<int> { 0, 2, 4, 6, 8 } << false;
        QTest::newRow("6 rows") << QList<int> { 0, 2, 4, 6, 8, 10 } << true;
        QTest::newRow("all 10 read rows") << steps(0, 18, 2) << true;
        QTest::newRow("odd rows are not read") << steps(1, 19, 2) << false;
    }

    void windowNeedsAQuarterToThreeQuartersCharacterRows()
    {
        QFETCH(QList<int>, characterRows);
        QFETCH(bool, accepted);
        const QImage edges = characterRowsAt(21, characterRows);
        QImage photo(101, 21, QImage::Format_RGB32);
        photo.fill(qRgb(100, 100, 100));
        const IntegralImage integral(photo, false);
        QCOMPARE(PlateLocator::acceptsWindow(edges, integral, 0, 0, 100, 20), accepted);
    }

    void windowHalvesMustBeEquallyBright_data()
    {
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("accepted");
        // Left mean over columns 0..50 is 100; the right mean over 50..100
        // includes column 50: (100 + 50 v) / 51.
        QTest::newRow("26 brighter") << 127 << true;
        QTest::newRow("27 brighter") << 128 << false;
        QTest::newRow("26 darker") << 74 << true;
        QTest::newRow("27 darker") << 73 << false;
    }

    void windowHalvesMustBeEquallyBright()
    {
        QFETCH(int, right);
        QFETCH(bool, accepted);
        const QImage edges = characterRowsAt(5, { 0, 2 });
        QImage photo(101, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 101; ++x)
                photo.setPixel(x, y, x <= 50 ? qRgb(100, 0, 0) : qRgb(right, 0, 0));
        const IntegralImage integral(photo, true);
        QCOMPARE(PlateLocator::acceptsWindow(edges, integral, 0, 0, 100, 4), accepted);
    }

    void postProcessing_data()
    {
        QTest::addColumn<QVector<QRect>>("candidates");
        QTest::addColumn<QVector<QRect>>("plates");
        QTest::newRow("a lone window is dropped")
            << QVector<QRect> { QRect(0, 0, 100, 20) } << QVector<QRect>();
        QTest::newRow("box 100 x 40 is kept")
            << twice({ QRect(5, 5, 100, 40) }) << QVector<QRect> { QRect(5, 5, 100, 40) };
        QTest::newRow("box 100 x 45 is removed")
            << twice({ QRect(5, 5, 100, 45) }) << QVector<QRect>();
        // Width 100: t = 50, t2 = 25, so top edges join when less than 12.5 apart.
        QTest::newRow("tops 12 apart merge")
            << twice({ QRect(0, 0, 100, 20), QRect(0, 12, 100, 20) })
            << QVector<QRect> { QRect(0, 0, 100, 32) };
        QTest::newRow("tops 13 apart stay apart")
            << twice({ QRect(0, 0, 100, 20), QRect(0, 13, 100, 20) })
            << QVector<QRect> { QRect(0, 0, 100, 20), QRect(0, 13, 100, 20) };
        QTest::newRow("tops 12 above merge")
            << twice({ QRect(0, 12, 100, 20), QRect(0, 0, 100, 20) })
            << QVector<QRect> { QRect(0, 0, 100, 32) };
        QTest::newRow("lefts 49 apart merge")
            << twice({ QRect(0, 0, 100, 20), QRect(49, 0, 100, 20) })
            << QVector<QRect> { QRect(0, 0, 149, 20) };
        QTest::newRow("lefts 50 apart stay apart")
            << twice({ QRect(0, 0, 100, 20), QRect(50, 0, 100, 20) })
            << QVector<QRect> { QRect(0, 0, 100, 20), QRect(50, 0, 100, 20) };
        QTest::newRow("heights 49 apart merge, then the box is too high")
            << twice({ QRect(0, 0, 100, 20), QRect(0, 0, 100, 69) }) << QVector<QRect>();
        QTest::newRow("heights 50 apart stay apart")
            << twice({ QRect(0, 0, 100, 20), QRect(0, 0, 100, 70) })
            << QVector<QRect> { QRect(0, 0, 100, 20) };
        QTest::newRow("merged box may reach 0.4 of its width")
            << twice({ QRect(0, 0, 100, 30), QRect(0, 10, 100, 30) })
            << QVector<QRect> { QRect(0, 0, 100, 40) };
        QTest::newRow("one-pixel-high box is dropped")
            << twice({ QRect(0, 0, 100, 1) }) << QVector<QRect>();
    }

    void postProcessing()
    {
        QFETCH(QVector<QRect>, candidates);
        QFETCH(QVector<QRect>, plates);
        QCOMPARE(PlateLocator::postProcess(candidates), plates);
    }

    void locateFindsPlates_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("plate");
        QTest::addColumn<int>("characters");
        QTest::addColumn<QVector<QRect>>("plates");
        QTest::newRow("320 x 240") << QSize(320, 240) << QRect(100, 150, 110, 24) << 7
                                   << QVector<QRect> { QRect(84, 144, 145, 36) };
        QTest::newRow("640 x 480") << QSize(640, 480) << QRect(200, 300, 160, 36) << 7
                                   << QVector<QRect> { QRect(192, 294, 169, 47) };
        QTest::newRow("blank plate")
            << QSize(320, 240) << QRect(100, 150, 110, 24) << 0 << QVector<QRect>();
        // Windows 3 pixels high on photographs 101 to 123 pixels wide: the
        // row step of 0.3 * 3 must still move on.
        QTest::newRow("101 wide") << QSize(101, 60) << QRect(10, 30, 80, 18) << 7
                                  << QVector<QRect> { QRect(0, 31, 99, 16) };
        QTest::newRow("112 wide") << QSize(112, 40) << QRect(10, 15, 90, 18) << 7
                                  << QVector<QRect> { QRect(0, 16, 109, 16) };
        QTest::newRow("123 wide") << QSize(123, 80) << QRect(20, 40, 80, 20) << 7
                                  << QVector<QRect> { QRect(0, 41, 114, 18) };
        QTest::newRow("100 wide") << QSize(100, 200) << QRect(5, 30, 80, 18) << 7
                                  << QVector<QRect>();
        QTest::newRow("25 high") << QSize(200, 25) << QRect(50, 2, 100, 20) << 7
                                 << QVector<QRect>();
    }

    void locateFindsPlates()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, plate);
        QFETCH(int, characters);
        QFETCH(QVector<QRect>, plates);
        QCOMPARE(PlateLocator::locate(carPhoto(size, plate, characters)), plates);
    }

    void uniformPhotographsHaveNoPlates_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("black 640 x 480") << QSize(640, 480) << qRgb(0, 0, 0);
        QTest::newRow("white 640 x 480") << QSize(640, 480) << qRgb(255, 255, 255);
        QTest::newRow("grey 101 x 26") << QSize(101, 26) << qRgb(128, 128, 128);
        QTest::newRow("null") << QSize(0, 0) << qRgb(0, 0, 0);
    }

    void uniformPhotographsHaveNoPlates()
    {
        QFETCH(QSize, size);
        QFETCH(QRgb, colour);
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(PlateLocator::locate(image).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlateLocator)
#include "tst_platelocator.moc"
