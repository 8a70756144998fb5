#pragma once
// Splits GIF data into one-frame GIFs, as the animated picture plays them.
// Every length is checked against the data before it is used: a block that
// would run past the end ends the parse as a failure, never a read outside.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

struct GifLayout
{
    int width = 0; // logical screen
    int height = 0;
    qsizetype colourTableBytes = 0; // global colour table
    qsizetype firstBlock = 0;       // offset after header and colour table
};

struct GifFrameBytes
{
    QByteArray gif; // header, global colour table, the frame's blocks, trailer
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::uint32_t delay = 0xFFFFFFFFu; // hundredths; all ones without a graphic control extension
    std::uint32_t disposal = 0;
};

// The layout when data begins "GIF87a" or "GIF89a" and holds its header and
// colour table, else nothing.
std::optional<GifLayout> ReadGifLayout(QByteArrayView data);
bool IsGifData(QByteArrayView data);

// Skips one graphic block (with the extensions before it) at offset;
// false, offset unchanged, when there is none or it is damaged.
bool SkipGraphicBlock(QByteArrayView data, qsizetype& offset);
int CountGraphicBlocks(QByteArrayView data, const GifLayout& layout);

// The next graphic block at offset as a complete one-frame GIF.
std::optional<GifFrameBytes> ExtractGifFrame(QByteArrayView data, const GifLayout& layout, qsizetype& offset);
