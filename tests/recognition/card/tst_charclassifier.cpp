#include "cardtestimages.h"

#include "recognition/card/charclassifier.h"
#include "recognition/card/confusionrules.h"
#include "recognition/card/recognisertables.h"
#include "recognition/card/templatestore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

constexpr int references = RecogniserTables::referenceCount;

CardImage canvas(int grey = 115)
{
    return CardImage(48, 48, CardImage::greyPixel(grey));
}

void fill(CardImage& image, int x0, int y0, int x1, int y1, int grey = 0)
{
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            image.setPixel(x, y, CardImage::greyPixel(grey));
}

// A feature over the whole canvas; references far from value vote against.
CharTemplate feature(std::initializer_list<int> matching, int value)
{
    CharTemplate t;
    t.x = 0;
    t.y = 0;
    t.side = 47;
    t.values.assign(references, uint16_t(value > 128 ? 0 : 255));
    for (int k : matching)
        t.values[size_t(k)] = uint16_t(value);
    t.count = references;
    return t;
}

} // namespace

class TestCharClassifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fallbacks()
    {
        CharClassifier classifier(25, 79, references);
        // Without templates, or on an empty image, every character is a dash.
        QCOMPARE(classifier.vote(canvas(), {}), 54);
        QCOMPARE(classifier.classifyCharacter(canvas(0), canvas(0), {}), 54);
        QCOMPARE(RecogniserTables().labels()[54], std::string("-"));
        QCOMPARE(classifier.vote(CardImage(), { feature({ 3 }, 115) }), 54);
        // Nothing above zero falls back to the first reference.
        QCOMPARE(classifier.vote(canvas(), { feature({}, 115) }), 0);
    }

    void tiesGoToTheLowerReference_data()
    {
        QTest::addColumn<QList<int>>("matching");
        QTest::addColumn<int>("cls");
        QTest::newRow("12 before 30") << QList<int> { 30, 12 } << 12;
        QTest::newRow("second prototype block") << QList<int> { 79 + 40, 79 * 3 + 2 } << 40;
        QTest::newRow("single") << QList<int> { 79 * 6 + 78 } << 78;
    }
    void tiesGoToTheLowerReference()
    {
        QFETCH(QList<int>, matching);
        QFETCH(int, cls);
        CharTemplate t = feature({}, 115);
        for (int k : matching)
            t.values[size_t(k)] = 115;
        CharClassifier classifier(25, 79, references);
        QCOMPARE(classifier.vote(canvas(), { t, t }), cls);
        QCOMPARE(classifier.votes()[size_t(matching.first())], 2);
    }

    void votesFollowTheDistanceBands_data()
    {
        QTest::addColumn<int>("reference");
        QTest::addColumn<int>("vote");
        // The canvas mean is 115.
        QTest::newRow("inside") << 115 + 24 << 1;
        QTest::newRow("at the tolerance") << 115 + 25 << 0;
        QTest::newRow("at 50") << 115 - 50 << 0;
        QTest::newRow("past 50") << 115 - 51 << -2;
        QTest::newRow("at 100") << 115 + 100 << -2;
        QTest::newRow("past 100") << 115 + 101 << -5;
    }
    void votesFollowTheDistanceBands()
    {
        QFETCH(int, reference);
        QFETCH(int, vote);
        CharTemplate t = feature({}, 115);
        t.values[7] = uint16_t(reference);
        CharClassifier classifier(25, 79, references);
        classifier.vote(canvas(), { t });
        QCOMPARE(classifier.votes()[7], vote);
    }

    void windowMeans_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<int>("mean");
        QTest::newRow("dark square") << QRect(QPoint(10, 10), QPoint(19, 19)) << 0;
        QTest::newRow("half dark") << QRect(QPoint(10, 10), QPoint(29, 19)) << (0 + 200) / 2;
        QTest::newRow("origin row") << QRect(QPoint(0, 0), QPoint(3, 3)) << 200;
        QTest::newRow("single pixel") << QRect(QPoint(5, 5), QPoint(5, 5)) << 0;
        QTest::newRow("flat") << QRect(QPoint(5, 5), QPoint(9, 5)) << 0;
        QTest::newRow("outside") << QRect(QPoint(40, 40), QPoint(49, 49)) << -1;
    }
    void windowMeans()
    {
        QFETCH(QRect, window);
        QFETCH(int, mean);
        CardImage image = canvas(200);
        fill(image, 10, 10, 19, 19);
        const CharIntegral integral(image);
        QCOMPARE(integral.mean(window.left(), window.top(), window.right(), window.bottom()), mean);
    }

    void templateFiles()
    {
        QTemporaryDir dir;
        CharTemplate t = feature({ 4 }, 90);
        t.x = 12;
        t.y = 30;
        t.side = -3;
        QVERIFY(TemplateStore::write(dir.filePath("a.fdb").toStdString(), t));
        QVERIFY(writeFile(dir.filePath("short.fdb"), QByteArray("\x01\x02\x03\x04", 4)));
        QVERIFY(TemplateStore::write(dir.filePath("b.fdb").toStdString(), t));
        QVERIFY(TemplateStore::write(dir.filePath("c.fdb").toStdString(), t));
        const std::list<std::string> paths { dir.filePath("a.fdb").toStdString(),
            dir.filePath("short.fdb").toStdString(), dir.filePath("b.fdb").toStdString(),
            dir.filePath("missing.fdb").toStdString(), dir.filePath("c.fdb").toStdString() };
        const TemplateStore store(paths);
        // The short file is skipped; loading stops at the missing one.
        QCOMPARE(int(store.templates().size()), 2);
        const CharTemplate& read = store.templates().front();
        QCOMPARE(int(read.x), 12);
        QCOMPARE(int(read.y), 30);
        QCOMPARE(int(read.side), -3);
        QCOMPARE(read.count, references);
        QCOMPARE(int(read.values[4]), 90);
        QCOMPARE(int(read.values[5]), 255);
    }

    void pWithALegIsR()
    {
        CardImage p = canvas(200);
        fill(p, 10, 4, 14, 43); // stem
        fill(p, 10, 4, 35, 8); // top bar
        fill(p, 31, 4, 35, 24); // bowl
        fill(p, 10, 20, 35, 24); // middle bar
        const int P = RecogniserTables().indexOf("P");
        const int R = RecogniserTables().indexOf("R");
        QCOMPARE(ConfusionRules(p).apply(P), P);
        fill(p, 28, 25, 33, 43); // leg down to row 43
        QCOMPARE(ConfusionRules(p).apply(P), R);
        QCOMPARE(ConfusionRules(p).apply(R), R);
    }

    void accentTable_data()
    {
        QTest::addColumn<uint>("base");
        QTest::addColumn<uint>("mark");
        QTest::addColumn<uint>("composed");
        QTest::newRow("a umlaut") << uint('a') << uint(':') << 0xE4u;
        QTest::newRow("A umlaut") << uint('A') << uint(':') << 0xC4u;
        QTest::newRow("0 umlaut is a small o") << uint('0') << uint(':') << 0xF6u;
        QTest::newRow("u umlaut") << uint('u') << uint(':') << 0xFCu;
        QTest::newRow("dotted l") << uint('l') << uint('.') << uint('i');
        QTest::newRow("dotted J") << uint('J') << uint('.') << uint('j');
        QTest::newRow("e acute") << uint('e') << 0xB4u << 0xE9u;
        QTest::newRow("e grave") << uint('e') << uint('`') << 0xE8u;
        QTest::newRow("two dots") << uint('.') << uint('.') << uint(':');
        QTest::newRow("comma and dot") << uint(',') << uint('.') << uint(';');
        QTest::newRow("c caron") << uint('c') << 0x2C7u << 0x10Du;
        QTest::newRow("no pair") << uint('k') << uint(':') << 0u;
    }
    void accentTable()
    {
        QFETCH(uint, base);
        QFETCH(uint, mark);
        QFETCH(uint, composed);
        QCOMPARE(uint(RecogniserTables().compose(char32_t(base), char32_t(mark))), composed);
    }
};

QTEST_MAIN(TestCharClassifier)
#include "tst_charclassifier.moc"
