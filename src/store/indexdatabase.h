#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace veldra {

// The index database: the named connection "xaremul", its schema, and one
// connection per thread for work done off the thread that opened it.
class IndexDatabase
{
public:
    static const QString connectionName;

    // (Re)registers "xaremul" from the "Database" settings, opens it and
    // creates the schema. Returns false when the database could not be opened;
    // the connection then stays registered but closed.
    static bool open();

    // Runs the schema statements; failures of single statements are ignored.
    static void createSchema(QSqlDatabase& db);

    // The schema statements in execution order, as sent to SQLite.
    static QStringList schemaStatements();
    // The same schema for a MariaDB or MySQL server.
    static QStringList serverSchemaStatements();
    // True for a MariaDB or MySQL connection, whose statements differ where
    // SQLite's would not work there.
    static bool isServer(const QSqlDatabase& db);

    // Indexes that keep the look-ups by folder, file name and thumbnail fast.
    static QStringList indexStatements();

    // The index connection belonging to the calling thread: "xaremul" on the
    // thread that opened it, elsewhere a connection of this thread with the
    // same settings (reopened after open() switched databases, removed when
    // the thread ends).
    static QSqlDatabase connection();

    // Begins a write transaction. On SQLite the write lock is taken at once,
    // so concurrent writers wait for each other instead of failing midway.
    static bool beginTransaction(QSqlDatabase& db);
    static bool commit(QSqlDatabase& db);
    static bool rollback(QSqlDatabase& db);
};

} // namespace veldra
