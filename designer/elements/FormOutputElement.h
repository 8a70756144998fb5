#pragma once
// The Output element binds the document to one of its output devices. It has
// no rectangles; its children are the Address elements whose positions in
// the spooled file fill the device's address settings.

#include "designer/elements/ElementPages.h"
#include "designer/elements/FormContainerElement.h"
#include "platform/framework/Rect.h"

class COutputDeviceManager;

// The fields of the Output element's page "Output Device", after the
// General page.
struct OutputPageData
{
    // Groups of ApplyPage.
    enum : DWORD {
        DeviceIndex = 0x1000,   // the page chose a device
        DeviceChanged = 0x2000, // the device or its settings were edited
    };

    // The element's device: 0 the default device, 1 and up a device of the
    // document.
    int deviceIndex = 0;
    // The element's document's; borrowed.
    COutputDeviceManager* manager = nullptr;
};
using COutputPageRecord = TElementPageRecord<OutputPageData>;

// What an Output element asks of its Address children (element type 249):
// the device value they stand for and where on the spooled file they lie.
class IOutputAddress
{
public:
    virtual ~IOutputAddress() = default;
    // The address field code (21479 to 21527).
    virtual int GetSettingId() const = 0;
    // 1-based cells on the spooled file: left column, top line, right and
    // bottom exclusive.
    virtual kwvd::Rect GetAddressCells() const = 0;
    // Moves and sizes the child on its source or destination side.
    virtual void SetAddressCells(const kwvd::Rect& cells) = 0;
    // The host deletes the text under the child from the output.
    virtual BOOL GetDeleteFlag() const = 0;
    // TRUE when the flag changed.
    virtual BOOL SetDeleteFlag(BOOL on) = 0;
    // Takes a placeholder "?line,column,length[,D]"; FALSE when the text is
    // none.
    virtual BOOL SetFromPlaceholder(const QString& text) = 0;
};

class CFormOutputElement : public CFormContainerElement
{
    KWVD_DECLARE_SERIAL(CFormOutputElement)

public:
    // Without a device: the form the archive makes.
    CFormOutputElement();
    // On the document's default device.
    explicit CFormOutputElement(CDesignerDoc* doc);
    // From an "OUTP" record: the device named in the data field, found or
    // added through the device manager. No children are read.
    explicit CFormOutputElement(CAPRTPDMRec& record);
    // Leaves its device first, then hands its Address elements on.
    ~CFormOutputElement() override;

    // Registers the class and its record factory.
    static void Register();

    int GetType() const override;

    // -1 for none, 0 the default device.
    int GetOutputDevice() const { return m_deviceIndex; }
    // TRUE when the device, the description or an Address changed; also TRUE
    // for an element left without a device.
    BOOL SetOutputDevice(int index);
    // An automatic or empty description follows the device's display name.
    BOOL UpdateDescriptionFromDevice();
    // Puts every Address child under this element again and revalidates it.
    BOOL RecheckAddresses(int mode);

    // The Address children's answers for one setting id. With several
    // children of one id the last one's placeholder and cells stand.
    BOOL HasAddress(int settingId) const;
    // "?LLL,CCC,WWW" (line, column, length), then ",D" for a deleting child.
    BOOL FormatAddressPlaceholder(int settingId, QString& out) const;
    BOOL GetAddressCells(int settingId, kwvd::Rect& cells) const;
    // TRUE when at least one child of the id was moved.
    BOOL SetAddressCells(int settingId, const kwvd::Rect& cells);
    // Takes a placeholder text; FALSE when no child has the id or the text
    // is no placeholder.
    BOOL SetAddressFromPlaceholder(int settingId, const QString& text);

    // The device index the Output page shows; TRUE when it differed or is
    // the default device.
    BOOL UpdatePageDevice(int& index) const;
    // what 0x1000: the page chose a device; 0x2000: the device's settings
    // were edited.
    BOOL ApplyPageDevice(int index, DWORD what);

    // The General page, then "Output Device".
    using CFormContainerElement::AddPropertyPages;
    void AddPropertyPages(IElementPageSink* sheet, WORD generalMask) override;

    void Copy(const CFormElement& other) override;
    // An Address child takes the side the document type shows it on.
    BOOL AddChild(CFormElement* child, CFormElement* insertionHint) override;
    void Serialize(CArchive& ar) override;
    // "OUTP" with the device's name (the default resolved) and type code.
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;
    // Nothing to draw, so no hint.
    BOOL Select(BOOL select) override;
    void Revalidate(int mode) override;

private:
    // Each Address child of the id, in child order.
    template <class Visit>
    BOOL ForEachAddress(int settingId, Visit visit) const;

    COutputDeviceManager* Manager() const;
    // The Address kind the document type calls for.
    int AddressKindForDocument() const;

    int m_deviceIndex = -1;
};
