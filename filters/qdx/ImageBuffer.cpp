#include "filters/qdx/ImageBuffer.h"

#include "filters/qdx/QdxError.h"

#include <algorithm>
#include <new>
#include <string>

void CImageBuffer::Check(const BitmapInfoHeader& bitmap)
{
    if (bitmap.biCompression != 0)
        throw CQdxError("Unsupported compression. " + std::to_string(bitmap.biCompression));
    const int bits = bitmap.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        throw CQdxError("Unsupported bitcound. " + std::to_string(bits));
    const std::int64_t entries = bits == 24 ? 0 : (bitmap.biClrUsed ? bitmap.biClrUsed : (1u << bits));
    if (entries > 256)
        throw CQdxError("Unsupported palette size: " + std::to_string(entries));
}

void CImageBuffer::Init(const BitmapInfoHeader& bitmap, int encodedWidth, int encodedHeight)
{
    Check(bitmap);
    const int bits = bitmap.biBitCount;
    const std::int64_t entries = bits == 24 ? 0 : (bitmap.biClrUsed ? bitmap.biClrUsed : (1u << bits));
    m_bitCount = bits;
    m_paletteSize = static_cast<int>(entries);
    const RgbQuad* palette = BitmapPalette(&bitmap);
    for (int i = 0; i < m_paletteSize; ++i) {
        m_palette[i][0] = palette[i].rgbRed;
        m_palette[i][1] = palette[i].rgbGreen;
        m_palette[i][2] = palette[i].rgbBlue;
    }
    m_imageWidth = bitmap.biWidth;
    m_width = encodedWidth;
    m_height = encodedHeight;
    m_rowsToFill = bitmap.biHeight;
    m_planeBytes = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    try {
        // Zero is white in every plane: rows the core never delivers and the
        // extra rows of the rounded height stay white.
        m_planes.assign(m_planeBytes * kPlanes, 0);
    } catch (const std::bad_alloc&) {
        throw CQdxError("Not enough memory for the bitmap image buffer.");
    }
}

void CImageBuffer::RgbToCmyk(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t cmyk[4])
{
    const int c = 255 - r;
    const int m = 255 - g;
    const int y = 255 - b;
    const int k = std::min({c, m, y});
    if (k == 255) {
        cmyk[0] = cmyk[1] = cmyk[2] = 0;
    } else {
        cmyk[0] = static_cast<std::uint8_t>((c - k) * 255 / (255 - k));
        cmyk[1] = static_cast<std::uint8_t>((m - k) * 255 / (255 - k));
        cmyk[2] = static_cast<std::uint8_t>((y - k) * 255 / (255 - k));
    }
    cmyk[3] = static_cast<std::uint8_t>(k);
}

void CImageBuffer::WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows,
                              int extraColumns)
{
    if (!IsInit())
        throw CQdxError("CImageBuffer Not Init in WriteBlock.");
    if (rowCount <= 0)
        return;
    const std::int64_t needed = (static_cast<std::int64_t>(m_imageWidth) * m_bitCount + 7) / 8;
    if (!rows || bytesPerRow < needed)
        throw CQdxError("Error writing export file.");
    for (std::int32_t i = 0; i < rowCount && m_rowsToFill > 0; ++i) {
        --m_rowsToFill;
        RowToPlanes(rows + static_cast<std::int64_t>(i) * bytesPerRow, m_rowsToFill, extraColumns);
    }
}

void CImageBuffer::RowToPlanes(const std::uint8_t* row, int y, int extraColumns)
{
    const std::size_t offset = static_cast<std::size_t>(y) * m_width;
    std::uint8_t* planes[kPlanes];
    for (int p = 0; p < kPlanes; ++p)
        planes[p] = Plane(p) + offset;
    const int mask = (1 << m_bitCount) - 1;
    std::uint8_t cmyk[4] = {};
    for (int x = 0; x < m_imageWidth; ++x) {
        std::uint8_t r, g, b;
        if (m_bitCount == 24) {
            b = row[x * 3];
            g = row[x * 3 + 1];
            r = row[x * 3 + 2];
        } else {
            const int bit = x * m_bitCount;
            const int index = (row[bit / 8] >> (8 - m_bitCount - bit % 8)) & mask;
            if (index < m_paletteSize) {
                r = m_palette[index][0];
                g = m_palette[index][1];
                b = m_palette[index][2];
            } else {
                // Outside the palette: black, but a bare 1-bit index reads as itself.
                const std::uint8_t v = (m_bitCount == 1 && index == 1) ? 255 : 0;
                r = g = b = v;
            }
        }
        RgbToCmyk(r, g, b, cmyk);
        for (int p = 0; p < kPlanes; ++p)
            planes[p][x] = cmyk[p];
    }
    const int extra = std::min(extraColumns, m_width - m_imageWidth);
    for (int x = m_imageWidth; x < m_imageWidth + extra; ++x)
        for (int p = 0; p < kPlanes; ++p)
            planes[p][x] = cmyk[p];
}
