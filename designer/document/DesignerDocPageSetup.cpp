// The Page Setup sheet's values to and from the document, and Go to Page.

#include "designer/document/DesignerDoc.h"

#include "designer/document/Page.h"
#include "designer/document/PageSetup.h"
#include "designer/document/SpooledFile.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ResourceManager.h"

namespace {

constexpr char kYes[] = "Y";
constexpr char kNo[] = "N";
constexpr char kEqual[] = "EQ";
constexpr char kNotEqual[] = "NE";

BOOL StoreText(CFixedLenString& field, const QString& text)
{
    if (field.IsEqual(text))
        return FALSE;
    field.SetValue(text);
    return TRUE;
}

BOOL StoreNumber(CFixedLenNum& field, int value)
{
    if (field.IsEqual(value))
        return FALSE;
    field.SetValue(value);
    return TRUE;
}

// Zero, with the mark of a field that has no value; a change only when the
// field had one.
BOOL ClearNumber(CFixedLenNum& field)
{
    const BOOL hadValue = !field.IsEmpty();
    field.SetValue(0);
    field.SetEmpty(TRUE);
    return hadValue;
}

// The Language page's values through the manager's setters, in the page's
// order. TRUE when any of them changed the manager.
BOOL ApplyLanguage(CFontManager& fonts, const PageLanguageValues& values)
{
    BOOL changed = FALSE;
    if (fonts.SetFontGroupName(values.groupName))
        changed = TRUE;
    if (values.groupDescription != fonts.GetFontGroupDescription()
        && fonts.SetFontGroupDescription(values.groupDescription))
        changed = TRUE;
    if (values.defaultFontChosen && fonts.ApplyDefaultFont(values.primaryFont, values.secondaryFont))
        changed = TRUE;
    FontLanguageDefaults& defaults = fonts.GetLanguageDefaults();
    const BOOL usePrinterResident = values.usePrinterResident ? TRUE : FALSE;
    if (defaults.usePrinterResidentInfo != usePrinterResident) {
        defaults.usePrinterResidentInfo = usePrinterResident;
        changed = TRUE;
    }
    if (defaults.serverCodePage != values.serverCodePage) {
        defaults.serverCodePage = values.serverCodePage;
        changed = TRUE;
    }
    if (values.codePageId != 0 && fonts.SetCodePageId(values.codePageId))
        changed = TRUE;
    // By name, as the list shows it: a set the list does not name stays
    // while its entry is not changed.
    if (values.charSetName != fonts.GetCharSetName()) {
        fonts.SetDisplayCharSet(CharSetFromName(values.charSetName));
        changed = TRUE;
    }
    return changed;
}

} // namespace

void CDesignerDoc::FillPageSetup(PageSetupValues& values)
{
    values.hasSize = m_pOutputPage != nullptr;
    if (m_pOutputPage != nullptr)
        m_pOutputPage->FillSizePage(values.size);

    if (m_pOutputDevices != nullptr) {
        if (const COutputDevice* device = m_pOutputDevices->GetDefaultDevice()) {
            values.output.name = device->GetName();
            values.output.type = device->GetType();
        }
    }

    PageHeaderValues& header = values.header;
    header.description = m_description.GetValue();
    header.pagesFrom = ClampHeaderNumber(m_firstPage.GetValue());
    header.pagesTo = ClampHeaderNumber(m_lastPage.GetValue());
    header.ignoreFirstPage = m_ignoreFirstPage.GetValue().trimmed() == QLatin1String(kYes) ? 1 : 0;
    header.compareType = m_firstPageCompare.GetValue().trimmed() == QLatin1String(kNotEqual) ? 1 : 0;
    header.compareText = m_firstPageText.GetValue();
    header.line = ClampHeaderNumber(m_firstPageLine.GetValue());
    header.column = ClampHeaderNumber(m_firstPageColumn.GetValue());
    header.width = ClampHeaderNumber(m_firstPageWidth.GetValue());
    header.printerResource = m_resourceLibrary.GetValue();
    header.DeriveCompareMode();

    if (CFontManager* fonts = m_pOutputPage != nullptr ? m_pOutputPage->GetFontManager() : nullptr) {
        PageLanguageValues& language = values.language;
        language.groupName = fonts->GetFontGroupName();
        language.groupDescription = fonts->GetFontGroupDescription();
        language.defaultFontDescription = fonts->GetFontDescription(0);
        language.usePrinterResident = fonts->GetLanguageDefaults().usePrinterResidentInfo ? 1 : 0;
        language.serverCodePage = fonts->GetLanguageDefaults().serverCodePage;
        language.codePageId = fonts->GetCodePageId();
        language.charSetName = fonts->GetCharSetName();
    }

    values.info.buildId = m_buildId;
    values.info.uploadTime = m_uploadTime.Format();
    values.info.uploadPath = m_uploadPath;
}

BOOL CDesignerDoc::ApplyPageSetup(const PageSetupValues& values)
{
    BOOL changed = FALSE;
    if (values.hasSize && m_pOutputPage != nullptr)
        changed = m_pOutputPage->ApplySizePage(values.size);

    if (m_pOutputDevices != nullptr) {
        if (COutputDevice* device = m_pOutputDevices->GetDefaultDevice()) {
            if (device->SetName(values.output.name))
                changed = TRUE;
            if (device->SetType(values.output.type))
                changed = TRUE;
        }
    }

    const PageHeaderValues& header = values.header;
    if (StoreText(m_description, header.description))
        changed = TRUE;
    if (StoreNumber(m_firstPage, header.pagesFrom))
        changed = TRUE;
    if (StoreNumber(m_lastPage, header.pagesTo))
        changed = TRUE;
    if (StoreText(m_ignoreFirstPage, QLatin1String(header.ignoreFirstPage ? kYes : kNo)))
        changed = TRUE;
    if (StoreText(m_firstPageCompare, QLatin1String(header.compareType == 1 ? kNotEqual : kEqual)))
        changed = TRUE;
    if (header.compareMode == PageHeaderValues::CompareText) {
        if (StoreText(m_firstPageText, header.compareText))
            changed = TRUE;
        if (ClearNumber(m_firstPageLine))
            changed = TRUE;
        if (header.andPosition) {
            if (StoreNumber(m_firstPageColumn, header.column))
                changed = TRUE;
            if (StoreNumber(m_firstPageWidth, header.width))
                changed = TRUE;
        } else {
            if (ClearNumber(m_firstPageColumn))
                changed = TRUE;
            if (ClearNumber(m_firstPageWidth))
                changed = TRUE;
        }
    } else {
        if (StoreNumber(m_firstPageLine, header.line))
            changed = TRUE;
        if (StoreNumber(m_firstPageColumn, header.column))
            changed = TRUE;
        if (StoreNumber(m_firstPageWidth, header.width))
            changed = TRUE;
        if (StoreText(m_firstPageText, QString()))
            changed = TRUE;
    }

    CFontManager* fonts = m_pOutputPage != nullptr ? m_pOutputPage->GetFontManager() : nullptr;
    if (fonts != nullptr && ApplyLanguage(*fonts, values.language)) {
        if (m_pSourcePage != nullptr && m_pSourcePage->GetFontManager() != nullptr)
            m_pSourcePage->GetFontManager()->CopyLanguageSettings(fonts);
        changed = TRUE;
    }

    if (!changed)
        return FALSE;
    SetModifiedFlag(TRUE);
    RevalidateElements(0);
    if (m_pImages != nullptr)
        m_pImages->UpdateOrientation();
    if (m_pResources != nullptr)
        m_pResources->UpdateOrientation();
    BroadcastHint(DocumentHint::PageSetupChanged, nullptr);
    return TRUE;
}

BOOL CDesignerDoc::OnFilePageSetup(const std::function<bool(PageSetupValues&)>& runSheet)
{
    CDocChangeGuard guard(this);
    PageSetupValues values;
    FillPageSetup(values);
    // The default font's dialog keeps its list choice as it closes; a
    // cancelled sheet puts it back with everything else.
    CFontManager* fonts = m_pOutputPage != nullptr ? m_pOutputPage->GetFontManager() : nullptr;
    const int listChoice = fonts != nullptr ? fonts->GetFontListChoice() : 0;
    if (!runSheet(values)) {
        if (fonts != nullptr)
            fonts->SetFontListChoice(listChoice);
        return FALSE;
    }
    return ApplyPageSetup(values);
}

BOOL CDesignerDoc::OnGotoSpooledPage(const std::function<int(int current, int total)>& choosePage)
{
    if (m_pSpooledFile == nullptr)
        return FALSE;
    CDocChangeGuard guard(this);
    const BOOL pending = IsDirty();
    BOOL moved = FALSE;
    const int page = choosePage(m_pSpooledFile->GetCurrentPageNumber(), m_pSpooledFile->GetPageCount());
    if (page > 0 && m_pSpooledFile->SetCurrentPage(page)) {
        SetModifiedFlag(TRUE);
        RevalidateElements(1);
        BroadcastHint(DocumentHint::SpooledPageChanged, nullptr);
        moved = TRUE;
    }
    // Only the page move goes uncounted, as Next and Previous Page.
    if (!pending)
        ClearDirty();
    return moved;
}
