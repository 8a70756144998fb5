#pragma once
// What the XML element, attribute and comment share: a text value that is
// either read from the spooled file at a one-line box of the input pane or
// typed as constant data, no output box at all, and the element colour of
// the kind. XmlTextKind<Base> adds it to a kind whose base is CFormElement
// or a container.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/RecordLineSide.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QPainter>
#include <QString>

#include <functional>

struct _xmlNode;
typedef struct _xmlNode xmlNode;

// The values an XML kind's property page shows and edits.
struct XmlPageData
{
    int column = 0; // 1-based, input page
    int line = 0;
    int width = 0; // columns
    QString data;
    BOOL constantData = FALSE;
    QString name;
    QString schemaInfo;
    BOOL forceAbsolute = FALSE; // the source absolute flag
    BOOL inLoop = FALSE;
    // The input page in whole cells: the page's limits for column, line and width.
    int largestColumn = 1;
    int largestLine = 1;
};

// Bits of the what argument of ApplyPageData.
struct XmlPageBits
{
    enum : DWORD {
        Position = 0x1,
        Width = 0x2,
        ConstantData = 0x8,
        ForceAbsolute = 0x100,
        Name = 0x400000,
    };
};

// Writes the element's record, then what exportChildren writes, then an
// "ENDX" record that repeats the whole record under its own opcode with the
// name. Nothing while reading.
void ExportXmlBlockJVX(CFormElement& element, const QString& name, CJVXArchive& ar,
                       const std::function<void(CJVXArchive&)>& exportChildren);

// An empty box, or each side to its nearest grid line, on the page and one
// cell high. The page may be null (no document yet): the box stays as it is.
void NormaliseXmlSourceBox(const CPage* page, kwvd::Rect& rect);

template <class Base>
class XmlTextKind : public Base
{
public:
    BOOL GetConstantDataFlag() const { return m_constantDataFlag; }
    COLORREF GetColour() const { return m_colour; }

    // 0 reads the value at the box, 1 writes the constant data.
    virtual BOOL SetConstantData(BOOL constant)
    {
        constant = constant ? TRUE : FALSE;
        if (constant == m_constantDataFlag)
            return FALSE;
        if (!constant) {
            m_constantDataFlag = FALSE;
            this->Announce(DocumentHint::SourceRectChanged);
        } else {
            // The box disappears from the input pane, and the property
            // sheet shows the data field instead of the position.
            this->Announce(DocumentHint::SourceRectChanged);
            m_constantDataFlag = TRUE;
            this->Announce(DocumentHint::SelectionChanged);
        }
        this->SetDocumentModified();
        return TRUE;
    }

    // Empties the output box, puts the input box on the grid and the page,
    // one line high.
    virtual void NormaliseSourceRect()
    {
        this->m_destRect = kwvd::Rect();
        NormaliseXmlSourceBox(this->SourcePage(), this->m_sourceRect);
        this->Announce(DocumentHint::SourceRectChanged);
    }

    // Constant data has no place in the spooled file.
    kwvd::Rect GetSourceRect() const override { return m_constantDataFlag ? kwvd::Rect() : this->m_sourceRect; }

    void DrawSource(QPainter& painter) override
    {
        if (!m_constantDataFlag)
            CFormElement::DrawElementBox(painter, this->m_sourceRect, this, m_colour);
    }

    void DrawDest(QPainter&) override {}

    BOOL Select(BOOL select) override
    {
        select = select ? TRUE : FALSE;
        if (select == this->m_selected)
            return FALSE;
        if (!select && !m_constantDataFlag)
            this->Announce(DocumentHint::SourceRectChanged);
        this->m_selected = select;
        if (!m_constantDataFlag)
            this->Announce(DocumentHint::SourceRectChanged);
        return TRUE;
    }

    BOOL IgnoresOffset() const override { return TRUE; }

    void Revalidate(int mode) override
    {
        if (RefreshColour())
            this->Announce(DocumentHint::ElementChanged);
        NormaliseSourceRect();
        Base::Revalidate(mode);
    }

    // The box, the flag and the absolute flag; the kinds add their texts.
    BOOL UpdatePageData(XmlPageData& page) const
    {
        XmlPageData before = page;
        if (const CPage* input = this->SourcePage();
            input != nullptr && input->GetCellWidth() > 0 && input->GetCellHeight() > 0) {
            page.column = this->m_sourceRect.left / input->GetCellWidth() + 1;
            page.line = this->m_sourceRect.top / input->GetCellHeight() + 1;
            page.width = this->m_sourceRect.Width() / input->GetCellWidth();
            page.largestColumn = input->GetPixelWidth() / input->GetCellWidth();
            page.largestLine = input->GetPixelHeight() / input->GetCellHeight();
        }
        page.constantData = m_constantDataFlag;
        page.forceAbsolute = this->IsSourceAbsolute();
        page.inLoop = this->IsInLoop();
        return page.column != before.column || page.line != before.line || page.width != before.width
               || page.constantData != before.constantData || page.forceAbsolute != before.forceAbsolute
               || page.inLoop != before.inLoop || page.largestColumn != before.largestColumn
               || page.largestLine != before.largestLine;
    }

protected:
    using Base::Base;

    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect&) override
    {
        this->PutSourceOnGrid(step, page);
        NormaliseSourceRect();
    }

    // The start of a new element: drawn in the input pane (PaneSide::Input) it reads
    // the spooled file, made any other way it starts with constant data.
    void InitialiseNew(const kwvd::Rect& rect, int side)
    {
        m_colour = TableColour();
        m_constantDataFlag = side == PaneSide::Input ? FALSE : TRUE;
        this->m_sourceRect = rect;
        this->m_sourceRect.Normalize();
    }

    // Whether the record passes constant data. Its box then goes on the side
    // of the current line that its sign names, so that the next export
    // writes the same sign.
    bool ReadRecordSource(const CAPRTPDMRec& record)
    {
        if (!RecordPassesConstantData(record))
            return false;
        if (this->m_pDoc != nullptr)
            PlaceOnSideOfCurrentLine(record, this->SourcePage(), this->m_pDoc->m_currentSourceLine, this->m_sourceRect);
        return true;
    }

    // The page's box and width bits; the kinds apply their own texts.
    BOOL ApplyPageGeometry(const XmlPageData& page, DWORD what)
    {
        BOOL changed = FALSE;
        const CPage* input = this->SourcePage();
        if ((what & XmlPageBits::Position) != 0) {
            changed |= SetConstantData(FALSE);
            if (input != nullptr) {
                const int x = (page.column - 1) * input->GetCellWidth();
                const int y = (page.line - 1) * input->GetCellHeight();
                if (x != this->m_sourceRect.left || y != this->m_sourceRect.top) {
                    const kwvd::Rect before = this->m_sourceRect;
                    this->MoveSource(x, y, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
                    changed |= this->m_sourceRect != before ? TRUE : FALSE;
                }
            }
        }
        if ((what & XmlPageBits::Width) != 0 && input != nullptr) {
            const int width = page.width * input->GetCellWidth();
            if (width != this->m_sourceRect.Width()) {
                const kwvd::Rect before = this->m_sourceRect;
                this->ResizeSource(width, 0, ElementMoveFlags::Right, TRUE);
                changed |= this->m_sourceRect != before ? TRUE : FALSE;
            }
        }
        if ((what & XmlPageBits::ForceAbsolute) != 0
            && (page.forceAbsolute ? TRUE : FALSE) != this->IsSourceAbsolute()) {
            this->SetSourceAbsolute(page.forceAbsolute);
            this->SetDocumentModified();
            changed = TRUE;
        }
        return changed;
    }

    COLORREF TableColour() const { return Preferences().GetElementColour(this->GetType() - FormElementType::Address); }

    BOOL RefreshColour()
    {
        const COLORREF colour = TableColour();
        if (colour == m_colour)
            return FALSE;
        m_colour = colour;
        return TRUE;
    }

    BOOL m_constantDataFlag = FALSE;
    COLORREF m_colour = 0xFFFFFF;
};

// What the XML element and attribute add: a name that an automatic
// description follows, the constant value, and the schema's facts on the
// property page.
template <class Base>
class XmlNamedKind : public XmlTextKind<Base>
{
public:
    const QString& GetName() const { return m_name; }
    // An automatic or empty description follows the name. FALSE when unchanged.
    BOOL SetName(const QString& name)
    {
        if (name == m_name)
            return FALSE;
        m_name = name;
        FollowName();
        return TRUE;
    }
    const QString& GetValue() const { return m_constantData; }
    BOOL SetValue(const QString& value)
    {
        if (value == m_constantData)
            return FALSE;
        m_constantData = value;
        FollowName();
        return TRUE;
    }

    // The schema's facts, one per line, for the page.
    virtual void GetSchemaInfo(QString& out) const = 0;

    BOOL UpdatePageData(XmlPageData& page) const
    {
        BOOL changed = XmlTextKind<Base>::UpdatePageData(page);
        QString info;
        GetSchemaInfo(info);
        if (page.data != m_constantData || page.name != m_name || page.schemaInfo != info)
            changed = TRUE;
        page.data = m_constantData;
        page.name = m_name;
        page.schemaInfo = info;
        return changed;
    }

    BOOL ApplyPageData(const XmlPageData& page, DWORD what)
    {
        BOOL changed = this->ApplyPageGeometry(page, what);
        if ((what & XmlPageBits::ConstantData) != 0) {
            changed |= this->SetConstantData(TRUE);
            changed |= SetValue(page.data);
        }
        if ((what & XmlPageBits::Name) != 0 && page.name != m_name)
            changed |= SetName(page.name);
        return changed;
    }

protected:
    using XmlTextKind<Base>::XmlTextKind;

    // The record of the kind: the name, and the constant value with no
    // place in the spooled file.
    void FillNamedRecord(CAPRTPDMRec& record, const QString& opcode) const
    {
        record.m_opcode.SetValue(opcode);
        record.m_longData.SetValue(m_name);
        if (this->m_constantDataFlag) {
            record.m_data.SetValue(m_constantData);
            ClearRecordPositions(record);
        }
    }

    QString m_name;
    QString m_constantData;

private:
    void FollowName()
    {
        if (this->IsAutoDescription() || this->m_description.isEmpty())
            this->SetDescription(m_name, this);
        this->SetDocumentModified();
    }
};
