#include "tests/support/ImageDocFixture.h"

#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace imagetest;

namespace {

template <typename T>
std::vector<T*> ElementsOf(const CDesignerDoc& doc)
{
    std::vector<T*> found;
    for (CObject* object : doc.GetElementList())
        if (auto* element = dynamic_cast<T*>(object))
            found.push_back(element);
    return found;
}

TEST(WvdRoundTripImages, BarcodesResourcesAndImagesSurviveSaveAndOpen)
{
    ImageDocEnvironment env;
    CDesignerDoc& doc = *env.doc;
    BuildRichDocument(doc);
    const QString folder = env.Folder(QStringLiteral("files"));
    const QString logo = env.WriteImage(folder, QStringLiteral("logo.bmp"), 97, 49);
    const QString form = env.WriteImage(folder, QStringLiteral("form.bmp"), 60, 80);
    {
        CDocChangeGuard change(&doc);
        auto* spooled = static_cast<CFormBarcodeElement*>(
            doc.CreateNewElement(FormElementType::Barcode, 1, kwvd::Rect(20, 20, 120, 40), nullptr));
        auto* constant = static_cast<CFormBarcodeElement*>(
            doc.CreateNewElement(FormElementType::Barcode, 1, kwvd::Rect(20, 80, 60, 100), nullptr));
        ASSERT_NE(spooled, nullptr);
        ASSERT_NE(constant, nullptr);
        ASSERT_EQ(doc.GetBarcodeManager()->Add(CBarcode(QStringLiteral("EAN"))), 1);
        ASSERT_TRUE(constant->SetBarcodeIndex(1));
        constant->SetData(QStringLiteral("4006381333931"));
        constant->SetUseData(TRUE);

        auto resource = std::make_unique<CResource>(&doc);
        ASSERT_TRUE(resource->LoadImage(form));
        ASSERT_EQ(doc.GetResourceManager()->Add(resource.get()), 0);
        resource.release();
        auto* overlay = static_cast<CFormResourceElement*>(
            doc.CreateNewElement(FormElementType::Resource, 0, kwvd::Rect(), nullptr));
        ASSERT_NE(overlay, nullptr);
        ResourcePageData page;
        page.resourceIndex = 0;
        ASSERT_TRUE(overlay->ApplyPage(page, ResourcePageData::ResourceIndex));

        env.env.prompts->AnswerFile(logo);
        ASSERT_NE(doc.CreateNewElement(FormElementType::Image, 2, kwvd::Rect(200, 40, 300, 100), nullptr), nullptr);
    }
    const Bytes first = StoreDocument(doc);

    auto copy = std::make_unique<CDesignerDoc>();
    ASSERT_TRUE(copy->OnNewDocument());
    LoadDocument(*copy, first);

    const auto barcodes = ElementsOf<CFormBarcodeElement>(*copy);
    ASSERT_EQ(barcodes.size(), 2u);
    EXPECT_EQ(barcodes[0]->GetBarcodeIndex(), 0);
    EXPECT_FALSE(barcodes[0]->GetUseData());
    EXPECT_EQ(barcodes[1]->GetBarcodeIndex(), 1);
    EXPECT_TRUE(barcodes[1]->GetUseData());
    EXPECT_EQ(barcodes[1]->GetData(), QStringLiteral("4006381333931"));
    ASSERT_NE(copy->GetBarcodeManager()->GetBarcode(1), nullptr);
    EXPECT_EQ(copy->GetBarcodeManager()->GetBarcode(1)->GetName(), QStringLiteral("EAN"));
    EXPECT_EQ(barcodes[0]->DestRect(), ElementsOf<CFormBarcodeElement>(doc)[0]->DestRect());

    const auto overlays = ElementsOf<CFormResourceElement>(*copy);
    ASSERT_EQ(overlays.size(), 1u);
    EXPECT_EQ(overlays[0]->GetResourceIndex(), 0);
    ASSERT_NE(copy->GetResourceManager()->GetResource(0), nullptr);
    EXPECT_TRUE(copy->GetResourceManager()->GetResource(0)->HasUser(overlays[0]));
    EXPECT_FALSE(overlays[0]->DestRect().IsEmpty());

    const auto images = ElementsOf<CFormImageElement>(*copy);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->GetImageName(), logo);
    EXPECT_NE(images[0]->GetImage(), nullptr);

    const Bytes second = StoreDocument(*copy);
    EXPECT_EQ(second, first) << "a second save writes the same bytes";
    EXPECT_TRUE(env.env.prompts->ScriptErrors().empty());
}

} // namespace
