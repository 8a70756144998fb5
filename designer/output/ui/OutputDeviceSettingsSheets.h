#pragma once
// The settings sheets of the output devices, one for each family of device
// types: modal navigation sheets whose pages all edit the sheet's own copy of
// the device, never the document's. The device manager fills the copy, asks
// for the pages, runs the sheet and copies the copy back on OK (the display
// device has a dialog of its own instead).
//
// Each sheet holds its copy by value. The copy is a base that comes before
// the sheet, so it is made before any page and outlives the pages, which the
// sheet deletes from the last to the first, shown or not.

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"

#include <QString>

#include <memory>

class CDocStoreManager;

struct OutputDeviceSettingsSheetCopy
{
    COutputDevice device;
};

class COutputDeviceSettingsSheet : public OutputDeviceSettingsSheetCopy,
                                   public CNavigationSheet,
                                   public IOutputDeviceSettingsWindow
{
public:
    COutputDevice* GetDeviceCopy() override { return &device; }
    BOOL DoModal() override;

    // The titles of the navigation list, in page order.
    QStringList PageTitles() const;

protected:
    COutputDeviceSettingsSheet(const QString& caption, QWidget* parent);

    // The page of model class Page shown by View, editing the copy.
    template <class Page, class View>
    void AddDevicePage();
};

// *SCS, *AFP and *HPT: the general page of the copy's type (none for any
// other type), "Exit Program" and "Page". The caption names the copy's type.
class COutputDeviceSettingsPrintSheet : public COutputDeviceSettingsSheet
{
public:
    explicit COutputDeviceSettingsPrintSheet(QWidget* parent = nullptr);
    void AddPages() override;

    // String 341 with the copy's type code, empty for a type not printed.
    QString Caption() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_captionSet = false;
};

class COutputDeviceSettingsFaxSheet : public COutputDeviceSettingsSheet
{
public:
    explicit COutputDeviceSettingsFaxSheet(QWidget* parent = nullptr);
    void AddPages() override;
};

// The e-mail, file and document-store sheets leave their "Page" page out in
// an XML document.
class COutputDeviceSettingsEmailSheet : public COutputDeviceSettingsSheet
{
public:
    explicit COutputDeviceSettingsEmailSheet(QWidget* parent = nullptr);
    void AddPages() override;

    // '1' for an XML document; set before the pages are added.
    wchar_t xmlDocument = L'0';
};

class COutputDeviceSettingsFileSheet : public COutputDeviceSettingsSheet
{
public:
    explicit COutputDeviceSettingsFileSheet(QWidget* parent = nullptr);
    void AddPages() override;

    wchar_t xmlDocument = L'0';
};

class COutputDeviceSettingsDocStoreSheet : public COutputDeviceSettingsSheet
{
public:
    explicit COutputDeviceSettingsDocStoreSheet(QWidget* parent = nullptr);
    void AddPages() override;

    wchar_t xmlDocument = L'0';
    // Borrowed from the document; set before the pages are added.
    COutputDeviceManager* deviceManager = nullptr;
    CDocStoreManager* docStoreManager = nullptr;
};

// The window for a device type, filled from the context: a sheet, the
// display dialog for *DSP, none for a type outside 0..7.
std::unique_ptr<IOutputDeviceSettingsWindow> MakeOutputDeviceSettingsWindow(QWidget* parent, int type,
                                                                            const OutputDeviceSettingsContext& context);

// Makes the device manager's settings commands open these windows.
void InstallOutputDeviceSettingsWindows();
