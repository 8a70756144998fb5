#pragma once
// User text that the host must receive without shift characters: written
// with the user translator's shift stripping on, read like any user text.

#include "designer/document/jvx/FixedLenUserString.h"

class CFixedLenUserStringStripped : public CFixedLenUserString
{
    KWVD_DECLARE_SERIAL(CFixedLenUserStringStripped)

public:
    explicit CFixedLenUserStringStripped(int width = 0);

    void WriteJVXText(CJVXArchive& ar, const QString& text, int n) override;
};
