#pragma once
// Pages of text from a spooled file's data: the line readers' lines stored
// by line number into one string array per page, from the first page asked
// for up to the maximum number of pages. Pure over the reader and a line
// converter, so that tables of bytes can test it.

#include "hostaccess/api/SpooledPageList.h"
#include "hostaccess/import/scs/SpooledDataReader.h"

#include <QString>

#include <vector>

class CStringArray;

// Puts text at line index of a page, right-trimmed. A line already there is
// merged: the characters written first stay, the new text fills only the
// blank or missing positions. An empty text changes nothing.
void SetLine(CStringArray& page, int index, const QString& text);

// Host bytes of one line to PC text.
class SpooledLineConverter
{
public:
    virtual ~SpooledLineConverter() = default;
    // False when the line cannot be converted at all (the converter has told
    // the user why); a conversion that substituted characters succeeds and
    // hands back the host's warning text.
    virtual bool Convert(const unsigned char* bytes, int length, QString& text, QString& warning) = 0;
};

enum class SpooledDataKind {
    Scs,
    // ASCII text through Windows-1252; the line converter is not used.
    UserAscii,
};

struct SpooledLineWarning
{
    int page = 0; // counted from 1 in the file
    int line = 0;
    QString text;
};

struct SpooledPagesResult
{
    // The line status the reading ended with (ScsLineStatus): 2 after the
    // last page asked for, 5 or 6 at the end of the data, 7 when the reader
    // or a conversion failed.
    int status = 0;
    // Pages appended to the list.
    int pagesKept = 0;
    // Pages seen in the data up to where reading stopped (a last page
    // without a final form feed counts when it holds a line).
    int pagesSeen = 0;
    std::vector<SpooledLineWarning> warnings;
};

// Reads from the reader's current byte on, which must be the first of the
// data. Pages first to first + maximum - 1 are appended to pages (which owns
// them then); a maximum below 1 keeps one page.
SpooledPagesResult ReadSpooledPages(SpooledDataReader& reader, SpooledDataKind kind, int first, int maximum,
                                    SpooledLineConverter& converter, SpooledPageList& pages);
