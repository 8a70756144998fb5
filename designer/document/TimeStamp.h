#pragma once
// The document's record of its last upload to the host: one file time, kept
// as the two 32-bit halves the WVD file stores. Zero means "never uploaded".

#include "platform/framework/FileTime.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CJVXArchive;

class CTimeStamp : public CObject
{
    KWVD_DECLARE_SERIAL(CTimeStamp)

public:
    CTimeStamp() = default;
    CTimeStamp(const CTimeStamp&) = default;
    CTimeStamp& operator=(const CTimeStamp&) = default;

    // Low half then high half, each a little-endian DWORD.
    void Serialize(CArchive& ar) override;

    // The host's time-stamp text (UTC); empty when zero or not a calendar time.
    QString Format() const;
    // Reads the host's time-stamp text; anything that is not a valid
    // calendar time leaves the stamp zero.
    void Parse(const QString& text);

    // One 26-character text field of the host's time-stamp text; blanks
    // when zero, and a text that is not a time reads as zero.
    void ExchangeJVX(CJVXArchive& ar);

    BOOL IsZero() const { return m_dwLowDateTime == 0 && m_dwHighDateTime == 0; }
    void Clear();

    kwvd::FileTime GetFileTime() const;
    void SetFileTime(kwvd::FileTime time);
    // The current time of the process clock.
    void SetToCurrentTime();

private:
    DWORD m_dwLowDateTime = 0;
    DWORD m_dwHighDateTime = 0;
};

// "YYYY-MM-DD-hh.mm.ss.mmm000": the host has microseconds, we keep milliseconds.
QString FormatAS400Timestamp(const kwvd::CivilTime& time);
