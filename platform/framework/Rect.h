#pragma once
// A rectangle as the system's geometry uses it: right and bottom are
// exclusive, so the width is right - left. Never mix with QRect::right(),
// which is inclusive; convert through ToQRect/FromQRect.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

namespace kwvd {

struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr QSize Size() const { return QSize(Width(), Height()); }
    constexpr QPoint TopLeft() const { return QPoint(left, top); }
    constexpr QPoint BottomRight() const { return QPoint(right, bottom); }
    constexpr QPoint CenterPoint() const { return QPoint((left + right) / 2, (top + bottom) / 2); }

    // No area: zero or negative width or height.
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    // All four coordinates 0.
    constexpr bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    // Swaps the edges so that left <= right and top <= bottom.
    constexpr void Normalize()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }

    constexpr void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr void Inflate(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    constexpr void MoveTo(int x, int y) { Offset(x - left, y - top); }

    // The right and bottom edges are outside.
    constexpr bool Contains(QPoint p) const { return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom; }
    constexpr bool Contains(const Rect& r) const
    {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }

    // The common part; an empty result is all zeros.
    constexpr Rect Intersected(const Rect& r) const
    {
        Rect i(std::max(left, r.left), std::max(top, r.top), std::min(right, r.right), std::min(bottom, r.bottom));
        return i.IsEmpty() ? Rect() : i;
    }
    constexpr bool Intersects(const Rect& r) const { return !Intersected(r).IsEmpty(); }

    // The smallest rectangle holding both; an empty operand does not count.
    constexpr Rect United(const Rect& r) const
    {
        if (r.IsEmpty())
            return *this;
        if (IsEmpty())
            return r;
        return Rect(std::min(left, r.left), std::min(top, r.top), std::max(right, r.right), std::max(bottom, r.bottom));
    }

    QRect ToQRect() const { return QRect(QPoint(left, top), QSize(Width(), Height())); }
    static Rect FromQRect(const QRect& r) { return Rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace kwvd
