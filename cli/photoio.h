#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

namespace veldra::cli {

// The picture at path, upright by its EXIF orientation. On failure prints the
// one-line error and returns a null image.
QImage loadPhoto(const QString& path);

// {"file":PATH,"width":W,"height":H,"KEY":[[x,y,w,h],...]} on one line, keys
// in this order.
void printRegionsJson(
    const QString& path, const QSize& size, const QString& key, const QVector<QRect>& regions);

// "PATH: W x H, N NOUNs" followed by one "x y width height" line per region.
void printRegions(
    const QString& path, const QSize& size, const QString& noun, const QVector<QRect>& regions);

} // namespace veldra::cli
