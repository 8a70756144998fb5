#include "designer/controls/XTaskDialogMFCClient.h"

#include "designer/controls/XTaskDialog.h"
#include "platform/ui/HelpPrompt.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

CXTaskDialogMFCClient::CXTaskDialogMFCClient()
{
    m_config.pfCallback = &CXTaskDialogMFCClient::TaskDialogCallback;
    m_config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
    m_config.hInstance = CurrentResourceModule();
}

CXTaskDialogMFCClient::~CXTaskDialogMFCClient() = default;

HRESULT CXTaskDialogMFCClient::RunSystemDialog()
{
    return HResultFromError(ERROR_MOD_NOT_FOUND);
}

HRESULT CXTaskDialogMFCClient::RunDialog(TaskDialogFunction function)
{
    // The owner: the settings' parent, else the active main window.
    QWidget* owner = m_config.hwndParent != nullptr ? m_config.hwndParent : QApplication::activeWindow();
    if (owner != nullptr && owner->windowType() == Qt::SplashScreen)
        owner = nullptr;
    const HelpPromptContextScope help(m_nHelpId != 0 ? 0x30000u + m_nHelpId : HelpPromptContext());
    m_config.hwndParent = owner;
    if (function != nullptr)
        return function(&m_config, &m_nButtonResult, &m_nRadioButtonResult, &m_bVerificationFlag);
    // On the stack, so it goes even when the run throws; the handle never
    // outlives it.
    struct HandleReset
    {
        CXTaskDialog*& handle;
        ~HandleReset() { handle = nullptr; }
    } reset{m_hWnd};
    CXTaskDialog dialog;
    return dialog.DoModal(&m_config, &m_nButtonResult, &m_nRadioButtonResult, &m_bVerificationFlag);
}

void CXTaskDialogMFCClient::OnHelp()
{
    HelpRequest request;
    request.contextType = HELPINFO_WINDOW;
    request.controlId = 0;
    request.item = m_hWnd;
    request.owner = m_config.hwndParent;
    request.contextId = 0;
    request.mousePos = QCursor::pos();
    SendHelpRequest(request);
}

HRESULT CXTaskDialogMFCClient::TaskDialogCallback(CXTaskDialog* hwnd, UINT code, WPARAM wParam, LPARAM lParam,
                                                  LONG_PTR data)
{
    auto* client = reinterpret_cast<CXTaskDialogMFCClient*>(data);
    if (client == nullptr)
        return S_OK;
    switch (code) {
    case TDN_CREATED:
        client->OnCreated();
        break;
    case TDN_NAVIGATED:
        client->OnNavigated();
        break;
    case TDN_BUTTON_CLICKED:
        return client->OnButtonClicked(static_cast<int>(wParam)) ? S_FALSE : S_OK;
    case TDN_HYPERLINK_CLICKED: {
        const auto* target = reinterpret_cast<const QString*>(lParam);
        client->OnHyperlinkClicked(target != nullptr ? *target : QString());
        break;
    }
    case TDN_TIMER:
        return client->OnTimer(static_cast<DWORD>(wParam)) ? S_FALSE : S_OK;
    case TDN_DESTROYED:
        client->OnDestroyed();
        client->m_hWnd = nullptr;
        break;
    case TDN_RADIO_BUTTON_CLICKED:
        client->OnRadioButtonClicked(static_cast<int>(wParam));
        break;
    case TDN_DIALOG_CONSTRUCTED:
        client->m_hWnd = hwnd;
        client->OnDialogConstructed();
        break;
    case TDN_VERIFICATION_CLICKED:
        client->OnVerificationClicked(wParam != 0 ? TRUE : FALSE);
        break;
    case TDN_HELP:
        client->OnHelp();
        break;
    case TDN_EXPANDO_BUTTON_CLICKED:
        client->OnExpandoButtonClicked(wParam != 0 ? TRUE : FALSE);
        break;
    default:
        break;
    }
    return S_OK;
}
