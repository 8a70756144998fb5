#include "hostaccess/AS400.h"

#include "platform/framework/Cp1252.h"
#include "platform/ui/PromptHelpers.h"

#include <QByteArray>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Narrow(const QString& text)
{
    return kwvd::ToCp1252(text);
}

// The output of a converter read as text of its target code page.
QString DecodeConverted(const char* bytes, unsigned long length, unsigned long codePage)
{
    switch (codePage) {
    case 1202:
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes), static_cast<qsizetype>(length / 2));
    case 1200:
    case 13488: {
        QString text;
        text.reserve(static_cast<qsizetype>(length / 2));
        for (unsigned long i = 0; i + 1 < length; i += 2)
            text.append(QChar(static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8)
                                                    | static_cast<unsigned char>(bytes[i + 1]))));
        return text;
    }
    case 1208:
        return QString::fromUtf8(bytes, static_cast<qsizetype>(length));
    default:
        return kwvd::FromCp1252(std::string_view(bytes, length));
    }
}

} // namespace

CAS400::CAS400() = default;

CAS400::~CAS400()
{
    if (m_converter != 0)
        cwbNL_DeleteConverter(m_converter, 0);
    if (m_errorHandle != 0)
        cwbSV_DeleteErrHandle(m_errorHandle);
}

cwbSV_ErrHandle CAS400::GetErrorHandle()
{
    if (m_errorHandle == 0) {
        cwbSV_ErrHandle handle = 0;
        if (cwbSV_CreateErrHandle(&handle) == kCwbOk)
            m_errorHandle = handle;
    }
    return m_errorHandle;
}

void CAS400::DropHostMessages()
{
    // The layer keeps every message of a handle until it goes: a fresh one
    // starts empty.
    if (m_errorHandle != 0)
        cwbSV_DeleteErrHandle(m_errorHandle);
    m_errorHandle = 0;
}

QString CAS400::GetHostErrorText(cwbSV_ErrHandle errorHandle)
{
    if (errorHandle == 0)
        return {};
    char probe[1] = {0};
    unsigned long needed = 0;
    QString text;
    const unsigned rc = cwbSV_GetErrText(errorHandle, probe, sizeof probe, &needed);
    if (rc == kCwbOk) {
        text.clear();
    } else if (rc == kCwbTargetTooSmall) {
        std::vector<char> buffer(needed + 1, '\0');
        unsigned long again = 0;
        if (cwbSV_GetErrText(errorHandle, buffer.data(), static_cast<unsigned long>(buffer.size()), &again) == kCwbOk)
            text = kwvd::FromCp1252(std::string_view(buffer.data(), std::strlen(buffer.data())));
    }
    // kCwbNoMessages and kCwbInvalidHandle: nothing to say.
    if (errorHandle == m_errorHandle)
        DropHostMessages();
    return text;
}

int CAS400::ShowHostError(cwbSV_ErrHandle errorHandle, const QString& label)
{
    if (errorHandle == 0) {
        AfxMessageBox(label, MB_OK);
        return 0;
    }
    const QString text = GetHostErrorText(errorHandle);
    if (!text.isEmpty())
        AfxMessageBox(text, MB_OK);
    return 0;
}

cwbCO_SysHandle CAS400::CreateSystemHandle(const QString& system)
{
    cwbCO_SysHandle handle = 0;
    if (cwbCO_CreateSystem(Narrow(system).c_str(), &handle) != kCwbOk || handle == 0)
        return ShowHostError(0, QStringLiteral("CreateSystemHandle"));
    return handle;
}

void CAS400::DeleteSystemHandle(cwbCO_SysHandle system)
{
    if (system != 0)
        cwbCO_DeleteSystem(system);
}

cwbRC_SysHandle CAS400::CreateRCSystemHandle(cwbCO_SysHandle system)
{
    if (system == 0)
        return 0;
    cwbRC_SysHandle connection = 0;
    if (cwbRC_StartSysEx(system, &connection, 0) != kCwbOk || connection == 0)
        return ShowHostError(0, QStringLiteral("CreateRCSystemHandle"));
    return connection;
}

void CAS400::DeleteRCSystemHandle(cwbRC_SysHandle connection)
{
    if (connection != 0)
        cwbRC_StopSys(connection);
}

int CAS400::RunHostCommand(cwbRC_SysHandle connection, const QString& command, BOOL showMessages)
{
    if (connection == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long before = 0;
    if (cwbSV_GetErrCount(errors, &before) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("RunCommand (1)"));
    // The command's own code does not decide: the messages it logged do.
    const unsigned rc = cwbRC_RunCmd(connection, Narrow(command).c_str(), errors);
    if (rc != kCwbOk && rc != kCwbCommandFailed)
        return ShowHostError(errors, QStringLiteral("RunCommand (2)"));
    unsigned long after = 0;
    if (cwbSV_GetErrCount(errors, &after) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("RunCommand (3)"));
    if (after == before)
        return 1;
    if (showMessages)
        return ShowHostError(errors, QStringLiteral("RunCommand"));
    DropHostMessages();
    return 0;
}

cwbOBJ_ListHandle CAS400::CreateListHandle(const QString& system)
{
    const cwbSV_ErrHandle errors = GetErrorHandle();
    cwbOBJ_ListHandle list = 0;
    if (cwbOBJ_CreateListHandle(Narrow(system).c_str(), kCwbObjListSplF, &list, errors) != kCwbOk || list == 0)
        return ShowHostError(errors, QStringLiteral("CreateListHandle"));
    return list;
}

int CAS400::SetListFilter(cwbOBJ_ListHandle list, const QString& outputQueue, const QString& library,
                          const QString& user, const QString& userData)
{
    if (list == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    const struct
    {
        cwbOBJ_KeyID key;
        const QString& value;
    } filters[] = {{74, outputQueue}, {73, library}, {62, user}, {116, userData}};
    for (const auto& filter : filters) {
        if (cwbOBJ_SetListFilter(list, filter.key, Narrow(filter.value).c_str(), errors) != kCwbOk)
            return ShowHostError(errors, QStringLiteral("SetListFilter, Output Queue"));
    }
    return 1;
}

int CAS400::OpenList(cwbOBJ_ListHandle list)
{
    if (list == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_OpenList(list, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("OpenList"));
    return 1;
}

unsigned long CAS400::GetListSize(cwbOBJ_ListHandle list)
{
    if (list == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long size = 0;
    if (cwbOBJ_GetListSize(list, &size, errors) != kCwbOk)
        return static_cast<unsigned long>(ShowHostError(errors, QStringLiteral("GetListSize")));
    return size;
}

cwbOBJ_ObjHandle CAS400::GetObjectHandle(cwbOBJ_ListHandle list, unsigned long index)
{
    if (list == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    cwbOBJ_ObjHandle object = 0;
    if (cwbOBJ_GetObjHandle(list, index, &object, errors) != kCwbOk || object == 0)
        return ShowHostError(errors, QStringLiteral("GetObjectHandle"));
    return object;
}

int CAS400::CloseList(cwbOBJ_ListHandle list)
{
    if (list == 0)
        return 0;
    return cwbOBJ_CloseList(list, 0) == kCwbOk ? 1 : 0;
}

int CAS400::DeleteListHandle(cwbOBJ_ListHandle list)
{
    if (list == 0)
        return 0;
    return cwbOBJ_DeleteListHandle(list, 0) == kCwbOk ? 1 : 0;
}

int CAS400::DeleteObjectHandle(cwbOBJ_ObjHandle object)
{
    if (object == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_DeleteObjHandle(object, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("DeleteObjectHandle"));
    return 1;
}

int CAS400::GetObjectAttribute(cwbOBJ_ObjHandle object, cwbOBJ_KeyID key, QString& value)
{
    value.clear();
    if (object == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    // One byte more than the layer is told of, so a text always ends in NUL.
    char buffer[kAttributeBufferSize] = {};
    unsigned long needed = 0;
    unsigned type = 0;
    if (cwbOBJ_GetObjAttr(object, key, buffer, kAttributeBufferSize - 1, &needed, &type, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("GetObjectAttribute"));
    switch (type) {
    case kCwbObjShort: {
        std::int16_t number = 0;
        std::memcpy(&number, buffer, sizeof number);
        value = QString::number(number);
        break;
    }
    case kCwbObjLong: {
        std::int32_t number = 0;
        std::memcpy(&number, buffer, sizeof number);
        value = QString::number(number);
        break;
    }
    case kCwbObjText:
        value = kwvd::FromCp1252(std::string_view(buffer, std::strlen(buffer)));
        break;
    default:
        break;
    }
    return 1;
}

int CAS400::OpenSpooledFile(cwbOBJ_ObjHandle object)
{
    if (object == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_OpenSplF(object, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("OpenSpooledFile"));
    return 1;
}

int CAS400::ReadSpooledFile(cwbOBJ_ObjHandle object, void* buffer, unsigned long* count)
{
    if (object == 0 || count == nullptr)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long read = 0;
    const unsigned rc = cwbOBJ_ReadSplF(object, buffer, *count, &read, errors);
    if (rc != kCwbOk && rc != kCwbEndOfData) {
        *count = 0;
        return ShowHostError(errors, QStringLiteral("ReadSpooledFile"));
    }
    *count = read;
    return 1;
}

int CAS400::CloseSpooledFile(cwbOBJ_ObjHandle object)
{
    if (object == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_CloseSplF(object, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("CloseSpooledFile"));
    return 1;
}

unsigned CAS400::AnalyseSplFData(const void* data, unsigned long length)
{
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned type = 0;
    if (cwbOBJ_AnalyzeSplFData(data, length, &type, errors) != kCwbOk)
        return static_cast<unsigned>(ShowHostError(errors, QStringLiteral("AnalyseSplFData")));
    return type;
}

cwbOBJ_ParmHandle CAS400::CreateParameterList()
{
    const cwbSV_ErrHandle errors = GetErrorHandle();
    cwbOBJ_ParmHandle parameters = 0;
    if (cwbOBJ_CreateParmObjHandle(&parameters, errors) != kCwbOk || parameters == 0)
        return ShowHostError(errors, QStringLiteral("CreateParameterListHandle"));
    return parameters;
}

int CAS400::SetParameterValue(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const void* value)
{
    if (parameters == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_SetParameter(parameters, key, value, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("SetParameter"));
    return 1;
}

int CAS400::SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const QString& text)
{
    const std::string narrow = Narrow(text);
    return SetParameterValue(parameters, key, narrow.c_str());
}

int CAS400::SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, std::int32_t number)
{
    return SetParameterValue(parameters, key, &number);
}

int CAS400::SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, float number)
{
    return SetParameterValue(parameters, key, &number);
}

void CAS400::DeleteParameterList(cwbOBJ_ParmHandle parameters)
{
    if (parameters == 0)
        return;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_DeleteParmObjHandle(parameters, errors) != kCwbOk)
        ShowHostError(errors, QStringLiteral("DeleteParameterListHandle"));
}

cwbOBJ_ObjHandle CAS400::CreateNewSpooledFile(const QString& system, cwbOBJ_ParmHandle parameters)
{
    if (parameters == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    cwbOBJ_ObjHandle spooledFile = 0;
    if (cwbOBJ_CreateNewSplF(Narrow(system).c_str(), parameters, &spooledFile, errors) != kCwbOk || spooledFile == 0)
        return ShowHostError(errors, QStringLiteral("CreateNewSpooledFile"));
    return spooledFile;
}

void CAS400::CloseNewSpooledFile(cwbOBJ_ObjHandle newSpooledFile)
{
    if (newSpooledFile == 0)
        return;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_CloseNewSplF(newSpooledFile, errors) != kCwbOk)
        ShowHostError(errors, QStringLiteral("CloseNewSpooledFile"));
}

int CAS400::WriteNewSpooledFile(cwbOBJ_ObjHandle newSpooledFile, const void* data, unsigned long length,
                                const QString& label)
{
    if (newSpooledFile == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbOBJ_WriteNewSplF(newSpooledFile, data, length, errors) != kCwbOk)
        return ShowHostError(errors, label);
    return 1;
}

int CAS400::WritePageBreak(cwbOBJ_ObjHandle newSpooledFile)
{
    const char formFeed = 0x0C;
    return WriteNewSpooledFile(newSpooledFile, &formFeed, 1, QStringLiteral("WritePageBreakToSpooledFile"));
}

int CAS400::GetPCCodePage(unsigned long& codePage)
{
    codePage = kPcCodePage;
    return 1;
}

int CAS400::GetHostCCSID(const QString& system, unsigned long& ccsid)
{
    const std::string name = Narrow(system);
    cwbCO_SysHandle handle = 0;
    if (cwbCO_CreateSystem(name.c_str(), &handle) != kCwbOk || handle == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long value = 0;
    const unsigned rc = cwbNL_GetHostCCSID(name.c_str(), &value, errors);
    cwbCO_DeleteSystem(handle);
    if (rc == kCwbDefaultCcsid) {
        // Only a note that the default was given: not for the user's eyes.
        DropHostMessages();
    } else if (rc != kCwbOk) {
        return ShowHostError(errors, QStringLiteral("CreateTranslationHandle"));
    }
    ccsid = value;
    return 1;
}

cwbNL_Converter CAS400::CreateConverter(unsigned long sourceCodePage, unsigned long targetCodePage,
                                        unsigned long options)
{
    const cwbSV_ErrHandle errors = GetErrorHandle();
    cwbNL_Converter converter = 0;
    if (cwbNL_CreateConverterEx(sourceCodePage, targetCodePage, options, &converter, errors) != kCwbOk)
        return 0;
    m_converterTargets[converter] = targetCodePage;
    return converter;
}

int CAS400::DeleteConverter(cwbNL_Converter converter)
{
    if (converter == 0)
        return 0;
    m_converterTargets.erase(converter);
    if (converter == m_converter)
        m_converter = 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    if (cwbNL_DeleteConverter(converter, errors) != kCwbOk)
        return ShowHostError(errors, QStringLiteral("DeleteTranslationHandle"));
    return 1;
}

int CAS400::TranslateBuffer(cwbNL_Converter converter, const char* source, unsigned long length, char* target,
                            unsigned long targetLength, unsigned long* converted, QString* warning, BOOL* cut,
                            BOOL showMessages)
{
    if (converted)
        *converted = 0;
    if (warning)
        warning->clear();
    if (cut)
        *cut = FALSE;
    if (converter == 0)
        return 0;
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long written = 0;
    const unsigned rc = cwbNL_Convert(converter, length, targetLength, source, target, &written, nullptr, errors);
    if (rc == kCwbSubstituted) {
        const QString text = GetHostErrorText(errors);
        if (warning)
            *warning = text;
    } else if (rc == kCwbTargetTooSmall && cut != nullptr) {
        DropHostMessages();
        *cut = TRUE;
    } else if (rc != kCwbOk) {
        return showMessages ? ShowHostError(errors, QStringLiteral("TranslateBuffer")) : 0;
    }
    if (converted)
        *converted = written;
    return 1;
}

int CAS400::TranslateToString(cwbNL_Converter converter, const char* source, unsigned long length, QString& text,
                              QString* warning, BOOL showMessages)
{
    text.clear();
    if (warning)
        warning->clear();
    if (converter == 0)
        return 0;
    // Room for the whole text, whatever its target's width, and a zero
    // after it.
    const cwbSV_ErrHandle errors = GetErrorHandle();
    unsigned long needed = 0;
    const unsigned rc = cwbNL_Convert(converter, length, 0, source, nullptr, nullptr, &needed, errors);
    if (rc != kCwbOk && rc != kCwbTargetTooSmall && rc != kCwbSubstituted)
        return showMessages ? ShowHostError(errors, QStringLiteral("TranslateBuffer")) : 0;
    DropHostMessages();
    std::vector<char> buffer(std::max(needed, length) + 2, '\0');
    unsigned long written = 0;
    if (!TranslateBuffer(converter, source, length, buffer.data(), static_cast<unsigned long>(buffer.size() - 2),
                         &written, warning, nullptr, showMessages))
        return 0;
    const auto target = m_converterTargets.find(converter);
    const unsigned long codePage = target != m_converterTargets.end() ? target->second : kPcCodePage;
    text = DecodeConverted(buffer.data(), written, codePage);
    return 1;
}

int CAS400::GetUserId(const QString& system, QString& user)
{
    user.clear();
    char buffer[11] = {};
    unsigned long length = sizeof buffer;
    if (cwbCO_GetUserID(Narrow(system).c_str(), buffer, 0, &length) != kCwbOk)
        return 0;
    buffer[sizeof buffer - 1] = '\0';
    user = kwvd::FromCp1252(std::string_view(buffer, std::strlen(buffer)));
    return 1;
}
