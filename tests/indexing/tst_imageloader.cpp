#include "indexing/imageloader.h"
#include "indexing/thumbnail.h"
#include "shell/config.h"
#include "support/exifjpeg.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

// Left half red, right half blue: where red ends up tells the rotation.
QImage leftRed(int w = 40, int h = 20)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

bool isRed(QRgb p)
{
    return qRed(p) > 200 && qBlue(p) < 60;
}

QByteArray withPrefix(const QByteArray& segment)
{
    return QByteArray("\xFF\xD8", 2) + segment + QByteArray(64, '\0');
}

} // namespace

class TestImageLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir->path() + "/data"));
    }

    void readsOrientation_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("orientation");

        for (int o : { 1, 3, 6, 8 }) {
            QTest::addRow("little %d", o) << withPrefix(orientationSegment(o, true)) << true << o;
            QTest::addRow("big %d", o) << withPrefix(orientationSegment(o, false)) << true << o;
        }
        QTest::newRow("out of range") << withPrefix(orientationSegment(9)) << true << 0;
        QTest::newRow("no segment") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) << false << 0;
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("marker at the very end") << QByteArray("abc\xFF\xE1", 5) << false << 0;
        // FF FF E1: the second FF is consumed with the first.
        QTest::newRow("ff ff e1") << (QByteArray("\xFF") + orientationSegment(6)) << false << 0;
        QTest::newRow("ff pair before marker")
            << (QByteArray("\xFF\x00", 2) + orientationSegment(6)) << true << 6;
        QTest::newRow("xmp app1") << withPrefix(
            QByteArray("\xFF\xE1\x00\x20http://ns.adobe.com/xap/", 27))
                                  << false << 0;
        QTest::newRow("unknown byte order")
            << withPrefix(orientationSegment(6).replace(10, 2, "XX")) << true << 0;
        QTest::newRow("not 42") << withPrefix(orientationSegment(6).replace(12, 1, "\x2B")) << true
                                << 0;
    }

    void readsOrientation()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, found);
        QFETCH(int, orientation);
        const ExifInfo info = readExif(QByteArrayView(bytes));
        QCOMPARE(info.found, found);
        QCOMPARE(info.orientation, orientation);
    }

    void valueTypes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<quint32>>("stored");
        QTest::addColumn<int>("orientation");
        QTest::newRow("byte") << 1 << QList<quint32>({ 6 }) << 6;
        QTest::newRow("signed byte") << 6 << QList<quint32>({ 8 }) << 8;
        QTest::newRow("long") << 4 << QList<quint32>({ 3 }) << 3;
        QTest::newRow("signed long negative") << 9 << QList<quint32>({ quint32(-3) }) << 0;
        QTest::newRow("rational") << 5 << QList<quint32>({ 13, 2 }) << 6;
        QTest::newRow("rational zero denominator") << 5 << QList<quint32>({ 6, 0 }) << 0;
        QTest::newRow("signed rational")
            << 10 << QList<quint32>({ quint32(-16), quint32(-2) }) << 8;
        QTest::newRow("float 3.9") << 11 << QList<quint32>({ 0x4079999a }) << 3;
        QTest::newRow("float nan") << 11 << QList<quint32>({ 0x7fc00000 }) << 0;
        QTest::newRow("float huge") << 11 << QList<quint32>({ 0x7f000000 }) << 0;
        QTest::newRow("double 8") << 12 << QList<quint32>({ 0, 0x40200000 }) << 8;
        QTest::newRow("text") << 2 << QList<quint32>({ '6' }) << 0;
    }

    void valueTypes()
    {
        QFETCH(int, type);
        QFETCH(QList<quint32>, stored);
        QFETCH(int, orientation);
        TiffBuilder tiff;
        const int directory = tiff.addDirectory({ { 0x0112, quint16(type), 1, stored.first() } });
        if (type == 5 || type == 10 || type == 12) // eight bytes: stored after the directory
            tiff.setEntryValue(directory, 0, quint32(tiff.addLongs(stored)));
        QCOMPARE(readExif(QByteArrayView(withPrefix(exifSegment(tiff.data())))).orientation,
            orientation);
    }

    void directoryChain_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("orientation");
        QTest::newRow("first directory") << 0 << 6;
        QTest::newRow("second directory") << 1 << 6;
        QTest::newRow("fifth directory") << 4 << 6;
        QTest::newRow("sixth directory is too deep") << 5 << 0;
    }

    void directoryChain()
    {
        QFETCH(int, depth);
        QFETCH(int, orientation);
        TiffBuilder tiff;
        int previous = -1;
        for (int level = 0; level <= depth; ++level) {
            QList<TiffBuilder::Entry> entries { { 0x0100, 3, 1, 640 } };
            if (level == depth)
                entries << TiffBuilder::Entry { 0x0112, 3, 1, 6 };
            const int directory = tiff.addDirectory(entries);
            if (previous >= 0)
                tiff.setNext(previous, directory);
            previous = directory;
        }
        QCOMPARE(readExif(QByteArrayView(withPrefix(exifSegment(tiff.data())))).orientation,
            orientation);
    }

    void hostileSegments_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("orientation");

        // TIFF data of one directory with these entries.
        const auto tiff = [](const QList<TiffBuilder::Entry>& entries) {
            TiffBuilder builder;
            builder.addDirectory(entries);
            return builder.data();
        };
        const QByteArray six = tiff({ { 0x0112, 3, 1, 6 } });
        TiffBuilder far;
        far.setFirstDirectory(0x7fffffff);
        QTest::newRow("directory far outside") << exifSegment(far.data()) << 0;
        QTest::newRow("entry count past the end") // 65535 entries claimed
            << exifSegment(QByteArray(six).replace(8, 2, "\xff\xff")) << 0;
        TiffBuilder loop;
        const int looped = loop.addDirectory({ { 0x0112, 3, 1, 3 } });
        loop.setNext(looped, quint32(looped));
        QTest::newRow("directory loop") << exifSegment(loop.data()) << 3;
        QTest::newRow("rational offset outside")
            << exifSegment(tiff({ { 0x0112, 5, 1, 0xfffffff0 } })) << 0;
        // The rational would be read from past the end.
        QTest::newRow("empty rational at the end")
            << exifSegment(tiff({ { 0x0112, 5, 0, 0 } }).chopped(4) + QByteArray(2, 0)) << 0;
        QTest::newRow("oversized entry is not the first occurrence")
            << exifSegment(tiff({ { 0x0112, 3, 70000, 6 }, { 0x0112, 3, 1, 8 } })) << 8;
        QTest::newRow("unknown type skipped")
            << exifSegment(tiff({ { 0x0112, 13, 1, 6 }, { 0x0112, 3, 1, 3 } })) << 3;
        QTest::newRow("first occurrence wins")
            << exifSegment(tiff({ { 0x0112, 3, 1, 6 }, { 0x0112, 3, 1, 8 } })) << 6;
        // One byte after the entries is neither 0, 2 nor 4.
        QTest::newRow("one byte after the directory") << exifSegment(six.chopped(3)) << 0;
        QTest::newRow("two bytes after the directory") << exifSegment(six.chopped(2)) << 6;
        QTest::newRow("length claims more than the file") << exifSegment(six, 60000).left(30) << 0;
        QTest::newRow("length shorter than the header") << exifSegment(six, 5) << 0;
    }

    void hostileSegments()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, orientation);
        QCOMPARE(readExif(QByteArrayView(bytes)).orientation, orientation);
    }

    void loadsUpright_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("redCorner");
        QTest::newRow("1") << 1 << QSize(40, 20) << QPoint(0, 0);
        QTest::newRow("3") << 3 << QSize(40, 20) << QPoint(39, 19);
        QTest::newRow("6") << 6 << QSize(20, 40) << QPoint(19, 0);
        QTest::newRow("8") << 8 << QSize(20, 40) << QPoint(0, 39);
        QTest::newRow("5 is ignored") << 5 << QSize(40, 20) << QPoint(0, 0);
    }

    void loadsUpright()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, redCorner);
        const QString file = m_dir->filePath("photo.jpg");
        QVERIFY(writeFile(file, jpegWithSegment(leftRed(), orientationSegment(orientation))));

        QCOMPARE(readExif(file).orientation, orientation);
        const QImage image = loadImage(file);
        QCOMPARE(image.size(), size);
        QVERIFY(isRed(image.pixel(redCorner)));
        QVERIFY(!isRed(
            image.pixel(size.width() - 1 - redCorner.x(), size.height() - 1 - redCorner.y())));
    }

    void rotationMovesPixelsExactly()
    {
        QImage image(5, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                image.setPixel(x, y, qRgb(x * 50, y * 100, 7));
        const QImage right = applyOrientation(image, 6);
        const QImage half = applyOrientation(image, 3);
        const QImage left = applyOrientation(image, 8);
        QCOMPARE(right.size(), QSize(3, 5));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                QCOMPARE(right.pixel(2 - y, x), image.pixel(x, y));
                QCOMPARE(half.pixel(4 - x, 2 - y), image.pixel(x, y));
                QCOMPARE(left.pixel(y, 4 - x), image.pixel(x, y));
            }
    }

    void decodesByContentAndFailsCleanly()
    {
        const QString misnamed = m_dir->filePath("really-a-png.jpg");
        QVERIFY(leftRed().save(misnamed, "PNG"));
        QCOMPARE(loadImage(misnamed).size(), QSize(40, 20));

        for (const QByteArray& bytes :
            { QByteArray("just some words, no picture"), QByteArray() }) {
            const QString file = m_dir->filePath("notes.jpg");
            QVERIFY(writeFile(file, bytes));
            QVERIFY(loadImage(file).isNull());
            QCOMPARE(readExif(file).found, false);
        }
        QVERIFY(loadImage(m_dir->filePath("missing.png")).isNull());
        QCOMPARE(readExif(m_dir->filePath("missing.png")).found, false);
    }

    void truncatedJpegsAreBroken_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("complete");
        QImage noisy(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                noisy.setPixel(x, y, qRgb(x * 4, (x * y) % 256, y * 5));
        const QByteArray jpeg = imageBytes(noisy, "JPEG", 90);
        QByteArray progressive;
        {
            QBuffer buffer(&progressive);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setProgressiveScanWrite(true);
            writer.write(leftRed(64, 48));
        }
        QTest::newRow("complete") << jpeg << true;
        QTest::newRow("progressive") << progressive << true;
        QTest::newRow("trailing data") << jpeg + QByteArray(5000, 'x') + "\xFF\xDA" << true;
        QTest::newRow("with exif") << jpegWithSegment(leftRed(), orientationSegment(6)) << true;
        QTest::newRow("cut in the scan") << jpeg.left(jpeg.size() * 2 / 3) << false;
        QTest::newRow("cut before the end marker") << jpeg.chopped(2) << false;
        QTest::newRow("progressive cut") << progressive.left(progressive.size() - 40) << false;
        QTest::newRow("cut in the headers") << jpeg.left(100) << false;
        QTest::newRow("segment length zero") << QByteArray("\xFF\xD8\xFF\xE0\x00\x00", 6) << false;
        QTest::newRow("only the start marker") << QByteArray("\xFF\xD8", 2) << false;
        QTest::newRow("not a jpeg") << QByteArray("\x89PNG\r\n\x1a\n", 8) << true;
    }

    void truncatedJpegsAreBroken()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, complete);
        QCOMPARE(isCompleteJpeg(QByteArrayView(bytes)), complete);
        const QString path = m_dir->filePath("picture.jpg");
        QVERIFY(writeFile(path, bytes));
        if (bytes.startsWith("\xFF\xD8\xFF\xE0\x00\x10") || bytes.size() > 200)
            QCOMPARE(loadImage(path).isNull(), !complete);
    }

    void thumbnailNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* name, const char* path, const char* thumbnail) {
            QTest::newRow(name) << QString(path) << QString(thumbnail);
        };
        row("jpg", "/a/b/photo.jpg", "bb8f181c7a063cf05391de957d29024e.jpg");
        row("gif becomes png", "/a/b/photo.gif", "bb8f181c7a063cf05391de957d29024e.png");
        row("GIF stays", "/a/b/photo.GIF", "bb8f181c7a063cf05391de957d29024e.GIF");
        row("latin-1 digest", "/a/b/caf\u00e9.png", "3cb3b0968faebd89892a494a76096e70.png");
        // photo.png would be bb8f...png: a name without extension does not collide with it.
        row("no dot", "/a/b/photo", "98c1c9fb585713119eccaed1fc4c3a49.png");
        row("dot only in a directory", "/a/my.dir/IMG", "0c1afde5720ea87b5f04336de685316d.png");
        row("hidden file", "/a/b/.png", "f218dc3054693d47457e30c57b8b2425.png");
    }

    void thumbnailNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(thumbnailName(path), name);
        QCOMPARE(thumbnailPath(path), Config::instance()->dataPath() + "/" + name);
    }

    void thumbnailsAreScaledIntoTheBox_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("box");
        QTest::addColumn<QSize>("thumbnail");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("enlarged") << "small.png" << QSize(100, 50) << 250 << QSize(250, 125)
                                  << QByteArray("png");
        QTest::newRow("reduced portrait")
            << "tall.jpg" << QSize(300, 900) << 250 << QSize(83, 250) << QByteArray("jpeg");
        QTest::newRow("own box size")
            << "p.png" << QSize(64, 64) << 32 << QSize(32, 32) << QByteArray("png");
        QTest::newRow("gif as png")
            << "anim.gif" << QSize(60, 30) << 250 << QSize(250, 125) << QByteArray("png");
        QTest::newRow("GIF keeps its name")
            << "ANIM.GIF" << QSize(60, 30) << 250 << QSize(250, 125) << QByteArray("png");
    }

    void thumbnailsAreScaledIntoTheBox()
    {
        QFETCH(QString, fileName);
        QFETCH(QSize, source);
        QFETCH(int, box);
        QFETCH(QSize, thumbnail);
        QFETCH(QByteArray, format);
        Config::instance()->setValue("Lumerax", "ThumbnailSize", box);
        const QString path = m_dir->filePath(fileName);
        QVERIFY(leftRed(source.width(), source.height())
                    .save(path, fileName.endsWith("jpg") ? "JPEG" : "PNG"));

        const QString written = makeThumbnail(path);
        QCOMPARE(written, thumbnailPath(path));
        QImageReader reader(written);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.size(), thumbnail);

        // A given image is used as it is.
        QImage other(10, 40, QImage::Format_RGB32);
        other.fill(Qt::green);
        QCOMPARE(makeThumbnail(path, &other), written);
        QCOMPARE(QImage(written).size(), QSize(box / 4, box));
    }

    void undecodableSourceWritesNothing()
    {
        const QString path = m_dir->filePath("broken.png");
        QVERIFY(writeFile(path, "\x89PNG broken"));
        const QString written = makeThumbnail(path);
        QCOMPARE(written, thumbnailPath(path));
        QVERIFY(!QFile::exists(written));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestImageLoader)
#include "tst_imageloader.moc"
