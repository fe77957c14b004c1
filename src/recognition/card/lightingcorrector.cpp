#include "lightingcorrector.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace veldra {

bool LightingCorrector::flatten(CardImage& grey)
{
    const int w = grey.width();
    const int h = grey.height();
    const int block = std::max(8, std::max(w, h) / 40);
    const int bw = (w + block - 1) / block;
    const int bh = (h + block - 1) / block;
    if (bw < 4 || bh < 4)
        return false;

    // Paper level of each block: a high percentile, so that text does not
    // pull it down.
    std::vector<float> paper(size_t(bw) * size_t(bh), 0.0f);
    int histogram[256];
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            std::fill(std::begin(histogram), std::end(histogram), 0);
            long count = 0;
            for (int x = bx * block; x < std::min(w, (bx + 1) * block); x += 2)
                for (int y = by * block; y < std::min(h, (by + 1) * block); y += 2) {
                    ++histogram[grey.grey(x, y)];
                    ++count;
                }
            paper[size_t(by) * size_t(bw) + size_t(bx)]
                = float(histogramPercentile(histogram, count, 0.9));
        }
    // Smooth the level map: lighting changes slowly.
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<float> next(paper.size());
        for (int by = 0; by < bh; ++by)
            for (int bx = 0; bx < bw; ++bx) {
                float sum = 0;
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int x = bx + dx;
                        const int y = by + dy;
                        if (x < 0 || y < 0 || x >= bw || y >= bh)
                            continue;
                        sum += paper[size_t(y) * size_t(bw) + size_t(x)];
                        ++n;
                    }
                next[size_t(by) * size_t(bw) + size_t(bx)] = sum / float(n);
            }
        paper.swap(next);
    }

    // Only the inner part decides whether the lighting is uneven: the
    // border may still show some of the table.
    float lowest = 255;
    float highest = 0;
    for (int by = bh / 5; by < bh - bh / 5; ++by)
        for (int bx = bw / 5; bx < bw - bw / 5; ++bx) {
            const float v = paper[size_t(by) * size_t(bw) + size_t(bx)];
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
    if (lowest <= 0 || highest < 1.2f * lowest)
        return false;

    for (int x = 0; x < w; ++x) {
        const float fx = std::clamp((x + 0.5f) / float(block) - 0.5f, 0.0f, float(bw - 1));
        const int x0 = std::min(int(fx), bw - 2);
        const float ax = fx - float(x0);
        std::vector<uint32_t>& column = grey.column(x);
        for (int y = 0; y < h; ++y) {
            const float fy = std::clamp((y + 0.5f) / float(block) - 0.5f, 0.0f, float(bh - 1));
            const int y0 = std::min(int(fy), bh - 2);
            const float ay = fy - float(y0);
            const float* row0 = paper.data() + size_t(y0) * size_t(bw);
            const float* row1 = row0 + bw;
            const float level = (row0[x0] * (1 - ax) + row0[x0 + 1] * ax) * (1 - ay)
                + (row1[x0] * (1 - ax) + row1[x0 + 1] * ax) * ay;
            const int g = int((column[size_t(y)] >> 16) & 0xFFu);
            const int v = level > 1 ? int(float(g) * 240.0f / level) : g;
            column[size_t(y)] = CardImage::greyPixel(std::clamp(v, 0, 255));
        }
    }
    return true;
}

} // namespace veldra
