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

// Both run on the calling thread's index connection.
int count(const QString& sql)
{
    QSqlQuery query(IndexDatabase::connection());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

bool exec(const QString& sql)
{
    QSqlQuery query(IndexDatabase::connection());
    const bool done = query.exec(sql);
    if (!done)
        qWarning() << sql << query.lastError().text();
    return done;
}

int rows(const QString& table)
{
    return count("select count(*) from " + table);
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
        QCOMPARE(test::TestIndex::scalar("select group_concat(name, ' ') from ( select name from "
                                         "sqlite_master where type = 'table' order by name )")
                     .toString(),
            QString("colors folder images person personInImage"));
        QCOMPARE(count("select count(*) from sqlite_master where type = 'trigger'"), 4);
        const QSqlRecord colors = IndexDatabase::connection().record("colors");
        QCOMPARE(colors.count(), 217);
        const QStringList names { colors.fieldName(0), colors.fieldName(1), colors.fieldName(7),
            colors.fieldName(216) };
        QCOMPARE(names, QStringList({ "id", "c_0", "c_10", "c_555" }));
    }

    void openingTwiceCreatesNothingTwice()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(exec("insert into folder ( path ) values ( '/Images' )"));
        QVERIFY(IndexDatabase::open());
        QCOMPARE(
            count("select count(*) from sqlite_master where type in ( 'table', 'trigger' )"), 9);
        QCOMPARE(rows("folder"), 1);
    }

    void fileDatabaseJournalsSoRollbackWorks()
    {
        QVERIFY(IndexDatabase::open());
        QSqlDatabase db = IndexDatabase::connection();
        QCOMPARE(test::TestIndex::scalar("PRAGMA journal_mode").toString(), QString("wal"));
        QVERIFY(IndexDatabase::beginTransaction(db));
        QVERIFY(exec("insert into folder ( path ) values ( '/a' )"));
        QVERIFY(IndexDatabase::rollback(db));
        QCOMPARE(rows("folder"), 0);
    }

    void deletingAnImageClosesTheSequenceGap()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(exec("insert into folder ( id, path ) values ( 1, '/a' ), ( 2, '/b' )"));
        for (int i = 0; i < 5; ++i) {
            QVERIFY(exec(QString("insert into images ( id, fid, img, sequence ) values "
                                 "( %1, 1, 'f%1', %2 )")
                             .arg(i + 1)
                             .arg(i)));
            QVERIFY(exec(QString("insert into colors ( id, c_0 ) values ( %1, 7 )").arg(i + 1)));
        }
        QVERIFY(exec("insert into images ( id, fid, img, sequence ) values ( 10, 2, 'g', 2 )"));

        QVERIFY(exec("delete from images where id = 3"));
        QList<int> sequences;
        for (const QVariantList& row :
            test::TestIndex::rows("select sequence from images where fid = 1 order by sequence"))
            sequences << row.at(0).toInt();
        QCOMPARE(sequences, QList<int>({ 0, 1, 2, 3 }));
        QCOMPARE(count("select count(*) from colors where id = 3"), 0);
        QCOMPARE(rows("colors"), 4);
        QCOMPARE(count("select sequence from images where id = 10"), 2);
    }

    void deletingAFolderDeletesItsImages()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(exec("insert into folder ( id, path ) values ( 1, '/a' ), ( 2, '/b' )"));
        QVERIFY(exec("insert into images ( id, fid, sequence ) values ( 1, 1, 0 ), ( 2, 1, 1 ), "
                     "( 3, 2, 0 )"));
        QVERIFY(exec("insert into colors ( id ) values ( 1 ), ( 2 ), ( 3 )"));
        QVERIFY(exec("delete from folder where id = 1"));
        QCOMPARE(rows("images"), 1);
        QCOMPARE(rows("colors"), 1);
    }

    void memoryDatabaseIsSharedAcrossThreadsAndFreshOnEveryOpening()
    {
        Config::instance()->setValue("Database", "Database", ":memory:");
        QVERIFY(IndexDatabase::open());
        QVERIFY(exec("insert into folder ( path ) values ( '/main' )"));

        int seen = -1;
        bool inserted = false;
        QThread* thread = QThread::create([&] {
            seen = rows("folder");
            inserted = exec("insert into folder ( path ) values ( '/worker' )");
        });
        thread->start();
        QVERIFY(thread->wait(10000));
        delete thread;
        QCOMPARE(seen, 1);
        QVERIFY(inserted);
        QCOMPARE(rows("folder"), 2);
        QVERIFY(!QFile::exists(m_dir->path() + "/:memory:.db"));

        QVERIFY(IndexDatabase::open());
        QCOMPARE(rows("folder"), 0);
    }

    void threadConnectionsFollowAReopening()
    {
        QVERIFY(IndexDatabase::open());
        QVERIFY(exec("insert into folder ( path ) values ( '/first' )"));
        QThread worker;
        QObject context;
        context.moveToThread(&worker);
        worker.start();
        auto countOnWorker = [&] {
            int result = -1;
            QMetaObject::invokeMethod(
                &context, [&] { result = rows("folder"); }, Qt::BlockingQueuedConnection);
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
        QTest::newRow("file") << QString("QSQLITE") << QString("lumerax");
        QTest::newRow("memory") << QString("QSQLITE") << QString(":memory:");
        QTest::newRow("mariadb") << QString("QMYSQL") << QString("lumerax");
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
                    const QString path = QString("'/t%1/%2'").arg(t).arg(i);
                    const bool ok = IndexDatabase::beginTransaction(db) && rows("folder") >= 0
                        && exec("insert into folder ( path ) values ( " + path + " )")
                        && exec("insert into images ( fid, sequence ) values ( ( select id "
                                "from folder where path = "
                            + path + " ), 0 )")
                        && IndexDatabase::commit(db);
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
        QCOMPARE(rows("folder"), threads * rowsPerThread);
        QCOMPARE(rows("images"), threads * rowsPerThread);
    }

    void serverGetsItsOwnSchema()
    {
        test::TestIndex index("QMYSQL");
        if (!index.valid())
            QSKIP(qPrintable(index.skipReason()));
        // The database did not exist; opening created it with the schema.
        QSqlDatabase db = IndexDatabase::connection();
        QVERIFY(db.isOpen());
        const QString tables = "information_schema.tables where table_schema = database()";
        QCOMPARE(rows(tables), 5);
        QCOMPARE(rows("information_schema.triggers where trigger_schema = database()"), 3);
        QCOMPARE(rows("information_schema.columns where table_schema = database() and "
                      "table_name = 'colors'"),
            217);
        IndexDatabase::createSchema(db);
        QCOMPARE(rows(tables), 5);

        // File names are compared byte for byte, as on the file system.
        QVERIFY(exec("insert into folder ( path ) values ( '/a' )"));
        QVERIFY(exec("insert into images ( fid, img, sequence ) values ( 1, 'Photo.JPG', 0 ), "
                     "( 1, 'b', 1 )"));
        QVERIFY(exec("insert into colors ( id ) values ( 1 ), ( 2 )"));
        QCOMPARE(rows("images where img = 'photo.jpg'"), 0);
        QCOMPARE(rows("images where img = 'Photo.JPG'"), 1);

        QVERIFY(exec("delete from folder where id = 1"));
        QCOMPARE(rows("images"), 0);
        QCOMPARE(rows("colors"), 0);
    }

    void unknownEngineOpensNothing()
    {
        Config::instance()->setValue("Database", "Engine", "QNOSUCHDRIVER");
        QVERIFY(!IndexDatabase::open());
        QVERIFY(!IndexDatabase::connection().isOpen());
        QVERIFY(!QSqlQuery(IndexDatabase::connection()).exec("select 1 from folder"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestIndexDatabase)
#include "tst_indexdatabase.moc"
