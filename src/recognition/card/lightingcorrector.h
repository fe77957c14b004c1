#pragma once

#include "cardimage.h"

namespace veldra {

// Evens out a card lit unevenly (a shadow, a lamp to one side), so that one
// global threshold separates ink from paper everywhere.
class LightingCorrector
{
public:
    // Divides out the paper level estimated in blocks of the grey image.
    // Returns false, leaving the image alone, for an evenly lit card (paper
    // levels within 20 %).
    static bool flatten(CardImage& grey);
};

} // namespace veldra
