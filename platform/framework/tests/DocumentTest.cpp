// The document/view base: open and save around Serialize, what a failed open
// or save leaves behind, the save question, and update hints to views.

#include "platform/framework/Document.h"
#include "platform/framework/Archive.h"
#include "platform/framework/View.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr DWORD kMagic = 0x4E4F5445;

// A document with one text and a check word after it.
class NoteDoc : public CDocument
{
public:
    void DeleteContents() override
    {
        ++deleteCount;
        text.clear();
    }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << text;
            if (failWhileStoring)
                AfxThrowArchiveException(CArchiveException::genericException, ar.GetFilePath());
            ar << kMagic;
        } else {
            seenDocument = ar.m_pDocument;
            seenPath = ar.GetFilePath();
            if (refuseAfterTelling) {
                MarkFailureReported();
                AfxThrowArchiveException(CArchiveException::badSchema, ar.GetFilePath());
            }
            DWORD magic = 0;
            ar >> text >> magic;
            if (magic != kMagic)
                AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        }
    }

    QString text;
    int deleteCount = 0;
    bool failWhileStoring = false;
    // Loading tells the user itself why the file is refused, then throws.
    bool refuseAfterTelling = false;
    CDocument* seenDocument = nullptr;
    QString seenPath;
};

struct Report
{
    QString path;
    QString message;
    bool saving;
};

struct ChooserRequest
{
    QString proposedName;
    QString filter;
    QString defaultExtension;
};

class RecordingPrompter : public DocumentPrompter
{
public:
    SaveChoice AskToSave(const QString& name) override
    {
        askedNames.push_back(name);
        if (saveChoices.empty())
            return SaveChoice::Cancel;
        const SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }

    QString ChooseSavePath(const QString& proposedName, const QString& filter, const QString& defaultExtension) override
    {
        chooserRequests.push_back({proposedName, filter, defaultExtension});
        return chooserAnswer;
    }

    void ReportSaveLoadException(const QString& path, const CException& error, bool saving) override
    {
        reports.push_back({path, error.GetErrorMessage(), saving});
    }

    bool AskToReplaceChangedFile(const QString& path) override
    {
        replaceAsked.push_back(path);
        return replaceAnswer;
    }

    std::deque<SaveChoice> saveChoices;
    bool replaceAnswer = false;
    std::vector<QString> replaceAsked;
    QString chooserAnswer;
    std::vector<QString> askedNames;
    std::vector<ChooserRequest> chooserRequests;
    std::vector<Report> reports;
};

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = SetDocumentPrompter(m_prompter);
    }

    void TearDown() override { SetDocumentPrompter(m_previous); }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    static void put(const QString& file, const QByteArray& content)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    static QByteArray contentOf(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll();
    }

    // Everything in the folder, hidden files included: a failed save must
    // leave no temporary file behind.
    QStringList entries(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QByteArray savedNote(const QString& text)
    {
        NoteDoc doc;
        doc.text = text;
        const QString file = path("scratch.bin");
        EXPECT_TRUE(doc.OnSaveDocument(file));
        const QByteArray bytes = contentOf(file);
        QFile::remove(file);
        return bytes;
    }

    QTemporaryDir m_dir;
    std::shared_ptr<RecordingPrompter> m_prompter = std::make_shared<RecordingPrompter>();

private:
    std::shared_ptr<DocumentPrompter> m_previous;
};

TEST_F(DocumentTest, SavedDocumentOpensWithItsContentPathAndTitle)
{
    NoteDoc original;
    original.text = QStringLiteral("Form \u00e9t\u00e9 \u20ac");
    original.SetModifiedFlag(TRUE);
    const QString file = path("form.wvd");

    ASSERT_TRUE(original.DoSave(file));
    EXPECT_FALSE(original.IsModified());
    EXPECT_EQ(original.GetPathName(), file);
    EXPECT_EQ(original.GetTitle(), QStringLiteral("form.wvd"));
    EXPECT_EQ(entries(m_dir.path()), QStringList{QStringLiteral("form.wvd")});

    NoteDoc reopened;
    reopened.SetModifiedFlag(TRUE);
    ASSERT_TRUE(reopened.OnOpenDocument(file));
    EXPECT_EQ(reopened.text, original.text);
    EXPECT_EQ(reopened.seenDocument, &reopened);
    EXPECT_EQ(reopened.seenPath, file);
    EXPECT_EQ(reopened.GetPathName(), file);
    EXPECT_EQ(reopened.GetTitle(), QStringLiteral("form.wvd"));
    EXPECT_FALSE(reopened.IsModified());
    EXPECT_TRUE(m_prompter->reports.empty());
}

TEST_F(DocumentTest, RelativePathBecomesTheFullPath)
{
    NoteDoc doc;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const BOOL saved = doc.DoSave(QStringLiteral("relative.wvd"));
    QDir::setCurrent(previous);

    ASSERT_TRUE(saved);
    EXPECT_EQ(doc.GetPathName(), path("relative.wvd"));
}

struct OpenFailureCase
{
    const char* name;
    std::function<QByteArray(const QByteArray& good)> content; // null: no file at all
    bool contentsKept;                                         // the file could not even be opened
};

void PrintTo(const OpenFailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class OpenFailure : public DocumentTest, public ::testing::WithParamInterface<OpenFailureCase>
{};

TEST_P(OpenFailure, ReportsAndLeavesNothingHalfRead)
{
    const OpenFailureCase& c = GetParam();
    const QString file = path("broken.wvd");
    if (c.content)
        put(file, c.content(savedNote(QStringLiteral("a text long enough to be cut in two"))));

    NoteDoc doc;
    doc.text = QStringLiteral("current");
    doc.SetPathName(path("current.wvd"));
    doc.SetModifiedFlag(TRUE);

    EXPECT_FALSE(doc.OnOpenDocument(file));

    ASSERT_EQ(m_prompter->reports.size(), 1u);
    EXPECT_FALSE(m_prompter->reports[0].saving);
    EXPECT_EQ(m_prompter->reports[0].path, file);
    EXPECT_TRUE(m_prompter->reports[0].message.contains(file)) << m_prompter->reports[0].message.toStdString();
    if (c.contentsKept) {
        EXPECT_EQ(doc.text, QStringLiteral("current"));
        EXPECT_EQ(doc.GetPathName(), path("current.wvd"));
        EXPECT_TRUE(doc.IsModified());
    } else {
        // A later Save must not write this empty document over any file.
        EXPECT_TRUE(doc.text.isEmpty());
        EXPECT_TRUE(doc.GetPathName().isEmpty());
        EXPECT_TRUE(doc.GetTitle().isEmpty());
        EXPECT_FALSE(doc.IsModified());
    }
}

const OpenFailureCase kOpenFailures[] = {
    {"MissingFile", nullptr, true},
    {"EmptyFile", [](const QByteArray&) { return QByteArray(); }, false},
    {"Truncated", [](const QByteArray& good) { return good.left(good.size() / 2); }, false},
    {"StringLengthPastTheEnd", [](const QByteArray&) { return QByteArray::fromHex("ff fe ff ff ff ff 41 00"); }, false},
    {"WrongCheckWord",
     [](const QByteArray& good) {
         QByteArray b = good;
         b[b.size() - 1] ^= 0x55;
         return b;
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, OpenFailure, ::testing::ValuesIn(kOpenFailures),
                         [](const auto& info) { return std::string(info.param.name); });

struct SaveFailureCase
{
    const char* name;
    // Prepares the folder and returns the target; old content is written
    // there first when the case has any.
    std::function<QString(DocumentTest&, const QString& folder)> target;
    bool failWhileStoring;
};

void PrintTo(const SaveFailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveFailure : public DocumentTest, public ::testing::WithParamInterface<SaveFailureCase>
{};

TEST_P(SaveFailure, ReportsAndLeavesTheOldFileAlone)
{
    const SaveFailureCase& c = GetParam();
    const QString folder = m_dir.path();
    const QString target = c.target(*this, folder);
    const QStringList before = entries(folder);
    const QByteArray oldContent = QFileInfo(target).isFile() ? contentOf(target) : QByteArray();

    NoteDoc doc;
    doc.text = QStringLiteral("new content");
    doc.failWhileStoring = c.failWhileStoring;
    doc.SetModifiedFlag(TRUE);

    EXPECT_FALSE(doc.DoSave(target));

    ASSERT_EQ(m_prompter->reports.size(), 1u);
    EXPECT_TRUE(m_prompter->reports[0].saving);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(entries(folder), before);
    if (QFileInfo(target).isFile()) {
        EXPECT_EQ(contentOf(target), oldContent);
    }
}

const SaveFailureCase kSaveFailures[] = {
    {"FolderMissing", [](DocumentTest&, const QString& folder) { return folder + "/no/such/form.wvd"; }, false},
    {"TargetIsAFolder",
     [](DocumentTest&, const QString& folder) {
         QDir(folder).mkdir("form.wvd");
         return folder + "/form.wvd";
     },
     false},
    {"WriterFailsHalfWay",
     [](DocumentTest&, const QString& folder) {
         QFile f(folder + "/form.wvd");
         if (f.open(QIODevice::WriteOnly))
             f.write("the old document");
         return folder + "/form.wvd";
     },
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveFailure, ::testing::ValuesIn(kSaveFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, SaveToNoPathIsReportedNotWrittenIntoTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    NoteDoc doc;
    const BOOL saved = doc.OnSaveDocument(QString());
    QDir::setCurrent(previous);

    EXPECT_FALSE(saved);
    ASSERT_EQ(m_prompter->reports.size(), 1u);
    EXPECT_TRUE(m_prompter->reports[0].saving);
    EXPECT_TRUE(entries(m_dir.path()).isEmpty());
}

TEST_F(DocumentTest, SaveKeepsTheAccessRightsOfTheFileItReplaces)
{
    const QString file = path("form.wvd");
    put(file, "old");
    ASSERT_EQ(::chmod(file.toUtf8().constData(), 0640), 0);

    NoteDoc doc;
    ASSERT_TRUE(doc.OnSaveDocument(file));

    struct stat info
    {};
    ASSERT_EQ(::stat(file.toUtf8().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(DocumentTest, SaveThroughALinkReplacesTheFileItPointsTo)
{
    const QString real = path("real.wvd");
    const QString link = path("link.wvd");
    put(real, "old");
    ASSERT_TRUE(QFile::link(real, link));

    NoteDoc doc;
    doc.text = QStringLiteral("new");
    ASSERT_TRUE(doc.OnSaveDocument(link));

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    NoteDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(real));
    EXPECT_EQ(reread.text, QStringLiteral("new"));
}

// Read-only is judged from the mode bits: the superuser, who could write any
// file, is refused too.
TEST_F(DocumentTest, TargetWithoutAnyWriteBitIsRefusedNotReplaced)
{
    struct Case
    {
        const char* name;
        mode_t mode;
        bool refused;
    };
    const Case cases[] = {
        {"read-only for all", 0444, true},      {"read-only for the owner alone", 0400, true},
        {"no rights at all", 0000, true},       {"writable by the group only", 0464, false},
        {"writable by the owner", 0644, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompter->reports.clear();
        const QString file = path("form.wvd");
        QFile::remove(file);
        put(file, "the old document");
        ASSERT_EQ(::chmod(file.toUtf8().constData(), c.mode), 0);

        NoteDoc doc;
        doc.text = QStringLiteral("new content");
        doc.SetModifiedFlag(TRUE);
        const BOOL saved = doc.DoSave(file);

        struct stat info
        {};
        ASSERT_EQ(::stat(file.toUtf8().constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.mode);
        EXPECT_EQ(entries(m_dir.path()), QStringList{QStringLiteral("form.wvd")});
        if (c.refused) {
            EXPECT_FALSE(saved);
            EXPECT_EQ(contentOf(file), QByteArray("the old document"));
            ASSERT_EQ(m_prompter->reports.size(), 1u);
            EXPECT_EQ(m_prompter->reports[0].message, QStringLiteral("Access to %1 was denied.").arg(file));
            EXPECT_TRUE(doc.IsModified());
        } else {
            EXPECT_TRUE(saved);
            EXPECT_TRUE(m_prompter->reports.empty());
            EXPECT_NE(contentOf(file), QByteArray("the old document"));
        }
        ::chmod(file.toUtf8().constData(), 0644);
    }
}

// A device cannot be renamed over: it is written in place and stays a device.
TEST_F(DocumentTest, DeviceTargetIsWrittenInPlace)
{
    struct Case
    {
        const char* name;
        const char* device;
        const char* report; // null: saved
    };
    const Case cases[] = {
        {"null device takes everything", "/dev/null", nullptr},
        {"full device", "/dev/full", "Disk full while accessing /dev/full."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString device = QString::fromLatin1(c.device);
        m_prompter->reports.clear();
        NoteDoc doc;
        doc.text = QStringLiteral("content");

        EXPECT_EQ(doc.OnSaveDocument(device), c.report == nullptr ? TRUE : FALSE);

        struct stat info
        {};
        ASSERT_EQ(::stat(c.device, &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
        if (c.report == nullptr) {
            EXPECT_TRUE(m_prompter->reports.empty());
        } else {
            ASSERT_EQ(m_prompter->reports.size(), 1u);
            EXPECT_EQ(m_prompter->reports[0].message, QString::fromLatin1(c.report));
        }
    }
}

// The file-size limit makes the write into the temporary file fail as a
// full disk does; the report names the document the user saves.
TEST_F(DocumentTest, DiskFullWhileWritingNamesTheDocumentNotTheTemporaryFile)
{
    const QString file = path("form.wvd");
    put(file, "old");
    NoteDoc doc;
    doc.text = QString(4096, QLatin1Char('x'));

    BOOL saved = TRUE;
    {
        FileSizeLimitScope full(1024);
        saved = doc.OnSaveDocument(file);
    }

    EXPECT_FALSE(saved);
    ASSERT_EQ(m_prompter->reports.size(), 1u);
    EXPECT_EQ(m_prompter->reports[0].message, QStringLiteral("Disk full while accessing %1.").arg(file));
    EXPECT_EQ(contentOf(file), QByteArray("old"));
    EXPECT_EQ(entries(m_dir.path()), QStringList{QStringLiteral("form.wvd")});
}

TEST_F(DocumentTest, AFailureSerializeHasToldTheUserAboutIsNotReportedAgain)
{
    const QString file = path("form.wvd");
    ASSERT_TRUE(NoteDoc().OnSaveDocument(file));

    NoteDoc doc;
    doc.refuseAfterTelling = true;
    EXPECT_FALSE(doc.OnOpenDocument(file));
    EXPECT_TRUE(m_prompter->reports.empty());

    // The next failure is its own and is reported.
    EXPECT_FALSE(doc.OnOpenDocument(path("missing.wvd")));
    EXPECT_EQ(m_prompter->reports.size(), 1u);
}

// Another program (or another designer) writes the file between this
// document's open and its save: the user decides whether to replace it.
TEST_F(DocumentTest, SaveOverAFileChangedSinceAsksFirst)
{
    enum class Since {
        Nothing,
        Rewritten,
        Touched,
        Removed
    };
    struct Case
    {
        const char* name;
        bool savedFirst; // the document wrote the file rather than read it
        Since since;
        bool answer;
        bool asked;
        bool saved;
    };
    const Case cases[] = {
        {"unchanged", false, Since::Nothing, false, false, true},
        {"rewritten, No keeps the other program's file", false, Since::Rewritten, false, true, false},
        {"rewritten, Yes replaces it", false, Since::Rewritten, true, true, true},
        {"only a newer time", false, Since::Touched, false, true, false},
        {"removed since: nothing to lose", false, Since::Removed, false, false, true},
        {"changed after this document saved it", true, Since::Rewritten, false, true, false},
        {"unchanged since this document saved it", true, Since::Nothing, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompter->reports.clear();
        m_prompter->replaceAsked.clear();
        m_prompter->replaceAnswer = c.answer;
        const QString file = path("shared.wvd");
        QFile::remove(file);
        NoteDoc first;
        first.text = QStringLiteral("first version");
        ASSERT_TRUE(first.OnSaveDocument(file));

        NoteDoc doc;
        if (c.savedFirst) {
            doc.text = QStringLiteral("saved by this document");
            ASSERT_TRUE(doc.DoSave(file));
        } else {
            ASSERT_TRUE(doc.OnOpenDocument(file));
        }
        doc.text = QStringLiteral("this document's work");
        doc.SetModifiedFlag(TRUE);

        QByteArray other = contentOf(file);
        struct stat info
        {};
        ASSERT_EQ(::stat(file.toUtf8().constData(), &info), 0);
        if (c.since == Since::Rewritten) {
            NoteDoc writer;
            writer.text = QStringLiteral("the other program's work");
            ASSERT_TRUE(writer.OnSaveDocument(file));
            other = contentOf(file);
        }
        if (c.since == Since::Rewritten || c.since == Since::Touched) {
            // A later time than the file had, without waiting for the clock.
            const struct timespec times[2] = {info.st_atim, {info.st_mtim.tv_sec + 10, info.st_mtim.tv_nsec}};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.toUtf8().constData(), times, 0), 0);
        }
        if (c.since == Since::Removed) {
            ASSERT_TRUE(QFile::remove(file));
        }

        const BOOL saved = doc.DoFileSave();

        EXPECT_EQ(saved, c.saved ? TRUE : FALSE);
        EXPECT_EQ(m_prompter->replaceAsked, c.asked ? std::vector<QString>{file} : std::vector<QString>{});
        EXPECT_TRUE(m_prompter->reports.empty());
        NoteDoc reread;
        ASSERT_TRUE(reread.OnOpenDocument(file));
        if (c.saved) {
            EXPECT_EQ(reread.text, QStringLiteral("this document's work"));
            EXPECT_FALSE(doc.IsModified());
            // What it wrote is now what it knows: the next save asks nothing.
            m_prompter->replaceAsked.clear();
            EXPECT_TRUE(doc.DoFileSave());
            EXPECT_TRUE(m_prompter->replaceAsked.empty());
        } else {
            EXPECT_EQ(contentOf(file), other);
            EXPECT_TRUE(doc.IsModified());
        }
    }
}

TEST_F(DocumentTest, WithoutAPrompterAChangedFileIsNotReplaced)
{
    const QString file = path("shared.wvd");
    ASSERT_TRUE(NoteDoc().OnSaveDocument(file));
    NoteDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file));
    struct stat info
    {};
    ASSERT_EQ(::stat(file.toUtf8().constData(), &info), 0);
    const struct timespec times[2] = {info.st_atim, {info.st_mtim.tv_sec + 10, info.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.toUtf8().constData(), times, 0), 0);
    SetDocumentPrompter(nullptr);
    doc.text = QStringLiteral("lost?");

    EXPECT_FALSE(doc.DoFileSave());

    NoteDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(file));
    EXPECT_TRUE(reread.text.isEmpty());
}

struct SaveModifiedCase
{
    const char* name;
    bool modified;
    bool hasPath;
    std::optional<DocumentPrompter::SaveChoice> choice;
    const char* chooserAnswer; // relative to the folder; empty: cancelled
    BOOL expected;
    bool expectWritten;
    bool expectChooser;
};

void PrintTo(const SaveModifiedCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveModified : public DocumentTest, public ::testing::WithParamInterface<SaveModifiedCase>
{};

TEST_P(SaveModified, AnswersDecideWhetherTheDocumentMayClose)
{
    const SaveModifiedCase& c = GetParam();
    NoteDoc doc;
    doc.text = QStringLiteral("unsaved work");
    const QString ownPath = path("own.wvd");
    if (c.hasPath)
        doc.SetPathName(ownPath);
    else
        doc.SetTitle(QStringLiteral("Untitled"));
    doc.SetModifiedFlag(c.modified ? TRUE : FALSE);
    if (c.choice)
        m_prompter->saveChoices.push_back(*c.choice);
    if (*c.chooserAnswer)
        m_prompter->chooserAnswer = path(c.chooserAnswer);
    const QString title = doc.GetTitle();

    EXPECT_EQ(doc.SaveModified(), c.expected);

    if (c.modified) {
        ASSERT_EQ(m_prompter->askedNames.size(), 1u);
        EXPECT_EQ(m_prompter->askedNames[0], title);
    } else {
        EXPECT_TRUE(m_prompter->askedNames.empty());
    }
    EXPECT_EQ(m_prompter->chooserRequests.size(), c.expectChooser ? 1u : 0u);

    const QString written = c.hasPath ? ownPath : path(c.chooserAnswer);
    EXPECT_EQ(QFileInfo(written).isFile(), c.expectWritten);
    if (c.expectWritten) {
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetPathName(), written);
    } else {
        EXPECT_EQ(doc.IsModified(), c.modified ? TRUE : FALSE);
    }
}

const SaveModifiedCase kSaveModifiedCases[] = {
    {"UnmodifiedAsksNothing", false, true, std::nullopt, "", TRUE, false, false},
    {"NoDiscards", true, true, DocumentPrompter::SaveChoice::Discard, "", TRUE, false, false},
    {"CancelKeepsItOpen", true, true, DocumentPrompter::SaveChoice::Cancel, "", FALSE, false, false},
    {"YesSavesToItsPath", true, true, DocumentPrompter::SaveChoice::Save, "", TRUE, true, false},
    {"YesWithoutPathAsksForOne", true, false, DocumentPrompter::SaveChoice::Save, "chosen.wvd", TRUE, true, true},
    {"YesThenChooserCancelled", true, false, DocumentPrompter::SaveChoice::Save, "", FALSE, false, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveModified, ::testing::ValuesIn(kSaveModifiedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, SaveAsProposesTheTitleWithTheFileType)
{
    NoteDoc doc;
    doc.SetTitle(QStringLiteral("Invoice"));
    doc.SetFileType(QStringLiteral("WVD Files (*.wvd)|*.wvd||"), QStringLiteral("wvd"));

    EXPECT_FALSE(doc.DoSave(QString()));

    ASSERT_EQ(m_prompter->chooserRequests.size(), 1u);
    EXPECT_EQ(m_prompter->chooserRequests[0].proposedName, QStringLiteral("Invoice.wvd"));
    EXPECT_EQ(m_prompter->chooserRequests[0].filter, QStringLiteral("WVD Files (*.wvd)|*.wvd||"));
    EXPECT_EQ(m_prompter->chooserRequests[0].defaultExtension, QStringLiteral("wvd"));
}

TEST_F(DocumentTest, SavingACopyKeepsTheDocumentsPath)
{
    NoteDoc doc;
    doc.SetPathName(path("own.wvd"));
    doc.text = QStringLiteral("copy me");

    ASSERT_TRUE(doc.DoSave(path("copy.wvd"), FALSE));

    EXPECT_EQ(doc.GetPathName(), path("own.wvd"));
    NoteDoc copy;
    ASSERT_TRUE(copy.OnOpenDocument(path("copy.wvd")));
    EXPECT_EQ(copy.text, QStringLiteral("copy me"));
}

TEST_F(DocumentTest, WithoutAPrompterTheSaveQuestionIsBackedOutOf)
{
    SetDocumentPrompter(nullptr);
    NoteDoc doc;
    doc.SetModifiedFlag(TRUE);

    EXPECT_FALSE(doc.SaveModified());
    EXPECT_FALSE(doc.DoSave(QString()));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, NewDocumentIsEmptyUntitledAndUnmodified)
{
    NoteDoc doc;
    doc.text = QStringLiteral("old");
    doc.SetPathName(path("old.wvd"));
    doc.SetModifiedFlag(TRUE);

    EXPECT_TRUE(doc.OnNewDocument());

    EXPECT_EQ(doc.deleteCount, 1);
    EXPECT_TRUE(doc.text.isEmpty());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_FALSE(doc.IsModified());
}

struct Update
{
    const char* view;
    CView* sender;
    LPARAM hint;
    CObject* object;
};

class RecordingView : public CView
{
public:
    RecordingView(const char* name, std::vector<Update>& log) : m_name(name), m_log(log) {}

    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        m_log.push_back({m_name, sender, hint, hintObject});
        if (onUpdate)
            onUpdate();
    }

    std::function<void()> onUpdate;

private:
    const char* m_name;
    std::vector<Update>& m_log;
};

class ViewTest : public ::testing::Test
{
protected:
    std::vector<const char*> viewsTold() const
    {
        std::vector<const char*> names;
        for (const Update& u : m_log)
            names.push_back(u.view);
        return names;
    }

    std::vector<Update> m_log;
    NoteDoc m_doc;
};

TEST_F(ViewTest, UpdateReachesEveryViewButTheSenderInOrder)
{
    RecordingView a("a", m_log), b("b", m_log), c("c", m_log);
    m_doc.AddView(&a);
    m_doc.AddView(&b);
    m_doc.AddView(&c);
    m_doc.AddView(&b);
    NoteDoc hintObject;

    m_doc.UpdateAllViews(&b, 243, &hintObject);

    ASSERT_EQ(viewsTold(), (std::vector<const char*>{"a", "c"}));
    for (const Update& u : m_log) {
        EXPECT_EQ(u.sender, &b);
        EXPECT_EQ(u.hint, 243);
        EXPECT_EQ(u.object, &hintObject);
    }
    EXPECT_EQ(m_doc.GetViews().size(), 3u);
}

TEST_F(ViewTest, AViewRemovedDuringAnUpdateIsNotTold)
{
    RecordingView a("a", m_log), b("b", m_log);
    m_doc.AddView(&a);
    m_doc.AddView(&b);
    a.onUpdate = [&] { m_doc.RemoveView(&b); };

    m_doc.UpdateAllViews(nullptr, 245);

    EXPECT_EQ(viewsTold(), (std::vector<const char*>{"a"}));
    EXPECT_EQ(b.GetDocument(), nullptr);
}

TEST_F(ViewTest, ViewsAndDocumentLetGoOfEachOther)
{
    auto doomed = std::make_unique<RecordingView>("doomed", m_log);
    RecordingView kept("kept", m_log);
    m_doc.AddView(doomed.get());
    m_doc.AddView(&kept);
    doomed.reset();

    m_doc.UpdateAllViews(nullptr, 241);
    EXPECT_EQ(viewsTold(), (std::vector<const char*>{"kept"}));

    auto doc = std::make_unique<NoteDoc>();
    RecordingView survivor("survivor", m_log);
    doc->AddView(&survivor);
    doc.reset();
    EXPECT_EQ(survivor.GetDocument(), nullptr);
}

TEST_F(ViewTest, AddingAViewToAnotherDocumentTakesItFromTheFirst)
{
    RecordingView a("a", m_log);
    NoteDoc other;
    m_doc.AddView(&a);
    other.AddView(&a);

    EXPECT_EQ(a.GetDocument(), &other);
    EXPECT_TRUE(m_doc.GetViews().empty());
    m_doc.UpdateAllViews(nullptr, 241);
    EXPECT_TRUE(m_log.empty());
}

TEST_F(ViewTest, ClosingLetsTheViewsGoAndEmptiesTheDocument)
{
    RecordingView a("a", m_log);
    m_doc.AddView(&a);
    m_doc.text = QStringLiteral("content");

    m_doc.OnCloseDocument();

    EXPECT_EQ(a.GetDocument(), nullptr);
    EXPECT_TRUE(m_doc.GetViews().empty());
    EXPECT_TRUE(m_doc.text.isEmpty());
    EXPECT_EQ(m_doc.deleteCount, 1);
}

} // namespace
