#include "designer/views/pages/tests/PageTestFixture.h"

#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormEraserElement.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/elements/FormRemarkElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "platform/framework/Exceptions.h"

#include <functional>
#include <ostream>

namespace {

using Page = CGeneralPropPage;

// The fields the mask leaves on, by their edits.
struct FieldsOn
{
    bool width;
    bool height;
    bool column;
    bool line; // with the offsets

    friend bool operator==(const FieldsOn&, const FieldsOn&) = default;
};

FieldsOn EnabledFields(const CGeneralPropPage& page)
{
    auto on = [&](int id) { return page.FindControl(id) != nullptr && page.FindControl(id)->enabled; };
    return {on(Page::IDC_WIDTH) && on(Page::IDC_WIDTH_SPIN), on(Page::IDC_HEIGHT) && on(Page::IDC_HEIGHT_SPIN),
            on(Page::IDC_COLUMN) && on(Page::IDC_COLUMN_SPIN),
            on(Page::IDC_LINE) && on(Page::IDC_COLUMN_OFFSET) && on(Page::IDC_LINE_OFFSET) && on(Page::IDC_LINE_SPIN)
                && on(Page::IDC_COLUMN_OFFSET_SPIN) && on(Page::IDC_LINE_OFFSET_SPIN)};
}

struct MaskCase
{
    const char* name;
    std::function<CFormElement*(CDesignerDoc*, const kwvd::Rect&)> make;
    WORD mask;
};

void PrintTo(const MaskCase& c, std::ostream* os)
{
    *os << c.name;
}

const MaskCase kMaskCases[] = {
    {"AddressOnTheOutputPage", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormAddressElement(d, r); }, 2},
    {"AddressOnTheSpooledFile",
     [](CDesignerDoc* d, const kwvd::Rect& r) {
         auto* address = new CFormAddressElement(d, r);
         address->SetKind(AddressKind::Source);
         return address;
     },
     15},
    {"Barcode", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormBarcodeElement(d, r); }, 1},
    {"Conditional",
     [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormConditionalElement(d, r, PaneSide::Output); }, 15},
    {"Eraser", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormEraserElement(d, r); }, 0},
    {"ExitParameter",
     [](CDesignerDoc* d, const kwvd::Rect& r) {
         auto* parameter = new CFormExitParamElement(d, r, PaneSide::Output);
         parameter->SetIgnoreReturn(FALSE);
         return parameter;
     },
     2},
    {"ExitParameterIgnoringItsReturnValue",
     [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormExitParamElement(d, r, PaneSide::Output); }, 15},
    {"ExitProgram", [](CDesignerDoc* d, const kwvd::Rect&) { return new CFormExitProgramElement(d); }, 15},
    {"Loop", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormLoopElement(d, r); }, 7},
    {"OutputDevice", [](CDesignerDoc* d, const kwvd::Rect&) { return new CFormOutputElement(d); }, 15},
    {"Remark", [](CDesignerDoc* d, const kwvd::Rect&) { return new CFormRemarkElement(d); }, 15},
    {"Resource", [](CDesignerDoc* d, const kwvd::Rect&) { return new CFormResourceElement(d); }, 15},
    {"SectionOfSpooledFile", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormSourceElement(d, r); }, 3},
    {"StaticText", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormTextElement(d, r); }, 2},
    {"Variable", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormVariableElement(d, r, PaneSide::Output); },
     15},
    {"XmlAttribute",
     [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormXmlAttributeElement(d, r, PaneSide::Output); }, 15},
    {"XmlComment",
     [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormXmlCommentElement(d, r, PaneSide::Output); }, 15},
    {"XmlElement", [](CDesignerDoc* d, const kwvd::Rect& r) { return new CFormXmlElement(d, r, PaneSide::Output); },
     15},
    {"XmlInstruction", [](CDesignerDoc* d, const kwvd::Rect&) { return new CFormXmlInstructionElement(d); }, 15},
};

class GeneralMaskTest : public PageTest, public ::testing::WithParamInterface<MaskCase>
{};

TEST_P(GeneralMaskTest, DisablesTheFieldsOfItsKind)
{
    const MaskCase& c = GetParam();
    std::unique_ptr<CFormElement> element(c.make(&Doc(), Cells(3, 3, 8, 5)));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetGeneralMask(), c.mask);

    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(element.get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Data().mask, c.mask);
    EXPECT_EQ(EnabledFields(*page),
              (FieldsOn{(c.mask & 1) == 0, (c.mask & 2) == 0, (c.mask & 4) == 0, (c.mask & 8) == 0}));
    // Outside any loop Force Absolute never applies; the description always does.
    EXPECT_FALSE(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled);
    EXPECT_TRUE(page->Control(Page::IDC_DESCRIPTION).enabled);
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, FormElementType::DisplayName(element->GetType()));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, GeneralMaskTest, ::testing::ValuesIn(kMaskCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, KindTextsKeepTheirFullStops)
{
    EXPECT_EQ(GeneralPage(Make(FormElementType::Image, Cells(2, 2, 6, 5)))->Data().kindText, QStringLiteral("Image."));
    EXPECT_EQ(GeneralPage(Make(FormElementType::Text, Cells(2, 8, 6, 9)))->Data().kindText,
              QStringLiteral("Static text."));
}

TEST_F(PageTest, ExitParameterMaskFollowsItsIgnoredReturnValue)
{
    CFormElement* loop = Make(FormElementType::Loop, Cells(1, 2, 40, 12));
    ASSERT_NE(loop, nullptr);
    auto* parameter = dynamic_cast<CFormExitParamElement*>(Make(FormElementType::ExitParam, Cells(3, 4, 9, 5), loop));
    ASSERT_NE(parameter, nullptr);
    ASSERT_EQ(parameter->GetParent(), loop);
    parameter->SetIgnoreReturn(FALSE);
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(parameter);
    EXPECT_EQ(page->Data().mask, 2);
    EXPECT_TRUE(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled);

    parameter->SetIgnoreReturn(TRUE);
    page->RefreshPage();
    EXPECT_EQ(page->Data().mask, 15);
    EXPECT_EQ(EnabledFields(*page), (FieldsOn{false, false, false, false}));
    EXPECT_FALSE(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled);
    EXPECT_TRUE(page->FindControl(Page::IDC_DESCRIPTION)->enabled);

    parameter->SetIgnoreReturn(FALSE);
    page->RefreshPage();
    EXPECT_EQ(page->Data().mask, 2);
    EXPECT_EQ(EnabledFields(*page), (FieldsOn{true, false, true, true}));
    EXPECT_TRUE(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled);
}

struct PositionTitleCase
{
    const char* name;
    bool inLoop;
    bool ticked;
    bool forceAbsoluteOn;
    const char* title;
};

void PrintTo(const PositionTitleCase& c, std::ostream* os)
{
    *os << c.name;
}

class PositionTitleTest : public PageTest, public ::testing::WithParamInterface<PositionTitleCase>
{};

TEST_P(PositionTitleTest, ForceAbsoluteAndTheGroupTitle)
{
    const PositionTitleCase& c = GetParam();
    CFormElement* loop = c.inLoop ? Make(FormElementType::Loop, Cells(1, 2, 40, 20)) : nullptr;
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8), loop);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->GetParent(), loop);
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    if (c.ticked) {
        page->Control(Page::IDC_FORCE_ABSOLUTE).check = 1;
        page->OnControlNotify(Page::IDC_FORCE_ABSOLUTE, PageNotification::Clicked);
        EXPECT_TRUE(image->IsDestAbsolute());
    }
    EXPECT_EQ(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled, c.forceAbsoluteOn);
    EXPECT_EQ(page->FindControl(Page::IDC_POSITION_GROUP)->text, QString::fromLatin1(c.title));
}

const PositionTitleCase kPositionTitleCases[] = {
    {"TopLevel", false, false, false, "Position (Absolute)"},
    {"TopLevelTicked", false, true, false, "Position (Absolute)"},
    {"InLoop", true, false, true, "Position (Relative)"},
    {"InLoopTicked", true, true, true, "Position (Absolute)"},
};

INSTANTIATE_TEST_SUITE_P(Image, PositionTitleTest, ::testing::ValuesIn(kPositionTitleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, ColumnBeyondThePageIsCutToTheLargestAtOnce)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 5, 5));
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    const int largest = page->Data().largestColumn;
    ASSERT_EQ(largest, Output().GetPixelWidth() / Output().GetCellWidth());

    Type(*page, Page::IDC_COLUMN, QStringLiteral("9999"));

    EXPECT_EQ(page->Control(Page::IDC_COLUMN).text, QString::number(largest));
    EXPECT_EQ(image->DestRect().left, (largest - 1) * Output().GetCellWidth());
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
}

TEST_F(PageTest, LimitsComeFromTheOutputPage)
{
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(Make(FormElementType::Image, Cells(4, 4, 5, 5)));
    QPoint cell(Output().GetCellWidth(), Output().GetCellHeight());
    Output().PixelsToTwips(cell);
    EXPECT_EQ(page->Data().largestLine, Output().GetPixelHeight() / Output().GetCellHeight());
    EXPECT_EQ(page->Data().largestColumnOffset, cell.x() - 1);
    EXPECT_EQ(page->Data().largestLineOffset, cell.y() - 1);
    EXPECT_EQ(page->Range(Page::IDC_LINE_OFFSET), std::make_pair(0, cell.y() - 1));
}

// One edit of one field: the element takes it (one undo step) or not (none).
struct EditCase
{
    const char* name;
    int kind;
    int control;
    const char* text;
    PageNotification notification;
    bool taken;
};

void PrintTo(const EditCase& c, std::ostream* os)
{
    *os << c.name;
}

class GeneralEditTest : public PageTest, public ::testing::WithParamInterface<EditCase>
{};

TEST_P(GeneralEditTest, OneUndoStepOnlyWhenTheElementTakesTheValue)
{
    const EditCase& c = GetParam();
    // Columns 4 to 8, lines 4 to 7.
    CFormElement* element = Make(c.kind, Cells(4, 4, 9, 8));
    ASSERT_NE(element, nullptr);
    {
        CDocChangeGuard change(&Doc());
        element->SetDescription(QStringLiteral("Logo"), element);
    }
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(element);
    const DWORD buildId = Doc().GetBuildId();
    const qsizetype undoSteps = Doc().GetUndoList().GetCount();

    if (c.notification == PageNotification::Clicked)
        page->Control(c.control).check = 1;
    else
        page->Control(c.control).text = QString::fromLatin1(c.text);
    page->OnControlNotify(c.control, c.notification);

    EXPECT_EQ(Doc().GetBuildId(), c.taken ? buildId + 1 : buildId);
    EXPECT_EQ(Doc().GetUndoList().GetCount(), c.taken ? undoSteps + 1 : undoSteps);
    EXPECT_EQ(Doc().GetChangeDepth(), 0);
    EXPECT_EQ(env.env.PromptTexts(), QStringList());
}

const EditCase kEditCases[] = {
    {"NewColumn", FormElementType::Image, Page::IDC_COLUMN, "6", PageNotification::Change, true},
    {"SameColumn", FormElementType::Image, Page::IDC_COLUMN, "4", PageNotification::Change, false},
    {"NewLine", FormElementType::Image, Page::IDC_LINE, "9", PageNotification::Change, true},
    {"SameLine", FormElementType::Image, Page::IDC_LINE, "4", PageNotification::Change, false},
    {"NewWidth", FormElementType::Image, Page::IDC_WIDTH, "7", PageNotification::Change, true},
    {"SameWidth", FormElementType::Image, Page::IDC_WIDTH, "5", PageNotification::Change, false},
    {"NewHeight", FormElementType::Image, Page::IDC_HEIGHT, "2", PageNotification::Change, true},
    {"SameHeight", FormElementType::Image, Page::IDC_HEIGHT, "4", PageNotification::Change, false},
    {"NewColumnOffset", FormElementType::Image, Page::IDC_COLUMN_OFFSET, "20", PageNotification::Change, true},
    {"NewLineOffset", FormElementType::Image, Page::IDC_LINE_OFFSET, "20", PageNotification::Change, true},
    {"SameLineOffset", FormElementType::Image, Page::IDC_LINE_OFFSET, "0", PageNotification::Change, false},
    {"OffsetRefusedByAnEraser", FormElementType::Eraser, Page::IDC_COLUMN_OFFSET, "20", PageNotification::Change,
     false},
    {"NewDescription", FormElementType::Image, Page::IDC_DESCRIPTION, "Company logo", PageNotification::KillFocus,
     true},
    {"SameDescription", FormElementType::Image, Page::IDC_DESCRIPTION, "Logo", PageNotification::KillFocus, false},
    {"DescriptionWhileTyping", FormElementType::Image, Page::IDC_DESCRIPTION, "Company", PageNotification::Change,
     false},
    {"ForceAbsoluteTicked", FormElementType::Image, Page::IDC_FORCE_ABSOLUTE, "", PageNotification::Clicked, true},
};

INSTANTIATE_TEST_SUITE_P(EachField, GeneralEditTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, EditsReachTheElement)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    const int cw = Output().GetCellWidth();
    const int ch = Output().GetCellHeight();

    Type(*page, Page::IDC_COLUMN, QStringLiteral("6"));
    Type(*page, Page::IDC_LINE, QStringLiteral("9"));
    Type(*page, Page::IDC_WIDTH, QStringLiteral("7"));
    Type(*page, Page::IDC_HEIGHT, QStringLiteral("2"));
    Type(*page, Page::IDC_DESCRIPTION, QStringLiteral("Company logo"), PageNotification::KillFocus);

    EXPECT_EQ(image->DestRect(), kwvd::Rect(5 * cw, 8 * ch, 12 * cw, 10 * ch));
    EXPECT_EQ(image->GetDescription(), QStringLiteral("Company logo"));
    EXPECT_FALSE(image->IsAutoDescription());
}

TEST_F(PageTest, EmptiedColumnIsAnEntryNotMadeYet)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    const DWORD buildId = Doc().GetBuildId();

    Type(*page, Page::IDC_COLUMN, QString());
    EXPECT_EQ(Doc().GetBuildId(), buildId);
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
    EXPECT_TRUE(page->Control(Page::IDC_COLUMN).text.isEmpty());

    page->OnControlNotify(Page::IDC_COLUMN, PageNotification::KillFocus);
    EXPECT_EQ(page->Control(Page::IDC_COLUMN).text, QStringLiteral("4"));
    EXPECT_EQ(Doc().GetBuildId(), buildId);
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
}

TEST_F(PageTest, FailedPullReportsAndAppliesNothing)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    const DWORD buildId = Doc().GetBuildId();

    Type(*page, Page::IDC_LINE, QStringLiteral("99999999999"));

    EXPECT_EQ(page->FailedControl(), Page::IDC_LINE);
    EXPECT_EQ(env.env.PromptTexts(), QStringList{QStringLiteral("Enter an integer.")});
    EXPECT_EQ(Doc().GetBuildId(), buildId);
    EXPECT_EQ(Doc().GetChangeDepth(), 0);
}

// An element whose move fails half way, as one that runs out of memory.
class FailingMoveElement : public CFormElement
{
public:
    FailingMoveElement(CDesignerDoc* doc, const kwvd::Rect& rect) : CFormElement(doc) { m_destRect = rect; }
    int GetType() const override { return FormElementType::Eraser; }
    void MoveDest(int x, int y, int flags, BOOL absolute) override
    {
        CFormElement::MoveDest(x, y, flags, absolute);
        throw CMemoryException();
    }
};

TEST_F(PageTest, FailureInsideTheApplyClosesTheTransactionAndIsReported)
{
    FailingMoveElement element(&Doc(), Cells(6, 4, 8, 5));
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(&element);
    env.env.prompts->ClearRecorded();

    Type(*page, Page::IDC_COLUMN, QStringLiteral("3"));

    EXPECT_EQ(Doc().GetChangeDepth(), 0);
    EXPECT_EQ(env.env.PromptTexts().size(), 1);
}

TEST_F(PageTest, DescriptionHistoryOnlyForATakenDescription)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    image->SetDescription(QStringLiteral("Logo"), image);
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);

    Type(*page, Page::IDC_DESCRIPTION, QStringLiteral("Logo"), PageNotification::KillFocus);
    EXPECT_EQ(page->TakeHistoryEntry(), std::nullopt);

    Type(*page, Page::IDC_DESCRIPTION, QStringLiteral("ab"), PageNotification::KillFocus);
    EXPECT_EQ(image->GetDescription(), QStringLiteral("ab"));
    EXPECT_EQ(page->TakeHistoryEntry(), std::optional<QString>(QStringLiteral("ab")));
    EXPECT_EQ(page->TakeHistoryEntry(), std::nullopt);
}

TEST_F(PageTest, FocusGoesToTheDescriptionOnlyWhileTheSheetIsActive)
{
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(Make(FormElementType::Image, Cells(4, 4, 9, 8)));
    EXPECT_EQ(page->OnSetPageFocus(true), std::optional<int>(Page::IDC_DESCRIPTION));
    EXPECT_EQ(page->OnSetPageFocus(false), std::nullopt);
}

TEST_F(PageTest, ApplyPageOnOneSpellingForEveryRecord)
{
    CFormElement* text = Make(FormElementType::Text, Cells(4, 4, 9, 5));
    RecordSink sink;
    text->AddPropertyPages(&sink);
    ASSERT_EQ(sink.records.size(), 2u);
    auto* own = dynamic_cast<TElementPageRecord<TextPageData>*>(sink.records[1].get());
    ASSERT_NE(own, nullptr);
    own->data.text = QStringLiteral("Invoice");
    {
        CDocChangeGuard change(&Doc());
        EXPECT_TRUE(text->ApplyPage(*own, TextPageData::Text));
    }
    EXPECT_EQ(static_cast<CFormTextElement*>(text)->GetText(), QStringLiteral("Invoice"));
    // A record of another kind is no business of this element.
    CFormElement* eraser = Make(FormElementType::Eraser, Cells(20, 4, 22, 5));
    EXPECT_FALSE(eraser->UpdatePage(*own));
    RecordSink eraserPages;
    eraser->AddPropertyPages(&eraserPages);
    EXPECT_EQ(eraserPages.records.size(), 1u);
    eraser->AddPropertyPages(nullptr);
}

// The General page's controls: id, the record field it edits, the
// notification it answers and the group it applies.
struct BindingCase
{
    int id;
    PageNotification notification;
    DWORD group;
    const char* text;
    std::function<QString(const GeneralPageData&)> field;
};

TEST_F(PageTest, GeneralBindingTable)
{
    const BindingCase rows[] = {
        {Page::IDC_DESCRIPTION, PageNotification::KillFocus, GeneralPageData::Description, "Seal",
         [](const GeneralPageData& d) { return d.description; }},
        {Page::IDC_COLUMN, PageNotification::Change, GeneralPageData::Position, "6",
         [](const GeneralPageData& d) { return QString::number(d.column); }},
        {Page::IDC_COLUMN_OFFSET, PageNotification::Change, GeneralPageData::Offset, "30",
         [](const GeneralPageData& d) { return QString::number(d.columnOffset); }},
        {Page::IDC_LINE, PageNotification::Change, GeneralPageData::Position, "7",
         [](const GeneralPageData& d) { return QString::number(d.line); }},
        {Page::IDC_LINE_OFFSET, PageNotification::Change, GeneralPageData::Offset, "30",
         [](const GeneralPageData& d) { return QString::number(d.lineOffset); }},
        {Page::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, GeneralPageData::ForceAbsolute, "1",
         [](const GeneralPageData& d) { return QString::number(d.forceAbsolute); }},
        {Page::IDC_WIDTH, PageNotification::Change, GeneralPageData::Size, "3",
         [](const GeneralPageData& d) { return QString::number(d.width); }},
        {Page::IDC_HEIGHT, PageNotification::Change, GeneralPageData::Size, "2",
         [](const GeneralPageData& d) { return QString::number(d.height); }},
    };
    CFormElement* loop = Make(FormElementType::Loop, Cells(1, 2, 40, 20));
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8), loop);
    const std::unique_ptr<CGeneralPropPage> page = GeneralPage(image);
    ASSERT_EQ(page->GetControlTable().size(), std::size(rows));
    for (const BindingCase& row : rows) {
        const PageControl* control = page->FindPageControl(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(control->notification, row.notification) << row.id;
        EXPECT_EQ(control->group, row.group) << row.id;
        if (row.notification == PageNotification::Clicked)
            page->Control(row.id).check = 1;
        else
            page->Control(row.id).text = QString::fromLatin1(row.text);
        ASSERT_TRUE(page->UpdateData(true));
        EXPECT_EQ(row.field(page->Data()), QString::fromLatin1(row.text)) << row.id;
    }
}

} // namespace
