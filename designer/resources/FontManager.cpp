#include "designer/resources/FontManager.h"

#include "designer/document/Page.h"
#include "designer/shell/preferences/Preferences.h"

#include <array>

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

CFontManager::CFontManager()
    : m_strFontGroupName(kDocumentFontGroup)
{
    const CPreferences& preferences = Preferences();
    m_languageDefaults.codePageId = preferences.DefaultCodePageID;
    m_languageDefaults.characterId = preferences.DefaultChrID;
    m_languageDefaults.serverCodePage = preferences.DefaultCodePage;
    m_languageDefaults.usePrinterResidentInfo = TRUE;
    m_nDisplayCharSet = CharSetFromName(preferences.GetDefaultCharSet());
}

CFontManager::CFontManager(CPage* page)
    : CFontManager()
{
    SetPage(page);
}

CFontManager::~CFontManager() = default;

void CFontManager::SetPage(CPage* page)
{
    m_pPage = page;
    if (page)
        m_pagePixelSize = QSize(page->GetPixelWidth(), page->GetPixelHeight());
}

void CFontManager::SetCharacterCell(int pageWidth, int pageHeight, int cellWidth, int cellHeight)
{
    m_pagePixelSize = QSize(pageWidth, pageHeight);

    // Index 0 follows the grid: while the default follows it, or while index
    // 0 has no font, the host fonts build a fixed-pitch template of the cell
    // (MulDiv(cellWidth, 1000, 72) by MulDiv(cellHeight, 1000, 140)) and
    // make the best installed match font 0. The font slots, and with them
    // the fonts' own advance tables, come with the host fonts.
    (void)cellWidth;
    (void)cellHeight;
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
