#pragma once

#include <algorithm>

namespace veldra {

// Inclusive rectangle; empty when right = left - 1 and bottom = top - 1.
struct CardRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool isEmpty() const { return right < left || bottom < top; }

    bool intersects(const CardRect& other) const
    {
        return !isEmpty() && !other.isEmpty() && left <= other.right && other.left <= right
            && top <= other.bottom && other.top <= bottom;
    }
    bool contains(const CardRect& other) const
    {
        return other.left >= left && other.right <= right && other.top >= top
            && other.bottom <= bottom;
    }
    CardRect united(const CardRect& other) const
    {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        return { std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom) };
    }
    CardRect intersected(const CardRect& other) const
    {
        CardRect r { std::max(left, other.left), std::max(top, other.top),
            std::min(right, other.right), std::min(bottom, other.bottom) };
        if (r.isEmpty())
            return CardRect { r.left, r.top, r.left - 1, r.top - 1 };
        return r;
    }
    bool operator==(const CardRect&) const = default;
};

} // namespace veldra
