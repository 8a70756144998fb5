#pragma once
// The designer program started in the test's private environment, as a
// user starts it: its document, its main frame (shown offscreen at a size,
// or left hidden) and, at the test's end, its exit.

#include "designer/document/DesignerDoc.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <QSize>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class ProgramTest : public ::testing::Test
{
protected:
    // Starts the program with the arguments after /NoSplash (a document to
    // open, a switch) and shows its frame at the size; an empty size leaves
    // it hidden. The host access library is looked for in libraryFolder:
    // by default the test's own folder, which holds none, so start-up says
    // it is missing; KWVD_MERROW2_STUB_DIR holds the tests' stand-in, so
    // start-up asks nothing. Call through ASSERT_NO_FATAL_FAILURE: a program
    // that does not start ends the test.
    void StartProgram(const QStringList& arguments = {}, QSize shown = QSize(1100, 700),
                      const QString& libraryFolder = QString())
    {
        CWVDDesignerApp::Environment quiet;
        quiet.serverLibraryFolders = QStringList{libraryFolder.isEmpty() ? env.folder.path() : libraryFolder};
        app = std::make_unique<CWVDDesignerApp>(quiet);
        ASSERT_TRUE(app->InitInstance(QStringList{QStringLiteral("/NoSplash")} + arguments));
        frame = app->GetMainFrame();
        ASSERT_NE(frame, nullptr);
        doc = app->GetDocument();
        ASSERT_NE(doc, nullptr);
        if (shown.isEmpty())
            return;
        frame->resize(shown);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    }

    // The description a fresh designer reads back from the file.
    static QString DescriptionInFile(const QString& path)
    {
        CWVDDesignerApp::Environment e;
        e.serverLibraryFolders = QStringList{QStringLiteral(KWVD_MERROW2_STUB_DIR)};
        CWVDDesignerApp reader(e);
        if (!reader.InitInstance({QStringLiteral("/NoSplash"), path}) || !reader.GetDocument())
            return QStringLiteral("<not opened>");
        const QString text = reader.GetDocument()->Description().GetValue();
        reader.ExitInstance();
        return text;
    }

    void TearDown() override
    {
        if (app)
            app->ExitInstance();
        app.reset();
    }

    AppTestEnvironment env;
    std::unique_ptr<CWVDDesignerApp> app;
    CMainFrame* frame = nullptr;
    CDesignerDoc* doc = nullptr;
};
