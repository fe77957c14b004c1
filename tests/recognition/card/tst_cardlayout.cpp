#include "cardtestimages.h"

#include "recognition/card/cardlayout.h"

#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

// An edge image as the layout sees it: black, with white where text edges are.
CardImage edges(int w, int h, const QList<QRect>& blocks)
{
    CardImage image(w, h);
    for (const QRect& r : blocks)
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                image.setPixel(x, y, 0xFFFFFFFFu);
    return image;
}

} // namespace

class TestCardLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridBoxes_data()
    {
        QTest::addColumn<QList<QRect>>("blocks");
        QTest::addColumn<int>("boxes");
        QTest::newRow("one word") << QList<QRect> { QRect(100, 100, 120, 16) } << 1;
        QTest::newRow("lone letter") << QList<QRect> { QRect(100, 100, 16, 16) } << 0;
        QTest::newRow("ruled line") << QList<QRect> { QRect(10, 150, 380, 2) } << 0;
        QTest::newRow("vertical rule") << QList<QRect> { QRect(200, 10, 2, 280) } << 0;
        QTest::newRow("touches the left border") << QList<QRect> { QRect(0, 100, 120, 16) } << 0;
        QTest::newRow("touches the bottom") << QList<QRect> { QRect(100, 280, 120, 20) } << 0;
        QTest::newRow("large logo") << QList<QRect> { QRect(100, 60, 200, 100) } << 0;
        QTest::newRow("two words 20 pixels apart")
            << QList<QRect> { QRect(60, 100, 100, 16), QRect(180, 100, 100, 16) } << 1;
        QTest::newRow("two words 26 pixels apart")
            << QList<QRect> { QRect(60, 100, 100, 16), QRect(186, 100, 100, 16) } << 1;
        QTest::newRow("two words 40 pixels apart")
            << QList<QRect> { QRect(40, 100, 100, 16), QRect(180, 100, 100, 16) } << 2;
        QTest::newRow("two lines")
            << QList<QRect> { QRect(100, 60, 120, 16), QRect(100, 120, 120, 16) } << 2;
        QTest::newRow("nearly as wide as the card") << QList<QRect> { QRect(4, 100, 392, 16) } << 0;
    }
    void gridBoxes()
    {
        QFETCH(QList<QRect>, blocks);
        QFETCH(int, boxes);
        const CardImage work = edges(400, 300, blocks);
        CardLayout layout(work, work);
        const std::vector<CardRect> found = layout.findGridBoxes(work);
        QCOMPARE(int(found.size()), boxes);
        for (const CardRect& b : found) {
            QVERIFY(b.right - b.left >= 1.5 * (b.bottom - b.top));
            QVERIFY(b.top > 0 && b.left > 0);
        }
    }

    void linesOfARenderedCardInReadingOrder()
    {
        const QStringList text { "Katharina Becker", "Vertriebsleiterin", "Hauptstraße 12",
            "10115 Berlin", "Tel. +49 30 1234567" };
        CardImage card
            = CardImage::fromQImage(cardPhoto(text, 1400, 900, 40)).copy(175, 112, 1050, 675);
        card.convertToGrey();
        const CardImage fine = card.scaledToWidth(1000);
        CardLayout layout(card, fine);
        layout.findLines();
        QCOMPARE(int(layout.boxes().size()), text.size());
        for (size_t i = 1; i < layout.boxes().size(); ++i)
            QVERIFY(layout.boxes()[i].top > layout.boxes()[i - 1].bottom);
        QCOMPARE(layout.scale(), 1.05f);
    }
};

QTEST_MAIN(TestCardLayout)
#include "tst_cardlayout.moc"
