#pragma once
// The Options sheet's working copy of the element colours: rows 0 to 12 in the
// order of the colour preferences, row 13 the no-print border.

#include "designer/preferences/ColourRef.h"

#include <QString>

#include <array>

struct ElementColourRow
{
    COLORREF colour = 0;
    QString name; // at most kElementColourNameLength characters
};

inline constexpr int kElementColourRows = 14;
inline constexpr int kElementColourNameLength = 16;
inline constexpr int kNoPrintBorderRow = 13;

using ElementColourTableRows = std::array<ElementColourRow, kElementColourRows>;

// The process's table: the row names are in place from the first call, the
// colours start at 0.
ElementColourTableRows& ElementColourTable();

// Puts the table back as it was at start: every name, every colour 0.
void ResetElementColourTable();
