// The Page Setup sheet's values: the Size page's transfer to and from the
// output page, the Output list's types, the header values handed to the
// pages and what OK writes back, what Cancel leaves, and Go to Page.

#include "designer/document/PageSetup.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

class HintLog : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(hint); }
    std::vector<LPARAM> hints;
};

struct SizeCase
{
    const char* name;
    int width, height, orientation, border; // as stored
    double shownWidth, shownHeight;
    int shownBorder;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.name;
}

class SizeFill : public ::testing::TestWithParam<SizeCase>
{};

TEST_P(SizeFill, ShowsInchesAndTwips)
{
    const SizeCase& c = GetParam();
    CPage page;
    page.SetWidth(c.width);
    page.SetHeight(c.height);
    page.SetOrientation(c.orientation);
    page.SetBorder(static_cast<WORD>(c.border));
    PageSizeValues values;
    page.FillSizePage(values);
    EXPECT_DOUBLE_EQ(values.width, c.shownWidth);
    EXPECT_DOUBLE_EQ(values.height, c.shownHeight);
    EXPECT_EQ(values.orientation, c.orientation);
    EXPECT_EQ(values.border, c.shownBorder);

    // Confirmed without a change, the page keeps what it had.
    EXPECT_FALSE(page.ApplySizePage(values));
    EXPECT_EQ(page.GetWidth(), c.width);
    EXPECT_EQ(page.GetHeight(), c.height);
    EXPECT_EQ(page.GetBorder(), c.border);
}

INSTANTIATE_TEST_SUITE_P(PageSetup, SizeFill,
                         ::testing::Values(SizeCase{"A4", 827, 1169, 0, 250, 8.27, 11.69, 360},
                                           SizeCase{"narrow", 115, 200, 0, 0, 1.15, 2.0, 0},
                                           SizeCase{"landscape", 1100, 850, 1, 1000, 11.0, 8.5, 1440},
                                           SizeCase{"odd_border", 251, 300, 0, 251, 2.51, 3.0, 361}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageSetupSize, StoresWhatTheUserEntered)
{
    struct Case
    {
        const char* name;
        double width, height;
        int border;
        int storedWidth, storedHeight, storedBorder;
    };
    const Case cases[] = {
        {"letter", 8.5, 11, 360, 850, 1100, 250},
        {"border of an inch", 8.27, 11.69, 1440, 827, 1169, 1000},
        {"largest border", 8.27, 11.69, 2880, 827, 1169, 2000},
        {"hundredths round", 1.156, 2.004, 360, 116, 200, 250},
    };
    for (const Case& c : cases) {
        CPage page;
        PageSizeValues values;
        page.FillSizePage(values);
        values.width = c.width;
        values.height = c.height;
        values.border = c.border;
        page.ApplySizePage(values);
        EXPECT_EQ(page.GetWidth(), c.storedWidth) << c.name;
        EXPECT_EQ(page.GetHeight(), c.storedHeight) << c.name;
        EXPECT_EQ(page.GetBorder(), c.storedBorder) << c.name;
    }
}

TEST(PageSetupSize, GridFollowsAChange)
{
    CPage page;
    const int cellWidth = page.GetCellWidth();
    PageSizeValues values;
    page.FillSizePage(values);
    values.charsPerInch = 15;
    values.linesPerInch = 8;
    EXPECT_TRUE(page.ApplySizePage(values));
    EXPECT_EQ(page.GetCharsPerInch(), 15);
    EXPECT_EQ(page.GetLinesPerInch(), 8);
    EXPECT_NE(page.GetCellWidth(), cellWidth) << "the grid was recomputed";
}

TEST(PageSetupSize, OrientationSwapsWidthAndHeight)
{
    CPage page;
    PageSizeValues values;
    page.FillSizePage(values);
    EXPECT_FALSE(values.ChangeOrientation(0)) << "the same orientation changes nothing";
    EXPECT_TRUE(values.ChangeOrientation(1));
    EXPECT_DOUBLE_EQ(values.width, 11.69);
    EXPECT_DOUBLE_EQ(values.height, 8.27);
    EXPECT_TRUE(values.ChangeOrientation(0));
    EXPECT_DOUBLE_EQ(values.width, 8.27);
    EXPECT_TRUE(values.ChangeOrientation(1));

    EXPECT_TRUE(page.ApplySizePage(values));
    EXPECT_EQ(page.GetWidth(), 1169);
    EXPECT_EQ(page.GetHeight(), 827);
    EXPECT_EQ(page.GetOrientation(), 1);
}

TEST(PageSetupOutput, EntriesStandForTheirTypes)
{
    struct Case
    {
        const char* entry;
        int type;
    };
    const Case cases[] = {
        {"*SCS", 0}, {"*AFP", 1}, {"*HPT", 2}, {"*FAX", 3}, {"*EML", 4}, {"*FIL", 6}, {"*DST", 7}, {"*DSP", 5},
    };
    for (int position = 0; position < PageOutputValues::kTypeCount; ++position) {
        const Case& c = cases[position];
        EXPECT_EQ(PageOutputValues::TypeEntry(position), QString::fromLatin1(c.entry)) << c.entry;
        EXPECT_EQ(PageOutputValues::TypeOfPosition(position), c.type) << c.entry;
        EXPECT_EQ(PageOutputValues::PositionOfType(c.type), position) << c.entry;
    }
    EXPECT_EQ(PageOutputValues::TypeOfPosition(8), -1);
    EXPECT_EQ(PageOutputValues::PositionOfType(8), -1);
    EXPECT_EQ(PageOutputValues::TypeEntry(-1), QString());
}

TEST(PageSetupHeader, CompareModeFromTheValues)
{
    struct Case
    {
        const char* name;
        const char* text;
        int column;
        int mode;
        int andPosition;
    };
    const Case cases[] = {
        {"text at a column", "INVOICE", 12, PageHeaderValues::CompareText, 1},
        {"text anywhere", "INVOICE", 0, PageHeaderValues::CompareText, 0},
        {"position alone", "", 12, PageHeaderValues::ComparePosition, 0},
    };
    for (const Case& c : cases) {
        PageHeaderValues values;
        values.compareText = QString::fromLatin1(c.text);
        values.column = c.column;
        values.DeriveCompareMode();
        EXPECT_EQ(values.compareMode, c.mode) << c.name;
        EXPECT_EQ(values.andPosition, c.andPosition) << c.name;
    }
}

TEST(PageSetupHeader, ButtonsEnforceTheMode)
{
    PageHeaderValues values;
    values.compareType = 1;
    values.compareText = QStringLiteral("TOTAL");
    values.line = 4;
    values.column = 7;
    values.width = 5;

    values.compareMode = PageHeaderValues::CompareText;
    values.andPosition = 1;
    values.ApplyCompareRules();
    EXPECT_EQ(values.compareType, 0) << "text compares Equal To";
    EXPECT_EQ(values.column, 7) << "the column stays with And position";
    EXPECT_EQ(values.line, 0);
    EXPECT_EQ(values.width, 0);

    values.andPosition = 0;
    values.ApplyCompareRules();
    EXPECT_EQ(values.column, 0);

    values.compareMode = PageHeaderValues::ComparePosition;
    values.andPosition = 1;
    values.ApplyCompareRules();
    EXPECT_TRUE(values.compareText.isEmpty());
    EXPECT_EQ(values.andPosition, 0);
}

TEST(PageSetupHeader, NumbersKeptWithinSixteenBits)
{
    EXPECT_EQ(ClampHeaderNumber(40000), 32767);
    EXPECT_EQ(ClampHeaderNumber(-40000), -32767);
    EXPECT_EQ(ClampHeaderNumber(12.9), 12);
    EXPECT_EQ(ClampHeaderNumber(std::numeric_limits<double>::quiet_NaN()), 0);
}

class PageSetupDocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetTitle(QStringLiteral("INVOICE"));
        doc.SetModifiedFlag(FALSE);
        doc.AddChangeListener(&log);
    }
    void TearDown() override { doc.RemoveChangeListener(&log); }

    // The first-page rule as fields: text, line, column, width, compare.
    void SetRule(const char* text, int line, int column, int width, const char* compare)
    {
        doc.FirstPageText().SetValue(QString::fromLatin1(text));
        doc.FirstPageTextLine().SetValue(line);
        doc.FirstPageTextColumn().SetValue(column);
        doc.FirstPageTextWidth().SetValue(width);
        doc.FirstPageCompare().SetValue(QString::fromLatin1(compare));
    }

    CFontManager& Fonts() { return *doc.GetOutputPage()->GetFontManager(); }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    HintLog log;
};

TEST_F(PageSetupDocTest, HeaderValuesHandedToThePages)
{
    doc.Description().SetValue(QStringLiteral("Invoices"));
    doc.FirstPageToProcess().SetValue(40000);
    doc.LastPageToProcess().SetValue(-40000);
    doc.IgnoreFirstPage().SetValue(QStringLiteral("Y"));
    doc.ResourceLibrary().SetValue(QStringLiteral("QGPL"));
    SetRule("INVOICE", 2, 10, 7, "NE");
    doc.GetUploadTime().Parse(QStringLiteral("2024-03-05-10.20.30.000000"));
    doc.SetUploadPath(QStringLiteral("/host/INVOICE.WVD"));

    PageSetupValues values;
    doc.FillPageSetup(values);
    EXPECT_EQ(values.header.description, QStringLiteral("Invoices"));
    EXPECT_EQ(values.header.pagesFrom, 32767);
    EXPECT_EQ(values.header.pagesTo, -32767);
    EXPECT_EQ(values.header.ignoreFirstPage, 1);
    EXPECT_EQ(values.header.compareType, 1);
    EXPECT_EQ(values.header.compareText, QStringLiteral("INVOICE"));
    EXPECT_EQ(values.header.line, 2);
    EXPECT_EQ(values.header.column, 10);
    EXPECT_EQ(values.header.width, 7);
    EXPECT_EQ(values.header.compareMode, PageHeaderValues::CompareText);
    EXPECT_EQ(values.header.andPosition, 1);
    EXPECT_EQ(values.header.printerResource, QStringLiteral("QGPL"));
    EXPECT_EQ(values.info.buildId, doc.GetBuildId());
    EXPECT_EQ(values.info.uploadTime, QStringLiteral("2024-03-05-10.20.30.000000"));
    EXPECT_EQ(values.info.uploadPath, QStringLiteral("/host/INVOICE.WVD"));
    EXPECT_TRUE(values.hasSize);
    EXPECT_DOUBLE_EQ(values.size.width, 8.27);
}

TEST_F(PageSetupDocTest, UnchangedValuesChangeNothing)
{
    // A position-mode rule, as a page never shown hands it back.
    SetRule("", 3, 12, 5, "EQ");
    doc.IgnoreFirstPage().SetValue(QStringLiteral("N"));
    doc.FirstPageToProcess().SetValue(1);
    doc.LastPageToProcess().SetValue(9);
    PageSetupValues values;
    doc.FillPageSetup(values);
    CDocChangeGuard change(&doc);
    EXPECT_FALSE(doc.ApplyPageSetup(values));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(log.hints.empty());
    EXPECT_EQ(doc.FirstPageTextLine().GetValue(), 3);
    EXPECT_EQ(doc.FirstPageTextColumn().GetValue(), 12);
    EXPECT_EQ(doc.FirstPageTextWidth().GetValue(), 5);
}

TEST_F(PageSetupDocTest, TextModeWithoutPositionClearsTheNumbers)
{
    SetRule("", 3, 12, 5, "NE");
    PageSetupValues values;
    doc.FillPageSetup(values);
    values.header.compareMode = PageHeaderValues::CompareText;
    values.header.compareText = QStringLiteral("TOTAL");
    values.header.andPosition = 0;
    values.header.ApplyCompareRules();
    CDocChangeGuard change(&doc);
    EXPECT_TRUE(doc.ApplyPageSetup(values));
    EXPECT_EQ(doc.FirstPageText().GetValue(), QStringLiteral("TOTAL"));
    EXPECT_EQ(doc.FirstPageCompare().GetValue(), QStringLiteral("EQ"));
    for (CFixedLenNum* field : {&doc.FirstPageTextLine(), &doc.FirstPageTextColumn(), &doc.FirstPageTextWidth()}) {
        EXPECT_EQ(field->GetValue(), 0);
        EXPECT_TRUE(field->IsEmpty());
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(log.hints, std::vector<LPARAM>{DocumentHint::PageSetupChanged});
}

TEST_F(PageSetupDocTest, PositionModeEmptiesTheText)
{
    SetRule("TOTAL", 0, 4, 0, "EQ");
    PageSetupValues values;
    doc.FillPageSetup(values);
    values.header.compareMode = PageHeaderValues::ComparePosition;
    values.header.ApplyCompareRules();
    values.header.line = 6;
    values.header.width = 9;
    values.header.compareType = 1;
    CDocChangeGuard change(&doc);
    EXPECT_TRUE(doc.ApplyPageSetup(values));
    EXPECT_TRUE(doc.FirstPageText().GetValue().isEmpty());
    EXPECT_EQ(doc.FirstPageTextLine().GetValue(), 6);
    EXPECT_EQ(doc.FirstPageTextColumn().GetValue(), 4);
    EXPECT_EQ(doc.FirstPageTextWidth().GetValue(), 9);
    EXPECT_EQ(doc.FirstPageCompare().GetValue(), QStringLiteral("NE"));
}

TEST_F(PageSetupDocTest, PagesOutOfRangeAreWrittenBack)
{
    doc.FirstPageToProcess().SetValue(40000);
    PageSetupValues values;
    doc.FillPageSetup(values);
    CDocChangeGuard change(&doc);
    EXPECT_TRUE(doc.ApplyPageSetup(values)) << "a stored value beyond 16 bits never counts as equal";
    EXPECT_EQ(doc.FirstPageToProcess().GetValue(), 32767);
}

TEST_F(PageSetupDocTest, OutputAndLanguageApplyOnOk)
{
    PageSetupValues values;
    doc.FillPageSetup(values);
    values.output.name = QStringLiteral("FAXOUT");
    values.output.type = PageOutputValues::TypeOfPosition(5); // *FIL
    values.language.groupName = QStringLiteral("GROUPB");
    values.language.serverCodePage = QStringLiteral("T1000500");
    values.language.codePageId = 500;
    values.language.charSetName = QString::fromLatin1(WindowsCharSetTable()[2].name);
    {
        CDocChangeGuard change(&doc);
        EXPECT_TRUE(doc.ApplyPageSetup(values));
    }
    const COutputDevice* device = doc.GetOutputDeviceManager()->GetDefaultDevice();
    EXPECT_EQ(device->GetName(), QStringLiteral("FAXOUT"));
    EXPECT_EQ(device->GetType(), 6);
    EXPECT_EQ(Fonts().GetFontGroupName(), QStringLiteral("GROUPB"));
    EXPECT_EQ(Fonts().GetCodePageId(), 500);
    // The source page reads the spooled file in the same language.
    const CFontManager* source = doc.GetSourcePage()->GetFontManager();
    EXPECT_EQ(source->GetCodePageId(), 500);
    EXPECT_EQ(source->GetLanguageDefaults().serverCodePage, QStringLiteral("T1000500"));
    EXPECT_EQ(source->GetDisplayCharSet(), WindowsCharSetTable()[2].value);
}

TEST_F(PageSetupDocTest, CancelLeavesEverythingAsItWas)
{
    const COutputDevice* device = doc.GetOutputDeviceManager()->GetDefaultDevice();
    const QString deviceName = device->GetName();
    const int deviceType = device->GetType();
    const int codePage = Fonts().GetCodePageId();
    const QString group = Fonts().GetFontGroupName();
    const int listChoice = Fonts().GetFontListChoice();
    const qsizetype undoSteps = doc.GetUndoList().GetCount();
    const DWORD buildId = doc.GetBuildId();

    const BOOL applied = doc.OnFilePageSetup([this](PageSetupValues& values) {
        values.size.width = 3;
        values.output.name = QStringLiteral("OTHER");
        values.output.type = 3;
        values.header.description = QStringLiteral("changed");
        values.header.pagesFrom = 5;
        values.language.groupName = QStringLiteral("OTHER");
        values.language.codePageId = 37;
        Fonts().SetFontListChoice(1 - Fonts().GetFontListChoice()); // as the font dialog does on OK
        return false;
    });
    EXPECT_FALSE(applied);
    EXPECT_EQ(doc.GetOutputPage()->GetWidth(), CPage::kDefaultWidth);
    EXPECT_EQ(device->GetName(), deviceName);
    EXPECT_EQ(device->GetType(), deviceType);
    EXPECT_TRUE(doc.Description().GetValue().isEmpty());
    EXPECT_EQ(Fonts().GetCodePageId(), codePage);
    EXPECT_EQ(Fonts().GetFontGroupName(), group);
    EXPECT_EQ(Fonts().GetFontListChoice(), listChoice);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
    EXPECT_EQ(doc.GetBuildId(), buildId);
    EXPECT_TRUE(log.hints.empty());
}

TEST_F(PageSetupDocTest, OkCountsAsOneChange)
{
    const DWORD buildId = doc.GetBuildId();
    const BOOL applied = doc.OnFilePageSetup([](PageSetupValues& values) {
        values.size.width = 8.5;
        values.size.height = 11;
        return true;
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(doc.GetOutputPage()->GetWidth(), 850);
    EXPECT_EQ(doc.GetOutputPage()->GetHeight(), 1100);
    EXPECT_EQ(doc.GetBuildId(), buildId + 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PageSetupDocTest, SuppressedUpdatesSendNoHint)
{
    PageSetupValues values;
    doc.FillPageSetup(values);
    values.header.description = QStringLiteral("quiet");
    doc.SuppressUpdates();
    {
        CDocChangeGuard change(&doc);
        EXPECT_TRUE(doc.ApplyPageSetup(values));
    }
    EXPECT_TRUE(log.hints.empty());
    doc.ResumeUpdates();
}

class GotoPageTest : public PageSetupDocTest
{
protected:
    void SetUp() override
    {
        PageSetupDocTest::SetUp();
        {
            CDocChangeGuard change(&doc);
            for (int n = 1; n <= 12; ++n) {
                auto* lines = new CStringArray;
                lines->Add(QStringLiteral("PAGE %1").arg(n));
                ASSERT_TRUE(doc.GetSpooledFile()->SetPage(lines, n));
            }
            ASSERT_TRUE(doc.GetSpooledFile()->SetCurrentPage(3));
        }
        doc.SetModifiedFlag(FALSE);
        log.hints.clear();
    }
};

TEST_F(GotoPageTest, MovesWithoutAnUndoStep)
{
    const qsizetype undoSteps = doc.GetUndoList().GetCount();
    const DWORD buildId = doc.GetBuildId();
    int shownCurrent = 0;
    int shownTotal = 0;
    EXPECT_TRUE(doc.OnGotoSpooledPage([&](int current, int total) {
        shownCurrent = current;
        shownTotal = total;
        return 9;
    }));
    EXPECT_EQ(shownCurrent, 3);
    EXPECT_EQ(shownTotal, 12);
    EXPECT_EQ(doc.GetSpooledFile()->GetCurrentPageNumber(), 9);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
    EXPECT_EQ(doc.GetBuildId(), buildId);
    EXPECT_EQ(log.hints, std::vector<LPARAM>{DocumentHint::SpooledPageChanged});
}

TEST_F(GotoPageTest, CancelLeavesPageFlagAndUndo)
{
    const qsizetype undoSteps = doc.GetUndoList().GetCount();
    EXPECT_FALSE(doc.OnGotoSpooledPage([](int, int) { return 0; }));
    EXPECT_EQ(doc.GetSpooledFile()->GetCurrentPageNumber(), 3);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
    EXPECT_TRUE(log.hints.empty());
}

} // namespace

namespace {

TEST_F(PageSetupDocTest, DefaultFontChosenAppliesOnOk)
{
    CAS400Font* letter = WvdTestEnvironment::AddInstalledFont(QStringLiteral("Letter"), 2);
    ASSERT_NE(Fonts().GetFont(0), letter);
    PageSetupValues values;
    doc.FillPageSetup(values);
    values.language.defaultFontChosen = true;
    values.language.primaryFont = letter;
    {
        CDocChangeGuard change(&doc);
        EXPECT_TRUE(doc.ApplyPageSetup(values));
    }
    EXPECT_EQ(Fonts().GetFont(0), letter);
    EXPECT_FALSE(Fonts().GetDefaultFollowsGrid()) << "a font chosen no longer follows the grid";
}

TEST_F(PageSetupDocTest, UnlistedCharSetStaysWhileItsEntryIsKept)
{
    CDocChangeGuard change(&doc);
    PageSetupValues first;
    doc.FillPageSetup(first);
    doc.ApplyPageSetup(first); // a new document's header takes "EQ" and "N" here

    Fonts().SetDisplayCharSet(250); // no entry of the list
    PageSetupValues values;
    doc.FillPageSetup(values);
    EXPECT_FALSE(doc.ApplyPageSetup(values));
    EXPECT_EQ(Fonts().GetDisplayCharSet(), 250);
}

} // namespace
