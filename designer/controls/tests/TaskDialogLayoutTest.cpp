// The task dialog's layout over a measurer of fixed metrics (7 pixel
// characters, 13 pixel lines) and an 800 pixel screen, so the text width is
// 800 / 2 + 80 - 20 = 460. Every rectangle below is worked out by hand.
// The expando captions always count: "Hide details <<" is 15 characters,
// so bw = 105 + 32 = 137 and bh = 13 + 10 = 23 unless a caption is wider.

#include "designer/controls/TaskDialogLayout.h"
#include "designer/controls/tests/TaskDialogTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using kwvd::Rect;

constexpr int kScreen = 800;

struct Fixture
{
    TASKDIALOGCONFIG config;
    TaskDialogTexts texts;
    std::vector<TASKDIALOG_BUTTON> buttons;
    std::vector<TASKDIALOG_BUTTON> radios;

    TaskDialogLayout Build()
    {
        config.cButtons = static_cast<UINT>(buttons.size());
        config.pButtons = buttons.data();
        config.cRadioButtons = static_cast<UINT>(radios.size());
        config.pRadioButtons = radios.data();
        texts.buttons.clear();
        for (const TASKDIALOG_BUTTON& b : buttons)
            texts.buttons.push_back(b.pszButtonText.text.value_or(QString()));
        texts.radioButtons.clear();
        for (const TASKDIALOG_BUTTON& r : radios)
            texts.radioButtons.push_back(r.pszButtonText.text.value_or(QString()));
        if (config.dwFlags & TDF_ENABLE_HYPERLINKS) {
            texts.contentMeasure = StripLinkMarkup(texts.content);
            texts.footerMeasure = StripLinkMarkup(texts.footer);
            texts.expandedInformationMeasure = StripLinkMarkup(texts.expandedInformation);
        } else {
            texts.contentMeasure = texts.content;
            texts.footerMeasure = texts.footer;
            texts.expandedInformationMeasure = texts.expandedInformation;
        }
        return BuildLayout(config, texts, DefaultStandardButtons(), FixedMeasurer(), kScreen);
    }
};

struct ExpectedItem
{
    TaskDialogItemKind kind;
    int id;
    Rect rect;
    bool visible = true;
};

void ExpectItems(const TaskDialogLayout& layout, const std::vector<ExpectedItem>& expected)
{
    ASSERT_EQ(layout.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        const TaskDialogItem& item = layout.items[i];
        EXPECT_EQ(item.kind, expected[i].kind);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.rect, expected[i].rect)
            << item.rect.left << "," << item.rect.top << "," << item.rect.right << "," << item.rect.bottom;
        EXPECT_EQ(item.Visible(), expected[i].visible);
    }
}

TEST(TaskDialogLayout, NoButtonsGivesOneDefaultOkAtTheRight)
{
    Fixture f;
    const TaskDialogLayout layout = f.Build();
    // A = 1, so the width comes from the row: 137 + 20 = 157; OK at 157 - 137 - 10.
    ExpectItems(layout, {{TaskDialogItemKind::Button, IDOK, {10, 25, 147, 48}}});
    EXPECT_EQ(layout.items[0].text, QStringLiteral("OK"));
    EXPECT_TRUE(layout.items[0].isDefault);
    EXPECT_TRUE(layout.items[0].style & TDIS_DEFPUSHBUTTON);
    EXPECT_EQ(layout.focusId, IDOK);
    EXPECT_EQ(layout.client, QSize(157, 58));
    EXPECT_EQ(layout.separators, (std::array<int, 3>{15, -1, -1}));
}

TEST(TaskDialogLayout, IconWithoutTextPutsTheButtonRowBelowTheIcon)
{
    Fixture f;
    f.texts.hasMainIcon = true;
    const TaskDialogLayout layout = f.Build();
    ExpectItems(layout, {{TaskDialogItemKind::Static, 2, {10, 14, 42, 46}},
                         {TaskDialogItemKind::Button, IDOK, {10, 66, 147, 89}}});
    EXPECT_EQ(layout.mainIconId, 2);
    EXPECT_EQ(layout.client, QSize(157, 99));
}

TEST(TaskDialogLayout, IconMovesTheTextColumnTo52)
{
    Fixture f;
    f.texts.hasMainIcon = true;
    f.texts.mainInstruction = QStringLiteral("Main text"); // 63 px
    const TaskDialogLayout layout = f.Build();
    const TaskDialogItem* instruction = layout.Find(layout.mainInstructionId);
    ASSERT_NE(instruction, nullptr);
    EXPECT_EQ(instruction->rect, (Rect{52, 10, 52 + 64, 24}));
}

TEST(TaskDialogLayout, CommandLinksTouchAndTakeTheirTitleAndNoteHeights)
{
    Fixture f;
    f.config.dwFlags = TDF_USE_COMMAND_LINKS;
    f.texts.mainInstruction = QStringLiteral("Paste?");
    f.buttons = {{541, QStringLiteral("Replace\nThe page is replaced.")}, {542, QStringLiteral("Add")}};
    const TaskDialogLayout layout = f.Build();
    // A = the note, 21 * 7 = 147, + 20 + 26 = 193; a note 13 high: 13 + 25 + 13.
    ExpectItems(layout, {{TaskDialogItemKind::Static, 543, {10, 10, 203, 24}},
                         {TaskDialogItemKind::Button, 541, {10, 34, 203, 85}},
                         {TaskDialogItemKind::Button, 542, {10, 85, 203, 118}}});
    EXPECT_EQ(layout.items[1].style & TDIS_COMMAND_LINK, TDIS_COMMAND_LINK);
    // No button row and nothing below it: no button area, no separator.
    EXPECT_EQ(layout.separators[0], -1);
    EXPECT_EQ(layout.client, QSize(213, 143));
}

TEST(TaskDialogLayout, NoIconLinksStartTheirTextCloser)
{
    Fixture f;
    f.config.dwFlags = TDF_USE_COMMAND_LINKS | TDF_USE_COMMAND_LINKS_NO_ICON;
    f.buttons = {{541, QStringLiteral("Replace\nThe page is replaced.")}};
    const TaskDialogLayout layout = f.Build();
    // A = 147 + 20.
    EXPECT_EQ(layout.Find(541)->rect, (Rect{10, 10, 177, 61}));
}

TEST(TaskDialogLayout, DefaultButtonRules)
{
    struct Case
    {
        const char* name;
        DWORD flags;
        DWORD common;
        int defaultButton;
        int expectedFocus;
    };
    const Case cases[] = {
        {"no default, links: the first link", TDF_USE_COMMAND_LINKS, 0, 0, 541},
        {"the second link by id", TDF_USE_COMMAND_LINKS, 0, 542, 542},
        {"an unknown id: none", TDF_USE_COMMAND_LINKS, 0, 999, -1},
        {"no default, push buttons: the first custom", 0, TDCBF_YES_BUTTON, 0, 541},
        {"a common button by id", 0, TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, IDNO, IDNO},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.config.dwFlags = c.flags;
        f.config.dwCommonButtons = c.common;
        f.config.nDefaultButton = c.defaultButton;
        f.buttons = {{541, QStringLiteral("First")}, {542, QStringLiteral("Second")}};
        const TaskDialogLayout layout = f.Build();
        EXPECT_EQ(layout.focusId, c.expectedFocus) << c.name;
        int defaults = 0;
        for (const TaskDialogItem& item : layout.items) {
            if (item.isDefault) {
                ++defaults;
                EXPECT_EQ(item.id, c.expectedFocus) << c.name;
            }
        }
        EXPECT_EQ(defaults, c.expectedFocus == -1 ? 0 : 1) << c.name;
    }
}

TEST(TaskDialogLayout, CommonButtonsStandInTableOrderAfterCustomOnes)
{
    Fixture f;
    f.config.dwCommonButtons = TDCBF_CLOSE_BUTTON | TDCBF_CANCEL_BUTTON | TDCBF_OK_BUTTON;
    f.buttons = {{100, QStringLiteral("Custom")}};
    const TaskDialogLayout layout = f.Build();
    std::vector<int> ids;
    for (const TaskDialogItem& item : layout.items)
        ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<int>{100, IDOK, IDCANCEL, IDCLOSE}));
    // Four buttons of 137: the row is 4 * 145 - 8 = 572, wider than 460.
    EXPECT_EQ(layout.client.width(), 592);
    EXPECT_EQ(layout.items[0].rect.left, 10);
    EXPECT_EQ(layout.items[1].rect.left, 155);
    EXPECT_FALSE(layout.items[0].style & TDIS_GROUP);
    EXPECT_TRUE(layout.items[1].style & TDIS_GROUP);
}

TEST(TaskDialogLayout, IdsFollowCreationOrderAboveTheHighestGiven)
{
    Fixture f;
    f.config.dwFlags = TDF_SHOW_PROGRESS_BAR;
    f.texts.hasMainIcon = false;
    f.texts.mainInstruction = QStringLiteral("Main text");
    f.texts.content = QStringLiteral("C");
    f.texts.footer = QStringLiteral("F");
    f.radios = {{100, QStringLiteral("One")}, {101, QStringLiteral("Two")}};
    const TaskDialogLayout layout = f.Build();
    ExpectItems(layout, {{TaskDialogItemKind::Static, 102, {10, 10, 74, 24}},
                         {TaskDialogItemKind::Static, 103, {10, 34, 74, 48}},
                         {TaskDialogItemKind::Progress, 104, {10, 58, 147, 72}},
                         {TaskDialogItemKind::Radio, 100, {20, 82, 74, 95}},
                         {TaskDialogItemKind::Radio, 101, {20, 100, 74, 113}},
                         {TaskDialogItemKind::Button, IDOK, {10, 138, 147, 161}},
                         {TaskDialogItemKind::Static, 105, {10, 181, 74, 195}}});
    EXPECT_TRUE(layout.Find(100)->style & TDIS_GROUP);
    EXPECT_FALSE(layout.Find(101)->style & TDIS_GROUP);
    EXPECT_EQ(layout.separators, (std::array<int, 3>{128, 171, -1}));
    EXPECT_EQ(layout.client, QSize(157, 205));
}

TEST(TaskDialogLayout, LinkMarkupIsMeasuredOnlyWithoutUpperCaseTags)
{
    struct Case
    {
        const char* name;
        QString content;
        int right;
    };
    const Case cases[] = {
        // "Open file now": 13 characters, A = 92.
        {"upper-case tags stripped", QStringLiteral("Open <A HREF=\"x\">file</A> now"), 10 + 92},
        // Lower-case tags count as text: 29 characters, A = 204.
        {"lower-case tags measured", QStringLiteral("Open <a href=\"x\">file</a> now"), 10 + 204},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.config.dwFlags = TDF_ENABLE_HYPERLINKS;
        f.texts.content = c.content;
        const TaskDialogLayout layout = f.Build();
        const TaskDialogItem* content = layout.Find(layout.contentId);
        ASSERT_NE(content, nullptr) << c.name;
        EXPECT_EQ(content->kind, TaskDialogItemKind::Link) << c.name;
        EXPECT_EQ(content->text, c.content) << c.name;
        EXPECT_EQ(content->rect, (Rect{10, 10, c.right, 24})) << c.name;
    }
}

TEST(TaskDialogLayout, CollapsedInformationTakesNoHeight)
{
    struct Case
    {
        const char* name;
        DWORD flags;
        Rect details;
        bool visible;
        Rect ok;
        Rect expando;
        QString caption;
        int height;
    };
    const Case cases[] = {
        {"collapsed",
         0,
         {10, 34, 39, 48},
         false,
         {10, 49, 147, 72},
         {10, 77, 147, 100},
         QStringLiteral("See &details >>"),
         110},
        {"expanded",
         TDF_EXPANDED_BY_DEFAULT,
         {10, 34, 39, 48},
         true,
         {10, 73, 147, 96},
         {10, 101, 147, 124},
         QStringLiteral("Hide &details <<"),
         134},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.config.dwFlags = c.flags;
        f.texts.content = QStringLiteral("Body");
        f.texts.expandedInformation = QStringLiteral("More");
        const TaskDialogLayout layout = f.Build();
        const TaskDialogItem* details = layout.Find(layout.expandedInformationId);
        ASSERT_NE(details, nullptr) << c.name;
        EXPECT_EQ(details->rect, c.details) << c.name;
        EXPECT_EQ(details->Visible(), c.visible) << c.name;
        EXPECT_EQ(layout.Find(IDOK)->rect, c.ok) << c.name;
        ASSERT_NE(layout.Find(layout.expandoId), nullptr) << c.name;
        EXPECT_EQ(layout.Find(layout.expandoId)->rect, c.expando) << c.name;
        EXPECT_EQ(layout.Find(layout.expandoId)->text, c.caption) << c.name;
        EXPECT_EQ(layout.client.height(), c.height) << c.name;
    }
}

TEST(TaskDialogLayout, ExpandedInformationInTheFooterAreaHasItsOwnLine)
{
    Fixture f;
    f.config.dwFlags = TDF_EXPAND_FOOTER_AREA | TDF_EXPANDED_BY_DEFAULT;
    f.texts.expandedInformation = QStringLiteral("More");
    f.texts.footer = QStringLiteral("Note");
    const TaskDialogLayout layout = f.Build();
    ExpectItems(layout, {{TaskDialogItemKind::Button, IDOK, {10, 25, 147, 48}},
                         {TaskDialogItemKind::Button, 2, {10, 53, 147, 76}},
                         {TaskDialogItemKind::Static, 3, {10, 96, 39, 110}},
                         {TaskDialogItemKind::Static, 4, {10, 130, 39, 144}}});
    EXPECT_EQ(layout.footerTextId, 3);
    EXPECT_EQ(layout.expandedInformationId, 4);
    EXPECT_EQ(layout.separators, (std::array<int, 3>{15, 86, 120}));
    EXPECT_EQ(layout.client.height(), 154);
}

TEST(TaskDialogLayout, FooterIconPushesTheTextTo31)
{
    Fixture f;
    f.texts.hasFooterIcon = true;
    f.texts.footer = QStringLiteral("Note");
    const TaskDialogLayout layout = f.Build();
    ExpectItems(layout, {{TaskDialogItemKind::Button, IDOK, {10, 25, 147, 48}},
                         {TaskDialogItemKind::Static, 2, {10, 68, 26, 84}},
                         {TaskDialogItemKind::Static, 3, {31, 68, 39, 82}}});
    EXPECT_EQ(layout.footerIconId, 2);
    EXPECT_EQ(layout.separators, (std::array<int, 3>{15, 58, -1}));
    EXPECT_EQ(layout.client.height(), 94);
}

TEST(TaskDialogLayout, HeaderFlags)
{
    struct Case
    {
        const char* name;
        DWORD flags;
        DWORD common;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {"plain", 0, 0, 0x90C00080u, 0},
        {"cancellation allowed", TDF_ALLOW_DIALOG_CANCELLATION, 0, 0x90C80080u, 0},
        {"a Cancel button", 0, TDCBF_CANCEL_BUTTON, 0x90C80080u, 0},
        {"relative to the owner", TDF_POSITION_RELATIVE_TO_WINDOW, 0, 0x90C00880u, 0},
        {"can be minimized", TDF_CAN_BE_MINIMIZED, 0, 0x90C20080u, 0},
        {"right to left", TDF_RTL_LAYOUT, 0, 0x90C00080u, 0x3000u},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.config.dwFlags = c.flags;
        f.config.dwCommonButtons = c.common;
        const TaskDialogLayout layout = f.Build();
        EXPECT_EQ(layout.style, c.style) << c.name;
        EXPECT_EQ(layout.exStyle, c.exStyle) << c.name;
    }
}

TEST(TaskDialogLayout, WidthSettingConvertsByAQuarterCharacter)
{
    Fixture f;
    f.config.cxWidth = 100; // 100 * 7 / 4 = 175, less 20: 155 pixels, 22 characters
    f.texts.content = QStringLiteral("abcdefghij klmnopqrst uvwxyzabcd");
    const TaskDialogLayout layout = f.Build();
    // Two lines: "abcdefghij klmnopqrst" (147) and the last word.
    EXPECT_EQ(layout.Find(layout.contentId)->rect, (Rect{10, 10, 10 + 148, 10 + 27}));
}

TEST(StripLinkMarkup, Cases)
{
    struct Case
    {
        const char* name;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {"empty", QString(), QString()},
        {"plain", QStringLiteral("plain"), QStringLiteral("plain")},
        {"one link", QStringLiteral("a <A HREF=\"x\">b</A> c"), QStringLiteral("a b c")},
        {"two links", QStringLiteral("<A HREF=\"1\">a</A>-<A HREF=\"2\">b</A>"), QStringLiteral("a-b")},
        {"lower case kept", QStringLiteral("a <a href=\"x\">b</a>"), QStringLiteral("a <a href=\"x\">b</a>")},
        {"closing tag alone", QStringLiteral("x</A>y"), QStringLiteral("xy")},
        {"opening tag without end", QStringLiteral("a <A HREF=\"x\" b"), QStringLiteral("a <A HREF=\"x\" b")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripLinkMarkup(c.text), c.expected) << c.name;
}

} // namespace
