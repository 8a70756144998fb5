#include "filters/mmr/MmrDecoder.h"

#include "filters/mmr/FaxRunCodes.h"

#include <algorithm>
#include <bit>
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
[[gnu::always_inline]] inline void FillBlack(std::uint8_t* row, int from, int to)
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

// Zero bytes after the page's data: the window loads 8 bytes at a time a
// little ahead of the bits used, and a row fails soon after it runs past the
// data (all-zero bits are no valid code).
constexpr std::size_t kPadding = 32;

std::uint64_t LoadBigEndian64(const std::uint8_t* p)
{
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap64(value);
    return value;
}

// The read position in the page's bits, kept in locals while a row is
// decoded so that the stores into the row cannot be taken to change it: a
// left-aligned window refilled eight bytes at a time without a test.
class BitCursor
{
public:
    BitCursor(const std::uint8_t* data, std::size_t dataBytes, std::size_t pos)
        : m_next(data + std::min(pos >> 3, dataBytes + kPadding - 8)), m_last(data + dataBytes + kPadding - 8),
          m_used(pos), m_limit(8 * dataBytes)
    {
        Refill();
        m_window <<= pos & 7;
        m_count -= static_cast<int>(pos & 7);
    }

    // At least 56 bits in the window; past the padding only zeros come in.
    void Refill()
    {
        m_window |= LoadBigEndian64(m_next) >> m_count;
        m_next = std::min(m_next + ((63 - m_count) >> 3), m_last);
        m_count |= 56;
    }
    // The next bits, 13 at most; zeros past the data.
    unsigned Peek(int bits) const { return static_cast<unsigned>(m_window >> (64 - bits)); }
    // False once the bits used run past the data: the row fails then.
    bool Consume(int bits)
    {
        m_window <<= bits;
        m_count -= bits;
        m_used += static_cast<std::size_t>(bits);
        return m_used <= m_limit;
    }
    std::size_t Used() const { return m_used; }

private:
    const std::uint8_t* m_next;
    const std::uint8_t* m_last;
    std::uint64_t m_window = 0;
    int m_count = 0;
    std::size_t m_used;
    std::size_t m_limit;
};

// Where the next changing element goes; a row refuses more than fit.
struct Changes
{
    int* next;
    int* end;

    bool Push(int position)
    {
        if (next == end)
            return false;
        *next++ = position;
        return true;
    }
};

[[gnu::always_inline]] inline int ReadRun(BitCursor& bits, const RunCodeEntry* table, int width)
{
    int total = 0;
    for (;;) {
        const RunCodeEntry entry = table[bits.Peek(kRunCodeLookupBits)];
        if (entry.Length() == 0 || !bits.Consume(entry.Length()))
            return -1;
        total += entry.Run();
        if (!entry.MakeUp())
            return total;
        if (total > width)
            return total; // already past the row: the caller refuses or clamps it
        bits.Refill();
    }
}

bool DecodeOneDimensional(BitCursor& bits, Changes& changes, int width, std::uint8_t* row)
{
    bits.Refill();
    if (bits.Peek(8) == 0) {
        while (bits.Peek(1) == 0) {
            if (!bits.Consume(1))
                return false;
            bits.Refill();
        }
        if (!bits.Consume(1))
            return false;
    }
    const RunCodeEntry* const white = FaxRunCodes::White();
    const RunCodeEntry* const black = FaxRunCodes::Black();
    int a0 = 0;
    bool isBlack = false;
    while (a0 < width) {
        bits.Refill();
        if (bits.Peek(8) == 0)
            break; // an EOL or garbage inside the row: the rest stays white
        const int run = ReadRun(bits, isBlack ? black : white, width);
        if (run < 0)
            return false;
        const int end = std::min(a0 + run, width);
        if (isBlack)
            FillBlack(row, a0, end);
        a0 = end;
        if (!changes.Push(a0))
            return false;
        isBlack = !isBlack;
    }
    return true;
}

bool DecodeTwoDimensional(BitCursor& bits, const int* reference, Changes& changes, int width, std::uint8_t* row)
{
    const ModeEntry* const modes = Modes().entries;
    const RunCodeEntry* const white = FaxRunCodes::White();
    const RunCodeEntry* const black = FaxRunCodes::Black();
    int a0 = -1;
    int color = 0; // 0 white, 1 black
    // b1's index: the reference row's changes rise, even entries are changes
    // to black, so b1 is the first entry of the colour's parity right of a0.
    std::size_t j = 0;
    while (a0 < width) {
        while (reference[j] <= a0)
            j += 2;
        const int b1 = reference[j];
        const int start = std::max(a0, 0);

        bits.Refill();
        int a1 = b1; // V0, the commonest code, tested before the table
        if (bits.Peek(1) != 0) {
            if (!bits.Consume(1))
                return false;
        } else {
            const ModeEntry mode = modes[bits.Peek(7)];
            if (mode.mode == Mode::Invalid || !bits.Consume(mode.length))
                return false;
            if (mode.mode == Mode::Pass) {
                const int b2 = reference[j + 1];
                if (color)
                    FillBlack(row, start, b2);
                a0 = b2;
                continue;
            }
            if (mode.mode == Mode::Horizontal) {
                const int first = ReadRun(bits, color ? black : white, width);
                if (first < 0)
                    return false;
                const int second = ReadRun(bits, color ? white : black, width);
                if (second < 0)
                    return false;
                a1 = start + first;
                const int a2 = a1 + second;
                if (a2 > width)
                    return false;
                FillBlack(row, color ? start : a1, color ? a1 : a2);
                if (!changes.Push(a1) || !changes.Push(a2))
                    return false;
                a0 = a2;
                continue;
            }
            a1 = b1 + mode.offset;
            if (a1 < start || a1 > width)
                return false;
        }
        // Vertical modes: b1 lies right of a0 and within the row for V0.
        if (color)
            FillBlack(row, start, a1);
        if (!changes.Push(a1))
            return false;
        a0 = a1;
        color ^= 1;
        // The entry before b1 is the first candidate of the other parity.
        j = j > 0 ? j - 1 : 1;
    }
    return a0 == width;
}

} // namespace

void MmrDecoder::Reset(const IoCallbacks* io, FilterFileHandle file, int width, std::int64_t firstBlockLength,
                       std::int64_t pageDataLength)
{
    m_width = std::max(width, 0);
    m_oneDimensional = false;
    // A row has at most one change per pixel; zero-length runs may repeat a
    // position, which the row's room for changes bounds.
    const std::size_t capacity = 2 * static_cast<std::size_t>(m_width) + 8 + kSentinels;
    m_reference.assign(capacity, m_width);
    m_current.assign(capacity, m_width);
    ReadPage(io, file, std::max<std::int64_t>(firstBlockLength, 0), std::max<std::int64_t>(pageDataLength, 0));
}

void MmrDecoder::ReadPage(const IoCallbacks* io, FilterFileHandle file, std::int64_t firstBlockLength,
                          std::int64_t pageDataLength)
{
    const std::size_t wanted = static_cast<std::size_t>(pageDataLength);
    m_data.assign(wanted + kPadding, 0);
    std::size_t got = 0;
    while (io && io->read && got < wanted) {
        const std::int64_t n = io->read(file, m_data.data() + got, static_cast<std::int64_t>(wanted - got));
        if (n <= 0 || n > static_cast<std::int64_t>(wanted - got))
            break;
        got += static_cast<std::size_t>(n);
    }
    // Each further block announces its length in the last two of four header
    // bytes; the header bytes count against the page like the data. The data
    // move down over the headers in place.
    std::size_t in = 0;
    std::size_t out = 0;
    std::int64_t blockLeft = firstBlockLength;
    while (in < got) {
        if (blockLeft <= 0) {
            if (got - in < 4)
                break;
            blockLeft = (m_data[in + 2] << 8) | m_data[in + 3];
            in += 4;
            continue;
        }
        const std::size_t take = std::min(static_cast<std::size_t>(blockLeft), got - in);
        if (out != in)
            std::memmove(m_data.data() + out, m_data.data() + in, take);
        in += take;
        out += take;
        blockLeft -= static_cast<std::int64_t>(take);
    }
    std::fill(m_data.begin() + static_cast<std::ptrdiff_t>(out), m_data.end(), std::uint8_t{0});
    m_dataBytes = out;
    m_bitPos = 0;
}

bool MmrDecoder::DecodeRow(std::uint8_t* row)
{
    if (m_data.empty())
        return false;
    BitCursor bits(m_data.data(), m_dataBytes, m_bitPos);
    // A row starts after any fill bits; an EOL's tag bit chooses its coding.
    bool ok = true;
    while (ok && bits.Peek(12) == 0) {
        ok = bits.Consume(1);
        bits.Refill();
    }
    if (ok && bits.Peek(12) == 1) {
        m_oneDimensional = (bits.Peek(13) & 1) != 0;
        ok = bits.Consume(13);
    }
    Changes changes{m_current.data(), m_current.data() + m_current.size() - kSentinels};
    if (ok) {
        std::memset(row, 0xFF, static_cast<std::size_t>((m_width + 7) / 8));
        ok = m_oneDimensional ? DecodeOneDimensional(bits, changes, m_width, row)
                              : DecodeTwoDimensional(bits, m_reference.data(), changes, m_width, row);
    }
    m_bitPos = bits.Used();
    if (!ok)
        return false;
    std::fill(changes.next, changes.next + kSentinels, m_width);
    m_reference.swap(m_current);
    return true;
}

} // namespace kwvd::mmr
