// The master font list and its file: loading on first use, saving by the last
// manager, the exchange file that replaces it, deletion and best match.

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "platform/framework/MathHelpers.h"
#include "tests/support/FontTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include <memory>
#include <string>

namespace {

// One exchange record from the format's rules: S8 S8 N5 N5 N5 N3 S50 N5 N5
// N4 S10 S8 S1 and CR LF.
std::string ExchangeLine(const char* typeface, int fgid, int flags, const char* library, int height = 100)
{
    char line[200];
    std::snprintf(line, sizeof line, "%-8s%-8s%05d%05d%05d%03d%-50s%05d%05d%04d%-10s%-8sN\r\n", "C1", "", fgid, 0, 0,
                  0x31, typeface, 833, height, flags, library, "");
    return line;
}

DWORD MulDivCell(int cell, int pixelsPerThousand)
{
    return static_cast<DWORD>(MulDiv(cell, 1000, pixelsPerThousand));
}

CAS400Font* MakeFont(const char* typeface, const char* library = "LIB", DWORD flags = 0)
{
    auto* font = new CAS400Font(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, QString::fromLatin1(typeface),
                                833, 100, FALSE, FALSE, FALSE, FALSE, QString::fromLatin1(library), QString(), FALSE);
    font->SetFlags(flags);
    return font;
}

class MasterFontFileTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        ASSERT_EQ(CFontManager::GetLiveManagerCount(), 0);
    }

    // A master file holding these faces, written through a manager's life.
    void WriteMaster(std::initializer_list<const char*> faces)
    {
        {
            CFontManager writer;
            for (const char* face : faces)
                ASSERT_TRUE(CFontManager::AddToMasterList(MakeFont(face)));
        }
        FreshPrompts();
    }

    static QStringList MasterFaces()
    {
        QStringList faces;
        for (CObject* object : *CFontManager::GetMasterFontList())
            faces << static_cast<CAS400Font*>(object)->GetTypeface();
        return faces;
    }
};

TEST_F(MasterFontFileTest, FirstUseFillsTheDefaultPathAndTheLastManagerSavesThere)
{
    {
        CFontManager fonts;
        ASSERT_NE(CFontManager::GetMasterFontList(), nullptr);
        EXPECT_EQ(m_preferences.MasterFontFileV2, PathOf("WvdFontsV2.dat"));
        EXPECT_TRUE(m_prompts->Recorded().empty()); // a first start: no file yet, no message
        EXPECT_TRUE(CFontManager::AddToMasterList(MakeFont("Courier")));
        EXPECT_FALSE(QFileInfo::exists(PathOf("WvdFontsV2.dat")));
    }
    ASSERT_TRUE(QFileInfo::exists(PathOf("WvdFontsV2.dat")));

    CFontManager again;
    EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Courier")});
    const CAS400FontLib* library = CFontManager::FindFontLibrary(QStringLiteral("LIB"));
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->IsInstalled());
}

TEST_F(MasterFontFileTest, TwoManagersReadOnceAndTheLastOneWrites)
{
    WriteMaster({"Courier"});
    auto first = std::make_unique<CFontManager>();
    auto second = std::make_unique<CFontManager>();
    ASSERT_EQ(MasterFaces().size(), 1);
    ASSERT_TRUE(QFile::remove(PathOf("WvdFontsV2.dat")));

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(PathOf("WvdFontsV2.dat")));
    second.reset();
    EXPECT_TRUE(QFileInfo::exists(PathOf("WvdFontsV2.dat")));
}

TEST_F(MasterFontFileTest, ManagersThatNeverUsedTheListsWriteNothing)
{
    {
        CFontManager unused;
    }
    EXPECT_FALSE(QFileInfo::exists(PathOf("WvdFontsV2.dat")));
    EXPECT_TRUE(m_prompts->Recorded().empty());
}

TEST_F(MasterFontFileTest, ANewFileReplacesTheListAndBecomesTheOldFile)
{
    WriteMaster({"Courier"});
    const QByteArray exchange = QByteArray::fromStdString(ExchangeLine("Imported", 0, 0, "NEWLIB"));
    WriteAll(PathOf("WvdFontsV2.dat.new"), exchange);
    WriteAll(PathOf("WvdFontsV2.dat.old"), "stale");
    {
        CFontManager fonts;
        EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Imported")});
        EXPECT_FALSE(QFileInfo::exists(PathOf("WvdFontsV2.dat.new")));
        EXPECT_EQ(ReadAll(PathOf("WvdFontsV2.dat.old")), exchange);
    }
    CFontManager reread;
    EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Imported")});
}

TEST_F(MasterFontFileTest, AFailedSwapIsReportedAndTheLoadGoesOn)
{
    WriteMaster({"Courier"});
    WriteAll(PathOf("WvdFontsV2.dat.new"), QByteArray::fromStdString(ExchangeLine("Imported", 0, 0, "NEWLIB")));
    // The old name is taken by a folder that cannot be removed as a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("WvdFontsV2.dat.old/inside")));

    CFontManager fonts;
    EXPECT_NO_THROW(CFontManager::GetMasterFontList());
    EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Imported")});
    EXPECT_GE(m_prompts->Recorded().size(), 1u);
}

TEST_F(MasterFontFileTest, DamagedFileKeepsWhatWasReadAndSaysSo)
{
    WriteMaster({"Courier", "Arial"});
    QByteArray bytes = ReadAll(PathOf("WvdFontsV2.dat"));
    // Cut inside the second font's record.
    bytes.chop(bytes.size() - bytes.indexOf(QByteArray("A\0r\0i\0a\0l", 9)) - 2);
    WriteAll(PathOf("WvdFontsV2.dat"), bytes);

    CFontManager fonts;
    EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Courier")});
    ASSERT_FALSE(Shown().isEmpty());
    EXPECT_EQ(Shown().back(), QStringLiteral("Error reading master font file: ") + PathOf("WvdFontsV2.dat"));
}

TEST_F(MasterFontFileTest, AShorterListSavedOverALongerFileReadsBackExactly)
{
    WriteMaster({"Courier", "Arial", "Times"});
    const qint64 longer = QFileInfo(PathOf("WvdFontsV2.dat")).size();
    {
        CFontManager fonts;
        CObList* master = CFontManager::GetMasterFontList();
        EXPECT_TRUE(fonts.DeleteMasterFont(static_cast<CAS400Font*>(master->GetTail())));
        EXPECT_TRUE(fonts.DeleteMasterFont(static_cast<CAS400Font*>(master->GetTail())));
    }
    EXPECT_LT(QFileInfo(PathOf("WvdFontsV2.dat")).size(), longer);
    const QStringList entries = QDir(m_dir.path()).entryList(QDir::Files);
    EXPECT_EQ(entries, QStringList{QStringLiteral("WvdFontsV2.dat")});

    CFontManager reread;
    EXPECT_EQ(MasterFaces(), QStringList{QStringLiteral("Courier")});
    EXPECT_EQ(m_prompts->Recorded().size(), 0u);
}

TEST_F(MasterFontFileTest, DeletingAsksWhyNotOnlyForFontsInUse)
{
    WriteMaster({"Courier", "Arial", "Times"});
    CFontManager fonts;
    CFontManager otherDocument;
    CObList* master = CFontManager::GetMasterFontList();
    auto* courier = static_cast<CAS400Font*>(master->GetHead());
    auto* arial = static_cast<CAS400Font*>(*std::next(master->begin()));
    auto* times = static_cast<CAS400Font*>(master->GetTail());
    fonts.GetFontList().SetPrimaryFont(0, courier);
    otherDocument.GetFontList().SetPrimaryFont(3, arial);

    EXPECT_FALSE(fonts.DeleteMasterFont(courier));
    EXPECT_FALSE(fonts.DeleteMasterFont(arial));
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_TRUE(Shown()[0].startsWith(QStringLiteral("You cannot delete the default font.")));
    EXPECT_EQ(Shown()[1], QStringLiteral("Cannot delete this font.  It is in use by a currently opened document."));

    EXPECT_TRUE(fonts.DeleteMasterFont(times));
    EXPECT_EQ(Shown().size(), 2);
    EXPECT_EQ(MasterFaces(), (QStringList{QStringLiteral("Courier"), QStringLiteral("Arial")}));
    // The record outlives its removal.
    EXPECT_EQ(times->GetTypeface(), QStringLiteral("Times"));
}

TEST_F(MasterFontFileTest, BestMatchScansEveryInstalledFont)
{
    CFontManager fonts;
    CAS400Font wanted(QStringLiteral("C1"), QStringLiteral("T1V10037"), 11, 0, 0, CAS400Font::FF_MODERN,
                      QStringLiteral("Courier"), 833, 100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"),
                      QStringLiteral("X0"), FALSE);
    auto* scoresZero = new CAS400Font(wanted);
    scoresZero->SetCodedFontName(QStringLiteral("Y0"));
    auto* scoresBelowZero = new CAS400Font(wanted);
    ASSERT_EQ(wanted.MatchScore(*scoresZero), 0);
    ASSERT_EQ(wanted.MatchScore(*scoresBelowZero), -300);
    ASSERT_TRUE(CFontManager::AddToMasterList(scoresZero));
    // An equal record is refused; make it differ where identity looks only.
    scoresBelowZero->SetFamily(CAS400Font::FF_MODERN | 1);
    ASSERT_TRUE(CFontManager::AddToMasterList(scoresBelowZero));

    EXPECT_EQ(CFontManager::FindBestMatch(&wanted), scoresBelowZero);

    CFontManager::FindFontLibrary(QStringLiteral("LIB"))->SetInstalled(FALSE);
    EXPECT_EQ(CFontManager::FindBestMatch(&wanted), nullptr);
    fonts.SetCharacterCell(800, 600, 8, 14);
    ASSERT_NE(fonts.GetFontList().GetHolder(0), nullptr);
    EXPECT_EQ(fonts.GetFontList().GetHolder(0)->GetPrimary(), nullptr);
}

TEST_F(MasterFontFileTest, AddingAnEqualFontIsRefused)
{
    CFontManager fonts;
    ASSERT_TRUE(CFontManager::AddToMasterList(MakeFont("Courier")));
    std::unique_ptr<CAS400Font> again(MakeFont("Courier"));
    EXPECT_FALSE(CFontManager::AddToMasterList(again.get()));
    EXPECT_EQ(MasterFaces().size(), 1);
}

TEST_F(MasterFontFileTest, DefaultFontFollowsTheGridThroughTheBestMatch)
{
    CFontManager fonts;
    CAS400Font* fixed = MakeFont("Courier");
    fixed->SetWidth(MulDivCell(8, 72));
    fixed->SetHeight(MulDivCell(14, 140));
    ASSERT_TRUE(CFontManager::AddToMasterList(fixed));
    ASSERT_TRUE(CFontManager::AddToMasterList(MakeFont("Wide", "LIB", CAS400Font::kBold)));

    fonts.SetCharacterCell(800, 600, 8, 14);
    EXPECT_EQ(fonts.GetFont(0), fixed);
    EXPECT_TRUE(fonts.IsUsableFontIndex(0));
}

} // namespace
