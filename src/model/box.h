#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace kelvara {

// An upright box, edges included; empty while right < left or bottom < top.
// Whole design units (a stitch plan's needles) and exact geometry share it.
template <typename T> struct Box {
    // Whole-unit boxes measure in 64 bits: their edges may lie anywhere in 32.
    using Length = std::conditional_t<std::is_integral_v<T>, int64_t, T>;

    T left = 0, top = 0, right = -1, bottom = -1;

    bool empty() const { return right < left || bottom < top; }
    Length width() const { return Length(right) - left; }
    Length height() const { return Length(bottom) - top; }
    Length centreX() const { return (Length(left) + right) / 2; }
    Length centreY() const { return (Length(top) + bottom) / 2; }

    void add(T x, T y)
    {
        if (empty()) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void add(const Box& other)
    {
        if (other.empty())
            return;
        add(other.left, other.top);
        add(other.right, other.bottom);
    }
    Box grown(T by) const { return {left - by, top - by, right + by, bottom + by}; }

    bool contains(T x, T y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    // Compares the edges as they stand, so an empty `inner` counts where
    // its corners would lie.
    bool contains(const Box& inner) const
    {
        return inner.left >= left && inner.right <= right && inner.top >= top && inner.bottom <= bottom;
    }
    bool intersects(const Box& other) const
    {
        return !empty() && !other.empty() && other.left <= right && other.right >= left &&
               other.top <= bottom && other.bottom >= top;
    }

    bool operator==(const Box&) const = default;
};

// Geometry in design units, curves and widths as they lie.
using GeometryBox = Box<double>;
// A stitch plan's needle positions.
using PlanBox = Box<int32_t>;

} // namespace kelvara
