#pragma once
// The font list of one page: up to ten host fonts by font index (0 is the
// default font, which follows the page's character grid until the user picks
// one), the document's font group, its language settings and the Windows
// character set its text is shown in. The output page's manager is the
// document's font list.
//
// The class also keeps the process-wide master font list and font library
// list: loaded on first use, saved and freed when the last font manager goes.
// Pages only point at master records.

#include "designer/resources/fonts/SelectedFontList.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <functional>
#include <span>
#include <vector>

class CAS400Font;
class CAS400FontLib;
class CFormElement;
class CJVXArchive;
class CPage;
class CFontManager;
class QObject;

// One run of the font dialog for an index of a manager: what it opens with,
// and on OK the chosen pair and the list choice it ends with.
struct FontDialogRun
{
    int index = 0;
    int listChoice = 1;
    QString sampleText;
    CAS400Font* primary = nullptr;
    CAS400Font* secondary = nullptr;
};

// Runs the font dialog modally; TRUE when it ended with OK.
using FontDialogRunner = std::function<BOOL(CFontManager& manager, FontDialogRun& run)>;
// Runs the add-font dialog (edit mode for an existing font); font is the
// starting or edited font and receives the font added. Returns whether a
// font was added or changed.
using FontAddDialogRunner =
    std::function<BOOL(CFontManager& manager, CAS400Font*& font, BOOL editMode, QObject* parent)>;

// The dialogs' library installs these at start-up; without them the
// commands change nothing. Each returns the runner it replaces.
FontDialogRunner SetFontDialogRunner(FontDialogRunner runner);
FontAddDialogRunner SetFontAddDialogRunner(FontAddDialogRunner runner);

// The document's language settings, which the font records and the JVX file
// read.
struct FontLanguageDefaults
{
    DWORD codePageId = 0; // the document's host CCSID
    DWORD characterId = 0;
    QString serverCodePage; // server font code page name, at most 8
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

    // ---- font commands
    // The font dialog for an element's index: TRUE, with *index changed,
    // when the chosen pair stands at another index or was added at a free
    // one. Cancel, no chosen font, the same pair or a full list: FALSE.
    BOOL ChooseElementFont(const QString& sampleText, int* index);
    // The font dialog for index 0, applied on OK; the dialog's result.
    BOOL ChooseDefaultFont();
    // The halves of ChooseDefaultFont, which the page setup uses apart: the
    // dialog for index 0 (the list choice taken back on OK), and the chosen
    // pair put at index 0, which then no longer follows the grid. No primary
    // font or the pair already there changes nothing (FALSE).
    BOOL RunDefaultFontDialog(FontDialogRun& run);
    BOOL ApplyDefaultFont(CAS400Font* primary, CAS400Font* secondary);
    // The add-font dialog starting from *font; when it adds a font, *font
    // receives it (when font is given) and its users revalidate.
    BOOL AddFont(QObject* parent, CAS400Font** font);
    // The add-font dialog in edit mode; the font's users revalidate on a
    // change.
    BOOL EditFont(CAS400Font* font, QObject* parent);

    // ---- stored forms
    void Serialize(CArchive& ar) override;
    // The JVX font section: header, then a record per used index.
    void ExchangeJVX(CJVXArchive& ar);

    // ---- font indexes
    CSelectedFontList& GetFontList() { return m_fonts; }
    const CSelectedFontList& GetFontList() const { return m_fonts; }
    // The index's primary font, else index 0's; null with neither.
    CAS400Font* GetFont(int index) const;
    // The display font of GetFont in the display character set.
    const QFont* GetWindowsFont(int index);
    // Of the index's own primary font; empty when it has none.
    QString GetFontDescription(int index) const;
    // The index's own primary font's advances, rebuilt when built for fewer
    // than count; empty when there is none.
    std::span<const int> GetCharWidths(int index, int count);
    // TRUE for 0; otherwise only for an index whose primary font is not the
    // very record index 0 holds.
    BOOL IsUsableFontIndex(int index) const;
    // The document's code page is a double-byte one.
    BOOL IsDbcsCcsid() const;
    // Moves the element from the old index's users to the new one's; the
    // index it now has, 0 when the new one cannot take it.
    int MoveFontUser(int oldIndex, CFormElement* element, int newIndex);

    // A master record for a font read from a file: the same font, the same
    // face, size and style, added after question 298, or the best installed
    // match after message 299; null when there is none. The record stays the
    // caller's. Asks nothing while the document is read quietly.
    CAS400Font* ResolveMasterFont(const CAS400Font* font);

    // ---- master font list (process-wide)
    // Loaded on first use.
    static CObList* GetMasterFontList();
    static CObList* GetFontLibraryList();
    static void LoadMasterFontFile();
    // Saves both lists when both exist, then frees them.
    static void SaveMasterFontFile();
    // The master file's path; an empty preference is filled with the default.
    static QString MasterFontFilePath();
    // The master list takes the record: FALSE (the caller keeps it) for null
    // or when an equal font is already there.
    static BOOL AddToMasterList(CAS400Font* font);
    // Around the read of a document: from Begin on, the fonts and libraries
    // the lists gain are noted; Keep lets them stand, Undo takes them out
    // again (the fonts live on until exit, as a failed document's pages may
    // still point at them).
    static void BeginMasterChanges();
    static void KeepMasterChanges();
    static void UndoMasterChanges();
    // Takes a font that no open page uses off the master list (the record
    // itself lives on until exit); otherwise says why not (226, 227).
    BOOL DeleteMasterFont(CAS400Font* font);
    static CAS400Font* FindMasterFont(const CAS400Font* font);
    // Same typeface (case counts), height and style flags.
    static CAS400Font* FindMasterFontByFace(const CAS400Font* font);
    // Appends master records of installed libraries; FALSE without a list.
    static BOOL GetInstalledFonts(std::vector<CAS400Font*>& fonts);
    // The installed font of the lowest score below 0xFFFF; the first of
    // equal scores wins.
    static CAS400Font* FindBestMatch(const CAS400Font* wanted);
    static void SyncFontLibrary(const QString& library);
    static BOOL InstallFontLibrary(const QString& library);
    static BOOL RemoveFontLibrary(const QString& library);
    static CAS400FontLib* FindFontLibrary(const QString& library);
    // Font managers alive now.
    static int GetLiveManagerCount();

    // ---- font exchange files
    // Adds the file's fonts, completed from CSDEF.FNT, to the master list.
    BOOL ImportFontExchangeFile(const QString& path);
    // Writes every master font; FALSE (message 285) when the file cannot be
    // written.
    BOOL ExportFontExchangeFile(const QString& path);
    static BOOL ImportFontExchangeFile(const QString& path, const FontLanguageDefaults& defaults);

private:
    static void RegisterLiveManager(CFontManager* manager);
    // TRUE when it was the last one.
    static bool UnregisterLiveManager(CFontManager* manager);

    CPage* m_pPage = nullptr;
    QString m_strFontGroupName;
    QString m_strFontGroupDescription;
    int m_nMaxFonts = kMaxFonts;
    int m_nFontListChoice = 1;
    QSize m_pagePixelSize;
    BOOL m_bDefaultFollowsGrid = TRUE;
    FontLanguageDefaults m_languageDefaults;
    BYTE m_nDisplayCharSet = 0;
    CSelectedFontList m_fonts;
    BOOL m_bQuietResolve = FALSE;
};
