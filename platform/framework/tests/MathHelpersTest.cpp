#include "platform/framework/MathHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

struct RoundCase
{
    const char* name;
    double value;
    int expected;
};

TEST(RoundToInt, TruncatesThenRoundsPositiveHalvesUp)
{
    const RoundCase cases[] = {
        {"zero", 0.0, 0},
        {"positive half up", 2.5, 3},
        {"just below half", 2.49, 2},
        {"above half", 2.7, 3},
        {"largest double below one half", 0.49999999999999994, 0},
        {"whole number", 7.0, 7},
        {"negative half truncates", -2.5, -2},
        {"negative above half truncates", -2.7, -2},
        {"negative small", -0.4, 0},
        {"largest int", 2147483646.5, kMax},
        {"above int", 1e10, kMax},
        {"below int", -1e10, kMin},
        {"infinity", std::numeric_limits<double>::infinity(), kMax},
        {"minus infinity", -std::numeric_limits<double>::infinity(), kMin},
        {"not a number", std::nan(""), 0},
    };
    for (const RoundCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RoundToInt(c.value), c.expected);
    }
}

struct MulDivCase
{
    const char* name;
    int a;
    int b;
    int c;
    int expected;
};

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    const MulDivCase cases[] = {
        {"exact", 1000, 72, 1000, 72},
        {"fraction above half", 96, 1, 10, 10},
        {"fraction below half", 7, 1, 3, 2},
        {"fraction above half, thirds", 8, 1, 3, 3},
        {"positive half", 5, 1, 2, 3},
        {"negative half, a negative", -5, 1, 2, -3},
        {"negative half, b negative", 5, -1, 2, -3},
        {"negative half, c negative", 5, 1, -2, -3},
        {"two negatives", -7, 1, -2, 4},
        {"three negatives", -5, -1, -2, -3},
        {"zero product", 0, 5, 7, 0},
        {"64-bit product", kMax, kMax, kMax, kMax},
        {"64-bit product, smallest int", kMin, kMin, kMin, kMin},
        {"smallest int", kMin, 1, 1, kMin},
        {"divide by zero", 1, 1, 0, -1},
        {"zero by zero", 0, 0, 0, -1},
        {"overflow", kMax, 2, 1, -1},
        {"overflow negative", kMin, 2, 1, -1},
        {"negated smallest int overflows", kMin, -1, 1, -1},
        {"largest int exactly", kMax, 2, 2, kMax},
        {"half rounds past int", 65535, 65537, 2, -1},
    };
    for (const MulDivCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
    }
}

} // namespace
