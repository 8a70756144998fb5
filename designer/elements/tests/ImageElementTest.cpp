#include "tests/support/ImageDocFixture.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/AttachmentSinks.h"
#include "designer/elements/FormImageElement.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "tests/support/JvxBytes.h"

#include <QByteArray>

#include <gtest/gtest.h>

using kwvd::Rect;
using namespace imagetest;

namespace {

class ImageElementTest : public ::testing::Test
{
protected:
    // Every change runs inside a change level, as the commands do.
    void SetUp() override { env.doc->BeginChange(); }

    CDesignerDoc& Doc() const { return *env.doc; }
    ImageRegistry& Registry() const { return *env.doc->GetImageRegistry(); }
    ScriptedPromptService& Prompts() const { return *env.env.prompts; }
    QString Folder() const { return env.Folder(QStringLiteral("images")); }

    // Cells of a page, 1-based, right and bottom exclusive.
    static Rect Cells(const CPage& page, int left, int top, int right, int bottom)
    {
        const int cw = page.GetCellWidth();
        const int ch = page.GetCellHeight();
        return Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    // A fixed image placed in the output pane, the dialog answered with path.
    CFormImageElement* Place(const QString& path, const Rect& rect = Rect(40, 40, 120, 100))
    {
        Prompts().AnswerFile(path);
        return static_cast<CFormImageElement*>(
            Doc().CreateNewElement(FormElementType::Image, PaneSide::Output, rect, nullptr));
    }

    // A record line written and read back, then made into its element.
    CFormImageElement* FromRecord(const char* opcode, const QString& data, const QString& jvxPath = {})
    {
        CAPRTPDMRec written(&Doc());
        written.m_opcode.SetValue(QString::fromLatin1(opcode));
        written.m_data.SetValue(data);
        written.m_sourceLine.SetValue(2);
        written.m_sourceFirstColumn.SetValue(3);
        written.m_sourceLastColumn.SetValue(8);
        written.m_lineCount.SetValue(1);
        written.m_destLine.SetValue(4);
        written.m_destFirstColumn.SetValue(5);
        written.m_destLastColumn.SetValue(10);
        const Bytes line = StoreJvx(28, [&](CJVXArchive& ar) { written.ExchangeJVX(ar); });
        JvxReader in(line, 28, nullptr, &Doc());
        if (!jvxPath.isEmpty())
            in.File().SetFilePath(jvxPath);
        CAPRTPDMRec record(&Doc());
        record.ExchangeJVX(in.Archive());
        EXPECT_TRUE(record.IsValid());
        CFormElement* element = record.CreateElement(in.Archive());
        if (element != nullptr)
            Doc().AddElement(element, TRUE, nullptr);
        return dynamic_cast<CFormImageElement*>(element);
    }

    CAPRTPDMRec Exported(CFormImageElement& element)
    {
        const Bytes line = StoreJvx(
            28, [&](CJVXArchive& ar) { element.ExportJVX(ar); }, nullptr, &Doc());
        JvxReader in(line, 28, nullptr, &Doc());
        CAPRTPDMRec record(&Doc());
        record.ExchangeJVX(in.Archive());
        return record;
    }

    ImageDocEnvironment env;
};

TEST_F(ImageElementTest, RecordsGiveFixedOrDataNamedElements)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 97, 49);
    const QString missing = Folder() + QStringLiteral("/gone.bmp");
    struct Case
    {
        const char* name;
        const char* opcode;
        QString data;
        BOOL fixed;
        bool attached;
        bool asked;
    };
    const Case cases[] = {
        {"empty data is named by the data", "GRPH", QString(), FALSE, false, false},
        {"an overlay record with empty data too", "OVL", QString(), FALSE, false, false},
        {"a question mark is fixed without a file", "GRPH", QStringLiteral("?"), TRUE, false, false},
        {"an existing file is attached", "GRPH", logo, TRUE, true, false},
        {"a missing file is asked about and kept", "OVL", missing, TRUE, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prompts().ClearRecorded();
        if (c.asked)
            Prompts().AnswerMessageBox(IDNO);
        CFormImageElement* element = FromRecord(c.opcode, c.data);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->IsFixed(), c.fixed);
        EXPECT_EQ(element->GetImageName(), c.data) << "the name is kept, found or not";
        EXPECT_EQ(element->GetImage() != nullptr, c.attached);
        EXPECT_EQ(env.Messages().size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_EQ(
                env.Messages().front(),
                QStringLiteral("The image file '%1' could not be found. What would you like to do?").arg(missing));
        }
        EXPECT_EQ(element->GetSourceRect().IsEmpty(), c.fixed == TRUE);
        Doc().DeleteElement(element, TRUE);
    }
}

TEST_F(ImageElementTest, DataNamedSourceIsAtMostEightColumnsAndOneLine)
{
    const CPage& source = *Doc().GetSourcePage();
    auto* element = static_cast<CFormImageElement*>(
        Doc().CreateNewElement(FormElementType::Image, PaneSide::Input, Cells(source, 4, 2, 16, 5), nullptr));
    ASSERT_NE(element, nullptr);
    EXPECT_FALSE(element->IsFixed());
    EXPECT_EQ(element->GetSourceRect(), Cells(source, 4, 2, 12, 3));
    EXPECT_EQ(Prompts().Recorded().size(), 0u) << "no file dialog for an image named by the data";

    element->ResizeSource(12 * source.GetCellWidth(), source.GetCellHeight(), ElementMoveFlags::Right, TRUE);
    EXPECT_EQ(element->GetSourceRect().Width(), 8 * source.GetCellWidth());

    CAPRTPDMRec record = Exported(*element);
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("GRPH"));
    EXPECT_TRUE(record.m_data.GetValue().isEmpty());
    EXPECT_EQ(record.m_sourceFirstColumn.GetShort(), 4);
    EXPECT_EQ(record.m_sourceLastColumn.GetShort(), 11);
}

TEST_F(ImageElementTest, ElementsOfOneFileShareOneImageAndItsSize)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 97, 49);
    CFormImageElement* first = Place(logo);
    CFormImageElement* second = Place(logo, Rect(200, 200, 220, 220));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first->GetImage(), nullptr);
    EXPECT_EQ(first->GetImageIndex(), second->GetImageIndex());
    EXPECT_EQ(second->DestRect().Size(), first->DestRect().Size()) << "one size per image";
    EXPECT_EQ(first->GetDescription(), QStringLiteral("logo.bmp"));

    const CPage& page = env.OutputPage();
    const int newWidth = 3 * first->DestRect().Width() / page.GetCellWidth() * page.GetCellWidth();
    first->ResizeDest(newWidth, 0, ElementMoveFlags::Right, TRUE);
    EXPECT_EQ(first->DestRect().Width(), newWidth);
    EXPECT_EQ(second->DestRect().Width(), newWidth) << "resizing one resizes the other";

    const int index = first->GetImageIndex();
    Doc().DeleteElement(first, TRUE);
    EXPECT_NE(Registry().GetImage(index), nullptr) << "the other still shows it";
    Doc().DeleteElement(second, TRUE);
    EXPECT_EQ(Registry().GetImage(index), nullptr) << "the last user gone deletes the image";
}

TEST_F(ImageElementTest, CancelledDialogKeepsAPlaceholderAndAFailedFileIsRefused)
{
    CFormImageElement* cancelled = Place(QString());
    ASSERT_NE(cancelled, nullptr);
    EXPECT_TRUE(cancelled->IsFixed());
    EXPECT_TRUE(cancelled->GetImageName().isEmpty());
    EXPECT_TRUE(cancelled->HasValidImage());

    // Ten images fill the registry; an eleventh cannot be attached.
    for (int i = 0; i < ImageRegistry::kMaxImages; ++i)
        ASSERT_NE(Place(env.WriteImage(Folder(), QStringLiteral("img%1.bmp").arg(i), 20, 20)), nullptr);
    const QString eleventh = env.WriteImage(Folder(), QStringLiteral("img10.bmp"), 20, 20);
    Prompts().ClearRecorded();
    CFormImageElement* refused = FromRecord("GRPH", eleventh);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->GetImageIndex(), -1);
    EXPECT_EQ(refused->GetImageName(), eleventh) << "a read element keeps its name";
    EXPECT_FALSE(refused->HasValidImage());
    ASSERT_EQ(env.Messages().size(), 1);
    EXPECT_TRUE(env.Messages().front().startsWith(QStringLiteral("Maximum Resources already selected.")));
}

TEST_F(ImageElementTest, ExportWritesTheHostNameAndTheImageSizeInTwips)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 97, 49);
    CFormImageElement* element = Place(logo);
    ASSERT_NE(element, nullptr);
    const Rect source = element->SourceRect();
    const Rect dest = element->DestRect();

    CAPRTPDMRec record = Exported(*element);
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("GRPH"));
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral("LOGO"));
    EXPECT_EQ(record.m_sourceLine.GetShort(), 0);
    EXPECT_EQ(record.m_sourceFirstColumn.GetShort(), 0);
    QPoint twips(dest.Width(), dest.Height());
    env.OutputPage().PixelsToTwips(twips);
    EXPECT_EQ(record.m_destWidth.GetShort(), twips.x());
    EXPECT_EQ(record.m_destHeight.GetShort(), twips.y());
    EXPECT_EQ(element->GetImageName(), logo) << "exporting never renames the element";
    EXPECT_EQ(element->SourceRect(), source);
    EXPECT_EQ(element->DestRect(), dest);

    // A file that is gone: the name itself, nothing moved.
    const QString gone = Folder() + QStringLiteral("/gone.bmp");
    Prompts().AnswerMessageBox(IDNO);
    CFormImageElement* missing = FromRecord("GRPH", gone);
    ASSERT_NE(missing, nullptr);
    const Rect missingDest = missing->DestRect();
    CAPRTPDMRec missingRecord = Exported(*missing);
    EXPECT_EQ(missingRecord.m_data.GetValue(), gone);
    EXPECT_EQ(missingRecord.m_sourceFirstColumn.GetShort(), 0);
    EXPECT_EQ(missingRecord.m_sourceLastColumn.GetShort(), 0);
    EXPECT_EQ(missing->DestRect(), missingDest);
}

TEST_F(ImageElementTest, ImportFindsTheImageWrittenBesideTheJvxFile)
{
    const QString hostFolder = env.Folder(QStringLiteral("host"));
    // The toolkit reads by content, so a bitmap under the export's name will do.
    const QString written = env.WriteImage(hostFolder, QStringLiteral("LOGO.TIF"), 40, 30);
    CFormImageElement* element = FromRecord("GRPH", QStringLiteral("LOGO"), hostFolder + QStringLiteral("/INV.JVX"));
    ASSERT_NE(element, nullptr);
    EXPECT_TRUE(element->IsFixed());
    ASSERT_NE(element->GetImage(), nullptr);
    EXPECT_EQ(element->GetImageName(), written);
    EXPECT_EQ(env.Messages().size(), 0);
}

// The element's WVD object with its schema set to an older one; fields the
// older schema did not have are cut from the end.
Bytes WithSchema(Bytes bytes, WORD schema, size_t cut)
{
    const QByteArray name("CFormImageElement");
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    const qsizetype at = raw.indexOf(name);
    EXPECT_GE(at, 4);
    if (at < 4)
        return bytes;
    // The class tag: schema WORD, name length WORD, name.
    bytes[static_cast<size_t>(at) - 4] = static_cast<BYTE>(schema & 0xFF);
    bytes[static_cast<size_t>(at) - 3] = static_cast<BYTE>(schema >> 8);
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST_F(ImageElementTest, WvdObjectKeepsNameFormatQualityAndFixedFlag)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 97, 49);
    CFormImageElement* element = Place(logo);
    ASSERT_NE(element, nullptr);
    ASSERT_TRUE(element->SetImageFormat(2));
    ASSERT_TRUE(element->SetImageQuality(55));
    const Bytes bytes = Store([&](CArchive& ar) {
        ar.m_pDocument = &Doc();
        ar.WriteObject(element);
    });

    struct Case
    {
        const char* name;
        WORD schema;
        size_t cut; // bytes of the fields the schema lacks
        int format;
        unsigned quality;
    };
    const Case cases[] = {
        {"current", 20, 0, 2, 55},
        {"schema 17 has no fixed flag and is fixed", 17, 2, 2, 55},
        {"schema 14 has neither format nor quality", 14, 10, -1, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The image keeps its settings while the element lives: take a fresh one.
        Registry().GetImage(element->GetImageIndex())->SetFormat(0);
        Registry().GetImage(element->GetImageIndex())->SetQuality(10);
        CObject* object = nullptr;
        Load(WithSchema(bytes, c.schema, c.cut), [&](CArchive& ar) {
            ar.m_pDocument = &Doc();
            object = ar.ReadObject(nullptr);
        });
        auto* copy = dynamic_cast<CFormImageElement*>(object);
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->IsFixed());
        EXPECT_EQ(copy->GetImageName(), logo);
        EXPECT_EQ(copy->GetImageIndex(), element->GetImageIndex());
        EXPECT_EQ(copy->GetImageFormat(), c.format);
        EXPECT_EQ(copy->GetImageQuality(), c.quality);
        delete copy;
    }
}

TEST_F(ImageElementTest, SavingStoresARelativeNameAndKeepsTheOneInMemory)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 30, 30);
    CFormImageElement* element = Place(logo);
    ASSERT_NE(element, nullptr);
    const QString wvd = env.env.folder.filePath(QStringLiteral("doc.wvd"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(wvd, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &Doc();
        ar.WriteObject(element);
        ar.Close();
    }
    EXPECT_EQ(element->GetImageName(), logo);
    const ByteVector raw = ReadBytes(wvd);
    const QByteArray stored(reinterpret_cast<const char*>(raw.data()), static_cast<qsizetype>(raw.size()));
    EXPECT_FALSE(stored.contains(Folder().toUtf8())) << "no absolute path in the file";
}

TEST_F(ImageElementTest, MissingFileOnLoadAsksUnlessQuiet)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 30, 30);
    CFormImageElement* element = Place(logo);
    ASSERT_NE(element, nullptr);
    const Bytes bytes = Store([&](CArchive& ar) {
        ar.m_pDocument = &Doc();
        ar.WriteObject(element);
    });
    Doc().DeleteElement(element, TRUE);
    ASSERT_TRUE(QFile::remove(logo));

    for (bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet read" : "open");
        Prompts().ClearRecorded();
        if (!quiet)
            Prompts().AnswerCommandLink(542);
        else
            Doc().BeginQuietRead();
        CObject* object = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = &Doc();
            object = ar.ReadObject(nullptr);
        });
        if (quiet)
            Doc().EndQuietRead();
        auto* copy = dynamic_cast<CFormImageElement*>(object);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetImageName(), logo) << "the recorded path is kept";
        EXPECT_EQ(copy->GetImage(), nullptr);
        EXPECT_EQ(Prompts().Recorded().size(), quiet ? 0u : 1u);
        if (!quiet) {
            EXPECT_EQ(Prompts().Recorded().front().kind, PromptKind::CommandLink);
            EXPECT_EQ(Prompts().Recorded().front().text,
                      QStringLiteral("The image file '%1' could not be found. What would you like to do?").arg(logo));
        }
        delete copy;
    }
}

class RecordingSink : public IMailAttachmentSink, public IZipFileSink
{
public:
    BOOL AddAttachment(const QString& path, const QString& displayName, BOOL deleteWhenDone) override
    {
        mailed << path;
        EXPECT_TRUE(displayName.isEmpty());
        EXPECT_FALSE(deleteWhenDone);
        return TRUE;
    }
    BOOL AddFile(const QString& path) override
    {
        zipped << path;
        return TRUE;
    }
    QStringList mailed;
    QStringList zipped;
};

TEST_F(ImageElementTest, OnlyFixedImagesWithAFileGoIntoMailAndZip)
{
    const QString logo = env.WriteImage(Folder(), QStringLiteral("logo.bmp"), 30, 30);
    CFormImageElement* fixed = Place(logo);
    auto* named = static_cast<CFormImageElement*>(
        Doc().CreateNewElement(FormElementType::Image, PaneSide::Input, Rect(10, 10, 60, 30), nullptr));
    CFormImageElement* placeholder = Place(QString());
    ASSERT_NE(fixed, nullptr);
    ASSERT_NE(named, nullptr);
    ASSERT_NE(placeholder, nullptr);
    CFormElement* text = Doc().CreateNewElement(FormElementType::Text, PaneSide::Input, Rect(10, 40, 60, 60), nullptr);
    ASSERT_NE(text, nullptr);
    RecordingSink sink;
    // Asked through the base, as the send commands ask every element.
    for (CFormElement* element : std::initializer_list<CFormElement*>{fixed, named, placeholder, text}) {
        element->AddMailAttachment(sink);
        element->AddToZip(sink);
    }
    EXPECT_EQ(sink.mailed, QStringList{logo});
    EXPECT_EQ(sink.zipped, QStringList{logo});
}

} // namespace
