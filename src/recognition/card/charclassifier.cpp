#include "charclassifier.h"

#include "confusionrules.h"
#include "recognisertables.h"

namespace veldra {

CharIntegral::CharIntegral(const CardImage& image)
    : m_width(image.width())
    , m_height(image.height())
    , m_sums(size_t(image.width()) * size_t(image.height()), 0)
{
    for (int y = 0; y < m_height; ++y) {
        int64_t row = 0;
        for (int x = 0; x < m_width; ++x) {
            row += image.grey(x, y);
            m_sums[size_t(y) * size_t(m_width) + size_t(x)] = row + (y > 0 ? at(x, y - 1) : 0);
        }
    }
}

int CharIntegral::mean(int x1, int y1, int x2, int y2) const
{
    if (x1 < 0 || y1 < 0 || x2 < 0 || y2 < 0 || x1 >= m_width || x2 >= m_width || y1 >= m_height
        || y2 >= m_height)
        return -1;
    if ((x2 - x1) * (y2 - y1) < 1)
        return 0;
    int64_t sum = at(x2, y2);
    if (x1 >= 1)
        sum -= at(x1 - 1, y2);
    if (y1 >= 1)
        sum -= at(x2, y1 - 1);
    if (x1 >= 1 && y1 >= 1)
        sum += at(x1 - 1, y1 - 1);
    return int(sum / (int64_t(x2 - x1 + 1) * (y2 - y1 + 1)));
}

CharClassifier::CharClassifier(int tolerance, int classCount, int referenceCount)
    : m_tolerance(tolerance)
    , m_classCount(classCount)
    , m_referenceCount(referenceCount)
    , m_votes(size_t(referenceCount), 0)
{ }

int CharClassifier::vote(const CardImage& image, const std::vector<CharTemplate>& templates)
{
    if (long(image.width()) * image.height() < 1 || templates.empty())
        return RecogniserTables::unknownClass;
    const CharIntegral integral(image);
    std::fill(m_votes.begin(), m_votes.end(), 0);
    const int t = m_tolerance;
    for (const CharTemplate& feature : templates) {
        const int v = integral.mean(
            feature.x, feature.y, feature.x + feature.side, feature.y + feature.side);
        // The vote depends on the reference value alone once v is known;
        // a table of all 256 values spares the branches per reference.
        int change[256];
        for (int r = 0; r < 256; ++r) {
            if (r - t < v && v < r + t)
                change[r] = 1;
            else if (v < r - 100 || v > r + 100)
                change[r] = -5;
            else if (v < r - 50 || v > r + 50)
                change[r] = -2;
            else
                change[r] = 0;
        }
        const int count = std::min(m_referenceCount, feature.count);
        const uint16_t* values = feature.values.data();
        int* votes = m_votes.data();
        for (int k = 0; k < count; ++k)
            votes[k] += change[values[k] & 0xFFu];
    }
    int winner = 0;
    for (int k = 1; k < m_referenceCount; ++k)
        if (m_votes[size_t(k)] > m_votes[size_t(winner)])
            winner = k;
    if (m_votes[size_t(winner)] <= 0)
        winner = 0;
    return winner % m_classCount;
}

int CharClassifier::classifyCharacter(
    const CardImage& image, const CardImage& shape, const std::vector<CharTemplate>& templates)
{
    const int cls = vote(image, templates);
    if (!m_ruleGroups || templates.empty() || image.isEmpty())
        return cls;
    return ConfusionRules(shape.isEmpty() ? image : shape).apply(cls, m_ruleGroups);
}

} // namespace veldra
