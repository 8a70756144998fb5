#include "designer/shell/OptionsAS400PropPage.h"

#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"

#include <algorithm>
#include <utility>

COptionsAS400PropPage::COptionsAS400PropPage() : COptionsPropPage(IDD)
{
    BindText(IDC_SYSTEM, &system);
    BindText(IDC_OUTPUT_QUEUE, &outputQueue, kNameLength);
    BindText(IDC_OUTPUT_QUEUE_LIBRARY, &outputQueueLibrary, kNameLength);
    BindInt(IDC_MAX_PAGES, &maxSpooledFilePages, 1, kMaxPagesMax);
    BindSelection(IDC_JVX_VERSION, &m_jvxIndex);
    BindText(IDC_EXPORT_PATH, &exportPath);
    BindText(IDC_LIBRARY, &library);
    BindCheck(IDC_USE_SOCKETS, &useSockets);
    // Any port the host server may listen on: a stored port the check
    // refused would keep the sheet from closing with OK.
    BindInt(IDC_PORT, &socketsPort, 0, kPortMax);
    BindText(IDC_DORREL_ADDRESS, &dorrelAddress);
}

QStringList COptionsAS400PropPage::JvxVersionTexts()
{
    QStringList texts;
    for (int version = kNewestJvxVersion; version >= kOldestJvxVersion; --version)
        texts << QString::number(version);
    return texts;
}

void COptionsAS400PropPage::OnInitDialog()
{
    fontLibraries.clear();
    if (CObList* libraries = CFontManager::GetFontLibraryList()) {
        for (CObject* object : *libraries) {
            const auto* fontLibrary = static_cast<const CAS400FontLib*>(object);
            fontLibraries.push_back({fontLibrary->GetName(), fontLibrary->IsInstalled() != FALSE});
        }
    }
    Control(IDC_JVX_VERSION).items = JvxVersionTexts();
    m_jvxIndex = kNewestJvxVersion - std::clamp(jvxVersion, kOldestJvxVersion, kNewestJvxVersion);
    EnableControls();
    Push();
}

void COptionsAS400PropPage::OnOK()
{
    for (const FontLibraryEntry& entry : fontLibraries)
        if (CAS400FontLib* fontLibrary = CFontManager::FindFontLibrary(entry.name))
            fontLibrary->SetInstalled(entry.installed ? TRUE : FALSE);
    m_historyEntry = system;
    jvxVersion = m_jvxIndex < 0 ? kNewestJvxVersion : std::max(kNewestJvxVersion - m_jvxIndex, kOldestJvxVersion);
}

void COptionsAS400PropPage::EnableControls()
{
    const bool sockets = useSockets != 0;
    Control(IDC_PORT).enabled = sockets;
    Control(IDC_EXPORT_PATH).enabled = !sockets;
    Control(IDC_BROWSE_EXPORT_PATH).enabled = !sockets;
}

void COptionsAS400PropPage::OnUseSocketsClicked(bool checked)
{
    // Only the check matters here: a refused number elsewhere must not keep
    // the switch from showing.
    useSockets = checked ? 1 : 0;
    Control(IDC_USE_SOCKETS).check = useSockets;
    EnableControls();
}

bool COptionsAS400PropPage::OnBrowseExportPath()
{
    if (!Pull())
        return false;
    const QString chosen = BrowseForFolder(QString());
    if (!chosen.isEmpty()) {
        exportPath = chosen;
        Push();
    }
    return true;
}

std::optional<QString> COptionsAS400PropPage::TakeHistoryEntry()
{
    return std::exchange(m_historyEntry, std::nullopt);
}
