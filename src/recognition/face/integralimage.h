#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

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
    std::vector<qint64> m_sums;
    int m_height = 0;
};

} // namespace veldra
