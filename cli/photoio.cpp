#include "photoio.h"

#include "commandline.h"

#include "indexing/imageloader.h"

#include <QFileInfo>

namespace veldra::cli {

QImage loadPhoto(const QString& path)
{
    // Checked first: the loader would try every image plug-in on a missing file.
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        fail(QStringLiteral("cannot read image %1: no such readable file").arg(path));
        return {};
    }
    const QImage image = loadImage(path);
    if (image.isNull())
        fail(QStringLiteral("cannot read image %1: not a picture").arg(path));
    return image;
}

void printRegionsJson(
    const QString& path, const QSize& size, const QString& key, const QVector<QRect>& regions)
{
    QStringList boxes;
    for (const QRect& r : regions)
        boxes.append(
            QStringLiteral("[%1,%2,%3,%4]").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    out() << QStringLiteral("{\"file\":%1,\"width\":%2,\"height\":%3,%4:[%5]}")
                 .arg(jsonString(path))
                 .arg(size.width())
                 .arg(size.height())
                 .arg(jsonString(key), boxes.join(QLatin1Char(',')))
          << Qt::endl;
}

void printRegions(
    const QString& path, const QSize& size, const QString& noun, const QVector<QRect>& regions)
{
    out() << QStringLiteral("%1: %2 x %3, %4 %5%6")
                 .arg(path)
                 .arg(size.width())
                 .arg(size.height())
                 .arg(regions.size())
                 .arg(noun, regions.size() == 1 ? QString() : QStringLiteral("s"))
          << Qt::endl;
    for (const QRect& r : regions)
        out() << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height() << Qt::endl;
}

} // namespace veldra::cli
