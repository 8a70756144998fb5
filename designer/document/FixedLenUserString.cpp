#include "designer/document/FixedLenUserString.h"

KWVD_IMPLEMENT_SERIAL(CFixedLenUserString, CFixedLenString, VERSIONABLE_SCHEMA | 0)

CFixedLenUserString::CFixedLenUserString(int width)
    : CFixedLenString(width)
{
}
