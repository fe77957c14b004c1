#pragma once

#include "cardimage.h"
#include "cardrect.h"

#include <cstdint>
#include <vector>

namespace veldra {

// Finds the text lines of a card on its 1000-pixel fine copy: text-like edge
// cells on a 2 x 2 pixel grid are grown into blobs, merged into line boxes and
// refined against the line height.
class CardLayout
{
public:
    CardLayout(const CardImage& card, const CardImage& fine);

    // Runs the line finding; boxes() then holds the lines in reading order.
    void findLines();

    // Line boxes in fine-copy coordinates.
    const std::vector<CardRect>& boxes() const { return m_boxes; }
    // Card width / fine width.
    float scale() const { return m_scale; }
    const CardImage& card() const { return m_card; }
    const CardImage& fine() const { return m_fine; }

    // The grid stages alone, for callers that look at a prepared edge image:
    // boxes in grid cells after merging and filtering (before scaling).
    std::vector<CardRect> findGridBoxes(const CardImage& work);

private:
    bool cell(int x, int y) const { return m_grid[size_t(y) * size_t(m_gridWidth) + size_t(x)]; }
    void setCell(int x, int y, bool on)
    {
        m_grid[size_t(y) * size_t(m_gridWidth) + size_t(x)] = on;
    }
    void fillGrid(const CardImage& work);
    void closeGaps();
    void removeThinLines();
    std::vector<CardRect> collectBlobs();
    void mergeOverlapping(std::vector<CardRect>& boxes) const;
    void joinNeighbours(std::vector<CardRect>& boxes) const;
    void filterBoxes(std::vector<CardRect>& boxes) const;
    void refine();
    std::vector<int> rowProfile(const CardRect& box) const;

    float m_scale = 1.0f;
    CardImage m_card;
    CardImage m_fine;
    CardImage m_work;
    int m_gridWidth = 0;
    int m_gridHeight = 0;
    std::vector<bool> m_grid;
    std::vector<int32_t> m_labels;
    std::vector<CardRect> m_boxes;
    CardImage m_ink;
};

} // namespace veldra
