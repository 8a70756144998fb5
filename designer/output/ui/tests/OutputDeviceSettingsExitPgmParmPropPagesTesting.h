#pragma once
// What the tests of the exit program pages share: a document whose
// catalogue holds the store "ARCHIVE" (document type INV with the keys
// Customer, Invoice date and Amount in their sort order, CREDIT with the
// key Credit note) and whose default device is a document-store device
// choosing ARCHIVE and INV, used by an Output element, with the sheet's
// copy of it.

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace exitpgm_test {

// The catalogue's store "ARCHIVE": document type INV with three keys listed
// in their sort order (Customer, Invoice date, Amount), CREDIT with one,
// MANY with twelve ("Key1" to "Key12").
inline std::string KeyXml(int id, const char* name, const char* description)
{
    return "<docStoreKey><id>" + std::to_string(id) + "</id><type>CHAR</type><name>" + name + "</name><description>"
           + description + "</description><size>10</size><scale>0</scale></docStoreKey>";
}

inline std::string KeyOfType(int docType, int key, int sort)
{
    return "<documentTypeKey><docTypeID>" + std::to_string(docType) + "</docTypeID><keyTableID>" + std::to_string(key)
           + "</keyTableID><sortIndex>" + std::to_string(sort)
           + "</sortIndex><keyRequired>0</keyRequired><keyUnique>0</keyUnique></documentTypeKey>";
}

inline DocStore ArchiveWithKeys()
{
    std::string keys = KeyXml(1, "AMOUNT", "Amount") + KeyXml(2, "CUSTNO", "Customer")
                       + KeyXml(3, "INVDATE", "Invoice date") + KeyXml(4, "NOTE", "Credit note");
    std::string keysOfTypes = KeyOfType(1, 1, 3) + KeyOfType(1, 2, 1) + KeyOfType(1, 3, 2) + KeyOfType(2, 4, 1);
    for (int n = 1; n <= 12; ++n) {
        const std::string name = "Key" + std::to_string(n);
        keys += KeyXml(100 + n, name.c_str(), name.c_str());
        keysOfTypes += KeyOfType(3, 100 + n, n);
    }
    const std::string xml = "<KWVD><docStore><store><name>ARCHIVE</name><docStoreKeys>" + keys
                            + "</docStoreKeys><documentTypes><documentType><id>1</id><name>INV</name></documentType>"
                              "<documentType><id>2</id><name>CREDIT</name></documentType>"
                              "<documentType><id>3</id><name>MANY</name></documentType></documentTypes>"
                              "<documentTypeKeys>"
                            + keysOfTypes + "</documentTypeKeys></store></docStore></KWVD>";
    const XmlDocument answer = XmlDocument::Parse(xml.data(), xml.size());
    EXPECT_FALSE(answer.IsNull());
    DocStore store;
    EXPECT_TRUE(store.ReadFromXml(XmlSelectNodes(answer.AsNode(), QStringLiteral("/KWVD/docStore/store")).front()));
    store.ReadDetails(answer);
    return store;
}

} // namespace exitpgm_test

class DocStoreDeviceFixture : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        DocStore store = exitpgm_test::ArchiveWithKeys();
        const Bytes bytes = Store([&](CArchive& ar) {
            ar.WriteCount(1);
            store.Serialize(ar);
        });
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            doc->GetDocStoreManager()->Serialize(ar);
        });
        ASSERT_NE(doc->GetDocStoreManager()->FindStore(QStringLiteral("ARCHIVE")), nullptr);

        device = Devices()->GetDefaultDevice();
        ASSERT_TRUE(device->SetType(COutputDevice::kDocStoreType));
        output = AddOutput();
        ASSERT_TRUE(device->SetDocStoreSelection(QStringLiteral("ARCHIVE"), QStringLiteral("INV"), 1));
        ASSERT_TRUE(device->SetParameter(19, QStringLiteral("Invoices")));
        copy.Copy(device);
    }

    OutputStringsRegistered registered;
    COutputDevice* device = nullptr;
    CFormOutputElement* output = nullptr;
    COutputDevice copy;
};
