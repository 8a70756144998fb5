#pragma once
// The Conditional makes the elements it holds apply only when a comparison
// holds: the spooled-file text under its one-line source box (subject
// "POSITION"), or another named subject such as "PAGE", against a fixed
// value. It holds anything but a Loop, can end the enclosing loop, and
// inside a loop becomes the base line of its children's relative positions
// in the JVX file.

#include "designer/elements/ElementPagesText.h"
#include "designer/elements/FormContainerElement.h"
#include "designer/elements/OneLineSourceElement.h"

#include <QString>

struct ConditionalOperator
{
    enum : short {
        Equal = 0,
        NotEqual = 1,
        Greater = 2,
        Less = 3,
        GreaterOrEqual = 4,
        LessOrEqual = 5,
    };
    static BOOL IsValid(int op) { return op >= Equal && op <= LessOrEqual; }
};

class CFormConditionalElement : public OneLineSourceElement<CFormContainerElement>
{
    KWVD_DECLARE_SERIAL(CFormConditionalElement)

public:
    // The form the archive makes.
    CFormConditionalElement();
    // A new Conditional: drawn in the input pane (PaneSide::Input) it compares the
    // text at its position, made any other way the page.
    CFormConditionalElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From an "IF" or "IFP" record; reads its children up to "ENDI".
    CFormConditionalElement(CAPRTPDMRec& record, CJVXArchive& ar);

    const QString& GetCompareValue() const { return m_value; }
    BOOL SetCompareValue(const QString& value);
    // An empty subject counts as "POSITION".
    QString GetSubject() const;
    BOOL SetSubject(const QString& subject);
    short GetOperator() const { return m_operator; }
    // 0 to 5 only.
    BOOL SetOperator(short op);
    BOOL GetBreakLoop() const { return m_breakLoop; }
    BOOL SetBreakLoop(BOOL breakLoop);
    COLORREF GetColour() const { return m_colour; }

    BOOL IsPositionSubject() const;
    QString GetOperatorSymbol() const;
    static QString OperatorSymbol(int op);

    // Field 15 of a record: the six codes, with ">=" for anything else.
    static short OperatorFromCode(const CAPRTPDMRec& record);
    // Outside 0 to 5 the field is emptied and the answer is FALSE.
    static BOOL SetOperatorCode(CAPRTPDMRec& record, int op);

    // An automatic or empty description follows subject, operator and value.
    void UpdateAutoDescription();
    // The first line of spooled-file text under the source box.
    void SetValueFromSource();

    // Only the outermost relative "POSITION" Conditional below a Loop is the
    // base line of what it holds.
    BOOL IsRebasing() const;

    // ---- property page
    // The input page's limits of a new page.
    void PreparePage(ConditionalPageData& page) const;
    // TRUE when any value differed.
    BOOL UpdatePage(ConditionalPageData& page) const;
    // The groups of ConditionalPageData. A subject other than "POSITION"
    // takes the element out of the input pane: the views drop its tracker.
    BOOL ApplyPage(const ConditionalPageData& page, DWORD what);

    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    void Revalidate(int mode) override;
    // Empty for any subject but "POSITION": such a Conditional has no place
    // in the input pane.
    kwvd::Rect GetSourceRect() const override;
    void DrawSource(QPainter& painter) override;
    BOOL Select(BOOL select) override;
    BOOL SetParent(CFormElement* parent) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

    static void Register();

protected:
    void TakeNonElementRecord(const CAPRTPDMRec& record) override;

private:
    // Moves the document's current lines onto the Conditional's own line
    // while it lives, when the Conditional rebases, and puts them back.
    class RebaseScope
    {
    public:
        explicit RebaseScope(CFormConditionalElement& element);
        ~RebaseScope();
        RebaseScope(const RebaseScope&) = delete;
        RebaseScope& operator=(const RebaseScope&) = delete;

    private:
        CDesignerDoc* m_pDoc = nullptr;
        LONG m_savedSource = 0;
        LONG m_savedDest = 0;
    };

    BOOL RefreshColour();
    void WriteRecord(CJVXArchive& ar, const char* opcode);

    QString m_value;
    QString m_subject = QStringLiteral("POSITION");
    short m_operator = ConditionalOperator::Equal;
    COLORREF m_colour = 0xFFFFFF;
    BOOL m_breakLoop = FALSE;
};
