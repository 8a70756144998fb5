#include "designer/resources/ui/AS400FontDialog.h"

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

namespace {

bool Contains(const std::vector<CAS400Font*>& fonts, const CAS400Font* font)
{
    return std::find(fonts.begin(), fonts.end(), font) != fonts.end();
}

} // namespace

CAS400FontDialog::CAS400FontDialog()
{
    BindText(IDC_FONT_INDEX, &m_fontIndexText);
    for (int id : {IDC_DOWNLOADABLE, IDC_PRINTER_RESIDENT})
        Control(id).enabled = false;
}

QString CAS400FontDialog::Title() const
{
    if (mode == kSecondaryMode)
        return LoadResString(IDS_FONT_SECONDARY_TITLE);
    return LoadResString(DialogTextId(IDD, 0));
}

QString CAS400FontDialog::SizeText(DWORD height)
{
    // Tenths of a point, rounded half up.
    return QString::number((static_cast<qulonglong>(height) + 5) / 10);
}

BOOL CAS400FontDialog::OnInitDialog()
{
    if (mode == kSecondaryMode) {
        m_dbcsShown = false;
    } else {
        m_primary = nullptr;
        m_secondary = nullptr;
        if (fontManager != nullptr) {
            if (const CSelectedFontHolder* holder = fontManager->GetFontList().GetHolder(fontIndex)) {
                m_primary = holder->GetPrimary();
                m_secondary = holder->GetSecondary();
            }
        }
        m_dbcsShown = fontManager != nullptr && fontManager->IsDbcsCcsid();
    }
    // Only leading blanks go: the sample may end in spaces on purpose.
    qsizetype blanks = 0;
    while (blanks < sampleText.size() && sampleText.at(blanks).isSpace())
        ++blanks;
    sampleText.remove(0, blanks);
    if (sampleText.isEmpty())
        sampleText = QStringLiteral("AaBbYyZz");
    Control(IDC_SAMPLE).text = sampleText;
    m_fontIndexText = QString::number(fontIndex);
    int used = 0;
    int maximum = 0;
    if (fontManager != nullptr) {
        const CSelectedFontList& list = fontManager->GetFontList();
        for (int index = 0; index < list.GetSize(); ++index) {
            if (list.GetHolder(index) != nullptr)
                ++used;
        }
        maximum = fontManager->GetMaxFonts();
    }
    Control(IDC_FONTS_USED).text = QString::number(used);
    Control(IDC_MAX_FONTS).text = QString::number(maximum);
    Push();
    PushRadio();
    FillFontList();
    SelectFont(GetCurrentFont());
    Changed();
    return TRUE;
}

void CAS400FontDialog::PushRadio()
{
    Control(IDC_DOCUMENT_FONTS).check = displayChoice == kDocumentFonts ? 1 : 0;
    Control(IDC_ALL_FONTS).check = displayChoice == kAllFonts ? 1 : 0;
}

void CAS400FontDialog::Changed()
{
    if (m_controlsChanged)
        m_controlsChanged();
}

void CAS400FontDialog::ClearSelection()
{
    m_sampleFont.reset();
    Control(IDC_DOWNLOADABLE).check = 2;
    Control(IDC_PRINTER_RESIDENT).check = 2;
}

void CAS400FontDialog::FillFontList()
{
    m_candidates.clear();
    m_styleFlags.clear();
    m_sizeFonts.clear();
    for (int id : {IDC_TYPEFACE, IDC_STYLE, IDC_SIZE}) {
        Control(id).items.clear();
        Control(id).selection = -1;
        Control(id).text.clear();
    }
    ClearSelection();
    if (fontManager == nullptr)
        return;

    if (displayChoice == kAllFonts) {
        if (!CFontManager::GetInstalledFonts(m_candidates))
            m_candidates.clear();
    } else {
        const CSelectedFontList& list = fontManager->GetFontList();
        for (int index = 0; index < list.GetSize(); ++index) {
            const CSelectedFontHolder* holder = list.GetHolder(index);
            if (holder == nullptr)
                continue;
            // In mode 2 the document's double-byte fonts are its secondary
            // fonts and any double-byte primary font.
            if (mode == kSecondaryMode && holder->GetSecondary() != nullptr
                && !Contains(m_candidates, holder->GetSecondary()))
                m_candidates.push_back(holder->GetSecondary());
            if (holder->GetPrimary() != nullptr && !Contains(m_candidates, holder->GetPrimary()))
                m_candidates.push_back(holder->GetPrimary());
        }
    }

    const BOOL wantDbcs = mode == kSecondaryMode ? TRUE : FALSE;
    QStringList& faces = Control(IDC_TYPEFACE).items;
    for (const CAS400Font* font : m_candidates) {
        if ((font->m_bDBCS ? TRUE : FALSE) != wantDbcs)
            continue;
        const QString& face = font->GetTypeface();
        const bool listed = std::any_of(faces.begin(), faces.end(), [&face](const QString& item) {
            return item.compare(face, Qt::CaseInsensitive) == 0;
        });
        if (!listed)
            faces << face;
    }
    // The list is a sorted combo box.
    std::stable_sort(faces.begin(), faces.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

void CAS400FontDialog::OnSelectTypeface(int item)
{
    DialogControlState& faces = Control(IDC_TYPEFACE);
    faces.selection = item >= 0 && item < faces.items.size() ? item : -1;
    faces.text = faces.selection >= 0 ? faces.items.at(faces.selection) : QString();
    m_styleFlags.clear();
    m_sizeFonts.clear();
    Control(IDC_STYLE).items.clear();
    Control(IDC_SIZE).items.clear();
    const BOOL wantDbcs = mode == kSecondaryMode ? TRUE : FALSE;
    if (faces.selection >= 0) {
        for (const CAS400Font* font : m_candidates) {
            if (font->GetTypeface() == faces.text && (font->m_bDBCS ? TRUE : FALSE) == wantDbcs
                && std::find(m_styleFlags.begin(), m_styleFlags.end(), font->GetFlags()) == m_styleFlags.end())
                m_styleFlags.push_back(font->GetFlags());
        }
        std::sort(m_styleFlags.begin(), m_styleFlags.end());
        for (DWORD flags : m_styleFlags) {
            CAS400Font styled;
            styled.SetFlags(flags);
            Control(IDC_STYLE).items << styled.GetStyleText();
        }
    }
    OnSelectStyle(m_styleFlags.empty() ? -1 : 0);
}

void CAS400FontDialog::OnSelectStyle(int item)
{
    DialogControlState& styles = Control(IDC_STYLE);
    styles.selection = item >= 0 && item < static_cast<int>(m_styleFlags.size()) ? item : -1;
    m_sizeFonts.clear();
    Control(IDC_SIZE).items.clear();
    if (styles.selection >= 0) {
        const QString& face = Control(IDC_TYPEFACE).text;
        const DWORD flags = m_styleFlags[static_cast<size_t>(styles.selection)];
        const BOOL wantDbcs = mode == kSecondaryMode ? TRUE : FALSE;
        for (CAS400Font* font : m_candidates) {
            if (font->GetTypeface() != face || font->GetFlags() != flags || (font->m_bDBCS ? TRUE : FALSE) != wantDbcs)
                continue;
            const bool heightListed = std::any_of(m_sizeFonts.begin(), m_sizeFonts.end(), [font](const CAS400Font* f) {
                return f->GetHeight() == font->GetHeight();
            });
            if (!heightListed)
                m_sizeFonts.push_back(font);
        }
        std::stable_sort(m_sizeFonts.begin(), m_sizeFonts.end(),
                         [](const CAS400Font* a, const CAS400Font* b) { return a->GetHeight() < b->GetHeight(); });
        for (const CAS400Font* font : m_sizeFonts)
            Control(IDC_SIZE).items << SizeText(font->GetHeight());
    }
    OnSelectSize(m_sizeFonts.empty() ? -1 : 0);
}

void CAS400FontDialog::OnSelectSize(int item)
{
    Control(IDC_SIZE).selection = item >= 0 && item < static_cast<int>(m_sizeFonts.size()) ? item : -1;
    ShowSelectedSize();
    Changed();
}

CAS400Font* CAS400FontDialog::GetSelectedSizeFont() const
{
    const DialogControlState* sizes = FindControl(IDC_SIZE);
    if (sizes == nullptr || sizes->selection < 0 || sizes->selection >= static_cast<int>(m_sizeFonts.size()))
        return nullptr;
    return m_sizeFonts[static_cast<size_t>(sizes->selection)];
}

void CAS400FontDialog::ShowSelectedSize()
{
    CAS400Font* font = GetSelectedSizeFont();
    if (font == nullptr) {
        ClearSelection();
        return;
    }
    const BYTE charSet = fontManager != nullptr ? fontManager->GetDisplayCharSet() : 0;
    const QFont* display = font->GetWindowsFont(charSet);
    m_sampleFont = display != nullptr ? std::optional<QFont>(*display) : std::nullopt;
    Control(IDC_DOWNLOADABLE).check = font->GetCharSetName().isEmpty() ? 0 : 1;
    Control(IDC_PRINTER_RESIDENT).check = font->m_nFGID > 0 ? 1 : 0;
}

void CAS400FontDialog::SelectFont(CAS400Font* font)
{
    if (font == nullptr)
        return;
    const QStringList& faces = Control(IDC_TYPEFACE).items;
    const auto face = std::find_if(faces.begin(), faces.end(), [font](const QString& item) {
        return item.compare(font->GetTypeface(), Qt::CaseInsensitive) == 0;
    });
    if (face == faces.end())
        return;
    OnSelectTypeface(static_cast<int>(face - faces.begin()));
    const auto style = std::find(m_styleFlags.begin(), m_styleFlags.end(), font->GetFlags());
    if (style == m_styleFlags.end())
        return;
    OnSelectStyle(static_cast<int>(style - m_styleFlags.begin()));
    const auto size = std::find_if(m_sizeFonts.begin(), m_sizeFonts.end(),
                                   [font](const CAS400Font* item) { return item->GetHeight() == font->GetHeight(); });
    if (size == m_sizeFonts.end())
        return;
    OnSelectSize(static_cast<int>(size - m_sizeFonts.begin()));
}

BOOL CAS400FontDialog::SetCurrentFont(CAS400Font* font)
{
    if (font != nullptr) {
        const bool dbcs = font->m_bDBCS != FALSE;
        if (dbcs != (mode == kSecondaryMode))
            return FALSE;
    }
    CAS400Font*& current = mode == kSecondaryMode ? m_secondary : m_primary;
    if (current == font)
        return FALSE;
    current = font;
    return TRUE;
}

bool CAS400FontDialog::OnOK()
{
    Pull();
    SetCurrentFont(GetSelectedSizeFont());
    return true;
}

void CAS400FontDialog::OnDbcsFont()
{
    if (mode != kPrimaryMode || !m_runSecondary)
        return;
    CAS400FontDialog secondary;
    secondary.fontManager = fontManager;
    secondary.mode = kSecondaryMode;
    secondary.displayChoice = displayChoice;
    secondary.fontIndex = fontIndex;
    secondary.sampleText = sampleText;
    secondary.SetSecondaryFont(m_secondary);
    if (m_runSecondary(secondary))
        m_secondary = secondary.GetSecondaryFont();
}

void CAS400FontDialog::RefillAndSelect()
{
    FillFontList();
    SelectFont(GetCurrentFont());
    Changed();
}

void CAS400FontDialog::OnDisplayChoice(int choice)
{
    if (choice != kDocumentFonts && choice != kAllFonts)
        return;
    Control(IDC_DOCUMENT_FONTS).check = choice == kDocumentFonts ? 1 : 0;
    Control(IDC_ALL_FONTS).check = choice == kAllFonts ? 1 : 0;
    if (choice == displayChoice)
        return;
    displayChoice = choice;
    RefillAndSelect();
}

void CAS400FontDialog::OnDefaultFont()
{
    CAS400Font* font = nullptr;
    if (fontManager != nullptr) {
        if (const CSelectedFontHolder* holder = fontManager->GetFontList().GetHolder(0))
            font = mode == kSecondaryMode ? holder->GetSecondary() : holder->GetPrimary();
    }
    SetCurrentFont(font);
    SelectFont(GetCurrentFont());
    Changed();
}

void CAS400FontDialog::OnAdd(QObject* window)
{
    if (fontManager == nullptr)
        return;
    CAS400Font* font = GetSelectedSizeFont();
    if (!fontManager->AddFont(window, &font))
        return;
    FillFontList();
    SetCurrentFont(font);
    SelectFont(GetCurrentFont());
    Changed();
}

void CAS400FontDialog::OnEdit(QObject* window)
{
    CAS400Font* font = GetSelectedSizeFont();
    if (fontManager == nullptr || font == nullptr || !fontManager->EditFont(font, window))
        return;
    FillFontList();
    SetCurrentFont(font);
    SelectFont(GetCurrentFont());
    Changed();
}

void CAS400FontDialog::OnRemove()
{
    if (AfxMessageBox(LoadResString(IDS_FONT_REMOVE_QUESTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CAS400Font* font = GetSelectedSizeFont();
    if (fontManager == nullptr || font == nullptr || !fontManager->DeleteMasterFont(font))
        return;
    // The font is off the master list: the lists must not offer it again.
    if (m_primary == font)
        m_primary = nullptr;
    if (m_secondary == font)
        m_secondary = nullptr;
    RefillAndSelect();
}
