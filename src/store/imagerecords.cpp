#include "imagerecords.h"

#include "features/colorbins.h"
#include "features/featurevector.h"
#include "folderpath.h"
#include "indexdatabase.h"
#include "indexing/thumbnail.h"
#include "shell/config.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMultiMap>
#include <QSqlQuery>
#include <QVariant>

namespace veldra {

namespace {

// The first column of the first row, or an invalid value.
QVariant selectValue(QSqlQuery& query)
{
    if (!query.exec() || !query.next())
        return QVariant();
    return query.value(0);
}

int folderIdOfStoredPath(QSqlDatabase& db, const QString& stored)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select id from folder where path = ?"));
    query.bindValue(0, stored);
    return selectValue(query).toInt();
}

} // namespace

bool insertImage(FeatureVector record)
{
    QSqlDatabase db = IndexDatabase::connection();
    const QFileInfo file(record.fileName);
    const QString folderPath = storedFolderPath(file.absolutePath());

    QSqlQuery query(db);
    query.prepare(QStringLiteral("select id from folder where path = ?"));
    query.bindValue(0, folderPath);
    bool ok = query.exec();
    QVariant fid;
    if (ok && query.next()) {
        fid = query.value(0);
    } else {
        // Servers take no quoted column names.
        query.prepare(IndexDatabase::isServer(db)
                ? QStringLiteral("insert into folder ( path ) values ( ? )")
                : QStringLiteral("insert into folder ( 'path' ) values ( ? )"));
        query.bindValue(0, folderPath);
        ok = query.exec();
        fid = query.lastInsertId();
    }

    // MySQL reads the table being inserted into only through a derived table.
    query.prepare(IndexDatabase::isServer(db)
            ? QStringLiteral("insert into images ( img, timg, bytes, width, height, rgn, rcn, "
                             "temperature, fid, sequence ) values ( ?, ?, ?, ?, ?, ?, ?, ?, ?, ( "
                             "select ifnull( max( sequence ) + 1, 0 ) from ( select sequence "
                             "from images where fid = ? ) as folderImages ) )")
            : QStringLiteral(
                "insert into images ( 'img', 'timg', 'bytes', 'width', 'height', 'rgn', 'rcn', "
                "'temperature', 'fid', 'sequence' ) values ( ?, ?, ?, ?, ?, ?, ?, ?, ?, ( select "
                "ifnull( max( sequence ) + 1, 0 ) from images where fid = ? ) )"));
    query.bindValue(0, file.fileName());
    query.bindValue(1, thumbnailName(record.fileName));
    query.bindValue(2, record.bytes);
    query.bindValue(3, record.width);
    query.bindValue(4, record.height);
    query.bindValue(5, record.rgn);
    query.bindValue(6, record.rcn);
    query.bindValue(7, record.temperature);
    query.bindValue(8, fid);
    query.bindValue(9, fid);
    ok = query.exec() && ok;
    const QVariant id = query.lastInsertId();

    QStringList columns { QStringLiteral("id") };
    QStringList values { QStringLiteral("?") };
    for (const auto& [key, weight] : std::as_const(record.colorWeights)) {
        columns << QStringLiteral("c_%1").arg(key);
        values << QStringLiteral("?");
    }
    query.prepare(QStringLiteral("insert into colors ( %1 ) values ( %2 )")
                      .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    query.bindValue(0, id);
    for (qsizetype i = 0; i < record.colorWeights.size(); ++i)
        query.bindValue(int(i + 1), record.colorWeights.at(i).second);
    ok = query.exec() && ok;
    return ok;
}

bool isNewImage(const QString& path)
{
    QSqlDatabase db = IndexDatabase::connection();
    const QFileInfo file(path);
    const int fid = folderIdOfStoredPath(db, storedFolderPath(file.absolutePath()));
    if (fid == 0)
        return true;
    // Binary comparison: file names differing only in case are different files.
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select 1 from images where fid = ? and img = ? limit 1"));
    query.bindValue(0, fid);
    query.bindValue(1, file.fileName());
    return !selectValue(query).isValid();
}

QString sourceImagePath(const QString& thumbnail)
{
    QSqlQuery query(IndexDatabase::connection());
    query.prepare(QStringLiteral("SELECT images.img, folder.path FROM images JOIN folder ON "
                                 "images.fid = folder.id WHERE timg = ?"));
    query.bindValue(0, thumbnail);
    if (!query.exec() || !query.next())
        return QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString folder = absoluteFolderPath(query.value(1).toString());
    const QString separator = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return folder + separator + query.value(0).toString();
}

QMap<QString, QStringList> listAll()
{
    QMap<QString, QStringList> index;
    QSqlQuery query(IndexDatabase::connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT images.timg, folder.path FROM images JOIN folder ON "
                                   "images.fid = folder.id ORDER BY folder.path, images.sequence")))
        return index;
    const QString dataPath = Config::instance()->dataPath() + QLatin1Char('/');
    QString storedFolder;
    QStringList* thumbnails = nullptr;
    while (query.next()) {
        const QString folder = query.value(1).toString();
        if (!thumbnails || folder != storedFolder) {
            storedFolder = folder;
            thumbnails = &index[absoluteFolderPath(folder)];
        }
        thumbnails->append(dataPath + query.value(0).toString());
    }
    return index;
}

int folderId(const QString& absoluteFolder)
{
    QSqlDatabase db = IndexDatabase::connection();
    return folderIdOfStoredPath(db, storedFolderPath(absoluteFolder));
}

QStringList moveImages(const QString& folder, int position, const QStringList& thumbnails)
{
    const int fid = folderId(folder);
    if (fid == 0)
        return {};

    QSqlQuery query(IndexDatabase::connection());
    query.prepare(QStringLiteral("SELECT id FROM images WHERE timg = ?"));
    QList<int> ids;
    QStringList moved;
    for (const QString& thumbnail : thumbnails) {
        const QString name = QFileInfo(thumbnail).fileName();
        query.bindValue(0, name);
        const QVariant id = selectValue(query);
        if (!id.isValid())
            continue;
        const QString source = sourceImagePath(name);
        const QString destination = folder + QLatin1Char('/') + QFileInfo(source).fileName();
        // Never overwrites: a taken destination or a vanished source keeps
        // the picture, and its row, where they were.
        const bool arrived = source == destination ? QFileInfo::exists(source)
                                                   : QFile::rename(source, destination);
        if (!arrived)
            continue;
        ids << id.toInt();
        moved << thumbnail;
    }
    moveImageRows(fid, position, ids);
    return moved;
}

void moveImageRows(int fid, int position, const QList<int>& ids)
{
    if (ids.isEmpty())
        return;
    QSqlDatabase db = IndexDatabase::connection();
    const bool transaction = IndexDatabase::beginTransaction(db);

    QStringList idTexts;
    for (int id : ids)
        idTexts << QString::number(id);
    QMultiMap<int, int> origins;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT fid, id FROM images WHERE id in ( %1 )")
                       .arg(idTexts.join(QLatin1Char(','))))) {
        while (query.next())
            origins.insert(query.value(0).toInt(), query.value(1).toInt());
    }

    QSqlQuery openSlot(db);
    openSlot.prepare(QStringLiteral(
        "UPDATE images SET sequence = sequence + 1 WHERE fid = ? AND sequence >= ?"));
    QSqlQuery current(db);
    current.prepare(QStringLiteral("SELECT sequence, ( SELECT MAX( sequence ) FROM images WHERE "
                                   "fid = ? ) FROM images WHERE id = ?"));
    QSqlQuery place(db);
    place.prepare(QStringLiteral("UPDATE images SET fid = ?, sequence = ? WHERE id = ?"));
    QSqlQuery closeGap(db);
    closeGap.prepare(
        QStringLiteral("UPDATE images SET sequence = sequence - 1 WHERE fid = ? AND sequence > ?"));

    // Positions past the end would leave a gap in the folder's sequence.
    QSqlQuery end(db);
    end.prepare(QStringLiteral("SELECT count(*) FROM images WHERE fid = ?"));
    end.bindValue(0, fid);
    position = std::clamp(position, 0, selectValue(end).toInt());

    for (int id : ids) {
        openSlot.bindValue(0, fid);
        openSlot.bindValue(1, position);
        openSlot.exec();

        current.bindValue(0, fid);
        current.bindValue(1, id);
        int oldSequence = -1;
        int maximum = -1;
        if (current.exec() && current.next()) {
            oldSequence = current.value(0).toInt();
            maximum = current.value(1).isNull() ? -1 : current.value(1).toInt();
        }
        current.finish();

        place.bindValue(0, fid);
        place.bindValue(1, position);
        place.bindValue(2, id);
        place.exec();
        if (position <= maximum + 1)
            ++position;

        closeGap.bindValue(0, origins.key(id, 0));
        closeGap.bindValue(1, oldSequence);
        closeGap.exec();
    }

    QSqlQuery remaining(db);
    remaining.prepare(QStringLiteral("SELECT 1 FROM images WHERE fid = ?"));
    QSqlQuery dropFolder(db);
    dropFolder.prepare(QStringLiteral("DELETE FROM folder WHERE id = ?"));
    const QList<int> originFolders = origins.uniqueKeys();
    for (int origin : originFolders) {
        remaining.bindValue(0, origin);
        if (!selectValue(remaining).isValid()) {
            dropFolder.bindValue(0, origin);
            dropFolder.exec();
        }
        remaining.finish();
    }

    if (transaction)
        IndexDatabase::commit(db);
}

} // namespace veldra
