// The last place an image or resource file is looked for: the program's own
// folder, after the preferred image folder, with the substitution question.

#include "designer/resources/images/Image.h"
#include "designer/resources/images/Resource.h"
#include "tests/support/ImageDocFixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace imagetest;

namespace {

// An image file beside the test program, removed again at the end.
class ProgramFolderImage
{
public:
    ProgramFolderImage()
    {
        const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        name = QStringLiteral("kwvd-program-folder-%1.bmp").arg(::getpid());
        path = folder + u'/' + name;
        TestBitmap bitmap(16, 8, 1);
        written = bitmap.WriteBmp(path);
    }
    ~ProgramFolderImage() { QFile::remove(path); }
    ProgramFolderImage(const ProgramFolderImage&) = delete;
    ProgramFolderImage& operator=(const ProgramFolderImage&) = delete;

    QString name;
    QString path;
    bool written = false;
};

QString Question(const QString& original, const QString& found)
{
    return QStringLiteral("The file '%1' was not found.  Would you like to substitute it with the file '%2' ?")
        .arg(original, found);
}

} // namespace

TEST(ImageProgramFolder, FileFoundOnlyBesideTheProgramIsOfferedAsSubstitute)
{
    ImageDocEnvironment env;
    ProgramFolderImage image;
    ASSERT_TRUE(image.written);
    // The recorded folder is gone; neither the document's nor the current
    // folder has the file, and no image folder is set.
    const QString recorded = env.Folder(QStringLiteral("elsewhere")) + QStringLiteral("/gone/") + image.name;
    CurrentFolderGuard current(env.Folder(QStringLiteral("current")));

    struct Case
    {
        const char* name;
        int answer;
        BOOL found;
    };
    const Case cases[] = {{"Yes takes it", IDYES, TRUE}, {"No keeps looking and finds nothing", IDNO, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.env.prompts->ClearRecorded();
        env.env.prompts->AnswerMessageBox(c.answer);
        QString path = recorded;
        EXPECT_EQ(Image::ResolveFile(path, env.doc.get()), c.found);
        EXPECT_EQ(path, c.found ? image.path : recorded);
        EXPECT_EQ(env.Messages(), QStringList{Question(recorded, image.path)});
    }

    // A resource is searched for the same way.
    env.env.prompts->ClearRecorded();
    env.env.prompts->AnswerMessageBox(IDYES);
    CResource resource(env.doc.get());
    QString path = recorded;
    EXPECT_TRUE(resource.ResolveFile(path));
    EXPECT_EQ(path, image.path);
}
