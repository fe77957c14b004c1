#include "skewcorrector.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace veldra {

double SkewCorrector::estimate(const CardImage& grey, double maxDegrees)
{
    const int w = grey.width();
    const int h = grey.height();
    if (w < 16 || h < 16)
        return 0;
    // Ink is what is clearly darker than the paper: halfway between the
    // darkest few pixels and the typical (paper) level of the middle part.
    int histogram[256] = {};
    long total = 0;
    for (int x = w / 20; x < w - w / 20; x += 2)
        for (int y = h / 20; y < h - h / 20; y += 2) {
            ++histogram[grey.grey(x, y)];
            ++total;
        }
    const int darkest = histogramPercentile(histogram, total, 0.01);
    const int paper = histogramPercentile(histogram, total, 0.6);
    if (paper - darkest < 40)
        return 0;
    const int threshold = (darkest + paper) / 2;
    // Ink of the central part only: remains of the table at the border are
    // no text.
    std::vector<std::pair<int, int>> ink;
    for (int x = w / 20; x < w - w / 20; x += 2)
        for (int y = h / 20; y < h - h / 20; ++y)
            if (grey.grey(x, y) < threshold)
                ink.emplace_back(x, y);
    if (ink.size() < 50 || ink.size() > size_t(w) * size_t(h) / 6)
        return 0;

    const double pi = 3.141592653589793;
    const int shift = int(std::ceil(w * std::tan(maxDegrees * pi / 180.0))) + 1;
    std::vector<int> profile(size_t(h + 2 * shift), 0);
    auto sharpness = [&](double degrees) {
        const double slope = std::tan(degrees * pi / 180.0);
        std::fill(profile.begin(), profile.end(), 0);
        for (const auto& [x, y] : ink)
            ++profile[size_t(int(std::lround(y - x * slope)) + shift)];
        double sum = 0;
        for (int v : profile)
            sum += double(v) * v;
        return sum;
    };
    double best = 0;
    double bestScore = sharpness(0) * 1.001;
    for (double a = -maxDegrees; a <= maxDegrees + 1e-9; a += 0.25) {
        const double s = sharpness(a);
        if (s > bestScore) {
            bestScore = s;
            best = a;
        }
    }
    const double coarse = best;
    for (double a = coarse - 0.2; a <= coarse + 0.2 + 1e-9; a += 0.05) {
        const double s = sharpness(a);
        if (s > bestScore) {
            bestScore = s;
            best = a;
        }
    }
    return best;
}

CardImage SkewCorrector::rotate(const CardImage& grey, double degrees)
{
    const int w = grey.width();
    const int h = grey.height();
    if (w == 0 || h == 0)
        return grey;
    const double radians = degrees * 3.141592653589793 / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double cx = 0.5 * (w - 1);
    const double cy = 0.5 * (h - 1);
    CardImage result(w, h);
    for (int x = 0; x < w; ++x) {
        std::vector<uint32_t>& column = result.column(x);
        const double dx = x - cx;
        for (int y = 0; y < h; ++y) {
            const double dy = y - cy;
            const double sx = std::clamp(cx + dx * c - dy * s, 0.0, double(w - 1));
            const double sy = std::clamp(cy + dx * s + dy * c, 0.0, double(h - 1));
            const int x0 = std::min(int(sx), w - 2 < 0 ? 0 : w - 2);
            const int y0 = std::min(int(sy), h - 2 < 0 ? 0 : h - 2);
            const int x1 = std::min(x0 + 1, w - 1);
            const int y1 = std::min(y0 + 1, h - 1);
            const double fx = sx - x0;
            const double fy = sy - y0;
            const double top = grey.grey(x0, y0) * (1 - fx) + grey.grey(x1, y0) * fx;
            const double bottom = grey.grey(x0, y1) * (1 - fx) + grey.grey(x1, y1) * fx;
            column[size_t(y)] = CardImage::greyPixel(int(top * (1 - fy) + bottom * fy + 0.5));
        }
    }
    return result;
}

} // namespace veldra
