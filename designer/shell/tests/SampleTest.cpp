#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/WVDDesignerApp.h"
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

// What the sample's two invoices must show, written out by hand: each on a
// page of its own, every line where its print control puts it, nothing
// printed over another line.
TEST(SampleSpooledFile, HoldsTwoInvoicesEachOnItsOwnPage)
{
    AppTestEnvironment env;
    CWVDDesignerApp app(QuietEnvironment(env));
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    CSpooledFile file;
    ASSERT_TRUE(file.ReadTextFile(CopyOfSampleSpool(env)));
    ASSERT_EQ(file.GetPageCount(), 2);

    struct Line
    {
        int page;
        int number;
        const char* text; // blanks collapsed
    };
    const Line expected[] = {
        {1, 2, "ACME PARTS LTD INVOICE PAGE 1"},
        {1, 3, "12 HARBOUR ROAD, PORTSMOUTH NO. 004711"},
        {1, 6, "BILL TO: NORTHWIND TRADING DATE 03/04/25"},
        {1, 7, "4 MILL LANE, LEEDS"},
        {1, 10, "ITEM DESCRIPTION QTY UNIT PRICE AMOUNT"},
        {1, 12, "A-1001 HEX BOLT M8 X 40 200 0.12 24.00"},
        {1, 15, "C-0310 V-BELT A-42 4 6.10 24.40"},
        {1, 18, "SUBTOTAL 106.60"},
        {1, 19, "VAT 20% 21.32"},
        {1, 20, "TOTAL 127.92"},
        {2, 2, "ACME PARTS LTD INVOICE PAGE 1"},
        {2, 3, "12 HARBOUR ROAD, PORTSMOUTH NO. 004712"},
        {2, 6, "BILL TO: BLUE RIVER GARAGE DATE 03/04/25"},
        {2, 7, "22 STATION STREET, YORK"},
        {2, 13, "D-5510 AIR FILTER 5 7.75 38.75"},
        {2, 19, "VAT 20% 16.15"},
        {2, 20, "TOTAL 96.90"},
    };
    for (const Line& line : expected) {
        const QStringList page = PageLines(file, line.page);
        ASSERT_GT(page.size(), line.number) << "page " << line.page;
        EXPECT_EQ(page[line.number].simplified().toStdString(), line.text)
            << "page " << line.page << ", line " << line.number;
    }
    // The first and last lines that hold text, on both pages.
    for (int number = 1; number <= 2; ++number) {
        const QStringList page = PageLines(file, number);
        int first = -1;
        int last = -1;
        for (int i = 0; i < page.size(); ++i) {
            if (page[i].trimmed().isEmpty())
                continue;
            if (first < 0)
                first = i;
            last = i;
        }
        EXPECT_EQ(first, 2) << "page " << number;
        EXPECT_EQ(last, 20) << "page " << number;
    }
    app.ExitInstance();
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

    struct Opened
    {
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
