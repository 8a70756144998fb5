#include "filters/mmr/MmrDecoder.h"

#include "filters/mmr/FaxRunCodes.h"

#include <algorithm>
#include <cstring>

namespace kwvd::mmr {
namespace {

constexpr int kSentinels = 3;

enum class Mode : std::uint8_t {
    Invalid,
    Pass,
    Horizontal,
    Vertical
};

struct ModeEntry
{
    Mode mode = Mode::Invalid;
    std::uint8_t length = 0;
    std::int8_t offset = 0; // a1 - b1 of a vertical mode
};

// Mode codes looked up on the next 7 bits.
struct ModeTable
{
    ModeEntry entries[128];
    ModeTable()
    {
        auto enter = [this](unsigned code, int length, Mode mode, int offset) {
            const int free = 7 - length;
            for (unsigned i = 0; i < (1u << free); ++i)
                entries[(code << free) + i] =
                    ModeEntry{mode, static_cast<std::uint8_t>(length), static_cast<std::int8_t>(offset)};
        };
        enter(0b1, 1, Mode::Vertical, 0);
        enter(0b011, 3, Mode::Vertical, 1);
        enter(0b010, 3, Mode::Vertical, -1);
        enter(0b001, 3, Mode::Horizontal, 0);
        enter(0b0001, 4, Mode::Pass, 0);
        enter(0b000011, 6, Mode::Vertical, 2);
        enter(0b000010, 6, Mode::Vertical, -2);
        enter(0b0000011, 7, Mode::Vertical, 3);
        enter(0b0000010, 7, Mode::Vertical, -3);
    }
};

const ModeTable& Modes()
{
    static const ModeTable table;
    return table;
}

// Clears the bits [from, to) of a row: black pixels.
void FillBlack(std::uint8_t* row, int from, int to)
{
    if (from >= to)
        return;
    const int first = from >> 3;
    const int last = (to - 1) >> 3;
    const std::uint8_t firstMask = static_cast<std::uint8_t>(0xFFu >> (from & 7));
    const std::uint8_t lastMask = static_cast<std::uint8_t>(0xFFu << (7 - ((to - 1) & 7)));
    if (first == last) {
        row[first] &= static_cast<std::uint8_t>(~(firstMask & lastMask));
        return;
    }
    row[first] &= static_cast<std::uint8_t>(~firstMask);
    if (last > first + 1)
        std::memset(row + first + 1, 0, static_cast<std::size_t>(last - first - 1));
    row[last] &= static_cast<std::uint8_t>(~lastMask);
}

} // namespace

void MmrDecoder::Reset(const IoCallbacks* io, FilterFileHandle file, int width, std::int64_t firstBlockLength,
                       std::int64_t pageDataLength)
{
    m_io = io;
    m_file = file;
    m_width = std::max(width, 0);
    m_bufferPos = m_bufferEnd = 0;
    m_blockLeft = std::max<std::int64_t>(firstBlockLength, 0);
    m_pageLeft = std::max<std::int64_t>(pageDataLength, 0);
    m_window = 0;
    m_bitCount = 0;
    m_fakeBits = 0;
    m_overrun = false;
    m_oneDimensional = false;
    // A row has at most one change per pixel; zero-length runs may repeat a
    // position, which the capacity check in PushChange bounds.
    const std::size_t capacity = 2 * static_cast<std::size_t>(m_width) + 8 + kSentinels;
    m_reference.assign(capacity, m_width);
    m_current.assign(capacity, m_width);
    m_currentCount = 0;
}

int MmrDecoder::NextByte()
{
    if (m_pageLeft <= 0)
        return -1;
    if (m_bufferPos == m_bufferEnd) {
        std::int64_t got = -1;
        if (m_io && m_io->read)
            got = m_io->read(m_file, m_buffer, static_cast<std::int64_t>(sizeof m_buffer));
        if (got <= 0 || got > static_cast<std::int64_t>(sizeof m_buffer)) {
            m_pageLeft = 0;
            return -1;
        }
        m_bufferPos = 0;
        m_bufferEnd = static_cast<int>(got);
    }
    --m_pageLeft;
    return m_buffer[m_bufferPos++];
}

int MmrDecoder::NextDataByte()
{
    // Each further block announces its length in the last two of four header
    // bytes; the header bytes count against the page like the data.
    while (m_blockLeft <= 0) {
        int header[4];
        for (int& b : header) {
            b = NextByte();
            if (b < 0)
                return -1;
        }
        m_blockLeft = (header[2] << 8) | header[3];
    }
    const int b = NextByte();
    if (b >= 0)
        --m_blockLeft;
    return b;
}

void MmrDecoder::Refill()
{
    while (m_bitCount <= 48) {
        unsigned word = 0;
        int real = 16;
        if (m_blockLeft >= 2 && m_pageLeft >= 2 && m_bufferEnd - m_bufferPos >= 2) {
            word = (static_cast<unsigned>(m_buffer[m_bufferPos]) << 8) | m_buffer[m_bufferPos + 1];
            m_bufferPos += 2;
            m_blockLeft -= 2;
            m_pageLeft -= 2;
        } else {
            const int high = NextDataByte();
            const int low = high < 0 ? -1 : NextDataByte();
            if (high < 0)
                real = 0;
            else if (low < 0)
                real = 8;
            word = (static_cast<unsigned>(std::max(high, 0)) << 8) | static_cast<unsigned>(std::max(low, 0));
        }
        m_window |= static_cast<std::uint64_t>(word) << (48 - m_bitCount);
        m_bitCount += 16;
        m_fakeBits += 16 - real;
    }
}

int MmrDecoder::ReadRun(bool black)
{
    const RunCodeEntry* table = black ? FaxRunCodes::Black() : FaxRunCodes::White();
    int total = 0;
    for (;;) {
        Fill();
        const RunCodeEntry& entry = table[Peek(kRunCodeLookupBits)];
        if (entry.length == 0)
            return -1;
        Consume(entry.length);
        if (m_overrun)
            return -1;
        total += entry.run;
        if (!entry.makeUp)
            return total;
        if (total > m_width)
            return total; // already past the row: the caller refuses or clamps it
    }
}

bool MmrDecoder::PushChange(int position)
{
    if (m_currentCount + kSentinels >= m_current.size())
        return false;
    m_current[m_currentCount++] = position;
    return true;
}

void MmrDecoder::EndRow()
{
    for (int i = 0; i < kSentinels; ++i)
        m_current[m_currentCount + static_cast<std::size_t>(i)] = m_width;
    m_reference.swap(m_current);
    m_currentCount = 0;
}

bool MmrDecoder::DecodeRow(std::uint8_t* row)
{
    Fill();
    while (Peek(12) == 0) {
        Consume(1);
        if (m_overrun)
            return false;
        Fill();
    }
    if (Peek(12) == 1) {
        m_oneDimensional = (Peek(13) & 1) != 0;
        Consume(13);
    }
    std::memset(row, 0xFF, static_cast<std::size_t>((m_width + 7) / 8));
    m_currentCount = 0;
    const bool ok = m_oneDimensional ? DecodeOneDimensional(row) : DecodeTwoDimensional(row);
    if (!ok || m_overrun)
        return false;
    EndRow();
    return true;
}

bool MmrDecoder::DecodeOneDimensional(std::uint8_t* row)
{
    Fill();
    if (Peek(8) == 0) {
        while (Peek(1) == 0) {
            Consume(1);
            if (m_overrun)
                return false;
            Fill();
        }
        Consume(1);
    }
    int a0 = 0;
    bool black = false;
    while (a0 < m_width) {
        Fill();
        if (Peek(8) == 0)
            break; // an EOL or garbage inside the row: the rest stays white
        const int run = ReadRun(black);
        if (run < 0)
            return false;
        const int end = std::min(a0 + run, m_width);
        if (black)
            FillBlack(row, a0, end);
        a0 = end;
        if (!PushChange(a0))
            return false;
        black = !black;
    }
    return true;
}

bool MmrDecoder::DecodeTwoDimensional(std::uint8_t* row)
{
    const ModeEntry* modes = Modes().entries;
    const int* reference = m_reference.data();
    int a0 = -1;
    int color = 0; // 0 white, 1 black
    std::size_t k = 0;
    while (a0 < m_width) {
        // b1: the first change on the reference row right of a0 towards the
        // other colour; even entries are changes to black.
        while (reference[k] <= a0)
            ++k;
        std::size_t j = k;
        if ((j & 1) != static_cast<std::size_t>(color))
            ++j;
        const int b1 = reference[j];
        const int b2 = reference[j + 1];
        const int start = std::max(a0, 0);

        Fill();
        const ModeEntry& mode = modes[Peek(7)];
        if (mode.mode == Mode::Invalid)
            return false;
        Consume(mode.length);
        switch (mode.mode) {
        case Mode::Pass:
            if (color)
                FillBlack(row, start, b2);
            a0 = b2;
            break;
        case Mode::Horizontal: {
            const int first = ReadRun(color != 0);
            if (first < 0)
                return false;
            const int second = ReadRun(color == 0);
            if (second < 0)
                return false;
            const int a1 = start + first;
            const int a2 = a1 + second;
            if (a2 > m_width)
                return false;
            FillBlack(row, color ? start : a1, color ? a1 : a2);
            if (!PushChange(a1) || !PushChange(a2))
                return false;
            a0 = a2;
            break;
        }
        case Mode::Vertical: {
            const int a1 = b1 + mode.offset;
            if (a1 < start || a1 > m_width)
                return false;
            if (color)
                FillBlack(row, start, a1);
            if (!PushChange(a1))
                return false;
            a0 = a1;
            color ^= 1;
            break;
        }
        case Mode::Invalid:
            return false;
        }
        if (m_overrun)
            return false;
    }
    return a0 == m_width;
}

} // namespace kwvd::mmr
