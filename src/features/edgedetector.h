#pragma once

#include <QImage>

namespace veldra {

// Grey conversion ((11 R + 16 G + 5 B) >> 5, darkened by alpha) and 3 x 3
// smoothing (1 2 1 / 2 4 2 / 1 2 1). The result is opaque grey in the input's
// size and format (indexed input comes back as 32-bit RGB, since grey levels
// cannot be written into an arbitrary colour table). Images narrower or lower
// than 2 pixels are returned unchanged.
QImage smoothGrey(const QImage& image);

// Edge strength image: black except on thin edges drawn in the grey of their
// gradient magnitude (capped at 255). 32-bit RGB, same size as the input.
QImage detectEdges(const QImage& image, int low, int high);

// Number of pixels of detectEdges(image, low, high) whose grey value exceeds
// threshold, counted without building the edge image.
qint64 countEdgePixels(const QImage& image, int low, int high, int threshold);

// Approximate angle of the vector (b, a) in radians, in (-pi, pi].
float fastAtan2(float a, float b);

} // namespace veldra
