// The exit program pages' widgets: the rows each page has in tab order with
// their lengths, the labels the document-store pages show, and those pages
// inside a navigation sheet, where text typed on one is still there after
// going to the other and back, and the labels follow another document type.

#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPagesView.h"
#include "designer/output/ui/tests/OutputDeviceSettingsExitPgmParmPropPagesTesting.h"
#include "designer/output/ui/tests/PropPageViewTestSupport.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Page = CExitProgramParametersPage;
using proppage_test::Find;
using proppage_test::TabOrder;

std::vector<int> ParameterEdits(int first, int last)
{
    std::vector<int> ids;
    for (int n = first; n <= last; ++n)
        ids.push_back(Page::ParameterEditId(n));
    return ids;
}

std::vector<int> Then(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ExitPgmParmPagesViewTest : public DocStoreDeviceFixture
{
protected:
    QString LabelText(QWidget* view, int id)
    {
        QLabel* label = Find<QLabel>(view, id);
        return label ? label->text() : QString();
    }

    ScopedPromptAnswers prompts;
};

TEST_F(ExitPgmParmPagesViewTest, EachPageHasItsRowsInTabOrder)
{
    COutputDevice file(6, QStringLiteral("FILEDEV"), QString());
    COutputDeviceSettingsFileExitPgmPropPage page146;
    COutputDeviceSettingsFileExitPgmParmPropPage page147;
    COutputDeviceSettingsDocStoreExitPgmPropPage page175;
    COutputDeviceSettingsDocStoreExitPgmParmPropPage page178;
    page146.SetDevice(&file);
    page147.SetDevice(&file);
    for (CDocStoreParametersPage* page : std::vector<CDocStoreParametersPage*>{&page175, &page178}) {
        page->SetDeviceManager(Devices());
        page->SetDevice(&copy);
    }
    const std::vector<int> program = {Page::IDC_EXIT_PROGRAM, Page::IDC_EXIT_PROGRAM_LIBRARY};
    struct Case
    {
        const char* name;
        Page& page;
        std::vector<int> order;
        bool grouped;
    };
    const Case cases[] = {
        {"146: program at the top", page146, Then(program, ParameterEdits(1, 10)), false},
        {"147: the short parameters to 20", page147, ParameterEdits(11, 20), true},
        {"175: parameters 1 to 10", page175, ParameterEdits(1, 10), false},
        {"178: program at the bottom", page178, Then(ParameterEdits(11, 18), program), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExitProgramParametersPageView view(c.page);
        view.show();
        c.page.OnSetActive();
        EXPECT_EQ(TabOrder(&view), c.order);
        for (const int id : c.order) {
            QLineEdit* edit = Find<QLineEdit>(&view, id);
            ASSERT_NE(edit, nullptr);
            const bool isProgram = id == Page::IDC_EXIT_PROGRAM || id == Page::IDC_EXIT_PROGRAM_LIBRARY;
            const int limit = isProgram ? 10 : Page::ParameterLimit(id - Page::IDC_PARAMETER1 + 1);
            // Full, the edit takes no more typing.
            edit->setText(QString(limit, u'A'));
            edit->setCursorPosition(limit);
            QTest::keyClicks(edit, QStringLiteral("B"));
            EXPECT_EQ(edit->text(), QString(limit, u'A')) << id;
        }
        auto* group = view.findChild<QGroupBox*>();
        EXPECT_EQ(group != nullptr, c.grouped);
        if (group) {
            EXPECT_EQ(group->title(), QStringLiteral("Short Parameters (max 64 chars)"));
        }
    }
    const auto fixedLabels = [](QWidget& view) {
        QStringList texts;
        for (QLabel* label : view.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    };
    CExitProgramParametersPageView view146(page146);
    EXPECT_TRUE(fixedLabels(view146).contains(QStringLiteral("Parameter 10:")));
    EXPECT_TRUE(fixedLabels(view146).contains(QStringLiteral("Exit Program:")));
}

TEST_F(ExitPgmParmPagesViewTest, TheProgramIsTypedInUpperCase)
{
    COutputDeviceSettingsDocStoreExitPgmParmPropPage page;
    page.SetDeviceManager(Devices());
    page.SetDevice(&copy);
    CExitProgramParametersPageView view(page);
    view.show();
    view.Activate();
    QLineEdit* program = Find<QLineEdit>(&view, Page::IDC_EXIT_PROGRAM);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->text(), QStringLiteral("STOREDOC"));
    program->clear();
    QTest::keyClicks(program, QStringLiteral("archiver123"));
    EXPECT_EQ(program->text(), QStringLiteral("ARCHIVER12"));
    EXPECT_EQ(LabelText(&view, 1475), QStringLiteral("Parameter11:"));
    EXPECT_TRUE(Find<QLabel>(&view, 1475)->alignment().testFlag(Qt::AlignRight));
    EXPECT_TRUE(view.Apply());
    EXPECT_EQ(copy.GetFileExitProgram(), QStringLiteral("ARCHIVER12"));
}

// The two document-store parameter pages as the document-store sheet holds
// them, after a page standing in for the general page.
class DocStoreParametersSheetTest : public ExitPgmParmPagesViewTest
{
protected:
    class BlankPage : public CNavigationSheetPage
    {
    public:
        QString Title() const override { return QStringLiteral("General"); }
        QWidget* CreateView(QWidget* parent) override { return new QWidget(parent); }
    };

    void SetUp() override
    {
        ExitPgmParmPagesViewTest::SetUp();
        sheet.AddPage(std::make_unique<BlankPage>());
        sheet.AddPage(MakeDocStoreExitPgmSheetPage(&copy, Devices()));
        sheet.AddPage(MakeDocStoreExitPgmParmSheetPage(&copy, Devices()));
        sheet.show();
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    QLineEdit* ParameterEdit(int pageIndex, int n)
    {
        return Find<QLineEdit>(sheet.GetPageView(pageIndex), Page::ParameterEditId(n));
    }

    CNavigationSheet sheet{QStringLiteral("Output Device (DocStore)")};
};

TEST_F(DocStoreParametersSheetTest, TypedTextIsKeptAfterLeavingAndComingBack)
{
    ASSERT_TRUE(sheet.SetActivePage(1));
    QWidget* page175 = sheet.GetPageView(1);
    EXPECT_EQ(sheet.GetPage(1)->Title(), QStringLiteral("Parameters"));
    EXPECT_EQ(LabelText(page175, 1464), QStringLiteral("Customer:"));
    EXPECT_EQ(LabelText(page175, 1466), QStringLiteral("Amount:"));
    EXPECT_EQ(LabelText(page175, 1467), QStringLiteral("Parameter4:"));
    QTest::keyClicks(ParameterEdit(1, 1), QStringLiteral("C0042"));

    sheet.NavigationList()->setCurrentRow(2);
    ASSERT_EQ(sheet.GetActiveIndex(), 2);
    QTest::keyClicks(ParameterEdit(2, 11), QStringLiteral("eleven"));
    // The general page chooses another document type meanwhile.
    sheet.NavigationList()->setCurrentRow(0);
    ASSERT_TRUE(copy.SetDocStoreSelection(QStringLiteral("ARCHIVE"), QStringLiteral("CREDIT"), 1));
    sheet.NavigationList()->setCurrentRow(1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);

    EXPECT_EQ(ParameterEdit(1, 1)->text(), QStringLiteral("C0042"));
    EXPECT_EQ(LabelText(page175, 1464), QStringLiteral("Credit note:"));
    EXPECT_EQ(LabelText(page175, 1465), QStringLiteral("Parameter2:"));
    sheet.NavigationList()->setCurrentRow(2);
    EXPECT_EQ(ParameterEdit(2, 11)->text(), QStringLiteral("eleven"));

    QString stored;
    device->GetParameter(1, stored);
    EXPECT_TRUE(stored.isEmpty()) << "the document's device waits for OK";
    sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    copy.GetParameter(1, stored);
    EXPECT_EQ(stored, QStringLiteral("C0042"));
    copy.GetParameter(11, stored);
    EXPECT_EQ(stored, QStringLiteral("eleven"));
    copy.GetParameter(20, stored);
    EXPECT_EQ(stored, QStringLiteral("ARCHIVE,CREDIT,1,KWVD")) << "the selection is the general page's";
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(DocStoreParametersSheetTest, ThePagesRenderAsTidyPages)
{
    ASSERT_TRUE(sheet.SetActivePage(2));
    ASSERT_TRUE(sheet.SetActivePage(1));
    sheet.resize(sheet.sizeHint());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const struct
    {
        int index;
        const char* file;
    } shots[] = {
        {1, KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsDocStoreParametersPage.png"},
        {2, KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsDocStoreShortParametersPage.png"},
    };
    for (const auto& shot : shots) {
        ASSERT_TRUE(sheet.SetActivePage(shot.index));
        QWidget* view = sheet.GetPageView(shot.index);
        const QImage image = sheet.grab().toImage();
        ASSERT_FALSE(image.isNull());
        // Every edit lies inside the page, none squeezed to nothing.
        for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
            EXPECT_TRUE(view->rect().contains(QRect(edit->mapTo(view, QPoint(0, 0)), edit->size())))
                << edit->objectName().toStdString();
            EXPECT_GT(edit->width(), 40) << edit->objectName().toStdString();
        }
        EXPECT_TRUE(image.save(QString::fromLatin1(shot.file)));
    }
}

} // namespace
