// Font exchange files: plain text records of host fonts that the master font
// list exports and imports, completed on import from the font table.

#include "designer/document/jvx/JVXArchive.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontFGID.h"
#include "designer/resources/fonts/AS400FontMaker.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/File.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <memory>
#include <vector>

namespace {

void ReportFileError(const CException& error, UINT messageId, const QString& path)
{
    if (Preferences().EnableDebugServices)
        ReportError(error);
    AfxMessageBox(FormatResMessage(messageId, path), MB_OK | MB_ICONERROR);
}

} // namespace

BOOL CFontManager::ImportFontExchangeFile(const QString& path)
{
    return ImportFontExchangeFile(path, m_languageDefaults);
}

BOOL CFontManager::ImportFontExchangeFile(const QString& path, const FontLanguageDefaults& defaults)
{
    std::vector<std::unique_ptr<CAS400Font>> records;
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        CJVXArchive ar(0, CJVXArchive::load, nullptr, &file);
        while (!ar.IsAtEnd()) {
            auto record = std::make_unique<CAS400Font>();
            try {
                record->ExchangeFontFile(ar);
            } catch (const CArchiveException& error) {
                // A record cut short by the end of the file goes with it.
                if (error.m_cause == CArchiveException::endOfFile)
                    break;
                throw;
            }
            records.push_back(std::move(record));
        }
    } catch (const CException& error) {
        ReportFileError(error, IDS_FILE_READ_ERROR, path);
        return FALSE;
    }

    CAS400FontMaker maker(defaults.codePageId, defaults.characterId, defaults.serverCodePage);
    for (auto& record : records) {
        const CAS400FontFGID* entry =
            record->m_nFGID != 0 ? maker.FindFgid(record->m_nFGID) : maker.FindFgidByTypeface(*record);
        if (entry != nullptr) {
            record->m_nFGID = entry->m_nFGID;
            record->SetFamily(entry->m_nPitchAndFamily);
        }
        if (AddToMasterList(record.get()))
            record.release();
    }
    return TRUE;
}

BOOL CFontManager::ExportFontExchangeFile(const QString& path)
{
    try {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        CObList* master = GetMasterFontList();
        if (master == nullptr)
            return FALSE;
        CJVXArchive ar(0, CJVXArchive::store, nullptr, &file);
        for (CObject* object : *master)
            static_cast<CAS400Font*>(object)->ExchangeFontFile(ar);
        file.Close();
    } catch (const CException& error) {
        ReportFileError(error, IDS_FILE_SAVE_ERROR, path);
        return FALSE;
    }
    return TRUE;
}
