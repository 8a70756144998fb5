// The Exit Program and Exit Parameter pages without their windows: the
// library list edited through Add and Del, the parameters the call passes,
// the parameter's number, return value, alignment and font.

#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/views/pages/ExitProgramPropPages.h"

#include <ostream>

namespace {

using Program = CExitProgramPropPage;
using Param = CExitParamPropPage;

class ExitPagesTest : public TextKindPageTest
{
protected:
    CFormExitParamElement* Parameter(int number, const char* data)
    {
        auto* parameter = dynamic_cast<CFormExitParamElement*>(
            Make(FormElementType::ExitParam, Cells(3, 3, 13, 4), nullptr, PaneSide::Output));
        EXPECT_NE(parameter, nullptr);
        if (parameter == nullptr)
            return nullptr;
        CDocChangeGuard change(&Doc());
        ExitParamPageData values;
        values.data = QString::fromLatin1(data);
        parameter->ApplyPageData(values, ExitParamPageBits::Data);
        parameter->SetParamNumber(number);
        return parameter;
    }

    CFormExitProgramElement* ProgramWith(std::initializer_list<const char*> libraries)
    {
        auto* program = dynamic_cast<CFormExitProgramElement*>(Make(FormElementType::ExitProgram, {}));
        EXPECT_NE(program, nullptr);
        if (program == nullptr)
            return nullptr;
        CStringArray list;
        for (const char* library : libraries)
            list.Add(QString::fromLatin1(library));
        CDocChangeGuard change(&Doc());
        program->SetLibraries(list);
        return program;
    }

    static QStringList Shown(const CElementPropPage& page) { return page.FindControl(Program::IDC_LIBRARY)->items; }

    // The library typed into the box, then the button.
    static void Press(Program& page, int button, const char* library)
    {
        page.Control(Program::IDC_LIBRARY).text = QString::fromLatin1(library);
        page.Control(Program::IDC_LIBRARY).selection = -1;
        page.OnControlNotify(button, PageNotification::Clicked);
    }

    static QStringList Libraries(const CFormExitProgramElement& program)
    {
        QStringList list;
        for (const QString& library : program.Libraries())
            list << library;
        return list;
    }
};

// ---------------------------------------------------------------- libraries

struct LibraryStep
{
    int button;
    const char* library;
};

struct LibraryCase
{
    const char* name;
    std::initializer_list<const char*> start;
    std::initializer_list<LibraryStep> steps;
    QStringList end;
    int changes;   // recorded in the document
    int messages;  // message 274
    QString shown; // the library box's text afterwards: the copy when nothing changed
};

void PrintTo(const LibraryCase& c, std::ostream* os)
{
    *os << c.name;
}

class LibraryTest : public ExitPagesTest, public ::testing::WithParamInterface<LibraryCase>
{};

TEST_P(LibraryTest, ElementListReadBackAfterEveryButton)
{
    const LibraryCase& c = GetParam();
    CFormExitProgramElement* program = ProgramWith(c.start);
    ASSERT_NE(program, nullptr);
    Program* page = OwnPage<Program>(program);
    ASSERT_NE(page, nullptr);
    const DWORD buildId = Doc().GetBuildId();
    const qsizetype steps = UndoSteps();

    for (const LibraryStep& step : c.steps)
        Press(*page, step.button, step.library);

    EXPECT_EQ(Libraries(*program), c.end);
    EXPECT_EQ(Shown(*page), c.end) << "the page shows the element's list";
    QStringList pageList;
    for (const QString& library : page->Data().libraries)
        pageList << library;
    EXPECT_EQ(pageList, c.end) << "and holds nothing else";
    EXPECT_EQ(Doc().GetBuildId(), buildId + static_cast<DWORD>(c.changes));
    EXPECT_EQ(UndoSteps(), steps + c.changes);
    EXPECT_EQ(env.env.prompts->Recorded().size(), static_cast<size_t>(c.messages));
    for (const auto& message : env.env.prompts->Recorded())
        EXPECT_TRUE(message.text.startsWith(QStringLiteral("Library List Full."))) << message.text.toStdString();
    EXPECT_EQ(page->FindControl(Program::IDC_LIBRARY)->text, c.shown);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(Doc().GetChangeDepth(), 0);
}

constexpr int Add = Program::IDC_ADD;
constexpr int Del = Program::IDC_DEL;

const LibraryCase kLibraryCases[] = {
    {"AddTwiceAddsOnce", {}, {{Add, "QGPL"}, {Add, "QGPL"}}, {"QGPL"}, 1, 0, "QGPL"},
    {"AddComparesExactly", {"QGPL"}, {{Add, "qgpl"}}, {"QGPL", "qgpl"}, 1, 0, "qgpl"},
    {"DelOfAnAbsentLibraryDoesNothing", {"QGPL", "MYLIB"}, {{Del, "OTHER"}}, {"QGPL", "MYLIB"}, 0, 0, "QGPL"},
    {"DelSelectsTheEntryAtItsPlace", {"A1", "B2", "C3"}, {{Del, "B2"}}, {"A1", "C3"}, 1, 0, "C3"},
    {"DelOfTheLastSelectsTheNewLast", {"A1", "B2", "C3"}, {{Del, "C3"}}, {"A1", "B2"}, 1, 0, "B2"},
    {"SixthIsRefusedOnce", {"L1", "L2", "L3", "L4", "L5"}, {{Add, "L6"}}, {"L1", "L2", "L3", "L4", "L5"}, 0, 1, "L1"},
    {"RefusedSixthDoesNotComeBackWithADel",
     {"L1", "L2", "L3", "L4", "L5"},
     {{Add, "L6"}, {Del, "L2"}},
     {"L1", "L3", "L4", "L5"},
     1,
     1,
     "L3"},
};

INSTANTIATE_TEST_SUITE_P(Buttons, LibraryTest, ::testing::ValuesIn(kLibraryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExitPagesTest, ProgramNameAppliedOnLeavingItAndLongNamesRefused)
{
    CFormExitProgramElement* program = ProgramWith({});
    ASSERT_NE(program, nullptr);
    Program* page = OwnPage<Program>(program);
    ASSERT_NE(page, nullptr);

    Type(*page, Program::IDC_PROGRAM, QStringLiteral("PAYROLL"), PageNotification::Change);
    EXPECT_TRUE(program->GetProgramName().isEmpty()) << "not while typing";
    Type(*page, Program::IDC_PROGRAM, QStringLiteral("PAYROLL"), PageNotification::KillFocus);
    EXPECT_EQ(program->GetProgramName(), QStringLiteral("PAYROLL"));

    const DWORD buildId = Doc().GetBuildId();
    Type(*page, Program::IDC_PROGRAM, QStringLiteral("PAYROLLPGM1"), PageNotification::KillFocus);
    EXPECT_EQ(program->GetProgramName(), QStringLiteral("PAYROLL"));
    EXPECT_EQ(env.env.prompts->Recorded().size(), 1u) << "the length check";
    EXPECT_EQ(Doc().GetBuildId(), buildId);

    // The same name again is no change, and the page shows the element's.
    Type(*page, Program::IDC_PROGRAM, QStringLiteral("PAYROLL"), PageNotification::KillFocus);
    EXPECT_EQ(Doc().GetBuildId(), buildId);
    EXPECT_EQ(page->FindControl(Program::IDC_PROGRAM)->text, QStringLiteral("PAYROLL"));
}

// ---------------------------------------------------------------- parameters

TEST_F(ExitPagesTest, ParameterListShowsTheNumbersUpToTheHighestDefinedBefore)
{
    CFormExitParamElement* first = Parameter(1, "CUSTNO");
    CFormExitParamElement* third = Parameter(3, "AMOUNT");
    CFormExitProgramElement* program = ProgramWith({"QGPL"});
    ASSERT_NE(Parameter(2, "AFTER"), nullptr);
    Parameter(5, "LATER");
    ASSERT_TRUE(first && third && program);
    Program* page = OwnPage<Program>(program);
    ASSERT_NE(page, nullptr);

    const QStringList expected = {QStringLiteral("1. ") + first->GetDescription(), QStringLiteral("2. "),
                                  QStringLiteral("3. ") + third->GetDescription()};
    EXPECT_EQ(first->GetDescription(), QStringLiteral("PARM1  CUSTNO"));
    EXPECT_EQ(page->FindControl(Program::IDC_PARAMETERS)->items, expected);

    // A parameter deleted while the page lives shows its number alone.
    {
        CDocChangeGuard change(&Doc());
        Doc().DeleteElement(third, FALSE);
    }
    page->OnUpdateData();
    EXPECT_EQ(page->FindControl(Program::IDC_PARAMETERS)->items,
              (QStringList{expected[0], QStringLiteral("2. "), QStringLiteral("3. ")}));
}

TEST_F(ExitPagesTest, ProgramWithoutParametersListsNothing)
{
    CFormExitProgramElement* program = ProgramWith({});
    ASSERT_NE(program, nullptr);
    Program* page = OwnPage<Program>(program);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->FindControl(Program::IDC_PARAMETERS)->items.isEmpty());
    EXPECT_TRUE(Shown(*page).isEmpty());
    EXPECT_EQ(page->FindControl(Program::IDC_LIBRARY)->selection, -1);
}

// ---------------------------------------------------------------- exit parameter

TEST_F(ExitPagesTest, IndexListChoosesTheNumber)
{
    CFormExitParamElement* parameter = Parameter(2, "CUSTNO");
    ASSERT_NE(parameter, nullptr);
    Param* page = OwnPage<Param>(parameter);
    ASSERT_NE(page, nullptr);
    const DialogControlState& index = *page->FindControl(Param::IDC_INDEX);
    EXPECT_EQ(index.items, (QStringList{"PARM1", "PARM2", "PARM3", "PARM4", "PARM5", "PARM6"}));
    EXPECT_EQ(index.selection, 1);

    Choose(*page, Param::IDC_INDEX, 5);
    EXPECT_EQ(parameter->GetParamNumber(), 6);
    EXPECT_EQ(parameter->GetDescription(), QStringLiteral("PARM6  CUSTNO"));
    EXPECT_EQ(page->FindControl(Param::IDC_INDEX)->selection, 5);
}

TEST_F(ExitPagesTest, IgnoreReturnValueTurnsTheGeneralPageAtItsNextRefresh)
{
    CFormExitParamElement* parameter = Parameter(1, "CUSTNO");
    ASSERT_NE(parameter, nullptr);
    {
        CDocChangeGuard change(&Doc());
        parameter->SetIgnoreReturn(FALSE);
    }
    Param* page = OwnPage<Param>(parameter);
    ASSERT_NE(page, nullptr);
    auto* general = dynamic_cast<CGeneralPropPage*>(sheet.GetPage(0));
    ASSERT_NE(general, nullptr);
    general->OnInitDialog();
    ASSERT_EQ(general->Data().mask, GeneralPageData::NoHeight);

    Click(*page, Param::IDC_IGNORE_RETURN, 1);
    EXPECT_TRUE(parameter->GetIgnoreReturn());
    EXPECT_EQ(general->Data().mask, GeneralPageData::NoHeight) << "not before its refresh";
    general->OnSetActive();
    EXPECT_EQ(general->Data().mask, 15);
    EXPECT_FALSE(general->FindControl(CGeneralPropPage::IDC_COLUMN)->enabled);
    EXPECT_TRUE(general->FindControl(CGeneralPropPage::IDC_DESCRIPTION)->enabled);
}

TEST_F(ExitPagesTest, AlignIsOneExactlyWhenTicked)
{
    CFormExitParamElement* parameter = Parameter(1, "CUSTNO");
    ASSERT_NE(parameter, nullptr);
    Param* page = OwnPage<Param>(parameter);
    ASSERT_NE(page, nullptr);
    Click(*page, Param::IDC_ALIGN, 2);
    EXPECT_TRUE(parameter->GetAlignToGrid());
    EXPECT_EQ(page->Data().alignToGrid, 1);
    EXPECT_EQ(page->FindControl(Param::IDC_ALIGN)->check, 1);
    Click(*page, Param::IDC_ALIGN, 0);
    EXPECT_FALSE(parameter->GetAlignToGrid());
}

TEST_F(ExitPagesTest, PositionKeepsTheDataAndDisablesItsEdit)
{
    CFormExitParamElement* parameter = Parameter(1, "CUSTNO");
    ASSERT_NE(parameter, nullptr);
    Param* page = OwnPage<Param>(parameter);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->FindControl(Param::IDC_DATA)->enabled);

    Click(*page, Param::IDC_POSITION_RADIO, 1);
    EXPECT_FALSE(parameter->GetUseData());
    EXPECT_EQ(page->FindControl(Param::IDC_DATA)->text, QStringLiteral("CUSTNO"));
    EXPECT_FALSE(page->FindControl(Param::IDC_DATA)->enabled);
    EXPECT_TRUE(page->FindControl(Param::IDC_COLUMN)->enabled);

    Type(*page, Param::IDC_COLUMN, QStringLiteral("999"));
    // Cut to the page's last column, then kept whole on the page by the element.
    EXPECT_EQ(page->Data().column + page->Data().width - 1, page->Data().largestColumn);
    EXPECT_EQ(page->FindControl(Param::IDC_COLUMN)->text, QString::number(page->Data().column));
}

struct FontCase
{
    const char* name;
    bool chooseOther;
    bool recorded;
};

void PrintTo(const FontCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParamFontTest : public ExitPagesTest, public ::testing::WithParamInterface<FontCase>
{};

TEST_P(ParamFontTest, EmptySampleAndTheSheetBusyWhileTheDialogIsUp)
{
    const FontCase& c = GetParam();
    CAS400Font* courier = AddFont(1, "Courier");
    CAS400Font* gothic = AddFont(-1, "Gothic");
    CFormExitParamElement* parameter = Parameter(1, "CUSTNO");
    ASSERT_NE(parameter, nullptr);
    {
        CDocChangeGuard change(&Doc());
        parameter->SetFontIndex(1);
    }
    Param* page = OwnPage<Param>(parameter);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->FindControl(Param::IDC_FONT_DESCRIPTION)->text, Fonts().GetFontDescription(1));
    const DWORD buildId = Doc().GetBuildId();

    std::optional<QString> sample;
    bool busy = false;
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun& run) -> BOOL {
        sample = run.sampleText;
        busy = sheet.IsBusy();
        run.primary = c.chooseOther ? gothic : courier;
        return c.chooseOther ? TRUE : FALSE;
    });
    page->OnControlNotify(Param::IDC_FONT, PageNotification::Clicked);
    SetFontDialogRunner(previous);

    EXPECT_EQ(sample, std::optional<QString>(QString()));
    EXPECT_TRUE(busy);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(parameter->GetFontIndex() != 1, c.chooseOther);
    EXPECT_EQ(page->Data().fontIndex, parameter->GetFontIndex());
    EXPECT_EQ(page->FindControl(Param::IDC_FONT_DESCRIPTION)->text,
              Fonts().GetFontDescription(parameter->GetFontIndex()));
    EXPECT_EQ(Doc().GetBuildId(), c.recorded ? buildId + 1 : buildId);
}

const FontCase kFontCases[] = {
    {"Cancelled", false, false},
    {"AnotherFont", true, true},
};

INSTANTIATE_TEST_SUITE_P(Font, ParamFontTest, ::testing::ValuesIn(kFontCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
