#pragma once
// Plain geometry types of the UI library (pixels, top-left origin, right/bottom exclusive).
#include <algorithm>

namespace dravik::ui {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Point Center() const { return {left + Width() / 2, top + Height() / 2}; }
    Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        if (r.Empty())
            r = Rect{};
        return r;
    }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Deflate(const Rect& inset) const {
        return {left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace dravik::ui
