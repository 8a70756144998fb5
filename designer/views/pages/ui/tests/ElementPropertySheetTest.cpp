#include "designer/views/pages/tests/PageTestFixture.h"

#include "designer/controls/ACEdit.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/elements/FormTextElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/GeneralPropPageView.h"
#include "designer/views/pages/ui/tests/SheetTestFrame.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

using Page = CGeneralPropPage;

// Hands the document's removals to the sheet as the frame does.
class RemovalRoute : public DocumentChangeListener
{
public:
    explicit RemovalRoute(std::unique_ptr<CElementPropertySheet>& sheet) : m_sheet(sheet) {}
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override
    {
        if (hint == DocumentHint::ElementRemoved && m_sheet)
            m_sheet->OnElementRemoved(dynamic_cast<CFormElement*>(element));
        if (onHint)
            onHint(hint, element);
    }
    std::function<void(LPARAM, CObject*)> onHint;

private:
    std::unique_ptr<CElementPropertySheet>& m_sheet;
};

class SheetTest : public PageTest
{
protected:
    SheetTest()
    {
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        store.DeleteKey(kwvd::RegistryRoot::CurrentUser, frame.section);
        store.DeleteKey(kwvd::RegistryRoot::CurrentUser, kwvd::ApplicationKeyPath(u"KWVD Designer") + u'\\'
                                                             + QString::fromLatin1(Page::DescriptionHistoryKey));
        sheet = CElementPropertySheetWnd::Create(&frame, nullptr);
        Doc().AddChangeListener(&route);
    }
    ~SheetTest() override
    {
        Doc().RemoveChangeListener(&route);
        sheet.reset();
    }

    CElementPropertySheetWnd& Window() const { return static_cast<CElementPropertySheetWnd&>(*sheet->GetWindow()); }
    QString Shown(int id) const
    {
        auto* view = Window().PageView(Window().Tabs()->currentIndex());
        auto* edit = view != nullptr ? view->findChild<QLineEdit*>(QString::number(id)) : nullptr;
        return edit != nullptr ? edit->text() : QStringLiteral("<none>");
    }
    void Show()
    {
        sheet->ShowSheet();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }

    LayoutFrame frame;
    std::unique_ptr<CElementPropertySheet> sheet;
    RemovalRoute route{sheet};
};

TEST_F(SheetTest, MadeHiddenWithItsCaptionAndPlaceholder)
{
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Properties"));
    EXPECT_TRUE(Window().windowFlags() & Qt::Tool);
    ASSERT_EQ(sheet->GetPageCount(), 1);
    EXPECT_EQ(Window().Tabs()->tabText(0), QStringLiteral("General"));
    Show();
    QWidget* placeholder = Window().PageView(0);
    ASSERT_NE(placeholder, nullptr);
    QStringList texts;
    for (QLabel* label : placeholder->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts, QStringList{QStringLiteral("No Selection.")});
    // The Pin button at the top right of the client area.
    QToolButton* pin = Window().PinButton();
    EXPECT_EQ(pin->objectName(), QStringLiteral("1560"));
    EXPECT_EQ(pin->geometry(), QRect(QPoint(Window().width() - 21, 4), QPoint(Window().width() - 1, 23)));
}

TEST_F(SheetTest, CurrentElementIsRefreshedOnlyWhileShown)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    sheet->SetElement(image);
    Show();
    EXPECT_EQ(Shown(Page::IDC_COLUMN), QStringLiteral("4"));

    image->MoveDest(6 * Output().GetCellWidth(), 0, ElementMoveFlags::Left, TRUE);
    sheet->SetElement(image);
    EXPECT_EQ(Shown(Page::IDC_COLUMN), QStringLiteral("7"));

    sheet->HideSheet();
    image->MoveDest(9 * Output().GetCellWidth(), 0, ElementMoveFlags::Left, TRUE);
    sheet->SetElement(image);
    EXPECT_EQ(Shown(Page::IDC_COLUMN), QStringLiteral("7"));
}

TEST_F(SheetTest, ActivePageKeptAcrossElementsAndClampedToTheLast)
{
    CFormElement* first = Make(FormElementType::Text, Cells(4, 4, 9, 5));
    CFormElement* second = Make(FormElementType::Text, Cells(4, 8, 9, 9));
    CFormElement* eraser = Make(FormElementType::Eraser, Cells(20, 8, 22, 9));
    sheet->SetElement(first);
    Show();
    ASSERT_EQ(sheet->GetPageCount(), 2);
    sheet->SetActivePageIndex(7);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);

    sheet->SetElement(second);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(Window().Tabs()->tabText(1), QStringLiteral("Text"));

    sheet->SetElement(eraser);
    EXPECT_EQ(sheet->GetPageCount(), 1);
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(Shown(Page::IDC_COLUMN), QStringLiteral("20"));

    CElementPropPage* placeholder = nullptr;
    sheet->SetElement(nullptr);
    placeholder = sheet->GetPage(0);
    EXPECT_EQ(placeholder->GetDialogId(), 131u);
    sheet->SetElement(first);
    sheet->SetElement(nullptr);
    EXPECT_EQ(sheet->GetPage(0), placeholder) << "made once and reused";
    EXPECT_TRUE(Window().isEnabled());
}

TEST_F(SheetTest, ActivatingAnotherWindowHidesOnlyTheUnpinnedIdleSheet)
{
    QWidget main;
    main.resize(300, 200);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    sheet->SetElement(Make(FormElementType::Image, Cells(4, 4, 9, 8)));

    auto activateMain = [&] {
        Show();
        Window().activateWindow();
        (void)QTest::qWaitForWindowActive(&Window());
        main.activateWindow();
        return QTest::qWaitForWindowActive(&main);
    };

    ASSERT_FALSE(sheet->IsPinned());
    ASSERT_TRUE(activateMain());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(sheet->IsShown());

    {
        CSheetBusyScope busy(sheet.get());
        ASSERT_TRUE(activateMain());
        EXPECT_TRUE(Window().isVisible()) << "a page's dialog is open";
    }

    QTest::mouseClick(Window().PinButton(), Qt::LeftButton);
    EXPECT_TRUE(sheet->IsPinned());
    ASSERT_TRUE(activateMain());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(sheet->IsShown());
}

TEST_F(SheetTest, CloseBoxHidesWithoutDestroying)
{
    Show();
    Window().close();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(sheet->IsShown());
    EXPECT_EQ(sheet->GetPageCount(), 1);
}

TEST_F(SheetTest, LayoutWithoutPinnedLoadsPinnedAndMovesWithoutResizing)
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key = frame.OpenLayoutKey(QStringLiteral("PropertySheet"), true);
    ASSERT_TRUE(key);
    // A RECT of 200 x 100 at (40, 30).
    QByteArray rect(16, '\0');
    const qint32 edges[] = {40, 30, 240, 130};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<qint32>(edges[i], rect.data() + 4 * i);
    store.WriteValue(*key, u"WindowRect", kwvd::RegistryValue::Binary(rect));
    store.WriteValue(*key, u"Active", kwvd::RegistryValue::Number(1));
    const QSize size = Window().size();

    CRegisteredMessageEvent load(RegisteredMessages::SerializeLayout(), 0, 0);
    QCoreApplication::sendEvent(&Window(), &load);

    EXPECT_TRUE(sheet->IsPinned());
    EXPECT_TRUE(sheet->IsShown());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().size(), size);
    EXPECT_EQ(Window().pos(), QPoint(40, 30));

    // Saved and read back: the same four values.
    CRegisteredMessageEvent save(RegisteredMessages::SerializeLayout(), 1, 0);
    QCoreApplication::sendEvent(&Window(), &save);
    EXPECT_EQ(store.ReadNumber(*key, u"Active"), std::optional<std::uint32_t>(1));
    EXPECT_EQ(store.ReadNumber(*key, u"Pinned"), std::optional<std::uint32_t>(1));
    EXPECT_EQ(store.ReadNumber(*key, u"Page"), std::optional<std::uint32_t>(0));
    EXPECT_EQ(store.ReadBinary(*key, u"WindowRect").value_or(QByteArray()).size(), 16);

    store.WriteValue(*key, u"Active", kwvd::RegistryValue::Number(0));
    QCoreApplication::sendEvent(&Window(), &load);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(sheet->IsShown());
}

TEST_F(SheetTest, MissingLayoutSectionChangesNothing)
{
    EXPECT_EQ(sheet->OnSerializeLayout(0), 0);
    EXPECT_FALSE(sheet->IsShown());
    EXPECT_FALSE(sheet->IsPinned());
}

TEST_F(SheetTest, PageFocusLeavesTheFocusInAnActivePane)
{
    QWidget main;
    auto* pane = new QLineEdit(&main);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    pane->setFocus();
    sheet->SetElement(Make(FormElementType::Image, Cells(4, 4, 9, 8)));
    sheet->ShowSheet();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    pane->setFocus();
    sheet->SetActivePageIndex(0);
    QCoreApplication::postEvent(Window().PageView(0),
                                new CRegisteredMessageEvent(RegisteredMessages::SetPageFocus(), 0, 0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pane->hasFocus());

    // Shown again from the frame: the sheet is the active window now.
    sheet->HideSheet();
    Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QCoreApplication::postEvent(Window().PageView(0),
                                new CRegisteredMessageEvent(RegisteredMessages::SetPageFocus(), 0, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(),
              Window().PageView(0)->findChild<QLineEdit*>(QString::number(Page::IDC_DESCRIPTION)));
}

struct RemovalCase
{
    const char* name;
    bool removeContainer;
};

void PrintTo(const RemovalCase& c, std::ostream* os)
{
    *os << c.name;
}

class SheetRemovalTest : public SheetTest, public ::testing::WithParamInterface<RemovalCase>
{};

TEST_P(SheetRemovalTest, DeletingTheElementLeavesTheSheetEmpty)
{
    CFormElement* loop = Make(FormElementType::Loop, Cells(1, 2, 40, 20));
    CFormElement* text = Make(FormElementType::Text, Cells(4, 4, 9, 5), loop);
    ASSERT_EQ(text->GetParent(), loop);
    sheet->SetElement(text);
    Show();
    {
        CDocChangeGuard change(&Doc());
        Doc().DeleteElement(GetParam().removeContainer ? loop : text, TRUE);
    }
    EXPECT_EQ(sheet->GetElement(), nullptr);
    ASSERT_EQ(sheet->GetPageCount(), 1);
    EXPECT_EQ(sheet->GetPage(0)->GetDialogId(), 131u);
}

const RemovalCase kRemovalCases[] = {{"TheElement", false}, {"ItsContainer", true}};
INSTANTIATE_TEST_SUITE_P(Removed, SheetRemovalTest, ::testing::ValuesIn(kRemovalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetTest, RebuildAskedForDuringAHandlerWaitsForItsEnd)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    CFormElement* other = Make(FormElementType::Text, Cells(4, 12, 9, 13));
    sheet->SetElement(image);
    Show();
    CElementPropPage* general = sheet->GetPage(0);
    // The element re-tells the sheet its selection while its page applies.
    route.onHint = [&](LPARAM hint, CObject*) {
        if (hint == DocumentHint::ElementChanged) {
            sheet->SetElement(other);
            EXPECT_EQ(sheet->GetPage(0), general) << "no page goes under its own handler";
        }
    };
    auto* edit = Window().PageView(0)->findChild<QLineEdit*>(QString::number(Page::IDC_DESCRIPTION));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->setText(QStringLiteral("Company logo"));
    general->Control(Page::IDC_DESCRIPTION).text = edit->text();
    general->OnControlNotify(Page::IDC_DESCRIPTION, PageNotification::KillFocus);
    route.onHint = nullptr;
    EXPECT_EQ(image->GetDescription(), QStringLiteral("Company logo"));
    EXPECT_EQ(sheet->GetElement(), other);
    EXPECT_EQ(sheet->GetPageCount(), 2);
    EXPECT_FALSE(sheet->IsBusy());
}

TEST_F(SheetTest, TypingAColumnAppliesAtEveryKeystrokeAndKeepsTheCaret)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    sheet->SetElement(image);
    Show();
    Window().activateWindow();
    (void)QTest::qWaitForWindowActive(&Window());
    auto* column = Window().PageView(0)->findChild<QLineEdit*>(QString::number(Page::IDC_COLUMN));
    ASSERT_NE(column, nullptr);
    const DWORD buildId = Doc().GetBuildId();
    column->setFocus();
    column->selectAll();
    QTest::keyClicks(column, QStringLiteral("12"));
    EXPECT_EQ(column->text(), QStringLiteral("12"));
    EXPECT_EQ(column->cursorPosition(), 2);
    EXPECT_EQ(image->DestRect().left, 11 * Output().GetCellWidth());
    EXPECT_EQ(Doc().GetBuildId(), buildId + 2) << "1, then 12";

    // Letters never reach the field; the up-down stops at the page's end.
    QTest::keyClicks(column, QStringLiteral("x"));
    EXPECT_EQ(column->text(), QStringLiteral("12"));
    auto* spin = Window().PageView(0)->findChild<CUpDownControl*>(QString::number(Page::IDC_COLUMN_SPIN));
    ASSERT_NE(spin, nullptr);
    EXPECT_FALSE(spin->Wraps());
    EXPECT_EQ(spin->Maximum(), static_cast<CGeneralPropPage*>(sheet->GetPage(0))->Data().largestColumn);
    spin->Step(+1);
    EXPECT_EQ(image->DestRect().left, 12 * Output().GetCellWidth());
}

TEST_F(SheetTest, DescriptionAppliesWhenTheSheetIsDeactivated)
{
    QWidget main;
    main.resize(300, 200);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    sheet->SetElement(image);
    QTest::mouseClick(Window().PinButton(), Qt::LeftButton);
    Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    auto* edit = Window().PageView(0)->findChild<QLineEdit*>(QString::number(Page::IDC_DESCRIPTION));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Seal"));
    EXPECT_NE(image->GetDescription(), QStringLiteral("Seal")) << "not while typing";

    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    EXPECT_EQ(image->GetDescription(), QStringLiteral("Seal"));
    EXPECT_TRUE(Window().isVisible()) << "pinned";
}

TEST_F(SheetTest, DescriptionHistoryTakesOnlyLongerTextsTheElementTook)
{
    CFormElement* image = Make(FormElementType::Image, Cells(4, 4, 9, 8));
    sheet->SetElement(image);
    Show();
    auto* view = dynamic_cast<CGeneralPropPageView*>(Window().PageView(0));
    ASSERT_NE(view, nullptr);
    CACEdit* completion = view->DescriptionCompletion();
    ASSERT_NE(completion, nullptr);
    EXPECT_EQ(completion->m_Liste.m_nMaxCount, 50);
    auto* edit = view->findChild<QLineEdit*>(QString::number(Page::IDC_DESCRIPTION));
    auto* column = view->findChild<QLineEdit*>(QString::number(Page::IDC_COLUMN));
    const qsizetype before = completion->m_Liste.SearchStrings().size();

    auto leaveWith = [&](const QString& text) {
        edit->setFocus();
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &out);
        column->setFocus();
    };
    leaveWith(QStringLiteral("ab"));
    EXPECT_EQ(image->GetDescription(), QStringLiteral("ab"));
    EXPECT_EQ(completion->m_Liste.SearchStrings().size(), before);
    leaveWith(QStringLiteral("Company logo"));
    EXPECT_EQ(completion->m_Liste.SearchStrings().size(), before + 1);
    leaveWith(QStringLiteral("Company logo"));
    EXPECT_EQ(completion->m_Liste.SearchStrings().size(), before + 1);
}

TEST_F(SheetTest, StaticTextInALoopRendersToAPicture)
{
    CFormElement* loop = Make(FormElementType::Loop, Cells(1, 2, 40, 20));
    CFormElement* text = Make(FormElementType::Text, Cells(6, 5, 16, 6), loop);
    {
        CDocChangeGuard change(&Doc());
        static_cast<CFormTextElement*>(text)->SetText(QStringLiteral("Invoice no."));
        text->SetDescription(QStringLiteral("Invoice number"), text);
    }
    sheet->SetElement(text);
    Show();
    auto* group = Window().PageView(0)->findChild<QGroupBox*>(QString::number(Page::IDC_POSITION_GROUP));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Position (Relative)"));
    auto* force = Window().PageView(0)->findChild<QCheckBox*>(QString::number(Page::IDC_FORCE_ABSOLUTE));
    ASSERT_NE(force, nullptr);
    EXPECT_TRUE(force->isEnabled());
    EXPECT_FALSE(Window().PageView(0)->findChild<QLineEdit*>(QString::number(Page::IDC_HEIGHT))->isEnabled());

    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/element-sheet-static-text-in-loop.png");
    const QImage picture = Window().grab().toImage();
    EXPECT_TRUE(picture.save(path));
    EXPECT_FALSE(picture.isNull());
}

} // namespace
