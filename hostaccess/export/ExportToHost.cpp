#include "hostaccess/export/ExportToHost.h"

#include "hostaccess/AS400.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/export/SpooledPageEncoder.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QFile>

namespace {

using namespace kwvd::merrow;

// The attribute list, the new spooled file and the converter of one export,
// given back in the reverse order of their making whatever happens.
class NewSpooledFileScope
{
public:
    explicit NewSpooledFileScope(CAS400& host) : m_host(host) {}
    ~NewSpooledFileScope()
    {
        if (converter != 0)
            m_host.DeleteConverter(converter);
        if (newSpooledFile != 0)
            m_host.CloseNewSpooledFile(newSpooledFile);
        if (parameters != 0)
            m_host.DeleteParameterList(parameters);
    }
    NewSpooledFileScope(const NewSpooledFileScope&) = delete;
    NewSpooledFileScope& operator=(const NewSpooledFileScope&) = delete;

    // The attributes, then the spooled file on the system.
    bool Create(const QString& system, const SpooledFileIdentity& identity, const int* pageSize)
    {
        parameters = m_host.CreateParameterList();
        if (parameters == 0 || !SetNewSpooledFileAttributes(pageSize, identity))
            return false;
        newSpooledFile = m_host.CreateNewSpooledFile(system, parameters);
        return newSpooledFile != 0;
    }

    cwbOBJ_ParmHandle parameters = 0;
    cwbOBJ_ObjHandle newSpooledFile = 0;
    cwbNL_Converter converter = 0;

private:
    bool SetNewSpooledFileAttributes(const int* pageSize, const SpooledFileIdentity& identity)
    {
        for (const NewSpooledFileAttribute& attribute : NewSpooledFileAttributes(identity, pageSize)) {
            BOOL set = FALSE;
            switch (attribute.type) {
            case NewSpooledFileAttribute::Type::Text:
                set = m_host.SetParameter(parameters, attribute.key, attribute.text);
                break;
            case NewSpooledFileAttribute::Type::Long:
                set = m_host.SetParameter(parameters, attribute.key, attribute.integer);
                break;
            case NewSpooledFileAttribute::Type::Float:
                set = m_host.SetParameter(parameters, attribute.key, attribute.real);
                break;
            }
            if (!set && attribute.required)
                return false;
        }
        return true;
    }

    CAS400& m_host;
};

// Lines go through the export's converter; a substitution is the user's
// call, question 10119.
class HostPageSink : public SpooledPageSink
{
public:
    HostPageSink(CAS400& host, cwbNL_Converter converter, cwbOBJ_ObjHandle newSpooledFile)
        : m_host(host), m_converter(converter), m_newSpooledFile(newSpooledFile)
    {}

    std::optional<ConvertedLine> ConvertLine(const QString& text) override
    {
        const QByteArray source(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        ConvertedLine line;
        line.bytes.resize(kMaxLineBytes);
        unsigned long converted = 0;
        BOOL cut = FALSE;
        if (!m_host.TranslateBuffer(m_converter, source.constData(), static_cast<unsigned long>(source.size()),
                                    line.bytes.data(), static_cast<unsigned long>(line.bytes.size()), &converted,
                                    &line.warning, &cut))
            return std::nullopt;
        line.bytes.truncate(static_cast<qsizetype>(converted));
        line.cut = cut != FALSE;
        line.substituted = !line.warning.isEmpty();
        return line;
    }

    bool SkipSubstitutedLine(int line, int page, const QString& warning) override
    {
        return Prompts().MessageBox(FormatResMessage(IDS_MERROW_CONVERSION_WARNING_SKIP, line, page, warning), {},
                                    MB_YESNO | MB_ICONQUESTION)
               == IDYES;
    }

    bool Write(const QByteArray& bytes) override
    {
        return m_host.WriteNewSpooledFile(m_newSpooledFile, bytes.constData(),
                                          static_cast<unsigned long>(bytes.size()), QStringLiteral("WriteLineToSpooledFile"))
               != FALSE;
    }

    bool WritePageBreak() override { return m_host.WritePageBreak(m_newSpooledFile) != FALSE; }

private:
    CAS400& m_host;
    cwbNL_Converter m_converter;
    cwbOBJ_ObjHandle m_newSpooledFile;
};

} // namespace

BOOL CheckOutputQueue(CAS400& host, const QString& outputQueue, const QString& library, const QString& system)
{
    if (outputQueue.isEmpty())
        return FALSE;
    const cwbOBJ_ListHandle list = host.CreateListHandle(system);
    if (list == 0)
        return FALSE;
    const BOOL opened = host.SetListFilter(list, outputQueue, library, QStringLiteral("*ALL"), QString())
                        && host.OpenList(list);
    host.CloseList(list);
    host.DeleteListHandle(list);
    return opened;
}

BOOL CreateSpooledFileFromPages(CAS400& host, const QString& system, const SpooledFileIdentity& identity,
                                const SpooledPageList* pages, const int pageSize[2], int ccsid)
{
    unsigned long hostCcsid = static_cast<unsigned long>(ccsid);
    if (hostCcsid == 0 && !host.GetHostCCSID(system, hostCcsid))
        return FALSE;
    unsigned long pcCodePage = 0;
    if (!host.GetPCCodePage(pcCodePage))
        return host.ShowHostError(host.GetErrorHandle(), QStringLiteral("GetPCCodePage"));
    NewSpooledFileScope scope(host);
    // Column mode reads the designer's form of a double-byte line back: its
    // shift characters become SO and SI and the fillers are dropped.
    scope.converter = host.CreateConverter(pcCodePage, hostCcsid, kCwbNlColumnMode);
    if (scope.converter == 0)
        return host.ShowHostError(host.GetErrorHandle(), QStringLiteral("CreateTranslationHandle"));
    if (!scope.Create(system, identity, pageSize))
        return FALSE;
    if (pages == nullptr)
        return TRUE;
    HostPageSink sink(host, scope.converter, scope.newSpooledFile);
    std::vector<UncarriedLine> uncarried;
    if (!EncodeSpooledPages(*pages, sink, uncarried))
        return FALSE;
    if (const QString warning = UncarriedLinesWarning(uncarried); !warning.isEmpty())
        Prompts().MessageBox(warning, {}, MB_OK | MB_ICONWARNING);
    return TRUE;
}

BOOL CreateSpooledFileFromRaw(CAS400& host, const QString& system, const SpooledFileIdentity& identity,
                              QIODevice& file)
{
    NewSpooledFileScope scope(host);
    if (!scope.Create(system, identity, nullptr))
        return FALSE;
    // The bytes go over unchanged, in pieces the host takes at a time.
    char piece[256];
    for (;;) {
        const qint64 read = file.read(piece, sizeof piece);
        if (read < 0)
            return FALSE;
        if (read == 0)
            return TRUE;
        if (!host.WriteNewSpooledFile(scope.newSpooledFile, piece, static_cast<unsigned long>(read),
                                      QStringLiteral("WriteRawDataToSpooledFile")))
            return FALSE;
    }
}

BOOL ExportRawSpooledFile(CAS400& host, const QString& system, const SpooledFileIdentity& identity)
{
    FileDialogRequest request;
    request.filter = LoadResString(IDS_MERROW_RAW_SPOOLED_FILE_FILTER);
    request.defaultExtension = QStringLiteral("raw_splf");
    const QString path = Prompts().GetOpenFileName(request);
    if (path.isEmpty())
        return FALSE;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Prompts().MessageBox(LoadResString(IDS_MERROW_OPEN_FILE_FAILED), {}, MB_OK | MB_ICONWARNING);
        return FALSE;
    }
    return CreateSpooledFileFromRaw(host, system, identity, file);
}
