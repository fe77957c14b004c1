#pragma once

#include <QImage>
#include <QRect>
#include <QVector>

namespace veldra {

class IntegralImage;

// Finds frontal faces: square windows of growing size are scanned over a grey
// integral image and put through a fixed cascade of brightness tests; the
// windows that pass are confirmed by a neighbour, clustered, averaged and
// de-overlapped.
class FaceLocalizer
{
public:
    static constexpr int cascadeLength = 29;

    explicit FaceLocalizer(int minimumSize = 25, double startFraction = 0.2);

    int minimumSize() const { return m_minimumSize; }
    double startFraction() const { return m_startFraction; }

    // Square face rectangles in image coordinates. Reentrant.
    QVector<QRect> locate(const QImage& image) const;

    // Number of cascade tests the window (x, y, size) passes before the first
    // failure; cascadeLength when it is a face candidate. The window must lie
    // inside the integral image.
    static int passedTests(const IntegralImage& integral, int x, int y, int size);

    // Confirmation, clustering, averaging and de-overlapping of the windows
    // that passed the cascade, in scan order.
    static QVector<QRect> postProcess(const QVector<QRect>& candidates);

private:
    int m_minimumSize = 25;
    double m_startFraction = 0.2;
};

} // namespace veldra
