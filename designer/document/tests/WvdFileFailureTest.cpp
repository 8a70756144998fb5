// What the user reads when a WVD file cannot be opened or saved: one
// message for each failure, naming the file and the cause; a read-only
// target refused; a file another program changed since it was opened
// replaced only when the user agrees.

#include "platform/framework/Document.h"
#include "platform/ui/DocumentPrompts.h"
#include "tests/support/JvxDocumentFixture.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <functional>
#include <ostream>
#include <sys/stat.h>

namespace {

class WvdFileFailureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousPrompter = SetDocumentPrompter(nullptr);
        InstallDocumentPrompts();
        ASSERT_TRUE(doc.OnNewDocument());
        BuildRichDocument(doc);
        good = StoreDocument(doc);
    }
    void TearDown() override { SetDocumentPrompter(previousPrompter); }

    QString PathOf(const char* name) const { return env.folder.filePath(QString::fromLatin1(name)); }

    // A later modification time than the file has, without waiting.
    static void MakeNewer(const QString& path)
    {
        struct stat info
        {};
        ASSERT_EQ(::stat(path.toUtf8().constData(), &info), 0);
        const struct timespec times[2] = {info.st_atim, {info.st_mtim.tv_sec + 10, info.st_mtim.tv_nsec}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.toUtf8().constData(), times, 0), 0);
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    Bytes good;

private:
    std::shared_ptr<DocumentPrompter> previousPrompter;
};

int g_newerVersionDialogs = 0;
void CountNewerVersionDialog(const QString&)
{
    ++g_newerVersionDialogs;
}

// The schema word of the first record of a class, which stands just before
// the class name's length.
Bytes WithClassSchema(Bytes bytes, const char* className, WORD schema)
{
    const std::string name(className);
    const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    EXPECT_NE(at, bytes.end()) << className;
    if (at == bytes.end() || at - bytes.begin() < 4)
        return bytes;
    const auto schemaAt = static_cast<size_t>(at - bytes.begin()) - 4;
    bytes[schemaAt] = static_cast<BYTE>(schema & 0xFF);
    bytes[schemaAt + 1] = static_cast<BYTE>(schema >> 8);
    return bytes;
}

struct OpenCase
{
    const char* name;
    std::function<Bytes(const Bytes& good)> content;
    const char* message; // %1: the path, %2: the file name; null: the program's dialog alone
    int debugServices = 0;
    int answer = 0; // queued for a question; 0: none
};

void PrintTo(const OpenCase& c, std::ostream* os)
{
    *os << c.name;
}

class WvdOpenFailure : public WvdFileFailureTest, public ::testing::WithParamInterface<OpenCase>
{};

TEST_P(WvdOpenFailure, GivesOneMessageAndANewDocument)
{
    const OpenCase& c = GetParam();
    const QString path = PathOf("damaged.wvd");
    ASSERT_TRUE(WriteFileBytes(path, c.content(good)));
    env.prefs.EnableDebugServices = c.debugServices;
    if (c.answer != 0)
        env.prompts->AnswerMessageBox(c.answer);
    g_newerVersionDialogs = 0;
    const IncorrectVersionHandler before =
        SetIncorrectVersionHandler(c.message == nullptr ? &CountNewerVersionDialog : nullptr);
    env.prompts->ClearRecorded();

    const BOOL opened = doc.OnOpenDocument(path);
    SetIncorrectVersionHandler(before);

    EXPECT_FALSE(opened);
    if (c.message == nullptr) {
        EXPECT_EQ(g_newerVersionDialogs, 1);
        EXPECT_EQ(env.PromptTexts(), QStringList{}) << env.PromptTexts().join(u'|').toStdString();
    } else {
        EXPECT_EQ(g_newerVersionDialogs, 0);
        const QString expected =
            QString::fromUtf8(c.message).replace(u"%1"_qs, path).replace(u"%2"_qs, QFileInfo(path).fileName());
        EXPECT_EQ(env.PromptTexts(), QStringList{expected}) << env.PromptTexts().join(u'|').toStdString();
    }
    // Nothing of the file stays, and Save cannot put the new document over it.
    EXPECT_TRUE(doc.IsReady());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_TRUE(doc.WvdName().GetValue().trimmed().isEmpty());
    EXPECT_EQ(ReadFileBytes(path), c.content(good));
}

Bytes Older(const Bytes& good)
{
    Bytes bytes = good;
    bytes[2] = 58;
    return bytes;
}

const OpenCase kOpenCases[] = {
    {"newer version, the program's dialog", [](const Bytes&) { return Hex("12 12 3C 0A 00"); }, nullptr},
    {"newer version, no dialog installed", [](const Bytes&) { return Hex("12 12 3C 0A 00"); },
     "Cannot read document \"%2\".  Document was created by a newer version of KWVD Designer."},
    {"bad signature", [](const Bytes& good) { return Hex("12 13") + Bytes(good.begin() + 2, good.end()); },
     "Error reading file: %1."},
    {"version 0", [](const Bytes&) { return Hex("12 12 00"); }, "Error reading file: %1."},
    {"empty file", [](const Bytes&) { return Bytes(); }, "Error reading file: %1."},
    {"older version refused with No", Older,
     "File %1 was created with KWVD Designer Document Version 58, you are using the newer KWVD Designer Document "
     "Version 59.  Do you want to continue ?",
     1, IDNO},
    {"bad schema of an object", [](const Bytes& good) { return WithClassSchema(good, "CSpooledFile", 7); },
     "%1 contains an incorrect schema."},
    {"truncated", [](const Bytes& good) { return Bytes(good.begin(), good.begin() + good.size() / 2); },
     "Unexpected end of file while reading %1."},
};

INSTANTIATE_TEST_SUITE_P(Cases, WvdOpenFailure, ::testing::ValuesIn(kOpenCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST_F(WvdFileFailureTest, SaveOntoAReadOnlyFileIsRefusedAndTheFileKept)
{
    const QString path = PathOf("form.wvd");
    const Bytes old = Ascii("an older definition");
    ASSERT_TRUE(WriteFileBytes(path, old));
    ASSERT_EQ(::chmod(path.toUtf8().constData(), 0444), 0);
    env.prompts->ClearRecorded();

    EXPECT_FALSE(doc.DoSave(path));

    EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("Access to %1 was denied.").arg(path)});
    EXPECT_EQ(ReadFileBytes(path), old);
    struct stat info
    {};
    ASSERT_EQ(::stat(path.toUtf8().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_TRUE(doc.GetPathName().isEmpty());
}

// A save fills the disk: the message names the document, not the temporary
// file written beside it.
TEST_F(WvdFileFailureTest, SaveOntoAFullDeviceNamesTheDocument)
{
    env.prompts->ClearRecorded();

    EXPECT_FALSE(doc.OnSaveDocument(QStringLiteral("/dev/full")));

    EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("Disk full while accessing /dev/full.")});
    struct stat info
    {};
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// Another designer saved the same file after this one opened it.
TEST_F(WvdFileFailureTest, SaveOverAFileAnotherProgramChangedAsksFirst)
{
    struct Case
    {
        const char* name;
        const char* file;
        int answer;
        bool replaced;
    };
    const Case cases[] = {
        {"No keeps the other program's file", "no.wvd", IDNO, false},
        {"Yes replaces it", "yes.wvd", IDYES, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PathOf(c.file);
        ASSERT_TRUE(doc.OnSaveDocument(path));
        CDesignerDoc mine;
        ASSERT_TRUE(mine.OnOpenDocument(path));
        {
            CDocChangeGuard change(&mine);
            mine.Description().SetValue(QStringLiteral("mine"));
            mine.SetModifiedFlag(TRUE);
        }

        CDesignerDoc other;
        ASSERT_TRUE(other.OnOpenDocument(path));
        {
            CDocChangeGuard change(&other);
            other.Description().SetValue(QStringLiteral("the other designer's"));
            other.SetModifiedFlag(TRUE);
        }
        ASSERT_TRUE(other.DoFileSave());
        MakeNewer(path);
        const Bytes theirs = ReadFileBytes(path);

        env.prompts->ClearRecorded();
        env.prompts->AnswerMessageBox(c.answer);
        EXPECT_EQ(mine.DoFileSave(), c.replaced ? TRUE : FALSE);

        ASSERT_EQ(env.prompts->Recorded().size(), 1u);
        const RecordedPrompt& question = env.prompts->Recorded()[0];
        EXPECT_EQ(question.text, QStringLiteral("The file %1 was changed by another program since it was opened. "
                                                "Replace it with this document?")
                                     .arg(path));
        EXPECT_EQ(question.Buttons(), MB_YESNO);
        CDesignerDoc reread;
        ASSERT_TRUE(reread.OnOpenDocument(path));
        if (c.replaced) {
            EXPECT_EQ(reread.Description().GetValue().trimmed(), QStringLiteral("mine"));
            EXPECT_FALSE(mine.IsModified());
        } else {
            EXPECT_EQ(ReadFileBytes(path), theirs);
            EXPECT_TRUE(mine.IsModified());
            EXPECT_TRUE(mine.GetTitle().endsWith(QStringLiteral(" *")));
        }
    }
}

} // namespace
