#include "designer/resources/images/ImageExport.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/images/ImagingToolkit.h"
#include "designer/resources/images/ToolkitImage.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using imagetest::ByteVector;
using imagetest::OpenedImage;
using imagetest::Pixels;
using imagetest::ReadBytes;
using imagetest::TestBitmap;

namespace {

// Value of a TIFF tag of the first directory (little-endian files), or -1.
long TiffTag(const ByteVector& bytes, int tag)
{
    auto le16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    auto le32 = [&](std::size_t at) {
        return static_cast<std::size_t>(le16(at)) | static_cast<std::size_t>(le16(at + 2)) << 16;
    };
    if (bytes.size() < 8 || bytes[0] != 'I' || bytes[1] != 'I' || bytes[2] != 42)
        return -1;
    const std::size_t ifd = le32(4);
    if (ifd + 2 > bytes.size())
        return -1;
    const int count = le16(ifd);
    for (int i = 0; i < count && ifd + 2 + 12 * (i + 1) <= bytes.size(); ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (le16(entry) == tag)
            return le16(entry + 2) == 3 ? le16(entry + 8) : static_cast<long>(le32(entry + 8));
    }
    return -1;
}

struct QdxFacts
{
    bool marker = false;
    int xRes = 0; // units per ten inches
    int yRes = 0;
    int width = 0;
    int height = 0;
    int compression = -1;
};

// What a host reads first of a QDX file: the EBCDIC "QDX1", the image size
// and resolution of the image data descriptor, and the compression id.
QdxFacts ReadQdx(const ByteVector& bytes)
{
    QdxFacts facts;
    const ByteVector marker{0xD8, 0xC4, 0xE7, 0xF1};
    facts.marker = bytes.size() >= 4 && std::equal(marker.begin(), marker.end(), bytes.begin());
    auto be16 = [&](std::size_t at) { return bytes[at] << 8 | bytes[at + 1]; };
    std::size_t at = 4;
    while (at + 9 <= bytes.size() && bytes[at] == 0x5A) {
        const std::size_t size = static_cast<std::size_t>(be16(at + 1)) + 1;
        if (size < 9 || at + size > bytes.size())
            break;
        const bool descriptor = bytes[at + 3] == 0xD3 && bytes[at + 4] == 0xA6 && bytes[at + 5] == 0xFB;
        if (descriptor && size >= 18) {
            facts.xRes = be16(at + 10);
            facts.yRes = be16(at + 12);
            facts.width = be16(at + 14);
            facts.height = be16(at + 16);
        }
        const bool imageData = bytes[at + 3] == 0xD3 && bytes[at + 4] == 0xEE && bytes[at + 5] == 0xFB;
        for (std::size_t i = at + 9; imageData && facts.compression < 0 && i + 2 < at + size; ++i)
            if (bytes[i] == 0x95 && bytes[i + 1] == 0x03)
                facts.compression = bytes[i + 2];
        at += size;
    }
    return facts;
}

bool IsTiff(const ByteVector& bytes)
{
    return bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0;
}

// A document whose output page measures one page pixel per 1/100 inch, so
// that a subject of N page pixels is N/100 inches wide.
class ImageExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        page = doc->GetOutputPage();
        ASSERT_NE(page, nullptr);
        env.prompts->ClearRecorded();
        page->SetWidth(827);
        page->SetHeight(1169);
        page->SetPixelSize(827, 1169);
        jvxPath = env.folder.filePath(QStringLiteral("FORM.JVX"));
    }

    void TearDown() override
    {
        if (faxUser)
            doc->GetOutputDeviceManager()->GetDefaultDevice()->RemoveUser(faxUser.get());
    }

    void UseFaxDevice()
    {
        faxUser = std::make_unique<CFormOutputElement>();
        COutputDevice* device = doc->GetOutputDeviceManager()->GetDefaultDevice();
        device->SetType(COutputDevice::kFaxType);
        device->AddUser(faxUser.get());
    }

    BOOL Export(const ImageExportSubject& subject, int offsetX, int offsetY, const QString& name, int version = 28,
                int mode = CJVXArchive::store)
    {
        CFile file(jvxPath, CFile::modeCreate | CFile::modeWrite);
        CJVXArchive archive(version, mode, doc.get(), &file);
        const int offset[2] = {offsetX, offsetY};
        const BOOL written = ExportImageToServer(archive, subject, offset, name);
        writtenFiles.clear();
        backups.clear();
        for (const CJVXArchive::WrittenFile& file : archive.WrittenFiles()) {
            writtenFiles << file.path;
            if (!file.backup.isEmpty())
                backups << file.backup;
        }
        return written;
    }

    QString Target(const QString& name) const { return env.folder.filePath(name); }

    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& prompt : env.prompts->Recorded())
            texts.push_back(prompt.text);
        return texts;
    }

    WvdTestEnvironment env;
    ImagingToolkit toolkit{24};
    std::unique_ptr<CDesignerDoc> doc;
    CPage* page = nullptr;
    std::unique_ptr<CFormOutputElement> faxUser;
    QString jvxPath;
    QStringList writtenFiles;
    QStringList backups; // copies of the files the export replaced
};

TEST(ImageOptionText, HoldsTheLinesOfEachFormatJoinedByCr)
{
    struct Case
    {
        const char* name;
        int format;
        const char* expected;
    };
    const Case cases[] = {
        {"MMR", 0,
         "TIFF_XRES = 200\rTIFF_YRES = 100\rEXTENSION = MMR\rFILENAME = /jvx/LOGO\rOVERWRITE = ON\rAPPEND = OFF"},
        {"TIF", 1,
         "TIFF_XRES = 200\rTIFF_YRES = 100\rTIFF_ROWSPERSTRIP = 480\rCOMPRESS = ON\rTIFF_COMPRESS = GROUP4\r"
         "EXTENSION = TIF\rFILENAME = /jvx/LOGO\rOVERWRITE = ON\rAPPEND = OFF"},
        {"QDX JPEG", 2,
         "TIFF_XRES = 200\rTIFF_YRES = 100\rQDX_COMPRESS = JPG\rEXTENSION = QDX\rLOSSY_QUALITY = 65\r"
         "FILENAME = /jvx/LOGO\rOVERWRITE = ON\rAPPEND = OFF"},
        {"QDX LZW", 3,
         "TIFF_XRES = 200\rTIFF_YRES = 100\rQDX_COMPRESS = LZW\rEXTENSION = QDX\rFILENAME = /jvx/LOGO\r"
         "OVERWRITE = ON\rAPPEND = OFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ImageOptionText(200, 100, c.format, 480, 65, QStringLiteral("/jvx/LOGO")),
                  QString::fromLatin1(c.expected));
    }
}

TEST(ImageOptionText, FormatNamesAndResolutionSteps)
{
    const std::pair<int, const char*> names[] = {
        {-1, ""}, {0, "MMR"}, {1, "TIF"}, {2, "JPEG (Colour)"}, {3, "LZW (Colour)"}, {4, ""}};
    for (const auto& [format, name] : names)
        EXPECT_EQ(ImageFormatName(format), QString::fromLatin1(name)) << format;

    struct Case
    {
        int value;
        int step;
        int expected;
    };
    const Case cases[] = {{204, 0, 204}, {204, 10, 200}, {205, 10, 210}, {200, 10, 200},
                          {203, 6, 204}, {200, 6, 198},  {7, 1, 7},      {204, -5, 204}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundImageResolution(c.value, c.step), c.expected) << c.value << " by " << c.step;
}

TEST_F(ImageExportTest, WritesEveryFormatBesideTheJvxFile)
{
    struct Case
    {
        const char* name;
        int bits;
        int format;
        int preferredFormat;
    };
    const Case cases[] = {
        {"1-bit image as MMR", 1, 0, 1},
        {"24-bit image as TIF", 24, 1, 0},
        {"24-bit image as QDX with JPEG", 24, 2, 1},
        {"32-bit image as QDX with LZW", 32, 3, 1},
        {"the preferred format for -1", 24, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prefs.ImageExportFormat = c.preferredFormat;
        TestBitmap bitmap(320, 96, c.bits);
        bitmap.FillRect(0, 0, 160, 96, 0);
        ToolkitImagePtr image = bitmap.Image();
        ImageExportSubject subject;
        subject.image = image.get();
        subject.format = c.format;
        subject.quality = 55;
        subject.size[0] = 160; // 1.6 inches: 200 dpi
        subject.size[1] = 96;  // 0.96 inches: 100 dpi
        const QString name = QStringLiteral("IMG%1").arg(&c - cases);

        ASSERT_TRUE(Export(subject, 0, 0, name));
        EXPECT_TRUE(env.prompts->Recorded().empty());
        EXPECT_EQ(writtenFiles, QStringList{Target(name)});
        const ByteVector bytes = ReadBytes(Target(name));
        const int format = c.format < 0 ? c.preferredFormat : c.format;
        if (format <= 1) {
            EXPECT_EQ(IsTiff(bytes), format == 1);
            if (format == 1) {
                EXPECT_EQ(TiffTag(bytes, 259), 4) << "Group 4";
            }
            // TIF through libtiff, MMR through the MMR import filter.
            OpenedImage written(Target(name));
            ASSERT_NE(written.handle, nullptr);
            EXPECT_EQ(written.Width(), 320);
            EXPECT_EQ(written.Height(), 96);
            EXPECT_EQ(written.Bits(), 1) << "written with 2 colours";
            const QImage pixels = Pixels(written.handle);
            EXPECT_EQ(pixels.pixel(10, 10), qRgb(0, 0, 0));
            EXPECT_EQ(pixels.pixel(300, 10), qRgb(255, 255, 255));
            if (format == 1) {
                EXPECT_NEAR(written.XDpi(), 200.0, 0.5);
                EXPECT_NEAR(written.YDpi(), 100.0, 0.5);
            }
        } else {
            const QdxFacts qdx = ReadQdx(bytes);
            EXPECT_TRUE(qdx.marker);
            EXPECT_EQ(qdx.width, 320);
            EXPECT_EQ(qdx.height, 96);
            EXPECT_EQ(qdx.xRes, 2000);
            EXPECT_EQ(qdx.yRes, 1000);
            EXPECT_EQ(qdx.compression, format == 2 ? 0x83 : 0x0D);
        }
    }
}

TEST_F(ImageExportTest, CutsTheNoPrintBorderAndRoundsTheWidthTo16)
{
    struct Case
    {
        const char* name;
        int imageWidth;
        int blackLeft; // columns that lie in the border
        int naturalWidth;
        int offset;
        int step;
        int width;
        int xRes;
    };
    const Case cases[] = {
        {"right of the border, already a multiple of 16", 1728, 0, 864, 0, 0, 1728, 200},
        {"60 pixels cut, 1140 stretched to 1152", 1200, 60, 600, 30, 0, 1152, 202},
        {"the same with a resolution step of 10", 1200, 60, 600, 30, 10, 1152, 200},
        {"no cut, width raised to 1008", 1000, 0, 500, 0, 0, 1008, 202},
        {"204.8 gives 205, brought up to 210", 1024, 0, 500, 0, 10, 1024, 210},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prefs.ImageResolutionRounding = c.step;
        TestBitmap bitmap(c.imageWidth, 64, 1);
        bitmap.FillRect(0, 0, c.blackLeft, 64, 0);
        ToolkitImagePtr image = bitmap.Image();
        ImageExportSubject subject;
        subject.image = image.get();
        subject.format = 1;
        subject.size[0] = c.naturalWidth;
        subject.size[1] = 32;

        ASSERT_TRUE(Export(subject, c.offset, 0, QStringLiteral("CUT")));
        OpenedImage written(Target(QStringLiteral("CUT")));
        ASSERT_NE(written.handle, nullptr);
        EXPECT_EQ(written.Width(), c.width);
        EXPECT_EQ(written.Height(), 64);
        EXPECT_NEAR(written.XDpi(), c.xRes, 0.5);
        EXPECT_NEAR(written.YDpi(), RoundImageResolution(200, c.step), 0.5);
        EXPECT_EQ(Pixels(written.handle).pixel(0, 10), qRgb(255, 255, 255)) << "the border part is dropped";
        EXPECT_EQ(image->Width(), c.imageWidth) << "the subject's image stays as it was";
    }
}

TEST_F(ImageExportTest, RotatedImageIsWrittenUprightWithItsResolutionsSwapped)
{
    struct Case
    {
        const char* name;
        int offset[2];
        int width;
        bool markKept;
    };
    const Case cases[] = {
        {"nothing in the border", {0, 0}, 64, true},
        {"a quarter in the border at the bottom of the screen page", {0, 16}, 48, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBitmap bitmap(64, 32, 1);
        bitmap.FillRect(0, 0, 8, 8, 0); // a mark at the upright top left
        ToolkitImagePtr upright = bitmap.Image();
        ToolkitImagePtr loaded(upright->Rotate(90)); // as loaded for a landscape page
        ImageExportSubject subject;
        subject.image = loaded.get();
        subject.rotated = TRUE;
        subject.format = 1;
        subject.size[0] = 16; // the turned image on the landscape page
        subject.size[1] = 64;

        ASSERT_TRUE(Export(subject, c.offset[0], c.offset[1], QStringLiteral("TURNED")));
        OpenedImage written(Target(QStringLiteral("TURNED")));
        ASSERT_NE(written.handle, nullptr);
        EXPECT_EQ(written.Width(), c.width);
        EXPECT_EQ(written.Height(), 32);
        EXPECT_EQ(Pixels(written.handle).pixel(1, 1) == qRgb(0, 0, 0), c.markKept);
        // 0.64 inch of page height carries the upright width, 0.16 inch the height.
        EXPECT_NEAR(written.XDpi(), c.width / ((64.0 - c.offset[1]) / 100), 0.5);
        EXPECT_NEAR(written.YDpi(), 200.0, 0.5);
        EXPECT_EQ(loaded->Width(), 32);
        EXPECT_EQ(loaded->Height(), 64);
    }
}

TEST_F(ImageExportTest, ColourFormatBelowVersion16AsksForTheFallback)
{
    struct Case
    {
        const char* name;
        int version;
        int format;
        int preferred;
        std::optional<int> answer;
        const char* message;
        bool tiff;
    };
    const Case cases[] = {
        {"LZW with LZW preferred, OK", 15, 3, 3, IDOK,
         "Colour format 'LZW (Colour)' is not valid for image /pictures/logo.png for this JVX version. Format TIF will "
         "be used instead.",
         true},
        {"JPEG with MMR preferred, OK", 15, 2, 0, IDOK,
         "Colour format 'JPEG (Colour)' is not valid for image /pictures/logo.png for this JVX version. Format MMR "
         "will be used instead.",
         false},
        {"version 16 takes the colour format", 16, 3, 1, std::nullopt, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        env.prefs.ImageExportFormat = c.preferred;
        if (c.answer)
            env.prompts->AnswerMessageBox(*c.answer);
        ToolkitImagePtr image = TestBitmap(32, 16, 24).Image();
        ImageExportSubject subject;
        subject.image = image.get();
        subject.format = c.format;
        subject.path = QStringLiteral("/pictures/logo.png");
        subject.size[0] = 16;
        subject.size[1] = 8;

        ASSERT_TRUE(Export(subject, 0, 0, QStringLiteral("LOGO"), c.version));
        const ByteVector bytes = ReadBytes(Target(QStringLiteral("LOGO")));
        if (c.message) {
            ASSERT_EQ(env.prompts->Recorded().size(), 1u);
            const RecordedPrompt& prompt = env.prompts->Recorded().front();
            EXPECT_EQ(prompt.text, QString::fromLatin1(c.message));
            EXPECT_EQ(prompt.Buttons(), MB_OKCANCEL);
            EXPECT_EQ(prompt.Icon(), MB_ICONSTOP);
            EXPECT_EQ(IsTiff(bytes), c.tiff);
            EXPECT_FALSE(ReadQdx(bytes).marker);
            OpenedImage written(Target(QStringLiteral("LOGO")));
            EXPECT_EQ(written.Bits(), 1);
        } else {
            EXPECT_TRUE(env.prompts->Recorded().empty());
            EXPECT_TRUE(ReadQdx(bytes).marker);
        }
    }
}

TEST_F(ImageExportTest, CancelOfTheFallbackEndsTheWholeExport)
{
    env.prefs.ImageExportFormat = 3;
    env.prompts->AnswerMessageBox(IDCANCEL);
    ToolkitImagePtr image = TestBitmap(32, 16, 24).Image();
    ImageExportSubject subject;
    subject.image = image.get();
    subject.format = 2;
    subject.size[0] = 16;
    subject.size[1] = 8;

    try {
        Export(subject, 0, 0, QStringLiteral("LOGO"), 15);
        FAIL() << "the export went on";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::none);
    }
    EXPECT_EQ(env.prompts->Recorded().size(), 1u);
    EXPECT_FALSE(QFile::exists(Target(QStringLiteral("LOGO"))));
}

TEST_F(ImageExportTest, FaxDeviceLimitsLargeImagesWhenTheUserAgrees)
{
    struct Case
    {
        const char* name;
        bool fax;
        int width;
        int height;
        std::optional<int> answer;
        int writtenWidth;
        int writtenHeight;
    };
    const Case cases[] = {
        {"too wide, Yes", true, 5000, 3000, IDYES, 4096, 3000},
        {"too wide, No", true, 5000, 3000, IDNO, 5008, 3000},
        {"too high, Yes", true, 1000, 5000, IDYES, 1008, 4096},
        {"at the limit", true, 4096, 4096, std::nullopt, 4096, 4096},
        {"no fax device", false, 5000, 3000, std::nullopt, 5008, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        env.prompts->ClearRecorded();
        if (c.fax)
            UseFaxDevice();
        if (c.answer)
            env.prompts->AnswerMessageBox(*c.answer);
        ToolkitImagePtr image = TestBitmap(c.width, c.height, 1).Image();
        ImageExportSubject subject;
        subject.image = image.get();
        subject.format = 1;
        subject.size[0] = c.width / 4;
        subject.size[1] = c.height / 4;

        ASSERT_TRUE(Export(subject, 0, 0, QStringLiteral("BIG")));
        EXPECT_EQ(env.prompts->Recorded().size(), c.answer ? 1u : 0u);
        OpenedImage written(Target(QStringLiteral("BIG")));
        EXPECT_EQ(written.Width(), c.writtenWidth);
        EXPECT_EQ(written.Height(), c.writtenHeight);
        TearDown();
        faxUser.reset();
    }
}

TEST_F(ImageExportTest, FaxQuestionNamesTheImageAndBothSizes)
{
    UseFaxDevice();
    env.prompts->AnswerMessageBox(IDNO);
    ToolkitImagePtr image = TestBitmap(5000, 300, 1).Image();
    ImageExportSubject subject;
    subject.image = image.get();
    subject.format = 0;
    subject.size[0] = 1250;
    subject.size[1] = 75;

    ASSERT_TRUE(Export(subject, 0, 0, QStringLiteral("BIG")));
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    const RecordedPrompt& prompt = env.prompts->Recorded().front();
    EXPECT_EQ(prompt.text,
              QStringLiteral("KWVD Designer has detected an output device of type *FAX.  The IBM fax modem cannot "
                             "handle images as large as BIG, do you want the image size reduced ?\n\nMax image width: "
                             "4096,  BIG image width: 5008\nMax image height: 4096, BIG image height: 300."));
    EXPECT_EQ(prompt.Buttons(), MB_YESNO);
}

TEST_F(ImageExportTest, CutThatLeavesNoWidthFailsTheImageAndKeepsTheOldFile)
{
    struct Case
    {
        const char* name;
        int naturalWidth;
        int offset;
    };
    const Case cases[] = {
        {"offset equal to the width", 100, 100},
        {"offset beyond the width", 100, 150},
        {"no size on the page", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        QFile old(Target(QStringLiteral("GONE")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("old image");
        old.close();
        ToolkitImagePtr image = TestBitmap(64, 32, 1).Image();
        ImageExportSubject subject;
        subject.image = image.get();
        subject.format = 1;
        subject.size[0] = c.naturalWidth;
        subject.size[1] = 16;

        EXPECT_FALSE(Export(subject, c.offset, 0, QStringLiteral("GONE")));
        EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Error saving image file: GONE on the Server")});
        EXPECT_TRUE(writtenFiles.isEmpty());
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old image"));
        old.close();
    }
}

TEST_F(ImageExportTest, ReplacesAnOldFileButNotAFolder)
{
    ToolkitImagePtr image = TestBitmap(64, 32, 1).Image();
    ImageExportSubject subject;
    subject.image = image.get();
    subject.format = 1;
    subject.size[0] = 32;
    subject.size[1] = 16;

    QFile old(Target(QStringLiteral("OLD")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old image");
    old.close();
    ASSERT_TRUE(Export(subject, 0, 0, QStringLiteral("OLD")));
    EXPECT_TRUE(IsTiff(ReadBytes(Target(QStringLiteral("OLD")))));
    EXPECT_EQ(writtenFiles, QStringList{Target(QStringLiteral("OLD"))});
    ASSERT_EQ(backups.size(), 1) << "the old file is kept aside until the JVX file is written";
    const ByteVector kept = ReadBytes(backups.front());
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old image");
    EXPECT_TRUE(env.prompts->Recorded().empty());
    EXPECT_EQ(QDir(env.folder.path()).entryList(QDir::Files).size(), 3) << "no temporary file is left";

    ASSERT_TRUE(QDir(env.folder.path()).mkdir(QStringLiteral("HELD")));
    EXPECT_FALSE(Export(subject, 0, 0, QStringLiteral("HELD")));
    EXPECT_EQ(
        Messages(),
        std::vector<QString>{
            QStringLiteral("Image %1 not overwritten.\nReason: Is a directory.").arg(Target(QStringLiteral("HELD")))});
    EXPECT_TRUE(writtenFiles.isEmpty());
    EXPECT_TRUE(QFileInfo(Target(QStringLiteral("HELD"))).isDir());
}

TEST_F(ImageExportTest, NothingWithoutALoadedImageOrWhenReading)
{
    ToolkitImagePtr image = TestBitmap(64, 32, 1).Image();
    ToolkitImagePtr unopened(ToolkitImage::LoadFromFile(Target(QStringLiteral("missing.bmp"))));
    struct Case
    {
        const char* name;
        ToolkitImage* image;
        int mode;
    };
    const Case cases[] = {
        {"no image", nullptr, CJVXArchive::store},
        {"a file that was not opened", unopened.get(), CJVXArchive::store},
        {"an archive that reads", image.get(), CJVXArchive::load},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageExportSubject subject;
        subject.image = c.image;
        subject.format = 1;
        subject.size[0] = 32;
        subject.size[1] = 16;
        EXPECT_FALSE(Export(subject, 0, 0, QStringLiteral("NONE"), 28, c.mode));
        EXPECT_TRUE(env.prompts->Recorded().empty());
        EXPECT_FALSE(QFile::exists(Target(QStringLiteral("NONE"))));
    }
}

TEST_F(ImageExportTest, ShowsTheWaitCursorWhileItWrites)
{
    ToolkitImagePtr image = TestBitmap(64, 32, 1).Image();
    ImageExportSubject subject;
    subject.image = image.get();
    subject.format = 0;
    subject.size[0] = 32;
    subject.size[1] = 16;
    ASSERT_TRUE(Export(subject, 0, 0, QStringLiteral("WAIT")));
    EXPECT_EQ(env.prompts->WaitCursorShowCount(), 1);
    EXPECT_EQ(env.prompts->WaitCursorDepth(), 0);
}

} // namespace
