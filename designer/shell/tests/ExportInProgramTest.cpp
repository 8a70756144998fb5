// The file commands of a document in the running designer: Export WVD with
// the export dialog scripted, Import WVD reading the export back, Import an
// XML File's enabling and Print Setup's orientation.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/ExportChoice.h"
#include "designer/document/ExportFolder.h"
#include "designer/document/Page.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTimer>

#include <vector>

namespace {

class ExportInProgramTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), QStringLiteral(KWVD_MERROW2_STUB_DIR)));
        env.prompts->ClearRecorded();
        previousRunner = SetExportDialogRunner([this](ExportChoice& choice) {
            offered.push_back(choice);
            if (answers.empty())
                return false;
            choice.path = answers.front().path;
            choice.filterIndex = answers.front().filterIndex;
            answers.erase(answers.begin());
            return true;
        });
    }

    void TearDown() override
    {
        SetExportDialogRunner(previousRunner);
        ProgramTest::TearDown();
    }

    CDesignerDoc* Doc() const { return app->GetDocument(); }
    QString PathIn(const QString& name) const { return env.folder.filePath(name); }

    bool Enabled(UINT id) const
    {
        frame->UpdateCommandUI();
        const QAction* action = frame->GetAction(id);
        return action && action->isEnabled();
    }

    struct Answer
    {
        QString path;
        int filterIndex;
    };

    std::vector<ExportChoice> offered;
    std::vector<Answer> answers;
    ExportDialogRunner previousRunner;
};

TEST_F(ExportInProgramTest, ExportedFileReadsBackWithTheSamePageSettings)
{
    CPreferences& prefs = app->GetPreferences();
    prefs.SetDefaultExportPath(PathIn(QStringLiteral("pcin")));
    ASSERT_TRUE(QDir().mkpath(PathIn(QStringLiteral("pcin"))));
    Doc()->SetTitle(QStringLiteral("report 7"));
    Doc()->GetOutputPage()->SetOrientation(1);
    Doc()->GetOutputPage()->SetBorder(1234);
    const QString path = PathIn(QStringLiteral("pcin/REPORT7.jvx"));
    answers.push_back({path, kExportFilterCount});

    ASSERT_TRUE(Enabled(ID_FILE_EXPORT_WVD));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].fileName, QStringLiteral("REPORT7.jvx"));
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(prefs.DefaultJVXVersion, 28);

    // A fresh document takes the file in.
    env.prompts->AnswerMessageBox(IDNO); // keep no changes of the exported one
    app->OnFileNew(0);
    ASSERT_EQ(Doc()->GetOutputPage()->GetOrientation(), 0);
    env.prompts->ClearRecorded();
    env.prompts->AnswerFile(path);
    ASSERT_TRUE(Enabled(ID_FILE_IMPORT_WVD));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_IMPORT_WVD));
    EXPECT_EQ(Doc()->GetOutputPage()->GetOrientation(), 1);
    EXPECT_EQ(Doc()->GetOutputPage()->GetBorder(), 1234);
    EXPECT_EQ(Doc()->WvdName().GetValue().trimmed(), QStringLiteral("REPORT7"));
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(ExportInProgramTest, HostFolderIsOfferedAndNoToReplaceShowsTheDialogAgain)
{
    CPreferences& prefs = app->GetPreferences();
    prefs.SetDefaultExportPath(QString());
    prefs.DefaultSystem = QStringLiteral("SYS");
    prefs.DefaultLibrary = QStringLiteral("KWVD");
    prefs.DefaultJVXVersion = 28;
    // Only the "Q" form of the system's folder can be reached.
    const QString pcin = PathIn(QStringLiteral("QSYS/QDLS/KWVD/PCIN"));
    ASSERT_TRUE(QDir().mkpath(pcin));
    const HostFolderMapping previous = SetHostFolderMapping([pcin](const QString& host) {
        return host == QStringLiteral("\\\\QSYS\\QDLS\\KWVD\\PCIN\\") ? pcin : QString();
    });
    const QString path = QDir(pcin).filePath(QStringLiteral("REPORT7.jvx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    Doc()->SetTitle(QStringLiteral("report 7"));
    answers.push_back({path, 15}); // version 14
    env.prompts->AnswerMessageBox(IDNO);

    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    SetHostFolderMapping(previous);

    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].initialFolder, pcin);
    EXPECT_EQ(offered[1].filterIndex, 15);
    EXPECT_EQ(prefs.DefaultJVXVersion, 14);
    EXPECT_EQ(env.MessageTexts(),
              QStringList{QStringLiteral("File \"%1\" already exists.\nDo you want to replace it ?").arg(path)});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_TRUE(prefs.DefaultExportPath.isEmpty()); // nothing was exported
}

TEST_F(ExportInProgramTest, ImportXmlOnlyForXmlDocuments)
{
    EXPECT_FALSE(Enabled(ID_EDIT_IMPORT_XML));
    EXPECT_TRUE(Enabled(ID_FILE_IMPORT_WVD));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_SETUP));
    app->OnFileNew(1);
    ASSERT_TRUE(Doc()->IsXmlDocument());
    EXPECT_TRUE(Enabled(ID_EDIT_IMPORT_XML));

    // Cancel ends it with nothing changed.
    const DWORD build = Doc()->GetBuildId();
    EXPECT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_XML));
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    EXPECT_EQ(env.prompts->Recorded()[0].kind, PromptKind::OpenFile);
    EXPECT_TRUE(env.prompts->Recorded()[0].file.filter.startsWith(QStringLiteral("XML Files (*.xml;*.xdr)|")));
    EXPECT_EQ(Doc()->GetBuildId(), build);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ExportInProgramTest, PrintSetupStartsFromTheOutputPagesOrientation)
{
    for (int orientation : {1, 0}) {
        Doc()->GetOutputPage()->SetOrientation(orientation);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            dialog->reject();
        });
        EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_PRINT_SETUP));
        EXPECT_TRUE(shown);
        EXPECT_EQ(app->GetPrinter()->pageLayout().orientation(),
                  orientation ? QPageLayout::Landscape : QPageLayout::Portrait)
            << "orientation " << orientation;
    }
}

} // namespace
