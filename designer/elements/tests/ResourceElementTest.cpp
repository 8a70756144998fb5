#include "tests/support/ImageDocFixture.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <memory>

using kwvd::Rect;
using namespace imagetest;

namespace {

class ResourceElementTest : public ::testing::Test
{
protected:
    void SetUp() override { env.doc->BeginChange(); }

    CDesignerDoc& Doc() const { return *env.doc; }
    CResourceManager& Resources() const { return *env.doc->GetResourceManager(); }

    // A resource of a new bitmap in the next free slot.
    int AddResource(const QString& fileName)
    {
        const QString path = env.WriteImage(env.Folder(QStringLiteral("res")), fileName, 50, 40);
        auto resource = std::make_unique<CResource>(&Doc());
        EXPECT_TRUE(resource->LoadImage(path));
        const int index = Resources().Add(resource.get());
        if (index >= 0)
            resource.release();
        return index;
    }

    CFormResourceElement* FromRecord(const QString& id, int version = 28)
    {
        CAPRTPDMRec written(&Doc());
        written.m_opcode.SetValue(QStringLiteral("RES"));
        written.m_resourceId.SetValue(id);
        const Bytes line = StoreJvx(version, [&](CJVXArchive& ar) { written.ExchangeJVX(ar); });
        JvxReader in(line, version, nullptr, &Doc());
        CAPRTPDMRec record(&Doc());
        record.ExchangeJVX(in.Archive());
        EXPECT_TRUE(record.IsValid());
        CFormElement* element = record.CreateElement(in.Archive());
        if (element != nullptr)
            Doc().AddElement(element, TRUE, nullptr);
        return dynamic_cast<CFormResourceElement*>(element);
    }

    ImageDocEnvironment env;
};

TEST_F(ResourceElementTest, RecordsNameTheirSlotByOneDigit)
{
    ASSERT_EQ(AddResource(QStringLiteral("form.bmp")), 0);
    ASSERT_EQ(AddResource(QStringLiteral("back.bmp")), 1);
    struct Case
    {
        const char* name;
        QString id;
        int version;
        int index;
    };
    const Case cases[] = {
        {"digit 1", QStringLiteral("1"), 28, 1},
        {"blank means slot 0", QString(), 28, 0},
        {"a letter means slot 0", QStringLiteral("X"), 28, 0},
        {"a file older than the field means slot 0", QStringLiteral("1"), 17, 0},
        {"an empty slot gives no resource", QStringLiteral("7"), 28, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormResourceElement* element = FromRecord(c.id, c.version);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->GetResourceIndex(), c.index);
        if (c.index >= 0) {
            EXPECT_EQ(element->DestRect(), Resources().GetResource(c.index)->GetRect());
            EXPECT_FALSE(element->DestRect().IsEmpty());
        } else {
            EXPECT_TRUE(element->DestRect().IsEmpty());
        }
        EXPECT_TRUE(element->SourceRect().IsNull());
        Doc().DeleteElement(element, TRUE);
        // Each row's element was the resource's only user: put it back.
        if (c.index == 0 && Resources().GetResource(0) == nullptr) {
            ASSERT_EQ(AddResource(QStringLiteral("form.bmp")), 0);
        }
        if (c.index == 1 && Resources().GetResource(1) == nullptr) {
            ASSERT_EQ(AddResource(QStringLiteral("back.bmp")), 1);
        }
    }
}

TEST_F(ResourceElementTest, ExportsRecordOnlyWithAResource)
{
    ASSERT_EQ(AddResource(QStringLiteral("form.bmp")), 0);
    ASSERT_EQ(AddResource(QStringLiteral("back.bmp")), 1);
    auto* element =
        static_cast<CFormResourceElement*>(Doc().CreateNewElement(FormElementType::Resource, 0, Rect(), nullptr));
    ASSERT_NE(element, nullptr);
    EXPECT_TRUE(element->DestRect().IsEmpty());
    EXPECT_TRUE(StoreJvx(
                    28, [&](CJVXArchive& ar) { element->ExportJVX(ar); }, nullptr, &Doc())
                    .empty());

    ResourcePageData page;
    page.resourceIndex = 1;
    EXPECT_TRUE(element->ApplyPage(page, ResourcePageData::ResourceIndex));
    EXPECT_EQ(element->GetDescription(), QStringLiteral("back.bmp"));
    EXPECT_EQ(element->DestRect(), Resources().GetResource(1)->GetRect());

    // Version 18, the first with the field, is 8-bit text.
    const Bytes line = StoreJvx(
        18, [&](CJVXArchive& ar) { element->ExportJVX(ar); }, nullptr, &Doc());
    ASSERT_EQ(line.size(), static_cast<size_t>(CAPRTPDMRec::LineLength(18) + 2));
    // Two unused characters and the 4-digit sequence come first.
    EXPECT_EQ(Bytes(line.begin() + 6, line.begin() + 10), Ascii("RES "));
    EXPECT_EQ(line[line.size() - 3], static_cast<BYTE>('1')) << "the slot is the last field";

    // Dragging or resizing changes nothing.
    const Rect dest = element->DestRect();
    element->MoveDest(20, 20, ElementMoveFlags::Left | ElementMoveFlags::Top, FALSE);
    element->ResizeDest(10, 10, ElementMoveFlags::Right | ElementMoveFlags::Bottom, FALSE);
    EXPECT_EQ(element->DestRect(), dest);

    // No resource: TRUE, an empty destination, the description left alone.
    page.resourceIndex = -1;
    EXPECT_TRUE(element->ApplyPage(page, ResourcePageData::ResourceIndex));
    EXPECT_EQ(element->GetResourceIndex(), -1);
    EXPECT_TRUE(element->DestRect().IsEmpty());
    EXPECT_EQ(element->GetDescription(), QStringLiteral("back.bmp"));
    EXPECT_EQ(Resources().GetResource(1), nullptr) << "the last user gone deletes the resource";
}

TEST_F(ResourceElementTest, WvdObjectKeepsTheSlot)
{
    ASSERT_EQ(AddResource(QStringLiteral("form.bmp")), 0);
    ASSERT_EQ(AddResource(QStringLiteral("back.bmp")), 1);
    auto* element =
        static_cast<CFormResourceElement*>(Doc().CreateNewElement(FormElementType::Resource, 0, Rect(), nullptr));
    ASSERT_NE(element, nullptr);
    ASSERT_TRUE(element->SetResourceIndex(1));
    const Bytes bytes = Store([&](CArchive& ar) {
        ar.m_pDocument = &Doc();
        ar.WriteObject(element);
    });
    CObject* object = nullptr;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = &Doc();
        object = ar.ReadObject(nullptr);
    });
    auto* copy = dynamic_cast<CFormResourceElement*>(object);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetResourceIndex(), 1);
    EXPECT_TRUE(copy->SourceRect().IsNull());
    EXPECT_TRUE(Resources().GetResource(1)->HasUser(copy));
    delete copy;
    EXPECT_FALSE(Resources().GetResource(1)->HasUser(copy));
}

} // namespace
