// The Image element's page without its window: the two sources of the
// image, the export format and quality shared by every user of the file,
// the file name typed, browsed and reloaded.

#include "designer/views/pages/tests/DataPositionPageFixture.h"

#include "designer/elements/FormImageElement.h"
#include "designer/resources/images/Image.h"
#include "designer/views/pages/ImagePropPage.h"

#include <ostream>

namespace {

using Page = CImagePropPage;

const QString kQualityRange = QStringLiteral("Enter an integer between 0 and 100.");

class ImagePageTest : public DataPositionPageTest
{
protected:
    CFormImageElement* FixedImage(const kwvd::Rect& cells)
    {
        auto* image = static_cast<CFormImageElement*>(Make(FormElementType::Image, cells));
        EXPECT_NE(image, nullptr);
        EXPECT_TRUE(image != nullptr && image->IsFixed());
        return image;
    }

    static std::unique_ptr<Page> PageFor(CFormElement* element) { return KindPage<Page>(element); }

    QStringList Messages() const { return env.Messages(); }

    // The user's choice in the format list.
    static void ChooseFormat(Page& page, const char* text)
    {
        page.Control(Page::IDC_FORMAT).selection =
            static_cast<int>(page.Control(Page::IDC_FORMAT).items.indexOf(QString::fromLatin1(text)));
        page.OnControlNotify(Page::IDC_FORMAT, PageNotification::SelChange);
    }

    static void SetQuality(Page& page, const QString& text)
    {
        Type(page, Page::IDC_QUALITY, text, PageNotification::KillFocus);
    }

    struct Shown
    {
        bool fileOn; // name, format and Browse
        bool qualityOn;
        bool positionOn; // column, line, width and their up-downs

        friend bool operator==(const Shown&, const Shown&) = default;
        friend std::ostream& operator<<(std::ostream& os, const Shown& s)
        {
            return os << "file " << s.fileOn << ", quality " << s.qualityOn << ", position " << s.positionOn;
        }
    };

    static Shown ShownOn(const Page& page)
    {
        const bool fileOn =
            Enabled(page, Page::IDC_FILE_NAME) && Enabled(page, Page::IDC_FORMAT) && Enabled(page, Page::IDC_BROWSE);
        bool positionOn = true;
        for (const int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_LINE, Page::IDC_LINE_SPIN,
                             Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN})
            positionOn = positionOn && Enabled(page, id);
        return {fileOn, Enabled(page, Page::IDC_QUALITY), positionOn};
    }
};

TEST_F(ImagePageTest, PositionClearsTheNameAndFileNameComesBackEmpty)
{
    CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
    ASSERT_NE(image, nullptr);
    auto page = PageFor(image);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, this->image);
    EXPECT_TRUE(Enabled(*page, Page::IDC_RELOAD));
    const DWORD start = Doc().GetBuildId();

    Click(*page, Page::IDC_POSITION_RADIO);
    EXPECT_FALSE(image->IsFixed());
    EXPECT_TRUE(image->GetImageName().isEmpty());
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, QString());
    EXPECT_EQ(ShownOn(*page), (Shown{false, false, true}));
    EXPECT_EQ(page->Control(Page::IDC_POSITION_RADIO).check, 1);
    EXPECT_EQ(page->Control(Page::IDC_FILE_RADIO).check, 0);
    EXPECT_TRUE(Enabled(*page, Page::IDC_RELOAD)) << "Reload is never disabled";
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    Click(*page, Page::IDC_FILE_RADIO);
    EXPECT_TRUE(image->IsFixed());
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, QString());
    EXPECT_TRUE(ShownOn(*page).fileOn);
    EXPECT_FALSE(ShownOn(*page).positionOn);
    EXPECT_EQ(Doc().GetBuildId(), start + 2);
}

TEST_F(ImagePageTest, QualityIsOnlyForJpegWithDocStandingForThePreference)
{
    struct Case
    {
        const char* name;
        int preference;
        const char* chosen;
        int format;
        bool qualityOn;
    };
    const Case cases[] = {
        {"*DOC with the preference JPEG", 2, "*DOC", -1, true},
        {"MMR", 2, "MMR", 0, false},
        {"JPEG", 0, "JPEG", 2, true},
        {"*DOC with the preference TIFF", 1, "*DOC", -1, false},
        {"TIFF (LZW)", 2, "TIFF (LZW)", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.env.prefs.ImageExportFormat = c.preference;
        CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
        ASSERT_NE(image, nullptr);
        auto page = PageFor(image);
        ASSERT_NE(page, nullptr);
        // Start elsewhere, so that each choice is a change.
        ChooseFormat(*page, c.format == 1 ? "MMR" : "TIFF");
        ChooseFormat(*page, c.chosen);
        EXPECT_EQ(image->GetImageFormat(), c.format);
        EXPECT_EQ(page->Data().format, c.format);
        EXPECT_EQ(page->Control(Page::IDC_FORMAT).items.at(page->Control(Page::IDC_FORMAT).selection),
                  QString::fromLatin1(c.chosen));
        EXPECT_EQ(Enabled(*page, Page::IDC_QUALITY), c.qualityOn);
    }
}

TEST_F(ImagePageTest, TwoElementsOnOneFileShareFormatAndQuality)
{
    CFormImageElement* first = FixedImage(Cells(3, 3, 10, 8));
    CFormImageElement* second = FixedImage(Cells(20, 3, 27, 8));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(first->GetImageIndex(), second->GetImageIndex());
    auto page = PageFor(first);
    ASSERT_NE(page, nullptr);
    ChooseFormat(*page, "JPEG");
    SetQuality(*page, QStringLiteral("55"));
    EXPECT_TRUE(Messages().isEmpty());

    auto other = PageFor(second);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->Data().format, 2);
    EXPECT_EQ(other->Control(Page::IDC_QUALITY).text, QStringLiteral("55"));
    EXPECT_EQ(second->GetImageQuality(), 55u);
    EXPECT_TRUE(Enabled(*other, Page::IDC_QUALITY));
}

TEST_F(ImagePageTest, QualityOutsideTheRangeIsReportedAndNothingApplied)
{
    struct Case
    {
        const char* name;
        const char* typed;
        QStringList messages;
        unsigned quality;
        int changes;
    };
    const Case cases[] = {
        {"100 is taken", "100", {}, 100, 1},
        {"0 is taken", "0", {}, 0, 1},
        {"101 is refused", "101", {kQualityRange}, 80, 0},
        {"1000 is refused", "1000", {kQualityRange}, 80, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
        ASSERT_NE(image, nullptr);
        {
            CDocChangeGuard change(&Doc());
            image->SetImageQuality(80);
            image->SetImageFormat(2);
        }
        auto page = PageFor(image);
        ASSERT_NE(page, nullptr);
        env.env.prompts->ClearRecorded();
        const DWORD start = Doc().GetBuildId();
        SetQuality(*page, QString::fromLatin1(c.typed));
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(image->GetImageQuality(), c.quality);
        EXPECT_EQ(Doc().GetBuildId(), start + c.changes);
    }
}

TEST_F(ImagePageTest, ReloadKeepsThePageAndRecordsNothing)
{
    CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
    ASSERT_NE(image, nullptr);
    auto page = PageFor(image);
    ASSERT_NE(page, nullptr);
    const DWORD start = Doc().GetBuildId();
    const ImagePageData before = page->Data();
    Click(*page, Page::IDC_RELOAD);
    EXPECT_EQ(Doc().GetBuildId(), start);
    EXPECT_EQ(page->Data().fileName, before.fileName);
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, this->image);
    EXPECT_TRUE(image->HasValidImage());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ImagePageTest, TypedNameThatDoesNotLoadIsPutBack)
{
    CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
    ASSERT_NE(image, nullptr);
    auto page = PageFor(image);
    ASSERT_NE(page, nullptr);
    const DWORD start = Doc().GetBuildId();
    const QString missing = env.Folder(QStringLiteral("images")) + QStringLiteral("/missing.bmp");
    Type(*page, Page::IDC_FILE_NAME, missing, PageNotification::KillFocus);
    EXPECT_EQ(image->GetImageName(), this->image);
    EXPECT_TRUE(image->HasValidImage());
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, this->image);
    EXPECT_EQ(Doc().GetBuildId(), start);

    // Another file that loads is taken.
    const QString other = env.WriteImage(env.Folder(QStringLiteral("images")), QStringLiteral("other.bmp"), 32, 32);
    Type(*page, Page::IDC_FILE_NAME, other, PageNotification::KillFocus);
    EXPECT_EQ(image->GetImageName(), other);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
}

TEST_F(ImagePageTest, BrowseCancelledChangesNothingAndAChosenFileIsTaken)
{
    CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
    ASSERT_NE(image, nullptr);
    auto page = PageFor(image);
    ASSERT_NE(page, nullptr);
    const DWORD start = Doc().GetBuildId();

    Click(*page, Page::IDC_BROWSE); // no answer: the chooser is cancelled
    EXPECT_EQ(image->GetImageName(), this->image);
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, this->image);
    EXPECT_EQ(Doc().GetBuildId(), start);

    const QString chosen = env.WriteImage(env.Folder(QStringLiteral("images")), QStringLiteral("chosen.bmp"), 48, 16);
    env.env.prompts->AnswerFile(chosen);
    Click(*page, Page::IDC_BROWSE);
    EXPECT_EQ(image->GetImageName(), chosen);
    EXPECT_TRUE(image->HasValidImage());
    EXPECT_EQ(page->Control(Page::IDC_FILE_NAME).text, chosen);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
}

TEST_F(ImagePageTest, PositionEditsAreCutToTheInputPage)
{
    CFormImageElement* image = FixedImage(Cells(3, 3, 10, 8));
    ASSERT_NE(image, nullptr);
    auto page = PageFor(image);
    ASSERT_NE(page, nullptr);
    Click(*page, Page::IDC_POSITION_RADIO);
    const int largestColumn = Input().GetPixelWidth() / Input().GetCellWidth();
    const int largestLine = Input().GetPixelHeight() / Input().GetCellHeight();
    EXPECT_EQ(page->Range(Page::IDC_COLUMN), std::pair(1, largestColumn));
    EXPECT_EQ(page->Range(Page::IDC_LINE), std::pair(1, largestLine));
    Type(*page, Page::IDC_LINE, QStringLiteral("9999"));
    EXPECT_EQ(page->Control(Page::IDC_LINE).text, QString::number(largestLine));
    EXPECT_EQ(image->GetSourceRect().top, (largestLine - 1) * Input().GetCellHeight());
    Type(*page, Page::IDC_COLUMN, QStringLiteral("4"));
    EXPECT_EQ(image->GetSourceRect().left, 3 * Input().GetCellWidth());
}

} // namespace
