#include "indexdatabase.h"

#include "features/colorbins.h"
#include "shell/config.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QMutex>
#include <QSqlError>
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
    int port = -1;
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
        db.setPort(settings.port);
        db.setUserName(settings.userName);
        db.setPassword(settings.password);
    }
}

// Opens a server connection; a database that does not exist yet is created,
// so a new team only has to provide the server and the account.
bool openServer(QSqlDatabase& db, const ConnectionSettings& settings)
{
    if (db.open())
        return true;
    constexpr auto unknownDatabase = "1049";
    if (db.lastError().nativeErrorCode() != QLatin1String(unknownDatabase))
        return false;
    {
        const QString name = QStringLiteral("%1-create").arg(IndexDatabase::connectionName);
        {
            QSqlDatabase server = QSqlDatabase::addDatabase(settings.driver, name);
            ConnectionSettings withoutDatabase = settings;
            withoutDatabase.databaseName.clear();
            configure(server, withoutDatabase);
            if (server.open()) {
                QSqlQuery query(server);
                // The name is quoted as an identifier, never spliced raw.
                QString quoted = settings.databaseName;
                quoted.replace(QLatin1Char('`'), QLatin1String("``"));
                query.exec(
                    QStringLiteral("create database if not exists `%1` character set utf8mb4 "
                                   "collate utf8mb4_bin")
                        .arg(quoted));
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    return db.open();
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

bool IndexDatabase::isServer(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QMYSQL")
        || db.driverName() == QLatin1String("QMARIADB");
}

QStringList IndexDatabase::serverSchemaStatements()
{
    // The same tables for MariaDB and MySQL: auto-increment keys, file names
    // compared byte for byte as on the file system, and the indexes declared
    // with the tables (MySQL has no "create index if not exists"). A trigger
    // there may not update the table that fired it, so closing the sequence
    // gap after a deletion is left to the code that deletes.
    QStringList columns;
    for (int key : colorBinKeys())
        columns << QStringLiteral("%1%2 integer default 0").arg(QStringLiteral("c_")).arg(key);
    const QString options = QStringLiteral(" character set utf8mb4 collate utf8mb4_bin");
    return {
        QStringLiteral("create table if not exists folder ( id integer primary key auto_increment, "
                       "path varchar( 280 ), index folderByPath ( path ) )")
            + options,
        QStringLiteral("create table if not exists images ( id integer primary key auto_increment, "
                       "fid integer, img varchar( 280 ), timg varchar( 280 ), bytes integer, width "
                       "integer, height integer, rgn double, rcn integer, temperature double, "
                       "sequence integer, index imagesByFolder ( fid, img ), index "
                       "imagesByThumbnail ( timg ) )")
            + options,
        QStringLiteral("create table if not exists colors ( id integer primary key, %1 )")
                .arg(columns.join(QStringLiteral(", ")))
            + options,
        QStringLiteral("create table if not exists person ( id integer primary key auto_increment, "
                       "name varchar(512) not null, image blob not null )")
            + options,
        QStringLiteral("create table if not exists personInImage ( id integer primary key "
                       "auto_increment, personId integer not null, imageId integer not null, rect "
                       "blob not null )")
            + options,
        QStringLiteral("create trigger if not exists beforeDeleteFolder before delete on folder "
                       "for each row delete from images where fid = old.id"),
        QStringLiteral("create trigger if not exists beforeDeleteImage before delete on images "
                       "for each row begin delete from colors where id = old.id; delete from "
                       "personInImage where imageId = old.id; end"),
        QStringLiteral("create trigger if not exists beforeDeletePerson before delete on person "
                       "for each row delete from personInImage where personId = old.id"),
    };
}

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
        QStringLiteral("create index if not exists colorsById on colors ( id )"),
    };
}

void IndexDatabase::createSchema(QSqlDatabase& db)
{
    QSqlQuery query(db);
    const QStringList statements
        = isServer(db) ? serverSchemaStatements() : schemaStatements() + indexStatements();
    for (const QString& statement : statements)
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
        // Unset, the driver uses the server's default port and socket.
        settings.port = config->value(group, QStringLiteral("Port"), -1).toInt();
        const QString socket = config->value(group, QStringLiteral("Socket")).toString();
        if (!socket.isEmpty())
            settings.connectOptions = QStringLiteral("UNIX_SOCKET=%1").arg(socket);
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
    if (isSqlite(engine) ? !db.open() : !openServer(db, settings))
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
    if (isSqlite(settings.driver) ? db.open() : openServer(db, settings)) {
        if (isSqlite(settings.driver))
            applyConnectionPragmas(db);
    }
    return db;
}

// Server writers take one named lock for the whole transaction: writes are
// serialised exactly as SQLite's write lock does it, so concurrent indexers
// neither deadlock nor give two pictures the same place in a folder.
static const QString writeLock = QStringLiteral("lumerax_index_write");

bool IndexDatabase::beginTransaction(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!isServer(db))
        return query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!db.transaction())
        return false;
    query.prepare(QStringLiteral("SELECT GET_LOCK( ?, ? )"));
    query.bindValue(0, writeLock);
    query.bindValue(1, busyTimeoutMs / 1000);
    if (query.exec() && query.next() && query.value(0).toInt() == 1)
        return true;
    db.rollback();
    return false;
}

static void releaseWriteLock(QSqlDatabase& db)
{
    if (!IndexDatabase::isServer(db))
        return;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DO RELEASE_LOCK( ? )"));
    query.bindValue(0, writeLock);
    query.exec();
}

bool IndexDatabase::commit(QSqlDatabase& db)
{
    const bool committed = db.commit();
    releaseWriteLock(db);
    return committed;
}

bool IndexDatabase::rollback(QSqlDatabase& db)
{
    const bool rolledBack = db.rollback();
    releaseWriteLock(db);
    return rolledBack;
}

} // namespace veldra
