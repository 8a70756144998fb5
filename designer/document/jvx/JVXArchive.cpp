#include "designer/document/jvx/JVXArchive.h"

#include "hostaccess/api/Translator.h"
#include "platform/framework/Cp1252.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

ITranslator* g_userDataTranslator = nullptr;

constexpr char16_t kCR = 13;
constexpr char16_t kLF = 10;

// The first n characters of the text, blanks after a shorter one, so the
// field keeps its width in the file.
QString ExactWidth(const QString& text, int n)
{
    if (text.size() >= n)
        return text.left(n);
    return text + QString(n - text.size(), QLatin1Char(' '));
}

} // namespace

ITranslator* UserDataTranslator()
{
    return g_userDataTranslator;
}

ITranslator* SetUserDataTranslator(ITranslator* translator)
{
    ITranslator* previous = g_userDataTranslator;
    g_userDataTranslator = translator;
    return previous;
}

CJVXArchive::CJVXArchive(int version, int mode, CDesignerDoc* doc, CFile* file)
    : m_nVersion(version), m_nMode(mode), m_pDoc(doc), m_pFile(file)
{}

CJVXArchive::~CJVXArchive() = default;

int CJVXArchive::GetVersion() const
{
    return m_nVersion;
}

void CJVXArchive::SetVersion(int version)
{
    m_nVersion = version;
}

BOOL CJVXArchive::IsStoring() const
{
    return m_nMode == store ? TRUE : FALSE;
}

BOOL CJVXArchive::IsLoading() const
{
    return m_nMode == load ? TRUE : FALSE;
}

UINT CJVXArchive::ReadBytes(void* buffer, UINT count)
{
    if (m_pFile == nullptr || count == 0)
        return 0;
    return m_pFile->Read(buffer, count);
}

void CJVXArchive::WriteBytes(const void* buffer, UINT count)
{
    if (m_pFile == nullptr || count == 0)
        return;
    m_pFile->Write(buffer, count);
}

int CJVXArchive::ReadText(QString& text, int n)
{
    text.clear();
    if (n <= 0)
        return 0;
    if (IsEightBit()) {
        std::string bytes(static_cast<size_t>(n), '\0');
        const UINT got = ReadBytes(bytes.data(), static_cast<UINT>(n));
        bytes.resize(got);
        text = kwvd::FromCp1252(bytes);
        return static_cast<int>(got);
    }
    text.resize(n, QLatin1Char(' '));
    const int got = std::clamp(ReadWide(reinterpret_cast<char16_t*>(text.data()), n), 0, n);
    text.truncate(got);
    return got;
}

void CJVXArchive::WriteText(const QString& text, int n)
{
    if (n <= 0)
        return;
    if (IsEightBit()) {
        std::string bytes = kwvd::ToCp1252(ExactWidth(text, n), '?');
        bytes.resize(static_cast<size_t>(n), ' ');
        WriteBytes(bytes.data(), static_cast<UINT>(n));
        return;
    }
    const qsizetype have = std::min<qsizetype>(text.size(), n);
    const char16_t* characters = reinterpret_cast<const char16_t*>(text.utf16());
    if (have == n) {
        WriteWide(characters, n);
        return;
    }
    // Thousands of short fields: padded on the stack, not in a new string.
    char16_t local[256];
    std::vector<char16_t> large;
    char16_t* field = local;
    if (n > static_cast<int>(std::size(local))) {
        large.resize(static_cast<size_t>(n));
        field = large.data();
    }
    std::copy(characters, characters + have, field);
    std::fill(field + have, field + n, u' ');
    WriteWide(field, n);
}

void CJVXArchive::ReadLineEnd()
{
    if (m_pFile == nullptr)
        return;
    char16_t first = 0;
    char16_t second = 0;
    int got = 0;
    if (IsEightBit()) {
        unsigned char bytes[2] = {0, 0};
        got = static_cast<int>(ReadBytes(bytes, 2));
        first = bytes[0];
        second = bytes[1];
    } else {
        char16_t units[2] = {0, 0};
        got = std::clamp(ReadWide(units, 2), 0, 2);
        first = units[0];
        second = units[1];
    }
    if (got >= 1 && first == kCR && got == 2 && second == kLF)
        return;
    if (got >= 1 && (first == kCR || first == kLF)) {
        if (got == 2) {
            // Raw UTF-16 takes two bytes a character; 8-bit and host text one.
            const LONG size = (IsEightBit() || m_pTranslator != nullptr) ? 1 : 2;
            Seek(-size, CFile::current);
        }
        return;
    }
    AfxThrowArchiveException(CArchiveException::badIndex, GetFilePath());
}

void CJVXArchive::WriteLineEnd()
{
    if (IsEightBit()) {
        const unsigned char bytes[2] = {13, 10};
        WriteBytes(bytes, 2);
        return;
    }
    const char16_t units[2] = {kCR, kLF};
    WriteWide(units, 2);
}

LONG CJVXArchive::Seek(LONG offset, UINT from)
{
    if (m_pFile == nullptr)
        return 0;
    return static_cast<LONG>(m_pFile->Seek(offset, from));
}

CDesignerDoc* CJVXArchive::GetDocument() const
{
    return m_pDoc;
}

void CJVXArchive::SetDocument(CDesignerDoc* doc)
{
    m_pDoc = doc;
}

QString CJVXArchive::GetFileName() const
{
    return m_pFile != nullptr ? m_pFile->GetFileName() : QString();
}

QString CJVXArchive::GetFilePath() const
{
    return m_pFile != nullptr ? m_pFile->GetFilePath() : QString();
}

ITranslator* CJVXArchive::SetTranslator(ITranslator* translator)
{
    ITranslator* previous = m_pTranslator;
    m_pTranslator = translator;
    return previous;
}

void CJVXArchive::WriteWide(const char16_t* characters, int n)
{
    if (m_pFile == nullptr || n <= 0)
        return;
    if (m_pTranslator != nullptr) {
        m_pTranslator->Write(characters, static_cast<unsigned int>(n), m_pFile);
        return;
    }
    unsigned char local[512];
    std::vector<unsigned char> large;
    unsigned char* bytes = local;
    const size_t size = static_cast<size_t>(n) * 2;
    if (size > sizeof(local)) {
        large.resize(size);
        bytes = large.data();
    }
    for (int i = 0; i < n; ++i) {
        bytes[2 * i] = static_cast<unsigned char>(characters[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(characters[i] >> 8);
    }
    WriteBytes(bytes, static_cast<UINT>(size));
}

int CJVXArchive::ReadWide(char16_t* buffer, int n)
{
    if (m_pFile == nullptr || n <= 0)
        return 0;
    if (m_pTranslator != nullptr) {
        const unsigned int got = m_pTranslator->Read(buffer, static_cast<unsigned int>(n), m_pFile);
        return static_cast<int>(std::min(got, static_cast<unsigned int>(n)));
    }
    unsigned char local[512];
    std::vector<unsigned char> large;
    unsigned char* bytes = local;
    const size_t size = static_cast<size_t>(n) * 2;
    if (size > sizeof(local)) {
        large.resize(size);
        bytes = large.data();
    }
    const UINT got = ReadBytes(bytes, static_cast<UINT>(size));
    const int characters = static_cast<int>(got / 2);
    for (int i = 0; i < characters; ++i)
        buffer[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return characters;
}

BOOL CJVXArchive::IsAtEnd()
{
    if (m_pFile == nullptr)
        return TRUE;
    return m_pFile->GetPosition() >= m_pFile->GetLength() ? TRUE : FALSE;
}

void CJVXArchive::KeepReadError(std::exception_ptr error)
{
    if (!m_readError)
        m_readError = std::move(error);
}

std::exception_ptr CJVXArchive::TakeReadError()
{
    std::exception_ptr error = std::move(m_readError);
    m_readError = nullptr;
    return error;
}
