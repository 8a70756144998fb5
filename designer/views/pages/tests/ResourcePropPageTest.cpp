// The Resource element's page without its window: the resources listed by
// path, browsing for a new one, reloading, and the format and quality
// written into the resource, which every element using it shares.

#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormResourceElement.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "designer/views/pages/ResourcePropPage.h"

#include <QFile>

namespace {

using Page = CResourcePropPage;

const QString kQualityRange = QStringLiteral("Enter an integer between 0 and 100.");

class ResourcePageTest : public TextKindPageTest
{
protected:
    CResourceManager& Resources() const { return *Doc().GetResourceManager(); }

    CFormResourceElement* ResourceElement()
    {
        auto* element = static_cast<CFormResourceElement*>(Make(FormElementType::Resource, kwvd::Rect()));
        EXPECT_NE(element, nullptr);
        return element;
    }

    QString ImageFile(const QString& name) const
    {
        return env.WriteImage(env.Folder(QStringLiteral("images")), name, 64, 32);
    }

    // Browsed on the page, the file chosen in the scripted chooser.
    void Browse(Page& page, const QString& file)
    {
        env.env.prompts->AnswerFile(file);
        page.OnControlNotify(Page::IDC_BROWSE, PageNotification::Clicked);
    }

    static void ChooseFormat(Page& page, const char* text)
    {
        Choose(page, Page::IDC_FORMAT,
               static_cast<int>(page.Control(Page::IDC_FORMAT).items.indexOf(QString::fromLatin1(text))));
    }

    static QString SelectedFormat(const Page& page)
    {
        const DialogControlState* format = page.FindControl(Page::IDC_FORMAT);
        return format->selection >= 0 ? format->items.at(format->selection) : QString();
    }
};

TEST_F(ResourcePageTest, WithoutAResourceNothingIsSelectedAndReloadRecordsNothing)
{
    CFormResourceElement* element = ResourceElement();
    ASSERT_NE(element, nullptr);
    auto* page = OwnPage<Page>(element);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->FindControl(Page::IDC_RESOURCE_LIST)->selection, -1);
    EXPECT_EQ(page->FindControl(Page::IDC_FORMAT)->selection, -1);
    EXPECT_FALSE(page->FindControl(Page::IDC_QUALITY)->enabled);
    EXPECT_EQ(page->FindControl(Page::IDC_FORMAT)->items, (QStringList{"MMR", "TIFF", "JPEG", "TIFF (LZW)", "*DOC"}));

    const DWORD start = Doc().GetBuildId();
    page->OnControlNotify(Page::IDC_RELOAD, PageNotification::Clicked);
    ChooseFormat(*page, "JPEG");
    Type(*page, Page::IDC_QUALITY, QStringLiteral("50"), PageNotification::KillFocus);
    EXPECT_EQ(Doc().GetBuildId(), start);
    EXPECT_TRUE(env.env.prompts->Recorded().empty());
}

TEST_F(ResourcePageTest, BrowseTakesTheFileAndTheListShowsPathsWithSlots)
{
    CFormResourceElement* element = ResourceElement();
    ASSERT_NE(element, nullptr);
    auto* page = OwnPage<Page>(element);
    ASSERT_NE(page, nullptr);
    const QString first = ImageFile(QStringLiteral("first.bmp"));
    const QString second = ImageFile(QStringLiteral("second.bmp"));
    const DWORD start = Doc().GetBuildId();

    Browse(*page, first);
    EXPECT_EQ(element->GetResourceIndex(), 0);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
    Browse(*page, second);
    EXPECT_EQ(element->GetResourceIndex(), 1);
    EXPECT_EQ(Doc().GetBuildId(), start + 2);

    // The first resource went with its last user: the list holds what is left.
    QStringList paths;
    for (int slot = 0; slot < Resources().GetSlotCount(); ++slot) {
        if (const CResource* resource = Resources().GetResource(slot))
            paths << resource->GetPath();
    }
    EXPECT_EQ(page->FindControl(Page::IDC_RESOURCE_LIST)->items, paths);
    const int selection = page->FindControl(Page::IDC_RESOURCE_LIST)->selection;
    ASSERT_GE(selection, 0);
    EXPECT_EQ(page->ListSlots().at(selection), element->GetResourceIndex());
    EXPECT_EQ(page->FindControl(Page::IDC_RESOURCE_LIST)->items.at(selection), second);

    // A cancelled chooser changes nothing.
    page->OnControlNotify(Page::IDC_BROWSE, PageNotification::Clicked);
    EXPECT_EQ(element->GetResourceIndex(), 1);
    EXPECT_EQ(Doc().GetBuildId(), start + 2);
}

TEST_F(ResourcePageTest, TwoElementsShareFormatAndQualityOnlyJpegHasAQuality)
{
    CFormResourceElement* a = ResourceElement();
    CFormResourceElement* b = ResourceElement();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    auto* page = OwnPage<Page>(a);
    ASSERT_NE(page, nullptr);
    Browse(*page, ImageFile(QStringLiteral("form.bmp")));
    ASSERT_EQ(a->GetResourceIndex(), 0);
    // The second element chooses the same resource from the list.
    page = OwnPage<Page>(b);
    ASSERT_NE(page, nullptr);
    Choose(*page, Page::IDC_RESOURCE_LIST, 0);
    ASSERT_EQ(b->GetResourceIndex(), 0);

    struct Case
    {
        const char* name;
        const char* format;
        int number;
        bool qualityOn;
    };
    const Case cases[] = {
        {"JPEG", "JPEG", 2, true},
        {"MMR", "MMR", 0, false},
        {"*DOC, whatever the preference", "*DOC", -1, false},
        {"TIFF (LZW)", "TIFF (LZW)", 3, false},
    };
    env.env.prefs.ImageExportFormat = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DWORD start = Doc().GetBuildId();
        ChooseFormat(*page, c.format);
        EXPECT_EQ(Resources().GetResource(0)->GetFormat(), c.number);
        EXPECT_EQ(page->FindControl(Page::IDC_QUALITY)->enabled, c.qualityOn);
        EXPECT_EQ(Doc().GetBuildId(), start + 1);
        // The same format again records nothing.
        ChooseFormat(*page, c.format);
        EXPECT_EQ(Doc().GetBuildId(), start + 1);
    }

    ChooseFormat(*page, "JPEG");
    const DWORD start = Doc().GetBuildId();
    Type(*page, Page::IDC_QUALITY, QStringLiteral("42"), PageNotification::KillFocus);
    EXPECT_EQ(Resources().GetResource(0)->GetQuality(), 42);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
    Type(*page, Page::IDC_QUALITY, QStringLiteral("101"), PageNotification::KillFocus);
    EXPECT_EQ(env.Messages(), QStringList{kQualityRange});
    EXPECT_EQ(Resources().GetResource(0)->GetQuality(), 42);
    EXPECT_EQ(page->FindControl(Page::IDC_QUALITY)->text, QStringLiteral("42"));
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    // The other element's page shows the same values.
    page = OwnPage<Page>(a);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SelectedFormat(*page), QStringLiteral("JPEG"));
    EXPECT_EQ(page->FindControl(Page::IDC_QUALITY)->text, QStringLiteral("42"));
}

TEST_F(ResourcePageTest, FormatThreeShowsAsItself)
{
    CFormResourceElement* element = ResourceElement();
    ASSERT_NE(element, nullptr);
    auto* page = OwnPage<Page>(element);
    ASSERT_NE(page, nullptr);
    Browse(*page, ImageFile(QStringLiteral("form.bmp")));
    {
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(Resources().GetResource(0)->SetFormat(3));
    }
    page = OwnPage<Page>(element);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SelectedFormat(*page), QStringLiteral("TIFF (LZW)"));
}

TEST_F(ResourcePageTest, EleventhResourceIsRefusedAndThePreviousKept)
{
    // Ten elements, each on a resource of its own.
    CFormResourceElement* element = nullptr;
    Page* page = nullptr;
    for (int i = 0; i < CResourceManager::kMaxResources; ++i) {
        element = ResourceElement();
        ASSERT_NE(element, nullptr);
        page = OwnPage<Page>(element);
        ASSERT_NE(page, nullptr);
        Browse(*page, ImageFile(QStringLiteral("r%1.bmp").arg(i)));
        ASSERT_EQ(element->GetResourceIndex(), i);
    }
    const int kept = element->GetResourceIndex();
    env.env.prompts->ClearRecorded();
    const DWORD start = Doc().GetBuildId();
    Browse(*page, ImageFile(QStringLiteral("eleventh.bmp")));
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("Maximum Resources already selected.The document "
                                                         "can have a maximum of 10 different Resources.")});
    EXPECT_EQ(element->GetResourceIndex(), kept);
    const int selection = page->FindControl(Page::IDC_RESOURCE_LIST)->selection;
    ASSERT_GE(selection, 0);
    EXPECT_EQ(page->ListSlots().at(selection), kept);
    EXPECT_EQ(page->FindControl(Page::IDC_RESOURCE_LIST)->items.size(), CResourceManager::kMaxResources);
    EXPECT_EQ(Doc().GetBuildId(), start);
}

TEST_F(ResourcePageTest, ReloadOfAMissingFileKeepsTheResource)
{
    CFormResourceElement* element = ResourceElement();
    ASSERT_NE(element, nullptr);
    auto* page = OwnPage<Page>(element);
    ASSERT_NE(page, nullptr);
    const QString file = ImageFile(QStringLiteral("form.bmp"));
    Browse(*page, file);
    ASSERT_EQ(element->GetResourceIndex(), 0);
    // The file is gone: the reload says so.
    ASSERT_TRUE(QFile::remove(file));
    page->OnControlNotify(Page::IDC_RELOAD, PageNotification::Clicked);
    EXPECT_FALSE(env.Messages().isEmpty());
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_EQ(element->GetResourceIndex(), 0);
    EXPECT_EQ(page->FindControl(Page::IDC_RESOURCE_LIST)->selection, 0);
}

} // namespace
