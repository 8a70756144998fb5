#pragma once
// A fixed-width text field holding what the user typed (names, descriptions,
// data). It differs from CFixedLenString only in the JVX file, where it is
// translated with the user's code page.

#include "designer/document/jvx/FixedLenString.h"

class CFixedLenUserString : public CFixedLenString
{
    KWVD_DECLARE_SERIAL(CFixedLenUserString)

public:
    explicit CFixedLenUserString(int width = 0);

    // Through UserDataTranslator for the call: with none, the text is raw
    // UTF-16 from version 19 even when system text has a translator.
    int ReadJVXText(CJVXArchive& ar, QString& text, int n) override;
    void WriteJVXText(CJVXArchive& ar, const QString& text, int n) override;
};
