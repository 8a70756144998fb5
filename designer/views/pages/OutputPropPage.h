#pragma once
// "Output Device", the Output element's page after the General page: the
// name and type of the element's device, "S&elect" to choose another one
// through the output device dialog and "&Settings" to edit the device's
// settings. Both keep the unpinned sheet shown while their window is up and
// run in one change transaction of the element's document.

#include "designer/elements/FormOutputElement.h"
#include "designer/views/pages/ElementPropPage.h"

class QWidget;

class COutputPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 156,
        IDC_SETTINGS = 1334,
        IDC_NAME = 1335,
        IDC_SELECT = 1336,
        IDC_TYPE = 1337,
        IDC_TYPE_LABEL = 0xFF02, // no id of its own: only its text is looked up
    };

    explicit COutputPropPage(std::unique_ptr<COutputPageRecord> record);

    const OutputPageData& Data() const { return m_data; }
    const QString& DeviceName() const { return deviceName; }
    const QString& TypeTitle() const { return typeTitle; }

    // The device's name (the default device's unresolved) and its type's
    // title into the controls.
    void ShowDevice();
    // Re-reads the element, then shows its device.
    void RefreshPage() override;

    BOOL OnInitDialog() override;
    // Always on "&Settings".
    std::optional<int> OnSetPageFocus(bool pageOrSheetActive) override;

    // The buttons; parent is the page's window, for the windows they open.
    // Nothing without an element (and, for Select, without a sheet).
    void OnSelect(QWidget* parent);
    void OnSettings(QWidget* parent);

private:
    OutputPageData& m_data;
    QString deviceName;
    QString typeTitle;
};

// The page's factory in the element property sheet, and its texts.
void RegisterOutputPropPage();
