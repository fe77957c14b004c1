#include "features/colorbins.h"

#include <QTest>

using namespace veldra;

class TestColorBins : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void binKey_data()
    {
        QTest::addColumn<QRgb>("rgb");
        QTest::addColumn<int>("key");
        QTest::newRow("black") << qRgb(0, 0, 0) << 0;
        QTest::newRow("white") << qRgb(255, 255, 255) << 555;
        QTest::newRow("transparent white") << qRgba(255, 255, 255, 0) << 555;
        QTest::newRow("gold") << qRgb(255, 215, 0) << 550;
        // 42 is the top of level 0, 43 the bottom of level 1.
        QTest::newRow("42 43 44") << qRgb(42, 43, 44) << 11;
        QTest::newRow("42 42 43") << qRgb(42, 42, 43) << 1;
        QTest::newRow("214 in level 4") << qRgb(214, 0, 0) << 400;
        QTest::newRow("215 in level 5") << qRgb(215, 0, 0) << 500;
        QTest::newRow("blue 171 172") << qRgb(0, 171, 172) << 34;
    }

    void binKey()
    {
        QFETCH(QRgb, rgb);
        QFETCH(int, key);
        QCOMPARE(colorBinKey(rgb), key);
    }

    void keysAreCanonical()
    {
        // 216 rising keys whose three digits are levels 0 to 5: every bin once,
        // from 0 through 5, 10, ... 100 to 555.
        const QVector<int>& keys = colorBinKeys();
        QCOMPARE(keys.size(), 216);
        QVERIFY(std::adjacent_find(keys.begin(), keys.end(), std::greater_equal<>()) == keys.end());
        for (int key : keys)
            QVERIFY(key % 10 <= 5 && key / 10 % 10 <= 5 && key / 100 <= 5);
    }

    void weight_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<double>("weight");
        QTest::newRow("same") << 234 << 234 << 1.0;
        QTest::newRow("d2=1") << 500 << 400 << 0.8333333333333334;
        QTest::newRow("d2=2") << 0 << 11 << 0.6666666666666667;
        QTest::newRow("d2=3") << 555 << 444 << 0.5;
        QTest::newRow("d2=4") << 0 << 200 << 0.33333333333333337;
        QTest::newRow("d2=5") << 0 << 210 << 0.16666666666666663;
        QTest::newRow("d2=6") << 0 << 211 << 0.0;
        QTest::newRow("far") << 500 << 0 << 0.0;
        QTest::newRow("short keys") << 5 << 50 << 0.0;
        QTest::newRow("one digit") << 4 << 5 << 0.8333333333333334;
    }

    void weight()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(double, weight);
        // Exact doubles: later truncations depend on every bit.
        QVERIFY(colorBinWeight(a, b) == weight);
        QVERIFY(colorBinWeight(b, a) == weight);
    }

    void picker_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QColor>("color");
        QTest::newRow("pure red") << 0 << 4 << QColor(255, 0, 0);
        QTest::newRow("palest red") << 0 << 0 << QColor(255, 204, 204);
        QTest::newRow("tint row 3") << 0 << 3 << QColor(255, 51, 51);
        QTest::newRow("darkest blue") << 12 << 8 << QColor(0, 0, 51);
        QTest::newRow("orange shade") << 1 << 6 << QColor(153, 51, 0);
        QTest::newRow("grey 180") << 5 << 9 << QColor(180, 180, 180);
        QTest::newRow("white") << 0 << 9 << QColor(255, 255, 255);
        QTest::newRow("black") << 17 << 9 << QColor(0, 0, 0);
        QTest::newRow("last hue") << 17 << 4 << QColor(255, 0, 85);
        QTest::newRow("last hue pale") << 17 << 0 << QColor(255, 204, 221);
    }

    void picker()
    {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QColor, color);
        QCOMPARE(pickerColor(column, row), color);
        QCOMPARE(pickerColor(column, row).alpha(), 255);
    }
};

QTEST_GUILESS_MAIN(TestColorBins)
#include "tst_colorbins.moc"
