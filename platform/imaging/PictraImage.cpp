#include "platform/imaging/PictraImage.h"

#include <cstring>

void PictraImage::RebuildInfo()
{
    const bool paletted = pixels.format() == QImage::Format_Mono || pixels.format() == QImage::Format_Indexed8;
    const int entries = paletted ? static_cast<int>(pixels.colorCount()) : 0;
    info.assign(sizeof(BitmapInfoHeader) + static_cast<std::size_t>(entries) * sizeof(RgbQuad), 0);
    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = pixels.width();
    header.biHeight = pixels.height();
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    header.biSizeImage = static_cast<std::uint32_t>(BitmapRowBytes(bitsPerPixel, pixels.width()) * pixels.height());
    header.biXPelsPerMeter = xPixelsPerMetre;
    header.biYPelsPerMeter = yPixelsPerMetre;
    header.biClrUsed = static_cast<std::uint32_t>(entries);
    std::memcpy(info.data(), &header, sizeof header);
    auto* palette = reinterpret_cast<RgbQuad*>(info.data() + sizeof header);
    for (int i = 0; i < entries; ++i) {
        const QRgb c = pixels.color(i);
        palette[i] = RgbQuad{static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                             static_cast<std::uint8_t>(qRed(c)), 0};
    }
}

QImage NormalisePixels(const QImage& decoded, int bitsPerPixel)
{
    if (decoded.isNull())
        return {};
    if (bitsPerPixel <= 1) {
        if (decoded.format() == QImage::Format_Mono)
            return decoded;
        if (decoded.format() == QImage::Format_MonoLSB)
            return decoded.convertToFormat(QImage::Format_Mono);
        return decoded.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    }
    if (bitsPerPixel <= 8) {
        if (decoded.format() == QImage::Format_Indexed8)
            return decoded;
        if (decoded.format() == QImage::Format_Grayscale8) {
            // Grey levels become a grey ramp palette, index = level.
            QImage indexed(decoded.size(), QImage::Format_Indexed8);
            QList<QRgb> ramp;
            for (int i = 0; i < 256; ++i)
                ramp.append(qRgb(i, i, i));
            indexed.setColorTable(ramp);
            for (int y = 0; y < decoded.height(); ++y)
                std::memcpy(indexed.scanLine(y), decoded.constScanLine(y), static_cast<std::size_t>(decoded.width()));
            return indexed;
        }
        return decoded.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    }
    return decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

int ExportDepth(int bitsPerPixel)
{
    if (bitsPerPixel <= 1)
        return 1;
    if (bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel <= 8)
        return 8;
    return 24;
}

QImage FlattenOntoWhite(const QImage& pixels)
{
    if (pixels.format() == QImage::Format_RGB32)
        return pixels;
    QImage flat = pixels.convertToFormat(QImage::Format_ARGB32);
    if (flat.isNull())
        return {};
    // Composed in place: the pixels come out opaque, so the image is RGB32
    // as it stands, without a second copy.
    for (int y = 0; y < flat.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < flat.width(); ++x)
            line[x] = OverWhite(line[x]);
    }
    flat.reinterpretAsFormat(QImage::Format_RGB32);
    return flat;
}

QImage ToBlackAndWhite(const QImage& pixels)
{
    const QImage flat = FlattenOntoWhite(pixels);
    if (flat.isNull())
        return {};
    QImage mono(flat.size(), QImage::Format_Mono);
    if (mono.isNull())
        return {};
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    for (int y = 0; y < flat.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        std::uint8_t* out = mono.scanLine(y);
        for (int x = 0; x < flat.width(); ++x) {
            const int level = (qRed(in[x]) * 30 + qGreen(in[x]) * 59 + qBlue(in[x]) * 11) / 100;
            if (level >= 128)
                out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
    }
    return mono;
}

QImage ToIndexed(const QImage& pixels, int maxColours)
{
    if (pixels.format() == QImage::Format_Indexed8 && pixels.colorCount() <= maxColours)
        return pixels;
    const QImage flat = FlattenOntoWhite(pixels);
    QImage indexed = flat.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (indexed.colorCount() <= maxColours)
        return indexed;
    // More colours than allowed: a uniform colour cube, dithered.
    QList<QRgb> cube;
    const int levels = maxColours >= 256 ? 6 : 2;
    for (int r = 0; r < levels; ++r)
        for (int g = 0; g < levels; ++g)
            for (int b = 0; b < levels; ++b)
                cube.append(qRgb(r * 255 / (levels - 1), g * 255 / (levels - 1), b * 255 / (levels - 1)));
    return flat.convertToFormat(QImage::Format_Indexed8, cube, Qt::DiffuseDither);
}
