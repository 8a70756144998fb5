#pragma once
// A QApplication for the whole test program, a private registry, XDG and
// home folder, the shell's strings and a scripted prompt service, for the
// life of the object.

#include "designer/shell/AppStrings.h"
#include "platform/help/HtmlHelp.h"
#include "platform/ui/ScriptedPromptService.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

inline void EnsureQApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kwvd_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run, as a program's would
    }
}

class AppTestEnvironment
{
public:
    AppTestEnvironment()
    {
        EXPECT_TRUE(folder.isValid());
        const QByteArray root = folder.path().toLocal8Bit();
        setenv("KWVD_REGISTRY_DIR", (root + "/registry").constData(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
        setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
        setenv("HOME", (root + "/home").constData(), 1);
        EnsureQApplication();
        RegisterAppStrings();
        prompts = std::make_shared<ScriptedPromptService>();
        previousPrompts = SetPrompts(prompts);
        kwvd::SetUrlOpener([this](const QUrl& url) {
            openedUrls.push_back(url);
            return urlOpenerWorks;
        });
    }
    ~AppTestEnvironment()
    {
        // Windows a test let go of with deleteLater go now, not in the next test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        kwvd::SetUrlOpener({});
        SetPrompts(previousPrompts);
    }
    AppTestEnvironment(const AppTestEnvironment&) = delete;
    AppTestEnvironment& operator=(const AppTestEnvironment&) = delete;

    // The texts of the message boxes shown so far.
    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const RecordedPrompt& prompt : prompts->Recorded()) {
            if (prompt.kind == PromptKind::MessageBox)
                texts << prompt.text;
        }
        return texts;
    }

    QTemporaryDir folder;
    std::shared_ptr<ScriptedPromptService> prompts;
    std::shared_ptr<PromptService> previousPrompts;
    std::vector<QUrl> openedUrls;
    bool urlOpenerWorks = true;
};
