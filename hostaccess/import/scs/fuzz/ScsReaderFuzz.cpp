// Fuzz target for the spooled-file reader: the first four bytes pick the data
// kind, the first page, the maximum pages, the size of the host's reads and
// a read that fails; the rest is the spooled file's data. Whatever the bytes,
// the reader must end, keep every line within its 380 positions and keep no
// more pages than asked for.
//   scs_reader_fuzz -rss_limit_mb=2048 -malloc_limit_mb=512 <work folder> seeds/scs_reader_fuzz

#include "hostaccess/import/scs/ScsReadLine.h"
#include "hostaccess/import/scs/SpooledPages.h"
#include "platform/framework/Collections.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class FuzzSource : public SpooledByteSource
{
public:
    FuzzSource(const std::uint8_t* data, std::size_t size, std::size_t chunk, std::size_t failAt)
        : m_data(data), m_size(size), m_chunk(chunk), m_failAt(failAt)
    {}

    bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) override
    {
        if (m_offset >= m_failAt)
            return false;
        bytesRead = std::min({length, m_chunk, m_size - m_offset});
        std::copy_n(m_data + m_offset, bytesRead, buffer);
        m_offset += bytesRead;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_chunk;
    std::size_t m_failAt;
    std::size_t m_offset = 0;
};

// One character per host byte, so that a line's length is its columns.
class ByteConverter : public SpooledLineConverter
{
public:
    bool Convert(const unsigned char* bytes, int length, QString& text, QString& warning) override
    {
        if (length < 0 || length > kScsHighestColumn + 1) {
            std::fprintf(stderr, "a line of %d bytes was handed to the converter\n", length);
            std::abort();
        }
        text.resize(length);
        for (int i = 0; i < length; ++i)
            text[i] = QChar(bytes[i]);
        if (length > 0 && bytes[0] == 0x3F)
            warning = QStringLiteral("substituted");
        return true;
    }
};

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const SpooledDataKind kind = (data[0] & 1) ? SpooledDataKind::UserAscii : SpooledDataKind::Scs;
    const int first = 1 + (data[0] >> 1) % 4;
    const int maximum = data[1] % 8;
    const std::size_t chunk = data[2] == 0 ? 1024 : data[2];
    const std::size_t failAt = data[3] == 0 ? SIZE_MAX : std::size_t(data[3]) * 16;
    data += 4;
    size -= 4;

    FuzzSource source(data, size, chunk, failAt);
    SpooledDataReader reader(source);
    if (!reader.ReadFirstBlock())
        return 0;
    ByteConverter converter;
    SpooledPageList pages;
    const SpooledPagesResult result = ReadSpooledPages(reader, kind, first, maximum, converter, pages);

    if (result.pagesKept != pages.GetCount())
        Fail("the count of pages kept differs from the list");
    if (pages.GetCount() > std::max(maximum, 1))
        Fail("more pages were kept than asked for");
    for (CObject* object : pages) {
        const auto* page = static_cast<const CStringArray*>(object);
        if (page->GetSize() > kScsHighestLineNumber + 1)
            Fail("a page holds a line beyond the highest line number");
        for (const QString& line : *page)
            if (line.size() > kScsHighestColumn + 1)
                Fail("a line is longer than 380 positions");
        delete object;
    }
    return 0;
}
