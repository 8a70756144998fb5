#include "platform/framework/Paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// A small tree in a temporary folder that is also the current folder while a
// test runs:
//   Docs/form.wvd  Docs/Sub/  Docs/Images/Logo.bmp  Docs/Images/Photo.JPG
//   Docs/Images/banner (a file)  Docs/Images/Banner/ (a folder)
//   Other/pic.png  Twins/Logo.bmp  Twins/logo.bmp
class PathsOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        for (const char* folder : {"Docs/Sub", "Docs/Images/Banner", "Other", "Twins"})
            ASSERT_TRUE(QDir(m_root).mkpath(QString::fromUtf8(folder)));
        for (const char* file : {"Docs/form.wvd", "Docs/Images/Logo.bmp", "Docs/Images/Photo.JPG", "Docs/Images/banner",
                                 "Other/pic.png", "Twins/Logo.bmp", "Twins/logo.bmp"}) {
            QFile f(m_root + u'/' + QString::fromUtf8(file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        m_previous = QDir::currentPath();
        ASSERT_EQ(::chdir(QFile::encodeName(m_root).constData()), 0);
    }

    void TearDown() override { ASSERT_EQ(::chdir(QFile::encodeName(m_previous).constData()), 0); }

    // "{root}" in a table's text stands for the tree's folder.
    QString Expand(const char* text) const { return QString::fromUtf8(text).replace(QStringLiteral("{root}"), m_root); }

    QTemporaryDir m_dir;
    QString m_root;
    QString m_previous;
};

struct RelativeCase
{
    const char* name;
    const char* path;
    const char* baseFile;
    const char* expected;
};

TEST(MakeRelativePath, RewritesAgainstTheBaseFilesFolder)
{
    const RelativeCase cases[] = {
        {"below", "/docs/images/a.bmp", "/docs/form.wvd", "images/a.bmp"},
        {"two levels below", "/docs/images/logos/a.bmp", "/docs/form.wvd", "images/logos/a.bmp"},
        {"same folder", "/docs/a.bmp", "/docs/form.wvd", "a.bmp"},
        {"up one level", "/docs/images/a.bmp", "/docs/sub/form.wvd", "../images/a.bmp"},
        {"up two levels", "/docs/a.bmp", "/docs/x/y/form.wvd", "../../a.bmp"},
        {"sibling folder", "/docs/x/a.bmp", "/docs/y/form.wvd", "../x/a.bmp"},
        {"nothing in common", "/x/a.bmp", "/docs/form.wvd", "../x/a.bmp"},
        {"longer name shares a prefix", "/a/bc/x.bmp", "/a/b/form.wvd", "../bc/x.bmp"},
        {"shorter name shares a prefix", "/a/b/x.bmp", "/a/bc/form.wvd", "../b/x.bmp"},
        {"base in the root", "/docs/a.bmp", "/form.wvd", "docs/a.bmp"},
        {"base names a folder", "/docs/images/a.bmp", "/docs/", "images/a.bmp"},
        {"case kept", "/docs/Images/Logo.BMP", "/docs/form.wvd", "Images/Logo.BMP"},
        {"case differs: another folder", "/Docs/a.bmp", "/docs/form.wvd", "../Docs/a.bmp"},
        {"dots collapse first", "/docs/./images/../a.bmp", "/docs/sub/../form.wvd", "a.bmp"},
        {"repeated slashes", "/docs//images/a.bmp", "/docs//form.wvd", "images/a.bmp"},
        {"folder path below", "/docs/images/", "/docs/form.wvd", "images/"},
        {"the base's own folder", "/docs/", "/docs/form.wvd", "./"},
        {"relative path unchanged", "images/a.bmp", "/docs/form.wvd", "images/a.bmp"},
        {"relative base leaves path", "/docs/a.bmp", "form.wvd", "/docs/a.bmp"},
        {"empty base leaves path", "/docs/a.bmp", "", "/docs/a.bmp"},
        {"empty path", "", "/docs/form.wvd", ""},
    };
    for (const RelativeCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(MakeRelativePath(path, QString::fromUtf8(c.baseFile)), TRUE);
        EXPECT_EQ(path, QString::fromUtf8(c.expected));
    }
}

TEST(MakeRelativePath, HasNoLengthLimit)
{
    QString deep = QStringLiteral("/docs");
    for (int i = 0; i < 40; ++i)
        deep += QStringLiteral("/folder%1").arg(i);
    QString path = deep + QStringLiteral("/a.bmp");
    ASSERT_GT(path.size(), 260);
    EXPECT_EQ(MakeRelativePath(path, QStringLiteral("/docs/sub/form.wvd")), TRUE);
    EXPECT_EQ(path, QStringLiteral("..") + deep.mid(5) + QStringLiteral("/a.bmp"));
}

TEST_F(PathsOnDisk, RelativeAndAbsoluteRoundTrip)
{
    const QString base = m_root + QStringLiteral("/Docs/Sub/form.wvd");
    for (const char* target : {"/Docs/Images/Logo.bmp", "/Docs/Sub/a.bmp", "/Other/pic.png", "/top.bmp"}) {
        SCOPED_TRACE(target);
        const QString original = m_root + QString::fromUtf8(target);
        QString path = original;
        ASSERT_EQ(MakeRelativePath(path, base), TRUE);
        EXPECT_FALSE(path.startsWith(u'/'));
        EXPECT_EQ(MakeAbsolutePath(path, GetPathFolder(base)), original);
    }
}

struct AbsoluteCase
{
    const char* name;
    const char* path;
    const char* baseFolder;
    const char* expected;
};

TEST_F(PathsOnDisk, MakeAbsolutePathResolvesWithoutMovingTheCurrentFolder)
{
    const AbsoluteCase cases[] = {
        {"empty base: current folder", "a.bmp", "", "{root}/a.bmp"},
        {"base folder", "a.bmp", "{root}/Docs", "{root}/Docs/a.bmp"},
        {"base folder with closing slash", "a.bmp", "{root}/Docs/", "{root}/Docs/a.bmp"},
        {"relative base folder", "a.bmp", "Docs", "{root}/Docs/a.bmp"},
        {"base names a file: current folder", "a.bmp", "{root}/Docs/form.wvd", "{root}/a.bmp"},
        {"missing base: current folder", "a.bmp", "{root}/Nowhere", "{root}/a.bmp"},
        {"dot-dot collapses", "../Images/./Logo.bmp", "{root}/Docs/Sub", "{root}/Docs/Images/Logo.bmp"},
        {"dot-dot past the base", "../../../x.bmp", "{root}/Docs/Sub", "{root}/../x.bmp"},
        {"closing slash kept", "Sub/", "{root}/Docs", "{root}/Docs/Sub/"},
        {"dot alone", ".", "{root}/Docs", "{root}/Docs"},
        {"absolute path cleaned", "/a//b/./c/../d.bmp", "{root}/Docs", "/a/b/d.bmp"},
        {"nothing above the root", "/../../x.bmp", "", "/x.bmp"},
        {"root", "/", "", "/"},
        {"empty path unchanged", "", "{root}/Docs", ""},
    };
    for (const AbsoluteCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString expected = Expand(c.expected);
        if (expected.contains(QStringLiteral("/../")))
            expected = QDir::cleanPath(expected);
        EXPECT_EQ(MakeAbsolutePath(QString::fromUtf8(c.path), Expand(c.baseFolder)), expected);
        EXPECT_EQ(GetCurrentFolder(), m_root);
    }
}

struct SplitCase
{
    const char* name;
    const char* path;
    const char* folder;
    const char* title;
    const char* ext;
};

TEST(SplitPath, FolderTitleAndExtension)
{
    const SplitCase cases[] = {
        {"full path", "/docs/images/logo.bmp", "/docs/images/", "logo", ".bmp"},
        {"bare name", "logo.bmp", "", "logo", ".bmp"},
        {"relative folder", "images/logo.bmp", "images/", "logo", ".bmp"},
        {"no extension", "/docs/README", "/docs/", "README", ""},
        {"last dot wins", "/docs/archive.tar.gz", "/docs/", "archive.tar", ".gz"},
        {"dotfile has no extension", "/home/u/.profile", "/home/u/", ".profile", ""},
        {"dotfile with extension", "/home/u/.config.bak", "/home/u/", ".config", ".bak"},
        {"dot-dot is a name", "/docs/..", "/docs/", "..", ""},
        {"closing dot", "/docs/name.", "/docs/", "name", "."},
        {"dot in a folder only", "/my.folder/file", "/my.folder/", "file", ""},
        {"closing slash", "/docs/images/", "/docs/images/", "", ""},
        {"root", "/", "/", "", ""},
        {"empty", "", "", "", ""},
        {"backslash is a name character", "C:\\Docs\\a.bmp", "", "C:\\Docs\\a", ".bmp"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = QString::fromUtf8(c.path);
        const QString folder = QString::fromUtf8(c.folder);
        const QString title = QString::fromUtf8(c.title);
        const QString ext = QString::fromUtf8(c.ext);

        QString drive = QStringLiteral("junk"), dir = drive, name = drive, extension = drive;
        SplitPathComponents(path, drive, dir, name, extension);
        EXPECT_EQ(drive, QString());
        EXPECT_EQ(dir, folder);
        EXPECT_EQ(name, title);
        EXPECT_EQ(extension, ext);

        QString partsFolder = QStringLiteral("junk"), partsTitle = partsFolder, partsExt = partsFolder;
        SplitPathParts(path, partsFolder, partsTitle, partsExt);
        EXPECT_EQ(partsFolder, folder);
        EXPECT_EQ(partsTitle, title);
        EXPECT_EQ(partsExt, ext);

        QString fileFolder = QStringLiteral("junk"), file = fileFolder;
        SplitPathFolderFile(path, fileFolder, file);
        EXPECT_EQ(fileFolder, folder);
        EXPECT_EQ(file, title + ext);

        EXPECT_EQ(GetPathFolder(path), folder);
    }
}

struct DirectoryCase
{
    const char* name;
    const char* path;
    BOOL expected;
};

TEST_F(PathsOnDisk, IsDirectory)
{
    ASSERT_EQ(::symlink("Docs", QFile::encodeName(m_root + QStringLiteral("/link")).constData()), 0);
    const DirectoryCase cases[] = {
        {"folder", "{root}/Docs", TRUE},
        {"folder with closing slash", "{root}/Docs/", TRUE},
        {"relative folder", "Docs/Sub", TRUE},
        {"link to a folder", "{root}/link", TRUE},
        {"file", "{root}/Docs/form.wvd", FALSE},
        {"missing", "{root}/Nowhere", FALSE},
        {"empty", "", FALSE},
    };
    for (const DirectoryCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsDirectory(Expand(c.path)), c.expected);
    }
}

struct StoredSplitCase
{
    const char* name;
    const char* stored;
    const char* parts; // joined with "|"
};

TEST(SplitStoredPath, BothSeparatorsAndNoDrive)
{
    const StoredSplitCase cases[] = {
        {"drive and folders", "C:\\Docs\\Images\\Logo.BMP", "Docs|Images|Logo.BMP"},
        {"relative", "Images\\logo.bmp", "Images|logo.bmp"},
        {"network path", "\\\\SYS\\QDLS\\x", "SYS|QDLS|x"},
        {"mixed separators", "Images/sub\\a.bmp", "Images|sub|a.bmp"},
        {"climbing kept", "..\\IMAGES\\.\\a.bmp", "..|IMAGES|.|a.bmp"},
        {"drive-relative", "d:a.bmp", "a.bmp"},
        {"drive alone", "C:\\", ""},
        {"digit is no drive", "1:\\x", "1:|x"},
        {"colon later is kept", "a:b:c", "b:c"},
        {"empty", "", ""},
    };
    for (const StoredSplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kwvd::SplitStoredPath(QString::fromUtf8(c.stored)).join(u'|'), QString::fromUtf8(c.parts));
    }
}

struct ResolveCase
{
    const char* name;
    const char* stored;
    const char* searchFolder;
    const char* expected; // empty: not found
};

TEST_F(PathsOnDisk, ResolveStoredPathFindsTheLocalFile)
{
    const ResolveCase cases[] = {
        {"exact", "Images\\Logo.bmp", "{root}/Docs", "{root}/Docs/Images/Logo.bmp"},
        {"forward slashes", "Images/Logo.bmp", "{root}/Docs", "{root}/Docs/Images/Logo.bmp"},
        {"folder and file case differ", "IMAGES\\logo.BMP", "{root}/Docs", "{root}/Docs/Images/Logo.bmp"},
        {"extension case differs", "Images\\Photo.jpg", "{root}/Docs", "{root}/Docs/Images/Photo.JPG"},
        {"file wins over a folder of that name", "Images\\BANNER", "{root}/Docs", "{root}/Docs/Images/banner"},
        {"climbing out", "..\\OTHER\\pic.png", "{root}/Docs", "{root}/Other/pic.png"},
        {"exact match preferred: lower", "logo.bmp", "{root}/Twins", "{root}/Twins/logo.bmp"},
        {"exact match preferred: upper", "Logo.bmp", "{root}/Twins", "{root}/Twins/Logo.bmp"},
        {"drive dropped, longest tail", "C:\\Work\\Docs\\Images\\Logo.bmp", "{root}", "{root}/Docs/Images/Logo.bmp"},
        {"drive dropped, name alone", "C:\\Old\\Place\\LOGO.BMP", "{root}/Docs/Images", "{root}/Docs/Images/Logo.bmp"},
        {"network path, name alone", "\\\\SYS\\QDLS\\logo.bmp", "{root}/Docs/Images", "{root}/Docs/Images/Logo.bmp"},
        {"absolute path climbs no higher", "C:\\Docs\\..\\..\\Logo.bmp", "{root}/Docs/Images",
         "{root}/Docs/Images/Logo.bmp"},
        {"empty folder: current folder", "docs\\images\\logo.bmp", "", "{root}/Docs/Images/Logo.bmp"},
        {"relative folder", "images\\logo.bmp", "Docs", "Docs/Images/Logo.bmp"},
        {"relative path keeps its folders", "Elsewhere\\Logo.bmp", "{root}/Docs/Images", ""},
        {"missing file", "Images\\missing.bmp", "{root}/Docs", ""},
        {"missing folder", "Nowhere\\Logo.bmp", "{root}/Docs", ""},
        {"a folder is not a file", "Images", "{root}/Docs", ""},
        {"ends in dot-dot", "Images\\..", "{root}/Docs", ""},
        {"missing search folder", "Logo.bmp", "{root}/Nowhere", ""},
        {"empty", "", "{root}/Docs", ""},
        {"drive alone", "C:\\", "{root}/Docs", ""},
    };
    for (const ResolveCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kwvd::ResolveStoredPath(QString::fromUtf8(c.stored), Expand(c.searchFolder)), Expand(c.expected));
    }
}

} // namespace
