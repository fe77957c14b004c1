#include "cardscorer.h"

#include <algorithm>
#include <vector>

namespace veldra::tools {

int editDistance(const QString& a, const QString& b)
{
    std::vector<int> previous(size_t(b.size()) + 1);
    std::vector<int> current(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        previous[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int substitute = previous[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[size_t(j)]
                = std::min({ previous[size_t(j)] + 1, current[size_t(j - 1)] + 1, substitute });
        }
        std::swap(previous, current);
    }
    return previous[size_t(b.size())];
}

CardScore scoreCard(const QStringList& recognised, const QStringList& truth)
{
    CardScore score;
    const QString truthText = truth.join(QLatin1Char('\n'));
    const QString text = recognised.join(QLatin1Char('\n'));
    if (!truthText.isEmpty())
        score.characters
            = std::max(0.0, 1.0 - double(editDistance(text, truthText)) / double(truthText.size()));
    QStringList pool = recognised;
    int found = 0;
    for (const QString& line : truth) {
        const int at = pool.indexOf(line);
        if (at >= 0) {
            ++found;
            pool.removeAt(at);
        }
    }
    if (!truth.isEmpty())
        score.lines = double(found) / truth.size();
    return score;
}

} // namespace veldra::tools
