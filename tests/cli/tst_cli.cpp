#include "features/edgedetector.h"
#include "indexing/imageloader.h"
#include "recognition/face/facelocalizer.h"
#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"
#include "support/exifjpeg.h"
#include "support/syntheticphotos.h"
#include "support/testindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace veldra;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(LUMERAX_CLI_PATH), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QVector<QRect> jsonRects(const QJsonArray& array)
{
    QVector<QRect> rects;
    for (const QJsonValue& value : array) {
        const QJsonArray r = value.toArray();
        rects.append(QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()));
    }
    return rects;
}

QImage readBack(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void helpAndVersion()
    {
        const Run help = runCli({ "--help" });
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("edges"));
        QVERIFY(help.out.contains("--data-dir"));

        const Run version = runCli({ "--version" });
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out.trimmed(), QString("lumerax-cli 2.0"));

        for (const QString usage : { "edges [options] IMAGE LOW HIGH OUT", "faces [options] IMAGE",
                 "plates [options] IMAGE" }) {
            const Run commandHelp = runCli({ usage.section(' ', 0, 0), "--help" });
            QCOMPARE(commandHelp.exitCode, 0);
            QVERIFY(commandHelp.out.startsWith("Usage: lumerax-cli " + usage));
        }
    }

    void usageErrorsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList({ "paint" });
        QTest::newRow("unknown option")
            << QStringList({ "edges", "--frobnicate", "a", "1", "2", "b" });
        QTest::newRow("too few arguments") << QStringList({ "edges", "a.png", "20" });
        QTest::newRow("too many arguments") << QStringList({ "edges", "a", "1", "2", "b", "c" });
        QTest::newRow("threshold not a number")
            << QStringList({ "edges", "a.png", "low", "58", "b.png" });
        for (const QString command : { "faces", "plates" }) {
            QTest::addRow("%s without an image", qPrintable(command)) << QStringList { command };
            QTest::addRow("%s with two images", qPrintable(command))
                << QStringList { command, "a.png", "b.png" };
            QTest::addRow("%s, --pixelate without a file", qPrintable(command))
                << QStringList { command, "a.png", "--pixelate" };
        }
    }

    void usageErrorsExitWithTwo()
    {
        QFETCH(QStringList, arguments);
        const Run run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.out.isEmpty());
    }

    void edgesWritesTheDetectorsPng()
    {
        QImage image(64, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(
                    x, y, qRgb((x * 37 + y * 11) % 256, (x * x + y) % 256, (y * 53) % 256));
        const QString input = m_dir.filePath("in.png");
        const QString output = m_dir.filePath("edges.png");
        QVERIFY(image.save(input));

        const Run run
            = runCli({ "--data-dir", m_dir.filePath("data"), "edges", input, "20", "58", output });
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QImage written(output);
        QCOMPARE(written.convertToFormat(QImage::Format_RGB32), detectEdges(image, 20, 58));
        QCOMPARE(
            runCli({ "edges", input, "20", "58", m_dir.filePath("no/dir/out.png") }).exitCode, 1);
    }

    void unreadableImageIsOneLineAndExitOne_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("rest"); // after the image
        QTest::newRow("edges") << QString("edges")
                               << QStringList { "20", "58", m_dir.filePath("out.png") };
        QTest::newRow("faces") << QString("faces") << QStringList { "--json" };
        QTest::newRow("plates") << QString("plates") << QStringList { "--json" };
    }

    void unreadableImageIsOneLineAndExitOne()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, rest);
        const QString notes = m_dir.filePath("notes.png");
        QVERIFY(test::writeFile(notes, "not a picture"));
        for (const QString& input : { notes, m_dir.filePath("missing.jpg") }) {
            const Run run = runCli(QStringList { command, input } + rest);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.count('\n'), 1);
            QVERIFY(run.err.contains(input));
            QVERIFY(run.out.isEmpty());
            QVERIFY(!QFile::exists(m_dir.filePath("out.png")));
        }
    }

    void featuresPrintOneJsonLinePerPicture()
    {
        QImage red(50, 40, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        const QString file = m_dir.filePath("red.png");
        QVERIFY(red.save(file));
        const QString missing = m_dir.filePath("missing.jpg");

        const Run run = runCli({ "features", file, missing, file });
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(run.err.contains(missing));
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QString expected
            = QString("{\"file\":\"%1\",\"width\":50,\"height\":40,\"bytes\":%2,"
                      "\"rgn\":0,\"temperature\":99.99999999900001,\"colorWeights\":{")
                  .arg(file)
                  .arg(QFileInfo(file).size());
        QVERIFY2(lines[0].startsWith(expected), qPrintable(lines[0]));
        QVERIFY(lines[0].contains("\"400\":83,\"401\":66,"));
        QVERIFY(
            lines[0].endsWith("\"500\":100,\"501\":83,\"502\":33,\"510\":83,\"511\":66,\"512\":16,"
                              "\"520\":33,\"521\":16}}"));
        QCOMPARE(lines[1], lines[0]);
    }

    void indexAndList()
    {
        const QString pictures = m_dir.filePath("pictures");
        QVERIFY(QDir().mkpath(pictures + "/sub"));
        for (int i = 0; i < 3; ++i) {
            QImage image(30, 20, QImage::Format_RGB32);
            image.fill(qRgb(i * 80, 100, 200 - i * 50));
            QVERIFY(image.save(QString("%1/p%2.png").arg(pictures).arg(i)));
        }
        QImage upper(10, 10, QImage::Format_RGB32);
        upper.fill(Qt::green);
        QVERIFY(upper.save(pictures + "/sub/GREEN.JPG", "JPEG"));
        QVERIFY(test::writeFile(pictures + "/sub/broken.png", "\x89PNG\r\n\x1a\n truncated"));
        QVERIFY(test::writeFile(pictures + "/notes.txt", QByteArray()));

        const QString data = m_dir.filePath("index-data");
        Run run = runCli({ "--data-dir", data, "index", "--verbose", pictures });
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out.trimmed(), QString("4 indexed, 0 skipped, 1 failed"));
        QVERIFY(run.err.contains("failed: " + pictures + "/sub/broken.png"));
        QVERIFY(run.err.contains("100%"));
        QVERIFY(QFile::exists(data + "/lumerax.db"));

        run = runCli({ "--data-dir", data, "index", pictures + "/p0.png", pictures + "/p2.png" });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), QString("0 indexed, 2 skipped, 0 failed"));

        run = runCli({ "list", "--data-dir", data });
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines
                     .filter(QRegularExpression("^" + QRegularExpression::escape(pictures) + "\t"
                         + data + "/[0-9a-f]{32}\\.png$"))
                     .size(),
            3);
        QVERIFY(lines.last().startsWith(pictures + "/sub\t" + data + "/"));
        QVERIFY(lines.last().endsWith(".JPG"));

        run = runCli({ "list", "--json", "--data-dir", data });
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(json.keys(), QStringList({ pictures, pictures + "/sub" }));
        QCOMPARE(json.value(pictures).toArray().size(), 3);

        run = runCli({ "list", "--database", ":memory:", "--data-dir", data });
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(data + "/:memory:.db"));

        run = runCli({ "--data-dir", data, "index", m_dir.filePath("nowhere") });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("nowhere"));
        QCOMPARE(run.out.trimmed(), QString("0 indexed, 0 skipped, 1 failed"));
    }

    void searches_data() { veldra::test::addEngineRows(); }

    void searches()
    {
        QFETCH(QString, engine);
        const QString data = m_dir.filePath("search-" + engine);
        QVERIFY(QDir().mkpath(data));
        if (engine == "QMYSQL") {
            auto* server = veldra::test::MariaDbServer::instance();
            if (!server)
                QSKIP(qPrintable(veldra::test::MariaDbServer::unavailable()));
            QSettings ini(data + "/config.ini", QSettings::IniFormat);
            ini.setValue("Database/Engine", "QMYSQL");
            ini.setValue("Database/Socket", server->socket());
        }
        const QString pictures = m_dir.filePath("search-pictures-" + engine);
        QVERIFY(QDir().mkpath(pictures));
        const QList<QPair<QString, QRgb>> colours { { "red.png", qRgb(250, 10, 10) },
            { "orange.png", qRgb(250, 90, 10) }, { "blue.png", qRgb(10, 10, 250) } };
        for (const auto& [name, colour] : colours) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(colour);
            QVERIFY(image.save(pictures + "/" + name));
        }
        QCOMPARE(runCli({ "--data-dir", data, "index", pictures }).exitCode, 0);

        Run run = runCli({ "--data-dir", data, "similar", pictures + "/red.png", "--sources" });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts),
            QStringList({ pictures + "/orange.png", pictures + "/blue.png" }));
        run = runCli({ "--data-dir", data, "color", "#0000ff", "--sources" });
        QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts), QStringList({ pictures + "/blue.png" }));
        run = runCli({ "--data-dir", data, "color", "red", "--limit", "1" });
        QCOMPARE(run.exitCode, 0);
        const QStringList thumbnails = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(thumbnails.size(), 1);
        QVERIFY(thumbnails.first().startsWith(data + "/"));
        QVERIFY(QFile::exists(thumbnails.first()));
        run = runCli({ "--data-dir", data, "mood", "100", "0", "0", "--sources" });
        QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts).first(), pictures + "/red.png");

        QCOMPARE(runCli({ "--data-dir", data, "similar", pictures + "/none.png" }).exitCode, 1);
        QCOMPARE(runCli({ "--data-dir", data, "mood", "1", "x", "3" }).exitCode, 2);
        QCOMPARE(runCli({ "--data-dir", data, "color", "red", "--limit", "-2" }).exitCode, 2);
    }

    void facesPrintsWhatTheLocaliserFinds()
    {
        const QImage image
            = test::facePhoto(QSize(300, 200), { { QPoint(20, 40), 4 }, { QPoint(180, 90), 3 } });
        const QString input = m_dir.filePath("two faces.png");
        QVERIFY(image.save(input));
        const QVector<QRect> faces = FaceLocalizer(25, 0.2).locate(image);
        QCOMPARE(faces.size(), 2);

        const Run json = runCli({ "faces", input, "--json" });
        QCOMPARE(json.exitCode, 0);
        QVERIFY(json.err.isEmpty());
        // Keys in this order, one line.
        QVERIFY(json.out.startsWith(QStringLiteral("{\"file\":\"%1\",\"width\":300,\"height\":200,"
                                                   "\"faces\":[[")
                                        .arg(input)));
        QCOMPARE(json.out.count('\n'), 1);
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(object.value("file").toString(), input);
        QCOMPARE(jsonRects(object.value("faces").toArray()), faces);

        const Run text = runCli({ "faces", input });
        QCOMPARE(text.exitCode, 0);
        QString expected = QStringLiteral("%1: 300 x 200, 2 faces\n").arg(input);
        for (const QRect& r : faces)
            expected += QString::asprintf("%d %d %d %d\n", r.x(), r.y(), r.width(), r.height());
        QCOMPARE(text.out, expected);
    }

    void facesWritesCensoredAndPixelatedPhotos()
    {
        const QImage image = test::facePhoto(QSize(160, 160), { { QPoint(30, 30), 4 } });
        const QString input = m_dir.filePath("face.png");
        QVERIFY(image.save(input));
        const QVector<QRect> faces = FaceLocalizer().locate(image);
        QCOMPARE(faces.size(), 1);

        const QString censored = m_dir.filePath("censored.png");
        const QString pixelated = m_dir.filePath("pixelated.png");
        const Run run = runCli({ "faces", input, "--censor", censored, "--pixelate", pixelated });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readBack(censored), censorRegions(image, faces));
        QCOMPARE(readBack(pixelated), pixelateRegions(image, faces, 10));
        QVERIFY(readBack(censored) != image);

        const Run unwritable
            = runCli({ "faces", input, "--censor", m_dir.filePath("no/such/dir/c.png") });
        QCOMPARE(unwritable.exitCode, 1);
        QCOMPARE(unwritable.err.count('\n'), 1);
    }

    // A camera held upright stores the picture on its side with orientation 6;
    // faces are searched in the upright picture.
    void facesReadsThePhotoUpright()
    {
        const QImage upright = test::facePhoto(QSize(160, 220), { { QPoint(30, 60), 4 } });
        const QImage stored = upright.transformed(QTransform().rotate(-90));
        QCOMPARE(stored.size(), QSize(220, 160));
        const QString input = m_dir.filePath("portrait.jpg");
        QVERIFY(test::writeFile(input, test::jpegWithSegment(stored, test::orientationSegment(6))));

        const QVector<QRect> faces = FaceLocalizer().locate(loadImage(input));
        QCOMPARE(faces.size(), 1);
        const Run run = runCli({ "faces", input, "--json" });
        QCOMPARE(run.exitCode, 0);
        const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(object.value("width").toInt(), 160);
        QCOMPARE(object.value("height").toInt(), 220);
        QCOMPARE(jsonRects(object.value("faces").toArray()), faces);
    }

    void platesWorksOnThePhotoReducedTo640x480()
    {
        const QImage image = test::carPhoto(QSize(1280, 1024), QRect(400, 600, 320, 72), 7);
        const QString input = m_dir.filePath("car.png");
        QVERIFY(image.save(input));
        const QImage reduced
            = image.scaled(640, 480, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(reduced.size(), QSize(600, 480));
        const QVector<QRect> plates = PlateLocator::locate(reduced);
        QCOMPARE(plates.size(), 1);

        const QString pixelated = m_dir.filePath("plates.png");
        const Run run = runCli({ "plates", input, "--json", "--pixelate", pixelated });
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(
            QStringLiteral("{\"file\":\"%1\",\"width\":600,\"height\":480,\"plates\":[[")
                .arg(input)));
        const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(jsonRects(object.value("plates").toArray()), plates);
        QCOMPARE(readBack(pixelated), pixelateRegions(reduced, plates, 10));
    }

    void platesLeavesSmallPhotosAsTheyAre()
    {
        const QImage image = test::carPhoto(QSize(320, 240), QRect(100, 150, 110, 24), 7);
        const QString input = m_dir.filePath("small car.png");
        QVERIFY(image.save(input));
        const Run run = runCli({ "plates", input });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("%1: 320 x 240, 1 plate\n84 144 145 36\n").arg(input));

        QImage blank(100, 200, QImage::Format_RGB32);
        blank.fill(Qt::white);
        const QString narrow = m_dir.filePath("narrow.png");
        QVERIFY(blank.save(narrow));
        const Run none = runCli({ "plates", narrow, "--json" });
        QCOMPARE(none.exitCode, 0);
        QCOMPARE(none.out.trimmed(),
            QStringLiteral("{\"file\":\"%1\",\"width\":100,\"height\":200,\"plates\":[]}")
                .arg(narrow));
    }

    void readCardFailsOnWhatIsNoJpeg_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "card.png";
        QTest::newRow("missing") << "missing.jpg";
    }
    void readCardFailsOnWhatIsNoJpeg()
    {
        QFETCH(QString, name);
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(m_dir.filePath("card.png")));
        const Run run = runCli({ "read-card", m_dir.filePath(name) });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.contains("Trouble with file format.\nCan't read the card. Sorry. :(\n"));
    }

    void readCardPrintsUtf8Lines()
    {
        const QString file = m_dir.filePath("card.jpg");
        QVERIFY(test::cardPhoto({ "Jürgen Weiß", "10115 Berlin" }, 1600, 1000, 56)
                    .save(file, "JPG", 92));
        const Run run = runCli({ "read-card", file });
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].contains(QStringLiteral("ü")) || lines[0].contains(QStringLiteral("ß")),
            qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("10115 Berlin"));
    }

private:
    QTemporaryDir m_dir;
};

// The read-card test renders text, which wants a GUI application.
QTEST_MAIN(TestCli)
#include "tst_cli.moc"
