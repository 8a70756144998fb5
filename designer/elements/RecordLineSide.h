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

// A record of a kind that reads either the spooled file or constant data
// passes constant data when its data field holds a value, or, with the value
// still empty, when it has no source position.
bool RecordPassesConstantData(const CAPRTPDMRec& record);

// Fields 6, 7, 8, 18, 10, 12 and 14 with no value, for a record whose data
// is not read from the spooled file. The signs stay: the host reads them as
// the side of the current line the element lies on.
void ClearRecordPositions(CAPRTPDMRec& record);

// Puts a one-cell box on the current line for "+", on the line above it for
// "-". False, with the box untouched, without a sign, a page or a current
// line.
bool PlaceOnSideOfCurrentLine(const CAPRTPDMRec& record, const CPage* page, int currentLine, kwvd::Rect& rect);
