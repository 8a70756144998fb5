// Address elements: which setting they may stand for under which device,
// their placeholder text, their one-line box and their WVD object.

#include "designer/document/jvx/JVXArchive.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using kwvd::Rect;

class AddressElementTest : public OutputAddressFixture
{
protected:
    static Bytes ObjectHeader(int schema)
    {
        return Hex("FF FF") + Word(schema) + Word(19) + Ascii("CFormAddressElement");
    }

    // Base part without description at line 2, columns 3 to 5 on both sides.
    static Bytes BasePart()
    {
        return Hex("FF FE FF 00") + Word(3) + Word(2) + Word(6) + Word(3) + Word(3) + Word(2) + Word(6) + Word(3)
               + Word(0) + Word(0) + Long(0) + Long(0) + Long(0) + Long(0) + Word(1);
    }

    CFormAddressElement* LoadObject(const Bytes& bytes)
    {
        CFormAddressElement* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CFormAddressElement>();
        });
        return element;
    }
};

TEST_F(AddressElementTest, SettingIdFollowsTheParentsDeviceType)
{
    struct Case
    {
        const char* name;
        int deviceType; // -1: no Output parent
        int given;
        int expected;
    };
    const Case cases[] = {
        {"subject on fax", 3, AddressFieldCode::Subject, AddressFieldCode::Destination},
        {"reference on fax", 3, AddressFieldCode::Reference, AddressFieldCode::Reference},
        {"subject on file", 6, AddressFieldCode::Subject, AddressFieldCode::FilePath},
        {"destination on file", 6, AddressFieldCode::Destination, AddressFieldCode::FilePath},
        {"first page on file", 6, AddressFieldCode::FirstPage, AddressFieldCode::FirstPage},
        {"parameter 20 on document store", 7, AddressFieldCode::Parameter20, AddressFieldCode::Parameter20},
        {"subject on display", 5, AddressFieldCode::Subject, AddressFieldCode::Subject},
        {"from on print", 0, AddressFieldCode::From, AddressFieldCode::Destination},
        {"first page on AFP", 1, AddressFieldCode::FirstPage, AddressFieldCode::FirstPage},
        {"message on e-mail", 4, AddressFieldCode::Message, AddressFieldCode::Message},
        {"attention on e-mail", 4, AddressFieldCode::Attention, AddressFieldCode::Destination},
        {"file name without parent", -1, AddressFieldCode::FileName, AddressFieldCode::FileName},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormOutputElement* output = nullptr;
        if (c.deviceType >= 0)
            output = AddOutput(AddDevice(QStringLiteral("DEV%1").arg(++number), c.deviceType));
        CFormAddressElement* address = AddAddress(output, c.given, Rect(1, 1, 2, 2));
        ASSERT_NE(address, nullptr);
        EXPECT_EQ(address->GetSettingId(), c.expected);
        EXPECT_EQ(address->GetDeviceType(), c.deviceType);
    }
}

TEST_F(AddressElementTest, MovingUnderAnotherDeviceRechecksTheId)
{
    CFormAddressElement* address = AddAddress(nullptr, AddressFieldCode::Subject, Rect(1, 1, 2, 2));
    EXPECT_EQ(address->GetDescription(), QStringLiteral("Subject"));
    CFormOutputElement* file = AddOutput(AddDevice(QStringLiteral("FILEDEV"), 6));
    ASSERT_TRUE(doc->MoveElement(file, address, 1));
    EXPECT_EQ(address->GetParent(), file);
    EXPECT_EQ(address->GetSettingId(), AddressFieldCode::FilePath);
    EXPECT_EQ(address->GetDescription(), QStringLiteral("File Path"));
}

TEST_F(AddressElementTest, UnknownIdsAreRefused)
{
    CFormAddressElement* address = AddAddress(nullptr, AddressFieldCode::To, Rect(1, 1, 2, 2));
    for (const int id : {0, 21484, 21490, 21500, 21528, -1}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(address->SetSettingId(id));
        EXPECT_EQ(address->GetSettingId(), AddressFieldCode::To);
    }
}

TEST_F(AddressElementTest, DeleteFlagNeverForDestinationOrFirstPage)
{
    CFormAddressElement* address = AddAddress(nullptr, AddressFieldCode::FileName, Rect(1, 1, 2, 2));
    EXPECT_TRUE(address->SetDeleteFlag(TRUE));
    EXPECT_TRUE(address->SetSettingId(AddressFieldCode::FirstPage));
    EXPECT_FALSE(address->GetDeleteFlag()) << "cleared by the change of id";
    EXPECT_FALSE(address->SetDeleteFlag(TRUE));
    EXPECT_TRUE(address->SetSettingId(AddressFieldCode::Destination));
    EXPECT_FALSE(address->SetDeleteFlag(TRUE));
    EXPECT_FALSE(address->GetDeleteFlag());
}

TEST_F(AddressElementTest, PlaceholderParse)
{
    struct Case
    {
        const char* name;
        int id;
        const char* text;
        BOOL result;
        Rect cells; // where the element ends up
        BOOL deleting;
    };
    const Rect start(2, 3, 6, 4);
    const Case cases[] = {
        {"file name placed and deleting", AddressFieldCode::FileName, "?7,20,10,D", TRUE, Rect(20, 7, 30, 8), TRUE},
        {"destination placed, never deleting", AddressFieldCode::Destination, "?7,20,10,D", TRUE, Rect(20, 7, 30, 8),
         FALSE},
        {"leading zeros", AddressFieldCode::Subject, "?005,012,030", TRUE, Rect(12, 5, 42, 6), FALSE},
        {"no question mark", AddressFieldCode::Subject, "005,012,030,D", FALSE, start, TRUE},
        {"one comma", AddressFieldCode::Subject, "?005,012", FALSE, start, TRUE},
        {"line 0 keeps the place", AddressFieldCode::Subject, "?0,5,5,D", TRUE, start, TRUE},
        {"empty numbers keep the place", AddressFieldCode::Subject, "?,,", TRUE, start, FALSE},
        {"lower-case d is no flag", AddressFieldCode::Subject, "?3,4,5,d", TRUE, Rect(4, 3, 9, 4), FALSE},
        {"huge numbers stay on the page", AddressFieldCode::Subject, "?99999999999,99999999999,5", TRUE,
         Rect(79, 70, 84, 71), FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormAddressElement* address = AddAddress(nullptr, c.id, start, TRUE);
        ASSERT_NE(address, nullptr);
        EXPECT_EQ(address->SetFromPlaceholder(QString::fromLatin1(c.text)), c.result);
        if (std::string(c.name).rfind("huge", 0) == 0) {
            // Only that it lands inside the page, on one line.
            const Rect cells = address->GetAddressCells();
            EXPECT_EQ(cells.Height(), 1);
            EXPECT_LE(cells.bottom - 1, doc->GetOutputPage()->GetPixelHeight() / ch);
        } else {
            EXPECT_EQ(address->GetAddressCells(), c.cells);
        }
        EXPECT_EQ(address->GetDeleteFlag(), c.deleting && c.id != AddressFieldCode::Destination);
        doc->DeleteElement(address, TRUE);
    }
}

TEST_F(AddressElementTest, WidthIsCutToTheSettingsLimit)
{
    ASSERT_TRUE(doc->GetOutputPage()->SetSizeInCells(400, 66));
    ASSERT_EQ(doc->GetOutputPage()->GetCellWidth(), cw);
    struct Case
    {
        const char* name;
        int id;
        int width;
    };
    const Case cases[] = {
        {"subject", AddressFieldCode::Subject, 256},
        {"from", AddressFieldCode::From, 50},
        {"parameter 11", AddressFieldCode::Parameter1 + 10, 64},
        {"first page has no limit", AddressFieldCode::FirstPage, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormAddressElement* address = AddAddress(nullptr, c.id, Rect(5, 2, 305, 4));
        ASSERT_NE(address, nullptr);
        EXPECT_EQ(address->GetAddressCells(), Rect(5, 2, 5 + c.width, 3)) << "one line high";
    }
}

TEST_F(AddressElementTest, KindFollowsTheDocumentType)
{
    CFormAddressElement* spooled = AddAddress(nullptr, AddressFieldCode::Destination, Rect(2, 2, 5, 3));
    EXPECT_EQ(spooled->GetKind(), AddressKind::Dest);
    EXPECT_TRUE(spooled->GetSourceRect().IsEmpty());
    EXPECT_EQ(spooled->GetDestRect(), Cells(2, 2, 5, 3));

    ASSERT_TRUE(doc->SetDocType(1));
    CFormAddressElement* xml = AddAddress(nullptr, AddressFieldCode::Destination, Rect(2, 2, 5, 3));
    EXPECT_EQ(xml->GetKind(), AddressKind::Source);
    EXPECT_TRUE(xml->GetDestRect().IsEmpty());
    EXPECT_EQ(xml->GetSourceRect().Width(), 3 * doc->GetSourcePage()->GetCellWidth());

    // The one made in the spooled-file document turns source side when an
    // Output element of the XML document takes it.
    CFormOutputElement* output = AddOutput();
    ASSERT_TRUE(doc->MoveElement(output, spooled, 1));
    EXPECT_EQ(spooled->GetKind(), AddressKind::Source);
    EXPECT_TRUE(spooled->GetDestRect().IsEmpty());
}

TEST_F(AddressElementTest, ExportOutsideAnOutputElementWritesNothingAndSaysSo)
{
    CFormAddressElement* loose = AddAddress(nullptr, AddressFieldCode::Destination, Rect(2, 2, 5, 3));
    CFormOutputElement* output = AddOutput();
    CFormAddressElement* bound = AddAddress(output, AddressFieldCode::Destination, Rect(2, 4, 5, 5));
    prompts->ClearRecorded();

    const Bytes written = StoreJvx(
        28,
        [&](CJVXArchive& ar) {
            loose->ExportJVX(ar);
            bound->ExportJVX(ar);
        },
        nullptr, doc.get());
    EXPECT_TRUE(written.empty());
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral("Address Element 'Destination' is not associated with an Output Device Element and will "
                             "be ignored."));
}

TEST_F(AddressElementTest, OlderWvdSchemas)
{
    struct Case
    {
        const char* name;
        int schema;
        Bytes own;
        int id;
        int kind;
        BOOL deleting;
    };
    const Case cases[] = {
        {"schema 11: no kind, no flag", 11, Long(21492), AddressFieldCode::Subject, AddressKind::Dest, FALSE},
        {"schema 12: kind", 12, Long(21492) + Long('1'), AddressFieldCode::Subject, AddressKind::Source, FALSE},
        {"schema 20: flag", 20, Long(21502) + Long('0') + Word(1), AddressFieldCode::FileName, AddressKind::Dest, TRUE},
        {"flag cleared for destination", 20, Long(21479) + Long('0') + Word(1), AddressFieldCode::Destination,
         AddressKind::Dest, FALSE},
        {"unknown id and kind", 20, Long(4711) + Long(7) + Word(0), AddressFieldCode::Destination, AddressKind::Dest,
         FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CFormAddressElement> address(LoadObject(ObjectHeader(c.schema) + BasePart() + c.own));
        ASSERT_NE(address, nullptr);
        EXPECT_EQ(address->GetSettingId(), c.id);
        EXPECT_EQ(address->GetKind(), c.kind);
        EXPECT_EQ(address->GetDeleteFlag(), c.deleting);
    }
}

TEST_F(AddressElementTest, WvdRoundTrip)
{
    CFormAddressElement* address = AddAddress(nullptr, AddressFieldCode::AttachmentName, Rect(3, 4, 9, 5), TRUE);
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(address); });
    std::unique_ptr<CFormAddressElement> back(LoadObject(bytes));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetSettingId(), AddressFieldCode::AttachmentName);
    EXPECT_TRUE(back->GetDeleteFlag());
    EXPECT_EQ(back->DestRect(), Cells(3, 4, 9, 5));
}

TEST_F(AddressElementTest, TruncatedWvdObjectIsAnArchiveError)
{
    const Bytes whole = ObjectHeader(20) + BasePart() + Long(21502) + Long('0') + Word(1);
    const Bytes cut(whole.begin(), whole.end() - 1);
    EXPECT_THROW(LoadObject(cut), CArchiveException);
}

} // namespace
