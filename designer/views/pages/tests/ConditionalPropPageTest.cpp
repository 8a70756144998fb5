#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/views/pages/ConditionalPropPage.h"

#include <ostream>

namespace {

using Page = CConditionalPropPage;

class ConditionalPageTest : public TextKindPageTest
{
protected:
    // Drawn in the input pane over columns 4 to 11 of line 2: subject "POSITION".
    CFormConditionalElement* Conditional(CFormElement* anchor = nullptr)
    {
        return static_cast<CFormConditionalElement*>(
            Make(FormElementType::Conditional, In(4, 2, 12, 3), anchor, PaneSide::Input));
    }
    void AddVariable(const char* name)
    {
        auto* variable = static_cast<CFormVariableElement*>(Make(FormElementType::Variable, In(1, 1, 2, 2)));
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(variable->SetName(QString::fromLatin1(name)));
    }
    void SetSubject(CFormConditionalElement* conditional, const char* subject)
    {
        CDocChangeGuard change(&Doc());
        conditional->SetSubject(QString::fromLatin1(subject));
    }
    static bool PositionOn(const CElementPropPage& page)
    {
        bool on = true;
        for (const int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_LINE, Page::IDC_LINE_SPIN,
                             Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN})
            on = on && page.FindControl(id)->enabled;
        return on;
    }
    static bool PositionOff(const CElementPropPage& page)
    {
        bool off = true;
        for (const int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_LINE, Page::IDC_LINE_SPIN,
                             Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN})
            off = off && !page.FindControl(id)->enabled;
        return off;
    }
};

TEST_F(ConditionalPageTest, SubjectListInItsOrderThenTheVariables)
{
    AddVariable("TOTAL");
    AddVariable("NAME");
    AddVariable("TOTAL");
    auto* page = OwnPage<Page>(Conditional());
    EXPECT_EQ(page->FindControl(Page::IDC_SUBJECT)->items,
              (QStringList{"POSITION", "PAGE", "PARM1", "PARM2", "PARM3", "PARM4", "PARM5", "PARM6", "NAME", "TOTAL"}));
    EXPECT_EQ(page->FindControl(Page::IDC_OPERATOR)->items,
              (QStringList{"Equal To", "Not Equal To", "Greater Than", "Less Than", "Greater or Equal To",
                           "Less or Equal To"}));
}

// ---------------------------------------------------------------- the subject shown

struct SubjectCase
{
    const char* name;
    const char* subject;
    const char* selected; // nullptr: no entry
};

void PrintTo(const SubjectCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConditionalSubjectTest : public ConditionalPageTest, public ::testing::WithParamInterface<SubjectCase>
{};

TEST_P(ConditionalSubjectTest, EntryEqualToTheSubjectAndThePositionControls)
{
    const SubjectCase& c = GetParam();
    for (const char* name : {"PA", "page", "P", "PARM"})
        AddVariable(name);
    CFormConditionalElement* conditional = Conditional();
    SetSubject(conditional, c.subject);
    auto* page = OwnPage<Page>(conditional);

    const DialogControlState& list = *page->FindControl(Page::IDC_SUBJECT);
    if (c.selected == nullptr) {
        EXPECT_EQ(list.selection, -1);
    } else {
        ASSERT_GE(list.selection, 0);
        EXPECT_EQ(list.items.at(list.selection), QString::fromLatin1(c.selected));
    }
    const bool position = c.selected != nullptr && QString::fromLatin1(c.selected) == QStringLiteral("POSITION");
    EXPECT_TRUE(position ? PositionOn(*page) : PositionOff(*page));
}

const SubjectCase kSubjectCases[] = {
    {"Position", "POSITION", "POSITION"},
    {"Page", "PAGE", "PAGE"},
    {"VariableBeginningLikePage", "PA", "PA"},
    {"VariableInLowerCase", "page", "page"},
    {"VariableBeginningLikePosition", "P", "P"},
    {"VariableBeginningLikeTheParameters", "PARM", "PARM"},
    {"Parameter", "PARM3", "PARM3"},
    {"VariableNoLongerThere", "GONE", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Conditional, ConditionalSubjectTest, ::testing::ValuesIn(kSubjectCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConditionalPageTest, ChoosingPageAndPositionAgain)
{
    CFormConditionalElement* conditional = Conditional();
    auto* page = OwnPage<Page>(conditional);
    ASSERT_TRUE(PositionOn(*page));
    const qsizetype steps = UndoSteps();

    Choose(*page, Page::IDC_SUBJECT, 1);
    EXPECT_EQ(conditional->GetSubject(), QStringLiteral("PAGE"));
    EXPECT_TRUE(PositionOff(*page));
    EXPECT_EQ(log.hints, (std::vector<int>{DocumentHint::SourceRectChanged, DocumentHint::ElementChanged,
                                           DocumentHint::SelectionChanged}));
    EXPECT_EQ(UndoSteps(), steps + 1);

    log.hints.clear();
    Choose(*page, Page::IDC_SUBJECT, 0);
    EXPECT_EQ(conditional->GetSubject(), QStringLiteral("POSITION"));
    EXPECT_TRUE(PositionOn(*page));
    EXPECT_FALSE(log.Saw(DocumentHint::SelectionChanged));
    EXPECT_EQ(log.hints.back(), DocumentHint::SourceRectChanged);

    // The same entry again changes nothing.
    Choose(*page, Page::IDC_SUBJECT, 0);
    EXPECT_EQ(UndoSteps(), steps + 2);
}

TEST_F(ConditionalPageTest, DataAppliesOnLeavingItAndOnlyWhenChanged)
{
    CFormConditionalElement* conditional = Conditional();
    auto* page = OwnPage<Page>(conditional);
    const QString value = conditional->GetCompareValue();
    const DWORD buildId = Doc().GetBuildId();
    const qsizetype steps = UndoSteps();

    Type(*page, Page::IDC_VALUE, value, PageNotification::KillFocus);
    EXPECT_EQ(Doc().GetBuildId(), buildId);
    EXPECT_EQ(UndoSteps(), steps);

    Type(*page, Page::IDC_VALUE, QStringLiteral("INVOICE"), PageNotification::Change);
    EXPECT_EQ(conditional->GetCompareValue(), value) << "not while typing";
    page->OnControlNotify(Page::IDC_VALUE, PageNotification::KillFocus);
    EXPECT_EQ(conditional->GetCompareValue(), QStringLiteral("INVOICE"));
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(ConditionalPageTest, OperatorByItsIndex)
{
    CFormConditionalElement* conditional = Conditional();
    auto* page = OwnPage<Page>(conditional);
    ASSERT_EQ(page->FindControl(Page::IDC_OPERATOR)->selection, 0);
    Choose(*page, Page::IDC_OPERATOR, 5);
    EXPECT_EQ(conditional->GetOperator(), ConditionalOperator::LessOrEqual);
    EXPECT_EQ(page->Data().op, 5);
}

struct LoopCase
{
    const char* name;
    int depth; // 0 top level, 1 in a Loop, 2 in a Conditional in a Loop
    bool on;
    const char* title;
};

void PrintTo(const LoopCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConditionalLoopTest : public ConditionalPageTest, public ::testing::WithParamInterface<LoopCase>
{};

TEST_P(ConditionalLoopTest, ForceAbsoluteAndBreakLoopOnlyInsideALoop)
{
    const LoopCase& c = GetParam();
    CFormElement* anchor = nullptr;
    if (c.depth >= 1)
        anchor = Make(FormElementType::Loop, In(1, 1, 41, 12), nullptr, PaneSide::Input);
    if (c.depth >= 2)
        anchor = Make(FormElementType::Conditional, In(2, 1, 8, 2), anchor, PaneSide::Input);
    CFormConditionalElement* conditional = Conditional(anchor);
    ASSERT_EQ(conditional->GetParent(), anchor);
    auto* page = OwnPage<Page>(conditional);
    EXPECT_EQ(page->FindControl(Page::IDC_FORCE_ABSOLUTE)->enabled, c.on);
    EXPECT_EQ(page->FindControl(Page::IDC_BREAK_LOOP)->enabled, c.on);
    EXPECT_EQ(page->FindControl(Page::IDC_POSITION_GROUP)->text, QString::fromLatin1(c.title));
    if (!c.on)
        return;
    Click(*page, Page::IDC_BREAK_LOOP, 1);
    EXPECT_TRUE(conditional->GetBreakLoop());
    Click(*page, Page::IDC_FORCE_ABSOLUTE, 1);
    EXPECT_TRUE(conditional->IsSourceAbsolute());
    EXPECT_EQ(page->FindControl(Page::IDC_POSITION_GROUP)->text, QStringLiteral("Position (Absolute)"));
}

const LoopCase kLoopCases[] = {
    {"OutsideEveryLoop", 0, false, "Position (Absolute)"},
    {"InALoop", 1, true, "Position (Relative)"},
    {"InAConditionalInALoop", 2, true, "Position (Relative)"},
};

INSTANTIATE_TEST_SUITE_P(Conditional, ConditionalLoopTest, ::testing::ValuesIn(kLoopCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConditionalPageTest, NumbersReachTheElementUncut)
{
    CFormConditionalElement* conditional = Conditional();
    auto* page = OwnPage<Page>(conditional);
    EXPECT_EQ(page->Range(Page::IDC_COLUMN), std::make_pair(1, page->Data().limits.largestColumn));
    EXPECT_EQ(page->Range(Page::IDC_LINE), std::make_pair(1, page->Data().limits.largestLine));
    EXPECT_EQ(page->Range(Page::IDC_WIDTH), std::make_pair(1, page->Data().limits.largestColumn));

    Type(*page, Page::IDC_LINE, QStringLiteral("5"));
    EXPECT_EQ(conditional->SourceRect(), In(4, 5, 12, 6));
    Type(*page, Page::IDC_WIDTH, QStringLiteral("3"));
    EXPECT_EQ(conditional->SourceRect(), In(4, 5, 7, 6));
    // Beyond the page the element's move keeps the box on it.
    Type(*page, Page::IDC_COLUMN, QStringLiteral("9999"));
    EXPECT_EQ(conditional->SourceRect().right, Input().GetPixelWidth());
    EXPECT_EQ(page->FindControl(Page::IDC_COLUMN)->text, QString::number(page->Data().limits.largestColumn - 2));
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
}

TEST_F(ConditionalPageTest, ConditionalBindingTable)
{
    using D = ConditionalPageData;
    auto* page = OwnPage<Page>(Conditional(Make(FormElementType::Loop, In(1, 1, 41, 12), nullptr, PaneSide::Input)));
    const auto number = [](int D::*field) { return [field](const D& d) { return QString::number(d.*field); }; };
    CheckBindings<D>(
        *page, page->Data(),
        {
            {Page::IDC_SUBJECT, PageNotification::SelChange, 0x80000, "", nullptr},
            {Page::IDC_OPERATOR, PageNotification::SelChange, 0x40, "", nullptr},
            {Page::IDC_VALUE, PageNotification::KillFocus, 0x80, "INVOICE", [](const D& d) { return d.compareValue; }},
            {Page::IDC_COLUMN, PageNotification::Change, 0x1, "6", number(&D::column)},
            {Page::IDC_LINE, PageNotification::Change, 0x1, "7", number(&D::line)},
            {Page::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, 0x100, "1", number(&D::forceAbsolute)},
            {Page::IDC_WIDTH, PageNotification::Change, 0x2, "3", number(&D::width)},
            {Page::IDC_BREAK_LOOP, PageNotification::Clicked, 0x200, "1", number(&D::breakLoop)},
        });
    page->Control(Page::IDC_OPERATOR).selection = 3;
    ASSERT_TRUE(page->UpdateData(true));
    EXPECT_EQ(page->Data().op, 3);
}

} // namespace
