#pragma once
// The "Server" page of the Options sheet: the host system, the spooled file
// defaults, the installed font libraries, the JVX export (version, path or
// socket port, library) and the catalogue server's address. The font
// libraries' flags are set on the master library list on OK; the system
// name's completion history is the view's.

#include "designer/shell/OptionsPropPage.h"

#include <optional>
#include <vector>

class COptionsAS400PropPage : public COptionsPropPage
{
public:
    enum {
        IDD = 132
    };
    enum ControlId : int {
        IDC_EXPORT_PATH = 1011,
        IDC_BROWSE_EXPORT_PATH = 1012,
        IDC_FONT_LIBRARIES = 1013,
        IDC_LIBRARY = 1014,
        IDC_MAX_PAGES = 1015,
        IDC_OUTPUT_QUEUE = 1016,
        IDC_OUTPUT_QUEUE_LIBRARY = 1017,
        IDC_PORT = 1018,
        IDC_SYSTEM = 1019,
        IDC_USE_SOCKETS = 1020,
        IDC_JVX_VERSION = 1021,
        IDC_DORREL_ADDRESS = 1022,
        IDC_SPOOLED_FILE_GROUP = 0xFF01,
    };

    static constexpr int kNameLength = 10;
    static constexpr int kMaxPagesMax = 9999;
    static constexpr int kPortMax = 65535;
    static constexpr int kNewestJvxVersion = 28;
    static constexpr int kOldestJvxVersion = 5;
    static constexpr const char* kSystemHistoryKey = "Preferences\\AutoComplete\\SystemName";
    static constexpr int kSystemHistorySize = 50;

    struct FontLibraryEntry
    {
        QString name;
        bool installed = false;
    };

    COptionsAS400PropPage();

    // "28" down to "5".
    static QStringList JvxVersionTexts();

    void OnInitDialog() override;
    void OnOK() override;
    void EnableControls();

    // "Use Sockets" clicked, with its new state.
    void OnUseSocketsClicked(bool checked);
    // The export path's "...": the chosen folder becomes the path. False only
    // when the values were refused (reported).
    bool OnBrowseExportPath();

    // The system name to add to the completion history after OK, once.
    std::optional<QString> TakeHistoryEntry();

    QString system;
    QString library;
    QString exportPath;
    QString outputQueue;
    QString outputQueueLibrary;
    int maxSpooledFilePages = 1;
    int jvxVersion = kNewestJvxVersion;
    int useSockets = 0;
    int socketsPort = 0;
    QString dorrelAddress;
    // The master library list, in its order, with the installed flags as
    // the user checked them.
    std::vector<FontLibraryEntry> fontLibraries;

private:
    int m_jvxIndex = -1;
    std::optional<QString> m_historyEntry;
};
