// The Page Setup sheet driven offscreen over the values of a new document:
// what each page shows, the checks that keep it open, the buttons that
// change other controls, what OK hands back, and the pages as pictures.

#include "designer/document/ui/PageSetupSheet.h"

#include "designer/controls/CCSIDComboBox.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

class PageSetupSheetTest : public ::testing::Test
{
protected:
    enum Page {
        Size,
        Output,
        PagePage,
        Conditional,
        Language,
        Information
    };

    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.FirstPageText().SetValue(QString());
        doc.FirstPageTextLine().SetValue(4);
        doc.FirstPageTextColumn().SetValue(20);
        doc.FirstPageTextWidth().SetValue(6);
        doc.FillPageSetup(values);
        sheet = std::make_unique<CPageSetupSheet>(values, doc.GetOutputPage()->GetFontManager());
    }

    template <class Widget = QWidget>
    Widget* Control(Page page, int id)
    {
        EXPECT_TRUE(sheet->SetActivePage(page));
        return dynamic_cast<Widget*>(FindDialogControl(sheet->GetPageView(page), id));
    }

    QLineEdit* EditOf(Page page, int id) { return Control<QLineEdit>(page, id); }

    WvdTestEnvironment env;
    ScopedPromptAnswers prompts;
    CDesignerDoc doc;
    PageSetupValues values;
    std::unique_ptr<CPageSetupSheet> sheet;
};

TEST_F(PageSetupSheetTest, SixPagesInTheListLook)
{
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Page Setup"));
    const QStringList titles = {"Size", "Output", "Page", "Conditional", "Language", "Information"};
    ASSERT_EQ(sheet->GetPageCount(), titles.size());
    for (int i = 0; i < titles.size(); ++i)
        EXPECT_EQ(sheet->NavigationList()->item(i)->text(), titles[i]);
    EXPECT_EQ(sheet->NavigationList()->width(), CNavigationSheet::kDefaultNavigationWidth);
}

TEST_F(PageSetupSheetTest, SizePageShowsInchesAndTwips)
{
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_WIDTH)->text(), QStringLiteral("8.27"));
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_HEIGHT)->text(), QStringLiteral("11.69"));
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_BORDER)->text(), QStringLiteral("360"));
    EXPECT_TRUE(Control<QRadioButton>(Size, CPageSizePropPage::IDC_PORTRAIT)->isChecked());
}

TEST_F(PageSetupSheetTest, EntriesOutOfRangeKeepTheSheetOpen)
{
    struct Case
    {
        const char* name;
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"width 0", CPageSizePropPage::IDC_WIDTH, "0", "Enter a number between 0.01 and 99."},
        {"height 100", CPageSizePropPage::IDC_HEIGHT, "100", "Enter a number between 0.01 and 99."},
        {"width not a number", CPageSizePropPage::IDC_WIDTH, "8,5x", "Enter a number."},
        {"border 2881", CPageSizePropPage::IDC_BORDER, "2881", "Enter an integer between 0 and 2880."},
        {"characters 0", CPageSizePropPage::IDC_CPI, "0", "Enter an integer between 1 and 99."},
        {"lines 100", CPageSizePropPage::IDC_LPI, "100", "Enter an integer between 1 and 99."},
    };
    for (const Case& c : cases) {
        SetUp();
        prompts.Renew();
        QLineEdit* edit = EditOf(Size, c.id);
        edit->setText(QString::fromLatin1(c.text));
        sheet->accept();
        EXPECT_NE(sheet->result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(prompts.Texts(), QStringList{QString::fromLatin1(c.message)}) << c.name;
        EXPECT_EQ(sheet->GetActiveIndex(), Size) << c.name;
        // Another page cannot be chosen either.
        EXPECT_FALSE(sheet->SetActivePage(Output)) << c.name;
    }
}

TEST_F(PageSetupSheetTest, OrientationSwapsTheSizeShown)
{
    auto* landscape = Control<QRadioButton>(Size, CPageSizePropPage::IDC_LANDSCAPE);
    auto* portrait = Control<QRadioButton>(Size, CPageSizePropPage::IDC_PORTRAIT);
    landscape->click();
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_WIDTH)->text(), QStringLiteral("11.69"));
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_HEIGHT)->text(), QStringLiteral("8.27"));
    portrait->click();
    EXPECT_EQ(EditOf(Size, CPageSizePropPage::IDC_WIDTH)->text(), QStringLiteral("8.27"));
    landscape->click();
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(values.size.orientation, 1);
    EXPECT_DOUBLE_EQ(values.size.width, 11.69);
    EXPECT_DOUBLE_EQ(values.size.height, 8.27);
}

TEST_F(PageSetupSheetTest, OrientationRefusedWhileTheSizeIsBad)
{
    EditOf(Size, CPageSizePropPage::IDC_WIDTH)->setText(QStringLiteral("0"));
    Control<QRadioButton>(Size, CPageSizePropPage::IDC_LANDSCAPE)->click();
    EXPECT_EQ(prompts.Texts().size(), 1);
    EXPECT_TRUE(Control<QRadioButton>(Size, CPageSizePropPage::IDC_PORTRAIT)->isChecked())
        << "the button shows the orientation the size is for";
    EXPECT_EQ(values.size.orientation, 0);
}

TEST_F(PageSetupSheetTest, UpDownsWrapAtTheirEnds)
{
    struct Case
    {
        const char* name;
        Page page;
        int editId;
        int upDownId;
        const char* start;
        int direction;
        const char* after;
    };
    const Case cases[] = {
        {"border past 2880", Size, CPageSizePropPage::IDC_BORDER, CPageSizePropPage::IDC_BORDER_SPIN, "2880", 1, "0"},
        {"characters below 1", Size, CPageSizePropPage::IDC_CPI, CPageSizePropPage::IDC_CPI_SPIN, "1", -1, "20"},
        {"lines past 15", Size, CPageSizePropPage::IDC_LPI, CPageSizePropPage::IDC_LPI_SPIN, "15", 1, "1"},
        {"from past 999", PagePage, CPagePagePropPage::IDC_FROM, CPagePagePropPage::IDC_FROM_SPIN, "999", 1, "0"},
        {"line below 0", Conditional, CPageCondPropPage::IDC_LINE, CPageCondPropPage::IDC_LINE_SPIN, "0", -1, "999"},
    };
    for (const Case& c : cases) {
        QLineEdit* edit = EditOf(c.page, c.editId);
        edit->setText(QString::fromLatin1(c.start));
        auto* upDown = Control<CUpDownControl>(c.page, c.upDownId);
        ASSERT_NE(upDown, nullptr) << c.name;
        upDown->Step(c.direction);
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.after)) << c.name;
    }
}

TEST_F(PageSetupSheetTest, OutputListStandsForTheTypes)
{
    auto* type = Control<QComboBox>(Output, CPageOutputPropPage::IDC_TYPE);
    ASSERT_EQ(type->count(), 8);
    EXPECT_EQ(type->currentText(), QStringLiteral("*SCS"));
    type->setCurrentIndex(type->findText(QStringLiteral("*FIL")));
    EditOf(Output, CPageOutputPropPage::IDC_NAME)->setText(QStringLiteral("files"));
    sheet->accept();
    EXPECT_EQ(values.output.type, 6);
    EXPECT_EQ(values.output.name, QStringLiteral("FILES")) << "the name is typed in upper case";
}

TEST_F(PageSetupSheetTest, ConditionalModesEnableTheirControls)
{
    auto* text = Control<QRadioButton>(Conditional, CPageCondPropPage::IDC_MODE_TEXT);
    auto* position = Control<QRadioButton>(Conditional, CPageCondPropPage::IDC_MODE_POSITION);
    auto* andPosition = Control<QCheckBox>(Conditional, CPageCondPropPage::IDC_AND_POSITION);
    QLineEdit* column = EditOf(Conditional, CPageCondPropPage::IDC_COLUMN);
    QLineEdit* line = EditOf(Conditional, CPageCondPropPage::IDC_LINE);
    auto* compare = Control<QComboBox>(Conditional, CPageCondPropPage::IDC_COMPARE_TYPE);
    QLineEdit* compareText = EditOf(Conditional, CPageCondPropPage::IDC_TEXT);

    EXPECT_TRUE(position->isChecked()) << "no comparison text: position mode";
    EXPECT_FALSE(compareText->isEnabled());
    EXPECT_EQ(line->text(), QStringLiteral("4"));
    compare->setCurrentIndex(1);

    text->click();
    EXPECT_TRUE(compareText->isEnabled());
    EXPECT_FALSE(compare->isEnabled());
    EXPECT_EQ(compare->currentIndex(), 0) << "text compares Equal To";
    EXPECT_FALSE(column->isEnabled());
    EXPECT_EQ(column->text(), QStringLiteral("0"));
    EXPECT_FALSE(line->isEnabled());
    EXPECT_EQ(line->text(), QStringLiteral("0"));

    andPosition->click();
    EXPECT_TRUE(column->isEnabled());

    compareText->setText(QStringLiteral("INVOICE"));
    position->click();
    EXPECT_TRUE(compareText->text().isEmpty());
    EXPECT_FALSE(andPosition->isChecked());
    EXPECT_TRUE(line->isEnabled());
}

TEST_F(PageSetupSheetTest, ConditionalValueChecks)
{
    Control<QRadioButton>(Conditional, CPageCondPropPage::IDC_MODE_POSITION);
    EditOf(Conditional, CPageCondPropPage::IDC_WIDTH)->setText(QStringLiteral("100"));
    sheet->accept();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Enter an integer between 0 and 99.")});
}

TEST_F(PageSetupSheetTest, PagesNeverShownKeepTheirValues)
{
    ASSERT_TRUE(sheet->SetActivePage(Size));
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(values.header.compareMode, PageHeaderValues::ComparePosition);
    EXPECT_EQ(values.header.line, 4);
    EXPECT_EQ(values.header.column, 20);
    EXPECT_EQ(values.header.width, 6);
}

TEST_F(PageSetupSheetTest, PagePageShowsTheResourceReadOnly)
{
    doc.ResourceLibrary().SetValue(QStringLiteral("QGPL"));
    doc.FillPageSetup(values);
    sheet = std::make_unique<CPageSetupSheet>(values, nullptr);
    QLineEdit* resource = EditOf(PagePage, CPagePagePropPage::IDC_PRINTER_RESOURCE);
    EXPECT_EQ(resource->text(), QStringLiteral("QGPL"));
    EXPECT_TRUE(resource->isReadOnly());
    EditOf(PagePage, CPagePagePropPage::IDC_FROM)->setText(QStringLiteral("2"));
    Control<QCheckBox>(PagePage, CPagePagePropPage::IDC_IGNORE_FIRST)->click();
    sheet->accept();
    EXPECT_EQ(values.header.pagesFrom, 2);
    EXPECT_EQ(values.header.ignoreFirstPage, 1);
}

TEST_F(PageSetupSheetTest, LanguagePageTakesTheCodePageAndCharSet)
{
    auto* codePage = Control<CCSIDComboBox>(Language, CPageLanguagePropPage::IDC_CODE_PAGE);
    ASSERT_NE(codePage, nullptr);
    ASSERT_GE(codePage->SelectCCSID(500), 0);
    auto* charSet = Control<QComboBox>(Language, CPageLanguagePropPage::IDC_CHAR_SET);
    ASSERT_EQ(charSet->count(), 13);
    charSet->setCurrentIndex(2);
    EXPECT_TRUE(EditOf(Language, CPageLanguagePropPage::IDC_GROUP_NAME)->isReadOnly());
    sheet->accept();
    EXPECT_EQ(values.language.codePageId, 500);
    EXPECT_EQ(values.language.charSetName, QString::fromLatin1(WindowsCharSetTable()[2].name));
}

TEST_F(PageSetupSheetTest, ChosenDefaultFontWaitsForOk)
{
    CAS400Font* letter = WvdTestEnvironment::AddInstalledFont(QStringLiteral("Letter"), 2);
    CFontManager& fonts = *doc.GetOutputPage()->GetFontManager();
    const CAS400Font* before = fonts.GetFont(0);
    ASSERT_NE(before, letter);
    const FontDialogRunner previous = SetFontDialogRunner([letter](CFontManager&, FontDialogRun& run) {
        run.primary = letter;
        return TRUE;
    });
    Control<QPushButton>(Language, CPageLanguagePropPage::IDC_CHOOSE_FONT)->click();
    SetFontDialogRunner(previous);

    EXPECT_EQ(Control<QLabel>(Language, CPageLanguagePropPage::IDC_DEFAULT_FONT)->text(), letter->GetDescription());
    EXPECT_EQ(fonts.GetFont(0), before) << "nothing is applied before OK";
    sheet->accept();
    EXPECT_TRUE(values.language.defaultFontChosen);
    EXPECT_EQ(values.language.primaryFont, letter);
}

TEST_F(PageSetupSheetTest, InformationPageShowsTheBuild)
{
    values.info.buildId = 42;
    values.info.uploadPath = QStringLiteral("/host/INVOICE.WVD");
    sheet = std::make_unique<CPageSetupSheet>(values, nullptr);
    EXPECT_EQ(EditOf(Information, CPageInfoPropPage::IDC_BUILD_ID)->text(), QStringLiteral("42"));
    EXPECT_EQ(EditOf(Information, CPageInfoPropPage::IDC_UPLOAD_PATH)->text(), QStringLiteral("/host/INVOICE.WVD"));
}

TEST_F(PageSetupSheetTest, PagesAsPictures)
{
    const char* names[] = {"Size", "Output", "Page", "Conditional", "Language", "Information"};
    sheet->resize(560, 420);
    sheet->show();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
        ASSERT_TRUE(sheet->SetActivePage(i));
        const QImage image = sheet->grab().toImage();
        EXPECT_FALSE(image.isNull());
        const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/PageSetup%1.png").arg(QString::fromLatin1(names[i]));
        EXPECT_TRUE(image.save(path)) << names[i];
    }
    sheet->hide();
}

} // namespace
