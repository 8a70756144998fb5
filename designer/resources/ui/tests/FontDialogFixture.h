#pragma once
// What the font dialog tests share: a test's own data folder and prompts, the
// fonts' strings and a font manager that keeps the master list loaded for the
// test, bound to the dialog model under test.

#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "tests/support/FontTestEnvironment.h"

#include <memory>

template <class Dialog>
class FontDialogFixture : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        RegisterFontStrings();
        m_manager = std::make_unique<CFontManager>();
        m_dialog.fontManager = m_manager.get();
    }

    void TearDown() override
    {
        m_manager.reset();
        FontTestEnvironment::TearDown();
    }

    std::unique_ptr<CFontManager> m_manager;
    Dialog m_dialog;
};
