#include "designer/output/ui/OutputDevicePropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

COutputDevicePropPage::COutputDevicePropPage(UINT dialogId, std::initializer_list<int> acceptedTypes)
    : m_dialogId(dialogId), m_acceptedTypes(acceptedTypes)
{}

COutputDevicePropPage::~COutputDevicePropPage() = default;

QString COutputDevicePropPage::GetTitle() const
{
    return GetLabel(0);
}

QString COutputDevicePropPage::GetLabel(int controlId) const
{
    return LoadResString(DialogTextId(m_dialogId, static_cast<UINT>(controlId)));
}

bool COutputDevicePropPage::AcceptsType(int type) const
{
    return std::find(m_acceptedTypes.begin(), m_acceptedTypes.end(), type) != m_acceptedTypes.end();
}

void COutputDevicePropPage::SetDevice(COutputDevice* newDevice)
{
    if (!newDevice || newDevice == device || !AcceptsType(newDevice->GetType()))
        return;
    device = newDevice;
    if (HasWindow()) {
        LoadFromDevice();
        m_showControls();
    }
}

void COutputDevicePropPage::AttachWindow(std::function<void()> showControls)
{
    m_showControls = std::move(showControls);
}

void COutputDevicePropPage::DetachWindow()
{
    m_showControls = nullptr;
}

BOOL COutputDevicePropPage::OnInitDialog()
{
    // A page without a device shows the members it was made with.
    UpdateData(false);
    LoadFromDevice();
    EnableControls();
    return TRUE;
}

void COutputDevicePropPage::LoadFromDevice()
{
    if (!device)
        return;
    ReadDevice(*device);
    EnableControls();
    UpdateData(false);
}

BOOL COutputDevicePropPage::SaveToDevice()
{
    if (!UpdateData(true))
        return FALSE;
    if (!device)
        return FALSE;
    return WriteDevice(*device);
}

void COutputDevicePropPage::OnOK()
{
    SaveToDevice();
}

BOOL COutputDevicePropPage::OnApply()
{
    // Checked first, so that a value the user must correct keeps the sheet
    // open instead of being skipped.
    if (!UpdateData(true))
        return FALSE;
    OnOK();
    return TRUE;
}

bool COutputDevicePropPage::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        BeforePush();
        for (const ListText& list : m_listTexts)
            *list.selection = static_cast<int>(Control(list.id).items.indexOf(*list.member));
        Push();
        for (const ListText& list : m_listTexts)
            Control(list.id).text = *list.member;
        return true;
    }
    m_refusedControl = 0;
    const bool pulled = Pull();
    for (const ListText& list : m_listTexts)
        *list.member = Control(list.id).items.value(*list.selection);
    // Members bound before a failure hold what was read.
    AfterPull();
    return pulled;
}

void COutputDevicePropPage::BindIntWithUpDown(int editId, int upDownId, int* member, int minimum, int maximum)
{
    BindInt(editId, member, minimum, maximum);
    m_upDowns.push_back(UpDown{upDownId, editId, minimum, maximum});
}

BOOL COutputDevicePropPage::AnyChanged(std::initializer_list<BOOL> results)
{
    return std::any_of(results.begin(), results.end(), [](BOOL changed) { return changed != FALSE; }) ? TRUE : FALSE;
}

void COutputDevicePropPage::BindListText(int id, QString* member)
{
    int* selection = &m_listSelections.emplace_back(-1);
    m_listTexts.push_back(ListText{id, member, selection});
    BindSelection(id, selection);
}

QStringList COutputDevicePropPage::GetListItems(int controlId) const
{
    return GetLabel(kListItemsBase + controlId).split(u'\n');
}

QStringList COutputDevicePropPage::PortraitLandscapeTexts()
{
    return {LoadResString(IDS_PORTRAIT), LoadResString(IDS_LANDSCAPE), LoadResString(IDS_DOC)};
}

QString COutputDevicePropPage::PortraitLandscapeText(int rotation)
{
    return PortraitLandscapeTexts().value(rotation == 0 || rotation == 1 ? rotation : 2);
}

BOOL COutputDevicePropPage::StorePortraitLandscape(COutputDevice& target, const QString& text)
{
    // The setter reads these types' rotations as "0", "1" and anything else.
    const qsizetype index = PortraitLandscapeTexts().indexOf(text);
    return target.SetRotationText(index == 0 || index == 1 ? QString::number(index) : LoadResString(IDS_DOC));
}

void COutputDevicePropPage::FollowFormat(const QString& format, QString& extension, Qt::CaseSensitivity cs)
{
    const auto is = [cs](const QString& text, const char* value) {
        return text.compare(QLatin1StringView(value), cs) == 0;
    };
    // A failure has been reported; what was read still counts.
    UpdateData(true);
    if (is(format, "PDF"))
        extension = QStringLiteral("PDF");
    else if ((is(format, "SCS") || is(format, "TXT")) && is(extension, "PDF"))
        extension = QStringLiteral("TXT");
    else
        return;
    UpdateData(false);
}

bool COutputDevicePropPage::StoreAndReload()
{
    const bool pulled = UpdateData(true);
    if (pulled && device)
        WriteDevice(*device);
    LoadFromDevice();
    return pulled;
}
