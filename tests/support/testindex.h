#pragma once

#include "features/featurevector.h"
#include "indexing/thumbnail.h"
#include "mariadbserver.h"
#include "shell/config.h"
#include "store/imagerecords.h"
#include "store/indexdatabase.h"

#include <QTest>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace veldra::test {

// The engines every store, indexing and search test runs on: add them as
// global test data (initTestCase_data) and build the TestIndex from the row.
inline void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("QSQLITE");
    QTest::newRow("mariadb") << QStringLiteral("QMYSQL");
}

// A private data directory with a fresh index database for one test, on
// SQLite or on the test run's own MariaDB server. When the server cannot run
// here, valid() is false and the caller skips the test, saying why.
class TestIndex
{
public:
    explicit TestIndex(const QString& engine = QStringLiteral("QSQLITE"),
        const QString& database = QStringLiteral("lumerax"))
    {
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir.path() + "/data"));
        Config* config = Config::instance();
        const QString group = QStringLiteral("Database");
        config->setValue(group, QStringLiteral("Engine"), engine);
        config->setValue(group, QStringLiteral("Database"), database);
        if (engine == QLatin1String("QMYSQL")) {
            MariaDbServer* server = MariaDbServer::instance();
            if (!server) {
                m_skipReason = MariaDbServer::unavailable();
                return;
            }
            static int databases = 0;
            config->setValue(group, QStringLiteral("Database"),
                QStringLiteral("lumerax_test_%1").arg(++databases));
            config->setValue(group, QStringLiteral("Socket"), server->socket());
            config->setValue(group, QStringLiteral("Port"), server->port());
        }
        IndexDatabase::open();
    }

    bool valid() const { return m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }

    ~TestIndex() { QSqlDatabase::removeDatabase(IndexDatabase::connectionName); }

    QString path() const { return m_dir.path(); }
    QString dataPath() const { return m_dir.path() + "/data"; }

    static QVariant scalar(const QString& sql)
    {
        QSqlQuery query(IndexDatabase::connection());
        if (!query.exec(sql) || !query.next())
            return QVariant();
        return query.value(0);
    }

    static QList<QVariantList> rows(const QString& sql)
    {
        QList<QVariantList> result;
        QSqlQuery query(IndexDatabase::connection());
        if (!query.exec(sql))
            return result;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            result << row;
        }
        return result;
    }

private:
    QTemporaryDir m_dir;
    QString m_skipReason;
};

// Builds the index of the current global "engine" row, or skips the test.
#define LUMERAX_INIT_TEST_INDEX(index)                                                             \
    do {                                                                                           \
        QFETCH_GLOBAL(QString, engine);                                                            \
        (index).reset(new veldra::test::TestIndex(engine));                                        \
        if (!(index)->valid())                                                                     \
            QSKIP(qPrintable((index)->skipReason()));                                              \
    } while (false)

// Writes a small picture whose colours depend on seed.
inline bool writePicture(const QString& path, int seed, int w = 24, int h = 16)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                qRgb((seed * 47 + x * 9) % 256, (seed * 91 + y * 13) % 256, (seed * 13) % 256));
    return image.save(path);
}

// Writes count pictures of the given size into folder (p0000.png ... or .jpg);
// empty when one cannot be written.
inline QStringList writePictures(const QString& folder, int count, int seed = 0,
    const QSize& size = QSize(24, 16), const QString& suffix = QStringLiteral("png"))
{
    QDir().mkpath(folder);
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << QString("%1/p%2.%3").arg(folder).arg(i, 4, 10, QChar('0')).arg(suffix);
        if (!writePicture(files.last(), seed + i, size.width(), size.height()))
            return {};
    }
    return files;
}

// Indexes count pictures of a new folder, named after it (a0.png, a1.png ...),
// thumbnails included; returns the thumbnails.
inline QStringList indexFolder(const QString& folder, int count)
{
    QStringList thumbnails;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        FeatureVector features;
        features.fileName = QString("%1/%2%3.png").arg(folder, QFileInfo(folder).fileName()).arg(i);
        features.width = 24;
        features.height = 16;
        features.colorWeights = { { 500, 100 } };
        if (!writePicture(features.fileName, i) || !insertImage(features))
            return {};
        thumbnails << makeThumbnail(features.fileName);
    }
    return thumbnails;
}

} // namespace veldra::test
