#pragma once
// The Address element marks the place whose text fills one address setting
// of an output device (destination, subject, file path, a parameter...).
// It is meant to live under an Output element, whose device reads and writes
// its position as an address placeholder. Its kind says on which side the
// place is: a line of the spooled file or a line of the output page.

#include "designer/elements/FormElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceAddressType.h"

#include <QString>

// Which side of the form an Address element marks.
struct AddressKind
{
    enum : int {
        Dest = '0',   // the output page
        Source = '1', // the spooled file
    };
};

// Bits of the what argument of ApplyPageData.
struct AddressPageBits
{
    enum : DWORD {
        Position = 0x1,
        Width = 0x2,
        SettingId = 0x100000,
        DeleteFlag = 0x4000000,
    };
};

// The values the Address page shows and edits.
struct AddressPageData
{
    int column = 0; // 1-based, source page
    int line = 0;
    int width = 0; // columns
    int settingId = 0;
    BOOL deleteFlag = FALSE;
    // Set once when the page is made: the input page in whole cells, and
    // the page's fields the element's kind leaves alone.
    int largestColumn = 1;
    int largestLine = 1;
    WORD mask = 0;
};

// Bits of the Address page's mask; a set bit disables the field.
struct AddressPageMask
{
    enum : WORD {
        NoWidth = 0x1,
        NoColumn = 0x4,
        NoLine = 0x8,
        All = 0xF, // bit 2 names no field of the page
    };
};

class CFormAddressElement : public CFormElement, public IOutputAddress
{
    KWVD_DECLARE_SERIAL(CFormAddressElement)

public:
    // For loading: Destination, destination side, no delete flag.
    CFormAddressElement();
    // A new Destination Address on the given rectangle, on the side the
    // document type calls for.
    CFormAddressElement(CDesignerDoc* doc, const kwvd::Rect& rect);

    // Registers the class and the strings.
    static void Register();

    // The width limit in characters of a setting id; 0 for none or for an id
    // an Address cannot stand for.
    static int MaxLengthOf(int settingId);
    // TRUE for the ids an Address can stand for.
    static BOOL IsAcceptedSettingId(int settingId);
    // The id a device of the type keeps for an Address (-1: no device, every
    // accepted id kept).
    static int SettingIdForDeviceType(int deviceType, int settingId);

    // ---- IOutputAddress
    int GetSettingId() const override { return m_settingId; }
    kwvd::Rect GetAddressCells() const override;
    void SetAddressCells(const kwvd::Rect& cells) override;
    BOOL GetDeleteFlag() const override { return m_deleteFlag; }
    // Never set for Destination and First Page; TRUE when it changed.
    BOOL SetDeleteFlag(BOOL on) override;
    BOOL SetFromPlaceholder(const QString& text) override;

    // FALSE for an id outside the accepted table. Otherwise the id the
    // parent's device keeps; TRUE when that differs from the current one.
    BOOL SetSettingId(int id);
    int GetKind() const { return m_kind; }
    // Only AddressKind values; TRUE when it changed.
    BOOL SetKind(int kind);
    COLORREF GetColour() const { return m_colour; }

    // An automatic description follows the name of the setting.
    void UpdateAutoDescription();
    int GetMaxLength() const { return MaxLengthOf(m_settingId); }
    // The type of the parent Output element's device, -1 without one.
    int GetDeviceType() const;
    // Both sides one line high, no wider than the limit, on the grid.
    void NormalizeRects();
    // The rectangle of the kind as 1-based cells, right and bottom exclusive.
    void GetCells(kwvd::Rect& cells) const;
    void SetCells(const kwvd::Rect& cells);

    // The Address page: 2 for a destination Address, 15 for a source one.
    int GetGeneralPageDisableMask() const;
    // The fields of the parent's device, in its order; every field without
    // a parent Output element or device.
    void GetAddressTypes(OutputDeviceAddressTypeList& types) const;
    // A destination Address takes its place from the General page only.
    WORD GetPageMask() const;
    void PreparePage(AddressPageData& page) const;
    // TRUE when a value of the page changed.
    BOOL UpdatePageData(AddressPageData& page) const;
    BOOL ApplyPageData(const AddressPageData& page, DWORD what);

    // ---- CFormElement
    int GetType() const override;
    void Copy(const CFormElement& other) override;
    void Serialize(CArchive& ar) override;
    // Writes nothing: an Address reaches the file only through its Output
    // element's device, so one found here is reported and left out.
    void ExportJVX(CJVXArchive& ar) override;
    void Revalidate(int mode) override;
    kwvd::Rect GetSourceRect() const override;
    kwvd::Rect GetDestRect() const override;
    void DrawSource(QPainter& painter) override;
    void DrawDest(QPainter& painter) override;
    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    // Also checks the id against the new parent's device type.
    BOOL SetParent(CFormElement* parent) override;

protected:
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    CFormOutputElement* OutputParent() const;
    const CPage* KindPage() const;
    void RefreshColour(BOOL announce);

    int m_settingId = AddressFieldCode::Destination;
    int m_kind = AddressKind::Dest;
    COLORREF m_colour = 0xFFFFFF;
    BOOL m_deleteFlag = FALSE;
};

// The string-table ids of the Address element.
inline constexpr UINT IDS_ADDRESS_NOT_IN_OUTPUT = 12401; // %1: the description
