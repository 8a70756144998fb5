#include "designer/views/pages/SourceTextPropPages.h"

#include "designer/resources/fonts/FontManager.h"
#include "designer/views/pages/ConditionalPropPage.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/LoopPropPage.h"
#include "designer/views/pages/RemarkPropPage.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

namespace {

template <class Data>
Data& RecordData(CElementPropPage& page)
{
    return static_cast<TElementPageRecord<Data>*>(page.GetRecord())->data;
}

std::vector<PageControl> SourceControls()
{
    using P = CSourcePropPage;
    using D = SourcePageData;
    return {
        {P::IDC_COLUMN, PageNotification::Change, D::Position, P::IDC_COLUMN_SPIN, true},
        {P::IDC_LINE, PageNotification::Change, D::Position, P::IDC_LINE_SPIN, true},
        {P::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, D::ForceAbsolute},
        {P::IDC_WIDTH, PageNotification::Change, D::Size, P::IDC_WIDTH_SPIN, true},
        {P::IDC_HEIGHT, PageNotification::Change, D::Size, P::IDC_HEIGHT_SPIN, true},
        {P::IDC_ALIGN, PageNotification::Clicked, D::AlignToGrid},
        {P::IDC_FONT, PageNotification::Clicked, D::Font},
    };
}

std::vector<PageControl> TextControls()
{
    using P = CTextPropPage;
    using D = TextPageData;
    return {
        {P::IDC_TEXT, PageNotification::Change, D::Text},
        {P::IDC_FONT, PageNotification::Clicked, D::Font},
        {P::IDC_ALIGN, PageNotification::Clicked, D::AlignToGrid},
    };
}

template <class Data, class Page>
void RegisterRecordPage()
{
    CElementPropertySheet::RegisterPageFactory<Data>(
        [](std::unique_ptr<CElementPageRecord> record) { return std::make_unique<Page>(std::move(record)); });
}

} // namespace

// ---------------------------------------------------------------- both pages

void CFontElementPage::RunAlignBox(const PageControl& control, BOOL& alignToGrid)
{
    CSheetBusyScope busy(GetSheet());
    if (!PullControls(control))
        return;
    alignToGrid = FindControl(control.id)->check > 0 ? 1 : 0;
    ApplyGroup(control);
}

void CFontElementPage::ShowFontDescription(int staticId, int fontIndex, const CFontManager* fonts)
{
    if (fonts != nullptr)
        Control(staticId).text = fonts->GetFontDescription(fontIndex);
}

// ---------------------------------------------------------------- spooled-file page

CSourcePropPage::CSourcePropPage(std::unique_ptr<CElementPageRecord> record)
    : CFontElementPage(IDD, std::move(record), SourceControls()), m_data(RecordData<SourcePageData>(*this))
{
    RegisterTextKindPageStrings();
    BindNumber(IDC_COLUMN, &m_data.column);
    BindNumber(IDC_LINE, &m_data.line);
    BindCheck(IDC_FORCE_ABSOLUTE, &m_data.forceAbsolute);
    BindNumber(IDC_WIDTH, &m_data.width);
    BindNumber(IDC_HEIGHT, &m_data.height);
    BindCheck(IDC_ALIGN, &m_data.alignToGrid);
    Control(IDC_FORCE_ABSOLUTE).enabled = false;
}

std::pair<int, int> CSourcePropPage::Range(int editId) const
{
    switch (editId) {
    case IDC_COLUMN:
    case IDC_WIDTH:
        return {1, m_data.limits.largestColumn};
    case IDC_LINE:
    case IDC_HEIGHT:
        return {1, m_data.limits.largestLine};
    default:
        return {0, 0};
    }
}

std::optional<int> CSourcePropPage::UpperLimit(int id) const
{
    if (Range(id) == std::pair(0, 0))
        return std::nullopt;
    return Range(id).second;
}

void CSourcePropPage::RunHandler(const PageControl& control)
{
    if (control.id == IDC_FONT)
        RunFontButton(control, m_data.fontSample, m_data.fontIndex, m_data.fontManager);
    else if (control.id == IDC_ALIGN)
        RunAlignBox(control, m_data.alignToGrid);
    else
        CFontElementPage::RunHandler(control);
}

void CSourcePropPage::UpdateControls()
{
    ShowFontDescription(IDC_FONT_DESCRIPTION, m_data.fontIndex, m_data.fontManager);
    Control(IDC_FORCE_ABSOLUTE).enabled = m_data.inLoop != 0;
    const bool relative = m_data.inLoop != 0 && m_data.forceAbsolute == 0;
    Control(IDC_POSITION_GROUP).text =
        LoadResString(relative ? ElementPageString::PositionRelative : ElementPageString::PositionAbsolute);
}

// ---------------------------------------------------------------- text page

CTextPropPage::CTextPropPage(std::unique_ptr<CElementPageRecord> record)
    : CFontElementPage(IDD, std::move(record), TextControls()), m_data(RecordData<TextPageData>(*this))
{
    RegisterTextKindPageStrings();
    BindText(IDC_TEXT, &m_data.text);
    BindCheck(IDC_ALIGN, &m_data.alignToGrid);
}

void CTextPropPage::RunHandler(const PageControl& control)
{
    if (control.id == IDC_FONT)
        RunFontButton(control, m_data.text, m_data.fontIndex, m_data.fontManager);
    else if (control.id == IDC_ALIGN)
        RunAlignBox(control, m_data.alignToGrid);
    else
        CFontElementPage::RunHandler(control);
}

void CTextPropPage::UpdateControls()
{
    ShowFontDescription(IDC_FONT_DESCRIPTION, m_data.fontIndex, m_data.fontManager);
}

std::optional<int> CTextPropPage::OnSetPageFocus(bool pageOrSheetActive)
{
    if (!pageOrSheetActive)
        return std::nullopt;
    return IDC_TEXT;
}

// ---------------------------------------------------------------- registration

void RegisterTextKindPageFactories()
{
    RegisterTextKindPageStrings();
    RegisterRecordPage<SourcePageData, CSourcePropPage>();
    RegisterRecordPage<TextPageData, CTextPropPage>();
    RegisterRecordPage<LoopPageData, CLoopPropPage>();
    RegisterRecordPage<ConditionalPageData, CConditionalPropPage>();
    RegisterRecordPage<RemarkPageData, CRemarkPropPage>();
}

void RegisterTextKindPageStrings()
{
    using S = CSourcePropPage;
    using T = CTextPropPage;
    using L = CLoopPropPage;
    using C = CConditionalPropPage;
    static const StringTable::Entry kStrings[] = {
        {C::IDS_POSITION, "POSITION"},
        {C::IDS_PAGE, "PAGE"},
        {C::IDS_PARM, "PARM"},
        {DialogTextId(S::IDD, 0), "Spooled file"},
        {DialogTextId(S::IDD, S::IDC_POSITION_GROUP), "Position"},
        {DialogTextId(S::IDD, S::IDC_COLUMN), "Column:"},
        {DialogTextId(S::IDD, S::IDC_LINE), "Line:"},
        {DialogTextId(S::IDD, S::IDC_FORCE_ABSOLUTE), "Force Absolute"},
        {DialogTextId(S::IDD, S::IDC_SIZE_GROUP), "Size"},
        {DialogTextId(S::IDD, S::IDC_WIDTH), "Width:"},
        {DialogTextId(S::IDD, S::IDC_HEIGHT), "Height:"},
        {DialogTextId(S::IDD, S::IDC_ALIGN), "Align characters to grid"},
        {DialogTextId(S::IDD, S::IDC_FONT), "&Font"},
        {DialogTextId(T::IDD, 0), "Text"},
        {DialogTextId(T::IDD, T::IDC_FONT), "&Font"},
        {DialogTextId(T::IDD, T::IDC_ALIGN), "Align characters to grid"},
        {DialogTextId(L::IDD, 0), "Loop"},
        {DialogTextId(L::IDD, L::IDC_POSITION_GROUP), "Position"},
        {DialogTextId(L::IDD, L::IDC_START_LINE), "Start Line:"},
        {DialogTextId(L::IDD, L::IDC_SIZE_GROUP), "Size"},
        {DialogTextId(L::IDD, L::IDC_HEIGHT), "Height:"},
        {DialogTextId(L::IDD, L::IDC_END_OF_PAGE), "&Loop to end of page"},
        {DialogTextId(L::IDD, L::IDC_END_OF_DOCUMENT), "Loop to end of &document"},
        {DialogTextId(L::IDD, L::IDC_INCREMENT_ON_SUCCESS), "&Increment Destination counter on success only"},
        {DialogTextId(C::IDD, 0), "Conditional"},
        {DialogTextId(C::IDD, C::IDC_COMPARISON_GROUP), "Comparison"},
        {DialogTextId(C::IDD, C::IDC_SUBJECT), "On:"},
        {DialogTextId(C::IDD, C::IDC_OPERATOR), "Type:"},
        {DialogTextId(C::IDD, C::IDC_VALUE), "Data:"},
        {DialogTextId(C::IDD, C::IDC_POSITION_GROUP), "Position"},
        {DialogTextId(C::IDD, C::IDC_COLUMN), "Column:"},
        {DialogTextId(C::IDD, C::IDC_LINE), "Line:"},
        {DialogTextId(C::IDD, C::IDC_FORCE_ABSOLUTE), "Force Absolute"},
        {DialogTextId(C::IDD, C::IDC_SIZE_GROUP), "Size"},
        {DialogTextId(C::IDD, C::IDC_WIDTH), "Width:"},
        {DialogTextId(C::IDD, C::IDC_BREAK_LOOP), "Break Loop"},
        {DialogTextId(CRemarkPropPage::IDD, 0), "Remark"},
    };
    StringTable::Add(kStrings);
}
