#pragma once
// JPEG plane encoder (IOCA compression 0x83): each plane a complete baseline
// JPEG stream with one component, the standard chrominance quantisation table
// scaled by the quality and the standard luminance Huffman tables.

#include "filters/qdx/QdxWriter.h"

class CQdxJpegWriter : public CQdxWriter
{
public:
    CQdxJpegWriter();

    void Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, int xRes, int yRes, int quality) override;
    std::uint8_t CompressionId() const override { return 0x83; }
    void EncodePlane(int plane) override;

    // Takes the quality when it is at most 100; the table follows it.
    void SetQuality(int quality);
    int Quality() const { return m_quality; }
    const std::uint8_t* QuantTable() const { return m_quant; }

protected:
    int EncodedSize(int size) const override { return (size + 7) / 8 * 8; }

private:
    struct HuffCode
    {
        std::uint16_t code;
        std::uint8_t length;
    };

    void BuildTables();
    void WriteStreamHeader();
    void EncodeBlock(const float block[64], int& lastDc);
    void PutBits(std::uint32_t bits, int count);
    void PutHuff(const HuffCode& code) { PutBits(code.code, code.length); }
    void FlushBits();
    void PutStuffedByte(std::uint8_t byte);

    int m_quality = 50;
    std::uint8_t m_quant[64] = {}; // natural order
    float m_divisors[64] = {};
    HuffCode m_dc[12] = {};
    HuffCode m_ac[256] = {};
    std::uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
};
