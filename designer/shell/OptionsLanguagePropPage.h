#pragma once
// The "Language" page of the Options sheet: the default host code page, the
// character set of the display fonts and the server font code page name. A
// code page or character set the lists lack shows no selection and is kept.

#include "designer/shell/OptionsPropPage.h"

class COptionsLanguagePropPage : public COptionsPropPage
{
public:
    enum {
        IDD = 135
    };
    enum ControlId : int {
        IDC_SERVER_CODE_PAGE = 1193,
        IDC_CODE_PAGE = 1194,
        IDC_CHAR_SET = 1195,
    };

    static constexpr int kServerCodePageLength = 8;

    COptionsLanguagePropPage();

    // The code page list's entries as the CCSID combo box shows them, and
    // the character set names, in table order.
    static QStringList CodePageTexts();
    static QStringList CharSetTexts();

    void OnInitDialog() override;
    void OnOK() override;

    DWORD codePageId = 0;
    QString charSet;
    QString serverCodePage;
};
