#include "designer/shell/OptionsLanguagePropPage.h"

#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/CcsidTable.h"

COptionsLanguagePropPage::COptionsLanguagePropPage() : COptionsPropPage(IDD)
{
    BindText(IDC_SERVER_CODE_PAGE, &serverCodePage, kServerCodePageLength);
}

QStringList COptionsLanguagePropPage::CodePageTexts()
{
    QStringList texts;
    for (const CcsidRow& row : CcsidTable())
        texts << QStringLiteral("%1 - %2").arg(row.ccsid).arg(QString::fromUtf16(row.description));
    return texts;
}

QStringList COptionsLanguagePropPage::CharSetTexts()
{
    QStringList texts;
    for (const WindowsCharSet& row : WindowsCharSetTable())
        texts << QString::fromLatin1(row.name);
    return texts;
}

void COptionsLanguagePropPage::OnInitDialog()
{
    DialogControlState& codePages = Control(IDC_CODE_PAGE);
    codePages.items = CodePageTexts();
    codePages.selection = -1;
    const auto ccsids = CcsidTable();
    for (size_t i = 0; i < ccsids.size(); ++i) {
        if (static_cast<DWORD>(ccsids[i].ccsid) == codePageId) {
            codePages.selection = static_cast<int>(i);
            break;
        }
    }
    DialogControlState& charSets = Control(IDC_CHAR_SET);
    charSets.items = CharSetTexts();
    charSets.selection = static_cast<int>(charSets.items.indexOf(charSet));
    Push();
}

void COptionsLanguagePropPage::OnOK()
{
    const auto ccsids = CcsidTable();
    const int codePage = Control(IDC_CODE_PAGE).selection;
    if (codePage >= 0 && static_cast<size_t>(codePage) < ccsids.size()
        && ccsids[static_cast<size_t>(codePage)].ccsid != 0)
        codePageId = static_cast<DWORD>(ccsids[static_cast<size_t>(codePage)].ccsid);
    const DialogControlState& charSets = Control(IDC_CHAR_SET);
    if (charSets.selection >= 0 && charSets.selection < charSets.items.size())
        charSet = CharSetTexts().at(charSets.selection);
}
