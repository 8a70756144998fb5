#pragma once
// What the Source and Text elements share in sizing and drawing their text:
// measuring a text in a host font of the output page, fitting a text box to
// the grid, and writing a line bottom-aligned with given advances.

#include "platform/framework/Rect.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <span>

class CAPRTPDMRec;
class CFontManager;
class CFormElement;
class CPage;
class QFont;
class QPainter;

// A small image at the screen resolution the designer was given
// (kwvd::ScreenResolution), to measure text on whether or not a view ever
// draws the document, so both fit a box the same.
QImage MeasuringImage();

// The size of the text in the index's font in output-page pixels, measured
// on MeasuringImage(); 0 x 0 when the manager names no font for the index.
// A fixed-pitch font gives its advance table's width, as it is drawn.
QSize MeasureFontText(CFontManager* manager, int fontIndex, const QString& text);

// The font index of record field 19: its first character as a digit below
// the manager's number of slots, else 0.
int RecordFontIndex(const CAPRTPDMRec& record, const CFontManager* manager);

// Record field 19 for an index: its digit, blank for the default font 0.
void WriteRecordFontIndex(CAPRTPDMRec& record, int fontIndex);

// The element's index once the manager has been asked whether it still takes
// it: an index it refuses becomes 0, the element leaving that font's users.
int ReleaseUnusableFont(CFontManager* manager, int fontIndex, CFormElement* element);

struct TextBoxFit
{
    kwvd::Rect dest; // page pixels
    int widthAdjust = 0;
    int heightAdjust = 0;
};

// The box for a text of `columns` x `lines` cells whose widest line measures
// `extent`: it keeps its column and its shown line (top line plus height
// adjust), grows to the right by whatever the extent needs beyond `columns`
// and upward by whatever it needs beyond one line.
TextBoxFit FitTextBox(const CPage& page, const kwvd::Rect& dest, int heightAdjust, int columns, int lines,
                      QSize extent);

// TRUE when any part of the rectangle lies inside the painter's clip.
bool IsVisibleIn(const QPainter& painter, const kwvd::Rect& rect);
// Printing draws without the element boxes and without clipping the text.
bool IsPrinting(const QPainter& painter);

// Writes the text with its bottom at y, from x. With advances, each
// character starts where the previous one's advance ends; without (a
// proportional font) the font spaces the text itself. Nothing is written
// when no font can be had (no GUI application).
void DrawTextLine(QPainter& painter, const QFont* font, int x, int y, const QString& text,
                  std::span<const int> advances);
