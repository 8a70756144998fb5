#include "designer/document/FixedLenNum.h"

#include "platform/framework/Archive.h"

#include <algorithm>
#include <cmath>
#include <limits>

KWVD_IMPLEMENT_SERIAL(CFixedLenNum, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

// The value is read from files, so it may be anything a double holds.
double heldWithin(double value, double lowest, double highest)
{
    if (std::isnan(value))
        return 0.0;
    return std::trunc(std::clamp(value, lowest, highest));
}

} // namespace

CFixedLenNum::CFixedLenNum(int width)
    : m_nWidth(width)
{
}

void CFixedLenNum::SetValue(int value)
{
    m_dValue = value;
    m_bEmpty = FALSE;
}

short CFixedLenNum::GetShort() const
{
    return static_cast<short>(heldWithin(m_dValue, -32767.0, 32767.0));
}

BYTE CFixedLenNum::GetByte() const
{
    return static_cast<BYTE>(heldWithin(m_dValue, 0.0, 255.0));
}

WORD CFixedLenNum::GetUShort() const
{
    return static_cast<WORD>(heldWithin(m_dValue, 0.0, 65535.0));
}

DWORD CFixedLenNum::GetUInt() const
{
    return static_cast<DWORD>(heldWithin(m_dValue, 0.0, 4294967295.0));
}

BOOL CFixedLenNum::IsEqual(int number) const
{
    if (!(m_dValue >= -32767.0 && m_dValue <= 32767.0))
        return FALSE;
    return static_cast<int>(std::trunc(m_dValue)) == number ? TRUE : FALSE;
}

void CFixedLenNum::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(std::clamp(m_nWidth, 0, int(std::numeric_limits<WORD>::max())));
        ar << m_dValue;
    } else {
        WORD width = 0;
        double value = 0.0;
        ar >> width >> value;
        m_nWidth = width;
        m_dValue = value;
        m_bEmpty = FALSE;
    }
}
