#include "recognition/card/linetext.h"

#include <QTest>

using namespace veldra;

namespace {

// Characters of height 30 with the given gaps between them.
std::vector<LineCharacter> spaced(const std::string& text, const QList<int>& gaps, float top = 1.0f)
{
    std::vector<LineCharacter> line;
    int x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0)
            x += gaps[int(i) - 1];
        LineCharacter c;
        c.text = std::string(1, text[i]);
        c.box = { x, 0, x + 14, 29 };
        c.top = top;
        line.push_back(c);
        x += 15;
    }
    return line;
}

} // namespace

class TestLineText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordSpacing_data()
    {
        QTest::addColumn<QList<int>>("gaps");
        QTest::addColumn<QString>("text");
        QTest::newRow("even") << QList<int> { 4, 4, 4, 4, 4 } << "ABCDEF";
        QTest::newRow("one wide gap") << QList<int> { 3, 3, 3, 3, 20 } << "ABCDE F";
        QTest::newRow("just above the threshold") << QList<int> { 10, 10, 10, 10, 25 } << "ABCDE F";
        QTest::newRow("at the threshold") << QList<int> { 10, 10, 10, 10, 23 } << "ABCDEF";
        QTest::newRow("gaps beyond the height do not count")
            << QList<int> { 2, 2, 2, 2, 40 } << "ABCDE F";
        QTest::newRow("touching") << QList<int> { 0, 0, 0, 0, 0 } << "ABCDEF";
    }
    void wordSpacing()
    {
        QFETCH(QList<int>, gaps);
        QFETCH(QString, text);
        LineText line(spaced("ABCDEF", gaps));
        line.insertWordSpaces();
        QCOMPARE(QString::fromStdString(line.text()), text);
        // Every character keeps a box, blanks included.
        QCOMPARE(int(line.characters().size()), text.size());
    }

    void context_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QList<float>>("tops");
        QTest::addColumn<QByteArray>("corrected");
        const QList<float> small(8, 0.72f);
        const QList<float> tall(8, 1.0f);
        QTest::newRow("o in a number") << QByteArray("2o15") << tall << QByteArray("2015");
        QTest::newRow("l and I in a number") << QByteArray("1l0I") << tall << QByteArray("1101");
        QTest::newRow("S in a number") << QByteArray("3S7") << tall << QByteArray("357");
        QTest::newRow("0 in a small word") << QByteArray("h0us") << small << QByteArray("hous");
        QTest::newRow("0 in a capital word") << QByteArray("B0X") << tall << QByteArray("BOX");
        QTest::newRow("1 after a small letter")
            << QByteArray("a1so") << small << QByteArray("also");
        QTest::newRow("capitals by size") << QByteArray("swx") << tall << QByteArray("SWX");
        QTest::newRow("small by size") << QByteArray("SWX") << small << QByteArray("swx");
        QTest::newRow("capital I in a capital word")
            << QByteArray("MlLL") << tall << QByteArray("MILL");
        QTest::newRow("cedilla without tail") << QByteArray("\xE7"
                                                            "a")
                                              << small << QByteArray("ca");
        QTest::newRow("umlaut vowel by size") << QByteArray("\xF6"
                                                            "l")
                                              << tall << QByteArray("\xD6l");
    }
    void context()
    {
        QFETCH(QByteArray, read);
        QFETCH(QList<float>, tops);
        QFETCH(QByteArray, corrected);
        const std::string text = read.toStdString();
        std::vector<LineCharacter> line = spaced(text, QList<int>(int(text.size()), 3));
        for (size_t i = 0; i < line.size(); ++i)
            line[i].top = tops[int(i)];
        LineText corrector(line);
        corrector.correctContext();
        QCOMPARE(QByteArray::fromStdString(corrector.text()), corrected);
        QCOMPARE(corrector.characters().size(), line.size());
    }

    void atSignOfAnAddress_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<int>("uncertain");
        QTest::addColumn<QByteArray>("corrected");
        QTest::newRow("wide unmatched character")
            << QByteArray("annaaweb.de") << 4 << QByteArray("anna@web.de");
        QTest::newRow("already has one")
            << QByteArray("anna@weba.de") << 8 << QByteArray("anna@weba.de");
        QTest::newRow("no dot") << QByteArray("annaaweb") << 4 << QByteArray("annaaweb");
        QTest::newRow("matched character stays")
            << QByteArray("annaaweb.de") << -1 << QByteArray("annaaweb.de");
    }
    void atSignOfAnAddress()
    {
        QFETCH(QByteArray, read);
        QFETCH(int, uncertain);
        QFETCH(QByteArray, corrected);
        std::vector<LineCharacter> line
            = spaced(read.toStdString(), QList<int>(read.size(), 3), 0.72f);
        if (uncertain >= 0) {
            line[size_t(uncertain)].uncertain = true;
            line[size_t(uncertain)].box.right += 12; // wider than the rest
        }
        LineText corrector(line);
        corrector.correctContext();
        QCOMPARE(QByteArray::fromStdString(corrector.text()), corrected);
    }

    void descenders()
    {
        std::vector<LineCharacter> line = spaced("py", { 3 }, 0.72f);
        line[0].depth = 0.3f;
        line[1].depth = 0.0f;
        LineText corrector(line);
        corrector.correctContext();
        QCOMPARE(QString::fromLatin1(corrector.text().c_str()), QString("pY"));
    }
};

QTEST_GUILESS_MAIN(TestLineText)
#include "tst_linetext.moc"
