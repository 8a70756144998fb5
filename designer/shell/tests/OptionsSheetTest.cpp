// The Options sheet: its pages and their controls, the range and length
// checks, the write-back after OK and Cancel changing nothing.

#include "designer/shell/OptionsAS400PropPage.h"
#include "designer/shell/OptionsAS400PropPageView.h"
#include "designer/shell/OptionsDirectoryPropPage.h"
#include "designer/shell/OptionsGeneralPropPage.h"
#include "designer/shell/OptionsLanguagePropPage.h"
#include "designer/shell/tests/OptionsTestFixture.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

using General = COptionsGeneralPropPage;
using Directories = COptionsDirectoryPropPage;
using Server = COptionsAS400PropPage;
using Language = COptionsLanguagePropPage;

// Chooses the entry as a user does, confirming it.
void Choose(QComboBox* list, const QString& entry)
{
    ASSERT_NE(list, nullptr);
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QStringList SystemHistory()
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    std::optional<kwvd::RegistryKey> program =
        store.OpenKey(kwvd::RegistryRoot::CurrentUser, kwvd::ApplicationKeyPath(u"KWVD Designer"));
    if (!program)
        return {};
    std::optional<kwvd::RegistryKey> key = store.OpenKey(*program, QString::fromLatin1(Server::kSystemHistoryKey));
    if (!key)
        return {};
    QStringList entries;
    for (const auto& [name, value] : store.EnumValues(*key))
        entries << value.ToText();
    return entries;
}

TEST_F(OptionsTest, SheetHasItsCaptionPagesAndOnlyOkAndCancel)
{
    Run(
        [](COptionsSheet& sheet) {
            EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options"));
            ASSERT_EQ(sheet.GetPageCount(), 4);
            const QStringList titles = {QStringLiteral("General"), QStringLiteral("Directories"),
                                        QStringLiteral("Server"), QStringLiteral("Language")};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(sheet.GetPage(i)->Title(), titles[i]);
            EXPECT_EQ(sheet.General().GetDialogId(), 134u);
            EXPECT_EQ(sheet.Directories().GetDialogId(), 133u);
            EXPECT_EQ(sheet.Server().GetDialogId(), 132u);
            EXPECT_EQ(sheet.Language().GetDialogId(), 135u);
            EXPECT_EQ(sheet.NavigationList()->width(), 100);
            auto* buttons = sheet.findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        },
        PressCancel);
}

// A language that translates two of the sheet's texts.
class TwoTranslations : public StringSource
{
public:
    std::optional<QString> Lookup(UINT id) const override
    {
        if (id == COptionsSheet::IDS_OPTIONS)
            return QStringLiteral("Optionen");
        if (id == DialogTextId(134, General::IDC_UNDO_SIZE))
            return QStringLiteral("Rückgängig (MB):");
        return std::nullopt;
    }
};

TEST_F(OptionsTest, CaptionAndLabelsComeFromTheStringTable)
{
    const std::shared_ptr<StringSource> previous = StringTable::SetSource(std::make_shared<TwoTranslations>());
    Run(
        [](COptionsSheet& sheet) {
            EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Optionen"));
            QWidget* view = ShowPage(sheet, kGeneral);
            QStringList labels;
            for (const QLabel* label : view->findChildren<QLabel*>())
                labels << label->text();
            EXPECT_TRUE(labels.contains(QStringLiteral("Rückgängig (MB):"))) << labels.join(u'|').toStdString();
        },
        PressCancel);
    StringTable::SetSource(previous);
}

TEST_F(OptionsTest, ZoomChoicesStoreFitModeAndPercentages)
{
    const Outcome first = Run([](COptionsSheet& sheet) {
        Choose(Control<QComboBox>(sheet, kGeneral, General::IDC_INPUT_ZOOM), QStringLiteral("125 %"));
        Choose(Control<QComboBox>(sheet, kGeneral, General::IDC_OUTPUT_ZOOM), QStringLiteral("Whole Page"));
    });
    ASSERT_TRUE(first.accepted);
    EXPECT_EQ(prefs.ZoomFitSource, 0);
    EXPECT_EQ(prefs.ZoomSource, (ZoomPair{125, 125}));
    EXPECT_EQ(prefs.ZoomFitDest, 4);
    EXPECT_EQ(prefs.ZoomDest, (ZoomPair{0, 0}));

    prefs.ZoomDest = {110, 110};
    prefs.ZoomFitDest = 0;
    Run([](COptionsSheet& sheet) {
        EXPECT_EQ(Control<QComboBox>(sheet, kGeneral, General::IDC_INPUT_ZOOM)->currentText(), QStringLiteral("125 %"));
        // A percentage the list lacks shows as the largest.
        EXPECT_EQ(Control<QComboBox>(sheet, kGeneral, General::IDC_OUTPUT_ZOOM)->currentText(),
                  QStringLiteral("300 %"));
    });
    // Showing it changed nothing: only a confirmed choice does.
    EXPECT_EQ(prefs.ZoomDest, (ZoomPair{110, 110}));
    EXPECT_EQ(prefs.ZoomFitDest, 0);
}

TEST_F(OptionsTest, ZoomListsShowTheStoredFitModes)
{
    struct Case
    {
        const char* name;
        int fit;
        int percent;
        const char* shown;
    };
    const Case cases[] = {
        {"page width", 1, 0, "Page Width"}, {"page height", 2, 0, "Page Height"},
        {"whole page", 4, 0, "Whole Page"}, {"25 %", 0, 25, "25 %"},
        {"250 %", 0, 250, "250 %"},         {"unlisted 110", 0, 110, "300 %"},
        {"unknown fit 3", 3, 75, "75 %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(General::ZoomTexts().at(General::ZoomIndexFor(c.fit, c.percent)), QString::fromLatin1(c.shown))
            << c.name;
}

TEST_F(OptionsTest, EmptyDorrelAddressShowsTheComputedOneAndStoresItAfterOk)
{
    prefs.DorrelAddress.clear();
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        EXPECT_EQ(Control<QLineEdit>(sheet, kServer, Server::IDC_DORREL_ADDRESS)->text(),
                  QStringLiteral("http://AS400A:6400"));
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.DorrelAddress, QStringLiteral("http://AS400A:6400"));
}

TEST_F(OptionsTest, UseSocketsSwitchesBetweenThePathAndThePort)
{
    prefs.ExportUsingSockets = TRUE;
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        auto* sockets = Control<QCheckBox>(sheet, kServer, Server::IDC_USE_SOCKETS);
        auto* path = Control<QLineEdit>(sheet, kServer, Server::IDC_EXPORT_PATH);
        auto* browse = Control<QPushButton>(sheet, kServer, Server::IDC_BROWSE_EXPORT_PATH);
        auto* port = Control<QLineEdit>(sheet, kServer, Server::IDC_PORT);
        ASSERT_TRUE(sockets && path && browse && port);
        EXPECT_TRUE(sockets->isChecked());
        EXPECT_TRUE(port->isEnabled());
        EXPECT_FALSE(path->isEnabled());
        EXPECT_FALSE(browse->isEnabled());

        QTest::mouseClick(sockets, Qt::LeftButton);
        EXPECT_FALSE(sockets->isChecked());
        EXPECT_FALSE(port->isEnabled());
        EXPECT_TRUE(path->isEnabled());
        EXPECT_TRUE(browse->isEnabled());

        QTest::mouseClick(sockets, Qt::LeftButton);
        EXPECT_TRUE(port->isEnabled());
        EXPECT_FALSE(path->isEnabled());
        QTest::mouseClick(sockets, Qt::LeftButton);
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.ExportUsingSockets, FALSE);
}

TEST_F(OptionsTest, CancelChangesNoPreferenceFontLibraryOrHistory)
{
    const CPreferences before = prefs;
    const Outcome outcome = Run(
        [](COptionsSheet& sheet) {
            Choose(Control<QComboBox>(sheet, kGeneral, General::IDC_INPUT_ZOOM), QStringLiteral("50 %"));
            Control<QLineEdit>(sheet, kGeneral, General::IDC_UNDO_SIZE)->setText(QStringLiteral("20"));
            Control<QLineEdit>(sheet, kDirectories, Directories::IDC_DOC_DIRECTORY)->setText(QStringLiteral("/tmp/x"));
            Control<QLineEdit>(sheet, kServer, Server::IDC_SYSTEM)->setText(QStringLiteral("AS400B"));
            Control<QListWidget>(sheet, kServer, Server::IDC_FONT_LIBRARIES)->item(0)->setCheckState(Qt::Unchecked);
            Choose(Control<QComboBox>(sheet, kLanguage, Language::IDC_CHAR_SET), QStringLiteral("Greek"));
        },
        PressCancel);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(prefs.ZoomSource, before.ZoomSource);
    EXPECT_EQ(prefs.MaximumUndoBufferSize, before.MaximumUndoBufferSize);
    EXPECT_EQ(prefs.DefaultDocDirectory, before.DefaultDocDirectory);
    EXPECT_EQ(prefs.DefaultSystem, before.DefaultSystem);
    EXPECT_EQ(prefs.DefaultCharSet, before.DefaultCharSet);
    EXPECT_TRUE(lastDocumentFolder.isEmpty());
    EXPECT_TRUE(LibraryInstalled("QFNTCPL"));
    EXPECT_FALSE(LibraryInstalled("MYFONTS"));
    EXPECT_TRUE(SystemHistory().isEmpty());
}

TEST_F(OptionsTest, RefusedValuesKeepTheSheetOpenOnTheirPageAndWriteNothing)
{
    struct Case
    {
        const char* name;
        int page;
        int control;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"undo 1025", kGeneral, General::IDC_UNDO_SIZE, "1025", "Enter an integer between 0 and 1024."},
        {"undo 12a", kGeneral, General::IDC_UNDO_SIZE, "12a", "Enter an integer."},
        {"pages 0", kServer, Server::IDC_MAX_PAGES, "0", "Enter an integer between 1 and 9999."},
        {"pages 10000", kServer, Server::IDC_MAX_PAGES, "10000", "Enter an integer between 1 and 9999."},
        {"port 70000", kServer, Server::IDC_PORT, "70000", "Enter an integer between 0 and 65535."},
        {"queue of 11", kServer, Server::IDC_OUTPUT_QUEUE, "PRT01234567", "Enter no more than 10 characters."},
        {"code page name of 9", kLanguage, Language::IDC_SERVER_CODE_PAGE, "T1V102850",
         "Enter no more than 8 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        const int undoBefore = prefs.MaximumUndoBufferSize;
        const int pagesBefore = prefs.MaxSpooledFilePages;
        const Outcome outcome = Run([&](COptionsSheet& sheet) {
            // Another page's values change too, and must not be written.
            Control<QLineEdit>(sheet, kDirectories, Directories::IDC_IMAGE_DIRECTORY)->setText(QStringLiteral("/x"));
            Control<QLineEdit>(sheet, c.page, c.control)->setText(QString::fromLatin1(c.text));
        });
        EXPECT_FALSE(outcome.accepted);
        EXPECT_TRUE(outcome.keptOpen);
        EXPECT_EQ(outcome.activePage, c.page);
        EXPECT_EQ(env.MessageTexts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(prefs.MaximumUndoBufferSize, undoBefore);
        EXPECT_EQ(prefs.MaxSpooledFilePages, pagesBefore);
        EXPECT_EQ(prefs.DefaultImageDirectory, QStringLiteral("/home/user/images/"));
    }
}

TEST_F(OptionsTest, NameFieldsTakeNoMoreThanTheirLength)
{
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        QLineEdit* queue = Control<QLineEdit>(sheet, kServer, Server::IDC_OUTPUT_QUEUE);
        queue->clear();
        QTest::keyClicks(queue, QStringLiteral("ABCDEFGHIJKLMN"));
        EXPECT_EQ(queue->text(), QStringLiteral("ABCDEFGHIJ"));
        QLineEdit* library = Control<QLineEdit>(sheet, kServer, Server::IDC_OUTPUT_QUEUE_LIBRARY);
        library->clear();
        QTest::keyClicks(library, QStringLiteral("LIBRARY12345"));
        QLineEdit* codePage = Control<QLineEdit>(sheet, kLanguage, Language::IDC_SERVER_CODE_PAGE);
        codePage->clear();
        QTest::keyClicks(codePage, QStringLiteral("T1V1028500"));
        EXPECT_EQ(codePage->text(), QStringLiteral("T1V10285"));
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.DefaultOutputQueue, QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(prefs.DefaultOutputQueueLibrary, QStringLiteral("LIBRARY123"));
    EXPECT_EQ(prefs.DefaultCodePage, QStringLiteral("T1V10285"));
}

TEST_F(OptionsTest, JvxVersionListBothWays)
{
    struct Case
    {
        const char* name;
        int stored;
        const char* shown;
        // The entry chosen, or null to leave the list as shown; "" for none.
        const char* chosen;
        int expected;
    };
    const Case cases[] = {
        {"3 shows 5", 3, "5", nullptr, 5},           {"28 shows 28", 28, "28", nullptr, 28},
        {"27 kept", 27, "27", nullptr, 27},          {"last entry gives 5", 28, "28", "5", 5},
        {"no selection gives 28", 12, "12", "", 28},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs.DefaultJVXVersion = c.stored;
        const Outcome outcome = Run([&](COptionsSheet& sheet) {
            QComboBox* list = Control<QComboBox>(sheet, kServer, Server::IDC_JVX_VERSION);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->count(), 24);
            EXPECT_EQ(list->currentText(), QString::fromLatin1(c.shown));
            if (c.chosen == nullptr)
                return;
            if (*c.chosen == '\0')
                list->setCurrentIndex(-1);
            else
                Choose(list, QString::fromLatin1(c.chosen));
        });
        ASSERT_TRUE(outcome.accepted);
        EXPECT_EQ(prefs.DefaultJVXVersion, c.expected);
    }
}

TEST_F(OptionsTest, StoredValuesTheListsLackSurviveOk)
{
    prefs.ExportSocketsPort = 8000;
    prefs.DefaultCharSet = QStringLiteral("Klingon");
    prefs.ImageExportFormat = 3; // TIFF with LZW, which the list lacks
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        EXPECT_EQ(Control<QLineEdit>(sheet, kServer, Server::IDC_PORT)->text(), QStringLiteral("8000"));
        EXPECT_EQ(Control<QComboBox>(sheet, kLanguage, Language::IDC_CHAR_SET)->currentIndex(), -1);
        EXPECT_EQ(Control<QComboBox>(sheet, kGeneral, General::IDC_IMAGE_FORMAT)->currentIndex(), -1);
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.ExportSocketsPort, 8000);
    EXPECT_EQ(prefs.DefaultCharSet, QStringLiteral("Klingon"));
    EXPECT_EQ(prefs.ImageExportFormat, 3);
}

TEST_F(OptionsTest, GeneralAndLanguageChoicesAreStored)
{
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        Choose(Control<QComboBox>(sheet, kGeneral, General::IDC_IMAGE_FORMAT), QStringLiteral("JPEG"));
        QTest::mouseClick(Control<QCheckBox>(sheet, kGeneral, General::IDC_SPLASH), Qt::LeftButton);
        Control<QLineEdit>(sheet, kGeneral, General::IDC_UNDO_SIZE)->setText(QStringLiteral("0"));
        auto* codePages = Control<QComboBox>(sheet, kLanguage, Language::IDC_CODE_PAGE);
        EXPECT_TRUE(codePages->currentText().startsWith(QStringLiteral("285 - ")));
        Choose(codePages, codePages->itemText(codePages->findData(37)));
        Choose(Control<QComboBox>(sheet, kLanguage, Language::IDC_CHAR_SET), QStringLiteral("Greek"));
        EXPECT_EQ(Control<QLineEdit>(sheet, kServer, Server::IDC_LIBRARY)->text(), QStringLiteral("KWVDLIB"));
        Control<QLineEdit>(sheet, kServer, Server::IDC_LIBRARY)->setText(QStringLiteral("  NEWLIB "));
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.ImageExportFormat, 2);
    EXPECT_EQ(prefs.ShowSplashWindow, FALSE);
    EXPECT_EQ(prefs.MaximumUndoBufferSize, 0);
    EXPECT_EQ(prefs.DefaultCodePageID, 37u);
    EXPECT_EQ(prefs.DefaultCharSet, QStringLiteral("Greek"));
    EXPECT_EQ(prefs.DefaultLibrary, QStringLiteral("NEWLIB"));
    EXPECT_FALSE(outcome.coloursChanged);
}

TEST_F(OptionsTest, FolderButtonsStartAtTheEditsFolderAndAddTheSeparator)
{
    env.prompts->AnswerFolder(QStringLiteral("/data/documents"));
    env.prompts->AnswerFolder(QStringLiteral("/data/images/"));
    env.prompts->AnswerFolder(QString());
    env.prompts->AnswerFolder(QStringLiteral("/mnt/as400b/QDLS"));
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        for (const int button : {int(Directories::IDC_BROWSE_DOC), int(Directories::IDC_BROWSE_IMAGE),
                                 int(Directories::IDC_BROWSE_SPOOLED_FILE)})
            QTest::mouseClick(Control<QPushButton>(sheet, kDirectories, button), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(sheet, kServer, Server::IDC_BROWSE_EXPORT_PATH), Qt::LeftButton);
    });
    ASSERT_TRUE(outcome.accepted);
    const QString sep = QDir::separator();
    EXPECT_EQ(prefs.DefaultDocDirectory, QStringLiteral("/data/documents") + sep);
    EXPECT_EQ(lastDocumentFolder, prefs.DefaultDocDirectory);
    EXPECT_EQ(prefs.DefaultImageDirectory, QStringLiteral("/data/images/"));
    EXPECT_EQ(prefs.DefaultSpooledFileDirectory, QStringLiteral("/home/user/spool/"));
    EXPECT_EQ(prefs.DefaultExportPath, QStringLiteral("/mnt/as400b/QDLS") + sep);

    const std::vector<RecordedPrompt>& shown = env.prompts->Recorded();
    ASSERT_EQ(shown.size(), 4u);
    const char* const started[] = {"/home/user/wvd/", "/home/user/images/", "/home/user/spool/", ""};
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].kind, PromptKind::Folder);
        EXPECT_EQ(shown[i].caption, QStringLiteral("Select Directory"));
        EXPECT_EQ(shown[i].initialFolder, QString::fromLatin1(started[i])) << i;
    }
}

TEST_F(OptionsTest, UnchangedDocumentsFolderLeavesTheLastFolderAlone)
{
    lastDocumentFolder = QStringLiteral("/somewhere/else/");
    ASSERT_TRUE(Run([](COptionsSheet& sheet) { ShowPage(sheet, kDirectories); }).accepted);
    EXPECT_EQ(lastDocumentFolder, QStringLiteral("/somewhere/else/"));
}

TEST_F(OptionsTest, ChangingOnlyTheBorderColourStoresItInvertedBack)
{
    env.prompts->AnswerColour(kwvd::ColourRef(10, 20, 30));
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        auto* list = Control<QListWidget>(sheet, kGeneral, General::IDC_COLOUR_LIST);
        ASSERT_EQ(list->count(), kElementColourRows);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(list->visualItemRect(list->item(0)).height(), General::kColourItemHeight);
        list->setCurrentRow(kNoPrintBorderRow);
        QTest::mouseClick(Control<QPushButton>(sheet, kGeneral, General::IDC_CHANGE_COLOUR), Qt::LeftButton);
        EXPECT_EQ(list->count(), kElementColourRows);
        EXPECT_EQ(list->currentRow(), kNoPrintBorderRow);
    });
    ASSERT_TRUE(outcome.accepted);
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    EXPECT_EQ(env.prompts->Recorded()[0].kind, PromptKind::Colour);
    // The dialog starts at the border as the list shows it: inverted.
    EXPECT_EQ(env.prompts->Recorded()[0].initialColour, kwvd::ColourRef(255, 127, 0));
    EXPECT_TRUE(outcome.coloursChanged);
    EXPECT_EQ(prefs.ColourNoPrintBorder, kwvd::ColourRef(245, 235, 225));
    EXPECT_EQ(prefs.ColourElementSource, kwvd::ColourRef(255, 0, 0));
}

TEST_F(OptionsTest, ColourRowsChangeTheirOwnPreferenceAndCancelledDialogChangesNothing)
{
    env.prompts->AnswerColourCancelled();
    env.prompts->AnswerColour(kwvd::ColourRef(1, 2, 3));
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        auto* list = Control<QListWidget>(sheet, kGeneral, General::IDC_COLOUR_LIST);
        auto* change = Control<QPushButton>(sheet, kGeneral, General::IDC_CHANGE_COLOUR);
        list->setCurrentRow(2);
        QTest::mouseClick(change, Qt::LeftButton);
        QTest::mouseClick(change, Qt::LeftButton);
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_TRUE(outcome.coloursChanged);
    EXPECT_EQ(prefs.ColourElementText, kwvd::ColourRef(1, 2, 3));
    EXPECT_EQ(prefs.ColourNoPrintBorder, kwvd::ColourRef(0, 128, 255));

    const Outcome unchanged = Run([](COptionsSheet& sheet) { ShowPage(sheet, kGeneral); });
    ASSERT_TRUE(unchanged.accepted);
    EXPECT_FALSE(unchanged.coloursChanged);
}

TEST_F(OptionsTest, FontLibraryFlagsAndSystemHistoryAreKeptAfterOk)
{
    const Outcome outcome = Run([](COptionsSheet& sheet) {
        auto* libraries = Control<QListWidget>(sheet, kServer, Server::IDC_FONT_LIBRARIES);
        ASSERT_EQ(libraries->count(), 2);
        EXPECT_EQ(libraries->item(0)->text(), QStringLiteral("QFNTCPL"));
        EXPECT_EQ(libraries->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(libraries->item(1)->checkState(), Qt::Unchecked);
        libraries->item(0)->setCheckState(Qt::Unchecked);
        libraries->item(1)->setCheckState(Qt::Checked);
        Control<QLineEdit>(sheet, kServer, Server::IDC_SYSTEM)->setText(QStringLiteral("AS400B"));
    });
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(prefs.DefaultSystem, QStringLiteral("AS400B"));
    EXPECT_EQ(SystemHistory(), QStringList{QStringLiteral("AS400B")});

    // The master font file keeps the flags.
    CFontManager::SaveMasterFontFile();
    CFontManager::LoadMasterFontFile();
    EXPECT_FALSE(LibraryInstalled("QFNTCPL"));
    EXPECT_TRUE(LibraryInstalled("MYFONTS"));
}

TEST_F(OptionsTest, PagesRenderOffscreen)
{
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    Run(
        [](COptionsSheet& sheet) {
            const char* const names[] = {"general", "directories", "server", "language"};
            for (int page = 0; page < 4; ++page) {
                ShowPage(sheet, page);
                sheet.adjustSize();
                const QImage shot = sheet.grab().toImage();
                ASSERT_FALSE(shot.isNull());
                EXPECT_TRUE(
                    shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/options-%1.png").arg(QLatin1String(names[page]))));
            }
        },
        PressCancel);
}

} // namespace
