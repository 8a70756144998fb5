#include "designer/views/pages/ExitProgramPropPages.h"

#include "designer/document/DesignerDoc.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/views/pages/AddressPropPage.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

namespace {

using Program = CExitProgramPropPage;
using Param = CExitParamPropPage;

constexpr StringTable::Entry kStrings[] = {
    {DialogTextId(Program::IDD, 0), "Exit Program"},
    {DialogTextId(Program::IDD, Program::IDC_PROGRAM), "Program Name:"},
    {DialogTextId(Program::IDD, Program::IDC_LIBRARY), "Library:"},
    {DialogTextId(Program::IDD, Program::IDC_ADD), "&Add"},
    {DialogTextId(Program::IDD, Program::IDC_DEL), "&Del"},
    {DialogTextId(Program::IDD, Program::IDC_PARAMETERS_GROUP), "Parameters"},
    {DialogTextId(Param::IDD, 0), "Exit Program Parameter"},
    {DialogTextId(Param::IDD, Param::IDC_INDEX), "Index:"},
    {DialogTextId(Param::IDD, Param::IDC_IGNORE_RETURN), "Ignore return value"},
    {DialogTextId(Param::IDD, Param::IDC_ALIGN), "Align characters to grid"},
    {DialogTextId(Param::IDD, Param::IDC_FONT), "&Font"},
};

constexpr DataPositionIds kParamIds = {
    Param::IDC_DATA_RADIO,  Param::IDC_DATA,       Param::IDC_POSITION_RADIO, Param::IDC_COLUMN,
    Param::IDC_COLUMN_SPIN, Param::IDC_LINE,       Param::IDC_LINE_SPIN,      Param::IDC_FORCE_ABSOLUTE,
    Param::IDC_WIDTH,       Param::IDC_WIDTH_SPIN, Param::IDC_POSITION_GROUP,
};

template <class Page>
auto& DataOf(CElementPageRecord* record)
{
    return static_cast<typename Page::Record*>(record)->data;
}

DataPositionFields ParamFields(CElementPageRecord& record)
{
    ExitParamPageData& d = DataOf<Param>(&record);
    return {&d.column,        &d.line,   &d.width,         &d.data,       &d.useData,
            &d.forceAbsolute, &d.inLoop, &d.largestColumn, &d.largestLine};
}

int IndexOf(const CStringArray& list, const QString& text)
{
    const auto it = std::find(list.begin(), list.end(), text);
    return it != list.end() ? static_cast<int>(it - list.begin()) : -1;
}

} // namespace

void RegisterAddressExitPageFactories()
{
    RegisterAddressPropPage();
    StringTable::Add(kStrings);
    CElementPropertySheet::RegisterPageFactory<ExitProgramPageData>(
        [](std::unique_ptr<CElementPageRecord> record) { return std::make_unique<Program>(std::move(record)); });
    CElementPropertySheet::RegisterPageFactory<ExitParamPageData>(
        [](std::unique_ptr<CElementPageRecord> record) { return std::make_unique<Param>(std::move(record)); });
}

// ---------------------------------------------------------------- exit program

CExitProgramPropPage::CExitProgramPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record),
                       {
                           {IDC_PROGRAM, PageNotification::KillFocus, ExitProgramPageBits::ProgramName},
                           {IDC_ADD, PageNotification::Clicked, ExitProgramPageBits::Libraries},
                           {IDC_DEL, PageNotification::Clicked, ExitProgramPageBits::Libraries},
                       }),
      m_data(DataOf<Program>(GetRecord()))
{
    StringTable::Add(kStrings);
    BindText(IDC_PROGRAM, &m_data.programName, CFormExitProgramElement::kNameLength);
    BindText(IDC_LIBRARY, &m_libraryText, CFormExitProgramElement::kNameLength);
}

void CExitProgramPropPage::UpdateControls()
{
    FillLibraryList();
    FillParameterList();
}

void CExitProgramPropPage::FillLibraryList()
{
    DialogControlState& box = Control(IDC_LIBRARY);
    box.items.clear();
    for (const QString& library : m_data.libraries) {
        if (box.items.size() == kShownLibraries)
            break;
        box.items << library;
    }
    SelectLibrary(box.items.isEmpty() ? -1 : 0);
}

void CExitProgramPropPage::SelectLibrary(int index)
{
    DialogControlState& box = Control(IDC_LIBRARY);
    if (index < 0 || index >= box.items.size()) {
        box.selection = -1;
        return;
    }
    box.selection = index;
    m_libraryText = box.items.at(index);
    box.text = m_libraryText;
}

void CExitProgramPropPage::ShowLibraryText(const QString& text)
{
    DialogControlState& box = Control(IDC_LIBRARY);
    // The entry of exactly that text first: the list may hold one that
    // differs only in case.
    int index = box.items.indexOf(text);
    if (index < 0) {
        const auto it = std::find_if(box.items.begin(), box.items.end(), [&text](const QString& item) {
            return item.compare(text, Qt::CaseInsensitive) == 0;
        });
        index = it != box.items.end() ? static_cast<int>(it - box.items.begin()) : -1;
    }
    if (index >= 0) {
        SelectLibrary(index);
        return;
    }
    box.selection = -1;
    m_libraryText = text;
    box.text = text;
}

void CExitProgramPropPage::FillParameterList()
{
    DialogControlState& list = Control(IDC_PARAMETERS);
    list.items.clear();
    list.selection = -1;
    const CFormElement* element = GetElement();
    const CDesignerDoc* doc = element != nullptr ? element->GetDocument() : nullptr;
    const int highest = std::min<int>(CFormExitParamElement::kMaxParamNumber, int(m_data.parameters.size()) - 1);
    for (int i = 1; i <= highest; ++i) {
        QString line = QStringLiteral("%1. ").arg(i);
        // The pointers were taken when the page was made: one whose element
        // has left the document since is not read.
        const CFormExitParamElement* parameter = m_data.parameters[static_cast<size_t>(i)];
        WORD position = 0;
        if (parameter != nullptr && doc != nullptr && FindElementIndex(doc->GetElementList(), parameter, &position))
            line += parameter->GetDescription();
        list.items << line;
    }
}

void CExitProgramPropPage::RunHandler(const PageControl& control)
{
    // Every step may show the element's messages: the sheet stays open.
    CSheetBusyScope busy(GetSheet());
    switch (control.id) {
    case IDC_PROGRAM:
        OnProgramName(control);
        break;
    case IDC_ADD:
        OnAdd(control);
        break;
    case IDC_DEL:
        OnDel(control);
        break;
    default:
        CElementPropPage::RunHandler(control);
        break;
    }
}

void CExitProgramPropPage::OnProgramName(const PageControl& control)
{
    const QString before = m_data.programName;
    if (!PullControls(control))
        return;
    if (!ApplyGroup(control)) {
        m_data.programName = before;
        Push();
    }
}

void CExitProgramPropPage::OnAdd(const PageControl& control)
{
    const QString before = m_libraryText;
    if (!PullControls(control))
        return;
    const QString typed = m_libraryText;
    if (IndexOf(m_data.libraries, typed) < 0)
        m_data.libraries.Add(typed);
    const BOOL changed = ApplyGroup(control);
    // The page's list is always the element's afterwards: an entry the
    // element refused must not reach it later with another change.
    RefreshPage();
    ShowLibraryText(changed ? typed : before);
    Push();
}

void CExitProgramPropPage::OnDel(const PageControl& control)
{
    const QString before = m_libraryText;
    if (!PullControls(control))
        return;
    const int removed = IndexOf(m_data.libraries, m_libraryText);
    if (removed >= 0)
        m_data.libraries.RemoveAt(removed);
    const BOOL changed = ApplyGroup(control);
    RefreshPage();
    if (changed)
        SelectLibrary(std::min(removed, int(Control(IDC_LIBRARY).items.size()) - 1));
    else
        ShowLibraryText(before);
    Push();
}

// ---------------------------------------------------------------- exit parameter

CExitParamPropPage::CExitParamPropPage(std::unique_ptr<CElementPageRecord> record)
    : CDataPositionBlock(IDD, std::move(record), kParamIds, &ParamFields,
                         {
                             {IDC_INDEX, PageNotification::SelChange, ExitParamPageBits::ParamNumber},
                             {IDC_IGNORE_RETURN, PageNotification::Clicked, ExitParamPageBits::IgnoreReturn},
                             {IDC_ALIGN, PageNotification::Clicked, ExitParamPageBits::AlignToGrid},
                             {IDC_FONT, PageNotification::Clicked, ExitParamPageBits::Font},
                         }),
      m_data(DataOf<Param>(GetRecord()))
{
    StringTable::Add(kStrings);
    BindCheck(IDC_IGNORE_RETURN, &m_data.ignoreReturn);
    QStringList& names = Control(IDC_INDEX).items;
    for (int number = 1; number <= CFormExitParamElement::kMaxParamNumber; ++number)
        names << CFormExitParamElement::ParamName(number);
}

BOOL CExitParamPropPage::OnInitDialog()
{
    const BOOL result = CDataPositionBlock::OnInitDialog();
    if (Control(IDC_INDEX).selection < 0)
        m_data.paramNumber = 0;
    return result;
}

void CExitParamPropPage::SelectIndex()
{
    const int number = m_data.paramNumber;
    Control(IDC_INDEX).selection = number >= 1 && number <= CFormExitParamElement::kMaxParamNumber ? number - 1 : -1;
}

void CExitParamPropPage::UpdateControls()
{
    CDataPositionBlock::UpdateControls();
    Control(IDC_ALIGN).check = m_data.alignToGrid == 1 ? 1 : 0;
    if (m_data.fontManager != nullptr)
        Control(IDC_FONT_DESCRIPTION).text = m_data.fontManager->GetFontDescription(m_data.fontIndex);
    SelectIndex();
}

void CExitParamPropPage::BeforeApply(const PageControl& control)
{
    switch (control.id) {
    case IDC_INDEX:
        m_data.paramNumber = Control(IDC_INDEX).selection + 1;
        break;
    case IDC_ALIGN:
        m_data.alignToGrid = Control(IDC_ALIGN).check > 0 ? 1 : 0;
        break;
    default:
        CDataPositionBlock::BeforeApply(control);
        break;
    }
}

void CExitParamPropPage::RunHandler(const PageControl& control)
{
    if (control.id == IDC_FONT)
        // A parameter has no sample text of its own.
        RunFontButton(control, QString(), m_data.fontIndex, m_data.fontManager);
    else
        CDataPositionBlock::RunHandler(control);
}

