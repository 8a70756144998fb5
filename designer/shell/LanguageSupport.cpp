#include "designer/shell/LanguageSupport.h"

BOOL LanguageSupport::ChooseLanguage()
{
    m_languageId = kProgramLanguage;
    return FALSE;
}
