#include "indexer.h"

#include "features/featurevector.h"
#include "imageloader.h"
#include "shell/config.h"
#include "store/imagerecords.h"
#include "store/indexdatabase.h"
#include "thumbnail.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QThread>

namespace veldra {

namespace {

// Marks a thumbnail written inside a write transaction until the transaction
// has ended; one left behind tells of an indexer that was killed meanwhile.
const QString pendingSuffix = QStringLiteral(".pending");

bool touch(const QString& file)
{
    QFile marker(file);
    return marker.open(QIODevice::WriteOnly);
}

} // namespace

int indexImage(const QString& path)
{
    QThread::currentThread()->setPriority(QThread::LowPriority);
    const QString file = QDir::fromNativeSeparators(path);
    if (!isNewImage(file))
        return AlreadyIndexed;

    const QImage image = loadImage(file);
    if (image.isNull())
        return Unreadable;
    const FeatureVector record(file, &image);

    // Scaling and encoding the thumbnail happen before the write lock is
    // taken, so the other workers are not kept waiting for them.
    const bool thumbnails
        = Config::instance()
              ->value(QStringLiteral("Lumerax"), QStringLiteral("Thumbnails"), false)
              .toBool();
    const QByteArray thumbnailBytes = thumbnails ? encodeThumbnail(file, image) : QByteArray();
    const QString thumbnail = thumbnails ? thumbnailPath(file) : QString();

    QSqlDatabase db = IndexDatabase::connection();
    if (!IndexDatabase::beginTransaction(db))
        return StoreFailed;
    // Another worker or process may have stored the same file meanwhile.
    if (!isNewImage(file)) {
        IndexDatabase::rollback(db);
        return AlreadyIndexed;
    }
    const QString pending = thumbnail + pendingSuffix;
    if (thumbnails) {
        touch(pending);
        writeThumbnail(thumbnail, thumbnailBytes);
    }
    const bool stored = insertImage(record) && IndexDatabase::commit(db);
    if (!stored) {
        IndexDatabase::rollback(db);
        if (thumbnails)
            QFile::remove(thumbnail);
    }
    if (thumbnails)
        QFile::remove(pending);
    return stored ? Indexed : StoreFailed;
}

int recoverInterruptedIndexing()
{
    QDir data(Config::instance()->dataPath());
    const QStringList markers = data.entryList({ QLatin1Char('*') + pendingSuffix }, QDir::Files);
    if (markers.isEmpty())
        return 0;

    // Markers only come into being under the write lock, so while this
    // holds it, every marker is a dead writer's.
    QSqlDatabase db = IndexDatabase::connection();
    if (!IndexDatabase::beginTransaction(db))
        return 0;
    int removed = 0;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM images WHERE timg = ?"));
    for (const QString& marker : markers) {
        const QString thumbnail = marker.chopped(pendingSuffix.size());
        query.bindValue(0, thumbnail);
        const bool stored = query.exec() && query.next();
        query.finish();
        if (!stored && data.remove(thumbnail))
            ++removed;
        data.remove(marker);
    }
    IndexDatabase::rollback(db);
    return removed;
}

} // namespace veldra
