#include "features/edgedetector.h"

#include <QFile>
#include <QFont>
#include <QPainter>
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
        QImage photo(1600, 1000, QImage::Format_RGB32);
        photo.fill(qRgb(60, 45, 30));
        {
            QPainter painter(&photo);
            painter.fillRect(200, 125, 1200, 750, QColor(245, 245, 240));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(56);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(280, 330, QStringLiteral("Jürgen Weiß"));
            painter.drawText(280, 450, QStringLiteral("10115 Berlin"));
        }
        const QString file = m_dir.filePath("card.jpg");
        QVERIFY(photo.save(file, "JPG", 92));
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

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
