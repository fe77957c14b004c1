#pragma once

#include "cardimage.h"

namespace veldra {

// Straightens a card photographed slightly askew, so that its text lines run
// along the pixel rows before the layout looks for them.
class SkewCorrector
{
public:
    // Slope of the text lines in degrees (positive: falling to the right),
    // found as the angle whose row profile of dark pixels is sharpest.
    // Searches -maxDegrees to maxDegrees; 0 for an image without ink.
    static double estimate(const CardImage& grey, double maxDegrees = 5.0);
    // The image turned by -degrees about its centre (bilinear; the border
    // pixels are repeated outside).
    static CardImage rotate(const CardImage& grey, double degrees);
};

} // namespace veldra
