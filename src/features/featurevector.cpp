#include "featurevector.h"

#include "colorbins.h"
#include "edgedetector.h"
#include "indexing/imageloader.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <climits>

namespace veldra {

namespace {

// Pixels are read as non-premultiplied 32-bit ARGB.
QImage asArgb32(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int hsvHue(int red, int green, int blue)
{
    // The same single-precision steps as QColor's HSV conversion, so that the
    // rounding of every colour comes out identical.
    static const std::array<float, 256> channels = [] {
        std::array<float, 256> values;
        for (int c = 0; c < 256; ++c)
            values[c] = (c * 0x101) / float(USHRT_MAX);
        return values;
    }();
    const float r = channels[red];
    const float g = channels[green];
    const float b = channels[blue];
    const float max = std::max({ r, g, b });
    const float min = std::min({ r, g, b });
    const float delta = max - min;
    if (delta == 0.0f)
        return -1;
    float hue;
    if (r == max)
        hue = (g - b) / delta;
    else if (g == max)
        hue = 2.0f + (b - r) / delta;
    else
        hue = 4.0f + (r - g) / delta;
    hue *= 60.0f;
    if (hue < 0.0f)
        hue += 360.0f;
    return qRound(hue * 100.0f) / 100;
}

double FeatureVector::edgeDensity(const QImage& image)
{
    const qint64 strong = countEdgePixels(image, 20, 58, 50);
    const double v = strong / double(qint64(image.width()) * image.height()) * 260.0;
    return v > 100.0 ? 100.0 : v; // an empty image keeps its NaN
}

double FeatureVector::colorTemperature(const QImage& input)
{
    const QImage image = asArgb32(input);
    const int w = image.width();
    const int h = image.height();
    qint64 sum = 0;
    QRgb previous = 0;
    int previousTerm = -10; // term of black, the colour before the first pixel
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x] & 0xffffff;
            // Neighbouring pixels often share their colour.
            if (p != previous) {
                previous = p;
                const int hue = hsvHue(qRed(p), qGreen(p), qBlue(p));
                if (hue < 0)
                    previousTerm = -10;
                else if (hue >= 315)
                    previousTerm = hue - 315;
                else if (hue <= 45)
                    previousTerm = 45 - hue;
                else if (hue >= 135 && hue <= 225)
                    previousTerm = hue < 180 ? 135 - hue : hue - 225;
                else
                    previousTerm = 0;
            }
            sum += previousTerm;
        }
    }
    return sum / double(qint64(w) * h) * 2.2222222222;
}

QVector<QPair<int, int>> FeatureVector::computeColorWeights(const QImage& input)
{
    const QImage image = asArgb32(input);
    const int w = image.width();
    const int h = image.height();
    std::array<qint64, 556> counts {};
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            ++counts[colorBinKey(line[x])];
    }

    const qint64 pixels = qint64(w) * h;
    std::array<int, 556> accumulated {};
    const QVector<int>& bins = colorBinKeys();
    for (int key : bins) {
        if (counts[key] == 0)
            continue;
        const int percent = int(counts[key] * 100 / pixels);
        if (percent == 0)
            continue;
        for (int bin : bins) {
            const int weight = int(colorBinWeight(bin, key) * percent);
            if (weight > 0)
                accumulated[bin] += weight;
        }
    }

    QVector<QPair<int, int>> weights;
    for (int bin : bins)
        if (accumulated[bin] > 0)
            weights.append({ bin, accumulated[bin] });
    return weights;
}

FeatureVector::FeatureVector(const QString& path, const QImage* image)
    : fileName(path)
{
    const QImage loaded = image ? QImage() : loadImage(path);
    const QImage& picture = image ? *image : loaded;

    width = picture.width();
    height = picture.height();
    // The column is 32 bits wide; larger files are recorded at its maximum.
    bytes = int(std::min<qint64>(QFileInfo(path).size(), INT_MAX));
    rgn = edgeDensity(picture);
    temperature = colorTemperature(picture);
    colorWeights = computeColorWeights(picture);
}

} // namespace veldra
