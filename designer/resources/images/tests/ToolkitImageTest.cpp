#include "designer/resources/images/ToolkitImage.h"

#include "designer/resources/images/ImagingToolkit.h"
#include "tests/support/ImageFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using imagetest::OpenedImage;
using imagetest::Pixels;
using imagetest::TestBitmap;

namespace {

class ToolkitImageTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
};

TEST_F(ToolkitImageTest, LoadedImageGetsPalettesAndADisplayCopyByScreen)
{
    struct Case
    {
        const char* name;
        int screenBits;
        int imageBits;
        bool palette;
        bool displayCopy;
    };
    const Case cases[] = {
        {"true colour screen, 1 bit", 32, 1, true, false},    {"true colour screen, 8 bit", 32, 8, true, false},
        {"true colour screen, 24 bit", 32, 24, false, false}, {"256-colour screen, 1 bit", 8, 1, true, false},
        {"256-colour screen, 8 bit", 8, 8, true, true},       {"256-colour screen, 24 bit", 8, 24, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImagingToolkit toolkit(c.screenBits);
        const QString path = Path(QStringLiteral("image%1.bmp").arg(c.imageBits));
        ASSERT_TRUE(TestBitmap(16, 8, c.imageBits).WriteBmp(path));

        ToolkitImagePtr image(ToolkitImage::LoadFromFile(path));
        ASSERT_NE(image->Handle(), nullptr);
        ASSERT_NE(image->Info(), nullptr);
        EXPECT_EQ(image->BitsPerPixel(), c.imageBits);
        EXPECT_EQ(image->HasPalette(), c.palette);
        EXPECT_EQ(image->DisplayHandle() != nullptr, c.displayCopy);
        EXPECT_EQ(image->HasDisplayPalette(), c.displayCopy);
        if (c.displayCopy) {
            // A loaded image is reduced to the screen's own colours.
            const BitmapInfoHeader* display = PtImageInfo(image->DisplayHandle(), nullptr);
            ASSERT_NE(display, nullptr);
            EXPECT_LE(display->biBitCount, 8);
        }
    }
}

TEST_F(ToolkitImageTest, ProducedImageGetsADisplayCopyOnlyOnAPaletteScreen)
{
    struct Case
    {
        int screenBits;
        int imageBits;
        bool palette;
        bool displayCopy;
    };
    const Case cases[] = {{8, 24, false, true}, {8, 1, true, false}, {24, 24, false, false}, {24, 8, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenBits << " bit screen, " << c.imageBits << " bit image");
        ImagingToolkit toolkit(c.screenBits);
        ToolkitImagePtr image = TestBitmap(16, 8, c.imageBits).Image();
        ASSERT_NE(image->Handle(), nullptr);
        EXPECT_EQ(image->HasPalette(), c.palette);
        EXPECT_EQ(image->DisplayHandle() != nullptr, c.displayCopy);
    }
}

TEST_F(ToolkitImageTest, FileTheCoreCannotOpenGivesAnEmptyWrapper)
{
    ImagingToolkit toolkit(24);
    QFile garbage(Path(QStringLiteral("garbage.bmp")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is no bitmap");
    garbage.close();

    for (const QString& path : {Path(QStringLiteral("missing.bmp")), garbage.fileName(), QString()}) {
        SCOPED_TRACE(path.toStdString());
        ToolkitImage* image = ToolkitImage::LoadFromFile(path);
        EXPECT_EQ(image->Handle(), nullptr);
        EXPECT_EQ(image->Info(), nullptr);
        EXPECT_EQ(image->Width(), 0);
        EXPECT_FALSE(image->HasPalette());
        EXPECT_FALSE(image->SaveWithOptions(QStringLiteral("EXTENSION = TIF\rFILENAME = ") + Path("out.tif")));
        image->Destroy();
    }
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.tif"))));
}

TEST_F(ToolkitImageTest, LoadsAPathWithCharactersBeyondAscii)
{
    ImagingToolkit toolkit(24);
    const QString path = Path(QStringLiteral("Bild größer.bmp"));
    ASSERT_TRUE(TestBitmap(24, 10, 1).WriteBmp(path));
    ToolkitImagePtr image(ToolkitImage::LoadFromFile(path));
    ASSERT_NE(image->Handle(), nullptr);
    EXPECT_EQ(image->Width(), 24);
    EXPECT_EQ(image->Height(), 10);
}

TEST_F(ToolkitImageTest, ResizeTakesTheInclusiveSourcePartAndLeavesTheImage)
{
    ImagingToolkit toolkit(24);
    for (int bits : {1, 24}) {
        SCOPED_TRACE(bits);
        TestBitmap bitmap(64, 16, bits);
        bitmap.FillRect(0, 0, 32, 16, 0); // left half black
        ToolkitImagePtr image = bitmap.Image();
        ASSERT_NE(image->Handle(), nullptr);

        const PtRect right{32, 0, 63, 15};
        ToolkitImagePtr white(image->Resize(&right, 16, 8));
        ASSERT_NE(white->Handle(), nullptr);
        EXPECT_EQ(white->Width(), 16);
        EXPECT_EQ(white->Height(), 8);
        EXPECT_EQ(white->BitsPerPixel(), bits);
        const QImage whitePixels = Pixels(white->Handle());
        EXPECT_EQ(whitePixels.pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(whitePixels.pixel(15, 7), qRgb(255, 255, 255));

        const PtRect left{0, 0, 31, 15};
        ToolkitImagePtr black(image->Resize(&left, 8, 4));
        ASSERT_NE(black->Handle(), nullptr);
        EXPECT_EQ(Pixels(black->Handle()).pixel(7, 3), qRgb(0, 0, 0));

        ToolkitImagePtr whole(image->Resize(nullptr, 32, 8));
        ASSERT_NE(whole->Handle(), nullptr);
        const QImage wholePixels = Pixels(whole->Handle());
        EXPECT_EQ(wholePixels.pixel(2, 2), qRgb(0, 0, 0));
        EXPECT_EQ(wholePixels.pixel(30, 2), qRgb(255, 255, 255));

        EXPECT_EQ(image->Width(), 64);
        EXPECT_EQ(image->Height(), 16);
    }
}

TEST_F(ToolkitImageTest, RotateTurnsCounterClockwise)
{
    ImagingToolkit toolkit(24);
    TestBitmap bitmap(40, 20, 1);
    bitmap.FillRect(0, 0, 4, 4, 0); // a black mark at the top left
    ToolkitImagePtr image = bitmap.Image();

    ToolkitImagePtr turned(image->Rotate(90));
    ASSERT_NE(turned->Handle(), nullptr);
    EXPECT_EQ(turned->Width(), 20);
    EXPECT_EQ(turned->Height(), 40);
    const QImage turnedPixels = Pixels(turned->Handle());
    EXPECT_EQ(turnedPixels.pixel(1, 38), qRgb(0, 0, 0)) << "the top left went to the bottom left";
    EXPECT_EQ(turnedPixels.pixel(1, 1), qRgb(255, 255, 255));

    ToolkitImagePtr back(turned->Rotate(270));
    ASSERT_NE(back->Handle(), nullptr);
    EXPECT_EQ(back->Width(), 40);
    EXPECT_EQ(back->Height(), 20);
    EXPECT_EQ(Pixels(back->Handle()).pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image->Width(), 40);
}

TEST_F(ToolkitImageTest, ReduceColoursGivesAtMostThatManyColours)
{
    ImagingToolkit toolkit(24);
    struct Case
    {
        int sourceBits;
        ULONGLONG colours;
        int resultBits;
    };
    const Case cases[] = {{24, 2, 1}, {24, 256, 8}, {32, ULONGLONG{1} << 24, 24}, {8, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceBits << " bits to " << c.colours << " colours");
        TestBitmap bitmap(16, 16, c.sourceBits);
        bitmap.FillRect(0, 0, 8, 16, 0);
        ToolkitImagePtr image = bitmap.Image();
        ToolkitImagePtr reduced(image->ReduceColours(c.colours));
        ASSERT_NE(reduced->Handle(), nullptr);
        EXPECT_EQ(reduced->BitsPerPixel(), c.resultBits);
        EXPECT_EQ(reduced->HasPalette(), c.resultBits <= 8);
        EXPECT_EQ(image->BitsPerPixel(), c.sourceBits);
        const QImage pixels = Pixels(reduced->Handle());
        EXPECT_EQ(pixels.pixel(2, 2), qRgb(0, 0, 0));
        EXPECT_EQ(pixels.pixel(12, 2), qRgb(255, 255, 255));
    }
}

TEST_F(ToolkitImageTest, FailedProductionGivesAWrapperWithoutAnImage)
{
    ImagingToolkit toolkit(8);
    ToolkitImagePtr image = TestBitmap(16, 8, 24).Image();
    const PtRect outside{0, 0, 16, 7}; // one column past the image
    ToolkitImage* results[] = {image->Resize(nullptr, 0, 8), image->Resize(&outside, 8, 8), image->Rotate(45),
                               image->ReduceColours(1)};
    for (ToolkitImage* result : results) {
        EXPECT_EQ(result->Handle(), nullptr);
        EXPECT_EQ(result->Info(), nullptr);
        EXPECT_EQ(result->DisplayHandle(), nullptr);
        result->Destroy();
    }
}

TEST_F(ToolkitImageTest, SaveWritesTheFileTheOptionTextNames)
{
    ImagingToolkit toolkit(24);
    ToolkitImagePtr image = TestBitmap(32, 8, 1).Image();
    const QString path = Path(QStringLiteral("Logo Groß"));
    ASSERT_TRUE(image->SaveWithOptions(QStringLiteral("TIFF_XRES = 200\rTIFF_YRES = 100\rEXTENSION = TIF\rFILENAME = ")
                                       + path + QStringLiteral("\rOVERWRITE = ON\rAPPEND = OFF")));
    OpenedImage written(path);
    ASSERT_NE(written.handle, nullptr) << "the name keeps its case and its characters";
    EXPECT_EQ(written.Width(), 32);
    EXPECT_EQ(written.Height(), 8);
    EXPECT_NEAR(written.XDpi(), 200.0, 0.5);
    EXPECT_NEAR(written.YDpi(), 100.0, 0.5);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("LOGO GROSS"))));

    const QString nowhere = Path(QStringLiteral("no such folder/LOGO"));
    EXPECT_FALSE(image->SaveWithOptions(QStringLiteral("EXTENSION = TIF\rFILENAME = ") + nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
