#pragma once
// What the control tests share: one QApplication for the program (offscreen),
// a scripted prompt service recording beeps, and a registry in a temporary
// folder.

#include "platform/registry/tests/RegistryTestSupport.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>

class ControlsTest : public RegistryFixture
{
protected:
    void SetUp() override { RegistryFixture::SetUp(); }

    ScopedPromptAnswers m_prompts;

private:
};
