#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/views/pages/SourceTextPropPages.h"
#include "platform/framework/Exceptions.h"

#include <functional>
#include <optional>
#include <ostream>

namespace {

using Source = CSourcePropPage;
using Text = CTextPropPage;

class SourcePageTest : public TextKindPageTest
{
protected:
    CFormSourceElement* Section(const kwvd::Rect& cells, CFormElement* anchor = nullptr)
    {
        return static_cast<CFormSourceElement*>(Make(FormElementType::Source, cells, anchor, PaneSide::Input));
    }
    CFormTextElement* StaticText(const QString& text, CFormElement* anchor = nullptr)
    {
        auto* element = static_cast<CFormTextElement*>(Make(FormElementType::Text, Cells(5, 5, 6, 6), anchor));
        CDocChangeGuard change(&Doc());
        element->SetText(text);
        return element;
    }
};

// ---------------------------------------------------------------- font sample

struct SampleCase
{
    const char* name;
    kwvd::Rect (*cells)(const SourcePageTest&);
    bool withSpooledFile;
    const char* sample;
};

void PrintTo(const SampleCase& c, std::ostream* os)
{
    *os << c.name;
}

class FontSampleTest : public SourcePageTest, public ::testing::WithParamInterface<SampleCase>
{
public:
    static kwvd::Rect FirstLine(const SourcePageTest& t) { return t.In(1, 1, 28, 2); }
    static kwvd::Rect SecondLine(const SourcePageTest& t) { return t.In(1, 2, 28, 4); }
};

TEST_P(FontSampleTest, FirstCapturedLineTrimmedToFifteen)
{
    const SampleCase& c = GetParam();
    if (!c.withSpooledFile)
        SetSpooledPage({});
    CFormSourceElement* section = Section(c.cells(*this));
    ASSERT_NE(section, nullptr);
    auto* page = OwnPage<Source>(section);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Data().fontSample, QString::fromLatin1(c.sample));

    // The font dialog opens with it.
    std::optional<QString> opened;
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun& run) -> BOOL {
        opened = run.sampleText;
        return FALSE;
    });
    page->OnControlNotify(Source::IDC_FONT, PageNotification::Clicked);
    SetFontDialogRunner(previous);
    EXPECT_EQ(opened, std::optional<QString>(QString::fromLatin1(c.sample)));
}

const SampleCase kSampleCases[] = {
    {"BlanksAroundTheWords", &FontSampleTest::FirstLine, true, "INVOICE NUMBER "},
    {"ShortLine", &FontSampleTest::SecondLine, true, "CUSTOMER NAME"},
    {"NoCapturedLine", &FontSampleTest::FirstLine, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Section, FontSampleTest, ::testing::ValuesIn(kSampleCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- Force Absolute

struct AbsoluteCase
{
    const char* name;
    bool inLoop;
    bool ticked;
    bool boxOn;
    const char* title;
};

void PrintTo(const AbsoluteCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourceAbsoluteTest : public SourcePageTest, public ::testing::WithParamInterface<AbsoluteCase>
{};

TEST_P(SourceAbsoluteTest, BoxOnlyInsideALoopAndTheTitle)
{
    const AbsoluteCase& c = GetParam();
    CFormElement* loop = c.inLoop ? Make(FormElementType::Loop, In(1, 1, 40, 10), nullptr, PaneSide::Input) : nullptr;
    CFormSourceElement* section = Section(In(4, 2, 12, 3), loop);
    ASSERT_EQ(section->GetParent(), loop);
    auto* page = OwnPage<Source>(section);
    if (c.ticked) {
        Click(*page, Source::IDC_FORCE_ABSOLUTE, 1);
        EXPECT_TRUE(section->IsSourceAbsolute());
    }
    EXPECT_EQ(page->FindControl(Source::IDC_FORCE_ABSOLUTE)->enabled, c.boxOn);
    EXPECT_EQ(page->FindControl(Source::IDC_POSITION_GROUP)->text, QString::fromLatin1(c.title));
}

const AbsoluteCase kAbsoluteCases[] = {
    {"OutsideAnyLoop", false, false, false, "Position (Absolute)"},
    {"InsideALoop", true, false, true, "Position (Relative)"},
    {"InsideALoopTicked", true, true, true, "Position (Absolute)"},
};

INSTANTIATE_TEST_SUITE_P(Section, SourceAbsoluteTest, ::testing::ValuesIn(kAbsoluteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- numbers

struct NumberCase
{
    const char* name;
    int id;
    const char* typed;
    kwvd::Rect (*expected)(const SourcePageTest&);
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourceNumberTest : public SourcePageTest, public ::testing::WithParamInterface<NumberCase>
{};

TEST_P(SourceNumberTest, CutToTheInputPageAndApplied)
{
    const NumberCase& c = GetParam();
    // Columns 4 to 11, lines 2 to 3.
    CFormSourceElement* section = Section(In(4, 2, 12, 4));
    auto* page = OwnPage<Source>(section);
    ASSERT_EQ(page->Data().limits.largestColumn, Input().GetPixelWidth() / Input().GetCellWidth());
    ASSERT_EQ(page->Data().limits.largestLine, Input().GetPixelHeight() / Input().GetCellHeight());
    const qsizetype steps = UndoSteps();

    Type(*page, c.id, QString::fromLatin1(c.typed));

    EXPECT_EQ(section->SourceRect(), c.expected(*this));
    // The page shows where the element ended.
    SourcePageData shown = page->Data();
    EXPECT_FALSE(section->UpdatePage(shown));
    EXPECT_EQ(page->FindControl(c.id)->text, QString::number(c.id == Source::IDC_COLUMN  ? shown.column
                                                             : c.id == Source::IDC_LINE  ? shown.line
                                                             : c.id == Source::IDC_WIDTH ? shown.width
                                                                                         : shown.height));
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
}

const NumberCase kNumberCases[] = {
    {"Column", Source::IDC_COLUMN, "6", [](const SourcePageTest& t) { return t.In(6, 2, 14, 4); }},
    {"Line", Source::IDC_LINE, "5", [](const SourcePageTest& t) { return t.In(4, 5, 12, 7); }},
    {"Width", Source::IDC_WIDTH, "3", [](const SourcePageTest& t) { return t.In(4, 2, 7, 4); }},
    {"Height", Source::IDC_HEIGHT, "4", [](const SourcePageTest& t) { return t.In(4, 2, 12, 6); }},
    // The box stays on the page: 8 columns wide, it ends at the last column.
    {"ColumnBeyondThePage", Source::IDC_COLUMN, "9999", [](const SourcePageTest& t) { return t.In(33, 2, 41, 4); }},
    {"LineBeyondThePage", Source::IDC_LINE, "9999", [](const SourcePageTest& t) { return t.In(4, 29, 12, 31); }},
};

INSTANTIATE_TEST_SUITE_P(Section, SourceNumberTest, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- align box

TEST_F(SourcePageTest, AlignFieldIsOneExactlyWhileTheBoxReadsChecked)
{
    CFormSourceElement* section = Section(In(4, 2, 12, 3));
    CFormTextElement* text = StaticText(QStringLiteral("Total"));
    auto* sourcePage = OwnPage<Source>(section);
    Click(*sourcePage, Source::IDC_ALIGN, 1);
    EXPECT_EQ(sourcePage->Data().alignToGrid, 1);
    EXPECT_TRUE(section->GetAlignToGrid());
    Click(*sourcePage, Source::IDC_ALIGN, 0);
    EXPECT_FALSE(section->GetAlignToGrid());

    auto* textPage = OwnPage<Text>(text);
    Click(*textPage, Text::IDC_ALIGN, 2);
    EXPECT_EQ(textPage->Data().alignToGrid, 1) << "an indeterminate box reads as checked";
    EXPECT_TRUE(text->GetAlignToGrid());
    EXPECT_TRUE(log.Saw(DocumentHint::DestRectChanged));
    EXPECT_EQ(textPage->FindControl(Text::IDC_ALIGN)->check, 1);
}

// ---------------------------------------------------------------- font button

enum class Answer {
    SameFont,
    OtherFont,
    Cancel,
    Throw,
};

struct FontCase
{
    const char* name;
    int kind;
    Answer answer;
    int endIndex;
    bool recorded;
    int messages;
};

void PrintTo(const FontCase& c, std::ostream* os)
{
    *os << c.name;
}

class FontButtonTest : public SourcePageTest, public ::testing::WithParamInterface<FontCase>
{};

TEST_P(FontButtonTest, TransactionOnlyForAnotherIndexAndTheSheetBusyMeanwhile)
{
    const FontCase& c = GetParam();
    CAS400Font* courier = AddFont(1, "Courier");
    CAS400Font* gothic = AddFont(-1, "Gothic");
    CFormElement* element = nullptr;
    if (c.kind == FormElementType::Source)
        element = Section(In(4, 2, 12, 3));
    else
        element = StaticText(QStringLiteral("Total"));
    {
        CDocChangeGuard change(&Doc());
        if (auto* section = dynamic_cast<CFormSourceElement*>(element))
            section->SetFontIndex(1);
        else
            static_cast<CFormTextElement*>(element)->SetFontIndex(1);
    }
    CElementPropPage* page = nullptr;
    int fontId = 0;
    if (c.kind == FormElementType::Source) {
        page = OwnPage<Source>(element);
        fontId = Source::IDC_FONT;
    } else {
        page = OwnPage<Text>(element);
        fontId = Text::IDC_FONT;
    }
    const DWORD buildId = Doc().GetBuildId();
    const qsizetype steps = UndoSteps();

    bool busyWhileOpen = false;
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun& run) -> BOOL {
        busyWhileOpen = sheet.IsBusy();
        EXPECT_EQ(run.index, 1);
        switch (c.answer) {
        case Answer::SameFont:
            run.primary = courier;
            return TRUE;
        case Answer::OtherFont:
            run.primary = gothic;
            return TRUE;
        case Answer::Cancel:
            return FALSE;
        case Answer::Throw:
            throw CMemoryException();
        }
        return FALSE;
    });
    page->OnControlNotify(fontId, PageNotification::Clicked);
    SetFontDialogRunner(previous);

    EXPECT_TRUE(busyWhileOpen);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(Doc().GetChangeDepth(), 0);
    EXPECT_EQ(Doc().GetBuildId(), c.recorded ? buildId + 1 : buildId);
    EXPECT_EQ(UndoSteps(), c.recorded ? steps + 1 : steps);
    EXPECT_EQ(log.Saw(DocumentHint::DestRectChanged), c.recorded);
    EXPECT_EQ(env.env.PromptTexts().size(), c.messages);
    const int index = c.kind == FormElementType::Source ? static_cast<CFormSourceElement*>(element)->GetFontIndex()
                                                        : static_cast<CFormTextElement*>(element)->GetFontIndex();
    EXPECT_EQ(index, c.endIndex);
    // The description beside the button is the element's font's.
    const int descriptionId =
        c.kind == FormElementType::Source ? int(Source::IDC_FONT_DESCRIPTION) : int(Text::IDC_FONT_DESCRIPTION);
    EXPECT_EQ(page->FindControl(descriptionId)->text, Fonts().GetFontDescription(c.endIndex));
    EXPECT_FALSE(page->FindControl(descriptionId)->text.isEmpty());
}

const FontCase kFontCases[] = {
    {"SectionSameFont", FormElementType::Source, Answer::SameFont, 1, false, 0},
    {"SectionOtherFont", FormElementType::Source, Answer::OtherFont, 2, true, 0},
    {"SectionCancel", FormElementType::Source, Answer::Cancel, 1, false, 0},
    {"SectionDialogFails", FormElementType::Source, Answer::Throw, 1, false, 1},
    {"TextSameFont", FormElementType::Text, Answer::SameFont, 1, false, 0},
    {"TextOtherFont", FormElementType::Text, Answer::OtherFont, 2, true, 0},
    {"TextCancel", FormElementType::Text, Answer::Cancel, 1, false, 0},
    {"TextDialogFails", FormElementType::Text, Answer::Throw, 1, false, 1},
};

INSTANTIATE_TEST_SUITE_P(BothPages, FontButtonTest, ::testing::ValuesIn(kFontCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SourcePageTest, TextDialogOpensWithTheCurrentText)
{
    auto* page = OwnPage<Text>(StaticText(QStringLiteral("Total")));
    Type(*page, Text::IDC_TEXT, QStringLiteral("Grand total"));
    std::optional<QString> opened;
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun& run) -> BOOL {
        opened = run.sampleText;
        return FALSE;
    });
    page->OnControlNotify(Text::IDC_FONT, PageNotification::Clicked);
    SetFontDialogRunner(previous);
    EXPECT_EQ(opened, std::optional<QString>(QStringLiteral("Grand total")));
}

// ---------------------------------------------------------------- text

TEST_F(SourcePageTest, TypingFollowsIntoTheAutomaticDescriptionOneStepPerKeystroke)
{
    CFormTextElement* text = StaticText(QString());
    ASSERT_TRUE(text->IsAutoDescription());
    auto* page = OwnPage<Text>(text);

    QString typed;
    for (const QChar letter : QStringLiteral(" Net")) {
        typed += letter;
        const qsizetype steps = UndoSteps();
        Type(*page, Text::IDC_TEXT, typed);
        EXPECT_EQ(text->GetText(), typed);
        EXPECT_EQ(text->GetDescription(), typed.trimmed()) << typed.toStdString();
        EXPECT_EQ(UndoSteps(), steps + 1) << typed.toStdString();
    }

    TypeDescription(text, QStringLiteral("Net amount label"));
    Type(*page, Text::IDC_TEXT, QStringLiteral(" Net due"));
    EXPECT_EQ(text->GetText(), QStringLiteral(" Net due"));
    EXPECT_EQ(text->GetDescription(), QStringLiteral("Net amount label"));
}

TEST_F(SourcePageTest, TextPageTakesTheFocusOnlyWhileTheSheetIsActive)
{
    auto* page = OwnPage<Text>(StaticText(QStringLiteral("Total")));
    EXPECT_EQ(page->OnSetPageFocus(true), std::optional<int>(Text::IDC_TEXT));
    EXPECT_EQ(page->OnSetPageFocus(false), std::nullopt);
    auto* sourcePage = OwnPage<Source>(Section(In(4, 2, 12, 3)));
    EXPECT_EQ(sourcePage->OnSetPageFocus(true), std::nullopt);
}

// ---------------------------------------------------------------- bindings

TEST_F(SourcePageTest, SpooledFileBindingTable)
{
    using D = SourcePageData;
    auto* page = OwnPage<Source>(Section(In(4, 2, 12, 3)));
    const auto number = [](int D::*field) { return [field](const D& d) { return QString::number(d.*field); }; };
    CheckBindings<D>(*page, page->Data(),
                     {
                         {Source::IDC_COLUMN, PageNotification::Change, 0x1, "7", number(&D::column)},
                         {Source::IDC_LINE, PageNotification::Change, 0x1, "8", number(&D::line)},
                         {Source::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, 0x100, "1", number(&D::forceAbsolute)},
                         {Source::IDC_WIDTH, PageNotification::Change, 0x2, "3", number(&D::width)},
                         {Source::IDC_HEIGHT, PageNotification::Change, 0x2, "2", number(&D::height)},
                         {Source::IDC_ALIGN, PageNotification::Clicked, 0x20000, "1", number(&D::alignToGrid)},
                         {Source::IDC_FONT, PageNotification::Clicked, 0x10, "", nullptr},
                     });
}

TEST_F(SourcePageTest, TextBindingTable)
{
    using D = TextPageData;
    auto* page = OwnPage<Text>(StaticText(QStringLiteral("Total")));
    CheckBindings<D>(*page, page->Data(),
                     {
                         {Text::IDC_TEXT, PageNotification::Change, 0x8, "Sum", [](const D& d) { return d.text; }},
                         {Text::IDC_FONT, PageNotification::Clicked, 0x10, "", nullptr},
                         {Text::IDC_ALIGN, PageNotification::Clicked, 0x20000, "1",
                          [](const D& d) { return QString::number(d.alignToGrid); }},
                     });
}

} // namespace
