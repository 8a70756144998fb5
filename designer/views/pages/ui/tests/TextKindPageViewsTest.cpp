// The spooled-file, text, Loop, Conditional and Remark pages in the real
// sheet window, offscreen: their widgets by control id, the notifications
// each sends, the focus rules, and a picture of each page.

#include "designer/views/pages/ui/tests/OwnPageSheetFixture.h"

#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormRemarkElement.h"
#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/views/pages/ConditionalPropPage.h"
#include "designer/views/pages/LoopPropPage.h"
#include "designer/views/pages/RemarkPropPage.h"
#include "designer/views/pages/SourceTextPropPages.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

#include <functional>
#include <ostream>

namespace {

// Hands a selection hint to the sheet as the main frame does.
class SelectionRoute : public DocumentChangeListener
{
public:
    explicit SelectionRoute(CElementPropertySheet& sheet) : m_sheet(sheet) {}
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override
    {
        if (hint == DocumentHint::SelectionChanged)
            m_sheet.SetElement(dynamic_cast<CFormElement*>(element));
    }

private:
    CElementPropertySheet& m_sheet;
};

class TextKindSheetTest : public OwnPageSheetTest
{
protected:
    TextKindSheetTest() { Doc().AddChangeListener(&route); }
    ~TextKindSheetTest() override { Doc().RemoveChangeListener(&route); }

    CFormTextElement* StaticText(const QString& text, const kwvd::Rect& cells)
    {
        auto* element = static_cast<CFormTextElement*>(Make(FormElementType::Text, cells));
        CDocChangeGuard change(&Doc());
        element->SetText(text);
        return element;
    }

    SelectionRoute route{*shown};
};

// ---------------------------------------------------------------- every page

// One control of a page's view: the widget class it is and what using it
// does to the element.
struct ViewControl
{
    int id;
    const char* widgetClass;
};

struct PageViewCase
{
    const char* name;
    std::function<CFormElement*(TextKindSheetTest&)> make;
    const char* title;
    std::vector<ViewControl> controls;
};

void PrintTo(const PageViewCase& c, std::ostream* os)
{
    *os << c.name;
}

class PageViewTest : public TextKindSheetTest, public ::testing::WithParamInterface<PageViewCase>
{
public:
    CFormElement* MakeFor(int type, const kwvd::Rect& cells, int side, CFormElement* anchor = nullptr)
    {
        return Make(type, cells, anchor, side);
    }
};

TEST_P(PageViewTest, EveryControlIsThereAndThePageRendersToAPicture)
{
    const PageViewCase& c = GetParam();
    CFormElement* element = c.make(*this);
    ASSERT_NE(element, nullptr);
    QWidget* view = ShowOwnPage(element);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Window().Tabs()->tabText(1), QString::fromLatin1(c.title));
    for (const ViewControl& control : c.controls) {
        QWidget* widget = Find<QWidget>(view, control.id);
        ASSERT_NE(widget, nullptr);
        // The up-down has no meta-object of its own.
        const bool right = QLatin1String(control.widgetClass) == QLatin1String("CUpDownControl")
                               ? dynamic_cast<CUpDownControl*>(widget) != nullptr
                               : widget->inherits(control.widgetClass);
        EXPECT_TRUE(right) << control.id << " is a " << widget->metaObject()->className();
    }
    SavePicture(c.name);
}

using Source = CSourcePropPage;
using Text = CTextPropPage;
using Loop = CLoopPropPage;
using Cond = CConditionalPropPage;

const PageViewCase kPageViewCases[] = {
    {"spooled-file-in-loop",
     [](TextKindSheetTest& t) {
         auto& test = static_cast<PageViewTest&>(t);
         CFormElement* loop = test.MakeFor(FormElementType::Loop, t.In(1, 1, 41, 10), PaneSide::Input);
         return test.MakeFor(FormElementType::Source, t.In(4, 1, 28, 3), PaneSide::Input, loop);
     },
     "Spooled file",
     {{Source::IDC_COLUMN, "QLineEdit"},
      {Source::IDC_COLUMN_SPIN, "CUpDownControl"},
      {Source::IDC_LINE, "QLineEdit"},
      {Source::IDC_LINE_SPIN, "CUpDownControl"},
      {Source::IDC_FORCE_ABSOLUTE, "QCheckBox"},
      {Source::IDC_WIDTH, "QLineEdit"},
      {Source::IDC_WIDTH_SPIN, "CUpDownControl"},
      {Source::IDC_HEIGHT, "QLineEdit"},
      {Source::IDC_HEIGHT_SPIN, "CUpDownControl"},
      {Source::IDC_ALIGN, "QCheckBox"},
      {Source::IDC_FONT, "QPushButton"},
      {Source::IDC_FONT_DESCRIPTION, "QLabel"},
      {Source::IDC_POSITION_GROUP, "QGroupBox"}}},
    {"text",
     [](TextKindSheetTest& t) {
         return static_cast<PageViewTest&>(t).MakeFor(FormElementType::Text, t.In(5, 5, 6, 6), PaneSide::Output);
     },
     "Text",
     {{Text::IDC_TEXT, "QLineEdit"},
      {Text::IDC_FONT, "QPushButton"},
      {Text::IDC_ALIGN, "QCheckBox"},
      {Text::IDC_FONT_DESCRIPTION, "QLabel"}}},
    {"loop",
     [](TextKindSheetTest& t) {
         return static_cast<PageViewTest&>(t).MakeFor(FormElementType::Loop, t.In(1, 3, 41, 7), PaneSide::Input);
     },
     "Loop",
     {{Loop::IDC_START_LINE, "QLineEdit"},
      {Loop::IDC_START_LINE_SPIN, "CUpDownControl"},
      {Loop::IDC_HEIGHT, "QLineEdit"},
      {Loop::IDC_HEIGHT_SPIN, "CUpDownControl"},
      {Loop::IDC_END_OF_PAGE, "QCheckBox"},
      {Loop::IDC_END_OF_DOCUMENT, "QCheckBox"},
      {Loop::IDC_INCREMENT_ON_SUCCESS, "QCheckBox"}}},
    {"conditional",
     [](TextKindSheetTest& t) {
         return static_cast<PageViewTest&>(t).MakeFor(FormElementType::Conditional, t.In(4, 1, 28, 2), PaneSide::Input);
     },
     "Conditional",
     {{Cond::IDC_SUBJECT, "QComboBox"},
      {Cond::IDC_OPERATOR, "QComboBox"},
      {Cond::IDC_VALUE, "QLineEdit"},
      {Cond::IDC_COLUMN, "QLineEdit"},
      {Cond::IDC_COLUMN_SPIN, "CUpDownControl"},
      {Cond::IDC_LINE, "QLineEdit"},
      {Cond::IDC_LINE_SPIN, "CUpDownControl"},
      {Cond::IDC_FORCE_ABSOLUTE, "QCheckBox"},
      {Cond::IDC_WIDTH, "QLineEdit"},
      {Cond::IDC_WIDTH_SPIN, "CUpDownControl"},
      {Cond::IDC_BREAK_LOOP, "QCheckBox"},
      {Cond::IDC_POSITION_GROUP, "QGroupBox"}}},
    {"remark",
     [](TextKindSheetTest& t) {
         return static_cast<PageViewTest&>(t).MakeFor(FormElementType::Remark, {}, PaneSide::Output);
     },
     "Remark",
     {{CRemarkPropPage::IDC_REMARK, "QPlainTextEdit"}}},
};

INSTANTIATE_TEST_SUITE_P(InTheSheet, PageViewTest, ::testing::ValuesIn(kPageViewCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// ---------------------------------------------------------------- notifications

TEST_F(TextKindSheetTest, SpooledFileWidgetsReachTheElement)
{
    CFormElement* loop = Make(FormElementType::Loop, In(1, 1, 41, 10), nullptr, PaneSide::Input);
    auto* section =
        static_cast<CFormSourceElement*>(Make(FormElementType::Source, In(4, 1, 28, 3), loop, PaneSide::Input));
    QWidget* view = ShowOwnPage(section);
    auto* group = Find<QGroupBox>(view, Source::IDC_POSITION_GROUP);
    EXPECT_EQ(group->title(), QStringLiteral("Position (Relative)"));
    auto* force = Find<QCheckBox>(view, Source::IDC_FORCE_ABSOLUTE);
    ASSERT_TRUE(force->isEnabled());
    force->click();
    EXPECT_TRUE(section->IsSourceAbsolute());
    EXPECT_EQ(group->title(), QStringLiteral("Position (Absolute)"));

    Find<QCheckBox>(view, Source::IDC_ALIGN)->click();
    EXPECT_TRUE(section->GetAlignToGrid());

    auto* width = Find<QLineEdit>(view, Source::IDC_WIDTH);
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("99"));
    EXPECT_EQ(width->text(), QString::number(static_cast<CSourcePropPage*>(shown->GetPage(1))->Data().width));
    EXPECT_EQ(section->SourceRect().right, Input().GetPixelWidth()) << "cut to the page";
    EXPECT_EQ(Find<CUpDownControl>(view, Source::IDC_HEIGHT_SPIN)->Maximum(),
              Input().GetPixelHeight() / Input().GetCellHeight());

    // The font button opens the dialog with the sheet kept.
    bool opened = false;
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun&) -> BOOL {
        opened = shown->IsBusy();
        return FALSE;
    });
    Find<QPushButton>(view, Source::IDC_FONT)->click();
    SetFontDialogRunner(previous);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(shown->IsBusy());
}

TEST_F(TextKindSheetTest, TypingTheTextAppliesAtEveryKeystroke)
{
    CFormTextElement* text = StaticText(QString(), Cells(5, 5, 6, 6));
    QWidget* view = ShowOwnPage(text);
    Window().activateWindow();
    (void)QTest::qWaitForWindowActive(&Window());
    auto* edit = Find<QLineEdit>(view, Text::IDC_TEXT);
    edit->setFocus();
    const qsizetype steps = UndoSteps();
    QTest::keyClicks(edit, QStringLiteral("Net"));
    EXPECT_EQ(text->GetText(), QStringLiteral("Net"));
    EXPECT_EQ(text->GetDescription(), QStringLiteral("Net"));
    EXPECT_EQ(UndoSteps(), steps + 3);
    EXPECT_EQ(edit->cursorPosition(), 3);
}

TEST_F(TextKindSheetTest, TextPageTakesTheFocusButNotFromAPane)
{
    QWidget main;
    auto* pane = new QLineEdit(&main);
    main.show();
    CFormTextElement* first = StaticText(QStringLiteral("Total"), Cells(5, 5, 6, 6));
    CFormTextElement* second = StaticText(QStringLiteral("Tax"), Cells(5, 8, 6, 9));

    // Activated inside the shown sheet: the focus goes into the text edit.
    QWidget* view = ShowOwnPage(first);
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    shown->SetActivePageIndex(0);
    shown->SetActivePageIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>(view, Text::IDC_TEXT));

    // A pane selects another element: the page is rebuilt and activated,
    // the focus stays in the pane.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    pane->setFocus();
    shown->SetElement(second);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown->GetActiveIndex(), 1);
    EXPECT_TRUE(pane->hasFocus());
}

TEST_F(TextKindSheetTest, LoopBoxesDriveTheHeight)
{
    auto* loop = static_cast<CFormLoopElement*>(Make(FormElementType::Loop, In(1, 3, 41, 7), nullptr, PaneSide::Input));
    QWidget* view = ShowOwnPage(loop);
    auto* endOfPage = Find<QCheckBox>(view, Loop::IDC_END_OF_PAGE);
    auto* endOfDocument = Find<QCheckBox>(view, Loop::IDC_END_OF_DOCUMENT);
    auto* height = Find<QLineEdit>(view, Loop::IDC_HEIGHT);
    endOfDocument->click();
    endOfPage->click();
    EXPECT_EQ(loop->GetLoopMode(), LoopMode::ToPageEnd);
    EXPECT_TRUE(endOfPage->isChecked());
    EXPECT_FALSE(endOfDocument->isChecked());
    EXPECT_FALSE(height->isEnabled());
    EXPECT_FALSE(Find<CUpDownControl>(view, Loop::IDC_HEIGHT_SPIN)->isEnabled());
    endOfPage->click();
    EXPECT_EQ(loop->GetLoopMode(), LoopMode::FixedHeight);
    EXPECT_TRUE(height->isEnabled());
}

TEST_F(TextKindSheetTest, SubjectChangeRefreshesThePageUnderItsOwnHandler)
{
    auto* conditional = static_cast<CFormConditionalElement*>(
        Make(FormElementType::Conditional, In(4, 1, 28, 2), nullptr, PaneSide::Input));
    QWidget* view = ShowOwnPage(conditional);
    CElementPropPage* page = shown->GetPage(1);
    auto* subject = Find<QComboBox>(view, Cond::IDC_SUBJECT);
    auto* column = Find<QLineEdit>(view, Cond::IDC_COLUMN);
    ASSERT_EQ(subject->currentText(), QStringLiteral("POSITION"));
    ASSERT_TRUE(column->isEnabled());

    // The user picks "PAGE": hint 245 tells the sheet its element again.
    subject->setCurrentIndex(1);
    emit subject->activated(1);
    EXPECT_EQ(conditional->GetSubject(), QStringLiteral("PAGE"));
    EXPECT_EQ(shown->GetPage(1), page) << "refreshed, not rebuilt";
    EXPECT_EQ(subject->currentText(), QStringLiteral("PAGE"));
    EXPECT_FALSE(column->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(view, Cond::IDC_WIDTH)->isEnabled());

    auto* type = Find<QComboBox>(view, Cond::IDC_OPERATOR);
    type->setCurrentIndex(5);
    emit type->activated(5);
    EXPECT_EQ(conditional->GetOperator(), ConditionalOperator::LessOrEqual);

    subject->setCurrentIndex(0);
    emit subject->activated(0);
    EXPECT_TRUE(column->isEnabled());
    SavePicture("conditional-position");
}

TEST_F(TextKindSheetTest, TabbingIntoTheRemarkLeavesTheCaretAtTheEnd)
{
    auto* remark = static_cast<CFormRemarkElement*>(Make(FormElementType::Remark, {}));
    {
        CDocChangeGuard change(&Doc());
        remark->SetRemark(QStringLiteral("Check the totals\nbefore printing"));
    }
    QWidget* view = ShowOwnPage(remark);
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    auto* edit = Find<QPlainTextEdit>(view, CRemarkPropPage::IDC_REMARK);
    ASSERT_EQ(edit->toPlainText(), remark->GetRemark());
    edit->clearFocus();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &in);
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_EQ(edit->textCursor().position(), remark->GetRemark().size());

    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, QStringLiteral("!"));
    EXPECT_EQ(remark->GetRemark(), QStringLiteral("Check the totals\nbefore printing!"));
}

} // namespace
