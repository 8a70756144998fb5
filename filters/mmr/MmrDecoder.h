#pragma once
// Row decoder of one MMR page: T.6 two-dimensional rows, optionally mixed with
// T.4 one- and two-dimensional rows behind EOL codes with their tag bit. The
// page's data arrive through the core's file operations in blocks, each after
// the first preceded by FE 92 LL LL.

#include "filters/common/FilterRecords.h"

#include <cstdint>
#include <vector>

namespace kwvd::mmr {

class MmrDecoder
{
public:
    // Starts a page whose data begin at the file's current position: empty
    // bit window and input buffer, an all-white reference row and the
    // two-dimensional mode. pageDataLength bounds every byte read for the page.
    void Reset(const IoCallbacks* io, FilterFileHandle file, int width, std::int64_t firstBlockLength,
               std::int64_t pageDataLength);

    // Decodes the next row into row ((width + 7) / 8 bytes, most significant
    // bit leftmost, 1 = white). False when the row cannot be decoded, also when
    // it would need bits past the page's data.
    bool DecodeRow(std::uint8_t* row);

private:
    int NextByte();
    int NextDataByte();
    // At least 32 bits in the window: enough for any code and its peek.
    void Fill()
    {
        if (m_bitCount < 32)
            Refill();
    }
    void Refill();
    unsigned Peek(int bits) const { return static_cast<unsigned>(m_window >> (64 - bits)); }
    void Consume(int bits)
    {
        m_window <<= bits;
        m_bitCount -= bits;
        if (m_bitCount < m_fakeBits)
            m_overrun = true;
    }
    int ReadRun(bool black);
    bool DecodeOneDimensional(std::uint8_t* row);
    bool DecodeTwoDimensional(std::uint8_t* row);
    bool PushChange(int position);
    void EndRow();

    const IoCallbacks* m_io = nullptr;
    FilterFileHandle m_file = 0;
    int m_width = 0;

    std::uint8_t m_buffer[4096] = {};
    int m_bufferPos = 0;
    int m_bufferEnd = 0;
    std::int64_t m_blockLeft = 0;
    std::int64_t m_pageLeft = 0;

    // Left-aligned bits still to be used; the last m_fakeBits of them are
    // zeros put in after the page's data ran out.
    std::uint64_t m_window = 0;
    int m_bitCount = 0;
    int m_fakeBits = 0;
    bool m_overrun = false;

    bool m_oneDimensional = false;
    // Changing elements of the reference and the current row, each followed
    // by sentinels at the width.
    std::vector<int> m_reference;
    std::vector<int> m_current;
    std::size_t m_currentCount = 0;
};

} // namespace kwvd::mmr
