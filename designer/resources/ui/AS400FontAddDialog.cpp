#include "designer/resources/ui/AS400FontAddDialog.h"

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <array>

namespace {

constexpr std::array kNumberFields = {
    CAS400FontAddDialog::IDC_FGID,  CAS400FontAddDialog::IDC_CODE_PAGE_ID, CAS400FontAddDialog::IDC_CHARACTER_ID,
    CAS400FontAddDialog::IDC_WIDTH, CAS400FontAddDialog::IDC_HEIGHT,
};

bool Fails(UINT messageId)
{
    AfxMessageBox(LoadResString(messageId), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

} // namespace

CAS400FontAddDialog::CAS400FontAddDialog()
{
    BindCheck(IDC_BOLD, &bold);
    BindText(IDC_CHARSET_NAME, &charSetName, kNameLimit);
    BindCheck(IDC_ITALIC, &italic);
    BindText(IDC_FAMILY_NAME, &familyName);
    BindCheck(IDC_STRIKEOUT, &strikeout);
    BindCheck(IDC_UNDERLINE, &underline);
    BindUInt(IDC_FGID, &fgid);
    BindText(IDC_LIBRARY, &library, kLibraryLimit);
    BindUInt(IDC_CODE_PAGE_ID, &codePageId);
    BindUInt(IDC_CHARACTER_ID, &characterId);
    BindUInt(IDC_WIDTH, &width);
    BindUInt(IDC_HEIGHT, &height);
    BindSelection(IDC_STYLE, &styleIndex);
    BindText(IDC_CODE_PAGE_NAME, &codePageName, kNameLimit);
    BindText(IDC_CODED_FONT_NAME, &codedFontName, kNameLimit);
    BindCheck(IDC_DBCS, &dbcs);
    Control(IDC_STYLE).items = StyleTexts();
}

CAS400FontAddDialog::~CAS400FontAddDialog() = default;

QStringList CAS400FontAddDialog::StyleTexts()
{
    return {QStringLiteral("None"),   QStringLiteral("Roman"),  QStringLiteral("Swiss"),
            QStringLiteral("Modern"), QStringLiteral("Script"), QStringLiteral("Decorative")};
}

QString CAS400FontAddDialog::ExchangeFileFilter()
{
    return QStringLiteral("Font Exchange Files (*.fef)|*.fef|All Files (*.*)|*.*||");
}

QString CAS400FontAddDialog::Title() const
{
    return LoadResString(editMode ? IDS_FONT_EDIT_TITLE : IDS_FONT_ADD_TITLE);
}

void CAS400FontAddDialog::TakeFrom(const CAS400Font& from)
{
    bold = (from.GetFlags() & CAS400Font::kBold) != 0 ? 1 : 0;
    italic = (from.GetFlags() & CAS400Font::kItalic) != 0 ? 1 : 0;
    underline = (from.GetFlags() & CAS400Font::kUnderline) != 0 ? 1 : 0;
    strikeout = (from.GetFlags() & CAS400Font::kStrikeout) != 0 ? 1 : 0;
    charSetName = from.GetCharSetName();
    familyName = from.GetTypeface();
    fgid = from.m_nFGID;
    library = from.GetLibrary();
    codePageId = from.m_nCodePageId;
    characterId = from.m_nCharacterId;
    width = from.GetWidth();
    height = from.GetHeight();
    styleIndex = from.GetFamily() >> 4;
    if (styleIndex >= static_cast<int>(StyleTexts().size()))
        styleIndex = 0;
    codePageName = from.GetCodePageName();
    codedFontName = from.GetCodedFontName();
    dbcs = from.m_bDBCS ? 1 : 0;
}

BOOL CAS400FontAddDialog::OnInitDialog()
{
    if (font != nullptr)
        TakeFrom(*font);
    if (!editMode && fontManager != nullptr) {
        const FontLanguageDefaults& defaults = fontManager->GetLanguageDefaults();
        if (codePageName.isEmpty())
            codePageName = defaults.serverCodePage;
        if (characterId == 0)
            characterId = defaults.characterId;
    }
    ShowValues();
    return TRUE;
}

void CAS400FontAddDialog::EnableByDbcs()
{
    Control(IDC_CHARSET_NAME).enabled = dbcs == 0;
    Control(IDC_CODE_PAGE_NAME).enabled = dbcs == 0;
    Control(IDC_CODED_FONT_NAME).enabled = dbcs != 0;
}

void CAS400FontAddDialog::ShowValues()
{
    Push();
    for (int id : kNumberFields) {
        if (Control(id).text == QStringLiteral("0"))
            Control(id).text.clear();
    }
    EnableByDbcs();
}

bool CAS400FontAddDialog::ReadValues()
{
    for (int id : kNumberFields) {
        if (Control(id).text.isEmpty())
            Control(id).text = QStringLiteral("0");
    }
    const bool read = Pull();
    // The host names are upper-case, as the fields are typed.
    for (QString* name : {&charSetName, &library, &codePageName, &codedFontName})
        *name = name->toUpper();
    return read;
}

void CAS400FontAddDialog::OnDbcs()
{
    ReadValues();
    EnableByDbcs();
}

bool CAS400FontAddDialog::ValidateFont() const
{
    if (familyName.isEmpty())
        return Fails(IDS_FONT_FAMILY_NEEDED);
    if (library.isEmpty())
        return Fails(IDS_FONT_LIBRARY_NEEDED);
    if (fgid == 0 && charSetName.isEmpty())
        return Fails(IDS_FONT_GROUP_OR_CHARSET_NEEDED);
    if (height > kNumberMax)
        return Fails(IDS_FONT_HEIGHT_RANGE);
    if (!charSetName.isEmpty() && codePageName.isEmpty())
        return Fails(IDS_FONT_CODE_PAGE_NEEDED);
    if (fgid == 0)
        return true;
    if (fgid > kNumberMax)
        return Fails(IDS_FONT_FGID_RANGE);
    if (width == 0 || width > kNumberMax)
        return Fails(IDS_FONT_WIDTH_RANGE);
    if (characterId == 0 || characterId > kNumberMax)
        return Fails(IDS_FONT_CHARACTER_ID_RANGE);
    if (codePageId > kNumberMax)
        return Fails(IDS_FONT_CODE_PAGE_ID_RANGE);
    return true;
}

std::unique_ptr<CAS400Font> CAS400FontAddDialog::MakeFont() const
{
    if (!ValidateFont())
        return nullptr;
    return std::make_unique<CAS400Font>(charSetName, codePageName, fgid, codePageId, characterId,
                                        static_cast<BYTE>(styleIndex * 16), familyName, width, height,
                                        bold ? TRUE : FALSE, italic ? TRUE : FALSE, underline ? TRUE : FALSE,
                                        strikeout ? TRUE : FALSE, library, codedFontName, dbcs ? TRUE : FALSE);
}

void CAS400FontAddDialog::OnAdd()
{
    if (editMode || !ReadValues())
        return;
    if (std::unique_ptr<CAS400Font> made = MakeFont()) {
        if (CFontManager::AddToMasterList(made.get())) {
            font = made.release();
            changed = TRUE;
        }
    }
    ShowValues();
}

BOOL CAS400FontAddDialog::ApplyTo(CAS400Font& target) const
{
    BOOL any = FALSE;
    any |= target.SetCharSetName(charSetName);
    any |= target.SetTypeface(familyName);
    any |= target.SetLibrary(library);
    any |= target.SetCodePageName(codePageName);
    any |= target.SetWidth(width);
    any |= target.SetHeight(height);
    // The pitch and the other style bits are not the dialog's to change.
    any |= target.SetFamily(static_cast<BYTE>((target.GetPitchAndFamily() & 0x0F) | (styleIndex * 16)));
    DWORD flags = target.GetFlags()
                  & ~(CAS400Font::kBold | CAS400Font::kItalic | CAS400Font::kUnderline | CAS400Font::kStrikeout);
    flags |= (bold ? CAS400Font::kBold : 0) | (italic ? CAS400Font::kItalic : 0)
             | (underline ? CAS400Font::kUnderline : 0) | (strikeout ? CAS400Font::kStrikeout : 0);
    any |= target.SetFlags(flags);
    any |= target.SetCodedFontName(codedFontName);
    const BOOL newDbcs = dbcs ? TRUE : FALSE;
    if (target.m_nFGID != fgid || target.m_nCodePageId != codePageId || target.m_nCharacterId != characterId
        || (target.m_bDBCS ? TRUE : FALSE) != newDbcs)
        any = TRUE;
    target.m_nFGID = fgid;
    target.m_nCodePageId = codePageId;
    target.m_nCharacterId = characterId;
    target.m_bDBCS = newDbcs;
    return any;
}

bool CAS400FontAddDialog::OnOK()
{
    if (!ReadValues())
        return false;
    if (editMode) {
        if (!ValidateFont()) {
            ShowValues();
            return false;
        }
        if (font != nullptr && ApplyTo(*font))
            changed = TRUE;
        return true;
    }
    font = nullptr;
    std::unique_ptr<CAS400Font> made = MakeFont();
    if (!made) {
        ShowValues();
        return false;
    }
    if (CFontManager::AddToMasterList(made.get())) {
        font = made.release();
        changed = TRUE;
    }
    return true;
}

void CAS400FontAddDialog::OnImport()
{
    if (fontManager == nullptr)
        return;
    FileDialogRequest request;
    request.filter = ExchangeFileFilter();
    for (;;) {
        const QString path = Prompts().GetOpenFileName(request);
        if (path.isEmpty() || fontManager->ImportFontExchangeFile(path))
            return;
    }
}

void CAS400FontAddDialog::OnExport()
{
    if (fontManager == nullptr)
        return;
    FileDialogRequest request;
    request.filter = ExchangeFileFilter();
    request.confirmOverwrite = false;
    for (;;) {
        const QString path = Prompts().GetSaveFileName(request);
        if (path.isEmpty() || fontManager->ExportFontExchangeFile(path))
            return;
    }
}
