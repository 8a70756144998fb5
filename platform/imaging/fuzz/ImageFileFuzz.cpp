// Fuzz target for image files read through the core: each input is opened as
// a file (format taken from the content), every page (four at most) is
// selected and its header and palette read; the same bytes are then taken as
// a bitmap in memory.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> image_file_fuzz saves a small
// black-and-white, a palette and a colour image in every format the core
// writes, and as JPEG.
//   KWVD_LIBRARY_PATH=<build>/lib image_file_fuzz -rss_limit_mb=2048 -malloc_limit_mb=512
//       <work folder> seeds/image_file_fuzz

#include "platform/imaging/Pictra.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>

using namespace kwvd::fuzz;

namespace {

void SaveSeed(const QString& folder, PtImage image, const QString& name, const std::string& options)
{
    const QString path = ScratchFolder().filePath(name);
    QFile::remove(path);
    const std::string text = options + "\rFILENAME = " + path.toStdString() + "\rOVERWRITE = ON";
    OptionBlockHandle block = PtOptionBlockFromText(text.c_str());
    const int saved = PtSaveImage(image, block);
    PtFreeOptionBlock(block);
    if (saved == 1)
        CopySeed(folder, name, path);
}

void WriteSeeds(const QString& folder)
{
    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.fillRect(2, 2, 10, 6, Qt::red);
        painter.fillRect(12, 8, 10, 6, Qt::blue);
        painter.drawLine(0, 15, 23, 0);
    }
    const struct
    {
        const char* name;
        QImage image;
    } sources[] = {
        {"colour", picture},
        {"mono", picture.convertToFormat(QImage::Format_Mono)},
        {"palette", picture.convertToFormat(QImage::Format_Indexed8)},
    };
    for (const auto& source : sources) {
        const QString bmp = ScratchFolder().filePath(QStringLiteral("%1.bmp").arg(QLatin1String(source.name)));
        if (!source.image.save(bmp, "BMP"))
            continue;
        CopySeed(folder, QStringLiteral("%1.bmp").arg(QLatin1String(source.name)), bmp);
        // JPEG the core reads but does not write.
        const QString jpeg = ScratchFolder().filePath(QStringLiteral("%1.jpg").arg(QLatin1String(source.name)));
        if (source.image.save(jpeg, "JPG"))
            CopySeed(folder, QStringLiteral("%1.jpg").arg(QLatin1String(source.name)), jpeg);
        PtImage image = PtOpenImage(bmp.toUtf8().constData());
        if (image == nullptr)
            continue;
        for (const char* extension : {"TIF", "PNG", "MMR"}) {
            const QString name =
                QStringLiteral("%1.%2").arg(QLatin1String(source.name), QString::fromLatin1(extension).toLower());
            SaveSeed(folder, image, name, std::string("EXTENSION = ") + extension);
        }
        SaveSeed(folder, image, QStringLiteral("%1-compressed.tif").arg(QLatin1String(source.name)),
                 "EXTENSION = TIF\rCOMPRESS = ON");
        PtFreeImage(image);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PtStartup();
    WriteSeedsIfAsked(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = WriteScratchFile(QStringLiteral("input"), data, size);
    if (PtImage image = PtOpenImage(path.toUtf8().constData())) {
        std::int32_t pages = 0;
        PtPageCount(image, &pages);
        RgbQuad palette[256];
        for (std::int32_t page = 0; page < pages && page < 4; ++page) {
            if (PtSetPage(image, page) != 1)
                continue;
            std::uint32_t flags = 0;
            PtImageInfo(image, &flags);
            PtPalette(image, palette, 256);
        }
        PtFreeImage(image);
    }
    if (PtImage bitmap = PtImageFromBitmap(data, size))
        PtFreeImage(bitmap);
    return 0;
}
