#include "designer/document/jvx/FixedLenUserString.h"

#include "designer/document/jvx/JVXArchive.h"

KWVD_IMPLEMENT_SERIAL(CFixedLenUserString, CFixedLenString, VERSIONABLE_SCHEMA | 0)

CFixedLenUserString::CFixedLenUserString(int width) : CFixedLenString(width) {}

int CFixedLenUserString::ReadJVXText(CJVXArchive& ar, QString& text, int n)
{
    CJVXTranslatorScope scope(ar, UserDataTranslator());
    return ar.ReadText(text, n);
}

void CFixedLenUserString::WriteJVXText(CJVXArchive& ar, const QString& text, int n)
{
    ITranslator* user = UserDataTranslator();
    // Without translators (raw UTF-16) both are null: nothing to swap.
    if (ar.GetTranslator() == user) {
        ar.WriteText(text, n);
        return;
    }
    CJVXTranslatorScope scope(ar, user);
    ar.WriteText(text, n);
}
