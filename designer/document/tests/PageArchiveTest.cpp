// The page's WVD form: the current schema byte for byte, the older schemas'
// gates (border from 3, font manager as an object from 2, inline before),
// the font manager bound to the page after a load, and damaged pages.

#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/ScreenResolution.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/FontTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// "CPage" as a new class of the given schema.
Bytes PageClass(WORD schema)
{
    return Hex("FF FF") + Word(schema) + Hex("05 00") + Ascii("CPage");
}

const char* const kFontManagerClass = "FF FF 06 00 0C 00";

// Width 1100, height 850, 12 cpi, 8 lpi, landscape.
const char* const kLandscapeFields = "4C 04 00 00  52 03 00 00  0C 00 00 00  08 00 00 00  01 00";

// A schema-6 font manager: group "GRP1", no description, 10 fonts, list
// choice 1, default following the grid, printer-resident fonts, character
// set 0xEE, CCSID 285, server code page "T1V10285", and one empty slot in
// each array.
Bytes FontManagerFields()
{
    return Hex("FF FE FF 04  47 00 52 00 50 00 31 00") + Hex("FF FE FF 00") + Hex("0A 00 00 00  01 00 00 00")
           + Hex("01 00  01 00  EE  1D 01 00 00") + Hex("FF FE FF 08  54 00 31 00 56 00 31 00 30 00 32 00 38 00 35 00")
           + Hex("01 00 00 00") + Hex("01 00 00 00");
}

Bytes FontManagerObject()
{
    return Hex(kFontManagerClass) + Ascii("CFontManager") + FontManagerFields();
}

class PageArchiveTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
    }
    void TearDown() override
    {
        kwvd::ScreenResolution::Reset();
        FontTestEnvironment::TearDown();
    }

    static void MakeLandscape(CPage& page)
    {
        page.SetWidth(1100);
        page.SetHeight(850);
        page.SetCharsPerInch(12);
        page.SetLinesPerInch(8);
        page.SetOrientation(1);
        page.SetBorder(300);
        page.RecalcGrid();
        CFontManager& fonts = *page.GetFontManager();
        fonts.SetFontGroupName(QStringLiteral("grp1"));
        fonts.SetDisplayCharSet(0xEE);
        fonts.SetCodePageId(285);
        fonts.GetLanguageDefaults().serverCodePage = QStringLiteral("T1V10285");
    }

    // Reads one page object; the archive's objects are the caller's.
    static std::unique_ptr<CPage> ReadPage(const Bytes& bytes)
    {
        std::unique_ptr<CPage> page;
        Load(bytes, [&](CArchive& ar) { page.reset(ar.ReadObject<CPage>()); });
        return page;
    }
};

TEST_F(PageArchiveTest, CurrentSchemaStoresFieldsThenTheFontManagerObject)
{
    CPage page;
    MakeLandscape(page);
    ASSERT_EQ(page.GetFontManager()->GetFontList().GetSize(), 1) << "one empty default slot expected";

    const Bytes stored = Store([&](CArchive& ar) { ar.WriteObject(&page); });

    const Bytes expected = PageClass(3) + Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject();
    EXPECT_EQ(stored, expected);

    const std::unique_ptr<CPage> loaded = ReadPage(stored);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetWidth(), 1100);
    EXPECT_EQ(loaded->GetHeight(), 850);
    EXPECT_EQ(loaded->GetCharsPerInch(), 12);
    EXPECT_EQ(loaded->GetLinesPerInch(), 8);
    EXPECT_EQ(loaded->GetOrientation(), 1);
    EXPECT_EQ(loaded->GetBorder(), 300);
    EXPECT_EQ(loaded->GetCellWidth(), page.GetCellWidth());
    EXPECT_EQ(loaded->GetPixelWidth(), page.GetPixelWidth());
    EXPECT_EQ(loaded->GetPixelHeight(), page.GetPixelHeight());
}

TEST_F(PageArchiveTest, OlderSchemasReadThroughTheirGates)
{
    struct Case
    {
        const char* name;
        Bytes bytes;
        WORD border;
    };
    const Case cases[] = {
        {"schema 3", PageClass(3) + Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject(), 300},
        // No border; the manager is still an object of its own schema.
        {"schema 2", PageClass(2) + Hex(kLandscapeFields) + FontManagerObject(), CPage::kDefaultBorder},
        // No border; the manager's fields inline, read with the page's schema
        // (group, description, maximum, list choice, primary array only).
        {"schema 1",
         PageClass(1) + Hex(kLandscapeFields)
             + Hex("FF FE FF 04  47 00 52 00 50 00 31 00  FF FE FF 00  0A 00 00 00  01 00 00 00  01 00 00 00"),
         CPage::kDefaultBorder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CPage> page;
        Load(c.bytes, [&](CArchive& ar) {
            page.reset(ar.ReadObject<CPage>());
            // Nothing may be left over.
            BYTE extra = 0;
            EXPECT_EQ(ar.Read(&extra, 1), 0u);
        });
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GetWidth(), 1100);
        EXPECT_EQ(page->GetLinesPerInch(), 8);
        EXPECT_EQ(page->GetOrientation(), 1);
        EXPECT_EQ(page->GetBorder(), c.border);
        CFontManager* fonts = page->GetFontManager();
        ASSERT_NE(fonts, nullptr);
        EXPECT_EQ(fonts->GetFontGroupName(), QStringLiteral("GRP1"));
        EXPECT_EQ(fonts->GetPage(), page.get());
        EXPECT_EQ(fonts->GetPagePixelSize(), QSize(page->GetPixelWidth(), page->GetPixelHeight()));
    }
}

TEST_F(PageArchiveTest, PageReadInPlaceTakesTheCurrentForm)
{
    // Old documents have their page read straight into the page they made.
    CPage page;
    const Bytes bytes = Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject();
    Load(bytes, [&](CArchive& ar) { page.Serialize(ar); });
    EXPECT_EQ(page.GetBorder(), 300);
    EXPECT_EQ(page.GetFontManager()->GetFontGroupName(), QStringLiteral("GRP1"));
    EXPECT_EQ(page.GetFontManager()->GetPage(), &page);
}

TEST_F(PageArchiveTest, DamagedPagesAreRefusedAndLeaveThePageAsItWas)
{
    const Bytes whole = Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject();
    struct Case
    {
        const char* name;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"cut in the sizes", Hex("4C 04 00 00  52 03"), CArchiveException::endOfFile},
        {"cut in the font manager", Bytes(whole.begin(), whole.end() - 3), CArchiveException::endOfFile},
        {"another class where the manager stands", Hex(kLandscapeFields) + Hex("2C 01") + PageClass(3),
         CArchiveException::badClass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPage page;
        CFontManager* fontsBefore = page.GetFontManager();
        try {
            Load(c.bytes, [&](CArchive& ar) { page.Serialize(ar); });
            ADD_FAILURE() << "damaged page accepted";
        } catch (const CArchiveException& error) {
            EXPECT_EQ(error.m_cause, c.cause);
        }
        EXPECT_EQ(page.GetWidth(), CPage::kDefaultWidth);
        EXPECT_EQ(page.GetCharsPerInch(), CPage::kDefaultCharsPerInch);
        EXPECT_EQ(page.GetOrientation(), 0);
        EXPECT_EQ(page.GetBorder(), CPage::kDefaultBorder);
        EXPECT_EQ(page.GetFontManager(), fontsBefore);
    }
}

TEST_F(PageArchiveTest, DensityOfZeroOrLessReadsAsTheDefault)
{
    struct Case
    {
        const char* name;
        const char* densities; // characters then lines per inch, as stored
        int charsPerInch;
        int linesPerInch;
        bool defaulted;
    };
    const Case cases[] = {
        {"zero characters per inch", "00 00 00 00  08 00 00 00", CPage::kDefaultCharsPerInch, 8, true},
        {"negative lines per inch", "0C 00 00 00  FF FF FF FF", 12, CPage::kDefaultLinesPerInch, true},
        {"both zero", "00 00 00 00  00 00 00 00", CPage::kDefaultCharsPerInch, CPage::kDefaultLinesPerInch, true},
        {"both valid", "0C 00 00 00  08 00 00 00", 12, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes =
            Hex("4C 04 00 00  52 03 00 00") + Hex(c.densities) + Hex("01 00  2C 01") + FontManagerObject();
        CPage page;
        Load(bytes, [&](CArchive& ar) { page.Serialize(ar); });
        EXPECT_EQ(page.GetCharsPerInch(), c.charsPerInch);
        EXPECT_EQ(page.GetLinesPerInch(), c.linesPerInch);
        EXPECT_EQ(page.GetWidth(), 1100) << "the rest of the page is read";
        EXPECT_EQ(page.GetBorder(), 300);
        EXPECT_GT(page.GetCellWidth(), 1);
        EXPECT_EQ(page.TakeDefaultedDensity(), c.defaulted);
        EXPECT_FALSE(page.TakeDefaultedDensity()) << "told once";
    }
}

TEST_F(PageArchiveTest, NewerSchemaIsRefused)
{
    const Bytes bytes = PageClass(4) + Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject();
    try {
        ReadPage(bytes);
        ADD_FAILURE() << "schema 4 accepted";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::badSchema);
    }
}

TEST_F(PageArchiveTest, FontManagerOfAnotherPageIsNotTakenOver)
{
    // Ids: class CPage 1, first page 2, class CFontManager 3, its manager 4.
    // The second page names the first page's manager.
    const Bytes bytes = PageClass(3) + Hex(kLandscapeFields) + Hex("2C 01") + FontManagerObject() + Hex("01 80")
                        + Hex(kLandscapeFields) + Hex("2C 01") + Hex("04 00");
    std::unique_ptr<CPage> first;
    try {
        Load(bytes, [&](CArchive& ar) {
            first.reset(ar.ReadObject<CPage>());
            ar.ReadObject<CPage>();
        });
        ADD_FAILURE() << "shared font manager accepted";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::badIndex);
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetFontManager()->GetPage(), first.get());
    EXPECT_EQ(first->GetFontManager()->GetFontGroupName(), QStringLiteral("GRP1"));
}

} // namespace
