#include "indexer.h"

#include "features/featurevector.h"
#include "imageloader.h"
#include "shell/config.h"
#include "store/imagerecords.h"
#include "store/indexdatabase.h"
#include "thumbnail.h"

#include <QDir>
#include <QFile>
#include <QThread>

namespace veldra {

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

    // The thumbnail is written before the write lock is taken, so the other
    // workers are not kept waiting while it is scaled and encoded.
    const bool thumbnails
        = Config::instance()
              ->value(QStringLiteral("Lumerax"), QStringLiteral("Thumbnails"), false)
              .toBool();
    const QString thumbnail = thumbnails ? makeThumbnail(record.fileName, &image) : QString();

    QSqlDatabase db = IndexDatabase::connection();
    if (!IndexDatabase::beginTransaction(db)) {
        if (!thumbnail.isEmpty() && isNewImage(file))
            QFile::remove(thumbnail);
        return StoreFailed;
    }
    // Another worker or process may have stored the same file meanwhile; its
    // thumbnail is the one just written, so it stays.
    if (!isNewImage(file)) {
        IndexDatabase::rollback(db);
        return AlreadyIndexed;
    }
    if (insertImage(record) && IndexDatabase::commit(db))
        return Indexed;
    IndexDatabase::rollback(db);
    if (!thumbnail.isEmpty())
        QFile::remove(thumbnail);
    return StoreFailed;
}

} // namespace veldra
