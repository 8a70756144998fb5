// A JVX export that cannot be put where the user asked: a read-only target
// is refused before anything is written, a full disk ends the export with
// one message that says why, and a target replaced keeps its access rights.

#include "tests/support/FileSizeLimit.h"
#include "tests/support/JvxDocumentFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class JvxExportFailureTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(doc.OnNewDocument()); }

    QString PathOf(const char* name) const { return env.folder.filePath(QString::fromLatin1(name)); }

    static mode_t ModeOf(const QString& path)
    {
        struct stat info
        {};
        EXPECT_EQ(::stat(path.toUtf8().constData(), &info), 0);
        return info.st_mode;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
};

TEST_F(JvxExportFailureTest, ReadOnlyTargetIsRefusedWithTheAccessMessage)
{
    const QString path = PathOf("FORM.JVX");
    const Bytes old = Ascii("the previous export");
    ASSERT_TRUE(WriteFileBytes(path, old));
    ASSERT_EQ(::chmod(path.toUtf8().constData(), 0444), 0);
    env.prompts->ClearRecorded();

    QString member = QStringLiteral("FORM");
    EXPECT_FALSE(doc.ExportJVXFile(path, member, 28));

    EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("Access to %1 was denied.").arg(path)});
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(ModeOf(path) & 07777, 0444u);
    EXPECT_EQ(QDir(env.folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("FORM")),
              QStringList{QStringLiteral("FORM.JVX")});
}

TEST_F(JvxExportFailureTest, ReplacedTargetKeepsItsAccessRights)
{
    const QString path = PathOf("FORM.JVX");
    ASSERT_TRUE(WriteFileBytes(path, Ascii("the previous export")));
    ASSERT_EQ(::chmod(path.toUtf8().constData(), 0640), 0);

    QString member = QStringLiteral("FORM");
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 28));

    EXPECT_NE(ReadFileBytes(path), Ascii("the previous export"));
    EXPECT_EQ(ModeOf(path) & 07777, 0640u);
}

// A JVX file named through a link is written into the file the link points
// to, which keeps its access rights; the link stays a link.
TEST_F(JvxExportFailureTest, ExportThroughALinkWritesTheFileItPointsTo)
{
    const QString real = PathOf("REAL.JVX");
    const QString link = PathOf("FORM.JVX");
    ASSERT_TRUE(WriteFileBytes(real, Ascii("the previous export")));
    ASSERT_EQ(::chmod(real.toUtf8().constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(real, link));

    QString member = QStringLiteral("FORM");
    ASSERT_TRUE(doc.ExportJVXFile(link, member, 28));

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_NE(ReadFileBytes(real), Ascii("the previous export"));
    EXPECT_EQ(ModeOf(real) & 07777, 0640u);
}

// The disk fills while the file is written: message 368 says so and names
// the user's file, and what was there stays.
TEST_F(JvxExportFailureTest, FullDiskGivesOneMessageWithTheCause)
{
    struct Case
    {
        const char* name;
        QString path;
        bool limitFileSize; // a regular file on a disk that fills up
    };
    const Case cases[] = {
        {"a full device", QStringLiteral("/dev/full"), false},
        {"a full disk", PathOf("FORM.JVX"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes old = Ascii("the previous export");
        if (c.limitFileSize) {
            ASSERT_TRUE(WriteFileBytes(c.path, old));
        }
        const QString uploadBefore = doc.GetUploadTime().Format();
        env.prompts->ClearRecorded();

        QString member = QStringLiteral("FORM");
        BOOL exported = TRUE;
        if (c.limitFileSize) {
            FileSizeLimitScope full(64);
            exported = doc.ExportJVXFile(c.path, member, 28);
        } else {
            exported = doc.ExportJVXFile(c.path, member, 28);
        }

        EXPECT_FALSE(exported);
        EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("WVD FORM not Exported. Errors were encountered.\n"
                                                                "Disk full while accessing %1.")
                                                     .arg(c.path)});
        ASSERT_EQ(env.prompts->Recorded().size(), 1u);
        EXPECT_EQ(env.prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION);
        // Nothing reached the host: the last upload stays the document's.
        EXPECT_EQ(doc.GetUploadTime().Format(), uploadBefore);
        if (c.limitFileSize) {
            EXPECT_EQ(ReadFileBytes(c.path), old);
            EXPECT_EQ(QDir(env.folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("FORM")),
                      QStringList{QStringLiteral("FORM.JVX")});
        } else {
            EXPECT_TRUE(S_ISCHR(ModeOf(c.path)));
        }
    }
}

} // namespace
