#include "indexing/indexer.h"
#include "indexing/thumbnail.h"
#include "shell/lumerax.h"
#include "store/imagerecords.h"
#include "support/testindex.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

using namespace veldra;
using namespace veldra::test;

class TestIndexing : public QObject
{
    Q_OBJECT

private:
    // Runs one batch and waits for its end.
    bool index(const QStringList& files)
    {
        QSignalSpy finished(m_lumerax, &Lumerax::indexFinished);
        m_lumerax->analyze(files);
        return finished.wait(120000);
    }

    static int rowCount(const QString& table)
    {
        return TestIndex::scalar("select count(*) from " + table).toInt();
    }

private Q_SLOTS:
    void initTestCase_data() { addEngineRows(); }

    void init()
    {
        LUMERAX_INIT_TEST_INDEX(m_index);
        m_lumerax = new Lumerax;
        m_lumerax->setSetting(ThumbnailSizeSetting, 250);
        // Starts and ends of batches, each end with the rows stored by then.
        m_events.clear();
        connect(m_lumerax, &Lumerax::indexStarted, this, [this] { m_events << "started"; });
        connect(m_lumerax, &Lumerax::indexFinished, this,
            [this] { m_events << QString("finished %1").arg(rowCount("images")); });
    }

    void cleanup()
    {
        delete m_lumerax;
        m_index.reset();
    }

    void indexesPicturesWithThumbnails()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 6);
        QSignalSpy started(m_lumerax, &Lumerax::indexStarted);
        QSignalSpy range(m_lumerax, &Lumerax::progressRangeChanged);
        QSignalSpy progress(m_lumerax, &Lumerax::progressValueChanged);
        QVERIFY(index(files));
        QCOMPARE(started.count(), 1);
        QCOMPARE(range.last(), QVariantList({ 0, 6 }));
        QCOMPARE(progress.last().at(0).toInt(), 6);

        QCOMPARE(rowCount("images"), 6);
        QCOMPARE(rowCount("colors"), 6);
        QCOMPARE(rowCount("folder"), 1);
        for (const QString& file : files) {
            QVERIFY(!isNewImage(file));
            const QImage thumbnail(thumbnailPath(file));
            QCOMPARE(thumbnail.size(), QSize(250, 166));
        }
        const QStringList listed = m_lumerax->listAll().value(m_index->path() + "/photos");
        QCOMPARE(listed.size(), 6);
        QCOMPARE(
            m_lumerax->sourceImagePath(QFileInfo(listed.first()).fileName()).section('/', 0, -2),
            m_index->path() + "/photos");
    }

    void indexingTwiceAddsNothing()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 4);
        QVERIFY(index(files));
        const QDateTime written = QFileInfo(thumbnailPath(files.first())).lastModified();
        QVERIFY(index(files + files));
        QCOMPARE(rowCount("images"), 4);
        QCOMPARE(QFileInfo(thumbnailPath(files.first())).lastModified(), written);
        QCOMPARE(m_lumerax->indexingFuture().results(), QList<int>(8, AlreadyIndexed));
    }

    void brokenFilesAreSkipped()
    {
        QStringList files = writePictures(m_index->path() + "/photos", 3);
        const QString broken = m_index->path() + "/photos/broken.jpg";
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF\xE0 truncated");
        file.close();
        files.insert(1, broken);
        files << m_index->path() + "/photos/missing.png";
        QVERIFY(index(files));
        QCOMPARE(rowCount("images"), 3);
        QVERIFY(!QFile::exists(thumbnailPath(broken)));
        QCOMPARE(m_lumerax->indexingFuture().results(),
            QList<int>({ Indexed, Unreadable, Indexed, Indexed, Unreadable }));
    }

    void queuedBatchesRunOneAfterTheOther()
    {
        const QStringList first = writePictures(m_index->path() + "/a", 5);
        const QStringList second = writePictures(m_index->path() + "/b", 3, 50);
        QSignalSpy finished(m_lumerax, &Lumerax::indexFinished);
        m_lumerax->analyze(first);
        m_lumerax->analyze(second);
        QVERIFY(m_lumerax->isIndexing());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 60000);
        QCOMPARE(m_events, QStringList({ "started", "finished 5", "started", "finished 8" }));
    }

    // The previous batch's future has finished, but its end has not been
    // reported yet: the new batch still waits its turn, and both ends are
    // reported.
    void batchAddedAsThePreviousEndsStillQueues()
    {
        const QStringList first = writePictures(m_index->path() + "/a", 4);
        const QStringList second = writePictures(m_index->path() + "/b", 2, 50);
        QSignalSpy finished(m_lumerax, &Lumerax::indexFinished);
        m_lumerax->analyze(first);
        m_lumerax->indexingFuture().waitForFinished();
        QVERIFY(m_lumerax->isIndexing());
        m_lumerax->analyze(second);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 60000);
        QCOMPARE(m_events, QStringList({ "started", "finished 4", "started", "finished 6" }));
        QVERIFY(!m_lumerax->isIndexing());
    }

    void emptyBatchStartsAndFinishes()
    {
        QVERIFY(index({}));
        QCOMPARE(m_events, QStringList({ "started", "finished 0" }));
    }

    void manyPicturesOnAllCoresAreAllStored()
    {
        QThreadPool::globalInstance()->setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        const QStringList files = writePictures(m_index->path() + "/many", 500);
        QCOMPARE(files.size(), 500);
        QVERIFY(index(files));
        QThreadPool::globalInstance()->setMaxThreadCount(QThread::idealThreadCount());
        QCOMPARE(rowCount("images"), 500);
        QCOMPARE(rowCount("colors"), 500);
        QCOMPARE(rowCount("folder"), 1);
        QCOMPARE(TestIndex::scalar("select count(distinct sequence) from images").toInt(), 500);
        QCOMPARE(TestIndex::scalar("select max(sequence) from images").toInt(), 499);
        QCOMPARE(QDir(m_index->dataPath()).entryList({ "*.png" }).size(), 500);
    }

    void cancellingKeepsWhatWasIndexed()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 60);
        QSignalSpy finished(m_lumerax, &Lumerax::indexFinished);
        // Cancelled at the first progress, while the batch surely runs.
        const QMetaObject::Connection cancel
            = connect(m_lumerax, &Lumerax::progressValueChanged, this, [this](int done) {
                  if (done > 0)
                      m_lumerax->cancelIndexing();
              });
        m_lumerax->analyze(files);
        m_lumerax->analyze(files); // queued, dropped by the cancel
        QVERIFY(finished.wait(60000));
        QTest::qWait(200);
        QCOMPARE(finished.count(), 1);
        disconnect(cancel);
        const int stored = rowCount("images");
        QVERIFY(stored > 0);
        QCOMPARE(rowCount("colors"), stored);
        QCOMPARE(TestIndex::scalar("select max(sequence) from images").toInt(), stored - 1);
        QCOMPARE(QDir(m_index->dataPath()).entryList({ "*.png" }).size(), stored);
        const QList<int> results = m_lumerax->indexingFuture().results();
        QCOMPARE(results.size(), 60);
        QCOMPARE(results.count(Indexed), stored);
        QCOMPARE(results.count(NotIndexed), 60 - stored);

        QVERIFY(index(files));
        QCOMPARE(rowCount("images"), 60);
    }

    void destroyingTheControllerWaitsForTheBatch()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 30);
        m_lumerax->analyze(files);
        delete m_lumerax;
        m_lumerax = nullptr;
        const int stored = rowCount("images");
        QCOMPARE(rowCount("colors"), stored);
        QCOMPARE(QDir(m_index->dataPath()).entryList({ "*.png" }).size(), stored);
        m_lumerax = new Lumerax;
    }

    void interruptedWritesAreCleanedUpOnOpening()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 2);
        QVERIFY(index({ files.first() }));
        // As a killed indexer leaves them: a thumbnail whose row was never
        // committed, and a stored one whose marker was not yet removed.
        const QString lost = thumbnailPath(files.last());
        const QString kept = thumbnailPath(files.first());
        QVERIFY(QFile::copy(kept, lost));
        for (const QString& thumbnail : { lost, kept }) {
            QFile marker(thumbnail + ".pending");
            QVERIFY(marker.open(QIODevice::WriteOnly));
        }
        const QString unrelated = m_index->dataPath() + "/0123456789abcdef0123456789abcdef.png";
        QVERIFY(QFile::copy(kept, unrelated));

        m_lumerax->openDatabase();
        QVERIFY(!QFile::exists(lost));
        QVERIFY(QFile::exists(kept));
        QVERIFY(QFile::exists(unrelated));
        QVERIFY(QDir(m_index->dataPath()).entryList({ "*.pending" }).isEmpty());
        QCOMPARE(rowCount("images"), 1);
    }

    void withoutDatabaseNothingIsKept()
    {
        const QStringList files = writePictures(m_index->path() + "/photos", 3);
        Config::instance()->setValue("Database", "Engine", "QNOSUCHDRIVER");
        m_lumerax->openDatabase();
        QVERIFY(index(files));
        QCOMPARE(m_lumerax->indexingFuture().results(), QList<int>(3, StoreFailed));
        QVERIFY(QDir(m_index->dataPath()).entryList({ "*.png" }).isEmpty());
    }

private:
    std::unique_ptr<TestIndex> m_index;
    Lumerax* m_lumerax = nullptr;
    QStringList m_events;
};

QTEST_GUILESS_MAIN(TestIndexing)
#include "tst_indexing.moc"
