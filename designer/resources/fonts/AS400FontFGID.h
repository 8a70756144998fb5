#pragma once
// One line of the [FGID] section of the font table CSDEF.FNT:
//   key=typeface,MODERN|ROMAN|SWISS|DECORATIVE|SCRIPT,BOLD|MED|LIGHT,0|1
// telling which typeface, family, weight and slant show a host FGID.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CAS400FontFGID : public CObject
{
public:
    // FGID 0 when the line does not parse.
    explicit CAS400FontFGID(const QString& line);

    DWORD m_nFGID = 0;
    QString m_strTypeface;
    BYTE m_nPitchAndFamily = 0;
    BOOL m_bBold = FALSE;
    BOOL m_bItalic = FALSE;
};

// The pieces of a font-table line shared by both sections.
namespace fonttable {

// Longest field a line may carry.
inline constexpr int kMaxField = 127;

// The number at the start of the text as the C library reads it: leading
// blanks and a sign accepted, ending at the first other character; nothing
// when no digit follows.
bool ParseDecimal(const QString& text, long long& value);

// The family byte of its name, or 0.
BYTE FamilyFromName(const QString& name);

} // namespace fonttable
