#pragma once
// The choice of the user-interface language. Only the built-in UK English
// resources exist so far, so every choice ends on them.

#include "platform/framework/Types.h"

class LanguageSupport
{
public:
    static constexpr WORD kProgramLanguage = 0x0809;

    // Chooses the language and makes its resources the current ones; TRUE
    // when a language library was loaded (never, for now).
    BOOL ChooseLanguage();
    WORD GetLanguageId() const { return m_languageId; }

private:
    WORD m_languageId = kProgramLanguage;
};
