#pragma once
// The settings block of a task dialog, its notification and element codes
// and the results its run reports. The flag bits are our own (nothing outside
// the process reads them); the common-button bits, notification codes,
// element numbers and command ids are the ones the system's code uses.
// Texts are a text or a string id, icons a picture or an icon id.

#include "platform/framework/Types.h"
#include "platform/ui/PromptService.h"

#include <QPixmap>
#include <QString>

#include <cstdint>
#include <optional>

class QWidget;
class CXTaskDialog;

using HRESULT = LONG;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// An error code of the system in the form of a failed result.
constexpr HRESULT HResultFromError(DWORD error)
{
    return static_cast<HRESULT>(0x80070000u | error);
}

inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
inline constexpr DWORD ERROR_NO_SCREEN = 1400;

inline constexpr int IDCLOSE = 8;

// dwFlags
inline constexpr DWORD TDF_ENABLE_HYPERLINKS = 0x0001;
inline constexpr DWORD TDF_USE_HICON_MAIN = 0x0002;
inline constexpr DWORD TDF_USE_HICON_FOOTER = 0x0004;
inline constexpr DWORD TDF_ALLOW_DIALOG_CANCELLATION = 0x0008;
inline constexpr DWORD TDF_USE_COMMAND_LINKS = 0x0010;
inline constexpr DWORD TDF_USE_COMMAND_LINKS_NO_ICON = 0x0020;
inline constexpr DWORD TDF_EXPAND_FOOTER_AREA = 0x0040;
inline constexpr DWORD TDF_EXPANDED_BY_DEFAULT = 0x0080;
inline constexpr DWORD TDF_VERIFICATION_FLAG_CHECKED = 0x0100;
inline constexpr DWORD TDF_SHOW_PROGRESS_BAR = 0x0200;
inline constexpr DWORD TDF_SHOW_MARQUEE_PROGRESS_BAR = 0x0400;
inline constexpr DWORD TDF_CALLBACK_TIMER = 0x0800;
inline constexpr DWORD TDF_POSITION_RELATIVE_TO_WINDOW = 0x1000;
inline constexpr DWORD TDF_RTL_LAYOUT = 0x2000;
inline constexpr DWORD TDF_NO_DEFAULT_RADIO_BUTTON = 0x4000;
inline constexpr DWORD TDF_CAN_BE_MINIMIZED = 0x8000;
inline constexpr DWORD TDF_SIZE_TO_CONTENT = 0x10000; // read and ignored

// dwCommonButtons
inline constexpr DWORD TDCBF_OK_BUTTON = 0x01;
inline constexpr DWORD TDCBF_YES_BUTTON = 0x02;
inline constexpr DWORD TDCBF_NO_BUTTON = 0x04;
inline constexpr DWORD TDCBF_CANCEL_BUTTON = 0x08;
inline constexpr DWORD TDCBF_RETRY_BUTTON = 0x10;
inline constexpr DWORD TDCBF_CLOSE_BUTTON = 0x20;

// Notifications to the callback.
inline constexpr UINT TDN_CREATED = 0;
inline constexpr UINT TDN_NAVIGATED = 1;
inline constexpr UINT TDN_BUTTON_CLICKED = 2;
inline constexpr UINT TDN_HYPERLINK_CLICKED = 3; // lParam: address of the target QString
inline constexpr UINT TDN_TIMER = 4;
inline constexpr UINT TDN_DESTROYED = 5;
inline constexpr UINT TDN_RADIO_BUTTON_CLICKED = 6;
inline constexpr UINT TDN_DIALOG_CONSTRUCTED = 7;
inline constexpr UINT TDN_VERIFICATION_CLICKED = 8;
inline constexpr UINT TDN_HELP = 9;
inline constexpr UINT TDN_EXPANDO_BUTTON_CLICKED = 10;

// Elements of the element-text operations.
inline constexpr int TDE_CONTENT = 0;
inline constexpr int TDE_EXPANDED_INFORMATION = 1;
inline constexpr int TDE_FOOTER = 2;
inline constexpr int TDE_MAIN_INSTRUCTION = 3;

// Icons of the icon update.
inline constexpr int TDIE_ICON_MAIN = 0;
inline constexpr int TDIE_ICON_FOOTER = 1;

// Stock icon ids.
inline constexpr UINT TD_SHIELD_ICON = 0xFFFC;
inline constexpr UINT TD_INFORMATION_ICON = 0xFFFD;
inline constexpr UINT TD_ERROR_ICON = 0xFFFE;
inline constexpr UINT TD_WARNING_ICON = 0xFFFF;

// A text given as itself or as a string id; neither is the empty text.
struct TaskDialogText
{
    TaskDialogText() = default;
    TaskDialogText(const QString& value) : text(value) {}
    TaskDialogText(const char16_t* value) : text(QString::fromUtf16(value)) {}
    static TaskDialogText FromId(UINT stringId)
    {
        TaskDialogText result;
        result.id = stringId;
        return result;
    }

    std::optional<QString> text;
    UINT id = 0;
};

// An icon given as a picture (with the TDF_USE_HICON_ flags) or as an id:
// a stock id or an icon of the resource source.
struct TaskDialogIcon
{
    TaskDialogIcon() = default;
    TaskDialogIcon(UINT iconId) : id(iconId) {}
    TaskDialogIcon(const QPixmap& picture) : handle(picture) {}

    QPixmap handle;
    UINT id = 0;

    bool IsNull() const { return handle.isNull() && id == 0; }
};

// Where ids become strings and icons: the application's current resource
// source, or a replacement a caller hands in.
class TaskDialogResources
{
public:
    virtual ~TaskDialogResources();

    // Nothing when the source has no string of that id.
    virtual std::optional<QString> LoadString(UINT id) const;
    // A null picture when the source has no icon of that id.
    virtual QPixmap LoadIcon(UINT id, int size) const;
};

// The string table (with its language source) and our drawn pictures.
const TaskDialogResources* CurrentResourceModule();

struct TASKDIALOG_BUTTON
{
    int nButtonID = 0;
    TaskDialogText pszButtonText;
};

using PFTASKDIALOGCALLBACK = HRESULT (*)(CXTaskDialog* hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         LONG_PTR lpRefData);

struct TASKDIALOGCONFIG
{
    UINT cbSize = sizeof(TASKDIALOGCONFIG);
    QWidget* hwndParent = nullptr;
    const TaskDialogResources* hInstance = nullptr;
    DWORD dwFlags = 0;
    DWORD dwCommonButtons = 0;
    TaskDialogText pszWindowTitle;
    TaskDialogIcon hMainIcon;
    TaskDialogText pszMainInstruction;
    TaskDialogText pszContent;
    UINT cButtons = 0;
    const TASKDIALOG_BUTTON* pButtons = nullptr;
    int nDefaultButton = 0;
    UINT cRadioButtons = 0;
    const TASKDIALOG_BUTTON* pRadioButtons = nullptr;
    int nDefaultRadioButton = 0;
    TaskDialogText pszVerificationText;
    TaskDialogText pszExpandedInformation;
    TaskDialogText pszExpandedControlText;
    TaskDialogText pszCollapsedControlText;
    TaskDialogIcon hFooterIcon;
    TaskDialogText pszFooter;
    PFTASKDIALOGCALLBACK pfCallback = nullptr;
    LONG_PTR lpCallbackData = 0;
    UINT cxWidth = 0;
};

// The signature of a platform task dialog function; no such platform here.
using TaskDialogFunction = HRESULT (*)(const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                                       BOOL* verificationFlagChecked);

// The six common buttons in the order they stand on screen, with the
// string ids a language source may translate.
struct StandardButton
{
    QString caption;
    UINT captionId;
    DWORD flag;
    int commandId;
};
