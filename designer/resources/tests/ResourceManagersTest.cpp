// The document's resource managers are found by the names and schemas that
// WVD files, undo snapshots and clipboard streams carry.

#include "designer/resources/ResourceClasses.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ResourceManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(ResourceManagers, RegisteredUnderTheirSchemasWithoutADocument)
{
    RegisterResourceClasses();
    struct Case
    {
        const char* name;
        std::function<CDesignerDoc*(CObject*)> documentOf;
    };
    const Case cases[] = {
        {"CBarcodeManager", [](CObject* o) { return static_cast<CBarcodeManager*>(o)->GetDocument(); }},
        {"ImageRegistry", [](CObject* o) { return static_cast<ImageRegistry*>(o)->GetDocument(); }},
        {"CResourceManager", [](CObject* o) { return static_cast<CResourceManager*>(o)->GetDocument(); }},
        {"CDocStoreManager", [](CObject* o) { return static_cast<CDocStoreManager*>(o)->GetDocument(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(c.name);
        ASSERT_NE(runtimeClass, nullptr);
        EXPECT_EQ(runtimeClass->GetStoredSchema(), 0u);
        EXPECT_TRUE(runtimeClass->IsVersionable());
        std::unique_ptr<CObject> object(runtimeClass->CreateObject());
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), runtimeClass);
        EXPECT_EQ(c.documentOf(object.get()), nullptr);
    }
}

} // namespace
