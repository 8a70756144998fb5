#pragma once
// What the control tests share: one QApplication for the program (offscreen),
// a scripted prompt service recording beeps, and a registry in a temporary
// folder.

#include "platform/registry/tests/RegistryTestSupport.h"
#include "platform/ui/ScriptedPromptService.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

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
