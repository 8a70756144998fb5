#include "designer/document/jvx/JVXArchive.h"

#include "hostaccess/api/Translator.h"
#include "platform/framework/Cp1252.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

ITranslator* g_userDataTranslator = nullptr;

constexpr char16_t kCR = 13;
constexpr char16_t kLF = 10;

template <typename Char>
char16_t UnitOf(Char c)
{
    return static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// Blanks in UTF-16LE: most of a record's wide fields are padding.
constexpr size_t kBlankUnits = 256;
constexpr auto kWideBlanks = [] {
    std::array<unsigned char, 2 * kBlankUnits> blanks{};
    for (size_t i = 0; i < blanks.size(); i += 2)
        blanks[i] = ' ';
    return blanks;
}();

// Host text: the field padded to its width, then through the translator.
// Out of line, so that the untranslated fields keep a small frame.
template <typename Char>
[[gnu::noinline]] void WriteTranslated(ITranslator& translator, CFile* target, const Char* text, qsizetype have, int n)
{
    if constexpr (std::is_same_v<Char, char16_t>) {
        if (have == n) {
            translator.Write(text, static_cast<unsigned int>(n), target);
            return;
        }
    }
    // Thousands of short fields: padded on the stack, not in a new string.
    char16_t local[256];
    std::vector<char16_t> large;
    char16_t* field = local;
    if (n > static_cast<int>(std::size(local))) {
        large.resize(static_cast<size_t>(n));
        field = large.data();
    }
    std::transform(text, text + have, field, [](Char c) { return UnitOf(c); });
    std::fill(field + have, field + n, u' ');
    translator.Write(field, static_cast<unsigned int>(n), target);
}

} // namespace

// The file a translator writes into while a line is gathered.
class CJVXArchive::LineSink : public CFile
{
public:
    explicit LineSink(CJVXArchive& ar) : m_ar(ar) {}

    void Write(const void* buffer, UINT count) override
    {
        if (count > 0)
            std::memcpy(m_ar.LineRoom(count), buffer, count);
    }

private:
    CJVXArchive& m_ar;
};

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
    if (m_gathering) {
        std::memcpy(LineRoom(count), buffer, count);
        return;
    }
    m_pFile->Write(buffer, count);
}

void CJVXArchive::BeginLine()
{
    if (m_pFile == nullptr || !IsStoring())
        return;
    m_gathering = true;
}

void CJVXArchive::GrowLine(size_t count)
{
    // The longest record line, in two bytes a character, fits in the first
    // block.
    const size_t capacity = std::max({m_lineSize + count, 2 * m_lineCapacity, size_t{2048}});
    auto grown = std::make_unique_for_overwrite<unsigned char[]>(capacity + kLineSlack);
    if (m_lineSize > 0)
        std::memcpy(grown.get(), m_line.get(), m_lineSize);
    m_line = std::move(grown);
    m_lineCapacity = capacity;
}

void CJVXArchive::EndLine()
{
    m_gathering = false;
    if (m_lineSize == 0)
        return;
    // The line is given up even when the write fails.
    const size_t size = std::exchange(m_lineSize, 0);
    m_pFile->Write(m_line.get(), static_cast<UINT>(size));
}

int CJVXArchive::ReadText(QString& text, int n)
{
    if (n <= 0) {
        text.clear();
        return 0;
    }
    text.resize(n);
    const int got = ReadCharacters(reinterpret_cast<char16_t*>(text.data()), n);
    text.truncate(got);
    return got;
}

int CJVXArchive::ReadCharacters(char16_t* buffer, int n)
{
    if (n <= 0)
        return 0;
    if (IsEightBit()) {
        // The bytes land at the front of the buffer and widen from the back,
        // so each byte is read before its place is written.
        auto* bytes = reinterpret_cast<unsigned char*>(buffer);
        const int got = static_cast<int>(ReadBytes(bytes, static_cast<UINT>(n)));
        for (int i = got; i-- > 0;)
            buffer[i] = kwvd::Cp1252ToUnicode(bytes[i]);
        return got;
    }
    return std::clamp(ReadWide(buffer, n), 0, n);
}

void CJVXArchive::WriteDigitsSlowly(std::uint32_t value, int n)
{
    if (n <= 0)
        return;
    std::string digits(static_cast<size_t>(n), '0');
    for (size_t i = digits.size(); i-- > 0 && value != 0; value /= 10)
        digits[i] = static_cast<char>('0' + value % 10);
    WriteField(digits.data(), static_cast<qsizetype>(digits.size()), n);
}

void CJVXArchive::PutManyWideBlanks(unsigned char* bytes, size_t units)
{
    while (units > 0) {
        const size_t n = std::min(units, kBlankUnits);
        std::memcpy(bytes, kWideBlanks.data(), 2 * n);
        bytes += 2 * n;
        units -= n;
    }
}

template <typename Char>
void CJVXArchive::WriteField(const Char* text, qsizetype have, int n)
{
    if (m_pFile == nullptr || n <= 0)
        return;
    have = std::clamp<qsizetype>(have, 0, n);
    if (!IsEightBit()) {
        WriteUnits(text, have, n);
        return;
    }
    unsigned char* bytes = LineRoom(static_cast<size_t>(n));
    for (qsizetype i = 0; i < have; ++i) {
        const int byte = kwvd::UnicodeToCp1252(UnitOf(text[i]));
        bytes[i] = byte < 0 ? '?' : static_cast<unsigned char>(byte);
    }
    std::fill(bytes + have, bytes + n, ' ');
    if (!m_gathering)
        EndLine();
}

// The general road of the inline writers, for their two kinds of text.
template void CJVXArchive::WriteField<char>(const char* text, qsizetype have, int n);
template void CJVXArchive::WriteField<char16_t>(const char16_t* text, qsizetype have, int n);

template <typename Char>
void CJVXArchive::WriteUnits(const Char* text, qsizetype have, int n)
{
    if (m_pTranslator != nullptr) {
        WriteTranslated(*m_pTranslator, TranslatorTarget(), text, have, n);
        return;
    }
    unsigned char* bytes = LineRoom(static_cast<size_t>(n) * 2);
    if constexpr (sizeof(Char) == 2 && std::endian::native == std::endian::little) {
        // The units are already UTF-16LE.
        if (have > 0)
            std::memcpy(bytes, text, static_cast<size_t>(have) * 2);
    } else {
        for (qsizetype i = 0; i < have; ++i) {
            const char16_t unit = UnitOf(text[i]);
            bytes[2 * i] = static_cast<unsigned char>(unit & 0xFF);
            bytes[2 * i + 1] = static_cast<unsigned char>(unit >> 8);
        }
    }
    if (have < n)
        PutWideBlanks(bytes + 2 * have, static_cast<size_t>(n - have));
    if (!m_gathering)
        EndLine();
}

CFile* CJVXArchive::TranslatorTarget()
{
    if (!m_gathering)
        return m_pFile;
    if (!m_lineSink)
        m_lineSink = std::make_unique<LineSink>(*this);
    return m_lineSink.get();
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
    WriteField("\r\n", 2, 2);
    if (m_gathering)
        EndLine();
}

LONG CJVXArchive::Seek(LONG offset, UINT from)
{
    if (m_pFile == nullptr)
        return 0;
    if (m_gathering)
        EndLine();
    return static_cast<LONG>(m_pFile->Seek(offset, from));
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
    WriteUnits(characters, n, n);
}

int CJVXArchive::ReadWide(char16_t* buffer, int n)
{
    if (m_pFile == nullptr || n <= 0)
        return 0;
    if (m_pTranslator != nullptr) {
        const unsigned int got = m_pTranslator->Read(buffer, static_cast<unsigned int>(n), m_pFile);
        return static_cast<int>(std::min(got, static_cast<unsigned int>(n)));
    }
    // UTF-16LE straight into the buffer; an odd last byte is dropped.
    const UINT got = ReadBytes(buffer, static_cast<UINT>(n) * 2);
    const int characters = static_cast<int>(got / 2);
    if constexpr (std::endian::native != std::endian::little) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
        for (int i = 0; i < characters; ++i)
            buffer[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return characters;
}

BOOL CJVXArchive::IsAtEnd()
{
    if (m_pFile == nullptr)
        return TRUE;
    if (m_gathering)
        EndLine();
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
