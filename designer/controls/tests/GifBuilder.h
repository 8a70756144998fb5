#pragma once
// Writes small GIF files from their parts, for the animated picture's tests
// and for the busy picture the socket export shows (res/MakeBusyGif.cpp).
// Pixels are written through LZW with a clear code every few codes, so the
// code width never grows: large files, but the simplest valid coding.

#include <QByteArray>
#include <QRgb>

#include <cstdint>
#include <vector>

struct GifFrameSpec
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width x height palette indexes
    int delay = -1;                   // hundredths of a second; -1: no graphic control extension
    int disposal = 0;
    int transparent = -1; // palette index, -1: none
};

class GifBuilder
{
public:
    GifBuilder(int width, int height, std::vector<QRgb> palette)
        : m_width(width), m_height(height), m_palette(std::move(palette))
    {
        m_palette.resize(256, qRgb(0, 0, 0));
    }

    void AddFrame(const GifFrameSpec& frame) { m_blocks.push_back(Frame(frame)); }
    void AddComment(const QByteArray& text)
    {
        QByteArray block("\x21\xFE", 2);
        SubBlocks(block, text);
        m_blocks.push_back(block);
    }
    // A plain text extension (a graphic block without an image), after a
    // graphic control extension when delay >= 0.
    void AddPlainText(int delay)
    {
        QByteArray block;
        if (delay >= 0)
            block.append(Gce(delay, 0, -1));
        block.append("\x21\x01\x0C", 3);
        block.append(QByteArray(12, '\0'));
        SubBlocks(block, QByteArray("text"));
        m_blocks.push_back(block);
    }

    QByteArray Build() const
    {
        QByteArray out("GIF89a");
        Word(out, m_width);
        Word(out, m_height);
        out.append(char(0xF7)); // global table of 256 colours
        out.append(char(0));
        out.append(char(0));
        for (const QRgb colour : m_palette) {
            out.append(char(qRed(colour)));
            out.append(char(qGreen(colour)));
            out.append(char(qBlue(colour)));
        }
        for (const QByteArray& block : m_blocks)
            out.append(block);
        out.append(char(0x3B));
        return out;
    }

    // A frame of one colour.
    static GifFrameSpec Solid(int left, int top, int width, int height, std::uint8_t index, int delay, int disposal)
    {
        GifFrameSpec frame{
            left,  top,      width, height, std::vector<std::uint8_t>(std::size_t(width) * height, index),
            delay, disposal, -1};
        return frame;
    }

private:
    static QByteArray Gce(int delay, int disposal, int transparent)
    {
        QByteArray out("\x21\xF9\x04", 3);
        out.append(char(((disposal & 7) << 2) | (transparent >= 0 ? 1 : 0)));
        Word(out, delay);
        out.append(char(transparent >= 0 ? transparent : 0));
        out.append(char(0));
        return out;
    }

    static QByteArray Frame(const GifFrameSpec& frame)
    {
        QByteArray out;
        if (frame.delay >= 0)
            out.append(Gce(frame.delay, frame.disposal, frame.transparent));
        out.append(char(0x2C));
        Word(out, frame.left);
        Word(out, frame.top);
        Word(out, frame.width);
        Word(out, frame.height);
        out.append(char(0));
        out.append(char(8)); // minimum code size
        SubBlocks(out, Lzw(frame.pixels));
        return out;
    }

    static void Word(QByteArray& out, int value)
    {
        out.append(char(value & 0xFF));
        out.append(char((value >> 8) & 0xFF));
    }

    static void SubBlocks(QByteArray& out, const QByteArray& data)
    {
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - i);
            out.append(char(n));
            out.append(data.mid(i, n));
        }
        out.append(char(0));
    }

    static QByteArray Lzw(const std::vector<std::uint8_t>& pixels)
    {
        constexpr int kWidth = 9;
        constexpr unsigned kClear = 256;
        constexpr unsigned kEnd = 257;
        constexpr int kLiteralsPerClear = 250;
        QByteArray out;
        unsigned buffer = 0;
        int bits = 0;
        auto put = [&](unsigned code) {
            buffer |= code << bits;
            bits += kWidth;
            while (bits >= 8) {
                out.append(char(buffer & 0xFF));
                buffer >>= 8;
                bits -= 8;
            }
        };
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (i % kLiteralsPerClear == 0)
                put(kClear);
            put(pixels[i]);
        }
        put(kEnd);
        if (bits > 0)
            out.append(char(buffer & 0xFF));
        return out;
    }

    int m_width;
    int m_height;
    std::vector<QRgb> m_palette;
    std::vector<QByteArray> m_blocks;
};

// The busy picture of the socket export: eight dots on a ring, one of them
// dark in each frame, turning clockwise; 32 x 32, 100 ms a frame.
inline QByteArray BusyPictureGif()
{
    GifBuilder gif(32, 32, {qRgb(236, 233, 216), qRgb(190, 190, 190), qRgb(40, 70, 160)});
    constexpr int kCentre[8][2] = {{16, 5}, {24, 8}, {27, 16}, {24, 24}, {16, 27}, {8, 24}, {5, 16}, {8, 8}};
    for (int frame = 0; frame < 8; ++frame) {
        GifFrameSpec picture = GifBuilder::Solid(0, 0, 32, 32, 0, 10, 1);
        for (int dot = 0; dot < 8; ++dot) {
            const std::uint8_t colour = dot == frame ? 2 : 1;
            for (int y = -2; y <= 2; ++y) {
                for (int x = -2; x <= 2; ++x) {
                    if (x * x + y * y <= 5)
                        picture.pixels[std::size_t(kCentre[dot][1] + y) * 32 + kCentre[dot][0] + x] = colour;
                }
            }
        }
        gif.AddFrame(picture);
    }
    return gif.Build();
}
