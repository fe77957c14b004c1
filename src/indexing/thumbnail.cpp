#include "thumbnail.h"

#include "imageloader.h"
#include "shell/config.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageWriter>
#include <QSaveFile>

namespace veldra {

QString thumbnailName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    QString stem;
    QString extension;
    if (dot > slash) {
        stem = path.left(dot);
        extension = path.mid(dot + 1);
        if (extension == QLatin1String("gif"))
            extension = QStringLiteral("png");
    } else {
        stem = path + QLatin1Char('/');
        extension = QStringLiteral("png");
    }
    const QByteArray digest = QCryptographicHash::hash(stem.toLatin1(), QCryptographicHash::Md5);
    return QString::fromLatin1(digest.toHex()) + QLatin1Char('.') + extension;
}

QString thumbnailPath(const QString& path)
{
    return Config::instance()->dataPath() + QLatin1Char('/') + thumbnailName(path);
}

QByteArray encodeThumbnail(const QString& path, const QImage& image)
{
    const int size = Config::instance()
                         ->value(QStringLiteral("Lumerax"), QStringLiteral("ThumbnailSize"), 250)
                         .toInt();
    const QImage scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull())
        return QByteArray();

    // Extensions Qt cannot write (such as "GIF") keep their name but hold PNG
    // data; readers go by content.
    const QString name = thumbnailName(path);
    QByteArray format = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        format = "png";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!scaled.save(&buffer, format.constData()))
        return QByteArray();
    return bytes;
}

bool writeThumbnail(const QString& file, const QByteArray& bytes)
{
    // Written aside and renamed into place, so a concurrent writer of the same
    // thumbnail or a crash never leaves half a file.
    QSaveFile out(file);
    if (bytes.isEmpty() || !out.open(QIODevice::WriteOnly))
        return false;
    out.write(bytes);
    return out.commit();
}

QString makeThumbnail(const QString& path, const QImage* image)
{
    const QString file = thumbnailPath(path);
    writeThumbnail(file, encodeThumbnail(path, image ? *image : loadImage(path)));
    return file;
}

} // namespace veldra
