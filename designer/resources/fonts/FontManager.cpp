#include "designer/resources/fonts/FontManager.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "platform/framework/Archive.h"
#include "platform/framework/CcsidTable.h"
#include "platform/framework/File.h"
#include "platform/framework/MathHelpers.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <array>
#include <memory>
#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(CFontManager, CObject, VERSIONABLE_SCHEMA | 6)

namespace {

const QString kDocumentFontGroup = QStringLiteral("*DOC");

constexpr std::array<WindowsCharSet, 13> kCharSets = {{
    {0, "Ansi"},
    {186, "Baltic"},
    {136, "Chinese Big5"},
    {1, "Default"},
    {238, "East Europe"},
    {134, "GB2312"},
    {161, "Greek"},
    {129, "Hangul"},
    {77, "Mac"},
    {255, "OEM"},
    {128, "ShiftJIS"},
    {2, "Symbol"},
    {162, "Turkish"},
}};

} // namespace

std::span<const WindowsCharSet> WindowsCharSetTable()
{
    return kCharSets;
}

QString CharSetName(BYTE charSet)
{
    for (const WindowsCharSet& row : kCharSets) {
        if (row.value == charSet)
            return QString::fromLatin1(row.name);
    }
    return QString::fromLatin1(kCharSets[0].name);
}

BYTE CharSetFromName(const QString& name)
{
    for (const WindowsCharSet& row : kCharSets) {
        if (name == QLatin1String(row.name))
            return row.value;
    }
    return 0;
}

CFontManager::CFontManager() : m_strFontGroupName(kDocumentFontGroup)
{
    RegisterLiveManager(this);
    const CPreferences& preferences = Preferences();
    m_languageDefaults.codePageId = preferences.DefaultCodePageID;
    m_languageDefaults.characterId = preferences.DefaultChrID;
    m_languageDefaults.serverCodePage = preferences.DefaultCodePage;
    m_languageDefaults.usePrinterResidentInfo = TRUE;
    m_nDisplayCharSet = CharSetFromName(preferences.GetDefaultCharSet());
}

CFontManager::CFontManager(CPage* page) : CFontManager()
{
    SetPage(page);
}

CFontManager::~CFontManager()
{
    if (UnregisterLiveManager(this))
        SaveMasterFontFile();
    m_fonts.RemoveAll();
}

void CFontManager::SetPage(CPage* page)
{
    m_pPage = page;
    if (page)
        m_pagePixelSize = QSize(page->GetPixelWidth(), page->GetPixelHeight());
}

void CFontManager::SetCharacterCell(int pageWidth, int pageHeight, int cellWidth, int cellHeight)
{
    m_pagePixelSize = QSize(pageWidth, pageHeight);

    const CSelectedFontHolder* first = m_fonts.GetHolder(0);
    if (!m_bDefaultFollowsGrid && first != nullptr && first->GetPrimary() != nullptr)
        return;

    // A fixed-pitch template whose display font has the cell's size.
    CAS400Font cell(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, QString(),
                    static_cast<DWORD>(std::max(0, MulDiv(cellWidth, 1000, 72))),
                    static_cast<DWORD>(std::max(0, MulDiv(cellHeight, 1000, 140))), FALSE, FALSE, FALSE, FALSE,
                    QString(), QString(), FALSE);
    m_fonts.SetPrimaryFont(0, FindBestMatch(&cell));
}

BOOL CFontManager::SetFontGroupName(const QString& name)
{
    if (m_strFontGroupName.isEmpty())
        m_strFontGroupName = kDocumentFontGroup;
    if (name.isEmpty())
        return FALSE;
    const QString newName = name.left(kFontGroupNameLength).toUpper();
    if (newName == m_strFontGroupName)
        return FALSE;
    m_strFontGroupName = newName;
    return TRUE;
}

BOOL CFontManager::SetFontGroupDescription(const QString& description)
{
    const QString newDescription = description.left(kFontGroupDescriptionLength);
    if (newDescription == m_strFontGroupDescription)
        return FALSE;
    m_strFontGroupDescription = newDescription;
    return TRUE;
}

BOOL CFontManager::SetCodePageId(int codePageId)
{
    const DWORD newId = static_cast<DWORD>(codePageId);
    if (newId == m_languageDefaults.codePageId)
        return FALSE;
    m_languageDefaults.codePageId = newId;
    return TRUE;
}

void CFontManager::CopyLanguageSettings(const CFontManager* from)
{
    if (!from || from == this)
        return;
    m_languageDefaults.codePageId = from->m_languageDefaults.codePageId;
    m_nDisplayCharSet = CharSetFromName(CharSetName(from->m_nDisplayCharSet));
    m_languageDefaults.serverCodePage = from->m_languageDefaults.serverCodePage;
}

CAS400Font* CFontManager::GetFont(int index) const
{
    if (index >= 0 && index < m_nMaxFonts) {
        const CSelectedFontHolder* holder = m_fonts.GetHolder(index);
        if (holder != nullptr && holder->GetPrimary() != nullptr)
            return holder->GetPrimary();
    }
    const CSelectedFontHolder* first = m_fonts.GetHolder(0);
    return first != nullptr ? first->GetPrimary() : nullptr;
}

const QFont* CFontManager::GetWindowsFont(int index)
{
    CAS400Font* font = GetFont(index);
    return font != nullptr ? font->GetWindowsFont(m_nDisplayCharSet) : nullptr;
}

QString CFontManager::GetFontDescription(int index) const
{
    const CSelectedFontHolder* holder = m_fonts.GetHolder(index);
    if (holder == nullptr || holder->GetPrimary() == nullptr)
        return {};
    return holder->GetPrimary()->GetDescription();
}

std::span<const int> CFontManager::GetCharWidths(int index, int count)
{
    const CSelectedFontHolder* holder = m_fonts.GetHolder(index);
    if (holder == nullptr || holder->GetPrimary() == nullptr)
        return {};
    CAS400Font* font = holder->GetPrimary();
    if (font->GetCharWidthsCount() < count)
        font->GetCharWidths(count);
    return font->GetCharWidthTable();
}

BOOL CFontManager::IsUsableFontIndex(int index) const
{
    if (index == 0)
        return TRUE;
    const CSelectedFontHolder* holder = m_fonts.GetHolder(index);
    if (holder == nullptr || holder->GetPrimary() == nullptr)
        return FALSE;
    const CSelectedFontHolder* first = m_fonts.GetHolder(0);
    return first == nullptr || first->GetPrimary() != holder->GetPrimary() ? TRUE : FALSE;
}

BOOL CFontManager::IsDbcsCcsid() const
{
    return IsDoubleByteCcsid(static_cast<LONG>(m_languageDefaults.codePageId));
}

int CFontManager::MoveFontUser(int oldIndex, CFormElement* element, int newIndex)
{
    if (element == nullptr || oldIndex < 0 || oldIndex >= m_nMaxFonts)
        return 0;
    if (oldIndex != 0)
        m_fonts.RemoveUser(element, oldIndex);
    if (newIndex >= 1 && newIndex < m_nMaxFonts)
        return m_fonts.AddUser(newIndex, element);
    return 0;
}

CAS400Font* CFontManager::ResolveMasterFont(const CAS400Font* font)
{
    if (font == nullptr)
        return nullptr;
    CObList* master = GetMasterFontList();
    if (master != nullptr) {
        for (CObject* object : *master) {
            auto* candidate = static_cast<CAS400Font*>(object);
            if (candidate->IsSameFont(font))
                return candidate;
        }
    }
    if (CAS400Font* sameFace = FindMasterFontByFace(font))
        return sameFace;

    // Undo snapshots and clipboard streams only carry fonts the user had
    // already: they go back into the list without a question.
    const BOOL add =
        m_bQuietResolve
        || AfxMessageBox(FormatResMessage(IDS_FONT_NOT_FOUND_ADD, font->GetDescription()), MB_YESNO | MB_ICONQUESTION)
               == IDYES;
    if (add) {
        auto copy = std::make_unique<CAS400Font>(*font);
        if (AddToMasterList(copy.get()))
            return copy.release();
    }

    CAS400Font* best = FindBestMatch(font);
    if (best != nullptr && !m_bQuietResolve)
        AfxMessageBox(FormatResMessage(IDS_FONT_SUBSTITUTED, font->GetDescription(), best->GetDescription()),
                      MB_OK | MB_ICONINFORMATION);
    return best;
}

namespace {

// Every record read once, however often the stream referred to it. The
// records are only patterns for the master list's fonts: they go when the
// manager is read, and the archive must not hand them out again.
class ReadFonts
{
public:
    explicit ReadFonts(CArchive& ar) : m_archive(ar) {}
    ~ReadFonts()
    {
        for (CAS400Font* font : m_unique) {
            m_archive.ForgetObject(font);
            delete font;
        }
    }
    ReadFonts(const ReadFonts&) = delete;
    ReadFonts& operator=(const ReadFonts&) = delete;
    void Add(CAS400Font* font)
    {
        if (font != nullptr && m_seen.insert(font).second)
            m_unique.push_back(font);
    }

private:
    CArchive& m_archive;
    std::unordered_set<CAS400Font*> m_seen;
    std::vector<CAS400Font*> m_unique;
};

void WriteFontArray(CArchive& ar, const std::vector<CAS400Font*>& fonts)
{
    ar.WriteCount(static_cast<DWORD>(fonts.size()));
    for (const CAS400Font* font : fonts)
        ar.WriteObject(font);
}

std::vector<CAS400Font*> ReadFontArray(CArchive& ar, ReadFonts& read)
{
    const DWORD count = ar.ReadCount();
    // A null entry is the smallest: two bytes.
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 2);
    std::vector<CAS400Font*> fonts;
    fonts.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        CAS400Font* font = ar.ReadObject<CAS400Font>();
        read.Add(font);
        fonts.push_back(font);
    }
    return fonts;
}

// Indexes a loaded list may fill, whatever maximum the file names.
constexpr int kLoadedIndexes = 10;

} // namespace

void CFontManager::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strFontGroupName << m_strFontGroupDescription << static_cast<LONG>(m_nMaxFonts)
           << static_cast<LONG>(m_nFontListChoice) << static_cast<WORD>(m_bDefaultFollowsGrid ? 1 : 0)
           << static_cast<WORD>(m_languageDefaults.usePrinterResidentInfo ? 1 : 0) << m_nDisplayCharSet
           << m_languageDefaults.codePageId << m_languageDefaults.serverCodePage;
        std::vector<CAS400Font*> fonts;
        m_fonts.GetFonts(CAS400Font::kPrimary, fonts);
        WriteFontArray(ar, fonts);
        m_fonts.GetFonts(CAS400Font::kSecondary, fonts);
        WriteFontArray(ar, fonts);
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    QString groupName;
    LONG maxFonts = 0;
    LONG listChoice = 0;
    ar >> groupName >> m_strFontGroupDescription >> maxFonts >> listChoice;
    SetFontGroupName(groupName);
    // A maximum outside what the list can hold would make every index
    // unusable or run past the digits of the JVX file.
    if (maxFonts >= 1 && maxFonts <= kMaxFonts)
        m_nMaxFonts = maxFonts;
    m_nFontListChoice = listChoice;
    if (schema > 1) {
        WORD follows = 0;
        ar >> follows;
        m_bDefaultFollowsGrid = follows != 0 ? TRUE : FALSE;
    }
    if (schema > 2) {
        WORD resident = 0;
        ar >> resident;
        m_languageDefaults.usePrinterResidentInfo = resident != 0 ? TRUE : FALSE;
    }
    if (schema > 3)
        ar >> m_nDisplayCharSet;
    if (schema > 4)
        ar >> m_languageDefaults.codePageId >> m_languageDefaults.serverCodePage;

    auto* doc = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);
    const BOOL quietBefore = m_bQuietResolve;
    m_bQuietResolve = doc != nullptr && doc->IsQuietRead() ? TRUE : FALSE;
    struct QuietRestore
    {
        BOOL& flag;
        BOOL before;
        ~QuietRestore() { flag = before; }
    } restore{m_bQuietResolve, quietBefore};

    ReadFonts read(ar);
    const std::vector<CAS400Font*> primaries = ReadFontArray(ar, read);
    for (size_t index = 0; index < primaries.size() && index < kLoadedIndexes; ++index) {
        if (primaries[index] != nullptr)
            m_fonts.SetPrimaryFont(static_cast<int>(index), ResolveMasterFont(primaries[index]));
    }
    if (schema >= 6) {
        const std::vector<CAS400Font*> secondaries = ReadFontArray(ar, read);
        for (size_t index = 0; index < secondaries.size() && index < kLoadedIndexes; ++index) {
            CSelectedFontHolder* holder = m_fonts.GetHolder(static_cast<int>(index));
            if (secondaries[index] != nullptr && holder != nullptr) {
                holder->SetSecondary(ResolveMasterFont(secondaries[index]));
                holder->RevalidateUsers();
            }
        }
    }
}

namespace {

int JvxNumber(CJVXArchive& ar, int width, int value = 0)
{
    CFixedLenNum field(width);
    if (ar.IsStoring())
        field.SetValue(value);
    field.ExchangeJVX(ar);
    return ar.IsStoring() ? value : static_cast<int>(field.GetShort());
}

QString JvxText(CJVXArchive& ar, int width, const QString& value = {})
{
    CFixedLenString field(width);
    if (ar.IsStoring())
        field.SetValue(value);
    field.ExchangeJVX(ar);
    return field.GetValue();
}

QString JvxUserText(CJVXArchive& ar, int width, const QString& value = {})
{
    CFixedLenUserString field(width);
    if (ar.IsStoring())
        field.SetValue(value);
    field.ExchangeJVX(ar);
    return field.GetValue();
}

} // namespace

void CFontManager::ExchangeJVX(CJVXArchive& ar)
{
    const int pageHeight = m_pPage != nullptr ? m_pPage->GetHeight() : CPage::kDefaultHeight;
    const int linesPerInch = m_pPage != nullptr ? m_pPage->GetLinesPerInch() : CPage::kDefaultLinesPerInch;
    const int charsPerInch = m_pPage != nullptr ? m_pPage->GetCharsPerInch() : CPage::kDefaultCharsPerInch;
    const int version = ar.GetVersion();

    if (ar.IsStoring()) {
        if (m_strFontGroupName.isEmpty() || m_strFontGroupName == kDocumentFontGroup)
            AfxThrowArchiveException(CArchiveException::badSchema, ar.GetFilePath());
        // Each line, the group's and every font's, reaches the file in one
        // write.
        ar.BeginLine();
        ar.WriteText(QStringLiteral("#F "), 3);
        JvxUserText(ar, 8, m_strFontGroupName.toUpper());
        JvxUserText(ar, 50, m_strFontGroupDescription);
        JvxText(ar, 1);
        JvxNumber(ar, 4, MulDiv(1440, 1, linesPerInch));
        JvxNumber(ar, 3, MulDiv(pageHeight, linesPerInch, 100));
        JvxNumber(ar, 4, MulDiv(1440, 1, charsPerInch));
        JvxNumber(ar, 1, 3);
        JvxText(ar, 7, QStringLiteral("*FINE"));
        JvxText(ar, 2);
        JvxNumber(ar, 4, 0);
        ar.WriteLineEnd();

        m_fonts.RemoveUnused();
        for (int index = 0; index < m_nMaxFonts && index < kLoadedIndexes; ++index) {
            const CSelectedFontHolder* holder = m_fonts.GetHolder(index);
            if (holder == nullptr || holder->GetPrimary() == nullptr)
                continue;
            ar.BeginLine();
            ar.WriteText(QStringLiteral("#F") + QChar(u'0' + index), 3);
            holder->GetPrimary()->ExchangeJVX(ar, &m_languageDefaults, CAS400Font::kPrimary);
            if (version >= 23) {
                if (holder->GetSecondary() != nullptr) {
                    holder->GetSecondary()->ExchangeJVX(ar, &m_languageDefaults, CAS400Font::kSecondary);
                } else {
                    CAS400Font none;
                    none.ExchangeJVX(ar, &m_languageDefaults, CAS400Font::kSecondary);
                }
            }
            ar.WriteLineEnd();
        }
        return;
    }

    QString marker;
    if (ar.ReadText(marker, 3) != 3 || marker != QLatin1String("#F "))
        AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
    const QString groupName = JvxUserText(ar, 8);
    const QString description = JvxUserText(ar, 50);
    JvxText(ar, 1);
    const int twipsPerLine = JvxNumber(ar, 4);
    JvxNumber(ar, 3);
    const int twipsPerChar = JvxNumber(ar, 4);
    JvxNumber(ar, 1);
    JvxText(ar, 7);
    JvxText(ar, 2);
    JvxNumber(ar, 4);
    ar.ReadLineEnd();

    SetFontGroupName(groupName);
    m_strFontGroupDescription = description;
    const int newCharsPerInch = MulDiv(1440, 1, twipsPerChar != 0 ? twipsPerChar : 144);
    const int newLinesPerInch = MulDiv(1440, 1, twipsPerLine != 0 ? twipsPerLine : 240);
    // A negative spacing would give a page with no grid.
    if (m_pPage != nullptr && newCharsPerInch > 0 && newLinesPerInch > 0
        && (newCharsPerInch != charsPerInch || newLinesPerInch != linesPerInch)) {
        m_pPage->SetCharsPerInch(newCharsPerInch);
        m_pPage->SetLinesPerInch(newLinesPerInch);
        m_pPage->RecalcGrid();
    }

    LONG position = ar.Seek(0, CFile::current);
    for (;;) {
        QString recordMarker;
        const int read = ar.ReadText(recordMarker, 3);
        if (read < 3 || !recordMarker.startsWith(QLatin1String("#F")))
            break;
        int index = recordMarker.at(2).unicode() - u'0';
        if (index < 0 || index >= m_nMaxFonts)
            index = 0;

        CAS400Font primary;
        primary.ExchangeJVX(ar, &m_languageDefaults, CAS400Font::kPrimary);
        if (index < kLoadedIndexes)
            m_fonts.SetPrimaryFont(index, ResolveMasterFont(&primary));
        if (version >= 23) {
            CAS400Font secondary;
            secondary.ExchangeJVX(ar, &m_languageDefaults, CAS400Font::kSecondary);
            const bool named = !secondary.GetCodedFontName().isEmpty() && !secondary.GetLibrary().isEmpty();
            const bool sized = secondary.m_nFGID != 0 && secondary.GetWidth() != 0;
            CSelectedFontHolder* holder = m_fonts.GetHolder(index);
            if ((named || sized) && holder != nullptr) {
                holder->SetSecondary(ResolveMasterFont(&secondary));
                holder->RevalidateUsers();
            }
        }
        ar.ReadLineEnd();
        position = ar.Seek(0, CFile::current);
    }
    ar.Seek(position, CFile::begin);
}
