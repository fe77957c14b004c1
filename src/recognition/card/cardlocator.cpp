#include "cardlocator.h"

#include <array>
#include <cmath>

namespace veldra {

namespace {

struct AngleTables
{
    std::array<double, CardLocator::angleSteps> cosine {};
    std::array<double, CardLocator::angleSteps> sine {};
    AngleTables()
    {
        for (int k = 0; k < CardLocator::angleSteps; ++k) {
            cosine[size_t(k)] = std::cos(k * 0.01);
            sine[size_t(k)] = std::sin(k * 0.01);
        }
    }
};

const AngleTables& angles()
{
    static const AngleTables tables;
    return tables;
}

constexpr uint32_t lineMark = 0xFFFA0000u;
constexpr uint32_t crossingMark = 0xFF00FA00u;

bool isMarked(const CardImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    return ((image.pixel(x, y) >> 16) & 0xFFu) == 250;
}

} // namespace

CardImage CardLocator::locate(const CardImage& grey)
{
    m_crossings.clear();
    if (grey.isEmpty())
        return grey;
    const bool byWidth = grey.width() > grey.height();
    const float factor = float(byWidth ? grey.width() : grey.height()) / 250.0f;
    CardImage coarse = byWidth ? grey.scaledToWidth(coarseSide) : grey.scaledToHeight(coarseSide);
    if (coarse.isEmpty())
        return grey;
    coarse = coarse.smoothed();
    coarse.applyEdgeMap(edgeThreshold);

    accumulate(coarse);
    filter(coarse.width(), coarse.height());
    suppress(0, 0);
    suppress(15, 0);
    suppress(0, 15);
    findCrossings(coarse.width(), coarse.height());
    if (m_crossings.empty())
        return grey;

    const int w = int(grey.width() / factor);
    const int h = int(grey.height() / factor);
    const int cx = int(0.5 * w);
    const int cy = int(0.5 * h);
    int left = w;
    int right = 0;
    int top = h;
    int bottom = 0;
    for (const auto& [x, y] : m_crossings) {
        if (x < left && x < cx)
            left = x;
        if (x > right && x > cx)
            right = x;
        if (y < top && y < cy)
            top = y;
        if (y > bottom && y > cy)
            bottom = y;
    }
    if (!(left != right && right >= 1.5 * cx))
        right = w;
    if (!(top != bottom && bottom >= 1.5 * cy))
        bottom = h;
    if (top > 0.5 * cy)
        top = 0;
    if (left > 0.5 * cx)
        left = 0;
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;

    const int x0 = int(left * factor);
    const int y0 = int(top * factor);
    const int x1 = int(right * factor);
    const int y1 = int(bottom * factor);
    // Rounding can push the far edge a pixel past the photo; copy() clips it.
    // A rectangle with nothing inside keeps the whole photo.
    CardImage card = grey.copy(x0, y0, x1 - x0, y1 - y0);
    if (card.isEmpty())
        return grey;
    return card;
}

void CardLocator::accumulate(const CardImage& edges)
{
    const int w = edges.width();
    const int h = edges.height();
    const int diagonal = int(std::sqrt(double(w) * w + double(h) * h));
    m_offset = diagonal;
    m_distances = 2 * diagonal + 1;
    m_votes.assign(size_t(m_distances) * angleSteps, 0.0);
    const AngleTables& table = angles();
    for (int x = 0; x < w; ++x) {
        const bool sideColumn = x < 0.25 * w || x >= 0.75 * w;
        const std::vector<uint32_t>& column = edges.column(x);
        for (int y = 0; y < h; ++y) {
            if (column[size_t(y)] != 0xFFFFFFFFu)
                continue;
            if (!sideColumn && !(y < 0.25 * h || y >= 0.75 * h))
                continue;
            for (int k = 0; k < angleSteps; ++k) {
                const int d
                    = int(x * table.cosine[size_t(k)] + y * table.sine[size_t(k)] + m_offset);
                if (d >= 0 && d < m_distances)
                    m_votes[size_t(d) * angleSteps + size_t(k)] += 1.0;
            }
        }
    }
}

void CardLocator::filter(int width, int height)
{
    const bool square = 0.9 * height < width && width < 1.1 * height;
    const bool landscape = width > height;
    // The short sides of an oblong card collect fewer votes than the long
    // ones; they are weighted up by the aspect ratio.
    const double weight = landscape ? double(width) / height : double(height) / width;
    const double minimum = 0.5 * m_offset;
    for (int d = 0; d < m_distances; ++d) {
        for (int k = 0; k < angleSteps; ++k) {
            double& vote = m_votes[size_t(d) * angleSteps + size_t(k)];
            if (!square) {
                const bool family = landscape ? (k < 78 || k > 235) : (k >= 79 && k < 236);
                if (family)
                    vote *= weight;
            }
            if (vote < minimum)
                vote = 0;
        }
    }
}

void CardLocator::suppress(int distanceShift, int angleShift)
{
    constexpr int block = 30;
    for (int d0 = distanceShift - (distanceShift > 0 ? block : 0); d0 < m_distances; d0 += block) {
        for (int k0 = angleShift - (angleShift > 0 ? block : 0); k0 < angleSteps; k0 += block) {
            const int d1 = std::min(d0 + block, m_distances);
            const int k1 = std::min(k0 + block, angleSteps);
            double best = 0;
            int bestD = -1;
            int bestK = -1;
            for (int d = std::max(d0, 0); d < d1; ++d)
                for (int k = std::max(k0, 0); k < k1; ++k) {
                    const double v = m_votes[size_t(d) * angleSteps + size_t(k)];
                    if (v > best) {
                        best = v;
                        bestD = d;
                        bestK = k;
                    }
                }
            for (int d = std::max(d0, 0); d < d1; ++d)
                for (int k = std::max(k0, 0); k < k1; ++k)
                    if (d != bestD || k != bestK)
                        m_votes[size_t(d) * angleSteps + size_t(k)] = 0;
        }
    }
}

void CardLocator::findCrossings(int width, int height)
{
    CardImage marks(width, height);
    const AngleTables& table = angles();
    bool crossed = false;
    auto visit = [&](int x, int y, int nx1, int ny1, int nx2, int ny2) {
        if (!isMarked(marks, x, y)) {
            marks.setPixel(x, y, lineMark);
            crossed = false;
            return;
        }
        if (isMarked(marks, nx1, ny1) || isMarked(marks, nx2, ny2)) {
            if (!crossed) {
                m_crossings.emplace_back(x, y);
                crossed = true;
                marks.setPixel(x, y, crossingMark);
            }
            return;
        }
        marks.setPixel(x, y, lineMark);
        crossed = false;
    };
    for (int d = 0; d < m_distances; ++d) {
        for (int k = 0; k < angleSteps; ++k) {
            if (m_votes[size_t(d) * angleSteps + size_t(k)] < 1)
                continue;
            const double rho = d - m_offset;
            const double c = table.cosine[size_t(k)];
            const double s = table.sine[size_t(k)];
            if (k < 79 || k > 235) {
                for (int y = 0; y < height; ++y) {
                    const int x = int((rho - y * s) / c);
                    if (x >= 0 && x < width - 1)
                        visit(x, y, x - 1, y, x + 1, y);
                }
            } else {
                for (int x = 0; x < width; ++x) {
                    const int y = int((rho - x * c) / s);
                    if (y >= 1 && y < height - 1)
                        visit(x, y, x, y - 1, x, y + 1);
                }
            }
        }
    }
}

} // namespace veldra
