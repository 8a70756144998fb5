// Local spooled files: the print-control prefixes, line ends, the page limit,
// invalid files, and finding a file that is not where its path says.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/File.h"
#include "platform/framework/Paths.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Pages = std::vector<QStringList>;

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

Pages PagesOf(const CSpooledFile& file)
{
    Pages pages;
    for (int n = 1; n <= file.GetPageCount(); ++n) {
        QStringList lines;
        if (const CStringArray* page = file.GetPage(n)) {
            for (const QString& line : *page)
                lines.append(line);
        } else {
            lines.append(QStringLiteral("<no lines>"));
        }
        pages.push_back(lines);
    }
    return pages;
}

class SpooledFileReadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterSpooledFileStrings();
        ASSERT_TRUE(dir.isValid());
        prefs.MaxSpooledFilePages = 20;
        prefs.DefaultSpooledFileDirectory = Path("defaults");
        prefs.ApplicationDirectory = Path("program") + u'/';
        previousPrefs = SetPreferences(&prefs);
        QDir().mkpath(Path("work"));
        previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(Path("work")));
    }

    void TearDown() override
    {
        QDir::setCurrent(previousFolder);
        SetPreferences(previousPrefs);
    }

    QString Path(const QString& relative) const { return dir.filePath(relative); }

    QString WriteText(const QString& relative, const QString& text)
    {
        const QString path = Path(relative);
        WriteBytes(path, Utf16Le(text));
        return path;
    }

    // What a failed read must leave as it was: two pages, the second shown.
    Pages ReadTwoPagesShowingTheSecond()
    {
        const QString good = WriteText(QStringLiteral("work/good.txt"), u"   1one\n001 two\n"_qs);
        EXPECT_TRUE(file.ReadTextFile(good));
        EXPECT_TRUE(file.SetCurrentPage(2));
        return PagesOf(file);
    }

    QStringList PromptTexts() const
    {
        QStringList texts;
        for (const RecordedPrompt& prompt : prompts->Recorded())
            texts.append(prompt.text);
        return texts;
    }

    QTemporaryDir dir;
    CPreferences prefs;
    CPreferences* previousPrefs = nullptr;
    ScopedPromptAnswers prompts;
    QString previousFolder;
    CSpooledFile file;
};

TEST_F(SpooledFileReadTest, PrintControlPrefixes)
{
    struct Case
    {
        const char* name;
        QString text;
        int limit;
        Pages pages;
    };
    const QString e; // an empty line
    const Case cases[] = {
        {"space before 1, 2 and 0", u"   1AAA\n   2BBB\n   0CCC\n"_qs, 20, {{e, "AAA", e, "CCC"}}},
        {"skip back to line 5 starts a new page",
         u"0007SEVEN\n005 FIVE\n"_qs,
         20,
         {{e, e, e, e, e, e, e, "SEVEN"}, {e, e, e, e, e, "FIVE"}}},
        {"skip down to line 5 stays on the page", u"   3THREE\n005 FIVE\n"_qs, 20, {{e, e, e, "THREE", e, "FIVE"}}},
        {"skip target ends at the first blank", u"012 X"_qs, 20, {{e, e, e, e, e, e, e, e, e, e, e, e, "X"}}},
        {"space before wins over a skip digit", u"1001A"_qs, 20, {{e, "A"}}},
        {"a run of skips to line 0 gives empty pages", u"   1A\n000 x\n000 y\n"_qs, 20, {{e, "A"}, {}, {}}},
        {"short lines change nothing", u"   1A\n\nab\nabc\n   1B"_qs, 20, {{e, "A", "B"}}},
        {"CR LF line ends", u"   1A\r\n   1B\r\n"_qs, 20, {{e, "A", "B"}}},
        {"bare CR line ends keep the next prefix", u"   1A\r   1B\r"_qs, 20, {{e, "A", "B"}}},
        {"CR CR LF ends an empty line too", u"   1A\r\r\n   1B"_qs, 20, {{e, "A", "B"}}},
        {"byte-order mark skipped", u"\uFEFF   1A"_qs, 20, {{e, "A"}}},
        {"text kept as it stands", u"   1  padded  "_qs, 20, {{e, "  padded  "}}},
        {"a byte-order mark alone gives a page without lines", u"\uFEFF"_qs, 20, {{}}},
        {"page limit", u"   1P1\n001 P2\n001 P3\n001 P4\n001 P5"_qs, 2, {{e, "P1"}, {e, "P2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs.MaxSpooledFilePages = c.limit;
        const QString path = WriteText(QStringLiteral("work/spool.txt"), c.text);
        CSpooledFile fresh;
        ASSERT_TRUE(fresh.ReadTextFile(path));
        EXPECT_EQ(PagesOf(fresh), c.pages);
        EXPECT_EQ(fresh.GetCurrentPageNumber(), 1);
        EXPECT_TRUE(prompts->Recorded().empty());
    }
}

TEST_F(SpooledFileReadTest, LinesAcrossReadBlocks)
{
    // Long enough to cross the reader's blocks at odd places: a CR at one
    // block's end and the LF at the next one's start must still be one end.
    QString text;
    QStringList expected{QString()};
    for (int i = 0; i < 9000; ++i) {
        const QString line = QString::number(i).rightJustified(i % 7 + 1, u'x');
        text += u"   1"_qs + line + u"\r\n"_qs;
        expected.append(line);
    }
    const QString path = WriteText(QStringLiteral("work/long.txt"), text);
    ASSERT_TRUE(file.ReadTextFile(path));
    EXPECT_EQ(PagesOf(file), Pages{expected});
}

// Lines as long as a page may be are longer than the blocks the reader
// keeps pages' texts in, so they reach across more than one block; a line
// one column longer makes the file invalid.
TEST_F(SpooledFileReadTest, LinesLongerThanTheReadersTextBlocks)
{
    const auto longLine = [](qsizetype length, char16_t first) {
        QString line(length, QChar(u'y'));
        line[0] = QChar(first);
        line[length - 1] = QChar(u'z');
        return line;
    };
    const QString widest = longLine(CSpooledFile::kMaxPageDimension, u'A');
    const QString nearly = longLine(CSpooledFile::kMaxPageDimension - 1, u'B');
    QString text = u"   1one\r\n"_qs;
    for (const QString& line : {widest, u"two"_qs, nearly, widest})
        text += u"   1"_qs + line + u"\n"_qs;
    const QString path = WriteText(QStringLiteral("work/wide.txt"), text);
    ASSERT_TRUE(file.ReadTextFile(path));
    EXPECT_TRUE(PagesOf(file) == (Pages{{QString(), u"one"_qs, widest, u"two"_qs, nearly, widest}}));
    EXPECT_EQ(file.GetPageWidth(), CSpooledFile::kMaxPageDimension);

    prompts->ClearRecorded();
    const QString tooWide =
        WriteText(QStringLiteral("work/too-wide.txt"),
                  u"   1one\n   1"_qs + longLine(CSpooledFile::kMaxPageDimension + 1, u'C') + u"\n"_qs);
    EXPECT_FALSE(file.ReadTextFile(tooWide));
    EXPECT_EQ(PromptTexts(), QStringList{u"Spooled File: "_qs + tooWide + u" has an invalid format"_qs});
    EXPECT_EQ(file.GetPageCount(), 1);
}

TEST_F(SpooledFileReadTest, OddLastByteIsIgnored)
{
    const QString path = Path("work/odd.txt");
    WriteBytes(path, Utf16Le(u"   1AB"_qs) + QByteArray(1, 'C'));
    ASSERT_TRUE(file.ReadTextFile(path));
    EXPECT_EQ(PagesOf(file), (Pages{{QString(), "AB"}}));
}

TEST_F(SpooledFileReadTest, InvalidFileLeavesThePagesAsTheyWere)
{
    const Pages before = ReadTwoPagesShowingTheSecond();

    struct Case
    {
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {"skip of 100 without a space digit", u"   1A\n100 B\n"_qs},
        {"letters for a prefix", u"ABCDtext"_qs},
        {"space digit 4", u"   4A"_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        const QString bad = WriteText(QStringLiteral("work/bad.txt"), c.text);
        EXPECT_FALSE(file.ReadTextFile(bad));
        EXPECT_EQ(PromptTexts(), QStringList{u"Spooled File: "_qs + bad + u" has an invalid format"_qs});
        EXPECT_EQ(PagesOf(file), before);
        EXPECT_EQ(file.GetCurrentPageNumber(), 2);
    }
}

// Each input the reader cannot take gives one message, naming the file and
// what is wrong with it, and leaves the pages held as they were.
TEST_F(SpooledFileReadTest, DamagedAndUnreadableFilesGiveOneMessageAndKeepThePages)
{
    const Pages before = ReadTwoPagesShowingTheSecond();

    struct Case
    {
        const char* name;
        // Makes the input; what must stay open while it is read goes to held.
        std::function<QString(std::unique_ptr<CFile>& held)> make;
        QString message; // %1: the path
    };
    const Case cases[] = {
        {"missing", [this](auto&) { return Path("work/none.txt"); }, u"Cannot find file \"%1\"."_qs},
        {"a folder",
         [this](auto&) {
             QDir().mkpath(Path("work/folder.txt"));
             return Path("work/folder.txt");
         },
         u"%1 is a folder, not a file."_qs},
        {"0 bytes", [this](auto&) { return WriteText(QStringLiteral("work/empty.txt"), {}); },
         u"Spooled File: %1 has an invalid format"_qs},
        {"locked exclusively by another open",
         [this](std::unique_ptr<CFile>& held) {
             const QString path = WriteText(QStringLiteral("work/locked.txt"), u"   1A"_qs);
             held = std::make_unique<CFile>(path, CFile::modeReadWrite | CFile::shareExclusive);
             return path;
         },
         u"A sharing violation occurred while accessing %1."_qs},
        {"a bad prefix line", [this](auto&) { return WriteText(QStringLiteral("work/bad.txt"), u"   1A\nABCDx"_qs); },
         u"Spooled File: %1 has an invalid format"_qs},
        // The kernel refuses to read address 0 of the process: a file that
        // opens and then fails to read.
        {"a read error", [](auto&) { return QStringLiteral("/proc/self/mem"); },
         u"A hardware I/O error was reported while accessing %1."_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        std::unique_ptr<CFile> held;
        const QString path = c.make(held);

        EXPECT_FALSE(file.ReadTextFile(path));

        EXPECT_EQ(PromptTexts(), QStringList{c.message.arg(path)});
        ASSERT_EQ(prompts->Recorded().size(), 1u);
        EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION);
        EXPECT_EQ(PagesOf(file), before);
        EXPECT_EQ(file.GetCurrentPageNumber(), 2);
    }
}

// Reading takes a shared lock: a file another reader has open reads.
TEST_F(SpooledFileReadTest, FileOpenByAnotherReaderReads)
{
    const QString path = WriteText(QStringLiteral("work/shared.txt"), u"   1A"_qs);
    CFile other(path, CFile::modeRead | CFile::shareDenyWrite);

    ASSERT_TRUE(file.ReadTextFile(path));

    EXPECT_EQ(PagesOf(file), (Pages{{QString(), "A"}}));
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(SpooledFileReadTest, FindingTheFile)
{
    struct Case
    {
        const char* name;
        QStringList files; // relative to the temporary folder
        QString request;   // relative paths are relative to "work"
        std::vector<int> answers;
        const char* found; // relative to the temporary folder; null: not found
        int questions;
    };
    const Case cases[] = {
        {"in its own folder", {"own/a.txt"}, "../own/a.txt", {}, "own/a.txt", 0},
        {"no folder means the current folder", {"work/a.txt"}, "a.txt", {}, "work/a.txt", 0},
        {"case disregarded in its own folder", {"own/A.TXT"}, "../own/a.txt", {}, "own/A.TXT", 0},
        {"stored Windows path, name found here", {"work/Spool.TXT"}, "C:\\Spool\\spool.txt", {}, "work/Spool.TXT", 0},
        {"default folder, accepted", {"defaults/a.txt"}, "gone/a.txt", {IDYES}, "defaults/a.txt", 1},
        {"default folder refused, program folder accepted",
         {"defaults/a.txt", "program/a.txt"},
         "gone/a.txt",
         {IDNO, IDYES},
         "program/a.txt",
         2},
        {"current folder last", {"work/a.txt"}, "../gone/a.txt", {IDYES}, "work/a.txt", 1},
        {"every substitute refused", {"defaults/a.txt", "program/a.txt"}, "gone/a.txt", {IDNO, IDNO}, nullptr, 2},
        {"nowhere", {}, "gone/a.txt", {}, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir;
        ASSERT_TRUE(caseDir.isValid());
        for (const char* sub : {"work", "defaults", "program"})
            QDir().mkpath(caseDir.filePath(QString::fromUtf8(sub)));
        for (const QString& name : c.files)
            WriteBytes(caseDir.filePath(name), Utf16Le(u"   1A"_qs));
        prefs.DefaultSpooledFileDirectory = caseDir.filePath(QStringLiteral("defaults"));
        prefs.ApplicationDirectory = caseDir.filePath(QStringLiteral("program")) + u'/';
        ASSERT_TRUE(QDir::setCurrent(caseDir.filePath(QStringLiteral("work"))));
        prompts->ClearRecorded();
        for (int answer : c.answers)
            prompts->AnswerMessageBox(answer);

        QString path = c.request;
        const BOOL result = LocateSpooledFile(path);
        EXPECT_EQ(prompts->PendingAnswers(), 0);
        const std::vector<RecordedPrompt>& recorded = prompts->Recorded();
        if (c.found != nullptr) {
            EXPECT_TRUE(result);
            const QString expected = QFileInfo(caseDir.filePath(QString::fromUtf8(c.found))).canonicalFilePath();
            EXPECT_EQ(QFileInfo(path).canonicalFilePath(), expected);
            EXPECT_TRUE(QFileInfo(path).isAbsolute());
            ASSERT_EQ(static_cast<int>(recorded.size()), c.questions);
            if (c.questions > 0) {
                EXPECT_EQ(recorded.back().text,
                          u"The file '"_qs + c.request
                              + u"' was not found.  Would you like to substitute it with the file '"_qs + path
                              + u"' ?"_qs);
                EXPECT_EQ(recorded.back().Buttons(), MB_YESNO);
            }
        } else {
            EXPECT_FALSE(result);
            EXPECT_EQ(path, c.request);
            ASSERT_EQ(static_cast<int>(recorded.size()), c.questions + 1);
            EXPECT_EQ(recorded.back().text, u"Cannot find file \""_qs + c.request + u"\"."_qs);
        }
    }
}

TEST_F(SpooledFileReadTest, MissingFileLeavesThePagesAsTheyWere)
{
    const QString good = WriteText(QStringLiteral("work/good.txt"), u"   1one"_qs);
    ASSERT_TRUE(file.ReadTextFile(good));
    EXPECT_FALSE(file.ReadTextFile(Path("work/none.txt")));
    EXPECT_FALSE(file.ReadTextFile(QString()));
    EXPECT_EQ(PagesOf(file), (Pages{{QString(), "one"}}));
    EXPECT_EQ(PromptTexts(), QStringList{u"Cannot find file \""_qs + Path("work/none.txt") + u"\"."_qs});
}

TEST_F(SpooledFileReadTest, OpenAsksAgainUntilAFileReads)
{
    CDesignerDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CSpooledFile* bound = doc.GetSpooledFile();
    const QString bad = WriteText(QStringLiteral("work/bad.txt"), u"XXXXtext"_qs);
    const QString good = WriteText(QStringLiteral("work/good.txt"), u"   1one"_qs);
    prompts->AnswerFile(bad);
    prompts->AnswerMessageBox(IDOK);
    prompts->AnswerFile(good);
    ASSERT_TRUE(bound->OpenLocalFile());
    EXPECT_EQ(PagesOf(*bound), (Pages{{QString(), "one"}}));

    const std::vector<RecordedPrompt>& recorded = prompts->Recorded();
    ASSERT_EQ(recorded.size(), 3u); // chooser, invalid format, chooser
    EXPECT_EQ(recorded[0].kind, PromptKind::OpenFile);
    EXPECT_EQ(recorded[0].file.title, u"Open Spooled File"_qs);
    EXPECT_EQ(recorded[0].file.initialFolder, prefs.DefaultSpooledFileDirectory);
    EXPECT_TRUE(recorded[0].file.filter.isEmpty());
    EXPECT_EQ(recorded[1].kind, PromptKind::MessageBox);
    EXPECT_EQ(recorded[2].kind, PromptKind::OpenFile);

    prompts->ClearRecorded();
    EXPECT_FALSE(bound->OpenLocalFile()); // the chooser is cancelled
    EXPECT_EQ(PagesOf(*bound), (Pages{{QString(), "one"}}));
}

} // namespace
