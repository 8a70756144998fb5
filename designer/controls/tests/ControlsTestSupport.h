#pragma once
// What the control tests share: one QApplication for the program (offscreen),
// a scripted prompt service recording beeps, and a registry in a temporary
// folder.

#include "platform/registry/tests/RegistryTestSupport.h"
#include "platform/ui/ScriptedPromptService.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

class ControlsQtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QApplication>(s_argc, s_argv);
    }
    void TearDown() override { m_app.reset(); }

    static void Register()
    {
        static const auto* const environment = ::testing::AddGlobalTestEnvironment(new ControlsQtEnvironment);
        (void)environment;
    }

private:
    static inline int s_argc = 1;
    static inline char s_name[] = "kwvd_controls_tests";
    static inline char* s_argv[] = {s_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

class ControlsTest : public RegistryFixture
{
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        m_previous = SetPrompts(m_prompts);
    }
    void TearDown() override { SetPrompts(m_previous); }

    std::shared_ptr<ScriptedPromptService> m_prompts = std::make_shared<ScriptedPromptService>();

private:
    std::shared_ptr<PromptService> m_previous;
};
