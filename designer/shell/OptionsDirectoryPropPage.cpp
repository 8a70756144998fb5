#include "designer/shell/OptionsDirectoryPropPage.h"

COptionsDirectoryPropPage::COptionsDirectoryPropPage() : COptionsPropPage(IDD)
{
    BindText(IDC_DOC_DIRECTORY, &docDirectory);
    BindText(IDC_IMAGE_DIRECTORY, &imageDirectory);
    BindText(IDC_SPOOLED_FILE_DIRECTORY, &spooledFileDirectory);
}

bool COptionsDirectoryPropPage::OnBrowse(int buttonId)
{
    QString* folder = nullptr;
    switch (buttonId) {
    case IDC_BROWSE_DOC:
        folder = &docDirectory;
        break;
    case IDC_BROWSE_IMAGE:
        folder = &imageDirectory;
        break;
    case IDC_BROWSE_SPOOLED_FILE:
        folder = &spooledFileDirectory;
        break;
    default:
        return false;
    }
    if (!Pull())
        return false;
    const QString chosen = BrowseForFolder(*folder);
    if (!chosen.isEmpty()) {
        *folder = chosen;
        Push();
    }
    return true;
}
