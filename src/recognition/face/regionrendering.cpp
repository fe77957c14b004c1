#include "regionrendering.h"

#include <QTransform>

#include <algorithm>

namespace veldra {

namespace {

// A writable 32-bit copy, so pixels can be set directly whatever the input.
QImage writableCopy(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image.copy();
    default:
        return image.convertToFormat(
            image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
}

} // namespace

QImage censorRegions(const QImage& image, QVector<QRect> regions)
{
    QImage result = writableCopy(image);
    for (const QRect& region : std::as_const(regions)) {
        const int h = region.height();
        const int top = std::max(int(region.top() + 0.25 * h), 0);
        const int bottom = std::min(int(region.top() + 0.5 * h), result.height());
        const int left = std::max(region.left(), 0);
        const int right = std::min(region.right(), result.width() - 1);
        for (int y = top; y < bottom; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(y));
            std::fill(line + left, line + std::max(left, right + 1), qRgb(0, 0, 0));
        }
    }
    return result;
}

QImage pixelateRegions(const QImage& image, QVector<QRect> regions, int blocks)
{
    QImage result = writableCopy(image);
    if (blocks < 1)
        return result;
    for (const QRect& region : std::as_const(regions)) {
        const int w = region.width();
        const int h = region.height();
        if (w < 1 || h < 1)
            continue;
        QImage tile = image.copy(region).convertToFormat(QImage::Format_RGB32);
        if (h < w) {
            tile = tile.scaledToWidth(blocks, Qt::FastTransformation)
                       .scaledToWidth(w, Qt::FastTransformation);
            if (tile.isNull())
                continue;
            tile = tile.transformed(
                QTransform::fromScale(1.0, double(h) / tile.height()), Qt::FastTransformation);
        } else {
            tile = tile.scaledToHeight(blocks, Qt::FastTransformation)
                       .scaledToHeight(h, Qt::FastTransformation);
            if (tile.isNull())
                continue;
            tile = tile.transformed(
                QTransform::fromScale(double(w) / tile.width(), 1.0), Qt::FastTransformation);
        }
        tile = tile.convertToFormat(QImage::Format_RGB32);

        // The tile goes back at the region's corner in its own size.
        const int left = std::max(region.left(), 0);
        const int top = std::max(region.top(), 0);
        const int right = std::min(region.left() + tile.width(), result.width());
        const int bottom = std::min(region.top() + tile.height(), result.height());
        for (int y = top; y < bottom; ++y) {
            const QRgb* source
                = reinterpret_cast<const QRgb*>(tile.constScanLine(y - region.top()));
            QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (int x = left; x < right; ++x)
                line[x] = source[x - region.left()];
        }
    }
    return result;
}

} // namespace veldra
