#pragma once

#include "cardimage.h"

namespace veldra {

// Hand-made tests that tell apart classes the template vote confuses
// (b and h, c and G, I and l and T ...), probing a 48 x 48 character image
// in the band 4 to 43. A pixel is dark below grey 114.
class ConfusionRules
{
public:
    explicit ConfusionRules(const CardImage& image);

    // The class the rules give for a voted class; other classes unchanged.
    int apply(int cls) const;

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
