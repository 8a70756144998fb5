#include "hostaccess/TranslatorCA.h"

#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kShiftOut = 0x0E;
constexpr unsigned char kShiftIn = 0x0F;
constexpr unsigned char kHostBlank = 0x40;

// Drops a leading SO; the last SI, found back over trailing host blanks,
// becomes a blank. The first byte is never looked at by the scan.
void StripShift(std::vector<unsigned char>& bytes)
{
    if (bytes.empty())
        return;
    if (bytes.front() == kShiftOut)
        bytes.erase(bytes.begin());
    for (std::size_t i = bytes.size(); i > 1; --i) {
        if (bytes[i - 1] == kHostBlank)
            continue;
        if (bytes[i - 1] == kShiftIn)
            bytes[i - 1] = kHostBlank;
        break;
    }
}

} // namespace

CTranslatorCA::CTranslatorCA()
{
    m_host.GetPCCodePage(m_pcCodePage);
}

CTranslatorCA::~CTranslatorCA()
{
    m_host.DeleteConverter(m_host.GetConverter());
}

BOOL CTranslatorCA::Init(const QString* system)
{
    m_host.SetSystemName(system ? *system : QString());
    unsigned long ccsid = 0;
    if (m_host.GetHostCCSID(m_host.GetSystemName(), ccsid))
        m_systemCcsid = ccsid;
    m_hostCcsid = static_cast<int>(m_systemCcsid);
    return TRUE;
}

unsigned long CTranslatorCA::EffectiveHostCcsid() const
{
    return m_hostCcsid > 0 ? static_cast<unsigned long>(m_hostCcsid) : m_systemCcsid;
}

int CTranslatorCA::SetMode(int mode)
{
    if (mode == m_mode)
        return TRUE;
    m_mode = mode;
    return MakeConverter();
}

int CTranslatorCA::SetHostCCSID(int ccsid)
{
    if (ccsid == m_hostCcsid)
        return TRUE;
    m_hostCcsid = ccsid;
    return MakeConverter();
}

int CTranslatorCA::SetStripShift(int strip)
{
    const int previous = m_strip;
    m_strip = strip;
    return previous;
}

BOOL CTranslatorCA::MakeConverter()
{
    if (m_host.GetConverter() != 0)
        m_host.DeleteConverter(m_host.GetConverter());
    switch (m_mode) {
    case TranslatorMode::None:
        return FALSE;
    case TranslatorMode::PassThrough:
        return TRUE;
    default:
        break;
    }
    const unsigned long host = EffectiveHostCcsid();
    // A system whose CCSID could not be had: the converter comes with the
    // first CCSID set, and until then a conversion fails.
    if (host == 0)
        return TRUE;
    const cwbNL_Converter converter = m_mode == TranslatorMode::HostToPc ? m_host.CreateConverter(host, m_pcCodePage)
                                                                         : m_host.CreateConverter(m_pcCodePage, host);
    if (converter == 0) {
        // The conversions that fail for want of it say nothing more.
        m_failureShown = true;
        return m_host.ShowHostError(m_host.GetErrorHandle(), QStringLiteral("CreateTranslationHandle"));
    }
    m_host.SetConverter(converter);
    return TRUE;
}

void CTranslatorCA::ConversionFailed(CFile* file)
{
    const QString text = m_host.GetHostErrorText(m_host.GetErrorHandle());
    if (!m_failureShown) {
        m_failureShown = true;
        m_host.ShowHostError(0, text.isEmpty() ? QStringLiteral("TranslateBuffer") : text);
    }
    AfxThrowArchiveException(CArchiveException::genericException, file->GetFilePath());
}

void CTranslatorCA::Write(const void* data, unsigned int length, CFile* file)
{
    if (file == nullptr)
        return;
    if (m_mode == TranslatorMode::PassThrough) {
        // Our characters as they are, as the file holds them without a
        // translator.
        file->Write(data, length * 2u);
        return;
    }
    if (m_mode != TranslatorMode::PcToHost)
        return;

    // What fits whole is written when the text is longer than the field,
    // an open double-byte run closed: content never fails a write.
    std::vector<unsigned char> bytes(length, 0);
    unsigned long converted = 0;
    BOOL cut = FALSE;
    if (!m_host.TranslateBuffer(m_host.GetConverter(), static_cast<const char*>(data), length * 2u,
                                reinterpret_cast<char*>(bytes.data()), length, &converted, nullptr, &cut, FALSE))
        ConversionFailed(file);
    bytes.resize(std::min<unsigned long>(converted, length));
    if (m_strip)
        StripShift(bytes);
    bytes.resize(length, 0);
    file->Write(bytes.data(), length);
}

unsigned int CTranslatorCA::Read(void* buffer, unsigned int length, CFile* file)
{
    if (file == nullptr)
        return 0;
    if (m_mode == TranslatorMode::PassThrough)
        return file->Read(buffer, length * 2u) / 2u;
    if (m_mode != TranslatorMode::HostToPc)
        return 0;

    std::vector<char> bytes(length, 0);
    const unsigned int n = file->Read(bytes.data(), length);
    auto* out = static_cast<char16_t*>(buffer);
    QString text;
    if (!m_host.TranslateToString(m_host.GetConverter(), bytes.data(), n, text, nullptr, FALSE)) {
        std::fill(out, out + length, u' ');
        ConversionFailed(file);
    }
    // Fewer characters than bytes (shift characters, double-byte pairs):
    // blanks keep the field's width.
    const qsizetype copied = std::min<qsizetype>(text.size(), n);
    std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), copied, out);
    std::fill(out + copied, out + length, u' ');
    return n;
}
