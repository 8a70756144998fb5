#pragma once
// Integer arithmetic the designer's page and image geometry is written in.

// The value truncated toward zero, plus 1 when what was cut off is 0.5 or
// more: 2.5 gives 3, 2.49 gives 2, -2.5 gives -2 (negative values only
// truncate). Values beyond int are clamped to its limits; NaN gives 0.
int RoundToInt(double value);

// a * b / c with a 64-bit product, rounded to the nearest integer with halves
// away from zero. -1 when c is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);
