#include "platform/framework/MathHelpers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

int RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    double result = std::trunc(value);
    if (value - result >= 0.5)
        result += 1.0;
    // Converting a double outside int is undefined, so the limits are kept by hand.
    if (result <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (result >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(result);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    // |a * b| <= 2^62 and |c| <= 2^31, so nothing below overflows 64 bits.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    const std::int64_t divisor = c;
    if (2 * std::abs(remainder) >= std::abs(divisor))
        quotient += ((product < 0) == (divisor < 0)) ? 1 : -1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}
