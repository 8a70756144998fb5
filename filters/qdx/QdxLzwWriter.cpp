#include "filters/qdx/QdxLzwWriter.h"

#include "filters/qdx/QdxError.h"

#include <new>

namespace {
constexpr int kClearCode = 256;
// The host's reader expects 258 as the end code, not TIFF's 257.
constexpr int kEndCode = 258;
} // namespace

void CQdxLzwWriter::ResetTable()
{
    if (m_codes.empty()) {
        try {
            m_codes.resize(kTableSize);
            m_prefixes.resize(kTableSize);
            m_bytes.resize(kTableSize);
        } catch (const std::bad_alloc&) {
            throw CQdxError("Fatal error allocating table space!\n");
        }
    }
    std::fill(m_codes.begin(), m_codes.end(), -1);
    m_width = 9;
    m_limit = 512;
}

void CQdxLzwWriter::PutCode(int code)
{
    m_bits |= static_cast<std::uint32_t>(code) << (32 - m_bitCount - m_width);
    m_bitCount += m_width;
    while (m_bitCount >= 8) {
        PutByte(static_cast<std::uint8_t>(m_bits >> 24));
        m_bits <<= 8;
        m_bitCount -= 8;
    }
}

void CQdxLzwWriter::FlushBits()
{
    if (m_bitCount > 0)
        PutByte(static_cast<std::uint8_t>(m_bits >> 24));
    m_bits = 0;
    m_bitCount = 0;
}

void CQdxLzwWriter::EncodePlane(int plane)
{
    const std::uint8_t* data = m_buffer.Plane(plane);
    const std::int64_t count = static_cast<std::int64_t>(m_encodedWidth) * m_encodedHeight;
    const double whole = 4.0 * static_cast<double>(count);
    ResetTable();
    m_bits = 0;
    m_bitCount = 0;
    int prefix = kClearCode; // so the first code written is the clear code
    m_nextCode = 257;
    for (std::int64_t i = 0; i < count; ++i) {
        const int c = data[i];
        if (i % m_encodedHeight != 0)
            Report((static_cast<double>(plane) * static_cast<double>(count) + static_cast<double>(i)) / whole);
        int h = prefix ^ (c << 4);
        const int step = h == 0 ? 1 : kTableSize - h;
        bool found = false;
        while (m_codes[h] != -1) {
            if (m_prefixes[h] == prefix && m_bytes[h] == c) {
                found = true;
                break;
            }
            h -= step;
            if (h < 0)
                h += kTableSize;
        }
        if (found) {
            prefix = m_codes[h];
            continue;
        }
        m_codes[h] = m_nextCode;
        m_prefixes[h] = prefix;
        m_bytes[h] = static_cast<std::uint8_t>(c);
        PutCode(prefix);
        ++m_nextCode;
        if (m_nextCode == m_limit) {
            if (m_width < 12) {
                ++m_width;
                m_limit = m_width == 12 ? 4095 : 1 << m_width;
            } else {
                PutCode(kClearCode);
                ResetTable();
                m_nextCode = 258;
            }
        }
        prefix = c;
    }
    PutCode(prefix);
    PutCode(kEndCode);
    FlushBits();
}
