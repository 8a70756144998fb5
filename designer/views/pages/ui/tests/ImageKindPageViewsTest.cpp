// The Image, Barcode and Resource pages in the real sheet window,
// offscreen: their widgets by control id, what using them does to the
// element, and a picture of each page.

#include "designer/views/pages/ui/tests/OwnPageSheetFixture.h"

#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "designer/views/pages/BarcodePropPage.h"
#include "designer/views/pages/ImagePropPage.h"
#include "designer/views/pages/ResourcePropPage.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <functional>
#include <ostream>

namespace {

using Image = CImagePropPage;
using Barcode = CBarcodePropPage;
using Resource = CResourcePropPage;

class ImageKindSheetTest : public OwnPageSheetTest
{
public:
    CFormElement* FixedImage() { return Make(FormElementType::Image, Cells(3, 3, 10, 8)); }

    CFormElement* BarcodeOn(const char* name)
    {
        const int slot = Doc().GetBarcodeManager()->Add(CBarcode(QString::fromLatin1(name)));
        auto* element = static_cast<CFormBarcodeElement*>(
            Make(FormElementType::Barcode, In(3, 2, 12, 3), nullptr, PaneSide::Input));
        CDocChangeGuard change(&Doc());
        element->SetBarcodeIndex(slot);
        return element;
    }

    CFormElement* ResourceOn(const QString& file)
    {
        auto* element = static_cast<CFormResourceElement*>(Make(FormElementType::Resource, kwvd::Rect()));
        env.env.prompts->AnswerFile(file);
        CDocChangeGuard change(&Doc());
        ResourcePageData data;
        data.resourceIndex = Doc().GetResourceManager()->BrowseAndAdd(nullptr);
        element->ApplyPage(data, ResourcePageData::ResourceIndex);
        return element;
    }

    CFormElement* ResourceOnNewFile(const char* name)
    {
        return ResourceOn(env.WriteImage(env.Folder(QStringLiteral("images")), QString::fromLatin1(name), 64, 32));
    }
};

// ---------------------------------------------------------------- every page

struct ViewControl
{
    int id;
    const char* widgetClass;
};

struct PageViewCase
{
    const char* name;
    std::function<CFormElement*(ImageKindSheetTest&)> make;
    const char* title;
    std::vector<ViewControl> controls;
};

void PrintTo(const PageViewCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImageKindViewTest : public ImageKindSheetTest, public ::testing::WithParamInterface<PageViewCase>
{};

TEST_P(ImageKindViewTest, EveryControlIsThereAndThePageRendersToAPicture)
{
    const PageViewCase& c = GetParam();
    CFormElement* element = c.make(*this);
    ASSERT_NE(element, nullptr);
    QWidget* view = ShowOwnPage(element);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Window().Tabs()->tabText(1), QString::fromLatin1(c.title));
    for (const ViewControl& control : c.controls) {
        QWidget* widget = Find<QWidget>(view, control.id);
        ASSERT_NE(widget, nullptr);
        const bool right = QLatin1String(control.widgetClass) == QLatin1String("CUpDownControl")
                               ? dynamic_cast<CUpDownControl*>(widget) != nullptr
                               : widget->inherits(control.widgetClass);
        EXPECT_TRUE(right) << control.id << " is a " << widget->metaObject()->className();
    }
    SavePicture(c.name);
}

const PageViewCase kPageViewCases[] = {
    {"image",
     [](ImageKindSheetTest& t) { return t.FixedImage(); },
     "Image",
     {{Image::IDC_FILE_RADIO, "QRadioButton"},
      {Image::IDC_FILE_NAME, "QLineEdit"},
      {Image::IDC_FORMAT, "QComboBox"},
      {Image::IDC_QUALITY, "QLineEdit"},
      {Image::IDC_BROWSE, "QPushButton"},
      {Image::IDC_RELOAD, "QPushButton"},
      {Image::IDC_POSITION_RADIO, "QRadioButton"},
      {Image::IDC_COLUMN, "QLineEdit"},
      {Image::IDC_COLUMN_SPIN, "CUpDownControl"},
      {Image::IDC_LINE, "QLineEdit"},
      {Image::IDC_LINE_SPIN, "CUpDownControl"},
      {Image::IDC_FORCE_ABSOLUTE, "QCheckBox"},
      {Image::IDC_WIDTH, "QLineEdit"},
      {Image::IDC_WIDTH_SPIN, "CUpDownControl"},
      {Image::IDC_POSITION_GROUP, "QGroupBox"}}},
    {"barcode",
     [](ImageKindSheetTest& t) { return t.BarcodeOn("ZIP"); },
     "Barcode",
     {{Barcode::IDC_DATA_RADIO, "QRadioButton"},
      {Barcode::IDC_DATA, "QLineEdit"},
      {Barcode::IDC_POSITION_RADIO, "QRadioButton"},
      {Barcode::IDC_COLUMN, "QLineEdit"},
      {Barcode::IDC_COLUMN_SPIN, "CUpDownControl"},
      {Barcode::IDC_LINE, "QLineEdit"},
      {Barcode::IDC_LINE_SPIN, "CUpDownControl"},
      {Barcode::IDC_FORCE_ABSOLUTE, "QCheckBox"},
      {Barcode::IDC_WIDTH, "QLineEdit"},
      {Barcode::IDC_WIDTH_SPIN, "CUpDownControl"},
      {Barcode::IDC_BARCODE_LIST, "QComboBox"},
      {Barcode::IDC_SETTINGS, "QPushButton"},
      {Barcode::IDC_FONT, "QPushButton"},
      {Barcode::IDC_FONT_DESCRIPTION, "QLabel"},
      {Barcode::IDC_POSITION_GROUP, "QGroupBox"}}},
    {"resource",
     [](ImageKindSheetTest& t) { return t.ResourceOnNewFile("form.bmp"); },
     "Resource",
     {{Resource::IDC_RESOURCE_LIST, "QComboBox"},
      {Resource::IDC_RELOAD, "QPushButton"},
      {Resource::IDC_BROWSE, "QPushButton"},
      {Resource::IDC_FORMAT, "QComboBox"},
      {Resource::IDC_QUALITY, "QLineEdit"}}},
};

INSTANTIATE_TEST_SUITE_P(InTheSheet, ImageKindViewTest, ::testing::ValuesIn(kPageViewCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- notifications

TEST_F(ImageKindSheetTest, ImageWidgetsReachTheElement)
{
    auto* image = static_cast<CFormImageElement*>(FixedImage());
    QWidget* view = ShowOwnPage(image);
    auto* name = Find<QLineEdit>(view, Image::IDC_FILE_NAME);
    EXPECT_EQ(name->text(), this->image);
    auto* format = Find<QComboBox>(view, Image::IDC_FORMAT);
    auto* quality = Find<QLineEdit>(view, Image::IDC_QUALITY);
    EXPECT_EQ(format->count(), 5);
    EXPECT_EQ(quality->alignment() & Qt::AlignRight, Qt::AlignRight);

    // Choosing JPEG in the list reaches the image and turns the quality on.
    format->setCurrentIndex(2);
    emit format->activated(2);
    EXPECT_EQ(image->GetImageFormat(), 2);
    EXPECT_TRUE(quality->isEnabled());

    Find<QRadioButton>(view, Image::IDC_POSITION_RADIO)->click();
    EXPECT_FALSE(image->IsFixed());
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(format->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(view, Image::IDC_COLUMN)->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(view, Image::IDC_RELOAD)->isEnabled());
    EXPECT_EQ(Find<CUpDownControl>(view, Image::IDC_LINE_SPIN)->Maximum(),
              Input().GetPixelHeight() / Input().GetCellHeight());
}

TEST_F(ImageKindSheetTest, BarcodeListSelectionReachesTheElement)
{
    auto* barcode = static_cast<CFormBarcodeElement*>(BarcodeOn("ZIP"));
    const int code = Doc().GetBarcodeManager()->Add(CBarcode(QStringLiteral("CODE")));
    QWidget* view = ShowOwnPage(barcode);
    auto* list = Find<QComboBox>(view, Barcode::IDC_BARCODE_LIST);
    const int entry = list->findText(QStringLiteral("CODE"));
    ASSERT_GE(entry, 0);
    list->setCurrentIndex(entry);
    emit list->activated(entry);
    EXPECT_EQ(barcode->GetBarcodeIndex(), code);
    EXPECT_EQ(list->currentText(), QStringLiteral("CODE"));
    Find<QRadioButton>(view, Barcode::IDC_POSITION_RADIO)->click();
    EXPECT_FALSE(Find<QLineEdit>(view, Barcode::IDC_DATA)->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(view, Barcode::IDC_WIDTH)->isEnabled());
}

TEST_F(ImageKindSheetTest, ResourceQualityLeavingTheEditReachesTheResource)
{
    auto* element = static_cast<CFormResourceElement*>(ResourceOnNewFile("form.bmp"));
    QWidget* view = ShowOwnPage(element);
    Window().activateWindow();
    (void)QTest::qWaitForWindowActive(&Window());
    auto* format = Find<QComboBox>(view, Resource::IDC_FORMAT);
    format->setCurrentIndex(2);
    emit format->activated(2);
    auto* quality = Find<QLineEdit>(view, Resource::IDC_QUALITY);
    ASSERT_TRUE(quality->isEnabled());
    quality->setFocus();
    quality->selectAll();
    QTest::keyClicks(quality, QStringLiteral("33"));
    Find<QComboBox>(view, Resource::IDC_RESOURCE_LIST)->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(element->GetResource()->GetQuality(), 33);
}

} // namespace
