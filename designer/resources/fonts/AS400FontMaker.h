#pragma once
// The font table CSDEF.FNT read for one document's language settings: its
// [FGID] entries, which complete imported fonts, and the fonts of its
// [CHARSET] section:
//   name=fgid,height,width,strikeout,underline
// The file is UTF-16LE text; a line ends at LF, or at CR and the character
// after it. It is looked for in the current folder, the application data
// folder and beside the program, its name in any case.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CAS400Font;
class CAS400FontFGID;

class CAS400FontMaker : public CObject
{
public:
    static constexpr const char* kFileName = "CSDEF.FNT";

    // Reads both sections; a missing file is reported once by each.
    CAS400FontMaker(DWORD codePageId, DWORD characterId, const QString& codePageName);
    ~CAS400FontMaker() override;

    CAS400FontMaker(const CAS400FontMaker&) = delete;
    CAS400FontMaker& operator=(const CAS400FontMaker&) = delete;

    void ReadFgidSection();
    void ReadCharsetSection();
    // A new font for a [CHARSET] line whose FGID has an entry; else null.
    std::unique_ptr<CAS400Font> MakeCharsetFont(const QString& line) const;

    const CAS400FontFGID* FindFgid(DWORD fgid) const;
    // Typeface equal, or "wb" and the typeface, in any case; bold and italic
    // wherever the font is.
    const CAS400FontFGID* FindFgidByTypeface(const CAS400Font& font) const;

    const std::vector<std::unique_ptr<CAS400FontFGID>>& GetFgidEntries() const { return m_fgids; }
    const std::vector<std::unique_ptr<CAS400Font>>& GetCharsetFonts() const { return m_charsetFonts; }

    // The folders of the data the program ships: the one KWVD_DATA_DIR
    // names, else share/kwvd beside the program's folder, then that folder.
    static QStringList ProgramDataFolders();
    // The table's path, or empty when none of the folders has one: the
    // current folder, the application data folder, the program's data.
    static QString FindFontTableFile();
    // The lines of the table; throws the file's errors.
    static QStringList ReadFontTableLines();

private:
    std::vector<std::unique_ptr<CAS400FontFGID>> m_fgids;
    std::vector<std::unique_ptr<CAS400Font>> m_charsetFonts;
    DWORD m_nCodePageId;
    DWORD m_nCharacterId;
    QString m_strCodePageName;
};
