#include "filters/qdx/QdxJpegWriter.h"

#include <cmath>
#include <cstdlib>

namespace {

// ITU-T T.81 Table K.2, natural order.
constexpr std::uint8_t kChrominanceQuant[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                                24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                                99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                                99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Zigzag position -> natural index.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Table K.3 (luminance DC) and K.5 (luminance AC): code counts per length, values.
constexpr std::uint8_t kDcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr std::uint8_t kDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr std::uint8_t kAcBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D};
constexpr std::uint8_t kAcValues[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3,
    0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA};

template <std::size_t N, class Code>
void MakeCodes(const std::uint8_t (&bits)[16], const std::uint8_t (&values)[N], Code* table)
{
    std::uint16_t code = 0;
    std::size_t k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < bits[length - 1]; ++i, ++k)
            table[values[k]] = {code++, static_cast<std::uint8_t>(length)};
        code = static_cast<std::uint16_t>(code << 1);
    }
}

int Category(int value)
{
    int magnitude = std::abs(value);
    int bits = 0;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

// Forward DCT of one row or column in place (Arai, Agui and Nakajima).
void Aan(float* d, int stride)
{
    float& d0 = d[0];
    float& d1 = d[stride];
    float& d2 = d[2 * stride];
    float& d3 = d[3 * stride];
    float& d4 = d[4 * stride];
    float& d5 = d[5 * stride];
    float& d6 = d[6 * stride];
    float& d7 = d[7 * stride];
    const float tmp0 = d0 + d7, tmp7 = d0 - d7;
    const float tmp1 = d1 + d6, tmp6 = d1 - d6;
    const float tmp2 = d2 + d5, tmp5 = d2 - d5;
    const float tmp3 = d3 + d4, tmp4 = d3 - d4;

    float tmp10 = tmp0 + tmp3;
    const float tmp13 = tmp0 - tmp3;
    float tmp11 = tmp1 + tmp2;
    float tmp12 = tmp1 - tmp2;
    d0 = tmp10 + tmp11;
    d4 = tmp10 - tmp11;
    const float z1 = (tmp12 + tmp13) * 0.707106781f;
    d2 = tmp13 + z1;
    d6 = tmp13 - z1;

    tmp10 = tmp4 + tmp5;
    tmp11 = tmp5 + tmp6;
    tmp12 = tmp6 + tmp7;
    const float z5 = (tmp10 - tmp12) * 0.382683433f;
    const float z2 = 0.541196100f * tmp10 + z5;
    const float z4 = 1.306562965f * tmp12 + z5;
    const float z3 = tmp11 * 0.707106781f;
    const float z11 = tmp7 + z3;
    const float z13 = tmp7 - z3;
    d5 = z13 + z2;
    d3 = z13 - z2;
    d1 = z11 + z4;
    d7 = z11 - z4;
}

} // namespace

CQdxJpegWriter::CQdxJpegWriter()
{
    MakeCodes(kDcBits, kDcValues, m_dc);
    MakeCodes(kAcBits, kAcValues, m_ac);
    BuildTables();
}

void CQdxJpegWriter::Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, int xRes, int yRes, int quality)
{
    SetQuality(quality);
    CQdxWriter::Begin(fileName, bitmap, xRes, yRes, quality);
}

void CQdxJpegWriter::SetQuality(int quality)
{
    if (quality < 0 || quality > 100 || quality == m_quality)
        return;
    m_quality = quality;
    BuildTables();
}

void CQdxJpegWriter::BuildTables()
{
    static const double scale[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                    1.0, 0.785694958, 0.541196100, 0.275899379};
    for (int i = 0; i < 64; ++i) {
        int t = (kChrominanceQuant[i] * (100 - m_quality) + 50) / 100;
        t = t < 1 ? 1 : (t > 255 ? 255 : t);
        m_quant[i] = static_cast<std::uint8_t>(t);
        const int u = i / 8;
        const int v = i % 8;
        m_divisors[i] = static_cast<float>(1.0 / (t * scale[u] * scale[v] * 8.0));
    }
}

void CQdxJpegWriter::PutStuffedByte(std::uint8_t byte)
{
    PutByte(byte);
    if (byte == 0xFF)
        PutByte(0x00);
}

void CQdxJpegWriter::PutBits(std::uint32_t bits, int count)
{
    m_bitBuffer = (m_bitBuffer << count) | (bits & ((1u << count) - 1));
    m_bitCount += count;
    while (m_bitCount >= 8) {
        m_bitCount -= 8;
        PutStuffedByte(static_cast<std::uint8_t>(m_bitBuffer >> m_bitCount));
    }
}

void CQdxJpegWriter::FlushBits()
{
    if (m_bitCount > 0)
        PutBits(0x7F, 8 - m_bitCount); // completed with 1 bits
    m_bitBuffer = 0;
    m_bitCount = 0;
}

void CQdxJpegWriter::WriteStreamHeader()
{
    static const std::uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01,
                                         0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    for (std::uint8_t b : start)
        PutByte(b);
    for (int i = 0; i < 64; ++i)
        PutByte(m_quant[kZigzag[i]]);
    const std::uint8_t frame[] = {0xFF,
                                  0xC0,
                                  0x00,
                                  0x0B,
                                  0x08,
                                  static_cast<std::uint8_t>(m_height >> 8),
                                  static_cast<std::uint8_t>(m_height),
                                  static_cast<std::uint8_t>(m_width >> 8),
                                  static_cast<std::uint8_t>(m_width),
                                  0x01,
                                  0x01,
                                  0x11,
                                  0x00};
    for (std::uint8_t b : frame)
        PutByte(b);
    for (std::uint8_t b : {0xFF, 0xC4, 0x00, 0x1F, 0x00})
        PutByte(b);
    for (std::uint8_t b : kDcBits)
        PutByte(b);
    for (std::uint8_t b : kDcValues)
        PutByte(b);
    for (std::uint8_t b : {0xFF, 0xC4, 0x00, 0xB5, 0x10})
        PutByte(b);
    for (std::uint8_t b : kAcBits)
        PutByte(b);
    for (std::uint8_t b : kAcValues)
        PutByte(b);
    for (std::uint8_t b : {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00})
        PutByte(b);
}

void CQdxJpegWriter::EncodeBlock(const float block[64], int& lastDc)
{
    float d[64];
    for (int i = 0; i < 64; ++i)
        d[i] = block[i];
    for (int row = 0; row < 8; ++row)
        Aan(d + row * 8, 1);
    for (int column = 0; column < 8; ++column)
        Aan(d + column, 8);
    int q[64];
    for (int i = 0; i < 64; ++i)
        q[i] = static_cast<int>(d[i] * m_divisors[i] + 16384.5f) - 16384;

    const int diff = q[0] - lastDc;
    lastDc = q[0];
    const int dcCategory = Category(diff);
    PutHuff(m_dc[dcCategory]);
    if (dcCategory)
        PutBits(static_cast<std::uint32_t>(diff < 0 ? diff - 1 : diff), dcCategory);

    int last = 63;
    while (last > 0 && q[kZigzag[last]] == 0)
        --last;
    int run = 0;
    for (int k = 1; k <= last; ++k) {
        const int value = q[kZigzag[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run > 15) {
            PutHuff(m_ac[0xF0]);
            run -= 16;
        }
        const int category = Category(value);
        PutHuff(m_ac[(run << 4) | category]);
        PutBits(static_cast<std::uint32_t>(value < 0 ? value - 1 : value), category);
        run = 0;
    }
    if (last != 63)
        PutHuff(m_ac[0x00]);
}

void CQdxJpegWriter::EncodePlane(int plane)
{
    const std::uint8_t* data = m_buffer.Plane(plane);
    m_bitBuffer = 0;
    m_bitCount = 0;
    WriteStreamHeader();
    int lastDc = 0;
    float block[64];
    for (int top = 0; top < m_encodedHeight; top += 8) {
        Report((static_cast<double>(plane) * m_encodedHeight + top) / (4.0 * m_encodedHeight));
        for (int left = 0; left < m_encodedWidth; left += 8) {
            for (int y = 0; y < 8; ++y) {
                const std::uint8_t* row = data + static_cast<std::size_t>(top + y) * m_encodedWidth + left;
                for (int x = 0; x < 8; ++x)
                    block[y * 8 + x] = static_cast<float>(row[x]) - 128.0f;
            }
            EncodeBlock(block, lastDc);
        }
    }
    FlushBits();
    PutByte(0xFF);
    PutByte(0xD9);
}
