#pragma once
// The Options sheet on its own: a private registry and data folder, scripted
// prompts, preferences of a working installation and a master font file
// with the libraries "QFNTCPL" (installed) and "MYFONTS" (not installed).

#include "designer/preferences/ElementColourTable.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/shell/OptionsSheet.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

class OptionsTest : public ::testing::Test
{
protected:
    // What became of one run of the sheet.
    struct Outcome
    {
        bool accepted = false;
        // After OK was pressed: the sheet still open, on this page.
        bool keptOpen = false;
        int activePage = -1;
        bool coloursChanged = false;
    };

    enum Close {
        PressOk,
        PressCancel,
    };

    void SetUp() override
    {
        RegisterResourceClasses();
        RegisterPreferenceStrings();
        ResetElementColourTable();
        prefs.ApplicationDataDirectory = env.folder.path();
        prefs.DefaultDocDirectory = QStringLiteral("/home/user/wvd/");
        prefs.DefaultImageDirectory = QStringLiteral("/home/user/images/");
        prefs.DefaultSpooledFileDirectory = QStringLiteral("/home/user/spool/");
        prefs.ZoomSource = {100, 100};
        prefs.ZoomDest = {0, 0};
        prefs.ZoomFitDest = 1;
        prefs.ShowSplashWindow = TRUE;
        prefs.ImageExportFormat = 1;
        prefs.MaximumUndoBufferSize = 8;
        prefs.ColourElementSource = kwvd::ColourRef(255, 0, 0);
        prefs.ColourElementText = kwvd::ColourRef(0, 0, 255);
        prefs.ColourNoPrintBorder = kwvd::ColourRef(0, 128, 255);
        prefs.DefaultSystem = QStringLiteral("AS400A");
        prefs.DefaultLibrary = QStringLiteral("KWVDLIB");
        prefs.DefaultExportPath = QStringLiteral("/mnt/as400a/QDLS/KWVD/");
        prefs.DefaultOutputQueue = QStringLiteral("PRT01");
        prefs.DefaultOutputQueueLibrary = QStringLiteral("QGPL");
        prefs.MaxSpooledFilePages = 50;
        prefs.DefaultJVXVersion = 28;
        prefs.ExportSocketsPort = 4000;
        prefs.DefaultCodePageID = 285;
        prefs.DefaultCharSet = QStringLiteral("Ansi");
        prefs.DefaultCodePage = QStringLiteral("T1V10285");
        previousPrefs = SetPreferences(&prefs);
        WriteMasterFonts();
    }

    void TearDown() override
    {
        // The lists go, saved, so that the next test reads its own file.
        CFontManager::SaveMasterFontFile();
        ResetElementColourTable();
        SetPreferences(previousPrefs);
    }

    void WriteMasterFonts()
    {
        CFontManager writer;
        ASSERT_TRUE(CFontManager::AddToMasterList(MakeFont("Courier", "QFNTCPL")));
        ASSERT_TRUE(CFontManager::AddToMasterList(MakeFont("Gothic", "MYFONTS")));
        CFontManager::FindFontLibrary(QStringLiteral("MYFONTS"))->SetInstalled(FALSE);
    }

    static CAS400Font* MakeFont(const char* typeface, const char* library)
    {
        return new CAS400Font(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, QString::fromLatin1(typeface), 833,
                              100, FALSE, FALSE, FALSE, FALSE, QString::fromLatin1(library), QString(), FALSE);
    }

    // Opens the sheet filled from prefs, lets the user act on it, then
    // presses OK or Cancel; a sheet OK could not close is cancelled. After
    // OK the values are written back into prefs.
    Outcome Run(const std::function<void(COptionsSheet&)>& user, Close close = PressOk)
    {
        Outcome outcome;
        COptionsSheet sheet;
        sheet.Fill(prefs);
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            user(sheet);
            if (!sheet.isVisible())
                return;
            if (close == PressOk) {
                sheet.accept();
                outcome.keptOpen = sheet.isVisible();
                outcome.activePage = sheet.GetActiveIndex();
            }
            if (sheet.isVisible())
                sheet.reject();
        });
        outcome.accepted = sheet.DoModal();
        EXPECT_TRUE(ran);
        if (outcome.accepted)
            outcome.coloursChanged = sheet.WriteBack(prefs, lastDocumentFolder);
        return outcome;
    }

    // The page's view, shown.
    static QWidget* ShowPage(COptionsSheet& sheet, int page)
    {
        EXPECT_TRUE(sheet.SetActivePage(page));
        return sheet.GetPageView(page);
    }

    template <class Widget>
    static Widget* Control(COptionsSheet& sheet, int page, int id)
    {
        QWidget* view = ShowPage(sheet, page);
        auto* widget = view != nullptr ? qobject_cast<Widget*>(FindDialogControl(view, id)) : nullptr;
        EXPECT_NE(widget, nullptr) << "control " << id << " of page " << page;
        return widget;
    }

    static bool LibraryInstalled(const char* name)
    {
        const CAS400FontLib* library = CFontManager::FindFontLibrary(QString::fromLatin1(name));
        return library != nullptr && library->IsInstalled();
    }

    AppTestEnvironment env;
    ScopedEnv dataDir{"KWVD_DATA_DIR", env.folder.path()};
    CPreferences prefs;
    QString lastDocumentFolder;

    static constexpr int kGeneral = 0;
    static constexpr int kDirectories = 1;
    static constexpr int kServer = 2;
    static constexpr int kLanguage = 3;

private:
    CPreferences* previousPrefs = nullptr;
};
