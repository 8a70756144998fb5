#pragma once
// The values the "Page Setup" sheet edits, as its pages hold them, and the
// rules that carry them between the document and the pages. Nothing here
// writes to the document until CDesignerDoc::ApplyPageSetup: the pages edit
// copies, so a cancelled sheet leaves the document, its default output
// device and its font manager as they were.

#include "platform/framework/Types.h"

#include <QString>

class CAS400Font;

// The Size page: the output page in inches, its grid and its no-print border
// in 1/1440 inch (CPage::FillSizePage and CPage::ApplySizePage).
struct PageSizeValues
{
    static constexpr double kMinInches = 0.01;
    static constexpr double kMaxInches = 99;
    static constexpr int kMaxBorderTwips = 2880;
    static constexpr int kMaxDensity = 99;

    double width = 0;
    double height = 0;
    int orientation = 0; // 0 portrait, 1 landscape
    int border = 0;      // 1/1440 inch
    int charsPerInch = 0;
    int linesPerInch = 0;

    // Reads the orientation chosen: when it differs from the one held, width
    // and height change places. TRUE when they did.
    BOOL ChangeOrientation(int newOrientation);
};

// The Output page: the default output device's name and type. The list
// shows the types in its own order, which is not the types' numbering.
struct PageOutputValues
{
    static constexpr int kNameLimit = 10;
    static constexpr int kTypeCount = 8;

    QString name;
    int type = 0;

    // The list entry ("*SCS" ... "*DSP") of each position, and the device
    // type it stands for; -1 for a type or position the list does not have.
    static QString TypeEntry(int position);
    static int TypeOfPosition(int position);
    static int PositionOfType(int type);
};

// The Page and Conditional pages: copies of the document's header values.
struct PageHeaderValues
{
    static constexpr int kDescriptionLimit = 50;
    static constexpr int kCompareTextLimit = 30;
    static constexpr int kPrinterResourceLimit = 8;
    static constexpr int kMaxColumn = 999;
    static constexpr int kMaxLineOrWidth = 99;

    enum CompareMode : int {
        CompareText = 0,
        ComparePosition = 1,
    };

    QString description;
    int pagesFrom = 0;
    int pagesTo = 0;
    int ignoreFirstPage = 0; // check state
    int compareType = 0;     // 0 "Equal To", 1 "Not Equal To"
    QString compareText;
    int line = 0;
    int column = 0;
    int width = 0;
    int compareMode = ComparePosition;
    int andPosition = 0; // check state
    // Shown read-only: the export rewrites the field every time.
    QString printerResource;

    // The mode and "And position" as the values imply them: a comparison
    // text means text mode, checked when it has a column.
    void DeriveCompareMode();
    // What the Conditional page's buttons enforce for the mode chosen: in
    // position mode no text; in text mode "Equal To", no line or width, and
    // no column without "And position".
    void ApplyCompareRules();
};

// The Language page: the font group and the language settings of the output
// page's font manager, and a default font chosen with "...".
struct PageLanguageValues
{
    static constexpr int kGroupNameLimit = 8;
    static constexpr int kServerCodePageLimit = 8;

    QString groupName;
    QString groupDescription;
    QString defaultFontDescription;
    int usePrinterResident = 0; // check state
    QString serverCodePage;
    int codePageId = 0;
    QString charSetName;
    // Set by "...": the pair the font dialog chose, applied on OK.
    bool defaultFontChosen = false;
    CAS400Font* primaryFont = nullptr;
    CAS400Font* secondaryFont = nullptr;
};

// The Information page, read-only.
struct PageInfoValues
{
    DWORD buildId = 0;
    QString uploadTime;
    QString uploadPath;
};

// Everything the sheet hands back on OK.
struct PageSetupValues
{
    bool hasSize = false; // an output page was bound
    PageSizeValues size;
    PageOutputValues output;
    PageHeaderValues header;
    PageLanguageValues language;
    PageInfoValues info;
};

// A header number as the pages take it: kept within -32767..32767.
int ClampHeaderNumber(double value);
