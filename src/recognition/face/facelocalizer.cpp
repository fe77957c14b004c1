#include "facelocalizer.h"

#include "candidatefilter.h"
#include "integralimage.h"

#include <algorithm>
#include <cstdlib>

namespace veldra {

namespace {

// Geometry of one window: every coordinate is a truncated fraction of the
// window size, as the cascade's thresholds were tuned on exactly these
// truncations.
class Window
{
public:
    Window(const IntegralImage& integral, int x, int y, int size)
        : m_integral(integral)
        , m_x(x)
        , m_y(y)
        , m_size(size)
    { }

    int X(double a) const { return int(m_x + a * m_size); }
    int Y(double a) const { return int(m_y + a * m_size); }
    int L(double a) const { return int(a * m_size); }
    int ext(int p, double a) const { return int(p + a * m_size); }
    static int half(int p, int q) { return int((q - p) * 0.5); }
    static int third(int p, int q) { return int((q - p) / 3.0); }

    int R(int x1, int y1, int x2, int y2) const { return m_integral.mean(x1, y1, x2, y2); }

    // Upper part minus lower part of a block split at row m.
    int topMinusBottom(int p, int t, int q, int b, int m) const
    {
        return R(p, t, q, m) - R(p, m, q, b);
    }

    // Right part minus left part of a block split at column c.
    int rightMinusLeft(int p, int t, int q, int b, int c) const
    {
        return R(c, t, q, b) - R(p, t, c, b);
    }

private:
    const IntegralImage& m_integral;
    int m_x;
    int m_y;
    int m_size;
};

bool outside(int v, int limit)
{
    return v > limit || v < -limit;
}

} // namespace

FaceLocalizer::FaceLocalizer(int minimumSize, double startFraction)
    : m_minimumSize(minimumSize)
    , m_startFraction(startFraction)
{ }

int FaceLocalizer::passedTests(const IntegralImage& integral, int x, int y, int size)
{
    const Window w(integral, x, y, size);
    int passed = 0;

    // 1, 2: upper halves of the eye blocks darker than their lower halves.
    for (const double left : { 0.2, 0.54 }) {
        const int p = w.X(left), q = w.ext(p, 0.26);
        const int t = w.Y(0.26), b = w.ext(t, 0.36);
        if (!(w.topMinusBottom(p, t, q, b, t + Window::half(t, b)) < -13))
            return passed;
        ++passed;
    }
    { // 3
        const int p = w.X(0.22), q = w.ext(p, 0.54);
        const int t = w.Y(0.28), b = w.ext(t, 0.24);
        if (!(w.topMinusBottom(p, t, q, b, t + w.L(0.12)) < -5))
            return passed;
        ++passed;
    }
    { // 4
        const int p = w.X(0.24), q = w.ext(p, 0.48), k = w.L(0.16);
        const int t = w.Y(0.16), b = w.ext(t, 0.28);
        const int c1 = w.R(p, t, q - 2 * k, b);
        const int c2 = w.R(p + k, t, q - k, b);
        const int c3 = w.R(p + 2 * k, t, q, b);
        if (!(c1 + c3 - 2 * c2 < -20))
            return passed;
        ++passed;
    }
    { // 5
        const int p = w.X(0.22), k = w.L(0.18), q = w.ext(p, 0.36);
        const int t = w.Y(0.18), h = w.L(0.38), b = w.ext(t, 0.76);
        const int q1 = w.R(p, t, p + k, t + h);
        const int q2 = w.R(p + k, t, q, t + h);
        const int q3 = w.R(p, t + h, p + k, b);
        const int q4 = w.R(p + k, t + h, q, b);
        if (!(q1 - q2 - q3 + q4 < -5))
            return passed;
        ++passed;
    }
    { // 6
        const int p = w.X(0.22), q = w.ext(p, 0.54);
        const int t = w.Y(0.18), b = w.ext(t, 0.24);
        if (!(-w.topMinusBottom(p, t, q, b, t + w.L(0.12)) < -5))
            return passed;
        ++passed;
    }
    { // 7
        const int p = w.X(0.18), q = w.ext(p, 0.6);
        const int t = w.Y(0.42), b = w.ext(t, 0.32);
        if (!(-w.topMinusBottom(p, t, q, b, t + w.L(0.16)) < 18))
            return passed;
        ++passed;
    }
    { // 8
        const int p = w.X(0.38), q = w.ext(p, 0.18);
        const int t = w.Y(0.64), b = w.ext(t, 0.24);
        if (!(w.topMinusBottom(p, t, q, b, t + w.L(0.12)) < 15))
            return passed;
        ++passed;
    }
    { // 9
        const int p = w.X(0.27), k = w.L(0.125), q = w.ext(p, 0.25);
        const int t = w.Y(0.48), b = w.ext(t, 0.26);
        if (!(w.R(p + k, t, q, b) - w.R(p, t, p + k, b) < 20))
            return passed;
        ++passed;
    }
    int w10 = 0;
    { // 10: its sign decides the direction test 11 requires.
        const int p = w.X(0.21), q = w.ext(p, 0.16);
        const int t = w.Y(0.44), b = w.ext(t, 0.32);
        w10 = w.topMinusBottom(p, t, q, b, t + w.L(0.16));
        if (!outside(w10, 3))
            return passed;
        ++passed;
    }
    { // 11
        const int p = w.X(0.58), q = w.ext(p, 0.22);
        const int t = w.Y(0.44), b = w.ext(t, 0.32);
        const int v = w.topMinusBottom(p, t, q, b, t + Window::half(t, b));
        const bool sameDirection = w10 >= 0 ? v >= 0 : v <= 0;
        if (!(sameDirection && (v > 1 || v < -2)))
            return passed;
        ++passed;
    }
    { // 12
        const int p = w.X(0.06), q = w.ext(p, 0.36);
        const int t = w.Y(0.16), b = w.ext(t, 0.7);
        if (!outside(-w.rightMinusLeft(p, t, q, b, p + Window::half(p, q)), 5))
            return passed;
        ++passed;
    }
    int d13 = 0;
    { // 13: its half width also splits test 14.
        const int p = w.X(0.56), q = w.ext(p, 0.36);
        const int t = w.Y(0.16), b = w.ext(t, 0.7);
        d13 = Window::half(p, q);
        if (!outside(-w.rightMinusLeft(p, t, q, b, p + d13), 5))
            return passed;
        ++passed;
    }
    { // 14
        const int p = w.X(0.4), q = w.ext(p, 0.2);
        const int t = w.Y(0.18), b = w.ext(t, 0.6);
        if (!outside(-w.rightMinusLeft(p, t, q, b, p + d13), 2))
            return passed;
        ++passed;
    }
    // 15, 16
    for (const double left : { 0.06, 0.062 }) {
        const int p = w.X(left), q = w.ext(p, 0.32);
        const int t = w.Y(0.62), b = w.ext(t, 0.22);
        if (!outside(-w.rightMinusLeft(p, t, q, b, p + Window::half(p, q)), 2))
            return passed;
        ++passed;
    }
    // 17, 18: three rows, the middle one compared with the outer two.
    struct Rows
    {
        double left, width, top, height;
        int limit;
    };
    for (const Rows& rows :
        { Rows { 0.34, 0.32, 0.54, 0.2, 10 }, Rows { 0.24, 0.48, 0.24, 0.52, 1 } }) {
        const int p = w.X(rows.left), q = w.ext(p, rows.width);
        const int t = w.Y(rows.top), b = w.ext(t, rows.height), d = Window::third(t, b);
        const int w1 = w.R(p, t, q, t + d);
        const int w2 = w.R(p, t + d, q, b - d);
        const int w3 = w.R(p, t + 2 * d, q, b);
        if (!(w1 + w3 - 2 * w2 < rows.limit))
            return passed;
        ++passed;
    }
    { // 19
        const int p = w.X(0.24), q = w.ext(p, 0.52), d = Window::third(p, q);
        const int t = w.Y(0.74), b = w.ext(t, 0.2);
        const int c1 = w.R(p, t, p + d, b);
        const int c2 = w.R(p + d, t, q - d, b);
        const int c3 = w.R(q - d, t, q, b);
        if (!(c1 + c3 - 2 * c2 < 10))
            return passed;
        ++passed;
    }
    // 20, 21, 22: left half against right half; sign +1 is A - B, -1 is B - A.
    struct Halves
    {
        double left, width, height;
        int sign, limit;
    };
    for (const Halves& halves : { Halves { 0.26, 0.28, 0.16, 1, -12 },
             Halves { 0.44, 0.28, 0.18, -1, -12 }, Halves { 0.18, 0.18, 0.18, -1, 40 } }) {
        const int p = w.X(halves.left), q = w.ext(p, halves.width), h = Window::half(p, q);
        const int t = w.Y(0.28), b = w.ext(t, halves.height);
        const int a = w.R(p, t, p + h, b);
        const int bb = w.R(q - h, t, q, b);
        if (!(halves.sign * (a - bb) < halves.limit))
            return passed;
        ++passed;
    }
    { // 23
        const int p = w.X(0.26), q = w.ext(p, 0.48), d = Window::third(p, q);
        const int t = w.Y(0.5), b = w.ext(t, 0.16);
        const int c1 = w.R(p, t, p + d, b);
        const int c2 = w.R(p + d, t, q - d, b);
        const int c3 = w.R(p + 2 * d, t, q, b);
        if (!outside(c1 + c3 - 2 * c2, 2))
            return passed;
        ++passed;
    }
    { // 24
        const int p = w.X(0.02), q = w.ext(p, 0.3);
        const int t = w.Y(0.44), b = w.ext(t, 0.22);
        if (!outside(-w.rightMinusLeft(p, t, q, b, p + Window::half(p, q)), 3))
            return passed;
        ++passed;
    }
    { // 25
        const int p = w.X(0.68), q = w.ext(p, 0.3);
        const int t = w.Y(0.44), b = w.ext(t, 0.22);
        if (!outside(w.rightMinusLeft(p, t, q, b, p + Window::half(p, q)), 3))
            return passed;
        ++passed;
    }
    { // 26
        const int p = w.X(0.25), q = w.X(0.76), t = w.Y(0.29), b = w.Y(0.8), k = w.L(0.17);
        const int tl = w.R(p, t, p + k, t + k);
        const int tm = w.R(p + k, t, q - k, t + k);
        const int tr = w.R(q - k, t, q, t + k);
        const int ml = w.R(p, t + k, p + k, b);
        const int mm = w.R(p + k, t + k, q - k, b);
        const int mr = w.R(q - k, t + k, q, b);
        if (!(tl + tr + mm - tm - ml - mr < -22))
            return passed;
        ++passed;
    }
    { // 27
        const int p = w.X(0.12), k = w.L(0.38), q = w.X(0.89);
        const int t = w.Y(0.15), b = w.Y(0.94);
        const int v = w.R(p, t, p + k, b) - w.R(p + k, t, q, b);
        if (!(v >= -69 && v <= 69))
            return passed;
        ++passed;
    }
    { // 28
        const int p = w.X(0.2), q = w.X(0.81);
        const int t = w.Y(0.1), k = w.L(0.17), e = w.Y(0.78);
        const int w1 = w.R(p, t, q, t + k);
        const int w2 = w.R(p, t + k, q, t + 2 * k);
        const int w3 = w.R(p, t + 2 * k, q, e - k);
        const int w4 = w.R(p, e - k, q, e);
        if (!(w2 - w1 - w3 + w4 < -10))
            return passed;
        ++passed;
    }
    { // 29: the upper part of the face is not much darker than the lower.
        const int p = w.X(0.12), q = w.X(0.89);
        const int t = w.Y(0.15), b = w.Y(0.94);
        if (!(w.topMinusBottom(p, t, q, b, t + w.L(0.39)) > -20))
            return passed;
        ++passed;
    }
    return passed;
}

QVector<QRect> FaceLocalizer::locate(const QImage& input) const
{
    if (input.width() == 0 || input.height() == 0)
        return {};
    const QImage image = input.convertToFormat(QImage::Format_RGB32);
    const IntegralImage integral(image, false);
    const int width = image.width();
    const int height = image.height();
    const int start = int(std::min(width, height) * m_startFraction);

    // Windows below 4 pixels would not grow by a quarter (trunc(3 * 1.25) is
    // 3); the default minimum of 25 always does.
    const auto grown = [](int size) { return std::max(size + 1, int(size * 1.25)); };

    QVector<QRect> candidates;
    // The second pass starts two pixels larger, so its windows fall between
    // the sizes of the first.
    for (int pass = 0; pass < 2; ++pass) {
        int size = m_minimumSize + 2 * pass;
        double step = 1.2;
        while (size < start) {
            size = grown(size);
            step = step * 1.1;
        }
        while (size <= width && size <= height) {
            for (int y = 0; y < height + 1 - size; y = int(y + step)) {
                for (int x = 0; x < width + 1 - size; x = int(x + step)) {
                    if (passedTests(integral, x, y, size) == cascadeLength)
                        candidates.append(QRect(x, y, size, size));
                }
            }
            size = grown(size);
            step = step * 1.1;
        }
    }
    return postProcess(candidates);
}

QVector<QRect> FaceLocalizer::postProcess(const QVector<QRect>& candidates)
{
    const QVector<QRect> confirmed = confirmedCandidates(candidates);
    const auto clusters = clusterRects(confirmed, [](const QRect& m, const QRect& r) {
        const int t = int(0.5 * m.width());
        return std::abs(r.y() - m.y()) < t && std::abs(r.x() - m.x()) < t
            && std::abs(r.width() - m.width()) < t;
    });

    QVector<QRect> averaged;
    averaged.reserve(clusters.size());
    for (const QVector<QRect>& cluster : clusters) {
        qint64 left = 0, top = 0, side = 0;
        for (const QRect& r : cluster) {
            left += r.x();
            top += r.y();
            side += r.width();
        }
        const qint64 n = cluster.size();
        averaged.append(QRect(int(left / n), int(top / n), int(side / n), int(side / n)));
    }

    // A face inside another is a false detail of it; of two overlapping faces
    // the lower one goes when they share more than 30 percent of its side.
    QVector<qsizetype> marked;
    for (qsizetype i = 0; i < averaged.size(); ++i) {
        const QRect& a = averaged[i];
        for (qsizetype j = 0; j < averaged.size(); ++j) {
            const QRect& b = averaged[j];
            if (i == j || !a.intersects(b))
                continue;
            const QRect common = a.intersected(b);
            if (common == a) {
                marked.append(i);
            } else if (a.height() < b.height()) {
                if (common.width() > 0.3 * a.width() || common.height() > 0.3 * a.height())
                    marked.append(i);
            }
        }
    }
    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    QVector<QRect> faces;
    for (qsizetype i = 0, k = 0; i < averaged.size(); ++i) {
        if (k < marked.size() && marked[k] == i)
            ++k;
        else
            faces.append(averaged[i]);
    }
    return faces;
}

} // namespace veldra
