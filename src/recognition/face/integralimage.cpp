#include "integralimage.h"

#include <array>

namespace veldra {

IntegralImage::IntegralImage(const QImage& input, bool redChannel)
{
    const QImage image = input.format() == QImage::Format_RGB32
        ? input
        : input.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return;
    m_width = image.width();
    m_height = image.height();
    m_sums.resize(size_t(m_width) * size_t(m_height));

    // The three products take the same bits from a table as from a multiply;
    // only the additions must stay in their order.
    std::array<double, 256> redWeight;
    std::array<double, 256> greenWeight;
    std::array<double, 256> blueWeight;
    for (int v = 0; v < 256; ++v) {
        redWeight[v] = 0.3 * v;
        greenWeight[v] = 0.59 * v;
        blueWeight[v] = 0.11 * v;
    }

    for (int y = 0; y < m_height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        qint64* row = m_sums.data() + size_t(y) * size_t(m_width);
        const qint64* above = y > 0 ? row - m_width : nullptr;
        qint64 running = 0;
        for (int x = 0; x < m_width; ++x) {
            const QRgb p = line[x];
            if (redChannel) {
                running += qRed(p);
            } else {
                const double grey
                    = greenWeight[qGreen(p)] + redWeight[qRed(p)] + blueWeight[qBlue(p)];
                running = qint64(double(running) + grey);
            }
            row[x] = above ? running + above[x] : running;
        }
    }
}

int IntegralImage::mean(int x1, int y1, int x2, int y2) const
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
    return int(total / area);
}

} // namespace veldra
