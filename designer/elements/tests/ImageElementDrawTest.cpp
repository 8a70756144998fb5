// What the image and resource elements put on the output pane: the image
// stretched over the element, at any zoom, turned on a landscape page, and a
// resource over the whole page.

#include "tests/support/ImageDocFixture.h"

#include "designer/document/Page.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "tests/support/FontFixtures.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

using kwvd::Rect;
using namespace imagetest;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

class ImageElementDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        env.OutputPage().SetWidth(827);
        env.OutputPage().SetHeight(1169);
        env.OutputPage().SetPixelSize(827, 1169);
        folder = env.Folder(QStringLiteral("draw"));
    }

    CDesignerDoc& Doc() const { return *env.doc; }

    // A picture whose left half is dark and right half white.
    QString HalfDark(const QString& name, int width, int height, int bits) const
    {
        TestBitmap bitmap(width, height, bits);
        bitmap.FillRect(0, 0, width / 2, height, 0);
        const QString path = QDir(folder).filePath(name);
        EXPECT_TRUE(bitmap.WriteBmp(path));
        return path;
    }

    CFormImageElement* PlaceImage(const QString& path, const Rect& rect)
    {
        CDocChangeGuard change(&Doc());
        env.env.prompts->AnswerFile(path);
        return static_cast<CFormImageElement*>(
            Doc().CreateNewElement(FormElementType::Image, PaneSide::Output, rect, nullptr));
    }

    // The pane at that zoom, white where nothing was drawn.
    static QImage Render(CFormElement& element, double zoom, QSize size = QSize(900, 1200))
    {
        QImage canvas(size, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.scale(zoom, zoom);
        element.DrawDest(painter);
        painter.end();
        return canvas;
    }

    static bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

    ImageDocEnvironment env;
    QString folder;
};

} // namespace

TEST_F(ImageElementDrawTest, ImageIsStretchedOverTheElementAtEveryZoom)
{
    struct Case
    {
        const char* name;
        int bits;
        double zoom;
    };
    const Case cases[] = {
        {"1 bit at 100%", 1, 1.0},
        {"1 bit at 200%", 1, 2.0},
        {"24 bits through the display cache at 100%", 24, 1.0},
        {"24 bits through the display cache at 50%", 24, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = HalfDark(QStringLiteral("half%1.bmp").arg(&c - cases), 40, 20, c.bits);
        CFormImageElement* element = PlaceImage(path, Rect(100, 100, 300, 200));
        ASSERT_NE(element, nullptr);
        ASSERT_NE(element->GetImage(), nullptr);
        element->Select(FALSE);
        const Rect r = element->DestRect();
        ASSERT_GT(r.Width(), 8);
        ASSERT_GT(r.Height(), 8);

        const QImage pane = Render(*element, c.zoom);
        auto at = [&](int x, int y) { return pane.pixel(static_cast<int>(x * c.zoom), static_cast<int>(y * c.zoom)); };
        const int middle = (r.top + r.bottom) / 2;
        EXPECT_TRUE(IsDark(at(r.left + r.Width() / 4, middle)));
        EXPECT_EQ(at(r.left + r.Width() * 3 / 4, middle), kWhite);
        // Nothing outside the element.
        EXPECT_EQ(at(r.left - 3, middle), kWhite);
        EXPECT_EQ(at(r.left + r.Width() / 4, r.top - 3), kWhite);
        EXPECT_EQ(at(r.left + r.Width() / 4, r.bottom + 3), kWhite);

        CDocChangeGuard change(&Doc());
        Doc().DeleteElement(element, TRUE);
    }
}

TEST_F(ImageElementDrawTest, LandscapeImageIsShownTurned)
{
    env.OutputPage().SetOrientation(1);
    // Dark on the left of the file: turned by a quarter, dark at the top or
    // at the bottom of the element, and the element higher than wide.
    const QString path = HalfDark(QStringLiteral("turned.bmp"), 80, 20, 1);
    CFormImageElement* element = PlaceImage(path, Rect(100, 100, 200, 200));
    ASSERT_NE(element, nullptr);
    ASSERT_NE(element->GetImage(), nullptr);
    ASSERT_TRUE(element->GetImage()->IsRotated());
    element->Select(FALSE);
    const Rect r = element->DestRect();
    EXPECT_GT(r.Height(), r.Width());

    const QImage pane = Render(*element, 1.0);
    const int centre = (r.left + r.right) / 2;
    const QRgb top = pane.pixel(centre, r.top + r.Height() / 4);
    const QRgb bottom = pane.pixel(centre, r.top + r.Height() * 3 / 4);
    EXPECT_NE(IsDark(top), IsDark(bottom));
    EXPECT_TRUE(top == kWhite || bottom == kWhite);
    // Across the element, the file's rows: one shade from side to side.
    EXPECT_EQ(IsDark(pane.pixel(r.left + 2, r.top + r.Height() / 4)), IsDark(top));
    EXPECT_EQ(IsDark(pane.pixel(r.right - 3, r.top + r.Height() / 4)), IsDark(top));
}

TEST_F(ImageElementDrawTest, ResourceCoversTheWholePage)
{
    const QString path = HalfDark(QStringLiteral("form.bmp"), 83, 117, 1);
    CResource* resource = nullptr;
    CFormResourceElement* element = nullptr;
    {
        CDocChangeGuard change(&Doc());
        auto owned = std::make_unique<CResource>(&Doc());
        ASSERT_TRUE(owned->LoadImage(path));
        ASSERT_EQ(Doc().GetResourceManager()->Add(owned.get()), 0);
        resource = owned.release();
        element =
            static_cast<CFormResourceElement*>(Doc().CreateNewElement(FormElementType::Resource, 0, Rect(), nullptr));
        ASSERT_NE(element, nullptr);
        ResourcePageData data;
        data.resourceIndex = 0;
        ASSERT_TRUE(element->ApplyPage(data, ResourcePageData::ResourceIndex));
    }
    element->Select(FALSE);
    EXPECT_EQ(resource->GetRect(), Rect(0, 0, 827, 1169));

    const QImage pane = Render(*element, 1.0);
    EXPECT_TRUE(IsDark(pane.pixel(200, 600)));
    EXPECT_EQ(pane.pixel(620, 600), kWhite);
    EXPECT_TRUE(IsDark(pane.pixel(5, 5)));
    EXPECT_EQ(pane.pixel(821, 1160), kWhite);
    // The pane beyond the page stays empty.
    EXPECT_EQ(pane.pixel(860, 600), kWhite);
    EXPECT_EQ(pane.pixel(200, 1185), kWhite);
}
