#pragma once
// The four CMYK planes of a QDX export, one byte per pixel and plane, top row
// first. The core's rows fill it from the bottom row upward.

#include "filters/common/FilterRecords.h"

#include <cstdint>
#include <vector>

class CImageBuffer
{
public:
    static constexpr int kPlanes = 4;
    static constexpr int kColourModelCmyk = 4;

    // width/height: the image; encodedWidth/encodedHeight: what the encoder
    // covers (at least the image). Throws CQdxError for what it cannot take.
    void Init(const BitmapInfoHeader& bitmap, int encodedWidth, int encodedHeight);
    // Throws CQdxError for a bitmap the buffer cannot take.
    static void Check(const BitmapInfoHeader& bitmap);

    // rowCount rows of bytesPerRow bytes, lowest image row first; extraColumns
    // repeat each row's last pixel.
    void WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows, int extraColumns);

    bool IsInit() const { return !m_planes.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::uint8_t* Plane(int plane) const
    {
        return m_planes.data() + static_cast<std::size_t>(plane) * m_planeBytes;
    }
    std::uint8_t* Plane(int plane) { return m_planes.data() + static_cast<std::size_t>(plane) * m_planeBytes; }

    // Pixel to planes: C = 255 - R and so on, the common part moved to K.
    static void RgbToCmyk(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t cmyk[4]);

private:
    void RowToPlanes(const std::uint8_t* row, int y, int extraColumns);

    int m_width = 0;  // encoded width
    int m_height = 0; // encoded height
    int m_imageWidth = 0;
    int m_rowsToFill = 0;
    int m_bitCount = 0;
    int m_paletteSize = 0;
    std::uint8_t m_palette[256][3] = {}; // red, green, blue
    std::size_t m_planeBytes = 0;
    std::vector<std::uint8_t> m_planes;
};
