#pragma once
// Dialog 165 over a Resource element: which of the document's image
// resources it shows (chosen from the list or loaded from a file), a reload
// of that resource's file, and the resource's export format and JPEG
// quality. Format and quality belong to the resource, shared by every
// element that uses it: the page writes them into the resource itself, in a
// change transaction only when an existing resource's value changes.

#include "designer/elements/FormResourceElement.h"
#include "designer/views/pages/ElementPropPage.h"

#include <vector>

class CResource;
class QWidget;

class CResourcePropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 165,
        IDC_BROWSE = 1175,
        IDC_FORMAT = 1177,
        IDC_QUALITY = 1179,
        IDC_RELOAD = 1182,
        IDC_RESOURCE_LIST = 1381,
        IDC_FILE_GROUP = 0xFF01, // no id of its own: only its title is looked up
    };
    static constexpr UINT kMaxQuality = 100;

    explicit CResourcePropPage(std::unique_ptr<CElementPageRecord> record);

    const ResourcePageData& Data() const { return m_data; }
    // The chosen resource's format and quality as shown; -1 and 0 without one.
    int Format() const { return m_format; }
    UINT Quality() const { return m_quality; }
    // The slot each entry of the list stands for, in the list's order.
    const std::vector<int>& ListSlots() const { return m_slots; }
    // The window the file chooser opens over; the view sets it.
    void SetDialogParent(QWidget* parent) { m_parent = parent; }

    BOOL OnInitDialog() override;
    // The element's resource index, then the list, the chosen resource's
    // values and the enabling; what the controls hold is not read first.
    void RefreshPage() override;

protected:
    void RunHandler(const PageControl& control) override;

private:
    CResource* ChosenResource() const;
    void FillResourceList();
    void SelectResource();
    void OnResourceSelected(const PageControl& control);
    void OnBrowse(const PageControl& control);
    void OnReload();
    void OnFormat();
    void OnQuality();

    ResourcePageData& m_data;
    int m_format = -1;
    UINT m_quality = 0;
    std::vector<int> m_slots;
    QWidget* m_parent = nullptr;
};

void RegisterResourcePageStrings();
