#pragma once

#include <QImage>

#include <memory>

namespace veldra {

// Summed-area table of an image's grey values (or of its red channel) with
// constant-time means of rectangles.
class IntegralImage
{
public:
    IntegralImage() = default;

    // redChannel false: grey = 0.59 G + 0.3 R + 0.11 B, each row's running sum
    // truncated to an integer after every pixel. redChannel true: the red
    // channel as it is.
    IntegralImage(const QImage& image, bool redChannel);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Sum over the inclusive rectangle [0..x] x [0..y].
    qint64 sum(int x, int y) const { return m_sums[size_t(y) * size_t(m_width) + size_t(x)]; }

    // Mean over the inclusive rectangle [x1..x2] x [y1..y2], integer division.
    // Returns 0 when x2 - x1 or y2 - y1 is 0 (a rectangle one pixel wide or
    // high) and -1 when a corner lies outside the image.
    int mean(int x1, int y1, int x2, int y2) const;

private:
    int m_width = 0;
    // 64-bit: the sums of a photograph above about 8 megapixels exceed 2^31.
    std::unique_ptr<qint64[]> m_sums;
    int m_height = 0;
};

// Inline: the face cascade calls it some fifty times per window.
inline int IntegralImage::mean(int x1, int y1, int x2, int y2) const
{
    const qint64 w = qint64(x2) - x1;
    const qint64 h = qint64(y2) - y1;
    if (w * h < 1)
        return 0;
    if (x1 < 0 || y1 < 0 || x2 >= m_width || y2 >= m_height)
        return -1;
    // A reversed rectangle (both sides negative) would otherwise divide by
    // zero or read outside the table.
    const qint64 area = (w + 1) * (h + 1);
    if (area == 0)
        return 0;
    if (x2 < 0 || y2 < 0 || x1 >= m_width || y1 >= m_height)
        return -1;
    qint64 total = sum(x2, y2);
    if (x1 > 0)
        total -= sum(x1 - 1, y2);
    if (y1 > 0)
        total -= sum(x2, y1 - 1);
    if (x1 > 0 && y1 > 0)
        total += sum(x1 - 1, y1 - 1);
    // Same as the integer division: both are exact doubles far below 2^53, and
    // a quotient just under an integer stays under it (it is at least
    // 1 / area away, far more than the rounding error). A 64-bit division
    // costs several times as much.
    return int(total / area);
}

} // namespace veldra
