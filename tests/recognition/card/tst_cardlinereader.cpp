#include "recognition/card/cardlinereader.h"

#include <QFont>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTest>

using namespace veldra;

namespace {

// One line of text, grey ink on grey paper, as the reader gets it from a card.
CardImage line(const QString& text, int pixelSize, int ink = 0, int paper = 255,
    int letterSpacing = 0, const QString& family = QStringLiteral("DejaVu Sans"))
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    if (letterSpacing)
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    const int width = QFontMetrics(font).horizontalAdvance(text) + pixelSize;
    QImage image(width, pixelSize * 2, QImage::Format_RGB32);
    image.fill(qRgb(paper, paper, paper));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(ink, ink, ink));
    painter.drawText(pixelSize / 2, pixelSize * 3 / 2, text);
    painter.end();
    CardImage card = CardImage::fromQImage(image);
    card.convertToGrey();
    return card;
}

std::vector<CardGlyph> read(CardLineReader& reader, const CardImage& image)
{
    return reader.read(image, { 0, image.height() / 5, image.width() - 1, image.height() * 4 / 5 });
}

// A letter for every piece: 'x' for a character, else the marker it is.
QString kinds(const std::vector<CardGlyph>& glyphs)
{
    const QMap<QPair<int, int>, QChar> markers { { { 1, 1 }, ' ' }, { { 2, 1 }, '.' },
        { { 3, 1 }, ',' }, { { 3, 2 }, '\'' } };
    QString result;
    for (const CardGlyph& g : glyphs)
        result += markers.value({ g.image.width(), g.image.height() }, 'x');
    return result;
}

} // namespace

class TestCardLineReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void piecesAndMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pieces");
        QTest::newRow("word") << QString("Hamburg") << QString("xxxxxxx");
        QTest::newRow("two words") << QString("Tel Fax") << QString("xxx xxx");
        QTest::newRow("full stop") << QString("Dr. Weber") << QString("xx. xxxxx");
        QTest::newRow("comma") << QString("Kiel, Bonn") << QString("xxxx, xxxx");
        QTest::newRow("apostrophe") << QString("Rudi's") << QString("xxxx'x");
        QTest::newRow("dotted letters") << QString("jiji") << QString("xxxx");
        QTest::newRow("umlauts") << QString("Öl äöü") << QString("xx xxx");
        QTest::newRow("colon") << QString("Tel: 1") << QString("xxx. x");
    }
    void piecesAndMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QString, pieces);
        CardLineReader reader;
        QCOMPARE(kinds(read(reader, line(text, 48))), pieces);
    }

    void accentsAreMarks()
    {
        CardLineReader reader;
        const std::vector<CardGlyph> glyphs = read(reader, line(QStringLiteral("äiHé:"), 48));
        QCOMPARE(int(glyphs.size()), 5);
        QCOMPARE(int(glyphs[0].mark), int(':'));
        QCOMPARE(int(glyphs[1].mark), int('.'));
        QCOMPARE(int(glyphs[2].mark), 0);
        QCOMPARE(int(glyphs[3].mark), 0xB4);
        QCOMPARE(int(glyphs[4].mark), int('.'));
        QVERIFY(glyphs[4].isMarker());
    }

    void pureBlackOnPureWhite()
    {
        // Ink and paper pile up in the first and last histogram bins.
        CardLineReader reader;
        const std::vector<CardGlyph> glyphs
            = read(reader, line(QStringLiteral("Berlin 10115"), 40));
        QVERIFY2(reader.threshold() > 40 && reader.threshold() < 220,
            qPrintable(QString::number(reader.threshold())));
        QCOMPARE(kinds(glyphs), QString("xxxxxx xxxxx"));
    }

    void lightTextOnDarkGround()
    {
        CardLineReader reader;
        const std::vector<CardGlyph> glyphs
            = read(reader, line(QStringLiteral("Weber AG"), 40, 240, 30));
        QVERIFY(reader.inverted());
        QCOMPARE(kinds(glyphs).remove(QLatin1Char(' ')), QString("xxxxxxx"));
    }

    void sizeIsMeasuredFromTheLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("capitals") << "HAMBURG";
        QTest::newRow("mixed") << "Hamburg";
        QTest::newRow("small with ascenders") << "hamburg";
        QTest::newRow("small without ascenders") << "www.sonnen.com";
        QTest::newRow("digits") << "0171 2345";
    }
    void sizeIsMeasuredFromTheLetters()
    {
        QFETCH(QString, text);
        CardLineReader reader;
        read(reader, line(text, 60));
        // DejaVu Sans capitals are 0.73 of the pixel size high.
        const float capital = reader.capHeight();
        const float other = reader.alternativeCapHeight();
        const float expected = 0.73f * 60;
        QVERIFY2(std::abs(capital - expected) < 0.15f * expected
                || std::abs(other - expected) < 0.15f * expected,
            qPrintable(QStringLiteral("%1 / %2").arg(capital).arg(other)));
    }

    void touchingLettersAreCut()
    {
        CardLineReader reader;
        const std::vector<CardGlyph> glyphs
            = read(reader, line(QStringLiteral("wwwW"), 48, 0, 255, -6));
        QCOMPARE(kinds(glyphs), QString("xxxx"));
    }

    void lowLinesHaveNoCharacters()
    {
        CardLineReader reader;
        const CardImage low = line(QStringLiteral("Kiel"), 8);
        QVERIFY(low.height() < 18);
        QVERIFY(reader.readLine(low, 0, low.height() - 1).empty());
        QVERIFY(reader.readLine(CardImage(5, 40, 0xFFFFFFFFu), 0, 39).empty());
    }

    void canvasesHaveTheCharacterOnGrey115()
    {
        CardLineReader reader;
        const std::vector<CardGlyph> glyphs = read(reader, line(QStringLiteral("Ho"), 48));
        QCOMPARE(int(glyphs.size()), 2);
        for (const CardGlyph& g : glyphs) {
            QCOMPARE(g.image.width(), 48);
            QCOMPARE(g.image.height(), 48);
            QCOMPARE(g.image.pixel(0, 0), CardLineReader::canvasBackground);
            int dark = 0;
            for (int x = 0; x < 48; ++x)
                for (int y = 0; y < 48; ++y)
                    dark += g.image.grey(x, y) < 60;
            QVERIFY(dark > 30);
        }
        // The small o sits lower than the capital H's top.
        QVERIFY(glyphs[1].top < 0.85f && glyphs[0].top > 0.9f);
    }
};

QTEST_MAIN(TestCardLineReader)
#include "tst_cardlinereader.moc"
