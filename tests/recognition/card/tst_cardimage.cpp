#include "cardtestimages.h"

#include "recognition/card/cardimage.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

// 64 x 32 picture: black top-left block, white elsewhere. Where the block
// lands tells how the loader turned the picture.
QImage markedPicture()
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, 16, 16, Qt::black);
    return image;
}

CardImage uniform(int w, int h, int grey)
{
    return CardImage(w, h, CardImage::greyPixel(grey));
}

} // namespace

class TestCardImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void acceptsOnlyJpeg_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        const QByteArray jpeg = jpegBytes(markedPicture());
        QTest::newRow("jfif") << "a.jpg" << jpeg << true;
        QTest::newRow("exif only") << "b.jpg" << withOrientation(jpeg, 1, false) << true;
        QTest::newRow("jfif and exif") << "c.jpg" << withOrientation(jpeg, 1, true) << true;
        QTest::newRow("png") << "d.png" << imageBytes(markedPicture(), "PNG") << false;
        QTest::newRow("bmp named jpg") << "e.jpg" << imageBytes(markedPicture(), "BMP") << false;
        QTest::newRow("text") << "f.jpg" << QByteArray("not a picture at all, but long enough")
                              << false;
        QTest::newRow("too short") << "g.jpg" << jpeg.left(12) << false;
        QTest::newRow("empty file") << "h.jpg" << QByteArray() << false;
    }
    void acceptsOnlyJpeg()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QVERIFY(writeFile(path(file), bytes));
        CardImage image(path(file).toStdString());
        QCOMPARE(image.isEmpty(), !loads);
        QCOMPARE(image.width(), loads ? 64 : 0);
        QCOMPARE(image.height(), loads ? 32 : 0);
    }

    void orientationTurnsUpright_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("keepJfif");
        QTest::addColumn<bool>("littleEndian");
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("block");
        // The stored picture is the marked one; the tag says how to show it.
        for (bool keepJfif : { false, true })
            for (bool little : { false, true }) {
                const QByteArray suffix
                    = QByteArray(keepJfif ? " jfif" : "") + (little ? " II" : " MM");
                QTest::newRow("1" + suffix) << 1 << keepJfif << little << 64 << QPoint(8, 8);
                QTest::newRow("3" + suffix) << 3 << keepJfif << little << 64 << QPoint(55, 23);
                QTest::newRow("6" + suffix) << 6 << keepJfif << little << 32 << QPoint(23, 8);
                QTest::newRow("8" + suffix) << 8 << keepJfif << little << 32 << QPoint(8, 55);
                QTest::newRow("9 is 1" + suffix) << 9 << keepJfif << little << 64 << QPoint(8, 8);
            }
    }
    void orientationTurnsUpright()
    {
        QFETCH(int, orientation);
        QFETCH(bool, keepJfif);
        QFETCH(bool, littleEndian);
        QFETCH(int, width);
        QFETCH(QPoint, block);
        const QString file = path("turned.jpg");
        QVERIFY(writeFile(file,
            withOrientation(jpegBytes(markedPicture()), orientation, keepJfif, littleEndian)));
        CardImage image(file.toStdString());
        QCOMPARE(image.width(), width);
        QCOMPARE(image.height(), 96 - width);
        image.convertToGrey();
        QVERIFY2(image.grey(block.x(), block.y()) < 40, "the black block is not where it belongs");
        // Every decoded pixel is present: the far corner from the block is white.
        QVERIFY(
            image.grey(image.width() - 1 - block.x() / 2, image.height() - 1 - block.y() / 2) > 200
            || image.grey(image.width() / 2, image.height() / 2) > 200);
    }

    void greyJpegHasOneComponent()
    {
        QImage grey(20, 10, QImage::Format_Grayscale8);
        grey.fill(200);
        QVERIFY(writeFile(path("grey.jpg"), jpegBytes(grey)));
        CardImage image(path("grey.jpg").toStdString());
        QCOMPARE(image.width(), 20);
        const uint32_t p = image.pixel(5, 5);
        QCOMPARE((p >> 16) & 0xFF, p & 0xFF);
        QVERIFY(std::abs(int(p & 0xFF) - 200) <= 2);
        QCOMPARE(p >> 24, 0xFFu);
    }

    void loadingTheSamePathAgainReadsNothing()
    {
        const QString file = path("again.jpg");
        QVERIFY(writeFile(file, jpegBytes(markedPicture())));
        CardImage image(file.toStdString());
        QCOMPARE(image.width(), 64);
        // The file changes on disk; the loaded pixels must not.
        QImage other(10, 10, QImage::Format_RGB32);
        other.fill(Qt::gray);
        QVERIFY(writeFile(file, jpegBytes(other)));
        QVERIFY(image.load(file.toStdString()));
        QCOMPARE(image.width(), 64);
        QCOMPARE(image.path(), file.toStdString());
    }

    void brokenFilesLeaveTheImageEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray jpeg = jpegBytes(cardPhoto({ "Truncated" }, 400, 300, 30));
        QTest::newRow("truncated half") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("truncated after header") << jpeg.left(700);
        QTest::newRow("truncated before header end") << jpeg.left(200);
        QByteArray precision = jpeg;
        const int sof = int(precision.indexOf("\xFF\xC0"));
        QVERIFY(sof > 0);
        precision[sof + 4] = 7; // sample precision
        QTest::newRow("bad precision") << precision;
        QTest::newRow("huge dimensions")
            << QByteArray(jpeg).replace(sof + 5, 4, "\xFF\xF0\xFF\xF0");
        QTest::newRow("zero height") << QByteArray(jpeg).replace(sof + 5, 2, QByteArray(2, 0));
        // The EXIF length points far past the end.
        QTest::newRow("exif length past the end")
            << withOrientation(jpeg, 6, false).replace(4, 2, "\x7F\xFF").left(2000);
        QByteArray scrambled = jpeg;
        for (int i = sof; i < sof + 200 && i < scrambled.size(); ++i)
            scrambled[i] = char(0xFF - uchar(scrambled[i]));
        QTest::newRow("scrambled header") << scrambled;
    }
    void brokenFilesLeaveTheImageEmpty()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeFile(path("broken.jpg"), bytes));
        for (const QString& file : { path("broken.jpg"), path("missing.jpg"), QString() }) {
            CardImage image;
            QVERIFY(!image.load(file.toStdString()));
            QCOMPARE(QSize(image.width(), image.height()), QSize(0, 0));
        }
    }

    void greyLevels_data()
    {
        QTest::addColumn<uint>("rgb");
        QTest::addColumn<int>("grey");
        QTest::newRow("red") << 0xFFFF0000u << 87;
        QTest::newRow("green") << 0xFF00FF00u << 127;
        QTest::newRow("blue") << 0xFF0000FFu << 39;
        QTest::newRow("white") << 0xFFFFFFFFu << 255;
        QTest::newRow("black") << 0xFF000000u << 0;
    }
    void greyLevels()
    {
        QFETCH(uint, rgb);
        QFETCH(int, grey);
        CardImage image(2, 2, rgb);
        image.convertToGrey();
        QCOMPARE(image.pixel(1, 1), CardImage::greyPixel(grey));
    }

    void rescaling_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<bool>("byWidth");
        QTest::addColumn<int>("target");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("upscale by width") << QSize(100, 40) << true << 250 << QSize(250, 100);
        QTest::newRow("downscale by width") << QSize(3000, 2000) << true << 250 << QSize(250, 166);
        QTest::newRow("portrait by height") << QSize(2000, 3000) << false << 250 << QSize(166, 250);
        QTest::newRow("to one row") << QSize(7, 3) << false << 1 << QSize(2, 1);
        QTest::newRow("too flat") << QSize(1000, 3) << true << 250 << QSize(0, 0);
    }
    void rescaling()
    {
        QFETCH(QSize, source);
        QFETCH(bool, byWidth);
        QFETCH(int, target);
        QFETCH(QSize, expected);
        // Each pixel encodes its own coordinates, so every read is checked.
        CardImage image(source.width(), source.height());
        for (int x = 0; x < source.width(); ++x)
            for (int y = 0; y < source.height(); ++y)
                image.setPixel(x, y, 0xFF000000u | uint32_t(x) << 12 | uint32_t(y));
        const CardImage scaled
            = byWidth ? image.scaledToWidth(target) : image.scaledToHeight(target);
        QCOMPARE(QSize(scaled.width(), scaled.height()), expected);
        for (int x = 0; x < scaled.width(); ++x)
            for (int y = 0; y < scaled.height(); ++y) {
                const uint32_t p = scaled.pixel(x, y);
                QVERIFY(int((p >> 12) & 0xFFF) < source.width());
                QVERIFY(int(p & 0xFFF) < source.height());
            }
        QVERIFY(CardImage().scaledToWidth(250).isEmpty());
    }

    void smoothingWeightsByPosition()
    {
        CardImage image = uniform(3, 3, 0);
        image.setPixel(1, 1, CardImage::greyPixel(160));
        const CardImage smooth = image.smoothed();
        QCOMPARE(smooth.grey(1, 1), 160 * 4 / 16);
        QCOMPARE(smooth.grey(0, 0), 160 / 9);
        QCOMPARE(smooth.grey(1, 0), 160 * 2 / 12);
        QCOMPARE(smooth.grey(2, 2), 160 / 9);
    }

    void smoothingLeavesThinImagesAlone()
    {
        for (const QSize size : { QSize(1, 7), QSize(7, 1), QSize(1, 1) }) {
            const int w = size.width();
            CardImage image(w, size.height());
            for (int i = 0; i < w * size.height(); ++i)
                image.setPixel(i % w, i / w, CardImage::greyPixel(i * 30));
            const CardImage smooth = image.smoothed();
            for (int i = 0; i < w * size.height(); ++i)
                QCOMPARE(smooth.pixel(i % w, i / w), image.pixel(i % w, i / w));
        }
    }

    void edgeMap()
    {
        // Left half 100, right half 106: a step of 6 is an edge at t = 5
        // only, and the first column and row stay black.
        CardImage image(8, 6);
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 6; ++y)
                image.setPixel(x, y, CardImage::greyPixel(x < 4 ? 100 : 106));
        CardImage five = image;
        five.applyEdgeMap(5);
        CardImage six = image;
        six.applyEdgeMap(6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool edge = x == 4 && y >= 1;
                QCOMPARE(five.pixel(x, y), edge ? 0xFFFFFFFFu : 0xFF000000u);
                QCOMPARE(six.pixel(x, y), 0xFF000000u);
            }
    }

    void uniformImageTurnsBlack()
    {
        const CardImage image = uniform(120, 80, 150);
        const int threshold = image.binarisationThreshold();
        QVERIFY2(threshold > 150 && threshold <= 160, qPrintable(QString::number(threshold)));
        const CardImage binary = image.binarised();
        QCOMPARE(binary.pixel(0, 0), 0xFF000000u);
        QCOMPARE(binary.pixel(119, 79), 0xFF000000u);
    }

    void darkTextOnLightCard()
    {
        CardImage card
            = CardImage::fromQImage(cardPhoto({ "Anna Becker", "Tel. 030 123456" }, 800, 500, 40));
        card.convertToGrey();
        const CardImage inner = card.copy(100, 62, 600, 375);
        // The ink is grey 20, the paper 245: the valley right after the ink.
        const int threshold = inner.binarisationThreshold();
        QVERIFY2(threshold > 20 && threshold < 200, qPrintable(QString::number(threshold)));
        const CardImage binary = inner.binarised();
        QCOMPARE(binary.pixel(300, 5), inner.pixel(300, 5)); // paper stays
        int black = 0;
        for (int x = 0; x < binary.width(); ++x)
            for (int y = 0; y < binary.height(); ++y)
                black += binary.pixel(x, y) == 0xFF000000u;
        QVERIFY(black > 1000);
    }

    void faintTextIsNotSwallowedByThePaper()
    {
        // Soft grey text: the ink forms no peak of its own. The card must
        // not turn black as a whole.
        CardImage card = CardImage::fromQImage(
            cardPhoto({ "Kraft Elektro GmbH", "Hauptstraße 12" }, 800, 500, 30));
        card.convertToGrey();
        CardImage inner = card.copy(100, 62, 600, 375);
        for (int pass = 0; pass < 4; ++pass)
            inner = inner.smoothed();
        const CardImage binary = inner.binarised();
        QCOMPARE(binary.pixel(590, 370), inner.pixel(590, 370));
    }
};

QTEST_MAIN(TestCardImage)
#include "tst_cardimage.moc"
