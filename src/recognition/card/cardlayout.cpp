#include "cardlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace veldra {

namespace {

constexpr int freeCell = 0;
constexpr int blobCell = 5;

int median(std::vector<int> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

} // namespace

CardLayout::CardLayout(const CardImage& card, const CardImage& fine)
    : m_card(card)
    , m_fine(fine)
{
    if (!fine.isEmpty())
        m_scale = float(card.width()) / float(fine.width());
}

void CardLayout::findLines()
{
    m_boxes.clear();
    if (m_fine.width() < 8 || m_fine.height() < 8)
        return;
    m_ink = m_fine.binarised();
    m_work = m_ink.smoothed();
    m_work.applyEdgeMap(15);

    std::vector<CardRect> boxes = findGridBoxes(m_work);
    const int maxX = m_work.width() - 1;
    const int maxY = m_work.height() - 1;
    for (CardRect& box : boxes) {
        box.left *= 2;
        box.top *= 2;
        box.right = std::min(box.right * 2, maxX);
        box.bottom = std::min(box.bottom * 2, maxY);
    }
    m_boxes = boxes;
    refine();
}

std::vector<CardRect> CardLayout::findGridBoxes(const CardImage& work)
{
    m_gridWidth = work.width() / 2;
    m_gridHeight = work.height() / 2;
    m_grid.assign(size_t(m_gridWidth) * size_t(m_gridHeight), false);
    m_labels.assign(m_grid.size(), freeCell);
    if (m_gridWidth < 3 || m_gridHeight < 3)
        return {};
    fillGrid(work);
    closeGaps();
    removeThinLines();
    std::vector<CardRect> boxes = collectBlobs();
    mergeOverlapping(boxes);
    joinNeighbours(boxes);
    filterBoxes(boxes);
    return boxes;
}

void CardLayout::fillGrid(const CardImage& work)
{
    for (int x = 2; x < work.width() - 2; x += 2) {
        const std::vector<uint32_t>& c0 = work.column(x);
        const std::vector<uint32_t>& c1 = work.column(x + 1);
        for (int y = 2; y < work.height() - 2; y += 2) {
            const auto ink = [](uint32_t p) { return ((p >> 16) & 0xFFu) != 0; };
            if (ink(c0[size_t(y)]) || ink(c1[size_t(y)]) || ink(c0[size_t(y) + 1])
                || ink(c1[size_t(y) + 1]))
                setCell(x / 2, y / 2, true);
        }
    }
}

void CardLayout::closeGaps()
{
    for (int y = 0; y < m_gridHeight; ++y) {
        int x = 0;
        while (x < m_gridWidth - 8) {
            if (!cell(x, y)) {
                ++x;
                continue;
            }
            int found = 0;
            for (int k = 7; k >= 2; --k)
                if (cell(x + k, y)) {
                    found = k;
                    break;
                }
            if (found) {
                for (int i = x + 1; i < x + found; ++i)
                    setCell(i, y, true);
                x += found;
            } else {
                x += 7;
            }
        }
    }
}

void CardLayout::removeThinLines()
{
    for (int x = 0; x < m_gridWidth - 2; ++x)
        for (int y = 1; y < m_gridHeight - 1; ++y) {
            if (!(cell(x, y) && cell(x + 1, y) && cell(x + 2, y)))
                continue;
            bool alone = true;
            for (int i = 0; i < 3 && alone; ++i)
                alone = !cell(x + i, y - 1) && !cell(x + i, y + 1);
            if (alone)
                for (int i = 0; i < 3; ++i)
                    setCell(x + i, y, false);
        }
    for (int x = 1; x < m_gridWidth - 1; ++x)
        for (int y = 2; y < m_gridHeight - 1; ++y) {
            if (!(cell(x, y - 2) && cell(x, y - 1) && cell(x, y)))
                continue;
            bool alone = true;
            for (int i = 0; i < 3 && alone; ++i)
                alone = !cell(x - 1, y - i) && !cell(x + 1, y - i);
            if (alone)
                for (int i = 0; i < 3; ++i)
                    setCell(x, y - i, false);
        }
}

std::vector<CardRect> CardLayout::collectBlobs()
{
    // The painted cell image of the text-cell mask: set cells are black.
    std::vector<uint8_t> grey(m_grid.size());
    for (size_t i = 0; i < m_grid.size(); ++i)
        grey[i] = m_grid[i] ? 0 : 255;
    const int w = m_gridWidth;
    const int h = m_gridHeight;
    auto index = [w](int x, int y) { return size_t(y) * size_t(w) + size_t(x); };

    std::vector<CardRect> boxes;
    std::vector<std::pair<int, int>> stack;
    std::vector<std::pair<int, int>> members;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            if (grey[index(x, y)] >= 10 || m_labels[index(x, y)] != freeCell)
                continue;
            CardRect box { x, y, x, y };
            members.clear();
            stack.assign(1, { x, y });
            m_labels[index(x, y)] = blobCell;
            while (!stack.empty()) {
                const auto [cx, cy] = stack.back();
                stack.pop_back();
                members.emplace_back(cx, cy);
                box.left = std::min(box.left, cx);
                box.right = std::max(box.right, cx);
                box.top = std::min(box.top, cy);
                box.bottom = std::max(box.bottom, cy);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx;
                        const int ny = cy + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                            continue;
                        if (grey[index(nx, ny)] < 10 && m_labels[index(nx, ny)] == freeCell) {
                            m_labels[index(nx, ny)] = blobCell;
                            stack.emplace_back(nx, ny);
                        }
                    }
            }
            // The grid never fills its outermost cells, so a blob that reaches
            // the image's border ends one cell further in.
            const bool keep = box.bottom - box.top > 4 && box.right - box.left > 6 && box.top > 1
                && box.bottom < h - 2 && box.left > 1 && box.right < w - 2;
            if (keep) {
                if (box.left > 1)
                    --box.left;
                if (box.right < w - 2)
                    ++box.right;
                boxes.push_back(box);
            }
            // Taken cells are painted white so that no later seed finds them;
            // their labels stay set for the same reason.
            for (const auto& [mx, my] : members)
                grey[index(mx, my)] = 255;
        }
    }
    return boxes;
}

void CardLayout::mergeOverlapping(std::vector<CardRect>& boxes) const
{
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < boxes.size() && !merged; ++i)
            for (size_t j = 0; j < boxes.size() && !merged; ++j) {
                if (i == j)
                    continue;
                const int dh = std::abs(boxes[j].height() - boxes[i].height());
                if (boxes[i].intersects(boxes[j]) && dh < boxes[j].height()
                    && dh < boxes[i].height() && boxes[i].intersected(boxes[j]).height() >= 4) {
                    boxes[i] = boxes[i].united(boxes[j]);
                    boxes.erase(boxes.begin() + long(j));
                    merged = true;
                }
            }
    }
}

void CardLayout::joinNeighbours(std::vector<CardRect>& boxes) const
{
    bool joined = true;
    while (joined) {
        joined = false;
        for (size_t i = 0; i < boxes.size() && !joined; ++i)
            for (size_t j = 0; j < boxes.size() && !joined; ++j) {
                if (i == j)
                    continue;
                const CardRect& a = boxes[i];
                const CardRect& b = boxes[j];
                const int distance = b.left - a.right;
                const bool overlap = a.top <= b.bottom && b.top <= a.bottom;
                const double limit = 0.5 * a.height();
                if (distance >= 0 && distance <= 13 && overlap && std::abs(a.top - b.top) < limit
                    && std::abs(a.bottom - b.bottom) < limit) {
                    boxes[i] = a.united(b);
                    boxes.erase(boxes.begin() + long(j));
                    joined = true;
                }
            }
    }
}

void CardLayout::filterBoxes(std::vector<CardRect>& boxes) const
{
    for (long i = long(boxes.size()) - 1; i >= 0; --i) {
        const CardRect& b = boxes[size_t(i)];
        const int width = b.right - b.left;
        const int height = b.bottom - b.top;
        if (width < 1.5 * height || height > 0.3 * m_gridHeight || width > 0.95 * m_gridWidth)
            boxes.erase(boxes.begin() + i);
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = 0; j < boxes.size(); ++j)
            if (i != j && boxes[i].contains(boxes[j])) {
                boxes.erase(boxes.begin() + long(j));
                if (j < i)
                    --i;
                --j;
            }
}

// Dark pixels per row of the box on the fine copy. Dark is judged inside the
// box, halfway between its ink and its paper, so faint or blurred text that
// the global threshold left grey still counts.
std::vector<int> CardLayout::rowProfile(const CardRect& box) const
{
    std::vector<int> profile(size_t(std::max(0, box.height())), 0);
    int histogram[256] = {};
    long total = 0;
    for (int x = box.left; x <= box.right; ++x) {
        const std::vector<uint32_t>& column = m_fine.column(x);
        for (int y = box.top; y <= box.bottom; ++y) {
            ++histogram[(column[size_t(y)] >> 16) & 0xFFu];
            ++total;
        }
    }
    if (total == 0)
        return profile;
    const int ink = histogramPercentile(histogram, total, 0.02);
    const int paper = histogramPercentile(histogram, total, 0.9);
    if (paper - ink < 24)
        return profile;
    const int threshold = (ink + paper) / 2;
    for (int x = box.left; x <= box.right; ++x) {
        const std::vector<uint32_t>& column = m_fine.column(x);
        for (int y = box.top; y <= box.bottom; ++y)
            if (int((column[size_t(y)] >> 16) & 0xFFu) < threshold)
                ++profile[size_t(y - box.top)];
    }
    return profile;
}

// Two passes over the boxes. The first splits boxes that hold more than one
// text line (taller than 1.66 line heights) at rows with little ink and fits
// every box tightly to its inked rows. The second joins boxes that continue
// one another on the same text line (words set far apart in a large font)
// and sorts the lines into reading order.
void CardLayout::refine()
{
    if (m_boxes.empty())
        return;
    std::vector<int> heights;
    for (const CardRect& b : m_boxes)
        heights.push_back(b.height());
    const int lineHeight = std::max(1, median(heights));

    std::vector<CardRect> refined;
    for (const CardRect& box : m_boxes) {
        const std::vector<int> profile = rowProfile(box);
        long total = 0;
        for (int v : profile)
            total += v;
        if (total == 0)
            continue;
        const double mean = double(total) / double(profile.size());
        std::vector<CardRect> pieces;
        if (box.height() > 1.66 * lineHeight) {
            const double low = 0.2 * mean;
            int start = -1;
            for (int i = 0; i <= int(profile.size()); ++i) {
                const bool inked = i < int(profile.size()) && profile[size_t(i)] > low;
                if (inked && start < 0)
                    start = i;
                if (!inked && start >= 0) {
                    pieces.push_back({ box.left, box.top + start, box.right, box.top + i - 1 });
                    start = -1;
                }
            }
            // Pieces too low to be a line (accents, the dots of an i, stray
            // marks) belong to the nearest piece.
            for (size_t i = 0; i < pieces.size() && pieces.size() > 1;) {
                if (pieces[i].height() >= 0.7 * 0.5 * lineHeight) {
                    ++i;
                    continue;
                }
                size_t target = i == 0 ? 1 : i - 1;
                if (i > 0 && i + 1 < pieces.size()
                    && pieces[i + 1].top - pieces[i].bottom < pieces[i].top - pieces[i - 1].bottom)
                    target = i + 1;
                pieces[target] = pieces[target].united(pieces[i]);
                pieces.erase(pieces.begin() + long(i));
                i = 0;
            }
        } else {
            int first = 0;
            int last = int(profile.size()) - 1;
            while (first < last && profile[size_t(first)] == 0)
                ++first;
            while (last > first && profile[size_t(last)] == 0)
                --last;
            pieces.push_back({ box.left, box.top + first, box.right, box.top + last });
        }
        for (const CardRect& piece : pieces)
            if (piece.height() >= 3)
                refined.push_back(piece);
    }

    bool joined = true;
    while (joined) {
        joined = false;
        for (size_t i = 0; i < refined.size() && !joined; ++i)
            for (size_t j = 0; j < refined.size() && !joined; ++j) {
                if (i == j)
                    continue;
                const CardRect& a = refined[i];
                const CardRect& b = refined[j];
                const int gap = b.left - a.right;
                const int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) + 1;
                const int smaller = std::min(a.height(), b.height());
                const int larger = std::max(a.height(), b.height());
                if (gap >= 0 && gap < 150 && gap < 1.66 * larger && overlap >= 0.7 * smaller
                    && larger < 1.66 * smaller) {
                    refined[i] = a.united(b);
                    refined.erase(refined.begin() + long(j));
                    joined = true;
                }
            }
    }

    // Reading order: top to bottom; boxes on the same text line left to right.
    std::sort(refined.begin(), refined.end(),
        [](const CardRect& a, const CardRect& b) { return a.top + a.bottom < b.top + b.bottom; });
    std::vector<CardRect> ordered;
    size_t rowStart = 0;
    while (rowStart < refined.size()) {
        const CardRect& first = refined[rowStart];
        size_t rowEnd = rowStart + 1;
        while (rowEnd < refined.size()) {
            const CardRect& b = refined[rowEnd];
            const int overlap = std::min(first.bottom, b.bottom) - std::max(first.top, b.top) + 1;
            if (overlap <= 0.5 * std::min(first.height(), b.height()))
                break;
            ++rowEnd;
        }
        std::sort(refined.begin() + long(rowStart), refined.begin() + long(rowEnd),
            [](const CardRect& a, const CardRect& b) { return a.left < b.left; });
        ordered.insert(
            ordered.end(), refined.begin() + long(rowStart), refined.begin() + long(rowEnd));
        rowStart = rowEnd;
    }
    m_boxes = ordered;
}

} // namespace veldra
