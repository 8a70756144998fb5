// The document's image slots: ten at most, shared by path, freed with their
// last user, browsed for, reloaded on orientation changes and written beside
// the JVX file.

#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/Image.h"
#include "tests/support/ImageDocFixture.h"

#include <QFileInfo>

#include <deque>

using namespace imagetest;

namespace {

class ImageRegistryTest : public ::testing::Test
{
protected:
    ImageDocEnvironment env;
    ImageRegistry& registry() { return *env.doc->GetImageRegistry(); }
    QString folder = env.Folder(QStringLiteral("images"));

    QString Write(const QString& name) { return env.WriteImage(folder, name, 32, 16); }
};

} // namespace

TEST_F(ImageRegistryTest, TheEleventhImageIsRefusedAndAFreedSlotIsReused)
{
    std::deque<StandInUser> users;
    for (int i = 0; i < ImageRegistry::kMaxImages; ++i) {
        const int index = registry().FindOrLoad(Write(QStringLiteral("i%1.bmp").arg(i)));
        ASSERT_EQ(index, i);
        users.emplace_back(env.doc.get());
        EXPECT_EQ(registry().AddUser(&users.back(), index), index);
    }
    EXPECT_EQ(registry().FindOrLoad(Write(QStringLiteral("eleventh.bmp"))), -1);
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Maximum Resources already selected.The document can have "
                                                         "a maximum of 10 different Resources.")});
    EXPECT_EQ(registry().GetSlotCount(), 10);

    EXPECT_TRUE(registry().RemoveUser(&users[3], 3));
    EXPECT_EQ(registry().GetImage(3), nullptr);
    EXPECT_EQ(registry().FindOrLoad(Write(QStringLiteral("eleventh.bmp"))), 3);
}

TEST_F(ImageRegistryTest, OneFileIsOneImageAndCaseMakesAnotherFile)
{
    const QString lower = Write(QStringLiteral("logo.bmp"));
    const QString upper = Write(QStringLiteral("LOGO.bmp"));
    const int first = registry().FindOrLoad(lower);
    EXPECT_EQ(registry().FindOrLoad(lower), first);
    EXPECT_EQ(registry().FindOrLoad(QDir(folder).filePath(QStringLiteral("./logo.bmp"))), first);
    const int other = registry().FindOrLoad(upper);
    EXPECT_NE(other, first);
    EXPECT_EQ(registry().FindByPath(upper), other);
    EXPECT_EQ(registry().FindOrLoad(QString()), -1);
}

TEST_F(ImageRegistryTest, UsersAreCountedPerSlot)
{
    const int index = registry().FindOrLoad(Write(QStringLiteral("a.bmp")));
    ASSERT_EQ(index, 0);
    StandInUser first(env.doc.get());
    StandInUser second(env.doc.get());

    struct Case
    {
        const char* name;
        int index;
        int expected;
    };
    const Case adds[] = {{"no image", -1, -1}, {"negative", -7, -1}, {"beyond the slots", 4, -1}, {"slot 0", 0, 0}};
    for (const Case& c : adds) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(registry().AddUser(&first, c.index), c.expected);
    }
    registry().AddUser(&first, 0);
    registry().AddUser(&second, 0);
    EXPECT_EQ(registry().GetImage(0)->GetUsers().GetCount(), 2);

    EXPECT_TRUE(registry().RemoveUser(&first, -1));
    EXPECT_FALSE(registry().RemoveUser(&first, 5));
    EXPECT_TRUE(registry().RemoveUser(&first, 0));
    ASSERT_NE(registry().GetImage(0), nullptr);
    EXPECT_TRUE(registry().RemoveUser(&second, 0));
    EXPECT_EQ(registry().GetImage(0), nullptr);
    EXPECT_FALSE(registry().RemoveUser(&second, 0));
}

TEST_F(ImageRegistryTest, RemoveUnusedCutsTrailingEmptySlotsOnly)
{
    StandInUser user(env.doc.get());
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(registry().FindOrLoad(Write(QStringLiteral("r%1.bmp").arg(i))), i);
    registry().AddUser(&user, 1);
    registry().RemoveUnused();
    EXPECT_EQ(registry().GetSlotCount(), 2);
    EXPECT_EQ(registry().GetImage(0), nullptr);
    EXPECT_NE(registry().GetImage(1), nullptr);
    registry().RemoveUser(&user, 1);
    registry().RemoveUnused();
    EXPECT_EQ(registry().GetSlotCount(), 0);
}

TEST_F(ImageRegistryTest, BrowseOffersTheChooserAgainUntilAFileLoads)
{
    const QString bad = QDir(folder).filePath(QStringLiteral("bad.bmp"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("garbage");
    }
    const QString good = Write(QStringLiteral("good.bmp"));
    env.env.prefs.DefaultImageDirectory = folder;

    env.env.prompts->AnswerFile(bad);
    env.env.prompts->AnswerMessageBox(IDOK); // 308 for the bad file
    env.env.prompts->AnswerFile(good);
    QString path = QStringLiteral("/no/such/folder/start.bmp");
    EXPECT_EQ(registry().BrowseAndAdd(nullptr, path), 0);
    EXPECT_EQ(path, good);

    std::vector<RecordedPrompt> choosers;
    for (const RecordedPrompt& prompt : env.env.prompts->Recorded())
        if (prompt.kind == PromptKind::OpenFile)
            choosers.push_back(prompt);
    ASSERT_EQ(choosers.size(), 2u);
    EXPECT_EQ(choosers[0].file.initialFolder, folder);
    EXPECT_EQ(choosers[0].file.fileName, QStringLiteral("start.bmp"));
    EXPECT_EQ(choosers[1].file.fileName, QStringLiteral("bad.bmp"));

    // Cancel leaves the path alone.
    QString kept = good;
    EXPECT_EQ(registry().BrowseAndAdd(nullptr, kept), -1);
    EXPECT_EQ(kept, good);
}

TEST_F(ImageRegistryTest, TurningThePageReloadsTheImagesTheOtherWay)
{
    StandInUser user(env.doc.get());
    const int index = registry().FindOrLoad(env.WriteImage(folder, QStringLiteral("wide.bmp"), 300, 150));
    registry().AddUser(&user, index);
    Image* image = registry().GetImage(index);
    ASSERT_FALSE(image->IsRotated());

    env.OutputPage().SetOrientation(1);
    registry().UpdateOrientation();
    EXPECT_TRUE(image->IsRotated());
    int size[2] = {};
    image->GetNaturalSize(size);
    EXPECT_EQ(size[0], 149);
    EXPECT_EQ(size[1], 299);
    EXPECT_GT(user.revalidations, 0);

    env.OutputPage().SetOrientation(0);
    registry().UpdateOrientation();
    EXPECT_FALSE(image->IsRotated());
    image->GetNaturalSize(size);
    EXPECT_EQ(size[0], 299);
}

TEST_F(ImageRegistryTest, ExportWritesTheUsedImagesBesideTheJvxFile)
{
    StandInUser user(env.doc.get());
    const int used = registry().FindOrLoad(Write(QStringLiteral("company logo.bmp")));
    registry().AddUser(&user, used);
    registry().GetImage(used)->SetFormat(1);
    registry().FindOrLoad(Write(QStringLiteral("unused.bmp")));

    const QString outFolder = env.Folder(QStringLiteral("out"));
    const QString jvx = QDir(outFolder).filePath(QStringLiteral("FORM.jvx"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        env.env.prompts->ClearRecorded();
        StoreJvxFile(jvx, 28, env.doc.get(), [&](CJVXArchive& ar) {
            // The element record asks for the name first; the file follows.
            registry().GetImage(used)->GetServerName();
            registry().ExportJVX(ar);
        });
        EXPECT_TRUE(QFileInfo::exists(QDir(outFolder).filePath(QStringLiteral("COMPANYL"))));
        EXPECT_FALSE(QFileInfo::exists(QDir(outFolder).filePath(QStringLiteral("UNUSED"))));
        EXPECT_EQ(env.Messages().size(), 1) << "the name notice once per export";
    }
    EXPECT_EQ(registry().GetSlotCount(), 1);
}
