#pragma once
// The font list of one page: up to ten host fonts by font index (0 is the
// default font, which follows the page's character grid until the user picks
// one), the document's font group, its language settings and the Windows
// character set its text is shown in. The output page's manager is the
// document's font list.
//
// What is here is what the page and the document use; the font slots, the
// master font list and the font commands live with the host fonts.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QSize>
#include <QString>

#include <span>

class CPage;

// The document's language settings, which the font records and the JVX file
// read.
struct FontLanguageDefaults
{
    DWORD codePageId = 0;     // the document's host CCSID
    DWORD characterId = 0;
    QString serverCodePage;   // server font code page name, at most 8
    BOOL usePrinterResidentInfo = TRUE;
};

// A Windows character set by value and name, as the Language page lists it.
struct WindowsCharSet
{
    BYTE value;
    const char* name;
};

// The 13 character sets in the Language page's order.
std::span<const WindowsCharSet> WindowsCharSetTable();
// The name of the first row with the value; "Ansi" for a value not listed.
QString CharSetName(BYTE charSet);
// The value of the row with exactly that name (case counts); 0 otherwise.
BYTE CharSetFromName(const QString& name);

class CFontManager : public CObject
{
    KWVD_DECLARE_SERIAL(CFontManager)

public:
    static constexpr int kMaxFonts = 10;
    static constexpr int kFontGroupNameLength = 8;
    static constexpr int kFontGroupDescriptionLength = 50;

    // Font group "*DOC", ten slots, language settings and character set from
    // the preferences; bound to no page (options pages, temporary use).
    CFontManager();
    // The same, bound to the page, with a copy of its pixel size.
    explicit CFontManager(CPage* page);
    ~CFontManager() override;

    CFontManager(const CFontManager&) = delete;
    CFontManager& operator=(const CFontManager&) = delete;

    CPage* GetPage() const { return m_pPage; }
    // Binds the manager to the page (after a load) and copies its pixel size.
    void SetPage(CPage* page);

    // The page's pixel size as the page last gave it.
    QSize GetPagePixelSize() const { return m_pagePixelSize; }

    // Called by the page whenever its pixel size changes.
    void SetCharacterCell(int pageWidth, int pageHeight, int cellWidth, int cellHeight);

    // Number of font indexes: indexes run from 0 to this minus 1.
    int GetMaxFonts() const { return m_nMaxFonts; }

    const QString& GetFontGroupName() const { return m_strFontGroupName; }
    // Cut to 8 and upper-cased; an empty name changes nothing. TRUE when it
    // changed.
    BOOL SetFontGroupName(const QString& name);
    const QString& GetFontGroupDescription() const { return m_strFontGroupDescription; }
    // Cut to 50. TRUE when it changed.
    BOOL SetFontGroupDescription(const QString& description);

    // The document's host CCSID.
    int GetCodePageId() const { return static_cast<int>(m_languageDefaults.codePageId); }
    // TRUE when it changed.
    BOOL SetCodePageId(int codePageId);

    // The Language page writes the printer-resident flag and the server
    // code page name directly.
    FontLanguageDefaults& GetLanguageDefaults() { return m_languageDefaults; }
    const FontLanguageDefaults& GetLanguageDefaults() const { return m_languageDefaults; }

    BYTE GetDisplayCharSet() const { return m_nDisplayCharSet; }
    void SetDisplayCharSet(BYTE charSet) { m_nDisplayCharSet = charSet; }
    QString GetCharSetName() const { return CharSetName(m_nDisplayCharSet); }

    // Code page id, display character set (only as a listed one) and server
    // code page name from the other manager; nothing for null.
    void CopyLanguageSettings(const CFontManager* from);

    // Whether index 0 is rebuilt from the character cell when the page
    // changes; the default-font command ends it.
    BOOL GetDefaultFollowsGrid() const { return m_bDefaultFollowsGrid; }

    // Which fonts the font dialog lists: 0 the document's, 1 all.
    int GetFontListChoice() const { return m_nFontListChoice; }
    void SetFontListChoice(int choice) { m_nFontListChoice = choice; }

private:
    CPage* m_pPage = nullptr;
    QString m_strFontGroupName;
    QString m_strFontGroupDescription;
    int m_nMaxFonts = kMaxFonts;
    int m_nFontListChoice = 1;
    QSize m_pagePixelSize;
    BOOL m_bDefaultFollowsGrid = TRUE;
    FontLanguageDefaults m_languageDefaults;
    BYTE m_nDisplayCharSet = 0;
};
