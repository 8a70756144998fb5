#pragma once
// The Variable gives a named variable of the definition its value: the text
// at a one-line position of the spooled file, or a constant data text. It
// has only a source side and travels in the JVX file as one "VAR" record.
// Old files and JVX versions up to 24 knew eight fixed variables only, which
// travel as a number.

#include "designer/elements/DataFlagElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/OneLineSourceElement.h"

#include <QString>
#include <QStringList>

// The eight variables of the numbered form, numbered from 1.
struct FixedVariableTable
{
    static constexpr int kCount = 8;
    // 1 to 8 for a name of the table, else 0.
    static int NumberOf(const QString& name);
    // The name of the numbers 1 to 8; empty for any other.
    static QString NameOf(int number);
};

// What the Variable page shows and edits.
struct VariablePageValues
{
    int column = 0; // 1-based, on the source page
    int line = 0;
    int width = 0; // columns
    QString data;
    BOOL useData = FALSE;
    QString name;
    BOOL forceAbsolute = FALSE;
    BOOL inLoop = FALSE;
    // The input page in whole cells: the page's limits for column, line and width.
    int largestColumn = 1;
    int largestLine = 1;

    friend bool operator==(const VariablePageValues&, const VariablePageValues&) = default;
};

// The bits of the values the page hands back to ApplyPage.
struct VariablePageApply
{
    enum : int {
        Position = 0x1,
        Width = 0x2,
        Data = 0x8,
        ForceAbsolute = 0x100,
        Name = 0x40000,
    };
};

// The kind's bases: a one-line source box, and the data with its flag.
using VariableBase = DataFlagElement<OneLineSourceElement<CFormElement>>;

class CFormVariableElement : public VariableBase
{
    KWVD_DECLARE_SERIAL(CFormVariableElement)

public:
    static constexpr int kMaxNameLength = 10;
    static constexpr int kMaxVariableNames = 999;

    // The form the archive makes.
    CFormVariableElement();
    // A new variable: drawn in the input pane (PaneSide::Input) it takes the text at
    // its position, made any other way it takes a data text.
    CFormVariableElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From a "VAR" record.
    explicit CFormVariableElement(CAPRTPDMRec& record);
    ~CFormVariableElement() override;

    const QString& GetVariableName() const { return m_name; }
    COLORREF GetColour() const { return m_colour; }

    // A name of 1 to 10 characters that is not reserved; a name new to the
    // document only while it holds fewer than 999. Refusals of reserved
    // names and of the limit are told to the user. FALSE when unchanged.
    BOOL SetName(const QString& name);
    // An automatic or empty description follows name and data.
    void UpdateAutoDescription() override;

    // The names of the document's Variables: 1 to 10 characters, sorted by
    // code unit, without duplicates, at most 999.
    static QStringList GetVariableNames(const CDesignerDoc* doc);

    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    void ExportJVX(CJVXArchive& ar) override;
    // At the newest version.
    BOOL ToRecord(CAPRTPDMRec& record) override;
    // Up to version 24 the name travels as its number in the fixed table.
    BOOL ToRecord(CAPRTPDMRec& record, int version);
    void Revalidate(int mode) override;
    // A data variable has no place in the input pane.
    kwvd::Rect GetSourceRect() const override;
    void DrawSource(QPainter& painter) override;
    BOOL Select(BOOL select) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

    // The Variable page: TRUE when a value differed.
    BOOL UpdatePage(VariablePageValues& page) const;
    // The values named by the VariablePageApply bits, in the page's order.
    BOOL ApplyPage(const VariablePageValues& page, int what);

    // The record factory's entry for "VAR".
    static CFormElement* FromRecord(CAPRTPDMRec& record, CJVXArchive& ar);

private:
    BOOL RefreshColour();
    // Outside a quiet read shown at once; inside held for the reader.
    void TellUser(const QString& text);

    QString m_name;
    COLORREF m_colour = 0xFFFFFF;
};
