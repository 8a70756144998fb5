#pragma once
// The Output element binds the document to one of its output devices. It has
// no rectangles; its children are the Address elements whose positions in
// the spooled file fill the device's address settings.

#include "designer/elements/FormContainerElement.h"

class CFormOutputElement : public CFormContainerElement
{
    KWVD_DECLARE_SERIAL(CFormOutputElement)

public:
    // Without a device: the form the archive makes.
    CFormOutputElement();
    // On the document's default device.
    explicit CFormOutputElement(CDesignerDoc* doc);
    // Leaves its device first, then hands its Address elements on.
    ~CFormOutputElement() override;

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

    void Copy(const CFormElement& other) override;
    // Nothing to draw, so no hint.
    BOOL Select(BOOL select) override;
    void Revalidate(int mode) override;

private:
    int m_deviceIndex = -1;
};
