#include "candidatefilter.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace veldra {

QVector<QRect> confirmedCandidates(const QVector<QRect>& candidates)
{
    // Candidates sorted by left edge, so each one looks only at those whose
    // left edge is close enough; a plain pairwise search is quadratic in the
    // number of windows that passed the cascade.
    const qsizetype n = candidates.size();
    std::vector<qsizetype> byLeft(n);
    std::iota(byLeft.begin(), byLeft.end(), 0);
    std::stable_sort(byLeft.begin(), byLeft.end(),
        [&](qsizetype a, qsizetype b) { return candidates[a].x() < candidates[b].x(); });
    std::vector<int> lefts(n);
    for (qsizetype k = 0; k < n; ++k)
        lefts[k] = candidates[byLeft[k]].x();

    QVector<QRect> confirmed;
    for (qsizetype i = 0; i < n; ++i) {
        const QRect& c = candidates[i];
        const int t = int(0.39 * c.width());
        if (t <= 0)
            continue;
        // Left edges strictly within t: from x - t + 1 to x + t - 1.
        auto k = std::lower_bound(lefts.begin(), lefts.end(), qint64(c.x()) - t + 1,
                     [](int left, qint64 value) { return left < value; })
            - lefts.begin();
        bool found = false;
        for (; k < n && qint64(lefts[k]) < qint64(c.x()) + t; ++k) {
            const qsizetype j = byLeft[k];
            if (j == i)
                continue;
            const QRect& o = candidates[j];
            if (std::abs(qint64(o.y()) - c.y()) < t
                && std::abs(qint64(o.width()) - c.width()) < t) {
                found = true;
                break;
            }
        }
        if (found)
            confirmed.append(c);
    }
    return confirmed;
}

QVector<QVector<QRect>> clusterRects(
    QVector<QRect> rects, const std::function<bool(const QRect& member, const QRect& other)>& joins)
{
    QVector<QVector<QRect>> clusters;
    while (!rects.isEmpty()) {
        QVector<QRect> cluster { rects.first() };
        rects.removeFirst();
        for (qsizetype m = 0; m < cluster.size() && !rects.isEmpty(); ++m) {
            const QRect member = cluster[m];
            // Joining rectangles move out; the others close up in their order.
            qsizetype kept = 0;
            for (qsizetype r = 0; r < rects.size(); ++r) {
                if (joins(member, rects[r]))
                    cluster.append(rects[r]);
                else
                    rects[kept++] = rects[r];
            }
            rects.resize(kept);
        }
        clusters.append(cluster);
    }
    return clusters;
}

} // namespace veldra
