#pragma once
// Small images made by the tests themselves: a device-independent bitmap of
// a chosen depth and resolution, written as a BMP file or handed to the
// imaging toolkit in memory, and ways to look at what the toolkit wrote.

#include "designer/resources/images/ToolkitImage.h"
#include "platform/imaging/Pictra.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace imagetest {

using ByteVector = std::vector<std::uint8_t>;

inline void PutLe16(ByteVector& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutLe32(ByteVector& out, std::uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

// Pixels of depth 1 (index 0 black, 1 white), 8 (grey ramp palette), 24 or
// 32; white at first. Rows are kept top first and stored bottom first.
class TestBitmap
{
public:
    TestBitmap(int width, int height, int bits, int xPpm = 0, int yPpm = 0)
        : m_width(width), m_height(height), m_bits(bits), m_xPpm(xPpm), m_yPpm(yPpm),
          m_rowBytes((bits * width + 31) / 32 * 4), m_rows(static_cast<std::size_t>(m_rowBytes) * height, 0)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetGrey(x, y, 255);
    }

    // Black or white for 1 bit; the grey for the other depths.
    void SetGrey(int x, int y, int grey)
    {
        std::uint8_t* row = m_rows.data() + static_cast<std::size_t>(y) * m_rowBytes;
        switch (m_bits) {
        case 1: {
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            if (grey >= 128)
                row[x / 8] |= bit;
            else
                row[x / 8] &= static_cast<std::uint8_t>(~bit);
            break;
        }
        case 8:
            row[x] = static_cast<std::uint8_t>(grey);
            break;
        default: {
            const int step = m_bits / 8;
            for (int c = 0; c < 3; ++c)
                row[x * step + c] = static_cast<std::uint8_t>(grey);
            break;
        }
        }
    }

    void FillRect(int left, int top, int right, int bottom, int grey)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                SetGrey(x, y, grey);
    }

    // Header, palette and rows bottom first.
    ByteVector Dib() const
    {
        ByteVector out;
        const int entries = m_bits <= 8 ? 1 << m_bits : 0;
        PutLe32(out, 40);
        PutLe32(out, static_cast<std::uint32_t>(m_width));
        PutLe32(out, static_cast<std::uint32_t>(m_height));
        PutLe16(out, 1);
        PutLe16(out, static_cast<std::uint32_t>(m_bits));
        PutLe32(out, 0);
        PutLe32(out, static_cast<std::uint32_t>(m_rows.size()));
        PutLe32(out, static_cast<std::uint32_t>(m_xPpm));
        PutLe32(out, static_cast<std::uint32_t>(m_yPpm));
        PutLe32(out, static_cast<std::uint32_t>(entries));
        PutLe32(out, 0);
        for (int i = 0; i < entries; ++i) {
            const int grey = entries == 2 ? i * 255 : i;
            for (int c = 0; c < 3; ++c)
                out.push_back(static_cast<std::uint8_t>(grey));
            out.push_back(0);
        }
        for (int y = m_height - 1; y >= 0; --y) {
            const auto* row = m_rows.data() + static_cast<std::size_t>(y) * m_rowBytes;
            out.insert(out.end(), row, row + m_rowBytes);
        }
        return out;
    }

    // A BMP file: the 14-byte file header, then the bitmap.
    bool WriteBmp(const QString& path) const
    {
        const ByteVector dib = Dib();
        const int entries = m_bits <= 8 ? 1 << m_bits : 0;
        ByteVector file{'B', 'M'};
        PutLe32(file, static_cast<std::uint32_t>(14 + dib.size()));
        PutLe32(file, 0);
        PutLe32(file, static_cast<std::uint32_t>(14 + 40 + entries * 4));
        file.insert(file.end(), dib.begin(), dib.end());
        std::ofstream out(path.toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        return static_cast<bool>(out);
    }

    // The bitmap as a toolkit image in memory.
    ToolkitImagePtr Image() const
    {
        const ByteVector dib = Dib();
        return ToolkitImagePtr(ToolkitImage::Attach(PtImageFromBitmap(dib.data(), dib.size())));
    }

private:
    int m_width;
    int m_height;
    int m_bits;
    int m_xPpm;
    int m_yPpm;
    int m_rowBytes;
    ByteVector m_rows;
};

inline ByteVector ReadBytes(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The image's pixels as the toolkit draws them, one pixel per pixel.
inline QImage Pixels(PtImage image)
{
    const BitmapInfoHeader* info = PtImageInfo(image, nullptr);
    if (!info)
        return {};
    const int height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    QImage pixels(info->biWidth, height, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    QPainter painter(&pixels);
    const PtRect whole{0, 0, info->biWidth - 1, height - 1};
    PtDrawImage(image, &painter, &whole, nullptr);
    painter.end();
    return pixels;
}

// An image file read back through the toolkit core; freed with the object.
struct OpenedImage
{
    explicit OpenedImage(const QString& path) : handle(PtOpenImage(path.toUtf8().constData())) {}
    ~OpenedImage()
    {
        if (handle)
            PtFreeImage(handle);
    }
    OpenedImage(const OpenedImage&) = delete;
    OpenedImage& operator=(const OpenedImage&) = delete;

    const BitmapInfoHeader* Info() const { return handle ? PtImageInfo(handle, nullptr) : nullptr; }
    int Width() const { return Info() ? Info()->biWidth : 0; }
    int Height() const { return Info() ? (Info()->biHeight < 0 ? -Info()->biHeight : Info()->biHeight) : 0; }
    int Bits() const { return Info() ? Info()->biBitCount : 0; }
    // Dots per inch from the stored pixels per metre.
    double XDpi() const { return Info() ? Info()->biXPelsPerMeter * 0.0254 : 0.0; }
    double YDpi() const { return Info() ? Info()->biYPelsPerMeter * 0.0254 : 0.0; }

    PtImage handle;
};

} // namespace imagetest
