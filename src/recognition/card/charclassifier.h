#pragma once

#include "cardimage.h"
#include "templatestore.h"

#include <cstdint>
#include <vector>

namespace veldra {

// Summed-area table of a character canvas' grey levels.
class CharIntegral
{
public:
    explicit CharIntegral(const CardImage& image);
    // Mean grey over the inclusive rectangle; 0 for a degenerate one, -1 when
    // a corner lies outside the image.
    int mean(int x1, int y1, int x2, int y2) const;

private:
    int64_t at(int x, int y) const { return m_sums[size_t(y) * size_t(m_width) + size_t(x)]; }

    int m_width = 0;
    int m_height = 0;
    std::vector<int64_t> m_sums;
};

// Votes a character canvas against the references of every template.
class CharClassifier
{
public:
    CharClassifier(int tolerance, int classCount, int referenceCount);

    // Class index of the best reference; the unknown class when the image is
    // empty or there are no templates.
    int vote(const CardImage& image, const std::vector<CharTemplate>& templates);
    // vote(), then the rules for look-alike classes on the character's shape
    // image (the canvas itself when shape is empty).
    int classifyCharacter(
        const CardImage& image, const CardImage& shape, const std::vector<CharTemplate>& templates);

    const std::vector<int>& votes() const { return m_votes; }
    // Which of the look-alike rules run (see ConfusionRules::apply).
    void setRuleGroups(uint32_t groups) { m_ruleGroups = groups; }

private:
    int m_tolerance = 25;
    int m_classCount = 79;
    int m_referenceCount = 553;
    std::vector<int> m_votes;
    uint32_t m_ruleGroups = 0xFFFFFFFFu;
};

} // namespace veldra
