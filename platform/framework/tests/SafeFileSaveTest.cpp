// The names the safe file save makes beside a target: a new empty file under
// the first free name of a pattern, never one that is there already.

#include "platform/framework/SafeFileSave.h"
#include "platform/framework/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(CreateUnusedFileBeside, TakesTheFirstFreeNameOfThePattern)
{
    struct Case
    {
        const char* name;
        QStringList taken; // files there before
        const char* made;
    };
    const Case cases[] = {
        {"an empty folder", {}, "~IMG0001.BAK"},
        {"the first names taken", {QStringLiteral("~IMG0001.BAK"), QStringLiteral("~IMG0002.BAK")}, "~IMG0003.BAK"},
        {"a gap in the names", {QStringLiteral("~IMG0002.BAK")}, "~IMG0001.BAK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        for (const QString& name : c.taken) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("kept");
        }
        const QString target = folder.filePath(QStringLiteral("PLAIN"));

        const QString made = kwvd::CreateUnusedFileBeside(target, QStringLiteral("~IMG%1.BAK"));

        EXPECT_EQ(made, folder.filePath(QString::fromLatin1(c.made)));
        EXPECT_TRUE(QFileInfo(made).isFile());
        EXPECT_EQ(QFileInfo(made).size(), 0);
        for (const QString& name : c.taken) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), QByteArray("kept")) << name.toStdString();
        }
    }
}

TEST(CreateUnusedFileBeside, FolderThatIsNotThereNamesTheTarget)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString target = folder.filePath(QStringLiteral("missing/PLAIN"));
    try {
        kwvd::CreateUnusedFileBeside(target, QStringLiteral("~IMG%1.BAK"));
        ADD_FAILURE() << "a name was made in a folder that is not there";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(error.m_lOsError, ENOENT);
        EXPECT_EQ(error.m_strFileName, target);
    }
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("missing"))));
}

} // namespace
