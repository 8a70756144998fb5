// Export WVD by the socket road in the running designer, against the fake
// transfer server started as a program over the test's emulated host: the
// files land in the host's folder and the import runs there; the questions
// and messages of the road; what is left behind.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormImageElement.h"
#include "designer/resources/images/Image.h"
#include "designer/shell/AS400SoxClient.h"
#include "designer/shell/ExportToAS400UsingSocketsDlg.h"
#include "designer/shell/HostExport.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/HostStore.h"
#include "tests/support/ScopedEmuhostStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <ostream>

namespace {

// The system's name is also the name the designer connects to.
const QString kSystem = QStringLiteral("localhost");

class SocketExportInProgramTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::InitialiseHost(kSystem, &error)) << error.toStdString();
        m_temp = env.folder.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(m_temp));
        m_tempEnv.Set(m_temp);
        m_previousTimeouts = CAS400SoxClient::DefaultTimeouts();
        CAS400SoxClient::SetDefaultTimeouts({5000, 10000, 20000});
        // Without the host access library: the socket road does not need it.
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize()));
        env.prompts->ClearRecorded();
        CPreferences& prefs = app->GetPreferences();
        prefs.ExportUsingSockets = TRUE;
        prefs.DefaultSystem = kSystem;
        prefs.DefaultLibrary = QStringLiteral("KWVD");
        prefs.DefaultJVXVersion = 28;
        doc->SetTitle(QStringLiteral("invoice"));
    }

    void TearDown() override
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
        CAS400SoxClient::SetDefaultTimeouts(m_previousTimeouts);
        ProgramTest::TearDown();
    }

    void StartServer(const QStringList& extra = {})
    {
        m_server.start(QStringLiteral(KWVD_FAKE_UPLOAD_SERVER),
                       QStringList{QStringLiteral("--store"), m_store.Path(), QStringLiteral("--system"), kSystem}
                           + extra);
        ASSERT_TRUE(m_server.waitForStarted(10000));
        while (!m_server.canReadLine())
            ASSERT_TRUE(m_server.waitForReadyRead(10000)) << "the server printed no port";
        bool ok = false;
        const int port = QString::fromLatin1(m_server.readLine()).trimmed().toInt(&ok);
        ASSERT_TRUE(ok && port > 0);
        app->GetPreferences().ExportSocketsPort = port;
    }

    // The transcript lines the server printed so far.
    QStringList Transcript()
    {
        m_server.waitForReadyRead(200);
        m_transcript += QString::fromUtf8(m_server.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        return m_transcript;
    }

    // Export WVD with the dialog handled by onDialog; a dialog still open
    // afterwards is cancelled.
    void Export(const std::function<void(CExportToAS400UsingSocketsDlg&)>& onDialog)
    {
        bool handled = false;
        QTimer::singleShot(0, [&] {
            CExportToAS400UsingSocketsDlg* dialog = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* found = qobject_cast<CExportToAS400UsingSocketsDlg*>(widget); found && found->isVisible())
                    dialog = found;
            if (!dialog)
                return;
            handled = true;
            onDialog(*dialog);
            if (dialog->isVisible())
                dialog->CancelButton()->click();
        });
        EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
        EXPECT_TRUE(handled) << "the Export To Server dialog did not open";
    }

    QString HostFile(const QString& relative) const { return kwvd::clientaccess::IfsFolder(kSystem) + u'/' + relative; }

    QString JobLog() const
    {
        QFile log(kwvd::clientaccess::JobLogPath(kSystem));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QStringList LeftInTemp() const
    {
        return QDir(m_temp).entryList({QStringLiteral("KWVD*")}, QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    // An image element showing a small black-and-white picture, kept as MMR.
    void PlaceImage()
    {
        const QString path = env.folder.filePath(QStringLiteral("logo.bmp"));
        QImage image(64, 32, QImage::Format_Mono);
        image.fill(1);
        ASSERT_TRUE(image.save(path));
        app->GetPreferences().ImageExportFormat = 0;
        CDocChangeGuard change(doc);
        env.prompts->AnswerFile(path);
        auto* element = static_cast<CFormImageElement*>(
            doc->CreateNewElement(FormElementType::Image, 2, kwvd::Rect(100, 100, 164, 132), nullptr));
        ASSERT_NE(element, nullptr);
        ASSERT_NE(element->GetImage(), nullptr);
        element->GetImage()->SetFormat(0);
    }

    ScopedEmuhostStore m_store;
    ScopedEnv m_tempEnv{"TMPDIR"};
    QString m_temp;
    QProcess m_server;
    QStringList m_transcript;
    SoxTimeouts m_previousTimeouts;
};

TEST_F(SocketExportInProgramTest, UploadPutsTheFilesOnTheHostAndImportsThem)
{
    ASSERT_NO_FATAL_FAILURE(StartServer());
    ASSERT_NO_FATAL_FAILURE(PlaceImage());
    Export([](CExportToAS400UsingSocketsDlg& dialog) {
        EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("INVOICE"));
        EXPECT_EQ(dialog.VersionCombo()->currentText(), QStringLiteral("Version 28"));
        dialog.AutoImportCheck()->setChecked(true);
        dialog.ExportButton()->click();
        EXPECT_FALSE(dialog.isVisible());
    });

    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'|').toStdString();
    // The definition and, beside it, the image file it names (the host's
    // names carry no extension).
    const QStringList stored = QDir(HostFile(QStringLiteral("QDLS/KWVD/PCIN"))).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(stored, (QStringList{QStringLiteral("INVOICE.JVX"), QStringLiteral("LOGO")}))
        << Transcript().join(u'|').toStdString();
    EXPECT_GT(QFileInfo(HostFile(QStringLiteral("QDLS/KWVD/PCIN/LOGO"))).size(), 0);
    EXPECT_TRUE(JobLog().contains(QStringLiteral("CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)")))
        << JobLog().toStdString();
    EXPECT_TRUE(kwvd::clientaccess::WvdMemberExists(kSystem, QStringLiteral("KWVD"), QStringLiteral("INVOICE")));
    const QStringList transcript = Transcript();
    EXPECT_TRUE(transcript.contains(QStringLiteral("REQUEST 0007 KWVD      INVOICE")))
        << transcript.join(u'\n').toStdString();
    EXPECT_TRUE(transcript.contains(QStringLiteral("REQUEST 0006 KWVD      INVOICE KWVD")));
    EXPECT_TRUE(LeftInTemp().isEmpty()) << LeftInTemp().join(u' ').toStdString();
    EXPECT_EQ(app->GetPreferences().DefaultJVXVersion, 28);
}

TEST_F(SocketExportInProgramTest, SecondExportAsksBeforeReplacingAndNoSendsNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartServer());
    Export([](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.AutoImportCheck()->setChecked(true);
        dialog.ExportButton()->click();
    });
    ASSERT_TRUE(kwvd::clientaccess::WvdMemberExists(kSystem, QStringLiteral("KWVD"), QStringLiteral("INVOICE")));
    const qsizetype sendsBefore = Transcript().filter(QStringLiteral("REQUEST 0003")).size();

    env.prompts->ClearRecorded();
    env.prompts->AnswerMessageBox(IDNO);
    bool stayedOpen = false;
    Export([&stayedOpen](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.ExportButton()->click();
        stayedOpen = dialog.isVisible() && dialog.ExportButton()->isEnabled() && dialog.NameEdit()->isEnabled();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(env.MessageTexts().size(), 1);
    EXPECT_EQ(env.MessageTexts()[0],
              QStringLiteral("INVOICE Already exists in library KWVD, are you sure you want to overwrite it ?"));
    EXPECT_EQ(env.prompts->Recorded()[0].Icon(), UINT(MB_ICONQUESTION));
    EXPECT_EQ(Transcript().filter(QStringLiteral("REQUEST 0003")).size(), sendsBefore);
    EXPECT_TRUE(LeftInTemp().isEmpty());
}

TEST_F(SocketExportInProgramTest, VersionSevenImportsTheMemberAlone)
{
    ASSERT_NO_FATAL_FAILURE(StartServer());
    Export([](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.VersionCombo()->setCurrentIndex(dialog.VersionCombo()->findData(7));
        dialog.AutoImportCheck()->setChecked(true);
        dialog.OverwriteCheck()->setChecked(true);
        dialog.ExportButton()->click();
    });
    EXPECT_TRUE(JobLog().contains(QStringLiteral("CALL PGM(KWVD/PCWVDCL) PARM(INVOICE)"))) << JobLog().toStdString();
    EXPECT_EQ(app->GetPreferences().DefaultJVXVersion, 7);
    EXPECT_TRUE(doc->m_replaceWithoutAsking);
}

TEST_F(SocketExportInProgramTest, ImportWarningsAreShownAndTheUploadCountsAsDone)
{
    ASSERT_NO_FATAL_FAILURE(
        StartServer({QStringLiteral("--reply"), QStringLiteral("6=1200 KWV9001 Widths adjusted.")}));
    bool closed = false;
    Export([&closed](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.AutoImportCheck()->setChecked(true);
        dialog.OverwriteCheck()->setChecked(true);
        dialog.ExportButton()->click();
        closed = !dialog.isVisible();
    });
    EXPECT_TRUE(closed);
    ASSERT_EQ(env.MessageTexts().size(), 1);
    EXPECT_EQ(
        env.MessageTexts()[0],
        QStringLiteral("WVD INVOICE Automatically Imported, however warnings were issued:\nKWV9001 Widths adjusted."));
    EXPECT_EQ(env.prompts->Recorded()[0].Icon(), UINT(MB_ICONWARNING));
    EXPECT_TRUE(doc->m_replaceWithoutAsking);
}

TEST_F(SocketExportInProgramTest, RefusedConnectionIsReportedAndLeavesNoFolder)
{
    // A port where nothing listens any more.
    ASSERT_NO_FATAL_FAILURE(StartServer());
    m_server.terminate();
    ASSERT_TRUE(m_server.waitForFinished(5000));
    bool stayedOpen = false;
    Export([&stayedOpen](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.ExportButton()->click();
        stayedOpen = dialog.isVisible() && dialog.VersionCombo()->isEnabled();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(env.MessageTexts().size(), 1);
    EXPECT_EQ(
        env.MessageTexts()[0],
        QStringLiteral("Failed to Connect To Server localhost.\nError Message: Failed to connect to Server.\nError "
                       "Code: %1\n\nEnsure the server name is correct and that RAROVA is running in KWVD Subsystem.")
            .arg(ECONNREFUSED));
    EXPECT_EQ(env.prompts->Recorded()[0].Icon(), UINT(MB_ICONERROR));
    EXPECT_TRUE(LeftInTemp().isEmpty()) << LeftInTemp().join(u' ').toStdString();
}

// A step the server refuses: its reason in an error box, the dialog open
// for another try, nothing left behind.
struct RefusedStepCase
{
    const char* name;
    const char* serverReply; // --reply CODE=TEXT
    const char* message;
};

void PrintTo(const RefusedStepCase& c, std::ostream* os)
{
    *os << c.name;
}

const RefusedStepCase kRefusedStepCases[] = {
    {"FileRefused", "3=1100 Name not valid.",
     "Error sending File(s):\nFile: INVOICE.jvx Not Sent, Error: Name not valid.\n"},
    {"ImportFailed", "6=1100 KWV2303 File not found.",
     "Failed to Automatically Import INVOICE.\nError Text:\nKWV2303 File not found."},
    {"MemberCheckAnsweredEmpty", "7=1000 ", "Check WVD Member Return Value invalid."},
};

class RefusedStepTable : public SocketExportInProgramTest, public ::testing::WithParamInterface<RefusedStepCase>
{};

TEST_P(RefusedStepTable, ReasonShownAndTheDialogStays)
{
    const RefusedStepCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartServer({QStringLiteral("--reply"), QString::fromLatin1(c.serverReply)}));
    bool stayedOpen = false;
    Export([&stayedOpen](CExportToAS400UsingSocketsDlg& dialog) {
        dialog.AutoImportCheck()->setChecked(true);
        dialog.ExportButton()->click();
        stayedOpen = dialog.isVisible() && dialog.ExportButton()->isEnabled();
    });
    EXPECT_TRUE(stayedOpen) << c.name;
    ASSERT_EQ(env.MessageTexts().size(), 1) << c.name;
    EXPECT_EQ(env.MessageTexts()[0], QString::fromLatin1(c.message)) << c.name;
    EXPECT_EQ(env.prompts->Recorded()[0].Icon(), UINT(MB_ICONERROR)) << c.name;
    EXPECT_FALSE(doc->m_replaceWithoutAsking) << c.name;
    EXPECT_TRUE(LeftInTemp().isEmpty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(SocketExport, RefusedStepTable, ::testing::ValuesIn(kRefusedStepCases),
                         [](const ::testing::TestParamInfo<RefusedStepCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
