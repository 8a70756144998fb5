#pragma once
// A record without a source position (a data Variable, a page Conditional)
// still carries the sign of its line: the side of the current source line
// the element lies on. Read as a line of 0 it would land on the other side,
// and the next export would turn the sign round.

#include "platform/framework/Rect.h"

class CAPRTPDMRec;
class CPage;

// No source position: the first column, 1 or more for any position, is 0.
bool RecordHasNoSourcePosition(const CAPRTPDMRec& record);

// Puts a one-cell box on the current line for "+", on the line above it for
// "-". False, with the box untouched, without a sign, a page or a current
// line.
bool PlaceOnSideOfCurrentLine(const CAPRTPDMRec& record, const CPage* page, int currentLine, kwvd::Rect& rect);
