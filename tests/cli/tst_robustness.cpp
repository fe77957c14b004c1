#include "indexing/thumbnail.h"
#include "support/testfiles.h"
#include "support/testindex.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Pictures large enough that indexing a few hundred takes seconds.
QStringList makePictures(const QString& folder, int count)
{
    return veldra::test::writePictures(folder, count, 0, QSize(800, 600), "jpg");
}

QProcess* startIndexing(const QString& data, const QStringList& paths)
{
    auto* process = new QProcess;
    process->start(
        QStringLiteral(LUMERAX_CLI_PATH), QStringList { "--data-dir", data, "index" } + paths);
    return process;
}

struct IndexState
{
    QString integrity;
    int images = 0;
    int withoutColors = 0;
    int withoutThumbnail = 0;
    int duplicates = 0;
    bool contiguous = true;
    QStringList thumbnails; // timg of every row
};

IndexState inspect(const QString& data)
{
    IndexState state;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspection");
        db.setDatabaseName(data + "/lumerax.db");
        if (db.open()) {
            QSqlQuery query(db);
            const auto value = [&](const QString& sql) {
                return query.exec(sql) && query.next() ? query.value(0) : QVariant();
            };
            state.integrity = value("PRAGMA integrity_check").toString();
            state.images = value("select count(*) from images").toInt();
            state.withoutColors
                = value("select count(*) from images where id not in ( select id from colors )")
                      .toInt();
            state.duplicates
                = value("select count(*) - count(distinct fid || '/' || img) from images").toInt();
            state.contiguous
                = value("select count(*) from ( select fid from images group by fid having "
                        "max( sequence ) + 1 <> count(*) or count(distinct sequence) <> count(*) )")
                      .toInt()
                == 0;
            query.exec("select timg from images");
            while (query.next()) {
                state.thumbnails << query.value(0).toString();
                if (!QFile::exists(data + "/" + state.thumbnails.last()))
                    ++state.withoutThumbnail;
            }
        }
    }
    QSqlDatabase::removeDatabase("inspection");
    return state;
}

// Waits until the data directory holds at least `count` thumbnails while the indexer still runs,
// so that a kill lands in the middle of the run however fast the machine is.
bool waitForThumbnails(QProcess* process, const QString& data, int count)
{
    const QRegularExpression name("^[0-9a-f]{32}\\.\\w+$");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        if (QDir(data).entryList(QDir::Files).filter(name).size() >= count)
            return process->state() == QProcess::Running;
        if (process->waitForFinished(2))
            return false;
    }
    return false;
}

// Thumbnail files in the data directory that no row names.
QStringList orphans(const QString& data, const IndexState& state)
{
    const QSet<QString> stored(state.thumbnails.begin(), state.thumbnails.end());
    QStringList lost;
    const QRegularExpression name("^[0-9a-f]{32}\\.\\w+$");
    for (const QString& file : QDir(data).entryList(QDir::Files))
        if (name.match(file).hasMatch() && !stored.contains(file))
            lost << file;
    return lost;
}

} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedIndexingLeavesAConsistentIndex()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        const QStringList pictures = makePictures(dir.filePath("photos"), 300);
        QCOMPARE(pictures.size(), 300);

        int previous = 0;
        for (int round = 0; round < 4; ++round) {
            QProcess* process = startIndexing(data, { dir.filePath("photos") });
            QVERIFY(process->waitForStarted());
            QVERIFY2(waitForThumbnails(process, data, previous + 25),
                qPrintable("the indexer ended before it could be killed: "
                    + process->readAllStandardError()));
            ::kill(pid_t(process->processId()), SIGKILL);
            QVERIFY(process->waitForFinished());
            delete process;

            const IndexState state = inspect(data);
            QCOMPARE(state.integrity, QString("ok"));
            QCOMPARE(state.withoutColors, 0);
            QCOMPARE(state.withoutThumbnail, 0);
            QCOMPARE(state.duplicates, 0);
            QVERIFY(state.contiguous);
            QVERIFY(state.images >= previous);
            // At most the pictures being stored when the kill came.
            QVERIFY2(orphans(data, state).size() <= 2, qPrintable(orphans(data, state).join(' ')));
            previous = state.images;
        }
        QVERIFY2(previous < 300, "the kills came too late to interrupt anything");

        QProcess* process = startIndexing(data, { dir.filePath("photos") });
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(QString(process->readAllStandardOutput()).trimmed(),
            QString("%1 indexed, %2 skipped, 0 failed").arg(300 - previous).arg(previous));
        delete process;

        const IndexState state = inspect(data);
        QCOMPARE(state.integrity, QString("ok"));
        QCOMPARE(state.images, 300);
        QCOMPARE(state.duplicates, 0);
        QCOMPARE(state.withoutThumbnail, 0);
        QVERIFY(state.contiguous);
        QCOMPARE(orphans(data, state), QStringList());
        QVERIFY(QDir(data).entryList({ "*.pending" }).isEmpty());
    }

    void twoProcessesIndexingOneFolderStoreEachPictureOnce()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        const QStringList pictures = makePictures(dir.filePath("photos"), 120);
        QCOMPARE(pictures.size(), 120);
        QProcess* first = startIndexing(data, { dir.filePath("photos") });
        QProcess* second = startIndexing(data, { dir.filePath("photos") });
        QVERIFY(first->waitForFinished(120000));
        QVERIFY(second->waitForFinished(120000));
        QCOMPARE(first->exitCode(), 0);
        QCOMPARE(second->exitCode(), 0);
        delete first;
        delete second;

        const IndexState state = inspect(data);
        QCOMPARE(state.images, 120);
        QCOMPARE(state.duplicates, 0);
        QCOMPARE(state.withoutThumbnail, 0);
        QVERIFY(state.contiguous);
        QCOMPARE(orphans(data, state), QStringList());
    }

    void brokenFilesAreSkippedAndNamed()
    {
        QTemporaryDir dir;
        const QString photos = dir.filePath("photos");
        const QStringList good = makePictures(photos, 4);
        QFile source(good.first());
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray jpeg = source.readAll();
        QImage png(30, 20, QImage::Format_RGB32);
        png.fill(Qt::blue);
        QByteArray corruptPng = veldra::test::imageBytes(png, "PNG");
        QVERIFY(veldra::test::writeFile(photos + "/fine.png", corruptPng));
        corruptPng.replace(corruptPng.size() / 2, 20, QByteArray(20, 'U'));

        const QMap<QString, QByteArray> broken { { "truncated.jpg", jpeg.left(jpeg.size() / 2) },
            { "cut-at-end.jpg", jpeg.chopped(2) }, { "empty.jpg", QByteArray() },
            { "letter.jpg", "Dear Anna, the photos are attached." }, { "corrupt.png", corruptPng },
            { "header-only.png", corruptPng.left(40) } };
        for (auto it = broken.cbegin(); it != broken.cend(); ++it)
            QVERIFY(veldra::test::writeFile(photos + "/" + it.key(), it.value()));

        QProcess process;
        process.start(QStringLiteral(LUMERAX_CLI_PATH),
            { "--data-dir", dir.filePath("data"), "index", "--verbose", photos });
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString(process.readAllStandardOutput()).trimmed(),
            QString("5 indexed, 0 skipped, 6 failed"));
        const QString errors = process.readAllStandardError();
        for (const QString& name : broken.keys())
            QVERIFY2(errors.contains("failed: " + photos + "/" + name), qPrintable(name));
        QCOMPARE(inspect(dir.filePath("data")).images, 5);
    }
};

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"
