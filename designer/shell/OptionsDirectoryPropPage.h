#pragma once
// The "Directories" page of the Options sheet: the default folders of
// documents, images and spooled files, each with a folder chooser.

#include "designer/shell/OptionsPropPage.h"

class COptionsDirectoryPropPage : public COptionsPropPage
{
public:
    enum {
        IDD = 133
    };
    enum ControlId : int {
        IDC_DOC_DIRECTORY = 1080,
        IDC_BROWSE_DOC = 1081,
        IDC_IMAGE_DIRECTORY = 1082,
        IDC_BROWSE_IMAGE = 1083,
        IDC_SPOOLED_FILE_DIRECTORY = 1084,
        IDC_BROWSE_SPOOLED_FILE = 1085,
        IDC_DIRECTORY_GROUP = 0xFF01,
    };

    COptionsDirectoryPropPage();

    // A "..." button: the folder chooser starts at the folder of its edit
    // and a chosen folder replaces it. False only when the values were
    // refused (reported).
    bool OnBrowse(int buttonId);

    QString docDirectory;
    QString imageDirectory;
    QString spooledFileDirectory;
};
