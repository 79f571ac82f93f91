#pragma once

#include <algorithm>

namespace palvex {

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Size, Size) = default;
};

// A rectangle (left, top, right, bottom) with right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr Rect Translated(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr Rect Intersected(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    constexpr Rect United(const Rect& o) const {
        if (IsEmpty()) {
            return o;
        }
        if (o.IsEmpty()) {
            return *this;
        }
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace palvex
