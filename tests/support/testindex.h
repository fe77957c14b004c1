#pragma once

#include "shell/config.h"
#include "store/indexdatabase.h"

#include <QFile>
#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace veldra::test {

// A private data directory with a fresh index database for one test.
class TestIndex
{
public:
    explicit TestIndex(const QString& database = QStringLiteral("lumerax"))
    {
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir.path() + "/data"));
        Config::instance()->setValue(
            QStringLiteral("Database"), QStringLiteral("Database"), database);
        IndexDatabase::open();
    }

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
};

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

} // namespace veldra::test
