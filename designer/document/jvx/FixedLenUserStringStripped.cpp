#include "designer/document/jvx/FixedLenUserStringStripped.h"

#include "designer/document/jvx/JVXArchive.h"
#include "hostaccess/api/Translator.h"

KWVD_IMPLEMENT_SERIAL(CFixedLenUserStringStripped, CFixedLenUserString, VERSIONABLE_SCHEMA | 0)

namespace {

// The translator's stripping setting for one scope, put back afterwards.
class StripShiftScope
{
public:
    explicit StripShiftScope(ITranslator* translator) : m_translator(translator)
    {
        if (m_translator != nullptr)
            m_previous = m_translator->SetStripShift(TRUE);
    }
    ~StripShiftScope()
    {
        if (m_translator != nullptr)
            m_translator->SetStripShift(m_previous);
    }

    StripShiftScope(const StripShiftScope&) = delete;
    StripShiftScope& operator=(const StripShiftScope&) = delete;

private:
    ITranslator* m_translator;
    int m_previous = FALSE;
};

} // namespace

CFixedLenUserStringStripped::CFixedLenUserStringStripped(int width) : CFixedLenUserString(width) {}

void CFixedLenUserStringStripped::WriteJVXText(CJVXArchive& ar, const QString& text, int n)
{
    ITranslator* translator = UserDataTranslator();
    StripShiftScope strip(translator);
    CJVXTranslatorScope scope(ar, translator);
    ar.WriteText(text, n);
}
