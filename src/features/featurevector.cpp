#include "featurevector.h"

#include "colorbins.h"
#include "edgedetector.h"
#include "indexing/imageloader.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

namespace {

// Channel values as QColor's HSV conversion sees them.
const std::array<float, 256>& channelFloats()
{
    static const std::array<float, 256> channels = [] {
        std::array<float, 256> values;
        for (int c = 0; c < 256; ++c)
            values[c] = (c * 0x101) / float(USHRT_MAX);
        return values;
    }();
    return channels;
}

// How much a hue warms (> 0) or cools (< 0) the picture; index hue + 1, so
// that greys (hue -1) count -10.
const std::array<int8_t, 361>& temperatureTerms()
{
    static const std::array<int8_t, 361> terms = [] {
        std::array<int8_t, 361> values;
        values[0] = -10;
        for (int h = 0; h < 360; ++h) {
            int term = 0;
            if (h >= 315)
                term = h - 315;
            else if (h <= 45)
                term = 45 - h;
            else if (h >= 135 && h <= 225)
                term = h < 180 ? 135 - h : h - 225;
            values[h + 1] = int8_t(term);
        }
        return values;
    }();
    return terms;
}

} // namespace

int hsvHue(int red, int green, int blue)
{
    // The same single-precision steps as QColor's HSV conversion, so that the
    // rounding of every colour comes out identical.
    const std::array<float, 256>& channels = channelFloats();
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

void hsvHues(const QRgb* pixels, qsizetype count, int* hues)
{
    qsizetype i = 0;
#ifdef __SSE2__
    // Four pixels at a time through the very same IEEE single-precision
    // operations as hsvHue, so every lane rounds as the scalar code does.
    const std::array<float, 256>& channels = channelFloats();
    for (; i + 4 <= count; i += 4) {
        alignas(16) float reds[4], greens[4], blues[4];
        for (int k = 0; k < 4; ++k) {
            const QRgb p = pixels[i + k];
            reds[k] = channels[qRed(p)];
            greens[k] = channels[qGreen(p)];
            blues[k] = channels[qBlue(p)];
        }
        const __m128 r = _mm_load_ps(reds);
        const __m128 g = _mm_load_ps(greens);
        const __m128 b = _mm_load_ps(blues);
        const __m128 max = _mm_max_ps(_mm_max_ps(r, g), b);
        const __m128 min = _mm_min_ps(_mm_min_ps(r, g), b);
        const __m128 delta = _mm_sub_ps(max, min);
        const __m128 redMax = _mm_cmpeq_ps(r, max);
        const __m128 greenMax = _mm_andnot_ps(redMax, _mm_cmpeq_ps(g, max));
        const __m128 blueMax
            = _mm_andnot_ps(_mm_or_ps(redMax, greenMax), _mm_castsi128_ps(_mm_set1_epi32(-1)));
        const __m128 numerator = _mm_or_ps(
            _mm_or_ps(_mm_and_ps(redMax, _mm_sub_ps(g, b)), _mm_and_ps(greenMax, _mm_sub_ps(b, r))),
            _mm_and_ps(blueMax, _mm_sub_ps(r, g)));
        const __m128 offset = _mm_or_ps(
            _mm_and_ps(greenMax, _mm_set1_ps(2.0f)), _mm_and_ps(blueMax, _mm_set1_ps(4.0f)));
        // Adding 0 to the red sector's quotient changes nothing that counts.
        __m128 hue
            = _mm_mul_ps(_mm_add_ps(offset, _mm_div_ps(numerator, delta)), _mm_set1_ps(60.0f));
        hue = _mm_add_ps(hue, _mm_and_ps(_mm_cmplt_ps(hue, _mm_setzero_ps()), _mm_set1_ps(360.0f)));
        const __m128i rounded
            = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(hue, _mm_set1_ps(100.0f)), _mm_set1_ps(0.5f)));
        // The hundredths are below 36000, so their float quotient by 100
        // truncates to the same whole degrees as integer division.
        const __m128i degrees
            = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(rounded), _mm_set1_ps(100.0f)));
        const __m128i grey = _mm_castps_si128(_mm_cmpeq_ps(delta, _mm_setzero_ps()));
        const __m128i result = _mm_or_si128(_mm_andnot_si128(grey, degrees), grey); // grey: -1
        _mm_storeu_si128(reinterpret_cast<__m128i*>(hues + i), result);
    }
#endif
    for (; i < count; ++i)
        hues[i] = hsvHue(qRed(pixels[i]), qGreen(pixels[i]), qBlue(pixels[i]));
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
    const std::array<int8_t, 361>& terms = temperatureTerms();
    std::vector<int> hues(w);
    qint64 sum = 0;
    for (int y = 0; y < h; ++y) {
        hsvHues(reinterpret_cast<const QRgb*>(image.constScanLine(y)), w, hues.data());
        int row = 0;
        for (int x = 0; x < w; ++x)
            row += terms[hues[x] + 1];
        sum += row;
    }
    return sum / double(qint64(w) * h) * 2.2222222222;
}

QVector<QPair<int, int>> FeatureVector::computeColorWeights(const QImage& input)
{
    const QImage image = asArgb32(input);
    const int w = image.width();
    const int h = image.height();
    // Bin keys through per-channel tables: the same value / 43 levels.
    static const auto levels = [] {
        std::array<std::array<uint16_t, 256>, 3> table;
        for (int v = 0; v < 256; ++v) {
            table[0][v] = uint16_t(v / 43 * 100);
            table[1][v] = uint16_t(v / 43 * 10);
            table[2][v] = uint16_t(v / 43);
        }
        return table;
    }();
    std::array<qint64, 556> counts {};
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            ++counts[levels[0][qRed(p)] + levels[1][qGreen(p)] + levels[2][qBlue(p)]];
        }
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
