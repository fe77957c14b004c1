#include "features/edgedetector.h"

#include <QFile>
#include <QProcess>
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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
