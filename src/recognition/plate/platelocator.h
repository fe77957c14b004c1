#pragma once

#include <QImage>
#include <QRect>
#include <QVector>

namespace veldra {

class IntegralImage;

// Finds licence plates by the signature of their characters: rows crossing
// many strong falling edges, spread evenly around the middle of a wide, flat
// window whose halves are equally bright.
class PlateLocator
{
public:
    // Plate rectangles in image coordinates; empty for images narrower than
    // 101 or lower than 26 pixels. Reentrant.
    static QVector<QRect> locate(const QImage& image);

    // Whether the row of the edge image (red channel read) starting at (x, y)
    // and width pixels long (plus the pixel after it) reads as a row of
    // characters.
    static bool isCharacterRow(const QImage& edges, int x, int y, int width);

    // The edge stage and the brightness balance for the window (x, y, w, h);
    // the window and the pixel column after it must lie inside both images.
    static bool acceptsWindow(
        const QImage& edges, const IntegralImage& integral, int x, int y, int w, int h);

    // Confirmation, clustering, merging into bounding boxes and the shape
    // filter, over the windows that passed, in scan order.
    static QVector<QRect> postProcess(const QVector<QRect>& candidates);
};

} // namespace veldra
