#pragma once
// A main frame on its own: a private registry and data folder, scripted
// prompts, fresh preferences, and a document whose type the test sets.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/commands/tests/RecordingTarget.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/elements/ElementClasses.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/shell/MainFrame.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/View.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

inline void EnsureFrameTestApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kwvd_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run, as a program's would
    }
}

// A widget that keeps the registered messages it is sent.
class MessageRecorder : public QWidget
{
public:
    using QWidget::QWidget;

    struct Message
    {
        QEvent::Type type;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };

    std::vector<Message> Of(QEvent::Type type) const
    {
        std::vector<Message> found;
        for (const Message& m : messages)
            if (m.type == type)
                found.push_back(m);
        return found;
    }

    std::vector<Message> messages;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() >= QEvent::User && e->type() <= QEvent::MaxUser) {
            auto* message = static_cast<CRegisteredMessageEvent*>(e);
            messages.push_back({e->type(), message->WParam(), message->LParam()});
            return true;
        }
        return QWidget::event(e);
    }
};

// Lets the document tell its frame of a type change, as a pane view does.
class NullView : public CView
{
public:
    void OnUpdate(CView*, LPARAM, CObject*) override {}
};

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        EnsureFrameTestApplication();
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        prefs.ApplicationDataDirectory = folder.path();
        prefs.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        previousPrefs = SetPreferences(&prefs);
    }

    void TearDown() override
    {
        if (doc)
            doc->RemoveView(&view);
        frame.reset();
        doc.reset();
        SetPreferences(previousPrefs);
    }

    void MakeFrame()
    {
        frame = std::make_unique<CMainFrame>(&application);
        ASSERT_TRUE(frame->LoadFrame());
        frame->resize(1000, 700);
        frame->show();
        recorder = new MessageRecorder(frame->GetPaneView(1));
    }

    // A document of the type, made the frame's, with one view.
    CDesignerDoc& MakeDocument(BYTE type)
    {
        doc = std::make_unique<CDesignerDoc>();
        EXPECT_TRUE(doc->OnNewDocument());
        doc->AddView(&view);
        doc->SetDocType(type);
        frame->SetDocument(doc.get());
        return *doc;
    }

    // Delivers the posted "WM_SET_DOC_TYPE".
    static void DeliverPosted() { QCoreApplication::sendPostedEvents(); }

    CCmdUI Query(UINT id) const { return frame->Router().Query(id); }

    std::vector<std::intptr_t> ToolBroadcasts() const
    {
        std::vector<std::intptr_t> tools;
        for (const auto& m : recorder->Of(RegisteredMessages::SetTool()))
            tools.push_back(m.lParam);
        return tools;
    }

    QTemporaryDir folder;
    ScopedRegistryFolder registry{folder.filePath(QStringLiteral("registry"))};
    CPreferences prefs;
    CPreferences* previousPrefs = nullptr;
    ScopedPromptAnswers prompts;
    RecordingTarget application;
    std::unique_ptr<CDesignerDoc> doc;
    NullView view;
    std::unique_ptr<CMainFrame> frame;
    MessageRecorder* recorder = nullptr;
};
