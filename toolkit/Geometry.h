#pragma once

#include <cstdint>
#include <limits>

namespace pengui {

// A point in pixels, x to the right and y downwards.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t w = 0;
    std::int32_t h = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

// A half-open box: x0 <= x < x1 and y0 <= y < y1. A rectangle whose corners coincide is a point.
struct Rect {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;

    friend bool operator==(const Rect&, const Rect&) = default;

    bool isPoint() const { return x0 == x1 && y0 == y1; }
    std::int32_t width() const { return x1 - x0; }
    std::int32_t height() const { return y1 - y0; }
    Rect moved(std::int32_t dx, std::int32_t dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
    Rect moved(Point by) const { return moved(by.x, by.y); }
    // Whether the two boxes share at least one pixel.
    bool overlaps(const Rect& other) const
    {
        return other.x0 < x1 && x0 < other.x1 && other.y0 < y1 && y0 < other.y1;
    }
};

// The area of messages meant for every node.
inline constexpr Rect kEverything{-32000, -32000, 32000, 32000};

// The start value of boxes and origins that nothing has placed yet.
inline constexpr std::int32_t kUnplaced = std::numeric_limits<std::int32_t>::min();

} // namespace pengui
