#include "integralimage.h"

namespace veldra {

namespace {

struct GreyWeights
{
    // The three products take the same bits from a table as from a multiply;
    // only the additions must stay in their order.
    double red[256];
    double green[256];
    double blue[256];

    GreyWeights()
    {
        for (int v = 0; v < 256; ++v) {
            red[v] = 0.3 * v;
            green[v] = 0.59 * v;
            blue[v] = 0.11 * v;
        }
    }

    // Running row sum after pixel p, truncated after the addition.
    qint64 add(qint64 running, QRgb p) const
    {
        const double grey = green[qGreen(p)] + red[qRed(p)] + blue[qBlue(p)];
        return qint64(double(running) + grey);
    }
};

} // namespace

IntegralImage::IntegralImage(const QImage& input, bool redChannel)
{
    const QImage image = input.format() == QImage::Format_RGB32
        ? input
        : input.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return;
    m_width = image.width();
    m_height = image.height();
    // Every entry is written below; zero-filling 8 bytes per pixel first would
    // cost a pass over the whole table.
    m_sums.reset(new qint64[size_t(m_width) * size_t(m_height)]);
    static const GreyWeights weights;

    const auto line = [&](int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); };
    const auto row = [&](int y) { return m_sums.get() + size_t(y) * size_t(m_width); };

    int y = 0;
    if (!redChannel) {
        // Each row's running sum is one long chain of dependent conversions;
        // four rows at a time keep the processor busy.
        for (; y + 4 <= m_height; y += 4) {
            const QRgb* l0 = line(y);
            const QRgb* l1 = line(y + 1);
            const QRgb* l2 = line(y + 2);
            const QRgb* l3 = line(y + 3);
            qint64* r0 = row(y);
            qint64* r1 = row(y + 1);
            qint64* r2 = row(y + 2);
            qint64* r3 = row(y + 3);
            const qint64* above = y > 0 ? row(y - 1) : nullptr;
            qint64 s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (int x = 0; x < m_width; ++x) {
                s0 = weights.add(s0, l0[x]);
                s1 = weights.add(s1, l1[x]);
                s2 = weights.add(s2, l2[x]);
                s3 = weights.add(s3, l3[x]);
                r0[x] = above ? s0 + above[x] : s0;
                r1[x] = s1 + r0[x];
                r2[x] = s2 + r1[x];
                r3[x] = s3 + r2[x];
            }
        }
    }
    for (; y < m_height; ++y) {
        const QRgb* pixels = line(y);
        qint64* sums = row(y);
        const qint64* above = y > 0 ? row(y - 1) : nullptr;
        qint64 running = 0;
        for (int x = 0; x < m_width; ++x) {
            running = redChannel ? running + qRed(pixels[x]) : weights.add(running, pixels[x]);
            sums[x] = above ? running + above[x] : running;
        }
    }
}

} // namespace veldra
