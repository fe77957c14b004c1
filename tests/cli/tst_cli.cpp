#include "features/edgedetector.h"
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

        const Run commandHelp = runCli({ "edges", "--help" });
        QCOMPARE(commandHelp.exitCode, 0);
        QVERIFY(
            commandHelp.out.startsWith("Usage: lumerax-cli edges [options] IMAGE LOW HIGH OUT"));
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
    }

    void unreadableImageIsOneLineAndExitOne()
    {
        const QString text = m_dir.filePath("notes.png");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();

        for (const QString& input : { text, m_dir.filePath("missing.jpg") }) {
            const Run run = runCli({ "edges", input, "20", "58", m_dir.filePath("out.png") });
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.count('\n'), 1);
            QVERIFY(run.err.contains(input));
            QVERIFY(!QFile::exists(m_dir.filePath("out.png")));
        }
    }

    void unwritableOutputFails()
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString input = m_dir.filePath("red.png");
        QVERIFY(image.save(input));
        const Run run
            = runCli({ "edges", input, "20", "58", m_dir.filePath("no/such/dir/out.png") });
        QCOMPARE(run.exitCode, 1);
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
        QFile broken(pictures + "/sub/broken.png");
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\x89PNG\r\n\x1a\n truncated");
        broken.close();
        QFile notes(pictures + "/notes.txt");
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();

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
    }

    void indexReportsMissingPaths()
    {
        const Run run
            = runCli({ "--data-dir", m_dir.filePath("d"), "index", m_dir.filePath("nowhere") });
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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
