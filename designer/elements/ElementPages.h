#pragma once
// The records that an element's property pages exchange with the element.
// The element fills a record when it adds its pages to a sheet and on every
// refresh (CFormElement::UpdatePage) and reads it back group by group when
// the user edits a field (CFormElement::ApplyPage). Page 0 of every element
// is the General record; the kinds add their own record after it. The sheet
// makes a page for each record from the record's type, so this header needs
// no window code.

#include "platform/framework/Types.h"

#include <QString>

#include <memory>
#include <typeindex>

class CFormElement;

// A record as the sheet holds it: its data and the element it belongs to.
class CElementPageRecord
{
public:
    virtual ~CElementPageRecord();

    CFormElement* GetElement() const { return m_element; }
    // The page data struct the record holds: the sheet makes its page by it.
    virtual std::type_index DataType() const = 0;

    // The kind's copy of its values into the record, and the kind's setters
    // for the groups; FALSE when nothing changed. The base record belongs to
    // no kind and does nothing.
    virtual BOOL UpdateFrom(const CFormElement& element);
    virtual BOOL ApplyTo(CFormElement& element, DWORD groups) const;

protected:
    explicit CElementPageRecord(CFormElement* element) : m_element(element) {}

private:
    CFormElement* m_element;
};

// The fields of the General page, which edits what every kind has.
struct GeneralPageData
{
    // Groups of ApplyPage.
    enum : DWORD {
        Position = 0x1,
        Size = 0x2,
        Description = 0x20,
        ForceAbsolute = 0x100,
        Offset = 0x8000000,
    };

    // Bits of the mask; a set bit disables the field's controls.
    enum : WORD {
        NoWidth = 0x1,
        NoHeight = 0x2,
        NoColumn = 0x4,
        NoLine = 0x8, // also the offsets and Force Absolute
    };

    int column = 1; // 1-based, output page
    int line = 1;
    QString kindText;
    int height = 1; // cells
    int width = 1;
    QString description;
    int forceAbsolute = 0;
    int columnOffset = 0; // twips within the cell
    int lineOffset = 0;
    int inLoop = 0;
    int largestColumn = 1;
    int largestLine = 1;
    int largestColumnOffset = 0;
    int largestLineOffset = 0;
    WORD mask = 0;

    friend bool operator==(const GeneralPageData&, const GeneralPageData&) = default;
};

// A record holding one of the page data structs. The kinds' records
// override UpdateFrom and ApplyTo; the General one is the element base's.
template <class Data>
class TElementPageRecord : public CElementPageRecord
{
public:
    explicit TElementPageRecord(CFormElement* element, Data initial = {})
        : CElementPageRecord(element), data(std::move(initial))
    {}

    std::type_index DataType() const override { return typeid(Data); }

    Data data;
};

using CGeneralPageRecord = TElementPageRecord<GeneralPageData>;

// What an element hands its records to: the property sheet.
class IElementPageSink
{
public:
    virtual ~IElementPageSink();
    virtual void AddPage(std::unique_ptr<CElementPageRecord> record) = 0;
};
