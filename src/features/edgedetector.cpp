#include "edgedetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace veldra {

float fastAtan2(float a, float b)
{
    constexpr float quarterPi = 0.7853981852531433f;
    constexpr float threeQuarterPi = 2.356194496154785f;
    const float ay = std::fabs(a) + 1e-10f;
    float angle;
    if (b >= 0) {
        const float r = (b - ay) / (b + ay);
        angle = quarterPi - quarterPi * r;
    } else {
        const float r = (b + ay) / (ay - b);
        angle = threeQuarterPi - quarterPi * r;
    }
    return a < 0 ? -angle : angle;
}

namespace {

using Plane = std::vector<uint8_t>;

// Grey values of every pixel, read as non-premultiplied ARGB.
Plane greyPlane(const QImage& input)
{
    QImage image = input;
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
        && format != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);

    const int w = image.width();
    const int h = image.height();
    const bool opaque = image.format() == QImage::Format_RGB32;
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    Plane grey(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* out = grey.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            QRgb p = line[x];
            if (premultiplied)
                p = qUnpremultiply(p);
            int g = (11 * qRed(p) + 16 * qGreen(p) + 5 * qBlue(p)) >> 5;
            if (!opaque) {
                const int alpha = qAlpha(p);
                if (alpha < 255)
                    g = int(g * (alpha / 255.0));
            }
            out[x] = uint8_t(g);
        }
    }
    return grey;
}

// Kernel 1 2 1 / 2 4 2 / 1 2 1 over the neighbours inside the image, divided by
// the weights used (16 inside, 12 on an edge, 9 in a corner).
int smoothBorderPixel(const Plane& grey, int w, int h, int x, int y)
{
    int sum = 0;
    int weights = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        const int ny = y + dy;
        if (ny < 0 || ny >= h)
            continue;
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx;
            if (nx < 0 || nx >= w)
                continue;
            const int weight = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
            sum += weight * grey[size_t(ny) * w + nx];
            weights += weight;
        }
    }
    return sum / weights;
}

Plane smoothPlane(const Plane& grey, int w, int h)
{
    Plane smooth(grey.size());
    // The kernel is separable: horizontal 1 2 1 sums per row, then 1 2 1 down.
    std::vector<int> above(w), middle(w), below(w);
    auto rowSums = [&](int y, std::vector<int>& sums) {
        const uint8_t* row = grey.data() + size_t(y) * w;
        for (int x = 1; x < w - 1; ++x)
            sums[x] = row[x - 1] + 2 * row[x] + row[x + 1];
    };
    if (h >= 3 && w >= 3) {
        rowSums(0, above);
        rowSums(1, middle);
        for (int y = 1; y < h - 1; ++y) {
            rowSums(y + 1, below);
            uint8_t* out = smooth.data() + size_t(y) * w;
            for (int x = 1; x < w - 1; ++x)
                out[x] = uint8_t((above[x] + 2 * middle[x] + below[x]) >> 4);
            std::swap(above, middle);
            std::swap(middle, below);
        }
    }
    auto smoothBorder = [&](int x, int y) {
        smooth[size_t(y) * w + x] = uint8_t(smoothBorderPixel(grey, w, h, x, y));
    };
    for (int y = 0; y < h; ++y) {
        if (y == 0 || y == h - 1) {
            for (int x = 0; x < w; ++x)
                smoothBorder(x, y);
        } else {
            smoothBorder(0, y);
            smoothBorder(w - 1, y);
        }
    }
    return smooth;
}

// Which neighbour pair the suppression compares with, by gradient direction.
enum class Direction { Diagonal135, Horizontal, Diagonal45, Vertical };

Direction directionOf(int gx, int gy)
{
    double theta = fastAtan2(float(gx), float(gy)) * 180.0 / 3.141592653589793;
    if (theta < 0)
        theta += 180;
    if (theta > 112.5 && theta <= 157.5)
        return Direction::Diagonal135;
    if (theta > 67.5 && theta <= 112.5)
        return Direction::Horizontal;
    if (theta > 22.5 && theta <= 67.5)
        return Direction::Diagonal45;
    return Direction::Vertical;
}

struct GradientRow
{
    std::vector<int> magnitude, gx, gy;
    explicit GradientRow(int w)
        : magnitude(w, 0)
        , gx(w, 0)
        , gy(w, 0)
    { }
};

void computeGradients(const Plane& smooth, int w, int y, GradientRow& row)
{
    const uint8_t* s0 = smooth.data() + size_t(y - 1) * w;
    const uint8_t* s1 = s0 + w;
    const uint8_t* s2 = s1 + w;
    row.magnitude[0] = row.magnitude[w - 1] = 0;
    for (int x = 1; x < w - 1; ++x) {
        const int gy = (s2[x - 1] + 2 * s2[x] + s2[x + 1]) - (s0[x - 1] + 2 * s0[x] + s0[x + 1]);
        // The middle row compares the right neighbour with the pixel itself,
        // and is left out in the first inner column.
        const int middle = x == 1 ? 0 : 2 * (s1[x + 1] - s1[x]);
        const int gx = (s0[x + 1] + s2[x + 1]) - (s0[x - 1] + s2[x - 1]) + middle;
        row.magnitude[x] = std::abs(gx) + std::abs(gy);
        row.gx[x] = gx;
        row.gy[x] = gy;
    }
}

// Non-maximum suppression of one row, in place and left to right: the row
// above and the left neighbour are already suppressed, the rest is not.
void suppressRow(const std::vector<int>& above, GradientRow& current, const std::vector<int>& below,
    int w, int low)
{
    std::vector<int>& m = current.magnitude;
    for (int x = 1; x < w - 1; ++x) {
        const int value = m[x];
        if (value < low) {
            m[x] = 0;
            continue;
        }
        int first;
        int second;
        switch (directionOf(current.gx[x], current.gy[x])) {
        case Direction::Diagonal135:
            first = above[x + 1];
            second = below[x - 1];
            break;
        case Direction::Horizontal:
            first = m[x - 1];
            second = m[x + 1];
            break;
        case Direction::Diagonal45:
            first = above[x - 1];
            second = below[x + 1];
            break;
        case Direction::Vertical:
        default:
            first = above[x];
            second = below[x];
            break;
        }
        if (first > value || second > value)
            m[x] = 0;
    }
}

// Draws the pixels of row y that are strong edges or next to one.
void thresholdRow(QImage& out, int y, const std::vector<int>& above, const std::vector<int>& row,
    const std::vector<int>& below, std::vector<int>& columnMax, int high)
{
    const int w = out.width();
    for (int x = 0; x < w; ++x)
        columnMax[x] = std::max({ above[x], row[x], below[x], 0 });
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 1; x < w - 1; ++x) {
        const int mx = std::max({ columnMax[x - 1], columnMax[x], columnMax[x + 1] });
        if (mx >= high) {
            const int v = std::min(row[x], 255);
            line[x] = qRgb(v, v, v);
        }
    }
}

} // namespace

QImage smoothGrey(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    if (w < 2 || h < 2)
        return image;

    const Plane smooth = smoothPlane(greyPlane(image), w, h);
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint8_t* values = smooth.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(values[x], values[x], values[x]);
    }
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());

    switch (image.format()) {
    case QImage::Format_RGB32:
        return out;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // Opaque pixels are stored the same way in all three 32-bit formats.
        out.reinterpretAsFormat(image.format());
        return out;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return out;
    default:
        return out.convertToFormat(image.format());
    }
}

QImage detectEdges(const QImage& image, int low, int high)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(qRgb(0, 0, 0));
    if (w < 3 || h < 3)
        return out;

    const Plane smooth = smoothPlane(greyPlane(rgb), w, h);

    // Rows y - 2, y - 1 (suppressed), y (being suppressed) and y + 1 (raw):
    // suppression looks one row ahead, thresholding one row behind.
    GradientRow twoAbove(w), above(w), current(w), below(w);
    std::vector<int> columnMax(w);
    computeGradients(smooth, w, 1, current);
    for (int y = 1; y <= h - 2; ++y) {
        if (y + 1 <= h - 2)
            computeGradients(smooth, w, y + 1, below);
        else
            std::fill(below.magnitude.begin(), below.magnitude.end(), 0);
        suppressRow(above.magnitude, current, below.magnitude, w, low);
        if (y >= 2)
            thresholdRow(out, y - 1, twoAbove.magnitude, above.magnitude, current.magnitude,
                columnMax, high);
        std::swap(twoAbove, above);
        std::swap(above, current);
        std::swap(current, below);
    }
    thresholdRow(
        out, h - 2, twoAbove.magnitude, above.magnitude, current.magnitude, columnMax, high);
    return out;
}

} // namespace veldra
