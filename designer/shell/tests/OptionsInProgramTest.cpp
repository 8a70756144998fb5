// The Options command in the program: the sheet opens over the main window,
// a colour change redraws the document's views and the explorer with hint
// 251 (and nothing else does), and a new documents folder is where the
// next Open starts.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/preferences/ElementColourTable.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/OptionsDirectoryPropPage.h"
#include "designer/shell/OptionsGeneralPropPage.h"
#include "designer/shell/OptionsSheet.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/FrameInterfaces.h"
#include "platform/framework/View.h"
#include "platform/ui/qt/DialogBinder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

class HintRecordingView : public CView
{
public:
    void OnUpdate(CView*, LPARAM hint, CObject*) override { hints.push_back(hint); }
    std::vector<LPARAM> hints;
};

class HintRecordingExplorer : public IExplorerPane
{
public:
    QWidget* GetWidget() override { return &widget; }
    void SetDocument(CDesignerDoc*) override {}
    void OnDocumentHint(CObject*, LPARAM hint) override { hints.push_back(hint); }
    void OnChangeVisualStyle() override {}
    CCmdTarget* GetCmdTarget() override { return &target; }

    QWidget widget;
    CCmdTarget target;
    std::vector<LPARAM> hints;
};

long Count(const std::vector<LPARAM>& hints, LPARAM hint)
{
    return std::count(hints.begin(), hints.end(), hint);
}

class OptionsInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize()));
        doc->AddView(&view);
        auto recording = std::make_unique<HintRecordingExplorer>();
        explorer = recording.get();
        frame->SetExplorerPane(std::move(recording));
    }

    void TearDown() override
    {
        if (doc != nullptr)
            doc->RemoveView(&view);
        ProgramTest::TearDown();
    }

    // The Options command through the application's command table; the user
    // acts on the open sheet, which is then closed with OK.
    void RunOptions(const std::function<void(COptionsSheet&)>& user)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* sheet = dynamic_cast<COptionsSheet*>(QApplication::activeModalWidget());
            if (sheet == nullptr) {
                ADD_FAILURE() << "no Options sheet open";
                return;
            }
            ran = true;
            EXPECT_EQ(sheet->parentWidget(), frame);
            user(*sheet);
            sheet->accept();
            if (sheet->isVisible())
                sheet->reject();
        });
        EXPECT_TRUE(app->OnCmdMsg(ID_VIEW_OPTIONS));
        EXPECT_TRUE(ran);
    }

    template <class Widget>
    static Widget* Control(COptionsSheet& sheet, int page, int id)
    {
        EXPECT_TRUE(sheet.SetActivePage(page));
        auto* widget = qobject_cast<Widget*>(FindDialogControl(sheet.GetPageView(page), id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    HintRecordingView view;
    HintRecordingExplorer* explorer = nullptr;
};

TEST_F(OptionsInProgram, BorderColourChangeSendsHint251OnceToViewsAndExplorer)
{
    const COLORREF before = app->GetPreferences().ColourNoPrintBorder;
    env.prompts->AnswerColour(kwvd::ColourRef(0, 0, 0));
    RunOptions([](COptionsSheet& sheet) {
        Control<QListWidget>(sheet, 0, COptionsGeneralPropPage::IDC_COLOUR_LIST)->setCurrentRow(kNoPrintBorderRow);
        QTest::mouseClick(Control<QPushButton>(sheet, 0, COptionsGeneralPropPage::IDC_CHANGE_COLOUR), Qt::LeftButton);
    });
    EXPECT_EQ(app->GetPreferences().ColourNoPrintBorder, kwvd::ColourRef(255, 255, 255));
    EXPECT_NE(before, app->GetPreferences().ColourNoPrintBorder);
    EXPECT_EQ(Count(view.hints, DocumentHint::OptionsChanged), 1);
    EXPECT_EQ(Count(explorer->hints, DocumentHint::OptionsChanged), 1);
}

TEST_F(OptionsInProgram, OkWithoutAColourChangeSendsNoHint)
{
    RunOptions([](COptionsSheet& sheet) {
        Control<QLineEdit>(sheet, 0, COptionsGeneralPropPage::IDC_UNDO_SIZE)->setText(QStringLiteral("3"));
    });
    EXPECT_EQ(app->GetPreferences().MaximumUndoBufferSize, 3);
    EXPECT_EQ(Count(view.hints, DocumentHint::OptionsChanged), 0);
    EXPECT_EQ(Count(explorer->hints, DocumentHint::OptionsChanged), 0);
}

TEST_F(OptionsInProgram, InsideAChangeTransactionNoHintIsSent)
{
    {
        CDocChangeGuard guard(doc);
        COptionsSheet::ApplyColourChange(doc, explorer);
    }
    EXPECT_EQ(Count(view.hints, DocumentHint::OptionsChanged), 0);
    EXPECT_EQ(Count(explorer->hints, DocumentHint::OptionsChanged), 0);
}

TEST_F(OptionsInProgram, NewDocumentsFolderIsWhereTheNextOpenStarts)
{
    const QString folder = env.folder.filePath(QStringLiteral("documents"));
    RunOptions([&](COptionsSheet& sheet) {
        Control<QLineEdit>(sheet, 1, COptionsDirectoryPropPage::IDC_DOC_DIRECTORY)->setText(folder);
    });
    EXPECT_EQ(app->GetPreferences().DefaultDocDirectory, folder);

    env.prompts->ClearRecorded();
    app->OnFileOpen();
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    EXPECT_EQ(env.prompts->Recorded()[0].kind, PromptKind::OpenFile);
    EXPECT_EQ(env.prompts->Recorded()[0].file.initialFolder, folder);
}

} // namespace
