#pragma once
// The records of the Loop, Conditional and Remark pages. The spooled-file
// and text records live beside their kinds (SourcePageData, TextPageData).
// Column and line are 1-based cells of the input page; the largest column
// and line are the input page's width and height in whole cells, which the
// element sets once when it adds the page.

#include "platform/framework/Types.h"

#include <QString>

class CPage;

// The input page's width and height in whole cells; 1 by 1 without a page.
struct PageCellLimits
{
    int largestColumn = 1;
    int largestLine = 1;

    static PageCellLimits Of(const CPage* page);
};

struct LoopPageData
{
    // Groups of ApplyPage.
    enum : DWORD {
        StartLine = 0x1,
        Height = 0x2,
        IncrementOnSuccess = 0x400,
        Mode = 0x800,
    };

    int height = 1; // lines of one pass
    int startLine = 1;
    int incrementOnSuccess = 0;
    // The two boxes; the mode is what the element reads and writes.
    int endOfDocument = 0;
    int endOfPage = 0;
    BYTE mode = 0;
    PageCellLimits limits;
};

struct ConditionalPageData
{
    // Groups of ApplyPage.
    enum : DWORD {
        Position = 0x1,
        Width = 0x2,
        Operator = 0x40,
        CompareValue = 0x80,
        ForceAbsolute = 0x100,
        BreakLoop = 0x200,
        Subject = 0x80000,
    };

    int line = 1;
    int width = 1;
    int column = 1;
    QString compareValue;
    int op = 0;            // index of the operator list
    int forceAbsolute = 0; // the source's absolute flag
    int breakLoop = 0;
    QString subject;
    int inLoop = 0;
    int loopOrInLoop = 0;
    PageCellLimits limits;
};

struct RemarkPageData
{
    // Group of ApplyPage.
    enum : DWORD {
        Remark = 0x8,
    };

    QString remark;
};
