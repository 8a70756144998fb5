// Pages sent to the emulated host through ExportSpooledFile and read back
// through CreateSpooledFileList2, both dialogs driven as a user would: the
// same pages come back at a single-byte and at a double-byte CCSID; raw data
// saved and sent back gives the host the same bytes.

#include "hostaccess/export/ExportSpooledFileDialogView.h"
#include "hostaccess/export/tests/OwnedPages.h"
#include "hostaccess/import/tests/EntryPointDeclarations.h"
#include "hostaccess/import/tests/ImportTestFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <vector>

extern "C" BOOL ExportSpooledFile(const QString* system, SpooledFileIdentity* identity, SpooledPageList** pages,
                                  int* pageSize, int ccsid, int mode);

namespace {

using Pages = std::vector<QStringList>;

Pages ToPages(const SpooledPageList* list)
{
    Pages pages;
    if (list != nullptr)
        for (const CObject* object : *list) {
            const auto* page = static_cast<const CStringArray*>(object);
            pages.emplace_back(QStringList(page->begin(), page->end()));
        }
    return pages;
}

class ExportImportRoundTrip : public ImportTest
{
protected:
    ~ExportImportRoundTrip() override { DestroySpooledFileList(&m_imported); }

    // The export dialog, once up, gets the file name and OK.
    BOOL Export(SpooledPageList* pages, int ccsid, const QString& file, int mode = 0)
    {
        QTimer::singleShot(0, [file] {
            auto* view = qobject_cast<CExportSpooledFileDialogView*>(QApplication::activeModalWidget());
            if (view == nullptr) {
                ADD_FAILURE() << "the export dialog is not shown";
                return;
            }
            view->findChild<QLineEdit*>(QString::number(CExportSpooledFileDialog::IDC_FILE_NAME))->setText(file);
            view->findChild<QPushButton*>(QString::number(CExportSpooledFileDialog::IDC_OK))->click();
            if (view->isVisible())
                view->reject();
        });
        SpooledFileIdentity identity;
        identity.SetOutputQueue(QStringLiteral("QPRINT"));
        identity.SetOutputQueueLibrary(QStringLiteral("KWVD"));
        const QString system = QString::fromLatin1(kSystem);
        int pageSize[2] = {132, 66};
        return ExportSpooledFile(&system, &identity, &pages, pageSize, ccsid, mode);
    }

    // The select dialog lists the queue, takes the file and OK.
    BOOL Import(const QString& file, int ccsid, int mode = 0)
    {
        WhenDialogShows([file](CSelSpooledFileDialogView& view) {
            Click(view, CSelSpooledFileDialog::IDC_REFRESH);
            SelectFile(view, file);
            Click(view, CSelSpooledFileDialog::IDC_OK);
        });
        SpooledFileIdentity filter;
        filter.SetOutputQueue(QStringLiteral("QPRINT"));
        filter.SetOutputQueueLibrary(QStringLiteral("KWVD"));
        SpooledFileIdentity selected;
        m_ccsid = ccsid;
        DestroySpooledFileList(&m_imported);
        return CreateSpooledFileList2(u"KWVDSYS", &filter, &selected, &m_imported, 10, &m_ccsid, mode);
    }

    SpooledPageList* m_imported = nullptr;
    int m_ccsid = 0;
};

TEST_F(ExportImportRoundTrip, SamePagesBack)
{
    const QChar so(0x0E);
    const QChar si(0x0F);
    struct Case
    {
        const char* name;
        int ccsid;
        Pages pages;
    };
    QStringList far(201);
    far[1] = QStringLiteral("FIRST");
    far[200] = QStringLiteral("line 200, far down");
    const Case cases[] = {
        {"285",
         285,
         {{"", "INVOICE 2026", "", QStringLiteral("    Total: \u00A310.00 (5% off)")},
          {"", "", "Page two", "", "", "      indented"},
          far}},
        {"930",
         930,
         {{"", QStringLiteral("A") + so + QChar(0x65E5) + u' ' + QChar(0x672C) + u' ' + si + u'B'},
          {"", "", QStringLiteral("TOTAL ") + so + QChar(0x5408) + u' ' + QChar(0x8A08) + u' ' + si + QStringLiteral(" 42")}}},
    };
    int exported = 0;
    for (const Case& c : cases) {
        OwnedPages pages;
        for (const QStringList& lines : c.pages)
            pages.Add(lines);
        const QString file = QStringLiteral("TRIP%1").arg(++exported);

        ASSERT_EQ(Export(&pages.List(), c.ccsid, file), TRUE) << c.name;
        ASSERT_EQ(Import(file, c.ccsid), TRUE) << c.name;

        EXPECT_EQ(ToPages(m_imported), c.pages) << c.name;
        EXPECT_EQ(m_ccsid, c.ccsid) << c.name;
        EXPECT_TRUE(m_prompts.Texts().isEmpty()) << c.name << ": " << m_prompts.Texts().join(u'|').toStdString();
    }
}

TEST_F(ExportImportRoundTrip, RawSaveThenRawExportGivesTheSameBytes)
{
    QFile sample(QStringLiteral(KWVD_SOURCE_DIR "/samples/sample-spool.scs"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray original = sample.readAll();
    AddSplf(Splf("QSYSPRT").UserData("SAMPLE").Pages(2).Data(original));
    QTemporaryDir folder;
    const QString raw = folder.filePath(QStringLiteral("sample.raw_splf"));

    m_prompts->AnswerFile(raw);
    ASSERT_EQ(Import(QStringLiteral("QSYSPRT"), 0, 1), TRUE);
    m_prompts->AnswerFile(raw);
    ASSERT_EQ(Export(nullptr, 0, QStringLiteral("COPY"), 1), TRUE);

    const std::vector<kwvd::clientaccess::SpooledFile> files =
        kwvd::clientaccess::SpooledFilesOf(QString::fromLatin1(kSystem), QStringLiteral("KWVD"),
                                           QStringLiteral("QPRINT"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(kwvd::clientaccess::SpooledFileAttribute(files[1], 104)->text, QStringLiteral("COPY"));
    QString error;
    EXPECT_EQ(kwvd::clientaccess::SpooledFileData(files[1], &error).value_or(QByteArray()), original);
}

} // namespace
