#pragma once

#include "cardimage.h"
#include "cardrect.h"

namespace veldra {

// One entry of a cut line: a character image or a marker image (blank,
// apostrophe, comma, full stop) with the character's place in the line.
struct CardGlyph
{
    // 48 x 48 character canvas, or a marker of height 2 or less.
    CardImage image;
    // The character alone, cropped to its ink and scaled to 40 rows, for the
    // rules that tell look-alike classes apart.
    CardImage shape;
    // Ink box in line-image coordinates.
    CardRect box;
    // Accent mark found above the character: ':' (two dots), '.', 0xB4
    // (acute), '`' (grave), '^', 'v' (caron), or 0.
    unsigned char mark = 0;
    // Ink extent relative to the line: height of the top above the baseline
    // and depth of the bottom below it, in capital heights.
    float top = 0;
    float depth = 0;

    bool isMarker() const { return image.height() <= 2; }
};

} // namespace veldra
