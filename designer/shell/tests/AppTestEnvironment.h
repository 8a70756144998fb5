#pragma once
// A QApplication for the whole test program, a private registry, XDG and
// home folders, the shell's strings and a scripted prompt service, for the
// life of the object.

#include "designer/shell/AppStrings.h"
#include "platform/help/HtmlHelp.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

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
        EnsureQApplication();
        RegisterAppStrings();
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
    ScopedRegistryFolder registry{folder.filePath(QStringLiteral("registry"))};
    ScopedEnv dataHome{"XDG_DATA_HOME", folder.filePath(QStringLiteral("data"))};
    ScopedEnv configHome{"XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config"))};
    ScopedEnv cacheHome{"XDG_CACHE_HOME", folder.filePath(QStringLiteral("cache"))};
    ScopedEnv home{"HOME", folder.filePath(QStringLiteral("home"))};
    ScopedPromptAnswers prompts;
    std::vector<QUrl> openedUrls;
    bool urlOpenerWorks = true;
};
