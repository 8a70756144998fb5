// Reading host spooled-file data into pages: 200 pages of 60 lines of 132
// columns with positioning controls, read in the host's 1024-byte blocks,
// once with a byte-for-byte line converter (the reader alone) and once
// through the layer's converter from CCSID 285 to UTF-16 in column mode, as
// the import does. Throughput in bytes of host data per second.

#include "hostaccess/import/scs/SpooledPages.h"

#include "platform/clientaccess/CodePages.h"
#include "platform/framework/Collections.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace {

QByteArray HostData()
{
    QByteArray data;
    for (int page = 0; page < 200; ++page) {
        for (int line = 1; line <= 60; ++line) {
            data.append("\x34\xC4");
            data.append(char(line));
            data.append("\x34\xC0\x01", 3);
            data.append(QByteArray(132, char(0xC1 + line % 9)));
        }
        data.append('\x0C');
    }
    return data;
}

class MemorySource : public SpooledByteSource
{
public:
    explicit MemorySource(const QByteArray& data) : m_data(data) {}
    bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) override
    {
        bytesRead = std::min(length, static_cast<std::size_t>(m_data.size()) - m_offset);
        std::copy_n(m_data.constData() + m_offset, bytesRead, buffer);
        m_offset += bytesRead;
        return true;
    }

private:
    const QByteArray& m_data;
    std::size_t m_offset = 0;
};

class ByteConverter : public SpooledLineConverter
{
public:
    bool Convert(const unsigned char* bytes, int length, QString& text, QString&) override
    {
        text.resize(length);
        for (int i = 0; i < length; ++i)
            text[i] = QChar(bytes[i]);
        return true;
    }
};

class HostConverter : public SpooledLineConverter
{
public:
    HostConverter() { cwbNL_CreateConverterEx(285, 1202, kCwbNlColumnMode, &m_converter, 0); }
    ~HostConverter() override { cwbNL_DeleteConverter(m_converter, 0); }
    bool Convert(const unsigned char* bytes, int length, QString& text, QString&) override
    {
        m_target.resize(static_cast<std::size_t>(length) * 2 + 2);
        unsigned long converted = 0;
        if (cwbNL_Convert(m_converter, length, m_target.size(), reinterpret_cast<const char*>(bytes),
                          m_target.data(), &converted, nullptr, 0)
            != kCwbOk)
            return false;
        text = QString(reinterpret_cast<const QChar*>(m_target.data()), static_cast<qsizetype>(converted / 2));
        return true;
    }

private:
    cwbNL_Converter m_converter = 0;
    std::vector<char> m_target;
};

template <class Converter>
void BM_ReadPages(benchmark::State& state)
{
    const QByteArray data = HostData();
    Converter converter;
    for (auto _ : state) {
        MemorySource source(data);
        SpooledDataReader reader(source);
        reader.ReadFirstBlock();
        SpooledPageList pages;
        const SpooledPagesResult result = ReadSpooledPages(reader, SpooledDataKind::Scs, 1, 9999, converter, pages);
        benchmark::DoNotOptimize(result.pagesKept);
        for (CObject* page : pages)
            delete page;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * data.size());
}

BENCHMARK_TEMPLATE(BM_ReadPages, ByteConverter)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ReadPages, HostConverter)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
