#pragma once
// Row decoder of one MMR page: T.6 two-dimensional rows, optionally mixed with
// T.4 one- and two-dimensional rows behind EOL codes with their tag bit. The
// page's data are read through the core's file operations in one read when the
// page starts: blocks, each after the first preceded by FE 92 LL LL, which are
// joined into one run of coded bits.

#include "filters/common/FilterRecords.h"

#include <cstdint>
#include <vector>

namespace kwvd::mmr {

class MmrDecoder
{
public:
    // Starts a page whose data begin at the file's current position: reads
    // them, sets an all-white reference row and the two-dimensional mode.
    // pageDataLength bounds every byte read for the page.
    void Reset(const IoCallbacks* io, FilterFileHandle file, int width, std::int64_t firstBlockLength,
               std::int64_t pageDataLength);

    // Decodes the next row into row ((width + 7) / 8 bytes, most significant
    // bit leftmost, 1 = white). False when the row cannot be decoded, also when
    // it would need bits past the page's data.
    bool DecodeRow(std::uint8_t* row);

private:
    void ReadPage(const IoCallbacks* io, FilterFileHandle file, std::int64_t firstBlockLength,
                  std::int64_t pageDataLength);

    int m_width = 0;

    // The page's coded bytes without the block headers, m_dataBytes of them,
    // then zero bytes for reads ahead; m_bitPos counts the bits used.
    std::vector<std::uint8_t> m_data;
    std::size_t m_dataBytes = 0;
    std::size_t m_bitPos = 0;

    bool m_oneDimensional = false;
    // Changing elements of the reference and the current row, each followed
    // by sentinels at the width.
    std::vector<int> m_reference;
    std::vector<int> m_current;
};

} // namespace kwvd::mmr
