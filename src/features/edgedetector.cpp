#include "edgedetector.h"
#include "edgedetector_p.h"

#include <algorithm>
#include <array>
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

int edgeDirectionBucketExact(int gx, int gy)
{
    double theta = fastAtan2(float(gx), float(gy)) * 180.0 / 3.141592653589793;
    if (theta < 0)
        theta += 180;
    if (theta <= 22.5)
        return 0;
    if (theta <= 67.5)
        return 1;
    if (theta <= 112.5)
        return 2;
    if (theta <= 157.5)
        return 3;
    return 4;
}

namespace {

// The folded angle only moves one way while gy grows with gx fixed (down for
// gx >= 0, up for gx < 0), so its bucket changes at four values of gy at
// most. Those values, found once, replace the arctangent per pixel.
class DirectionTable
{
public:
    DirectionTable()
    {
        for (int negative = 0; negative < 2; ++negative) {
            for (int magnitude = 0; magnitude <= maxGradient; ++magnitude) {
                const int gx = negative ? -magnitude : magnitude;
                for (int k = 1; k <= 4; ++k) {
                    // Smallest gy whose bucket has moved k steps from the
                    // bucket at the lowest gy.
                    auto moved = [&](int gy) {
                        const int bucket = edgeDirectionBucketExact(gx, gy);
                        return negative ? bucket >= k : bucket <= 4 - k;
                    };
                    int low = -maxGradient;
                    int high = maxGradient + 1;
                    while (low < high) {
                        const int middle = low + (high - low) / 2;
                        if (moved(middle))
                            high = middle;
                        else
                            low = middle + 1;
                    }
                    m_starts[negative][magnitude][k - 1] = int16_t(low);
                }
            }
        }
    }

    int bucket(int gx, int gy) const
    {
        const bool negative = gx < 0;
        const int16_t* starts = m_starts[negative][negative ? -gx : gx];
        const int steps
            = (gy >= starts[0]) + (gy >= starts[1]) + (gy >= starts[2]) + (gy >= starts[3]);
        return negative ? steps : 4 - steps;
    }

private:
    int16_t m_starts[2][maxGradient + 1][4];
};

const DirectionTable& directionTable()
{
    static const DirectionTable table;
    return table;
}

// Reads grey rows, (11 R + 16 G + 5 B) >> 5 darkened by alpha, from any image.
class GreyRows
{
public:
    explicit GreyRows(const QImage& input)
        : m_image(input)
    {
        const QImage::Format format = m_image.format();
        if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
            && format != QImage::Format_ARGB32_Premultiplied)
            m_image = m_image.convertToFormat(QImage::Format_ARGB32);
    }

    void read(int y, uint8_t* out) const
    {
        const QRgb* line = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        const int w = m_image.width();
        switch (m_image.format()) {
        case QImage::Format_RGB32:
            for (int x = 0; x < w; ++x)
                out[x] = uint8_t(grey(line[x]));
            break;
        case QImage::Format_ARGB32_Premultiplied:
            for (int x = 0; x < w; ++x)
                out[x] = uint8_t(darkened(qUnpremultiply(line[x])));
            break;
        default:
            for (int x = 0; x < w; ++x)
                out[x] = uint8_t(darkened(line[x]));
            break;
        }
    }

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    static int grey(QRgb p) { return (11 * qRed(p) + 16 * qGreen(p) + 5 * qBlue(p)) >> 5; }

    static int darkened(QRgb p)
    {
        const int g = grey(p);
        const int alpha = qAlpha(p);
        return alpha < 255 ? int(g * (alpha / 255.0)) : g;
    }

    QImage m_image;
};

// Streams the smoothed grey image (kernel 1 2 1 / 2 4 2 / 1 2 1) top to bottom.
// The kernel is separable, so each grey row is summed 1 2 1 across once; a
// border pixel uses only the neighbours inside the image and is divided by
// the weights used (12 on an edge, 9 in a corner, 16 inside).
class SmoothRows
{
public:
    explicit SmoothRows(const QImage& image)
        : m_grey(image)
        , m_w(image.width())
        , m_h(image.height())
        , m_greyRow(m_w)
        , m_above(m_w)
        , m_current(m_w)
        , m_below(m_w)
    {
        if (m_h > 0)
            sumRow(0, m_current);
        if (m_h > 1)
            sumRow(1, m_below);
    }

    // The next smoothed row; rows come in order from 0.
    void next(uint8_t* out)
    {
        const bool top = m_y == 0;
        const bool bottom = m_y == m_h - 1;
        const int* above = m_above.data();
        const int* row = m_current.data();
        const int* below = m_below.data();
        if (!top && !bottom && m_w >= 3) {
            out[0] = uint8_t((above[0] + 2 * row[0] + below[0]) / 12);
            for (int x = 1; x < m_w - 1; ++x)
                out[x] = uint8_t((above[x] + 2 * row[x] + below[x]) >> 4);
            out[m_w - 1] = uint8_t((above[m_w - 1] + 2 * row[m_w - 1] + below[m_w - 1]) / 12);
        } else {
            const int rowWeights = 2 + (top ? 0 : 1) + (bottom ? 0 : 1);
            for (int x = 0; x < m_w; ++x) {
                const int sum = 2 * row[x] + (top ? 0 : above[x]) + (bottom ? 0 : below[x]);
                out[x] = uint8_t(sum / (rowWeights * columnWeights(x)));
            }
        }

        ++m_y;
        std::swap(m_above, m_current);
        std::swap(m_current, m_below);
        if (m_y + 1 < m_h)
            sumRow(m_y + 1, m_below);
    }

private:
    int columnWeights(int x) const { return 2 + (x > 0 ? 1 : 0) + (x < m_w - 1 ? 1 : 0); }

    void sumRow(int y, std::vector<int>& sums)
    {
        m_grey.read(y, m_greyRow.data());
        const uint8_t* g = m_greyRow.data();
        if (m_w == 1) {
            sums[0] = 2 * g[0];
            return;
        }
        sums[0] = 2 * g[0] + g[1];
        for (int x = 1; x < m_w - 1; ++x)
            sums[x] = g[x - 1] + 2 * g[x] + g[x + 1];
        sums[m_w - 1] = g[m_w - 2] + 2 * g[m_w - 1];
    }

    GreyRows m_grey;
    int m_w;
    int m_h;
    int m_y = 0;
    std::vector<uint8_t> m_greyRow;
    std::vector<int> m_above, m_current, m_below;
};

struct GradientRow
{
    std::vector<int> magnitude, gx, gy;
    explicit GradientRow(int w)
        : magnitude(w, 0)
        , gx(w, 0)
        , gy(w, 0)
    { }
};

void computeGradients(
    const uint8_t* s0, const uint8_t* s1, const uint8_t* s2, int w, GradientRow& row)
{
    int* magnitude = row.magnitude.data();
    int* gxs = row.gx.data();
    int* gys = row.gy.data();
    magnitude[0] = magnitude[w - 1] = 0;
    // The middle row compares the right neighbour with the pixel itself, and
    // is left out in the first inner column.
    for (int x = 1; x < w - 1; ++x) {
        const int gy = (s2[x - 1] + 2 * s2[x] + s2[x + 1]) - (s0[x - 1] + 2 * s0[x] + s0[x + 1]);
        const int middle = 2 * (s1[x + 1] - s1[x]);
        const int gx = (s0[x + 1] + s2[x + 1]) - (s0[x - 1] + s2[x - 1]) + (x == 1 ? 0 : middle);
        magnitude[x] = std::abs(gx) + std::abs(gy);
        gxs[x] = gx;
        gys[x] = gy;
    }
}

// Non-maximum suppression of one row, in place and left to right: the row
// above and the left neighbour are already suppressed, the rest is not.
// Branch-free, since on photographs the outcome is close to a coin toss.
void suppressRow(const std::vector<int>& above, GradientRow& current, const std::vector<int>& below,
    int w, int low)
{
    // The neighbour pair compared per direction bucket, as (row, column
    // offset) with rows 0 above, 1 this one, 2 below: vertical, the 45 degree
    // diagonal, horizontal, the 135 degree diagonal, vertical.
    static constexpr int pairRows[5][2] = { { 0, 2 }, { 0, 2 }, { 1, 1 }, { 0, 2 }, { 0, 2 } };
    static constexpr int pairColumns[5][2]
        = { { 0, 0 }, { -1, 1 }, { -1, 1 }, { 1, -1 }, { 0, 0 } };

    const DirectionTable& directions = directionTable();
    int* m = current.magnitude.data();
    const int* gxs = current.gx.data();
    const int* gys = current.gy.data();
    const int* rows[3] = { above.data(), m, below.data() };
    for (int x = 1; x < w - 1; ++x) {
        // Smooth stretches are suppressed four pixels at a time.
        if (x + 4 < w && m[x] < low && m[x + 1] < low && m[x + 2] < low && m[x + 3] < low) {
            m[x] = m[x + 1] = m[x + 2] = m[x + 3] = 0;
            x += 3;
            continue;
        }
        const int value = m[x];
        const int bucket = directions.bucket(gxs[x], gys[x]);
        const int first = rows[pairRows[bucket][0]][x + pairColumns[bucket][0]];
        const int second = rows[pairRows[bucket][1]][x + pairColumns[bucket][1]];
        m[x] = ((value < low) | (first > value) | (second > value)) ? 0 : value;
    }
}

// Values of the inner pixels of one output row: the capped magnitude where the
// pixel or one of its neighbours is a strong edge, else 0.
void thresholdRow(const std::vector<int>& above, const std::vector<int>& row,
    const std::vector<int>& below, std::vector<int>& columnMax, int high,
    std::vector<uint8_t>& values)
{
    const int w = int(row.size());
    for (int x = 0; x < w; ++x)
        columnMax[x] = std::max(std::max(above[x], row[x]), std::max(below[x], 0));
    for (int x = 1; x < w - 1; ++x) {
        const int mx = std::max(std::max(columnMax[x - 1], columnMax[x]), columnMax[x + 1]);
        values[x] = mx >= high ? uint8_t(std::min(row[x], 255)) : 0;
    }
}

// Runs the detector over an image of at least 3 x 3 pixels and hands every
// inner output row to rowDone(y, values); borders are always black.
template <typename RowSink>
void runDetector(const QImage& rgb, int low, int high, RowSink&& rowDone)
{
    const int w = rgb.width();
    const int h = rgb.height();
    SmoothRows smooth(rgb);
    std::vector<uint8_t> s0(w), s1(w), s2(w);
    smooth.next(s0.data());
    smooth.next(s1.data());
    smooth.next(s2.data());

    // Rows y - 2, y - 1 (suppressed), y (being suppressed) and y + 1 (raw):
    // suppression looks one row ahead, thresholding one row behind.
    GradientRow twoAbove(w), above(w), current(w), below(w);
    std::vector<int> columnMax(w);
    std::vector<uint8_t> values(w, 0);
    computeGradients(s0.data(), s1.data(), s2.data(), w, current);
    for (int y = 1; y <= h - 2; ++y) {
        if (y + 1 <= h - 2) {
            std::swap(s0, s1);
            std::swap(s1, s2);
            smooth.next(s2.data());
            computeGradients(s0.data(), s1.data(), s2.data(), w, below);
        } else {
            std::fill(below.magnitude.begin(), below.magnitude.end(), 0);
        }
        suppressRow(above.magnitude, current, below.magnitude, w, low);
        if (y >= 2) {
            thresholdRow(
                twoAbove.magnitude, above.magnitude, current.magnitude, columnMax, high, values);
            rowDone(y - 1, values);
        }
        std::swap(twoAbove, above);
        std::swap(above, current);
        std::swap(current, below);
    }
    thresholdRow(twoAbove.magnitude, above.magnitude, current.magnitude, columnMax, high, values);
    rowDone(h - 2, values);
}

} // namespace

int edgeDirectionBucket(int gx, int gy)
{
    return directionTable().bucket(gx, gy);
}

QImage smoothGrey(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    if (w < 2 || h < 2)
        return image;

    QImage out(w, h, QImage::Format_RGB32);
    SmoothRows smooth(image);
    std::vector<uint8_t> values(w);
    for (int y = 0; y < h; ++y) {
        smooth.next(values.data());
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
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
    runDetector(rgb, low, high, [&](int y, const std::vector<uint8_t>& values) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 1; x < w - 1; ++x)
            line[x] = qRgb(values[x], values[x], values[x]);
    });
    return out;
}

qint64 countEdgePixels(const QImage& image, int low, int high, int threshold)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    // The output's border is black.
    qint64 count
        = threshold < 0 ? qint64(w) * h - qint64(std::max(w - 2, 0)) * std::max(h - 2, 0) : 0;
    if (w < 3 || h < 3)
        return count;
    runDetector(rgb, low, high, [&](int, const std::vector<uint8_t>& values) {
        int row = 0;
        for (int x = 1; x < w - 1; ++x)
            row += values[x] > threshold;
        count += row;
    });
    return count;
}

} // namespace veldra
