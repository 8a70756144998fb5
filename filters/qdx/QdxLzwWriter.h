#pragma once
// LZW plane encoder (IOCA compression 0x0D), codes of 9 to 12 bits packed
// most significant bit first in the manner of TIFF LZW.

#include "filters/qdx/QdxWriter.h"

#include <vector>

class CQdxLzwWriter : public CQdxWriter
{
public:
    static constexpr int kTableSize = 5021;

    std::uint8_t CompressionId() const override { return 0x0D; }
    void EncodePlane(int plane) override;

private:
    void ResetTable();
    void PutCode(int code);
    void FlushBits();

    std::vector<int> m_codes; // -1: empty entry
    std::vector<int> m_prefixes;
    std::vector<std::uint8_t> m_bytes;
    int m_width = 9;
    int m_limit = 512;
    int m_nextCode = 257;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};
