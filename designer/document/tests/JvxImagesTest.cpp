// A whole document with images, a resource and barcodes written as a JVX
// file: the image files beside it read back, the "#R" section and the GRPH
// records, and an import of that file that finds the images again; then the
// exports that refuse or end early.

#include "tests/support/ImageDocFixture.h"

#include "designer/document/Page.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace imagetest;

namespace {

// The text lines of an 8-bit JVX file, split at CR LF.
std::vector<std::string> Lines(const ByteVector& file)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0x0D && file[i + 1] == 0x0A) {
            lines.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(start),
                               file.begin() + static_cast<std::ptrdiff_t>(i));
            start = i + 2;
            ++i;
        }
    }
    return lines;
}

// An element record of version 18 is a line of 513 characters; these are
// the columns of the fields the tests look at.
struct RecordLine
{
    static constexpr size_t kLength = 513;
    std::string text;

    std::string Opcode() const { return text.substr(6, 4); }
    std::string Data() const { return text.substr(40, 132); }
    int DestFirstColumn() const { return std::stoi(text.substr(28, 3)); }
    int DestWidth() const { return std::stoi(text.substr(232, 6)); }
    int DestHeight() const { return std::stoi(text.substr(238, 6)); }
    std::string BarcodeLetter() const { return text.substr(511, 1); }
};

// Every element record, or those of one opcode.
std::vector<RecordLine> Records(const ByteVector& file, const std::string& opcode = {})
{
    std::vector<RecordLine> records;
    for (const std::string& line : Lines(file)) {
        RecordLine record{line};
        if (line.size() == RecordLine::kLength && line[0] == ' ' && (opcode.empty() || record.Opcode() == opcode))
            records.push_back(record);
    }
    return records;
}

std::string Padded(const std::string& text, size_t width)
{
    return text + std::string(width - text.size(), ' ');
}

bool IsTiff(const ByteVector& bytes)
{
    return bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0;
}

// What the host checks first in a QDX file: the EBCDIC "QDX1", then in the
// image data descriptor (structured field D3 A6 FB) the image's width and
// height.
struct QdxFacts
{
    bool marker = false;
    int width = 0;
    int height = 0;
};

QdxFacts ReadQdx(const ByteVector& bytes)
{
    QdxFacts facts;
    const ByteVector marker{0xD8, 0xC4, 0xE7, 0xF1};
    facts.marker = bytes.size() >= 4 && std::equal(marker.begin(), marker.end(), bytes.begin());
    auto be16 = [&](size_t at) { return bytes[at] << 8 | bytes[at + 1]; };
    size_t at = 4;
    while (at + 9 <= bytes.size() && bytes[at] == 0x5A) {
        const size_t size = static_cast<size_t>(be16(at + 1)) + 1;
        if (size < 9 || at + size > bytes.size())
            break;
        if (bytes[at + 3] == 0xD3 && bytes[at + 4] == 0xA6 && bytes[at + 5] == 0xFB && size >= 18) {
            facts.width = be16(at + 14);
            facts.height = be16(at + 16);
        }
        at += size;
    }
    return facts;
}

// The names of the files in a folder, in code order.
QStringList FilesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort(Qt::CaseSensitive);
    return names;
}

template <typename T>
std::vector<T*> ElementsOf(const CDesignerDoc& doc)
{
    std::vector<T*> found;
    for (CObject* object : doc.GetElementList())
        if (auto* element = dynamic_cast<T*>(object))
            found.push_back(element);
    return found;
}

// A document whose output page measures one page pixel per 1/100 inch, a
// folder of source images and an empty folder the JVX file goes to.
// A fixed image element of that file, with that export format, placed as
// one change. formatSet tells whether the image took the format (an image
// shared with an earlier element may have it already).
CFormImageElement* PlaceImageIn(ImageDocEnvironment& env, const QString& path, const kwvd::Rect& rect, int format,
                                BOOL* formatSet = nullptr)
{
    CDocChangeGuard change(env.doc.get());
    env.env.prompts->AnswerFile(path);
    auto* element =
        static_cast<CFormImageElement*>(env.doc->CreateNewElement(FormElementType::Image, 2, rect, nullptr));
    EXPECT_NE(element, nullptr);
    BOOL set = FALSE;
    if (element != nullptr && element->GetImage() != nullptr)
        set = element->GetImage()->SetFormat(format);
    if (formatSet != nullptr)
        *formatSet = set;
    return element;
}

// A plain and a colour image exported at version 15 into the folder
// "target": the colour question, whose Cancel ends the export, comes after
// PLAIN was written.
struct TwoImageExport
{
    ImageDocEnvironment local;
    QString target;
    QString jvx;
    QString colour; // the colour image's source

    void Place()
    {
        local.OutputPage().SetPixelSize(827, 1169);
        const QString folder = local.Folder(QStringLiteral("src"));
        target = local.Folder(QStringLiteral("target"));
        jvx = QDir(target).filePath(QStringLiteral("invoice.jvx"));
        const QString plain = local.WriteImage(folder, QStringLiteral("plain.bmp"), 32, 16);
        colour = local.WriteImage(folder, QStringLiteral("colour.bmp"), 32, 16, 24);
        for (const auto& [path, format] : {std::pair{plain, 0}, std::pair{colour, 3}}) {
            BOOL formatSet = FALSE;
            ASSERT_NE(PlaceImageIn(local, path, kwvd::Rect(100, 100, 200, 200), format, &formatSet), nullptr);
            ASSERT_TRUE(formatSet);
        }
    }

    BOOL ExportAnswering(int answer)
    {
        local.env.prompts->ClearRecorded();
        local.env.prompts->AnswerMessageBox(answer);
        QString member = QStringLiteral("invoice");
        return local.doc->ExportJVXFile(jvx, member, 15);
    }
};

class JvxImagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CPage& page = env.OutputPage();
        page.SetWidth(827);
        page.SetHeight(1169);
        page.SetPixelSize(827, 1169);
        page.SetBorder(0);
        source = env.Folder(QStringLiteral("source"));
        out = env.Folder(QStringLiteral("out"));
        jvxPath = QDir(out).filePath(QStringLiteral("invoice.jvx"));
    }

    CDesignerDoc& Doc() const { return *env.doc; }
    CPage& Page() const { return env.OutputPage(); }
    ScriptedPromptService& Prompts() const { return *env.env.prompts; }

    CFormImageElement* PlaceImage(const QString& path, const kwvd::Rect& rect, int format)
    {
        return PlaceImageIn(env, path, rect, format);
    }

    // A resource of that file in the next slot, used by a resource element.
    CResource* PlaceResource(const QString& path)
    {
        CDocChangeGuard change(&Doc());
        auto resource = std::make_unique<CResource>(&Doc());
        EXPECT_TRUE(resource->LoadImage(path));
        const int slot = Doc().GetResourceManager()->Add(resource.get());
        EXPECT_GE(slot, 0);
        CResource* placed = resource.release();
        auto* element = static_cast<CFormResourceElement*>(
            Doc().CreateNewElement(FormElementType::Resource, 0, kwvd::Rect(), nullptr));
        EXPECT_NE(element, nullptr);
        ResourcePageData data;
        data.resourceIndex = slot;
        EXPECT_TRUE(element->ApplyPage(data, ResourcePageData::ResourceIndex));
        return placed;
    }

    BOOL Export(int version, const QString& member = QStringLiteral("INVOICE"))
    {
        QString name = member;
        return Doc().ExportJVXFile(jvxPath, name, version);
    }

    QString Out(const char* name) const { return QDir(out).filePath(QString::fromLatin1(name)); }
    QStringList FilesInOut() const { return FilesIn(out); }

    int CountMessages(const QString& text) const { return static_cast<int>(env.Messages().count(text)); }

    ImageDocEnvironment env;
    QString source;
    QString out;
    QString jvxPath;
};

} // namespace

TEST_F(JvxImagesTest, ExportWritesEveryImageBesideTheJvxFileAndImportFindsThemAgain)
{
    TestBitmap mmr(320, 96, 1);
    mmr.FillRect(0, 0, 160, 96, 0);
    const QString mmrPath = QDir(source).filePath(QStringLiteral("mmrlogo.bmp"));
    ASSERT_TRUE(mmr.WriteBmp(mmrPath));
    TestBitmap tif(160, 64, 1);
    tif.FillRect(0, 0, 80, 64, 0);
    const QString tifPath = QDir(source).filePath(QStringLiteral("tifsign.bmp"));
    ASSERT_TRUE(tif.WriteBmp(tifPath));
    TestBitmap qdx(64, 48, 24);
    qdx.FillRect(0, 0, 32, 48, 90);
    const QString qdxPath = QDir(source).filePath(QStringLiteral("qdxphoto.bmp"));
    ASSERT_TRUE(qdx.WriteBmp(qdxPath));
    const QString formPath = env.WriteImage(source, QStringLiteral("form.bmp"), 83, 117);

    ASSERT_NE(PlaceImage(mmrPath, kwvd::Rect(100, 100, 200, 200), 0), nullptr);
    ASSERT_NE(PlaceImage(tifPath, kwvd::Rect(100, 300, 200, 400), 1), nullptr);
    ASSERT_NE(PlaceImage(qdxPath, kwvd::Rect(400, 300, 500, 400), 3), nullptr);
    ASSERT_NE(PlaceResource(formPath), nullptr);
    CFormBarcodeElement* barcode = nullptr;
    {
        CDocChangeGuard change(&Doc());
        barcode = static_cast<CFormBarcodeElement*>(
            Doc().CreateNewElement(FormElementType::Barcode, 1, kwvd::Rect(20, 20, 120, 40), nullptr));
        ASSERT_NE(barcode, nullptr);
        ASSERT_TRUE(barcode->SetBarcodeIndex(-1));
    }
    Prompts().ClearRecorded();

    ASSERT_TRUE(Export(18));
    const QString noDefinition = QStringLiteral("Barcode element '%1' has no barcode definition and was not exported.")
                                     .arg(barcode->GetDescription());
    EXPECT_EQ(CountMessages(noDefinition), 1);
    EXPECT_EQ(env.Messages().size(), 1) << env.Messages().join(u'|').toStdString();
    QStringList expectedFiles{QStringLiteral("FORM"), QStringLiteral("MMRLOGO"), QStringLiteral("QDXPHOTO"),
                              QStringLiteral("TIFSIGN"), QStringLiteral("invoice.jvx")};
    EXPECT_EQ(FilesInOut().join(u'|'), expectedFiles.join(u'|'));

    // The MMR file through the MMR import filter, the TIF files through libtiff.
    const ByteVector mmrBytes = ReadBytes(Out("MMRLOGO"));
    EXPECT_FALSE(IsTiff(mmrBytes));
    {
        OpenedImage written(Out("MMRLOGO"));
        ASSERT_NE(written.handle, nullptr);
        EXPECT_EQ(written.Width(), 320);
        EXPECT_EQ(written.Height(), 96);
        const QImage pixels = Pixels(written.handle);
        EXPECT_EQ(pixels.pixel(20, 48), qRgb(0, 0, 0));
        EXPECT_EQ(pixels.pixel(300, 48), qRgb(255, 255, 255));
    }
    EXPECT_TRUE(IsTiff(ReadBytes(Out("TIFSIGN"))));
    {
        OpenedImage written(Out("TIFSIGN"));
        ASSERT_NE(written.handle, nullptr);
        EXPECT_EQ(written.Width(), 160);
        EXPECT_EQ(written.Height(), 64);
        EXPECT_EQ(written.Bits(), 1);
    }
    // The resource takes the preferred format, TIF.
    EXPECT_TRUE(IsTiff(ReadBytes(Out("FORM"))));
    const QdxFacts facts = ReadQdx(ReadBytes(Out("QDXPHOTO")));
    EXPECT_TRUE(facts.marker);
    EXPECT_EQ(facts.width, 64);
    EXPECT_EQ(facts.height, 48);

    // The resource section: the header with the member as library, then the
    // record of slot 0 with the page of 827 x 1169 hundredths in twips.
    const ByteVector jvx = ReadBytes(jvxPath);
    const std::vector<std::string> lines = Lines(jvx);
    const std::string header = "#R " + Padded("INVOICE", 8) + std::string(50, ' ');
    const std::string record = "#R0" + Padded("FORM", 8) + "011909" + "016834";
    const auto headerAt = std::find(lines.begin(), lines.end(), header);
    ASSERT_NE(headerAt, lines.end());
    ASSERT_NE(headerAt + 1, lines.end());
    EXPECT_EQ(*(headerAt + 1), record);

    // One GRPH record per image, naming its host file; none for the barcode.
    std::vector<std::string> named;
    for (const RecordLine& line : Records(jvx)) {
        EXPECT_NE(line.Opcode(), "COPY");
        EXPECT_NE(line.Opcode(), "MOVE");
        if (line.Opcode() == "GRPH")
            named.push_back(line.Data());
    }
    const std::vector<std::string> expectedNames{Padded("MMRLOGO", 132), Padded("TIFSIGN", 132),
                                                 Padded("QDXPHOTO", 132)};
    EXPECT_EQ(named, expectedNames);

    // Read back into a new document: the MMR and TIF images and the resource
    // are found beside the JVX file; nothing reads QDX.
    ImageDocEnvironment second;
    CDesignerDoc& copy = *second.doc;
    ASSERT_TRUE(copy.ImportJVXFile(jvxPath));
    const auto images = ElementsOf<CFormImageElement>(copy);
    ASSERT_EQ(images.size(), 3u);
    ASSERT_NE(images[0]->GetImage(), nullptr);
    EXPECT_TRUE(images[0]->GetImage()->IsLoaded());
    EXPECT_EQ(images[0]->GetImage()->GetPath(), Out("MMRLOGO"));
    ASSERT_NE(images[1]->GetImage(), nullptr);
    EXPECT_TRUE(images[1]->GetImage()->IsLoaded());
    EXPECT_EQ(images[1]->GetImage()->GetPath(), Out("TIFSIGN"));
    EXPECT_EQ(images[2]->GetImage(), nullptr);
    EXPECT_TRUE(second.Messages().contains(QStringLiteral("Image File: %1 Invalid.").arg(Out("QDXPHOTO"))))
        << second.Messages().join(u'|').toStdString();

    CResource* resource = copy.GetResourceManager()->GetResource(0);
    ASSERT_NE(resource, nullptr);
    EXPECT_TRUE(resource->IsLoaded());
    // Kept absolute, so later reloads and saves still find it.
    EXPECT_EQ(resource->GetPath(), Out("FORM"));
    EXPECT_EQ(ElementsOf<CFormResourceElement>(copy).size(), 1u);
}

TEST_F(JvxImagesTest, ImagesThatWouldShareAHostFileRefuseTheExport)
{
    struct Case
    {
        const char* name;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"same title in two folders", "a/logo.bmp", "b/logo.bmp"},
        {"titles differing only in case", "a/logo.bmp", "a/LOGO.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageDocEnvironment local;
        CPage& page = local.OutputPage();
        page.SetPixelSize(827, 1169);
        const QString folder = local.Folder(QStringLiteral("src"));
        QDir(folder).mkpath(QStringLiteral("a"));
        QDir(folder).mkpath(QStringLiteral("b"));
        const QString first = local.WriteImage(folder, QString::fromLatin1(c.first), 32, 16);
        const QString second = local.WriteImage(folder, QString::fromLatin1(c.second), 48, 16);
        const QString target = local.Folder(QStringLiteral("target"));
        for (const QString& path : {first, second}) {
            CDocChangeGuard change(local.doc.get());
            local.env.prompts->AnswerFile(path);
            ASSERT_NE(local.doc->CreateNewElement(FormElementType::Image, 2, kwvd::Rect(100, 100, 200, 200), nullptr),
                      nullptr);
        }
        ASSERT_EQ(local.doc->GetImageRegistry()->GetSlotCount(), 2);
        local.env.prompts->ClearRecorded();

        QString member = QStringLiteral("INVOICE");
        EXPECT_FALSE(local.doc->ExportJVXFile(QDir(target).filePath(QStringLiteral("invoice.jvx")), member, 18));
        const QStringList messages = local.Messages();
        ASSERT_EQ(messages.size(), 2) << messages.join(u'|').toStdString();
        EXPECT_EQ(messages[0], QStringLiteral("Images %1 and %2 would both be written to the host as LOGO. Rename one "
                                              "of them and export again.")
                                   .arg(first, second));
        EXPECT_EQ(messages[1], QStringLiteral("WVD INVOICE not Exported. Errors were encountered."));
        EXPECT_TRUE(FilesIn(target).isEmpty());
    }
}

TEST_F(JvxImagesTest, ImageRecordMovesByTheExportOffsetAndAgreesWithTheCutFile)
{
    // A border of 2.5 cells reaches 3 whole cells into the page.
    const int cellWidth = Page().GetCellWidth();
    ASSERT_GT(cellWidth, 0);
    Page().SetBorder(static_cast<WORD>(25 * cellWidth));
    const int margin = 3 * cellWidth;
    const QString path = env.WriteImage(source, QStringLiteral("edge.bmp"), 320, 96);
    CFormImageElement* element = PlaceImage(path, kwvd::Rect(0, 100, 320, 196), 1);
    ASSERT_NE(element, nullptr);
    const kwvd::Rect dest = element->DestRect();
    ASSERT_EQ(dest.left, 0);
    int size[2] = {};
    element->GetImage()->GetSize(size);
    ASSERT_GT(size[0], margin);

    Prompts().ClearRecorded();
    ASSERT_TRUE(Export(18));
    EXPECT_TRUE(env.Messages().isEmpty()) << env.Messages().join(u'|').toStdString();
    EXPECT_EQ(element->DestRect(), dest) << "the move lasts only while the record is written";

    const std::vector<RecordLine> records = Records(ReadBytes(jvxPath), "GRPH");
    ASSERT_EQ(records.size(), 1u);
    const RecordLine& record = records[0];
    ASSERT_EQ(record.Opcode(), "GRPH");
    kwvd::Rect moved = dest;
    moved.left += margin;
    QPoint twips(moved.Width(), moved.Height());
    Page().PixelsToTwips(twips);
    EXPECT_EQ(record.DestWidth(), twips.x());
    EXPECT_EQ(record.DestHeight(), twips.y());
    kwvd::Rect cells = moved;
    Page().RectToCells(cells);
    EXPECT_EQ(record.DestFirstColumn(), cells.left);

    // The file lost what lay in the border: its printed width is the
    // record's, within the rounding of the width to 16 pixels.
    OpenedImage written(Out("EDGE"));
    ASSERT_NE(written.handle, nullptr);
    const int cut = (320 * margin + size[0] / 2) / size[0];
    const int expectedWidth = (320 - cut + 15) / 16 * 16;
    EXPECT_EQ(written.Width(), expectedWidth);
    EXPECT_EQ(written.Height(), 96);
    ASSERT_GT(written.XDpi(), 0.0);
    EXPECT_NEAR(written.Width() / written.XDpi(), record.DestWidth() / 1440.0, 0.06);
}

TEST_F(JvxImagesTest, LandscapeImageIsWrittenUprightAndItsRecordSizeTurned)
{
    Page().SetOrientation(1);
    // Wider than high on the sheet; turned for the landscape page.
    const QString path = env.WriteImage(source, QStringLiteral("wide.bmp"), 160, 48);
    CFormImageElement* element = PlaceImage(path, kwvd::Rect(100, 100, 200, 300), 1);
    ASSERT_NE(element, nullptr);
    ASSERT_TRUE(element->GetImage()->IsRotated());
    int size[2] = {};
    element->GetImage()->GetSize(size);
    EXPECT_LT(size[0], size[1]) << "the turned image stands on the page";
    const kwvd::Rect dest = element->DestRect();

    Prompts().ClearRecorded();
    ASSERT_TRUE(Export(18));
    const std::vector<RecordLine> records = Records(ReadBytes(jvxPath), "GRPH");
    ASSERT_EQ(records.size(), 1u);
    QPoint twips(dest.Width(), dest.Height());
    Page().PixelsToTwips(twips);
    // The host takes the size of the upright image.
    EXPECT_EQ(records[0].DestWidth(), twips.y());
    EXPECT_EQ(records[0].DestHeight(), twips.x());

    OpenedImage written(Out("WIDE"));
    ASSERT_NE(written.handle, nullptr);
    EXPECT_EQ(written.Width(), 160);
    EXPECT_EQ(written.Height(), 48);
}

TEST_F(JvxImagesTest, HostNameNoticeIsShownOncePerImageAtEveryExport)
{
    const QString path = env.WriteImage(source, QStringLiteral("my logo.bmp"), 32, 16);
    const QString other = env.WriteImage(source, QStringLiteral("sign-2.bmp"), 32, 16);
    // Two elements of one image each ask for its host name, and so does
    // the image's own export.
    ASSERT_NE(PlaceImage(path, kwvd::Rect(100, 100, 200, 200), 1), nullptr);
    ASSERT_NE(PlaceImage(path, kwvd::Rect(300, 100, 400, 200), 1), nullptr);
    ASSERT_NE(PlaceImage(other, kwvd::Rect(100, 400, 200, 500), 1), nullptr);
    ASSERT_EQ(Doc().GetImageRegistry()->GetSlotCount(), 2);

    const QString first = QStringLiteral("The Image file name \"my logo\" is not a valid Server file name.  The file "
                                         "name \"MYLOGO\" will be used instead.");
    const QString second = QStringLiteral("The Image file name \"sign-2\" is not a valid Server file name.  The file "
                                          "name \"SIGN2\" will be used instead.");
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        Prompts().ClearRecorded();
        ASSERT_TRUE(Export(18));
        EXPECT_EQ(CountMessages(first), 1) << env.Messages().join(u'|').toStdString();
        EXPECT_EQ(CountMessages(second), 1);
        EXPECT_TRUE(QFileInfo::exists(Out("MYLOGO")));
        EXPECT_TRUE(QFileInfo::exists(Out("SIGN2")));
    }
}

TEST_F(JvxImagesTest, ColourFormatBelowVersion16AsksAndCancelEndsTheWholeExport)
{
    struct Case
    {
        const char* name;
        int answer;
        bool exported;
    };
    const Case cases[] = {
        {"OK writes the fallback format", IDOK, true},
        {"Cancel ends the export and leaves nothing", IDCANCEL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The MMR image comes first and is written before the question.
        TwoImageExport two;
        ASSERT_NO_FATAL_FAILURE(two.Place());
        const QString& target = two.target;
        const QString& colour = two.colour;
        EXPECT_EQ(two.ExportAnswering(c.answer), c.exported ? TRUE : FALSE);
        const QStringList messages = two.local.Messages();
        ASSERT_GE(messages.size(), 1);
        EXPECT_EQ(messages[0], QStringLiteral("Colour format 'LZW (Colour)' is not valid for image %1 for this JVX "
                                              "version. Format TIF will be used instead.")
                                   .arg(colour));
        const QStringList files = FilesIn(target);
        if (c.exported) {
            EXPECT_EQ(messages.size(), 1);
            EXPECT_EQ(files.join(u'|'), QStringLiteral("COLOUR|PLAIN|invoice.jvx"));
            EXPECT_TRUE(IsTiff(ReadBytes(QDir(target).filePath(QStringLiteral("COLOUR")))));
        } else {
            ASSERT_EQ(messages.size(), 2);
            EXPECT_EQ(messages[1], QStringLiteral("WVD INVOICE not Exported. Errors were encountered."));
            EXPECT_TRUE(files.isEmpty()) << files.join(u'|').toStdString();
        }
    }
}

// An export over an earlier one: the image files it replaced come back when
// it fails, and no copy of them is left when it succeeds.
TEST_F(JvxImagesTest, FailedExportGivesBackTheImageFilesItReplaced)
{
    TwoImageExport two;
    ASSERT_NO_FATAL_FAILURE(two.Place());
    const QString& target = two.target;
    const QString& jvx = two.jvx;
    auto exportAnswering = [&two](int answer) { return two.ExportAnswering(answer); };
    ASSERT_TRUE(exportAnswering(IDOK));
    ASSERT_TRUE(exportAnswering(IDOK));
    EXPECT_EQ(FilesIn(target).join(u'|'), QStringLiteral("COLOUR|PLAIN|invoice.jvx")) << "no copies are left";

    const QString plainTarget = QDir(target).filePath(QStringLiteral("PLAIN"));
    QFile earlier(plainTarget);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
    earlier.write("the image of the earlier export");
    earlier.close();
    const auto jvxBefore = ReadBytes(jvx);

    // PLAIN is written again before the question whose Cancel ends the export.
    EXPECT_FALSE(exportAnswering(IDCANCEL));
    EXPECT_EQ(FilesIn(target).join(u'|'), QStringLiteral("COLOUR|PLAIN|invoice.jvx"));
    const auto kept = ReadBytes(plainTarget);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the image of the earlier export");
    EXPECT_EQ(ReadBytes(jvx), jvxBefore);
}

// An image file beside the JVX file that is a link to a file with rights of
// its own: an export writes into that file, and a failed one gives the
// earlier image back there; the link and the rights stay either way.
TEST_F(JvxImagesTest, ImageFileThroughALinkKeepsTheLinkAndItsRights)
{
    TwoImageExport two;
    ASSERT_NO_FATAL_FAILURE(two.Place());
    const QString& target = two.target;
    const QString elsewhere = two.local.Folder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(two.ExportAnswering(IDOK));

    // PLAIN becomes a link to a file of the user's elsewhere.
    const QString link = QDir(target).filePath(QStringLiteral("PLAIN"));
    const QString real = QDir(elsewhere).filePath(QStringLiteral("plain-image"));
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(real, link));
    const std::string earlier = "the image of the earlier export";
    const QFile::Permissions rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;

    struct Case
    {
        const char* name;
        int answer; // Cancel to the colour question ends the export after PLAIN was written
        bool exported;
    };
    const Case cases[] = {
        {"a failed export", IDCANCEL, false},
        {"an export", IDOK, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(earlier.data(), static_cast<qint64>(earlier.size()));
        file.close();
        ASSERT_TRUE(file.setPermissions(rights));

        EXPECT_EQ(two.ExportAnswering(c.answer), c.exported ? TRUE : FALSE);

        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
        EXPECT_EQ(QFile(real).permissions() & ~(QFile::ReadUser | QFile::WriteUser), rights);
        const auto bytes = ReadBytes(real);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()) == earlier, !c.exported);
        EXPECT_EQ(FilesIn(target).join(u'|'), QStringLiteral("COLOUR|PLAIN|invoice.jvx")) << "no copies are left";
        EXPECT_EQ(FilesIn(elsewhere).join(u'|'), QStringLiteral("plain-image"));
    }
}
