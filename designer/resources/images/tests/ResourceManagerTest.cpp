// Image resources: the slots, the "#R" section of the JVX file with its
// image files, the WVD form, and the host names that would collide.

#include "designer/resources/images/ResourceManager.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/Resource.h"
#include "platform/framework/Exceptions.h"
#include "tests/support/ImageDocFixture.h"
#include "tests/support/JvxBytes.h"

#include <QFileInfo>

#include <deque>

using namespace imagetest;

namespace {

class ResourceManagerTest : public ::testing::Test
{
protected:
    ImageDocEnvironment env;
    CResourceManager& manager() { return *env.doc->GetResourceManager(); }
    QString folder = env.Folder(QStringLiteral("resources"));
    QString outFolder = env.Folder(QStringLiteral("out"));
    QString jvx = QDir(outFolder).filePath(QStringLiteral("FORM.jvx"));

    // A loaded resource in the first free slot; its index.
    int AddResource(const QString& fileName)
    {
        auto* resource = new CResource(env.doc.get());
        EXPECT_TRUE(resource->LoadImage(env.WriteImage(folder, fileName, 64, 32)));
        const int index = manager().Add(resource);
        if (index < 0)
            delete resource;
        return index;
    }
};

const QString kHeader = QStringLiteral("#R MYFORM  ") + QString(50, u' ') + QStringLiteral("\r\n");

} // namespace

TEST_F(ResourceManagerTest, SectionWritesUsedSlotsWithTheirImageFiles)
{
    std::deque<StandInUser> users;
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(AddResource(i == 3 ? QStringLiteral("logo.bmp") : QStringLiteral("r%1.bmp").arg(i)), i);
    users.emplace_back(env.doc.get());
    manager().AddUser(&users.back(), 3);
    manager().SetLibrary(QStringLiteral("MYFORM"));

    const Bytes bytes = StoreJvxFile(jvx, 18, env.doc.get(), [&](CJVXArchive& ar) { manager().ExchangeJVX(ar); });
    // A4 portrait is 827 x 1169 hundredths of an inch: 11909 x 16834 twips.
    EXPECT_EQ(Text(bytes), kHeader + QStringLiteral("#R3LOGO    011909016834\r\n"));
    EXPECT_TRUE(QFileInfo::exists(QDir(outFolder).filePath(QStringLiteral("LOGO"))));
    EXPECT_EQ(manager().GetSlotCount(), 4);
    EXPECT_EQ(manager().GetResource(0), nullptr) << "unused slots are dropped";
    EXPECT_TRUE(env.Messages().isEmpty()) << "an upper-cased title is no correction";
    // The path keeps its case; only the host name is upper case.
    EXPECT_TRUE(manager().GetResource(3)->GetPath().endsWith(QStringLiteral("/logo.bmp")));
}

TEST_F(ResourceManagerTest, SectionNeedsUsersAndVersion18)
{
    struct Case
    {
        const char* name;
        int version;
        bool used;
        QString expected;
        QStringList messages;
    };
    const Case cases[] = {
        {"no users", 28, false, QString(), {}},
        {"version 17",
         17,
         true,
         QString(),
         {QStringLiteral("JVX Version 17 does not support exporting of Resources information. \nEither manually "
                         "create the Resources on the Server or export using JVX Version 18 or higher.\nExporting "
                         "will continue without Resource information.")}},
        {"version 18", 18, true, kHeader + QStringLiteral("#R0LOGO    011909016834\r\n"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.env.prompts->ClearRecorded();
        ASSERT_EQ(AddResource(QStringLiteral("logo.bmp")), 0);
        StandInUser user(env.doc.get());
        if (c.used)
            manager().AddUser(&user, 0);
        manager().SetLibrary(QStringLiteral("MYFORM"));
        const Bytes bytes =
            StoreJvxFile(jvx, c.version, env.doc.get(), [&](CJVXArchive& ar) { manager().ExchangeJVX(ar); });
        EXPECT_EQ(Text(bytes), c.expected);
        EXPECT_EQ(env.Messages(), c.messages);
        manager().RemoveUser(&user, 0);
        manager().RemoveUnused();
    }
}

TEST_F(ResourceManagerTest, ReadingFillsTheNamedSlotsAndFindsTheFilesBesideTheJvxFile)
{
    env.WriteImage(outFolder, QStringLiteral("FIRST"), 64, 32);
    env.WriteImage(outFolder, QStringLiteral("SEVENTH"), 64, 32);
    CurrentFolderGuard current(outFolder);
    const QString text = kHeader.left(11) + QStringLiteral("Invoices") + QString(42, u' ') + QStringLiteral("\r\n")
                         + QStringLiteral("#R0FIRST   011909016834\r\n") + QStringLiteral("#R7SEVENTH 011909016834\r\n")
                         + QStringLiteral("#R2MISSING 011909016834\r\n") + QStringLiteral("#D next section");
    const QByteArray latin = text.toLatin1();
    JvxReader reader(Bytes(latin.begin(), latin.end()), 18, nullptr, env.doc.get());
    manager().ExchangeJVX(reader.Archive());

    EXPECT_EQ(manager().GetDescription(), QStringLiteral("Invoices"));
    ASSERT_EQ(manager().GetSlotCount(), 8);
    for (int slot : {1, 3, 4, 5, 6})
        EXPECT_EQ(manager().GetResource(slot), nullptr) << slot;
    // Found files are kept with their full path, so later saves find them.
    EXPECT_EQ(manager().GetResource(0)->GetPath(), QDir(outFolder).filePath(QStringLiteral("FIRST")));
    EXPECT_TRUE(manager().GetResource(7)->IsLoaded());
    // A missing one keeps its host name and says so.
    CResource* missing = manager().GetResource(2);
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_EQ(missing->GetPath(), QStringLiteral("MISSING"));
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Cannot find file \"MISSING\".")});
    // The next section starts where the records ended.
    QString rest;
    reader.Archive().ReadText(rest, 2);
    EXPECT_EQ(rest, QStringLiteral("#D"));
}

TEST_F(ResourceManagerTest, ReadingAnotherSectionLeavesThePositionAlone)
{
    const QByteArray latin = QByteArrayLiteral("#C0BARCODE\r\n");
    JvxReader reader(Bytes(latin.begin(), latin.end()), 18, nullptr, env.doc.get());
    manager().ExchangeJVX(reader.Archive());
    EXPECT_EQ(manager().GetSlotCount(), 0);
    EXPECT_EQ(reader.Archive().Seek(0, CFile::current), 0);
}

TEST_F(ResourceManagerTest, WvdFormKeepsPathFormatQualityAndAMissingFilesPath)
{
    ASSERT_EQ(AddResource(QStringLiteral("Letterhead.bmp")), 0);
    CResource* resource = manager().GetResource(0);
    resource->SetFormat(2);
    resource->SetQuality(55);
    StandInUser user(env.doc.get());
    manager().AddUser(&user, 0);
    const QString path = resource->GetPath();
    const Bytes written = StoreDocument(*env.doc);

    CDesignerDoc reread;
    ASSERT_TRUE(reread.OnNewDocument());
    LoadDocument(reread, written);
    CResource* back = reread.GetResourceManager()->GetResource(0);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetPath(), path);
    EXPECT_EQ(back->GetFormat(), 2);
    EXPECT_EQ(back->GetQuality(), 55);
    EXPECT_TRUE(back->IsLoaded());
    EXPECT_EQ(back->GetRect(),
              kwvd::Rect(0, 0, reread.GetOutputPage()->GetPixelWidth(), reread.GetOutputPage()->GetPixelHeight()));

    // With the file gone the recorded path stays and is saved again.
    ASSERT_TRUE(QFile::remove(path));
    env.env.prompts->ClearRecorded();
    CDesignerDoc missing;
    ASSERT_TRUE(missing.OnNewDocument());
    LoadDocument(missing, written);
    CResource* kept = missing.GetResourceManager()->GetResource(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->IsLoaded());
    EXPECT_EQ(kept->GetPath(), path);
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Cannot find file \"%1\".").arg(path)});

    StandInUser again(&missing);
    missing.GetResourceManager()->AddUser(&again, 0);
    CDesignerDoc third;
    ASSERT_TRUE(third.OnNewDocument());
    third.BeginQuietRead();
    LoadDocument(third, StoreDocument(missing));
    third.EndQuietRead();
    ASSERT_NE(third.GetResourceManager()->GetResource(0), nullptr);
    EXPECT_EQ(third.GetResourceManager()->GetResource(0)->GetPath(), path);
    EXPECT_EQ(env.Messages().size(), 1) << "nothing is said during a quiet read";
}

TEST_F(ResourceManagerTest, SameHostNameForTwoFilesRefusesTheExport)
{
    const QString other = env.Folder(QStringLiteral("other"));
    StandInUser resourceUser(env.doc.get());
    ASSERT_EQ(AddResource(QStringLiteral("logo.bmp")), 0);
    manager().AddUser(&resourceUser, 0);
    ImageRegistry& images = *env.doc->GetImageRegistry();
    StandInUser imageUser(env.doc.get());
    const QString imagePath = env.WriteImage(other, QStringLiteral("LOGO.png"), 16, 16);
    images.AddUser(&imageUser, images.FindOrLoad(imagePath));

    EXPECT_THROW(StoreJvxFile(jvx, 28, env.doc.get(), [&](CJVXArchive& ar) { manager().ExchangeJVX(ar); }),
                 CArchiveException);
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Images %1 and %2 would both be written to the host as "
                                                         "LOGO. Rename one of them and export again.")
                                              .arg(manager().GetResource(0)->GetPath(), imagePath)});
    EXPECT_FALSE(QFileInfo::exists(QDir(outFolder).filePath(QStringLiteral("LOGO"))));
}

TEST_F(ResourceManagerTest, TenSlotsAndBrowsingOneFileTwiceGivesTwo)
{
    env.env.prefs.DefaultImageDirectory = folder;
    const QString file = env.WriteImage(folder, QStringLiteral("page.bmp"), 64, 32);
    env.env.prompts->AnswerFile(file);
    EXPECT_EQ(manager().BrowseAndAdd(nullptr), 0);
    env.env.prompts->AnswerFile(file);
    EXPECT_EQ(manager().BrowseAndAdd(nullptr), 1);
    EXPECT_EQ(manager().GetResource(1)->GetPath(), file);
    EXPECT_EQ(manager().BrowseAndAdd(nullptr), -1) << "cancelled";

    for (int i = 2; i < CResourceManager::kMaxResources; ++i)
        ASSERT_EQ(AddResource(QStringLiteral("p%1.bmp").arg(i)), i);
    env.env.prompts->ClearRecorded();
    EXPECT_EQ(AddResource(QStringLiteral("eleventh.bmp")), -1);
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Maximum Resources already selected.The document can have "
                                                         "a maximum of 10 different Resources.")});
}

TEST_F(ResourceManagerTest, ReloadAndTurningThePageRefitTheRectangle)
{
    ASSERT_EQ(AddResource(QStringLiteral("page.bmp")), 0);
    CResource* resource = manager().GetResource(0);
    StandInUser user(env.doc.get());
    manager().AddUser(&user, 0);

    env.OutputPage().SetOrientation(1);
    manager().UpdateOrientation();
    EXPECT_TRUE(resource->IsRotated());
    EXPECT_GT(user.revalidations, 0);

    resource->SetRect(kwvd::Rect(1, 2, 3, 4));
    manager().Reload(0);
    EXPECT_EQ(resource->GetRect(),
              kwvd::Rect(0, 0, env.OutputPage().GetPixelWidth(), env.OutputPage().GetPixelHeight()));
    manager().Reload(5); // an empty slot: nothing
    manager().Reload(-1);
}
