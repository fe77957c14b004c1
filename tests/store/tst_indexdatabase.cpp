#include "shell/config.h"
#include "store/indexdatabase.h"
#include "support/testindex.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace veldra;

namespace {

int count(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        qWarning() << sql << query.lastError().text();
        return false;
    }
    return true;
}

} // namespace

class TestIndexDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir->path()));
    }

    void cleanup() { QSqlDatabase::removeDatabase(IndexDatabase::connectionName); }

    void createsTheFileWithTheWholeSchema()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(QFile::exists(m_dir->path() + "/lumerax.db"));
        QSqlDatabase db = IndexDatabase::connection();
        QCOMPARE(count(db, "select count(*) from sqlite_master where type = 'table'"), 5);
        QCOMPARE(count(db, "select count(*) from sqlite_master where type = 'trigger'"), 4);
        for (const char* table : { "folder", "images", "colors", "person", "personInImage" })
            QVERIFY2(count(db,
                         QString("select count(*) from sqlite_master where name = '%1'").arg(table))
                    == 1,
                table);

        const QSqlRecord colors = db.record("colors");
        QCOMPARE(colors.count(), 217);
        QCOMPARE(colors.fieldName(0), QString("id"));
        QCOMPARE(colors.fieldName(1), QString("c_0"));
        QCOMPARE(colors.fieldName(7), QString("c_10"));
        QCOMPARE(colors.fieldName(216), QString("c_555"));
    }

    void databaseNameComesFromTheSettings()
    {
        Config::instance()->setValue("Database", "Database", "other");
        QVERIFY(IndexDatabase::open());
        QVERIFY(QFile::exists(m_dir->path() + "/other.db"));
        QVERIFY(!QFile::exists(m_dir->path() + "/lumerax.db"));
    }

    void openingTwiceCreatesNothingTwice()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(
            exec(IndexDatabase::connection(), "insert into folder ( path ) values ( '/Images' )"));
        QVERIFY(IndexDatabase::open());
        QSqlDatabase db = IndexDatabase::connection();
        QCOMPARE(
            count(db, "select count(*) from sqlite_master where type in ( 'table', 'trigger' )"),
            9);
        QCOMPARE(count(db, "select count(*) from folder"), 1);
    }

    void fileDatabaseJournalsSoRollbackWorks()
    {
        QVERIFY(IndexDatabase::open());
        QSqlDatabase db = IndexDatabase::connection();
        QSqlQuery mode(db);
        QVERIFY(mode.exec("PRAGMA journal_mode") && mode.next());
        QCOMPARE(mode.value(0).toString(), QString("wal"));

        QVERIFY(IndexDatabase::beginTransaction(db));
        QVERIFY(exec(db, "insert into folder ( path ) values ( '/a' )"));
        QVERIFY(IndexDatabase::rollback(db));
        QCOMPARE(count(db, "select count(*) from folder"), 0);
    }

    void deletingAnImageClosesTheSequenceGap()
    {
        QVERIFY(IndexDatabase::open());
        QSqlDatabase db = IndexDatabase::connection();
        QVERIFY(exec(db, "insert into folder ( id, path ) values ( 1, '/a' ), ( 2, '/b' )"));
        for (int i = 0; i < 5; ++i) {
            QVERIFY(exec(db,
                QString("insert into images ( id, fid, img, sequence ) values ( %1, 1, 'f%1', %2 )")
                    .arg(i + 1)
                    .arg(i)));
            QVERIFY(
                exec(db, QString("insert into colors ( id, c_0 ) values ( %1, 7 )").arg(i + 1)));
        }
        QVERIFY(exec(db, "insert into images ( id, fid, img, sequence ) values ( 10, 2, 'g', 2 )"));

        QVERIFY(exec(db, "delete from images where id = 3"));
        QSqlQuery query(db);
        QVERIFY(query.exec("select sequence from images where fid = 1 order by sequence"));
        QList<int> sequences;
        while (query.next())
            sequences << query.value(0).toInt();
        QCOMPARE(sequences, QList<int>({ 0, 1, 2, 3 }));
        QCOMPARE(count(db, "select count(*) from colors where id = 3"), 0);
        QCOMPARE(count(db, "select count(*) from colors"), 4);
        QCOMPARE(count(db, "select sequence from images where id = 10"), 2);
    }

    void deletingAFolderDeletesItsImages()
    {
        QVERIFY(IndexDatabase::open());
        QSqlDatabase db = IndexDatabase::connection();
        QVERIFY(exec(db, "insert into folder ( id, path ) values ( 1, '/a' ), ( 2, '/b' )"));
        QVERIFY(exec(db,
            "insert into images ( id, fid, sequence ) values ( 1, 1, 0 ), ( 2, 1, 1 ), ( 3, 2, 0 "
            ")"));
        QVERIFY(exec(db, "insert into colors ( id ) values ( 1 ), ( 2 ), ( 3 )"));
        QVERIFY(exec(db, "delete from folder where id = 1"));
        QCOMPARE(count(db, "select count(*) from images"), 1);
        QCOMPARE(count(db, "select count(*) from colors"), 1);
    }

    void memoryDatabaseIsSharedAcrossThreadsAndFreshOnEveryOpening()
    {
        Config::instance()->setValue("Database", "Database", ":memory:");
        QVERIFY(IndexDatabase::open());
        QVERIFY(
            exec(IndexDatabase::connection(), "insert into folder ( path ) values ( '/main' )"));

        int seen = -1;
        bool inserted = false;
        QThread* thread = QThread::create([&] {
            QSqlDatabase db = IndexDatabase::connection();
            seen = count(db, "select count(*) from folder");
            inserted = exec(db, "insert into folder ( path ) values ( '/worker' )");
        });
        thread->start();
        QVERIFY(thread->wait(10000));
        delete thread;
        QCOMPARE(seen, 1);
        QVERIFY(inserted);
        QCOMPARE(count(IndexDatabase::connection(), "select count(*) from folder"), 2);
        QVERIFY(!QFile::exists(m_dir->path() + "/:memory:.db"));

        QVERIFY(IndexDatabase::open());
        QCOMPARE(count(IndexDatabase::connection(), "select count(*) from folder"), 0);
    }

    void threadConnectionsFollowAReopening()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(
            exec(IndexDatabase::connection(), "insert into folder ( path ) values ( '/first' )"));
        QThread worker;
        QObject context;
        context.moveToThread(&worker);
        worker.start();
        auto countOnWorker = [&] {
            int result = -1;
            QMetaObject::invokeMethod(
                &context,
                [&] { result = count(IndexDatabase::connection(), "select count(*) from folder"); },
                Qt::BlockingQueuedConnection);
            return result;
        };
        QCOMPARE(countOnWorker(), 1);
        Config::instance()->setValue("Database", "Database", "second");
        QVERIFY(IndexDatabase::open());
        QCOMPARE(countOnWorker(), 0);
        worker.quit();
        worker.wait();
    }

    void concurrentWritersBothSucceed_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("database");
        QTest::newRow("file") << "QSQLITE"
                              << "lumerax";
        QTest::newRow("memory") << "QSQLITE"
                                << ":memory:";
        QTest::newRow("mariadb") << "QMYSQL"
                                 << "lumerax";
    }

    void concurrentWritersBothSucceed()
    {
        QFETCH(QString, engine);
        QFETCH(QString, database);
        test::TestIndex index(engine, database);
        if (!index.valid())
            QSKIP(qPrintable(index.skipReason()));
        QVERIFY(IndexDatabase::connection().isOpen());

        constexpr int threads = 4;
        constexpr int rowsPerThread = 50;
        std::atomic<int> failures = 0;
        QList<QThread*> workers;
        for (int t = 0; t < threads; ++t) {
            workers << QThread::create([&failures, t] {
                QSqlDatabase db = IndexDatabase::connection();
                for (int i = 0; i < rowsPerThread; ++i) {
                    // Read first, then write: the pattern that deadlocks
                    // deferred transactions.
                    bool ok = IndexDatabase::beginTransaction(db);
                    ok = ok && count(db, "select count(*) from folder") >= 0;
                    ok = ok
                        && exec(db,
                            QString("insert into folder ( path ) values ( '/t%1/%2' )")
                                .arg(t)
                                .arg(i));
                    ok = ok
                        && exec(db,
                            QString("insert into images ( fid, sequence ) values ( ( select id "
                                    "from folder where path = '/t%1/%2' ), 0 )")
                                .arg(t)
                                .arg(i));
                    ok = ok && IndexDatabase::commit(db);
                    if (!ok) {
                        IndexDatabase::rollback(db);
                        ++failures;
                    }
                }
            });
        }
        for (QThread* worker : workers)
            worker->start();
        for (QThread* worker : workers) {
            QVERIFY(worker->wait(60000));
            delete worker;
        }
        QCOMPARE(failures.load(), 0);
        QCOMPARE(count(IndexDatabase::connection(), "select count(*) from folder"),
            threads * rowsPerThread);
        QCOMPARE(count(IndexDatabase::connection(), "select count(*) from images"),
            threads * rowsPerThread);
    }

    void serverGetsItsOwnSchema()
    {
        test::TestIndex index("QMYSQL");
        if (!index.valid())
            QSKIP(qPrintable(index.skipReason()));
        // The database did not exist; opening created it with the schema.
        QSqlDatabase db = IndexDatabase::connection();
        QVERIFY(db.isOpen());
        QCOMPARE(
            count(db,
                "select count(*) from information_schema.tables where table_schema = database()"),
            5);
        QCOMPARE(count(db,
                     "select count(*) from information_schema.triggers where trigger_schema = "
                     "database()"),
            3);
        QCOMPARE(
            count(db,
                "select count(*) from information_schema.columns where table_schema = database() "
                "and table_name = 'colors'"),
            217);
        IndexDatabase::createSchema(db);
        QCOMPARE(
            count(db,
                "select count(*) from information_schema.tables where table_schema = database()"),
            5);

        // File names are compared byte for byte, as on the file system.
        QVERIFY(exec(db, "insert into folder ( path ) values ( '/a' )"));
        QVERIFY(exec(db,
            "insert into images ( fid, img, sequence ) values ( 1, 'Photo.JPG', 0 ), ( 1, 'b', 1 "
            ")"));
        QVERIFY(exec(db, "insert into colors ( id ) values ( 1 ), ( 2 )"));
        QCOMPARE(count(db, "select count(*) from images where img = 'photo.jpg'"), 0);
        QCOMPARE(count(db, "select count(*) from images where img = 'Photo.JPG'"), 1);

        QVERIFY(exec(db, "delete from folder where id = 1"));
        QCOMPARE(count(db, "select count(*) from images"), 0);
        QCOMPARE(count(db, "select count(*) from colors"), 0);
    }

    void unknownEngineOpensNothing()
    {
        Config::instance()->setValue("Database", "Engine", "QNOSUCHDRIVER");
        QVERIFY(!IndexDatabase::open());
        QVERIFY(!IndexDatabase::connection().isOpen());
        QSqlQuery query(IndexDatabase::connection());
        QVERIFY(!query.exec("select 1 from folder"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestIndexDatabase)
#include "tst_indexdatabase.moc"
