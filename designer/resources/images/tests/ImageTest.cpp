// Document images: finding a moved file, loading, the natural size, the
// export settings, the host name, the export offset and drawing.

#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ToolkitImage.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/ImageDocFixture.h"

#include <QImage>
#include <QPainter>

using namespace imagetest;

namespace {

class ImageTest : public ::testing::Test
{
protected:
    ImageDocEnvironment env;
    CDesignerDoc* doc() { return env.doc.get(); }
};

} // namespace

TEST_F(ImageTest, NaturalSizeFollowsTheFileResolution)
{
    struct Case
    {
        const char* name;
        int width, height, ppm;
        int landscape;
        int expected[2];
    };
    const Case cases[] = {
        {"300 dpi", 300, 150, 11811, 0, {99, 49}},
        {"no resolution", 300, 150, 0, 0, {299, 149}},
        // Turned by 90 degrees for a landscape page: the pixels swap places.
        {"landscape without resolution", 300, 150, 0, 1, {149, 299}},
        {"landscape 300 dpi", 300, 150, 11811, 1, {49, 99}},
    };
    const QString folder = env.Folder(QStringLiteral("natural"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.OutputPage().SetOrientation(c.landscape);
        const QString path = env.WriteImage(folder, QStringLiteral("n.bmp"), c.width, c.height, 1, c.ppm);
        Image image(doc());
        ASSERT_TRUE(image.SetFile(path));
        EXPECT_EQ(image.IsRotated(), c.landscape != 0);
        int size[2] = {};
        image.GetNaturalSize(size);
        EXPECT_EQ(size[0], c.expected[0]);
        EXPECT_EQ(size[1], c.expected[1]);

        // On the page the size is snapped outward to whole cells.
        int placed[2] = {};
        image.GetSize(placed);
        const int cellWidth = env.OutputPage().GetCellWidth();
        const int cellHeight = env.OutputPage().GetCellHeight();
        EXPECT_EQ(placed[0] % cellWidth, 0);
        EXPECT_EQ(placed[1] % cellHeight, 0);
        EXPECT_GE(placed[0], c.expected[0]);
        EXPECT_LT(placed[0], c.expected[0] + cellWidth);
        EXPECT_GE(placed[1], c.expected[1]);
        EXPECT_LT(placed[1], c.expected[1] + cellHeight);
    }
}

TEST_F(ImageTest, AFailedLoadKeepsTheEarlierImageAndTellsWhy)
{
    const QString folder = env.Folder(QStringLiteral("bad"));
    const QString good = env.WriteImage(folder, QStringLiteral("good.bmp"), 64, 32);
    const QString bad = QDir(folder).filePath(QStringLiteral("bad.bmp"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not an image at all");
    }

    Image image(doc());
    ASSERT_TRUE(image.SetFile(good));
    int before[2] = {};
    image.GetSize(before);
    ToolkitImage* loaded = image.GetToolkitImage();

    EXPECT_FALSE(image.SetFile(bad));
    EXPECT_EQ(image.GetPath(), good);
    EXPECT_EQ(image.GetToolkitImage(), loaded);
    int after[2] = {};
    image.GetSize(after);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Image File: %1 Invalid.").arg(bad)});

    // Nothing is said while a snapshot is read.
    env.env.prompts->ClearRecorded();
    doc()->BeginQuietRead();
    EXPECT_FALSE(image.LoadImage(bad));
    doc()->EndQuietRead();
    EXPECT_TRUE(env.Messages().isEmpty());
}

TEST_F(ImageTest, ResolveFileSearchesTheDocumentFolderThenAsksForSubstitutes)
{
    const QString documentFolder = env.Folder(QStringLiteral("doc"));
    const QString defaultFolder = env.Folder(QStringLiteral("default"));
    const QString elsewhere = env.Folder(QStringLiteral("elsewhere"));
    env.env.prefs.DefaultImageDirectory = defaultFolder;
    doc()->SetPathName(QDir(documentFolder).filePath(QStringLiteral("form.wvd")));
    const QString inDocument = env.WriteImage(documentFolder, QStringLiteral("moved.bmp"), 8, 8);
    const QString inDefault = env.WriteImage(defaultFolder, QStringLiteral("spare.bmp"), 8, 8);
    const QString present = env.WriteImage(elsewhere, QStringLiteral("here.bmp"), 8, 8);
    const QString missingSpare = QDir(elsewhere).filePath(QStringLiteral("gone/spare.bmp"));

    struct Case
    {
        const char* name;
        QString path;
        int answer; // 0: no question expected
        bool quiet;
        bool found;
        QString expected;
    };
    const Case cases[] = {
        {"present where recorded", present, 0, false, true, present},
        {"moved into the document's folder", QDir(elsewhere).filePath(QStringLiteral("old/moved.bmp")), 0, false, true,
         inDocument},
        {"substitute accepted", missingSpare, IDYES, false, true, inDefault},
        {"substitute refused", missingSpare, IDNO, false, false, missingSpare},
        {"nothing asked while quiet", missingSpare, 0, true, false, missingSpare},
        {"stored by Windows, name in another case", QStringLiteral("C:\\Forms\\MOVED.BMP"), 0, false, true, inDocument},
        {"nowhere", QDir(elsewhere).filePath(QStringLiteral("none.bmp")), 0, false, false,
         QDir(elsewhere).filePath(QStringLiteral("none.bmp"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.env.prompts->ClearRecorded();
        if (c.answer != 0)
            env.env.prompts->AnswerMessageBox(c.answer);
        if (c.quiet)
            doc()->BeginQuietRead();
        QString path = c.path;
        EXPECT_EQ(Image::ResolveFile(path, doc()), c.found ? TRUE : FALSE);
        if (c.quiet)
            doc()->EndQuietRead();
        EXPECT_EQ(path, c.expected);
        const QStringList messages = env.Messages();
        if (c.answer != 0) {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_EQ(messages.front(), QStringLiteral("The file '%1' was not found.  Would you like to substitute "
                                                       "it with the file '%2' ?")
                                            .arg(c.path, inDefault));
        } else {
            EXPECT_TRUE(messages.isEmpty());
        }
    }
}

TEST_F(ImageTest, FormatAndQualityTakeOnlyNewValuesInRange)
{
    Image image(doc());
    StandInUser user(doc());
    image.AddUser(&user);

    struct Case
    {
        const char* name;
        bool quality;
        int value;
        bool accepted;
    };
    const Case cases[] = {
        {"format MMR", false, 0, true},     {"same format again", false, 0, false},
        {"format QDX LZW", false, 3, true}, {"format 4", false, 4, false},
        {"format -2", false, -2, false},    {"back to the default", false, -1, true},
        {"quality 0", true, 0, true},       {"quality 100", true, 100, true},
        {"quality 101", true, 101, false},  {"same quality", true, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc()->SetModifiedFlag(FALSE);
        const int revalidations = user.revalidations;
        const BOOL changed = c.quality ? image.SetQuality(static_cast<unsigned>(c.value)) : image.SetFormat(c.value);
        EXPECT_EQ(changed, c.accepted ? TRUE : FALSE);
        EXPECT_EQ(doc()->IsModified(), c.accepted ? TRUE : FALSE);
        EXPECT_EQ(user.revalidations, revalidations + (c.accepted ? 1 : 0));
        if (c.accepted) {
            EXPECT_EQ(c.quality ? image.GetQuality() : image.GetFormat(), c.value);
        }
    }
}

TEST_F(ImageTest, ServerNameIsTheTitleMadeValidAndToldOncePerExport)
{
    struct Case
    {
        const char* fileName;
        const char* expected;
        bool told;
    };
    const Case cases[] = {
        {"logo.bmp", "LOGO", false},           {"LOGO.BMP", "LOGO", false}, {"company logo.bmp", "COMPANYL", true},
        {"2024 report.bmp", "#2024REP", true}, {"___.bmp", "___", false},
    };
    const QString folder = env.Folder(QStringLiteral("names"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        env.env.prompts->ClearRecorded();
        Image image(doc());
        ASSERT_TRUE(image.SetFile(env.WriteImage(folder, QString::fromLatin1(c.fileName), 8, 8)));
        EXPECT_EQ(image.GetServerName(), QString::fromLatin1(c.expected));
        EXPECT_EQ(image.GetServerName(), QString::fromLatin1(c.expected));
        const QStringList messages = env.Messages();
        if (!c.told) {
            EXPECT_TRUE(messages.isEmpty());
            continue;
        }
        QString title = QString::fromLatin1(c.fileName);
        title.chop(4);
        EXPECT_EQ(messages, QStringList{QStringLiteral("The Image file name \"%1\" is not a valid Server file name.  "
                                                       "The file name \"%2\" will be used instead.")
                                            .arg(title, QString::fromLatin1(c.expected))});
        image.ForgetServerNameNotice();
        image.GetServerName();
        EXPECT_EQ(env.Messages().size(), 2);
    }
}

TEST_F(ImageTest, ExportOffsetIsWhatTheUsersReachIntoTheNoPrintBorder)
{
    CPage& page = env.OutputPage();
    page.SetBorder(250);
    // 250/1000 inch is 2.5 cells of 10 per inch: the margin is 3 whole cells.
    const int margin = 3 * page.GetCellWidth();
    const QString path = env.WriteImage(env.Folder(QStringLiteral("offset")), QStringLiteral("o.bmp"), 16, 16);

    struct Case
    {
        const char* name;
        int landscape;
        kwvd::Rect first, second;
        int expected[2];
    };
    const int pageHeight = page.GetPixelHeight();
    const Case cases[] = {
        {"right of the border", 0, {margin + 5, 10, margin + 50, 40}, {margin + 1, 60, margin + 90, 90}, {0, 0}},
        {"the leftmost user counts", 0, {10, 10, 50, 40}, {4, 60, 90, 90}, {margin - 4, 0}},
        {"rotated: the lowest user counts",
         1,
         {10, 10, 50, pageHeight - 5},
         {10, 10, 50, pageHeight - 2},
         {0, margin - 2}},
        {"rotated, above the border", 1, {10, 10, 50, 40}, {10, 60, 50, 90}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.SetOrientation(c.landscape);
        Image image(doc());
        ASSERT_TRUE(image.SetFile(path));
        StandInUser first(doc(), c.first);
        StandInUser second(doc(), c.second);
        image.AddUser(&first);
        image.AddUser(&second);
        int offset[2] = {-1, -1};
        image.GetExportOffset(offset);
        EXPECT_EQ(offset[0], c.expected[0]);
        EXPECT_EQ(offset[1], c.expected[1]);
    }
}

TEST_F(ImageTest, RevalidatingSurvivesAUserLeavingTheList)
{
    Image image(doc());
    StandInUser leaving(doc());
    StandInUser staying(doc());
    leaving.onRevalidate = [&](StandInUser* self) { image.RemoveUser(self); };
    image.AddUser(&leaving);
    image.AddUser(&staying);
    image.AddUser(&staying);

    image.RevalidateUsers();
    EXPECT_EQ(leaving.revalidations, 1);
    EXPECT_EQ(staying.revalidations, 1);
    EXPECT_FALSE(image.HasUser(&leaving));
    EXPECT_EQ(image.GetUsers().GetCount(), 1);
}

TEST_F(ImageTest, DrawsTheImageOrItsPathInTheRectangle)
{
    EnsureGuiApplication();
    const QString folder = env.Folder(QStringLiteral("draw"));
    TestBitmap black(40, 20, 1);
    black.FillRect(0, 0, 40, 20, 0);
    const QString path = QDir(folder).filePath(QStringLiteral("black.bmp"));
    ASSERT_TRUE(black.WriteBmp(path));

    QImage canvas(300, 200, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    Image image(doc());
    ASSERT_TRUE(image.SetFile(path));
    {
        QPainter painter(&canvas);
        image.Draw(kwvd::Rect(20, 20, 100, 60), painter);
    }
    EXPECT_EQ(canvas.pixel(60, 40), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(150, 100), qRgb(255, 255, 255));

    // An image that is not loaded shows its path instead.
    QImage placeholder(300, 200, QImage::Format_RGB32);
    placeholder.fill(Qt::white);
    Image unloaded(doc());
    unloaded.Copy(image);
    ASSERT_FALSE(unloaded.IsLoaded());
    {
        QPainter painter(&placeholder);
        unloaded.Draw(kwvd::Rect(20, 20, 100, 60), painter);
    }
    int inked = 0;
    for (int y = 0; y < placeholder.height(); ++y)
        for (int x = 0; x < placeholder.width(); ++x)
            if (placeholder.pixel(x, y) != qRgb(255, 255, 255))
                ++inked;
    EXPECT_GT(inked, 0);
}
