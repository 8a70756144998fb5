#pragma once
// Placing an element's input box by the cells a property page shows.

#include "platform/framework/Types.h"

class CFormElement;
class CPage;

// Moves the box's top left corner to the 1-based column and line; TRUE when
// the box was elsewhere.
BOOL MoveSourceToCell(CFormElement& element, const CPage& page, int column, int line);
// Makes the box width columns wide and one cell high, from its left side;
// TRUE when the width differed.
BOOL SetSourceWidthInCells(CFormElement& element, const CPage& page, int width);
