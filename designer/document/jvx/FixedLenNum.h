#pragma once
// A number field of fixed width. Its value is an integer held as a double,
// and an empty mark tells a field that has no value yet (TRUE from
// construction until a value is set or read); the stored forms write the
// value whatever the mark says. In the WVD file it is a WORD width followed
// by the value as an 8-byte double; in the JVX file its decimal digits,
// zero-filled on the left to the width.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

class CJVXArchive;

class CFixedLenNum : public CObject
{
    KWVD_DECLARE_SERIAL(CFixedLenNum)

public:
    explicit CFixedLenNum(int width = 0);

    int GetWidth() const { return m_nWidth; }
    void SetWidth(int width) { m_nWidth = width; }

    double GetValue() const { return m_dValue; }
    // Clears the empty mark.
    void SetValue(int value);

    BOOL IsEmpty() const { return m_bEmpty; }
    void SetEmpty(BOOL empty) { m_bEmpty = empty ? TRUE : FALSE; }

    // The value truncated and held within the type's range; a value that is
    // not a number gives 0. GetShort keeps to -32767..32767.
    short GetShort() const;
    BYTE GetByte() const;
    WORD GetUShort() const;
    DWORD GetUInt() const;
    // TRUE when the value lies within -32767..32767 and, truncated, is the
    // number.
    BOOL IsEqual(int number) const;

    void Serialize(CArchive& ar) override;

    // Writes or reads the field by the archive's mode. A negative value is
    // written sign first ("-05" in width 3); a field that reads short raises
    // CArchiveException endOfFile.
    void ExchangeJVX(CJVXArchive& ar);

private:
    void WriteJVXValue(CJVXArchive& ar, int width) const;

    int m_nWidth = 0;
    double m_dValue = 0.0;
    BOOL m_bEmpty = TRUE;
};
