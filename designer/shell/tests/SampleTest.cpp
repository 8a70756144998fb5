#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/DesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/framework/Collections.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

namespace {

const QString kSampleDocument = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample.wvd");
const QString kSampleSpool = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample-spool.txt");

// A spooled file is opened exclusively, and tests run side by side: each
// reads its own copy of the sample.
QString CopyOfSampleSpool(const AppTestEnvironment& env)
{
    const QString copy = env.folder.filePath(QStringLiteral("sample-spool.txt"));
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(kSampleSpool, copy));
    return copy;
}

CWVDDesignerApp::Environment QuietEnvironment(const AppTestEnvironment& env)
{
    CWVDDesignerApp::Environment e;
    e.serverLibraryFolders = QStringList{env.folder.path()};
    return e;
}

QStringList PageLines(const CSpooledFile& file, int page)
{
    QStringList lines;
    if (const CStringArray* array = file.GetPage(page)) {
        for (int i = 0; i < array->GetSize(); ++i)
            lines << array->GetAt(i);
    }
    return lines;
}

// The README starts the designer on the sample document: it must open with
// the pages of the sample spooled file it was made from.
TEST(SampleDocument, OpensWithThePagesOfItsSpooledFile)
{
    AppTestEnvironment env;
    CWVDDesignerApp app(QuietEnvironment(env));
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash"), kSampleDocument}));
    CDesignerDoc* doc = app.GetDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(QFileInfo(doc->GetPathName()), QFileInfo(kSampleDocument));
    EXPECT_FALSE(doc->IsModified());

    CSpooledFile expected;
    ASSERT_TRUE(expected.ReadTextFile(CopyOfSampleSpool(env)));
    ASSERT_EQ(expected.GetPageCount(), 2);
    const CSpooledFile* held = doc->GetSpooledFile();
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(held->GetPageCount(), expected.GetPageCount());
    for (int page = 1; page <= expected.GetPageCount(); ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(PageLines(*held, page), PageLines(expected, page));
    }
    EXPECT_TRUE(PageLines(*held, 1).join(u'\n').contains(QStringLiteral("NO. 004711")));
    EXPECT_GE(doc->GetElementList().GetCount(), 2);
}

// The committed sample is what our own code makes of the sample spooled
// file; KWVD_WRITE_SAMPLE=1 writes the rebuilt document over it.
TEST(SampleDocument, IsWhatOurCodeBuildsFromTheSpooledFile)
{
    AppTestEnvironment env;
    const bool writeSample = !qEnvironmentVariableIsEmpty("KWVD_WRITE_SAMPLE");
    const QString rebuilt = writeSample ? kSampleDocument : env.folder.filePath(QStringLiteral("sample.wvd"));
    const QString spool = writeSample ? kSampleSpool : CopyOfSampleSpool(env);
    {
        CWVDDesignerApp app(QuietEnvironment(env));
        ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
        CDesignerDoc* doc = app.GetDocument();
        ASSERT_NE(doc, nullptr);
        {
            CDocChangeGuard change(doc);
            ASSERT_TRUE(doc->GetSpooledFile()->ReadTextFile(spool));
            ASSERT_TRUE(doc->GetSpooledFile()->SetCurrentPage(1));
            ASSERT_NE(doc->CreateNewElement(FormElementType::Text, 1, kwvd::Rect(40, 40, 240, 60), nullptr), nullptr);
        }
        ASSERT_TRUE(doc->OnSaveDocument(rebuilt));
        app.ExitInstance();
    }

    struct Opened {
        QStringList page1;
        QStringList kinds;
    };
    auto open = [&](const QString& path) {
        Opened result;
        CWVDDesignerApp app(QuietEnvironment(env));
        EXPECT_TRUE(app.InitInstance({QStringLiteral("/NoSplash"), path}));
        if (CDesignerDoc* doc = app.GetDocument()) {
            result.page1 = PageLines(*doc->GetSpooledFile(), 1);
            for (CObject* object : doc->GetElementList())
                result.kinds << QString::number(static_cast<CFormElement*>(object)->GetType());
        }
        app.ExitInstance();
        return result;
    };
    const Opened committed = open(kSampleDocument);
    const Opened fresh = open(rebuilt);
    EXPECT_FALSE(committed.page1.isEmpty());
    EXPECT_EQ(committed.page1, fresh.page1);
    EXPECT_EQ(committed.kinds, fresh.kinds);
}

} // namespace
