// What a new user meets: the first start, the menus, help without a web
// viewer, a broken host access library and printing from the command line.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>

#include <ostream>

namespace {

CWVDDesignerApp::Environment WithStubLibrary()
{
    CWVDDesignerApp::Environment e;
    e.serverLibraryFolders = QStringList{QStringLiteral(KWVD_MERROW2_STUB_DIR)};
    return e;
}

// A first start: empty settings, an empty data folder, nothing but the
// program and its host access library.
TEST(FirstStart, AsksNothingAndOpensAWholeWindowOnTheScreen)
{
    AppTestEnvironment env;
    CWVDDesignerApp app(WithStubLibrary());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_EQ(env.MessageTexts().join(u'\n').toStdString(), "");

    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    const QRect available = frame->screen()->availableGeometry();
    const QRect placed = frame->frameGeometry();
    EXPECT_TRUE(available.contains(placed)) << placed.width() << "x" << placed.height();
    // About three quarters of the screen, not a strip.
    EXPECT_GE(placed.width(), available.width() / 2);
    EXPECT_GE(placed.height(), available.height() / 2);
    const auto [input, output] = frame->GetColumnWidths();
    EXPECT_GT(input, 0);
    EXPECT_GT(output, 0);

    // For a look at what the user sees.
    QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR));
    const QString shot = QDir(QStringLiteral(KWVD_SCREENSHOT_DIR)).filePath(QStringLiteral("first-start.png"));
    EXPECT_TRUE(frame->grab().save(shot));
    app.ExitInstance();
}

TEST(FirstStart, AStoredWindowPlaceWins)
{
    AppTestEnvironment env;
    QRect stored;
    {
        CWVDDesignerApp app(WithStubLibrary());
        ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
        app.GetMainFrame()->setGeometry(QRect(40, 50, 700, 500));
        stored = app.GetMainFrame()->geometry();
        app.GetMainFrame()->close();
        app.ExitInstance();
    }
    CWVDDesignerApp app(WithStubLibrary());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_EQ(app.GetMainFrame()->geometry().size(), stored.size());
    app.ExitInstance();
}

// The colour furthest from the face under the item: its text.
QColor TextColourIn(const QImage& image, const QRect& item)
{
    const QColor face = image.pixelColor(item.left() + 1, item.center().y());
    QColor text = face;
    int furthest = -1;
    for (int y = item.top(); y <= item.bottom(); ++y) {
        for (int x = item.left(); x <= item.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int d =
                std::abs(c.red() - face.red()) + std::abs(c.green() - face.green()) + std::abs(c.blue() - face.blue());
            if (d > furthest) {
                furthest = d;
                text = c;
            }
        }
    }
    return text;
}

struct LookCase
{
    const char* name;
    UINT look;
};

void PrintTo(const LookCase& c, std::ostream* os)
{
    *os << c.name;
}

class DisabledItems : public ::testing::TestWithParam<LookCase>
{};

// In every look a command that cannot run is drawn unlike one that can.
TEST_P(DisabledItems, LookDisabledInTheFileMenu)
{
    const LookCase& c = GetParam();
    AppTestEnvironment env;
    CWVDDesignerApp app(WithStubLibrary());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    CMainFrame* frame = app.GetMainFrame();
    frame->SetApplicationLook(c.look);
    frame->UpdateCommandUI();

    QMenu* file = frame->GetMenu(QStringLiteral("File"));
    ASSERT_NE(file, nullptr);
    QAction* open = frame->GetAction(ID_FILE_OPEN);
    QAction* save = frame->GetAction(ID_FILE_SAVE);
    ASSERT_TRUE(open && save);
    ASSERT_TRUE(open->isEnabled());
    ASSERT_FALSE(save->isEnabled()); // nothing to save yet

    file->popup(QPoint(0, 0));
    const QImage image = file->grab().toImage();
    const QColor enabled = TextColourIn(image, file->actionGeometry(open));
    const QColor disabled = TextColourIn(image, file->actionGeometry(save));
    file->hide();
    EXPECT_NE(enabled.rgb(), disabled.rgb()) << c.name << " " << enabled.name().toStdString();
    app.ExitInstance();
}

const LookCase kLooks[] = {
    {"Windows2000", ID_VIEW_APPLOOK_WIN_2000},
    {"OfficeXP", ID_VIEW_APPLOOK_OFF_XP},
    {"WindowsXP", ID_VIEW_APPLOOK_WIN_XP},
    {"Office2003", ID_VIEW_APPLOOK_OFF_2003},
    {"VisualStudio2005", ID_VIEW_APPLOOK_VS_2005},
    {"Office2007Blue", ID_VIEW_APPLOOK_OFF_2007_BLUE},
    {"Office2007Black", ID_VIEW_APPLOOK_OFF_2007_BLACK},
    {"Office2007Silver", ID_VIEW_APPLOOK_OFF_2007_SILVER},
    {"Office2007Aqua", ID_VIEW_APPLOOK_OFF_2007_AQUA},
};

INSTANTIATE_TEST_SUITE_P(Looks, DisabledItems, ::testing::ValuesIn(kLooks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecentFiles, TheMenuShowsOnlyItsEntries)
{
    AppTestEnvironment env;
    CWVDDesignerApp app(WithStubLibrary());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    app.RecentFiles().Add(env.folder.filePath(QStringLiteral("one.wvd")));
    app.GetMainFrame()->RefreshRecentFiles();

    int shown = 0;
    for (int i = 0; i < MRU_FILE_COUNT; ++i) {
        const QAction* item = app.GetMainFrame()->GetAction(ID_FILE_MRU_FILE1 + UINT(i));
        ASSERT_NE(item, nullptr);
        if (item->isVisible()) {
            ++shown;
            EXPECT_TRUE(item->text().endsWith(QStringLiteral("one.wvd"))) << item->text().toStdString();
        }
    }
    EXPECT_EQ(shown, 1);
    app.ExitInstance();
}

TEST(Help, WithoutAWebViewerSaysWhereThePageIs)
{
    AppTestEnvironment env;
    env.urlOpenerWorks = false;
    const QString page = env.folder.filePath(QStringLiteral("help/index.html"));
    QDir().mkpath(QFileInfo(page).path());
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><h2 id=\"topic-98333\">Tutorial</h2></body></html>");
    file.close();

    CWVDDesignerApp::Environment e = WithStubLibrary();
    e.helpFile = page;
    CWVDDesignerApp app(e);
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    env.prompts->ClearRecorded();
    app.ShowHelp(CWVDDesignerApp::kTutorialContext, HELP_CONTEXT);
    const QStringList texts = env.MessageTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts.front(), QStringLiteral("The help could not be shown: no program to open web pages was found.\n"
                                            "The help page is \"%1\".")
                                 .arg(page));
    app.ExitInstance();
}

TEST(ServerLibrary, AFileThatIsNoLibraryIsReportedWithTheLoadersReason)
{
    AppTestEnvironment env;
    QFile fake(env.folder.filePath(QStringLiteral("libMerrow2.so")));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("this is no shared library");
    fake.close();

    CWVDDesignerApp::Environment e;
    e.serverLibraryFolders = QStringList{env.folder.path()};
    CWVDDesignerApp app(e);
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_FALSE(app.GetServerAccess().IsLoaded());
    const QStringList texts = env.MessageTexts();
    ASSERT_EQ(texts.size(), 1) << texts.join(u'\n').toStdString();
    EXPECT_TRUE(texts.front().startsWith(QStringLiteral("A required component (libMerrow2.so) was not found or "
                                                        "could not be loaded.")))
        << texts.front().toStdString();
    EXPECT_TRUE(texts.front().contains(QStringLiteral("KWVD_LIBRARY_PATH")));
    // The loader's own words, naming the file.
    EXPECT_TRUE(texts.front().contains(fake.fileName())) << texts.front().toStdString();
    app.ExitInstance();
}

QString SaveSmallDocument(const AppTestEnvironment& env)
{
    const QString path = env.folder.filePath(QStringLiteral("print.wvd"));
    CWVDDesignerApp app(WithStubLibrary());
    EXPECT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_TRUE(app.GetDocument()->DoSave(path, TRUE));
    app.ExitInstance();
    return path;
}

TEST(PrintFromCommandLine, AGoodPrintEndsTheProgramWithZero)
{
    AppTestEnvironment env;
    const QString document = SaveSmallDocument(env);
    const QString pdf = env.folder.filePath(QStringLiteral("page.pdf"));
    CWVDDesignerApp app(WithStubLibrary());
    app.GetPrinter()->setOutputFormat(QPrinter::PdfFormat);
    app.GetPrinter()->setOutputFileName(pdf);
    env.prompts->ClearRecorded();

    EXPECT_FALSE(app.InitInstance({QStringLiteral("/NoSplash"), QStringLiteral("/p"), document}));
    EXPECT_FALSE(app.ShouldRun());
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_EQ(env.MessageTexts(), QStringList());
}

TEST(PrintFromCommandLine, AMissingPrinterIsNamedAndTheProgramFails)
{
    AppTestEnvironment env;
    const QString document = SaveSmallDocument(env);
    CWVDDesignerApp app(WithStubLibrary());
    env.prompts->ClearRecorded();
    EXPECT_FALSE(app.InitInstance(
        {QStringLiteral("/NoSplash"), QStringLiteral("/pt"), document, QStringLiteral("NoSuchPrinter")}));
    EXPECT_NE(app.ExitInstance(), 0);
    EXPECT_EQ(env.MessageTexts(), QStringList{QStringLiteral("The printer \"NoSuchPrinter\" was not found.")});
}

TEST(PrintFromCommandLine, ADocumentThatDoesNotOpenFails)
{
    AppTestEnvironment env;
    CWVDDesignerApp app(WithStubLibrary());
    EXPECT_FALSE(app.InitInstance(
        {QStringLiteral("/NoSplash"), QStringLiteral("/p"), env.folder.filePath(QStringLiteral("none.wvd"))}));
    EXPECT_NE(app.ExitInstance(), 0);
    EXPECT_EQ(env.MessageTexts().size(), 1) << env.MessageTexts().join(u'\n').toStdString();
}

} // namespace
