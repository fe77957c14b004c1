#include "cardtestimages.h"

#include "recognition/card/cardlocator.h"
#include "recognition/card/lightingcorrector.h"
#include "recognition/card/skewcorrector.h"

#include <QPainter>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

const QStringList text { "Katharina Becker", "Hauptstraße 12", "10115 Berlin", "Tel. 030 4567" };

CardImage grey(const QImage& image)
{
    CardImage card = CardImage::fromQImage(image);
    card.convertToGrey();
    return card;
}

} // namespace

class TestCardPreparation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void locatesTheCardOnTheTable_data()
    {
        QTest::addColumn<QSize>("photo");
        QTest::newRow("landscape") << QSize(1600, 1000);
        QTest::newRow("portrait") << QSize(1000, 1600);
    }
    void locatesTheCardOnTheTable()
    {
        QFETCH(QSize, photo);
        // The card covers the middle three quarters of each side.
        const CardImage image = grey(cardPhoto(text, photo.width(), photo.height(), 36));
        CardLocator locator;
        const CardImage card = locator.locate(image);
        QVERIFY(!locator.crossings().empty());
        QVERIFY2(std::abs(card.width() - photo.width() * 3 / 4) < photo.width() / 20,
            qPrintable(QString::number(card.width())));
        QVERIFY2(std::abs(card.height() - photo.height() * 3 / 4) < photo.height() / 20,
            qPrintable(QString::number(card.height())));
    }

    void skewOfTurnedText_data()
    {
        QTest::addColumn<double>("angle");
        QTest::newRow("level") << 0.0;
        QTest::newRow("2 degrees") << 2.0;
        QTest::newRow("-3 degrees") << -3.0;
    }
    void skewOfTurnedText()
    {
        QFETCH(double, angle);
        QImage page(1000, 640, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            painter.translate(500, 320);
            painter.rotate(angle);
            painter.translate(-500, -320);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(30);
            painter.setFont(font);
            for (int i = 0; i < 6; ++i)
                painter.drawText(
                    150, 150 + i * 60, QStringLiteral("Nordlicht Solutions GmbH %1").arg(i));
        }
        const CardImage image = grey(page);
        const double found = SkewCorrector::estimate(image);
        QVERIFY2(std::abs(found - angle) <= 0.3, qPrintable(QString::number(found)));
        if (angle != 0.0) {
            const CardImage straight = SkewCorrector::rotate(image, found);
            QVERIFY(std::abs(SkewCorrector::estimate(straight)) <= 0.3);
        }
    }

    void unevenLightIsEvenedOut()
    {
        CardImage card = grey(cardPhoto(text, 1200, 800, 36)).copy(150, 100, 900, 600);
        // A shadow from the left: paper from 120 to 240.
        for (int x = 0; x < card.width(); ++x)
            for (int y = 0; y < card.height(); ++y) {
                const double light = 0.5 + 0.5 * x / double(card.width());
                card.setPixel(x, y, CardImage::greyPixel(int(card.grey(x, y) * light)));
            }
        QVERIFY(card.grey(20, 20) < 140);
        QVERIFY(LightingCorrector::flatten(card));
        QVERIFY2(std::abs(card.grey(20, 20) - card.grey(880, 20)) < 25,
            qPrintable(QStringLiteral("%1 %2").arg(card.grey(20, 20)).arg(card.grey(880, 20))));
    }

    // A plain photo has no card edges, a blank page no skew, even light nothing to flatten.
    void plainInputIsLeftAlone()
    {
        const CardImage plain(900, 600, CardImage::greyPixel(200));
        CardLocator locator;
        const CardImage located = locator.locate(plain);
        QVERIFY(locator.crossings().empty());
        QCOMPARE(QSize(located.width(), located.height()), QSize(900, 600));
        QCOMPARE(SkewCorrector::estimate(CardImage(400, 300, 0xFFFFFFFFu)), 0.0);
        QCOMPARE(SkewCorrector::estimate(CardImage(8, 8, 0xFFFFFFFFu)), 0.0);

        CardImage card = grey(cardPhoto(text, 1200, 800, 36)).copy(150, 100, 900, 600);
        const CardImage before = card;
        QVERIFY(!LightingCorrector::flatten(card));
        QCOMPARE(card.pixel(450, 300), before.pixel(450, 300));
        CardImage tiny(10, 10, 0xFFFFFFFFu);
        QVERIFY(!LightingCorrector::flatten(tiny));
    }
};

QTEST_MAIN(TestCardPreparation)
#include "tst_cardpreparation.moc"
