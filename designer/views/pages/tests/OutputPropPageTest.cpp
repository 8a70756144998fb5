// The Output element's page "Output Device" without its window: the device
// it shows, and "S&elect" through a scripted output device dialog.

#include "designer/views/pages/tests/PageTestFixture.h"

#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/OutputPropPage.h"
#include "tests/support/ScriptedSettingsWindow.h"

#include <functional>

namespace {

using Page = COutputPropPage;

class OutputPropPageTest : public PageTest
{
protected:
    OutputPropPageTest()
    {
        m_previous = SetOutputDeviceDialogRunner(
            [this](QWidget*, COutputDeviceManager& manager, COutputDevice* current, COutputDevice*& chosen) {
                ++runs;
                busyDuringDialog = sheet.IsBusy();
                return script ? script(manager, current, chosen) : FALSE;
            });
        {
            CDocChangeGuard change(&Doc());
            printer = Devices()->AddDeviceByName(QStringLiteral("PRT01"), QStringLiteral("*AFP"));
            output = new CFormOutputElement(&Doc());
            EXPECT_EQ(Doc().AddElement(output, FALSE, nullptr), output);
        }
        env.env.prompts->ClearRecorded();
    }
    ~OutputPropPageTest() override { SetOutputDeviceDialogRunner(m_previous); }

    COutputDeviceManager* Devices() { return Doc().GetOutputDeviceManager(); }

    // The element's pages in the sheet, as the sheet makes them; the Output
    // page, its dialog initialised.
    Page* ShowPages()
    {
        sheet.SetElement(output);
        EXPECT_EQ(sheet.GetPageCount(), 2);
        auto* page = dynamic_cast<Page*>(sheet.GetPage(1));
        EXPECT_NE(page, nullptr);
        if (page != nullptr)
            page->OnInitDialog();
        return page;
    }

    CElementPropertySheet sheet{nullptr};
    CFormOutputElement* output = nullptr;
    int printer = 0;
    std::function<BOOL(COutputDeviceManager&, COutputDevice*, COutputDevice*&)> script;
    int runs = 0;
    bool busyDuringDialog = false;

private:
    OutputDeviceDialogRunner m_previous;
};

TEST_F(OutputPropPageTest, ElementAddsItsPageAfterTheGeneralPage)
{
    RecordSink sink;
    output->AddPropertyPages(&sink);
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_NE(dynamic_cast<CGeneralPageRecord*>(sink.records[0].get()), nullptr);
    auto* own = dynamic_cast<COutputPageRecord*>(sink.records[1].get());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->data.deviceIndex, 0);
    EXPECT_EQ(own->data.manager, Devices());
    EXPECT_EQ(own->GetElement(), output);
}

TEST_F(OutputPropPageTest, ShowsTheDefaultDeviceUnresolved)
{
    Devices()->GetExportDevice()->SetName(QStringLiteral("MEMBER"));
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Output Device"));
    EXPECT_EQ(page->Control(Page::IDC_NAME).text, QStringLiteral("*DOC"));
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, QStringLiteral("Print (SCS)"));
}

TEST_F(OutputPropPageTest, SelectingAnotherDeviceBindsTheElementAndShowsIt)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    COutputDevice* afp = Devices()->GetDevice(printer);
    script = [afp](COutputDeviceManager&, COutputDevice*, COutputDevice*& chosen) {
        chosen = afp;
        return TRUE;
    };
    page->OnSelect(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(busyDuringDialog);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(output->GetOutputDevice(), printer);
    EXPECT_TRUE(afp->HasUser(output));
    EXPECT_FALSE(Devices()->GetDefaultDevice()->HasUser(output));
    EXPECT_EQ(page->Data().deviceIndex, printer);
    EXPECT_EQ(page->Control(Page::IDC_NAME).text, QStringLiteral("PRT01"));
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, QStringLiteral("Print (AFP)"));
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(OutputPropPageTest, SelectingTheSameDeviceLeavesTheElement)
{
    {
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(output->SetOutputDevice(printer));
    }
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    Doc().SetModifiedFlag(FALSE);
    const qsizetype undoSteps = Doc().GetUndoList().GetCount();
    script = [](COutputDeviceManager&, COutputDevice* current, COutputDevice*& chosen) {
        chosen = current;
        return TRUE;
    };
    page->OnSelect(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(output->GetOutputDevice(), printer);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().GetUndoList().GetCount(), undoSteps);
}

TEST_F(OutputPropPageTest, TypeChangedOnTheElementsDeviceThenCancelIsOneUndoStep)
{
    {
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(output->SetOutputDevice(printer));
    }
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    Doc().SetModifiedFlag(FALSE);
    const qsizetype undoSteps = Doc().GetUndoList().GetCount();
    script = [](COutputDeviceManager&, COutputDevice* current, COutputDevice*&) {
        current->SetType(3);
        return FALSE;
    };
    page->OnSelect(nullptr);
    EXPECT_EQ(output->GetOutputDevice(), printer);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetUndoList().GetCount(), undoSteps + 1);
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, QStringLiteral("Fax"));
}

TEST_F(OutputPropPageTest, CancelWithoutChangesDoesNothing)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    Doc().SetModifiedFlag(FALSE);
    page->OnSelect(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(output->GetOutputDevice(), 0);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(OutputPropPageTest, SelectNeedsTheSheet)
{
    RecordSink sink;
    output->AddPropertyPages(&sink);
    Page page(std::unique_ptr<COutputPageRecord>(static_cast<COutputPageRecord*>(sink.records[1].release())));
    page.OnInitDialog();
    page.OnSelect(nullptr);
    EXPECT_EQ(runs, 0);
}

TEST_F(OutputPropPageTest, RefreshShowsADeviceChangedElsewhere)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    {
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(output->SetOutputDevice(printer));
    }
    EXPECT_EQ(page->OnUpdateData(), 1);
    EXPECT_EQ(page->Data().deviceIndex, printer);
    EXPECT_EQ(page->Control(Page::IDC_NAME).text, QStringLiteral("PRT01"));
    Devices()->GetDevice(printer)->SetType(4);
    page->OnSetActive();
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, QStringLiteral("Email"));
}

TEST_F(OutputPropPageTest, FocusRequestGoesToSettings)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->OnSetPageFocus(false), std::optional<int>(Page::IDC_SETTINGS));
    EXPECT_EQ(page->OnSetPageFocus(true), std::optional<int>(Page::IDC_SETTINGS));
}

} // namespace

namespace {

TEST_F(OutputPropPageTest, SettingsConfirmedMarkTheDocumentWhileTheSheetStaysShown)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    Doc().SetModifiedFlag(FALSE);
    const qsizetype undoSteps = Doc().GetUndoList().GetCount();
    bool busy = false;
    ScopedSettingsWindowScript window([](COutputDevice& copy) {
        copy.SetType(6);
        return TRUE;
    });
    window.whileShown = [&] { busy = sheet.IsBusy(); };
    page->OnSettings(nullptr);
    EXPECT_EQ(window.editedNames, std::vector<QString>{QStringLiteral("*DOC")});
    EXPECT_TRUE(busy);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(Devices()->GetDefaultDevice()->GetType(), 6);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetUndoList().GetCount(), undoSteps + 1);
    EXPECT_EQ(page->Control(Page::IDC_TYPE).text, QStringLiteral("File"));
}

TEST_F(OutputPropPageTest, SettingsCancelledChangeNothing)
{
    Page* page = ShowPages();
    ASSERT_NE(page, nullptr);
    Doc().SetModifiedFlag(FALSE);
    ScopedSettingsWindowScript window([](COutputDevice& copy) {
        copy.SetType(6);
        return FALSE;
    });
    page->OnSettings(nullptr);
    EXPECT_EQ(window.types.size(), 1u);
    EXPECT_EQ(Devices()->GetDefaultDevice()->GetType(), 0);
    EXPECT_FALSE(Doc().IsModified());
}

} // namespace
