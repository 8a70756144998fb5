#include "designer/output/ui/OutputDeviceSettingsPagePropPage.h"

#include "designer/output/OutputDevice.h"

COutputDeviceSettingsPagePropPage::COutputDeviceSettingsPagePropPage(UINT dialogId,
                                                                     std::initializer_list<int> acceptedTypes,
                                                                     bool hasStartLine, bool hasCoverPage)
    : COutputDevicePropPage(dialogId, acceptedTypes), m_hasStartLine(hasStartLine), m_hasCoverPage(hasCoverPage)
{
    // The list's items are the dialog's own data, one per line.
    Control(IDC_OPERATOR).items = GetListItems(IDC_OPERATOR);

    BindSelection(IDC_OPERATOR, &operatorIndex);
    BindCheck(IDC_COMPARE_DATA_TEXT, &m_compareTextChecked);
    BindCheck(IDC_AND_POSITION, &andPosition);
    BindText(IDC_COMPARE_TEXT, &compareText, kTextLimit);
    BindCheck(IDC_COMPARE_POSITION, &m_comparePositionChecked);
    BindIntWithUpDown(IDC_COLUMN, IDC_COLUMN_SPIN, &column, 0, kPositionMax);
    BindIntWithUpDown(IDC_WIDTH, IDC_WIDTH_SPIN, &width, 0, kPositionMax);
    BindIntWithUpDown(IDC_LINE, IDC_LINE_SPIN, &line, 0, kPositionMax);
    if (m_hasStartLine)
        BindText(IDC_START_LINE, &startLineText, kStartLineLimit);
    if (m_hasCoverPage) {
        BindText(IDC_LOGO, &logo, kCoverLimit);
        BindText(IDC_SIGNATURE, &signature, kCoverLimit);
    }
}

void COutputDeviceSettingsPagePropPage::ReadDevice(COutputDevice& source)
{
    operatorIndex = source.GetFirstPageComparison() == QLatin1String("NE") ? 1 : 0;
    compareText = source.GetFirstPageText();
    column = source.GetFirstPageColumn();
    line = source.GetFirstPageLine();
    width = source.GetFirstPageWidth();
    if (m_hasStartLine)
        startLineText = source.GetStartLine() == 0 ? QString() : QString::number(source.GetStartLine());
    if (m_hasCoverPage) {
        logo = source.GetCoverLogo();
        signature = source.GetCoverSignature();
    }
    if (compareText.isEmpty()) {
        compareMode = ComparePosition;
        andPosition = 0;
    } else {
        compareMode = CompareText;
        andPosition = column != 0 ? 1 : 0;
    }
}

BOOL COutputDeviceSettingsPagePropPage::WriteDevice(COutputDevice& target)
{
    const BOOL position = AnyChanged({
        target.SetFirstPageComparisonIndex(operatorIndex),
        target.SetFirstPageText(compareText),
        target.SetFirstPageColumn(column),
        target.SetFirstPageLine(line),
        target.SetFirstPageWidth(width),
    });
    const BOOL cover = m_hasCoverPage && AnyChanged({target.SetCoverLogo(logo), target.SetCoverSignature(signature)});
    // The start line comes last.
    const BOOL start = m_hasStartLine && target.SetStartLine(startLineText);
    return AnyChanged({position, cover, start});
}

void COutputDeviceSettingsPagePropPage::BeforePush()
{
    m_compareTextChecked = compareMode == CompareText ? 1 : 0;
    m_comparePositionChecked = compareMode == ComparePosition ? 1 : 0;
}

void COutputDeviceSettingsPagePropPage::AfterPull()
{
    compareMode = m_compareTextChecked ? CompareText : m_comparePositionChecked ? ComparePosition : CompareNone;
}

void COutputDeviceSettingsPagePropPage::EnableControls()
{
    const bool text = InTextMode();
    const bool position = !text || andPosition != 0;
    EnableControl(IDC_COMPARE_TEXT, text);
    EnableControl(IDC_AND_POSITION, text);
    for (const int id : {IDC_COLUMN, IDC_COLUMN_SPIN, IDC_LINE, IDC_LINE_SPIN, IDC_WIDTH, IDC_WIDTH_SPIN})
        EnableControl(id, position);
}

bool COutputDeviceSettingsPagePropPage::OnCompareDataTextClicked()
{
    if (!UpdateData(true))
        return false;
    column = 0;
    line = 0;
    width = 0;
    andPosition = 0;
    UpdateData(false);
    EnableControls();
    return true;
}

bool COutputDeviceSettingsPagePropPage::OnComparePositionClicked()
{
    if (!UpdateData(true))
        return false;
    compareText.clear();
    andPosition = 0;
    UpdateData(false);
    EnableControls();
    return true;
}

bool COutputDeviceSettingsPagePropPage::OnAndPositionClicked()
{
    if (!UpdateData(true))
        return false;
    EnableControls();
    return true;
}
