#include "designer/controls/GifFrames.h"

namespace {

enum class Block {
    Application,
    Comment,
    GraphicControl,
    PlainText,
    Image,
    Trailer,
    Unknown
};

constexpr qsizetype kHeaderBytes = 13;

unsigned Byte(QByteArrayView data, qsizetype at)
{
    return static_cast<unsigned char>(data[at]);
}

unsigned Word(QByteArrayView data, qsizetype at)
{
    return Byte(data, at) | (Byte(data, at + 1) << 8);
}

Block KindAt(QByteArrayView data, qsizetype at)
{
    if (at < 0 || at >= data.size())
        return Block::Unknown;
    switch (Byte(data, at)) {
    case 0x2C:
        return Block::Image;
    case 0x3B:
        return Block::Trailer;
    case 0x21:
        if (at + 1 >= data.size())
            return Block::Unknown;
        switch (Byte(data, at + 1)) {
        case 0xFF:
            return Block::Application;
        case 0xFE:
            return Block::Comment;
        case 0xF9:
            return Block::GraphicControl;
        case 0x01:
            return Block::PlainText;
        default:
            return Block::Unknown;
        }
    default:
        return Block::Unknown;
    }
}

// Bytes of the sub-block chain at 'at', terminator included; 0 when it runs
// past the end.
qsizetype ChainLength(QByteArrayView data, qsizetype at)
{
    qsizetype pos = at;
    while (pos < data.size()) {
        const qsizetype n = Byte(data, pos);
        if (n == 0)
            return pos + 1 - at;
        pos += n + 1;
    }
    return 0;
}

qsizetype ColourTableBytes(unsigned packed)
{
    return (packed & 0x80) ? 3 * (qsizetype(1) << ((packed & 7) + 1)) : 0;
}

// Length of the block at 'at', or 0 when it is unknown or does not fit.
qsizetype BlockLength(QByteArrayView data, qsizetype at)
{
    qsizetype fixed = 0;
    switch (KindAt(data, at)) {
    case Block::Application:
        fixed = 14;
        break;
    case Block::Comment:
        fixed = 2;
        break;
    case Block::GraphicControl:
        fixed = 8;
        break;
    case Block::PlainText:
        fixed = 15;
        break;
    case Block::Image:
        if (at + 10 > data.size())
            return 0;
        fixed = 11 + ColourTableBytes(Byte(data, at + 9));
        break;
    case Block::Trailer:
        fixed = 1;
        break;
    case Block::Unknown:
        return 0;
    }
    if (at + fixed > data.size())
        return 0;
    qsizetype length = fixed;
    if (KindAt(data, at) != Block::GraphicControl && KindAt(data, at) != Block::Trailer) {
        const qsizetype chain = ChainLength(data, at + fixed);
        if (chain == 0)
            return 0;
        length += chain;
    }
    return at + length <= data.size() ? length : 0;
}

bool Skip(QByteArrayView data, qsizetype& at)
{
    const qsizetype length = BlockLength(data, at);
    if (length <= 0)
        return false;
    at += length;
    return true;
}

// Walks one graphic block from 'at'; fills frame when given. Returns the
// offset after it, or nothing.
std::optional<qsizetype> WalkGraphicBlock(QByteArrayView data, qsizetype at, GifFrameBytes* frame,
                                          qsizetype* frameStart)
{
    for (;;) {
        const Block kind = KindAt(data, at);
        if (kind == Block::Application || kind == Block::Comment) {
            if (!Skip(data, at))
                return std::nullopt;
            continue;
        }
        if (kind == Block::GraphicControl) {
            if (BlockLength(data, at) <= 0)
                return std::nullopt;
            if (frame) {
                *frameStart = at;
                frame->delay = Word(data, at + 4);
                frame->disposal = (Byte(data, at + 3) >> 2) & 7;
            }
            Skip(data, at);
            for (;;) {
                const Block next = KindAt(data, at);
                if (next == Block::Application || next == Block::Comment) {
                    if (!Skip(data, at))
                        return std::nullopt;
                    continue;
                }
                if (next == Block::Image || next == Block::PlainText)
                    break;
                return std::nullopt;
            }
        }
        const Block graphic = KindAt(data, at);
        if (graphic != Block::Image && graphic != Block::PlainText)
            return std::nullopt;
        if (BlockLength(data, at) <= 0)
            return std::nullopt;
        if (frame) {
            if (*frameStart < 0)
                *frameStart = at;
            if (graphic == Block::Image) {
                frame->left = static_cast<int>(Word(data, at + 1));
                frame->top = static_cast<int>(Word(data, at + 3));
                frame->width = static_cast<int>(Word(data, at + 5));
                frame->height = static_cast<int>(Word(data, at + 7));
            }
        }
        Skip(data, at);
        return at;
    }
}

} // namespace

std::optional<GifLayout> ReadGifLayout(QByteArrayView data)
{
    if (data.size() < kHeaderBytes)
        return std::nullopt;
    if (!data.startsWith("GIF87a") && !data.startsWith("GIF89a"))
        return std::nullopt;
    GifLayout layout;
    layout.width = static_cast<int>(Word(data, 6));
    layout.height = static_cast<int>(Word(data, 8));
    layout.colourTableBytes = ColourTableBytes(Byte(data, 10));
    layout.firstBlock = kHeaderBytes + layout.colourTableBytes;
    if (layout.firstBlock > data.size())
        return std::nullopt;
    return layout;
}

bool IsGifData(QByteArrayView data)
{
    return data.startsWith("GIF87a") || data.startsWith("GIF89a");
}

bool SkipGraphicBlock(QByteArrayView data, qsizetype& offset)
{
    const std::optional<qsizetype> next = WalkGraphicBlock(data, offset, nullptr, nullptr);
    if (!next)
        return false;
    offset = *next;
    return true;
}

int CountGraphicBlocks(QByteArrayView data, const GifLayout& layout)
{
    int count = 0;
    qsizetype offset = layout.firstBlock;
    while (SkipGraphicBlock(data, offset))
        ++count;
    return count;
}

std::optional<GifFrameBytes> ExtractGifFrame(QByteArrayView data, const GifLayout& layout, qsizetype& offset)
{
    GifFrameBytes frame;
    qsizetype start = -1;
    const std::optional<qsizetype> next = WalkGraphicBlock(data, offset, &frame, &start);
    if (!next)
        return std::nullopt;
    frame.gif.reserve(layout.firstBlock + (*next - start) + 1);
    frame.gif.append(data.first(layout.firstBlock));
    frame.gif.append(data.sliced(start, *next - start));
    frame.gif.append(char(0x3B));
    offset = *next;
    return frame;
}
