#pragma once
// The front end through which the designer shows a task dialog: it holds
// the settings with their texts, runs them modally (there is no platform
// task dialog here, so always through CXTaskDialog) and turns the dialog's
// notifications into virtual handlers a derived class may override. While a
// run is between TDN_DIALOG_CONSTRUCTED and TDN_DESTROYED, GetDialog() is
// the running dialog, through which a handler calls its operations; it is
// null at all other times.

#include "designer/controls/TaskDialogConfig.h"

#include <QString>

#include <array>

class CXTaskDialogMFCClient
{
public:
    CXTaskDialogMFCClient();
    virtual ~CXTaskDialogMFCClient();

    CXTaskDialogMFCClient(const CXTaskDialogMFCClient&) = delete;
    CXTaskDialogMFCClient& operator=(const CXTaskDialogMFCClient&) = delete;

    // The owned texts a caller may hand to the settings.
    enum OwnedText {
        WindowTitle,
        MainInstruction,
        Content,
        VerificationText,
        ExpandedInformation,
        ExpandedControlText,
        CollapsedControlText,
        Footer,
    };

    // Without a platform task dialog this fails at once with "module not
    // found"; the caller then runs RunDialog(nullptr).
    HRESULT RunSystemDialog();

    // The modal run: through function when given, else through CXTaskDialog.
    HRESULT RunDialog(TaskDialogFunction function);

    CXTaskDialog* GetDialog() const { return m_hWnd; }

    TASKDIALOGCONFIG m_config;
    std::array<QString, 8> m_texts;
    int m_nButtonResult = 0;
    int m_nRadioButtonResult = 0;
    BOOL m_bVerificationFlag = FALSE;
    DWORD m_nHelpId = 0;

    static HRESULT TaskDialogCallback(CXTaskDialog* hwnd, UINT code, WPARAM wParam, LPARAM lParam, LONG_PTR data);

protected:
    virtual void OnDialogConstructed() {}
    virtual void OnCreated() {}
    // TRUE keeps the dialog open.
    virtual BOOL OnButtonClicked(int) { return FALSE; }
    virtual void OnRadioButtonClicked(int) {}
    virtual void OnHyperlinkClicked(const QString&) {}
    virtual void OnExpandoButtonClicked(BOOL) {}
    virtual void OnVerificationClicked(BOOL) {}
    // Hands a help request to the owner.
    virtual void OnHelp();
    // TRUE starts the count of milliseconds again.
    virtual BOOL OnTimer(DWORD) { return FALSE; }
    virtual void OnNavigated() {}
    virtual void OnDestroyed() {}

private:
    CXTaskDialog* m_hWnd = nullptr;
};
