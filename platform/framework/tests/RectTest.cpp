// The rectangle with exclusive right and bottom edges, and its passage to and
// from QRect, whose right() and bottom() are inclusive.

#include "platform/framework/Rect.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kwvd {

void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

} // namespace kwvd

namespace {

using kwvd::Rect;

struct ContainsPointCase
{
    const char* name;
    QPoint point;
    bool inside;
};

TEST(RectTest, RightAndBottomEdgesAreOutside)
{
    const Rect r(10, 20, 30, 50);
    const ContainsPointCase cases[] = {
        {"TopLeftCorner", {10, 20}, true}, {"LastColumnAndLine", {29, 49}, true},  {"RightEdge", {30, 25}, false},
        {"BottomEdge", {15, 50}, false},   {"BottomRightCorner", {30, 50}, false}, {"LeftOfLeftEdge", {9, 25}, false},
        {"AboveTopEdge", {15, 19}, false},
    };
    for (const ContainsPointCase& c : cases)
        EXPECT_EQ(r.Contains(c.point), c.inside) << c.name;

    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 30);
    EXPECT_FALSE(Rect(5, 5, 5, 9).Contains(QPoint(5, 5))) << "a rectangle of no width holds no point";
}

struct ContainsRectCase
{
    const char* name;
    Rect inner;
    bool inside;
};

TEST(RectTest, ARectangleIsInsideUpToTheExclusiveEdges)
{
    const Rect outer(0, 0, 100, 50);
    const ContainsRectCase cases[] = {
        {"Itself", outer, true},
        {"TouchingRightAndBottom", {90, 40, 100, 50}, true},
        {"OnePastRight", {90, 40, 101, 50}, false},
        {"OnePastBottom", {90, 40, 100, 51}, false},
        {"StartsLeftOfIt", {-1, 0, 10, 10}, false},
    };
    for (const ContainsRectCase& c : cases)
        EXPECT_EQ(outer.Contains(c.inner), c.inside) << c.name;
}

struct PairCase
{
    const char* name;
    Rect a;
    Rect b;
    Rect intersected;
    Rect united;
};

TEST(RectTest, IntersectionAndUnionTreatEmptyOperandsAsNothing)
{
    const PairCase cases[] = {
        {"Overlapping", {0, 0, 20, 20}, {10, 5, 30, 15}, {10, 5, 20, 15}, {0, 0, 30, 20}},
        {"OneInsideTheOther", {0, 0, 50, 50}, {10, 10, 20, 20}, {10, 10, 20, 20}, {0, 0, 50, 50}},
        // Sharing only an edge is no overlap with exclusive edges.
        {"TouchingEdges", {0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},
        {"Apart", {0, 0, 10, 10}, {20, 20, 30, 30}, {}, {0, 0, 30, 30}},
        {"ZeroWidthOperand", {0, 0, 10, 10}, {5, 0, 5, 100}, {}, {0, 0, 10, 10}},
        {"InvertedOperand", {0, 0, 10, 10}, {40, 40, 20, 20}, {}, {0, 0, 10, 10}},
        {"EmptyFirstOperand", {7, 7, 7, 7}, {1, 2, 3, 4}, {}, {1, 2, 3, 4}},
    };
    for (const PairCase& c : cases) {
        EXPECT_EQ(c.a.Intersected(c.b), c.intersected) << c.name;
        EXPECT_EQ(c.b.Intersected(c.a), c.intersected) << c.name << " (swapped)";
        EXPECT_EQ(c.a.Intersects(c.b), !c.intersected.IsEmpty()) << c.name;
        EXPECT_EQ(c.a.United(c.b), c.united) << c.name;
        EXPECT_EQ(c.b.United(c.a), c.united) << c.name << " (swapped)";
    }
}

TEST(RectTest, UnionOfTwoEmptyRectanglesIsEmpty)
{
    EXPECT_TRUE(Rect(5, 5, 5, 9).United(Rect(9, 9, 1, 1)).IsEmpty());
}

struct NormalizeCase
{
    const char* name;
    Rect input;
    Rect normalized;
};

TEST(RectTest, NormalizeSwapsInvertedEdgesOnly)
{
    const NormalizeCase cases[] = {
        {"AlreadyNormal", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"HorizontallyInverted", {30, 2, 10, 4}, {10, 2, 30, 4}},
        {"VerticallyInverted", {1, 40, 3, 20}, {1, 20, 3, 40}},
        {"BothInverted", {30, 40, 10, 20}, {10, 20, 30, 40}},
        {"ZeroWidthStays", {5, 5, 5, 9}, {5, 5, 5, 9}},
    };
    for (const NormalizeCase& c : cases) {
        Rect r = c.input;
        r.Normalize();
        EXPECT_EQ(r, c.normalized) << c.name;
    }
}

struct QRectCase
{
    const char* name;
    QRect qrect;
    Rect rect;
};

TEST(RectTest, QRectConversionKeepsPositionAndSize)
{
    const QRectCase cases[] = {
        {"Ordinary", QRect(QPoint(1, 2), QSize(10, 20)), {1, 2, 11, 22}},
        {"SinglePixel", QRect(QPoint(5, 6), QSize(1, 1)), {5, 6, 6, 7}},
        {"NoArea", QRect(QPoint(5, 6), QSize(0, 0)), {5, 6, 5, 6}},
        {"NegativeOrigin", QRect(QPoint(-8, -3), QSize(4, 2)), {-8, -3, -4, -1}},
    };
    for (const QRectCase& c : cases) {
        const Rect r = Rect::FromQRect(c.qrect);
        EXPECT_EQ(r, c.rect) << c.name;
        // QRect::right() is one less than our right edge.
        EXPECT_EQ(r.right, c.qrect.right() + 1) << c.name;
        EXPECT_EQ(r.ToQRect(), c.qrect) << c.name;
        EXPECT_EQ(r.Size(), c.qrect.size()) << c.name;
    }
}

} // namespace
