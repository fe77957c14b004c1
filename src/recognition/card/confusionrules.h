#pragma once

#include "cardimage.h"

#include <cstdint>

namespace veldra {

// Hand-made tests that tell apart classes the template vote confuses
// (b and h, c and G, I and l and T ...), probing a 48 x 48 character image
// in the band 4 to 43. A pixel is dark below grey 114.
class ConfusionRules
{
public:
    explicit ConfusionRules(const CardImage& image);

    // The class the rules give for a voted class; other classes unchanged.
    // groups: one bit per rule, in the order of the table (a/u, b/h, B/ß/8,
    // round letters, e/s/5/6, E/F, f/r/t, g/9, I/l/T/7, J, k/x, K, n/rt,
    // P/R, Q/@/Ø, &, brackets).
    int apply(int cls, uint32_t groups = allGroups) const;

    static constexpr uint32_t allGroups = (1u << 17) - 1;

    bool darkInRowFromLeft(int y, int xmax) const;
    bool darkInRowFromRight(int y, int xmin) const;
    bool darkInColumnFromTop(int x, int ymax) const;
    bool darkInColumnFromBottom(int x, int ymin) const;
    int leftAny(int xlim, int r1, int r2, int r3) const;
    int leftAll(int xlim, int r1, int r2, int r3) const;
    int rightAny(int xmin, int r1, int r2, int r3) const;
    int rightAll(int xmin, int r1, int r2, int r3) const;

private:
    bool dark(int x, int y) const { return greyAt(x, y) < 114; }
    int greyAt(int x, int y) const;

    int ruleAU() const;
    int ruleBH() const;
    int ruleB8() const;
    int ruleRound() const;
    int ruleE5() const;
    int ruleEF() const;
    int ruleFRT() const;
    int ruleG9() const;
    int ruleStem() const;
    int ruleJ() const;
    int ruleKX(int k) const;
    int ruleN() const;
    int rulePR() const;
    int ruleQ() const;
    int ruleAmpersand() const;
    int ruleBrackets() const;

    const CardImage& m_image;
};

} // namespace veldra
