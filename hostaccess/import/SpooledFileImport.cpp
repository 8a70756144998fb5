#include "hostaccess/import/SpooledFileImport.h"

#include "hostaccess/MerrowStrings.h"
#include "hostaccess/import/ImportStrings.h"
#include "hostaccess/import/SelSpooledFileDialog.h"
#include "hostaccess/import/scs/SpooledDataReader.h"
#include "hostaccess/import/scs/SpooledPages.h"
#include "platform/clientaccess/CodePages.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <QStringList>

#include <vector>

namespace {

// The open spooled file, read through the wrapper.
class HostSpooledFileSource : public SpooledByteSource
{
public:
    HostSpooledFileSource(CAS400& as400, cwbOBJ_ObjHandle object) : m_as400(as400), m_object(object) {}

    bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) override
    {
        unsigned long count = static_cast<unsigned long>(length);
        if (!m_as400.ReadSpooledFile(m_object, buffer, &count))
            return false;
        bytesRead = count;
        return true;
    }

private:
    CAS400& m_as400;
    cwbOBJ_ObjHandle m_object;
};

// Each line through the converter the import made, in column mode.
class HostLineConverter : public SpooledLineConverter
{
public:
    HostLineConverter(CAS400& as400, cwbNL_Converter converter) : m_as400(as400), m_converter(converter) {}

    bool Convert(const unsigned char* bytes, int length, QString& text, QString& warning) override
    {
        return m_as400.TranslateToString(m_converter, reinterpret_cast<const char*>(bytes),
                                         static_cast<unsigned long>(length), text, &warning) != 0;
    }

private:
    CAS400& m_as400;
    cwbNL_Converter m_converter;
};

// Thrown inside the raw save when the host stops delivering, so that the
// half-written file is dropped.
struct RawReadFailed
{};

} // namespace

BOOL ReadSpooledFileAttributes(CAS400& as400, cwbOBJ_ObjHandle object, SpooledFileIdentity& identity,
                               const SpooledDateSettings& dateSettings)
{
    QString value;
    const auto read = [&](cwbOBJ_KeyID key) { return as400.GetObjectAttribute(object, key, value) != FALSE; };
    if (!read(kSplfAttributeFile))
        return FALSE;
    identity.SetFileName(value);
    if (!read(kSplfAttributeUser))
        return FALSE;
    identity.SetUserName(value);
    if (!read(kSplfAttributeUserData))
        return FALSE;
    identity.SetUserData(value);
    if (!read(kSplfAttributeTotalPages))
        return FALSE;
    identity.SetTotalPages(value);
    if (!read(kSplfAttributeDate))
        return FALSE;
    identity.SetDate(FormatHostDate(value, dateSettings));
    if (!read(kSplfAttributeTime))
        return FALSE;
    identity.SetTime(FormatHostTime(value, dateSettings));
    if (read(kSplfAttributeDbcsData))
        identity.SetDbcsData(value);
    if (read(kSplfAttributeDbcsExtensions))
        identity.SetDbcsExtensions(value);
    if (read(kSplfAttributeCharSet))
        identity.SetCharSet(value);
    return TRUE;
}

BOOL SaveRawSpooledFile(CAS400& as400, cwbOBJ_ObjHandle object, const unsigned char* alreadyRead, std::size_t count)
{
    RegisterImportStrings();
    FileDialogRequest request;
    request.filter = LoadResString(IDS_MERROW_RAW_SPOOLED_FILE_FILTER);
    request.defaultExtension = QStringLiteral("raw_splf");
    const QString path = Prompts().GetSaveFileName(request);
    if (path.isEmpty())
        return FALSE;

    try {
        kwvd::SaveFileReplacing(path, [&](CFile& file) {
            if (count > 0)
                file.Write(alreadyRead, static_cast<UINT>(count));
            std::vector<unsigned char> block(std::max<std::size_t>(count, 1));
            unsigned long asked = static_cast<unsigned long>(count);
            while (asked > 0) {
                block.resize(asked);
                unsigned long delivered = asked;
                if (!as400.ReadSpooledFile(object, block.data(), &delivered))
                    throw RawReadFailed{};
                if (delivered == 0)
                    break;
                file.Write(block.data(), static_cast<UINT>(delivered));
                asked = delivered;
            }
        });
    } catch (const RawReadFailed&) {
        AfxMessageBox(FormatResMessage(IDS_MERROW_RAW_SAVE_FAILED, path), MB_ICONWARNING);
        return FALSE;
    } catch (const CFileException&) {
        // The target could not be made or written: the box the original
        // showed for a file it could not create, then ours.
        AfxMessageBox(IDS_MERROW_OPEN_FILE_FAILED, MB_ICONWARNING);
        AfxMessageBox(FormatResMessage(IDS_MERROW_RAW_SAVE_FAILED, path), MB_ICONWARNING);
        return FALSE;
    }
    return TRUE;
}

int ImportSpooledFile(CSelSpooledFileDialog& dialog, SpooledPageList* pages)
{
    CWaitCursor wait;
    RegisterImportStrings();
    const cwbOBJ_ObjHandle object = dialog.GetChosenObject();
    if (pages == nullptr || object == 0)
        return kImportNothing;
    CAS400& as400 = dialog.Host();
    if (!as400.OpenSpooledFile(object))
        return kImportNothing;

    int status = kImportReadFailed;
    cwbNL_Converter converter = 0;
    SpooledPagesResult outcome;
    do {
        unsigned long ccsid = static_cast<unsigned long>(dialog.ccsid);
        if (ccsid == 0) {
            if (!as400.GetHostCCSID(dialog.system, ccsid)) {
                as400.ShowHostError(as400.GetErrorHandle(), QStringLiteral("GetAS400CodePage"));
                break;
            }
            dialog.ccsid = static_cast<int>(ccsid);
        }
        // The designer's text is UTF-16; column mode keeps SO, SI and a
        // filler per double-byte character, so every host column stays one.
        unsigned long pcCodePage = 0;
        if (!as400.GetPCCodePage(pcCodePage)) {
            as400.ShowHostError(as400.GetErrorHandle(), QStringLiteral("GetPCCodePage"));
            break;
        }
        converter = as400.CreateConverter(ccsid, pcCodePage, kCwbNlColumnMode);
        if (converter == 0) {
            as400.ShowHostError(as400.GetErrorHandle(), QStringLiteral("CreateTranslationHandle"));
            break;
        }

        HostSpooledFileSource source(as400, object);
        SpooledDataReader reader(source);
        if (!reader.ReadFirstBlock())
            break;
        const unsigned type = as400.AnalyseSplFData(reader.BlockData(), reader.BlockLength());
        if (type != kCwbObjDataScs && type != kCwbObjDataUserAscii) {
            status = kImportNotSupported;
            if (AfxMessageBox(IDS_MERROW_INVALID_FORMAT_SAVE, MB_YESNO | MB_ICONQUESTION) == IDYES)
                SaveRawSpooledFile(as400, object, reader.BlockData(), reader.BlockLength());
            break;
        }

        HostLineConverter lines(as400, converter);
        outcome = ReadSpooledPages(reader,
                                   type == kCwbObjDataUserAscii ? SpooledDataKind::UserAscii : SpooledDataKind::Scs,
                                   dialog.firstPage, dialog.maximumPages, lines, *pages);
        status = outcome.status;
    } while (false);

    if (converter != 0)
        as400.DeleteConverter(converter);
    as400.CloseSpooledFile(object);

    if (status == kImportNotSupported) {
        AfxMessageBox(IDS_MERROW_NOT_SCS_OR_USERASCII);
    } else if (status == kImportReadFailed) {
        AfxMessageBox(IDS_MERROW_READ_FAILED);
    } else {
        if (outcome.pagesKept == 0)
            AfxMessageBox(FormatResMessage(IDS_MERROW_NO_PAGE_IN_RANGE, outcome.pagesSeen, dialog.firstPage),
                          MB_ICONINFORMATION);
        if (!outcome.warnings.empty()) {
            QStringList lines;
            for (const SpooledLineWarning& warning : outcome.warnings)
                lines << FormatResMessage(IDS_MERROW_WARNING_LINE, warning.page, warning.line, warning.text);
            AfxMessageBox(LoadResString(IDS_MERROW_LOADED_WITH_WARNINGS) + lines.join(u'\n'), MB_ICONWARNING);
        }
    }
    return status;
}
