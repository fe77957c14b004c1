#include "platelocator.h"

#include "features/edgedetector.h"
#include "recognition/face/candidatefilter.h"
#include "recognition/face/integralimage.h"

#include <algorithm>
#include <cstdlib>

namespace veldra {

bool PlateLocator::isCharacterRow(const QImage& edges, int x, int y, int width)
{
    const QRgb* line = reinterpret_cast<const QRgb*>(edges.constScanLine(y)) + x;
    int transitions = 0;
    int sumPos = 0;
    int nTrans = 0;
    int run = 0;
    int moderate = 0;
    const double gap = 0.2 * width;
    const double longGap = 0.3 * width;
    for (int i = 0; i < width; ++i) {
        const int d = qRed(line[i]) - qRed(line[i + 1]);
        if (d > 110) {
            ++transitions;
            sumPos += i;
            ++nTrans;
            run = 0;
        } else {
            ++run;
        }
        if (d >= 41 && d <= 109)
            ++moderate;
        // A long gap restarts the count; a longer one ends the row.
        if (run > gap)
            transitions = 0;
        if (run > longGap)
            break;
    }
    if (transitions < 12 || transitions > 32 || moderate >= 24)
        return false;
    const int centre = sumPos / nTrans;
    return centre > 0.4 * width && centre < 0.6 * width;
}

bool PlateLocator::acceptsWindow(
    const QImage& edges, const IntegralImage& integral, int x, int y, int w, int h)
{
    int rows = 0;
    for (int r = 0; r < h; r += 2) {
        if (isCharacterRow(edges, x, y + r, w))
            ++rows;
    }
    if (!(rows > 0.25 * h && rows < 0.75 * h))
        return false;
    const int left = integral.mean(x, y, x + w / 2, y + h);
    const int right = integral.mean(x + w / 2, y, x + w, y + h);
    return std::abs(right - left) < 27;
}

QVector<QRect> PlateLocator::locate(const QImage& image)
{
    const int width = image.width();
    const int height = image.height();
    if (width < 101 || height < 26)
        return {};

    const QImage edges
        = detectEdges(smoothGrey(image), 50, 58).convertToFormat(QImage::Format_RGB32);
    const IntegralImage integral(image, false);

    QVector<QRect> candidates;
    int w = int(width * 0.13);
    int h = w / 4;
    while (w < width) {
        // Every step moves at least one pixel: a window 3 pixels high would
        // otherwise stay on its row (trunc(y + 0.9) == y) for ever.
        for (int y = 0; y < height - 1 - h; y = std::max(y + 1, int(y + 0.3 * h))) {
            for (int x = 0; x < width - 1 - w; x = std::max(x + 1, int(x + 0.2 * w))) {
                if (acceptsWindow(edges, integral, x, y, w, h))
                    candidates.append(QRect(x, y, w, h));
            }
        }
        w = int(w * 1.1);
        h = int(h * 1.1);
    }
    return postProcess(candidates);
}

QVector<QRect> PlateLocator::postProcess(const QVector<QRect>& candidates)
{
    const QVector<QRect> confirmed = confirmedCandidates(candidates);
    const auto clusters = clusterRects(confirmed, [](const QRect& m, const QRect& r) {
        const int t = int(0.5 * m.width());
        const int t2 = int(0.5 * t);
        const double rowTolerance = 0.5 * t2;
        const int dy = r.y() - m.y();
        return dy < rowTolerance && dy > -rowTolerance && std::abs(r.x() - m.x()) < t
            && std::abs(r.width() - m.width()) < t && std::abs(r.height() - m.height()) < t;
    });

    QVector<QRect> plates;
    for (const QVector<QRect>& cluster : clusters) {
        int left = 100000, top = 100000, right = 0, bottom = 0;
        for (const QRect& r : cluster) {
            left = std::min(left, r.left());
            top = std::min(top, r.top());
            right = std::max(right, r.right());
            bottom = std::max(bottom, r.bottom());
        }
        if (!(top < bottom && left < right))
            continue;
        const QRect box(QPoint(left, top), QPoint(right, bottom));
        // Plates are at least 2.5 times as wide as high.
        if (box.height() > 0.4 * box.width())
            continue;
        plates.append(box);
    }
    return plates;
}

} // namespace veldra
