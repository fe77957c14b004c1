#include "indexdatabase.h"

#include "features/colorbins.h"
#include "shell/config.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QMutex>
#include <QSqlQuery>
#include <QThread>
#include <QThreadStorage>

namespace veldra {

const QString IndexDatabase::connectionName = QStringLiteral("xaremul");

namespace {

// How the index was opened the last time, so that every thread can open an
// equal connection of its own.
struct ConnectionSettings
{
    QString driver;
    QString databaseName;
    QString connectOptions;
    QString host;
    QString userName;
    QString password;
    QThread* ownerThread = nullptr;
    int generation = 0;
};

QMutex settingsMutex;
ConnectionSettings currentSettings;

// Waiting for another writer is the normal case while several threads or
// processes index at once; a statement only fails after this long.
constexpr int busyTimeoutMs = 60000;

bool isSqlite(const QString& driver)
{
    return driver == QLatin1String("QSQLITE");
}

void configure(QSqlDatabase& db, const ConnectionSettings& settings)
{
    db.setDatabaseName(settings.databaseName);
    db.setConnectOptions(settings.connectOptions);
    if (!isSqlite(settings.driver)) {
        db.setHostName(settings.host);
        db.setUserName(settings.userName);
        db.setPassword(settings.password);
    }
}

void applyConnectionPragmas(QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    query.exec(QStringLiteral("PRAGMA temp_store = MEMORY"));
}

// One connection of a pool or worker thread; removed when the thread ends.
struct ThreadConnection
{
    QString name;
    int generation = -1;

    ~ThreadConnection() { release(); }

    void release()
    {
        if (name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        name.clear();
    }
};

QThreadStorage<ThreadConnection*> threadConnections;
QAtomicInteger<quint64> connectionCounter;

} // namespace

QStringList IndexDatabase::schemaStatements()
{
    QStringList columns;
    for (int key : colorBinKeys())
        columns << QStringLiteral("%1%2 integer default 0").arg(QStringLiteral("c_")).arg(key);

    return {
        QStringLiteral("create table if not exists folder ( id integer primary key, path varchar( "
                       "280 ) )"),
        QStringLiteral("create table if not exists images ( id integer primary key, fid integer, "
                       "img varchar( 280 ), timg varchar( 280 ), bytes integer, width integer, "
                       "height integer, rgn double, rcn integer, temperature double, sequence "
                       "integer )"),
        QStringLiteral("create table if not exists colors ( id integer, %1 )")
            .arg(columns.join(QStringLiteral(", "))),
        QStringLiteral("create table if not exists person ( id integer primary key, name "
                       "varchar(512) not null, image blob not null );"),
        QStringLiteral("create table if not exists personInImage ( id integer primary key, "
                       "personId integer not null, imageId integer not null, rect blob not null "
                       ");"),
        QStringLiteral("create trigger if not exists beforeDeleteFolder before delete on folder "
                       "for each row begin delete from images where fid = old.id; end"),
        QStringLiteral("create trigger if not exists beforeDeleteImage before delete on images "
                       "for each row begin delete from colors where id = old.id; delete from "
                       "personInImage where imageId = old.id; end"),
        QStringLiteral("create trigger if not exists afterDeleteImage after delete on images for "
                       "each row begin update images set sequence = sequence - 1 where fid = "
                       "old.fid and sequence > old.sequence; end"),
        QStringLiteral("create trigger if not exists beforeDeletePerson before delete on person "
                       "for each row begin delete from personInImage where personId = old.id; "
                       "end"),
    };
}

QStringList IndexDatabase::indexStatements()
{
    return {
        QStringLiteral("create index if not exists folderByPath on folder ( path )"),
        QStringLiteral("create index if not exists imagesByFolder on images ( fid, img )"),
        QStringLiteral("create index if not exists imagesByThumbnail on images ( timg )"),
    };
}

void IndexDatabase::createSchema(QSqlDatabase& db)
{
    QSqlQuery query(db);
    for (const QString& statement : schemaStatements() + indexStatements())
        query.exec(statement);
}

bool IndexDatabase::open()
{
    Config* config = Config::instance();
    const QString group = QStringLiteral("Database");
    const QString engine
        = config->value(group, QStringLiteral("Engine"), QStringLiteral("QSQLITE")).toString();
    const QString name
        = config->value(group, QStringLiteral("Database"), QStringLiteral("lumerax")).toString();

    ConnectionSettings settings;
    settings.driver = engine;
    settings.ownerThread = QThread::currentThread();

    if (isSqlite(engine)) {
        if (name == QLatin1String(":memory:")) {
            // Every thread must see the same in-memory index, and every
            // opening starts an empty one: a named database of SQLite's
            // in-memory file system, unique to this process and opening.
            settings.databaseName = QStringLiteral("file:/lumerax-%1-%2?vfs=memdb")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(++connectionCounter);
            settings.connectOptions = QStringLiteral("QSQLITE_OPEN_URI;");
        } else {
            settings.databaseName = QStringLiteral("%1/%2.db").arg(config->dataPath(), name);
        }
        settings.connectOptions += QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    } else if (engine == QLatin1String("QMYSQL")) {
        settings.databaseName = name;
        settings.host
            = config->value(group, QStringLiteral("Host"), QStringLiteral("localhost")).toString();
        settings.userName
            = config->value(group, QStringLiteral("Username"), QStringLiteral("lumerax"))
                  .toString();
        settings.password
            = config->value(group, QStringLiteral("Password"), QStringLiteral("qelvorn"))
                  .toString();
    }

    {
        QMutexLocker locker(&settingsMutex);
        settings.generation = currentSettings.generation + 1;
        currentSettings = settings;
    }

    // Registering again replaces the connection (and the database it used).
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(engine, connectionName);
    if (!isSqlite(engine) && engine != QLatin1String("QMYSQL"))
        return false;
    configure(db, settings);
    if (!db.open())
        return false;

    if (isSqlite(engine)) {
        QSqlQuery query(db);
        applyConnectionPragmas(db);
        // A rollback journal is what makes ROLLBACK and crash recovery work;
        // WAL keeps bulk inserts fast. In-memory databases keep their own mode.
        if (name != QLatin1String(":memory:"))
            query.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    }
    createSchema(db);
    return true;
}

QSqlDatabase IndexDatabase::connection()
{
    ConnectionSettings settings;
    {
        QMutexLocker locker(&settingsMutex);
        settings = currentSettings;
    }
    if (settings.ownerThread == nullptr || settings.ownerThread == QThread::currentThread())
        return QSqlDatabase::database(connectionName, false);

    if (!threadConnections.hasLocalData())
        threadConnections.setLocalData(new ThreadConnection);
    ThreadConnection* local = threadConnections.localData();
    if (local->generation == settings.generation && !local->name.isEmpty())
        return QSqlDatabase::database(local->name, false);

    local->release();
    local->name = QStringLiteral("%1-%2").arg(connectionName).arg(++connectionCounter);
    local->generation = settings.generation;
    QSqlDatabase db = QSqlDatabase::addDatabase(settings.driver, local->name);
    configure(db, settings);
    if (db.open() && isSqlite(settings.driver))
        applyConnectionPragmas(db);
    return db;
}

bool IndexDatabase::beginTransaction(QSqlDatabase& db)
{
    if (isSqlite(db.driverName())) {
        QSqlQuery query(db);
        return query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    return db.transaction();
}

bool IndexDatabase::commit(QSqlDatabase& db)
{
    return db.commit();
}

bool IndexDatabase::rollback(QSqlDatabase& db)
{
    return db.rollback();
}

} // namespace veldra
