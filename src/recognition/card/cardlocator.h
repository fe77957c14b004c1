#pragma once

#include "cardimage.h"

#include <utility>
#include <vector>

namespace veldra {

// Finds the card in a photo by the straight edges around it: a Hough
// transform over the border strips of a 250-pixel edge map, whose strongest
// lines are crossed to give the card's corners.
class CardLocator
{
public:
    // grey: the full-resolution grey photo. Returns the card cut out of it,
    // or the photo itself when no corner was found.
    CardImage locate(const CardImage& grey);

    // Diagnostics of the last call, in coarse-copy coordinates.
    const std::vector<std::pair<int, int>>& crossings() const { return m_crossings; }
    int left() const { return m_left; }
    int top() const { return m_top; }
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }

    static constexpr int coarseSide = 250;
    static constexpr int edgeThreshold = 5;
    static constexpr int angleSteps = 314;

private:
    void accumulate(const CardImage& edges);
    void filter(int width, int height);
    void suppress(int distanceShift, int angleShift);
    void findCrossings(int width, int height);

    int m_distances = 0;
    int m_offset = 0;
    std::vector<double> m_votes;
    std::vector<std::pair<int, int>> m_crossings;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
};

} // namespace veldra
