// The Output element's page in the property sheet's window, offscreen:
// "S&elect" through a scripted output device dialog while the unpinned sheet
// loses the activation, and the focus request.

#include "designer/views/pages/tests/PageTestFixture.h"

#include "designer/document/RegisteredMessages.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/OutputPropPage.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

using Page = COutputPropPage;

class OutputPropPageViewTest : public PageTest
{
protected:
    OutputPropPageViewTest()
    {
        {
            CDocChangeGuard change(&Doc());
            printer = Doc().GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("PRT01"), QStringLiteral("*AFP"));
            output = new CFormOutputElement(&Doc());
            EXPECT_EQ(Doc().AddElement(output, FALSE, nullptr), output);
        }
        sheet = CElementPropertySheetWnd::Create(nullptr, nullptr);
        m_previous = SetOutputDeviceDialogRunner({});
    }
    ~OutputPropPageViewTest() override
    {
        SetOutputDeviceDialogRunner(m_previous);
        sheet.reset();
    }

    CElementPropertySheetWnd& Window() const { return static_cast<CElementPropertySheetWnd&>(*sheet->GetWindow()); }

    // The sheet shown on the element with the Output page active; its view.
    QWidget* ShowOutputPage()
    {
        sheet->SetElement(output);
        sheet->ShowSheet();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        EXPECT_EQ(sheet->GetPageCount(), 2);
        sheet->SetActivePageIndex(1);
        EXPECT_EQ(Window().Tabs()->tabText(1), QStringLiteral("Output Device"));
        return Window().PageView(1);
    }

    template <class Widget>
    static Widget* Control(QWidget* view, int id)
    {
        auto* widget = view->findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    std::unique_ptr<CElementPropertySheet> sheet;
    CFormOutputElement* output = nullptr;
    int printer = 0;

private:
    OutputDeviceDialogRunner m_previous;
};

TEST_F(OutputPropPageViewTest, SelectPicksAnotherDeviceWhileTheSheetStaysShown)
{
    QWidget* view = ShowOutputPage();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Control<QLineEdit>(view, Page::IDC_NAME)->text(), QStringLiteral("*DOC"));
    EXPECT_EQ(Control<QLabel>(view, Page::IDC_TYPE)->text(), QStringLiteral("Print (SCS)"));

    bool shownDuringDialog = false;
    COutputDevice* afp = Doc().GetOutputDeviceManager()->GetDevice(printer);
    SetOutputDeviceDialogRunner([&](QWidget* parent, COutputDeviceManager&, COutputDevice*, COutputDevice*& chosen) {
        EXPECT_EQ(parent, view);
        // The modal dialog takes the activation from the sheet.
        sheet->OnDeactivate();
        shownDuringDialog = sheet->IsShown() && Window().isVisible();
        chosen = afp;
        return TRUE;
    });
    QTest::mouseClick(Control<QPushButton>(view, Page::IDC_SELECT), Qt::LeftButton);
    EXPECT_TRUE(shownDuringDialog);
    EXPECT_EQ(output->GetOutputDevice(), printer);
    EXPECT_EQ(Control<QLineEdit>(view, Page::IDC_NAME)->text(), QStringLiteral("PRT01"));
    EXPECT_EQ(Control<QLabel>(view, Page::IDC_TYPE)->text(), QStringLiteral("Print (AFP)"));
    // Without the dialog the unpinned sheet hides as it loses the activation.
    sheet->OnDeactivate();
    EXPECT_FALSE(sheet->IsShown());
}

TEST_F(OutputPropPageViewTest, FocusRequestPutsTheFocusOnSettings)
{
    QWidget* view = ShowOutputPage();
    ASSERT_NE(view, nullptr);
    CRegisteredMessageEvent request(RegisteredMessages::SetPageFocus(), 0, 0);
    QApplication::sendEvent(view, &request);
    EXPECT_EQ(QApplication::focusWidget(), Control<QPushButton>(view, Page::IDC_SETTINGS));
}

TEST_F(OutputPropPageViewTest, RendersThePageIntoAPicture)
{
    QWidget* view = ShowOutputPage();
    ASSERT_NE(view, nullptr);
    const QImage shot = Window().grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/output-element-page.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
