#pragma once
// A fixed-width text field holding what the user typed (names, descriptions,
// data). It differs from CFixedLenString only in the JVX file, where it is
// translated with the user's code page.

#include "designer/document/FixedLenString.h"

class CFixedLenUserString : public CFixedLenString
{
    KWVD_DECLARE_SERIAL(CFixedLenUserString)

public:
    explicit CFixedLenUserString(int width = 0);
};
