#pragma once

#include <QImage>
#include <QRect>
#include <QVector>

namespace veldra {

// A copy of the image with each region pixelated: the region's longer side
// shows `blocks` blocks (nearest-pixel scaling down and back up). The copy is
// 32-bit (RGB32 unless the image has an alpha channel); parts of regions
// outside the image are ignored.
QImage pixelateRegions(const QImage& image, QVector<QRect> regions, int blocks);

// A copy of the image with an opaque black bar over the second quarter (the
// eye line) of each region. Same format rules as pixelateRegions.
QImage censorRegions(const QImage& image, QVector<QRect> regions);

} // namespace veldra
