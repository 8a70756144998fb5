// The Address page without its window: the field list from the parent
// Output element's device, the enabling by kind and by field, and a field
// the device does not take.

#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/views/pages/AddressPropPage.h"

#include <ostream>

namespace {

using Page = CAddressPropPage;

class AddressPageTest : public TextKindPageTest
{
protected:
    // A source Address in an Output element on a new device of the type
    // code; at the top level for "".
    CFormAddressElement* AddressUnder(const char* typeCode, int kind = AddressKind::Source)
    {
        output = nullptr;
        if (*typeCode != '\0') {
            CDocChangeGuard change(&Doc());
            output = new CFormOutputElement(&Doc());
            EXPECT_EQ(Doc().AddElement(output, FALSE, nullptr), output);
            const int device = Devices()->AddDeviceByName(QStringLiteral("DEV01"), QString::fromLatin1(typeCode));
            output->SetOutputDevice(device);
        }
        auto* address = dynamic_cast<CFormAddressElement*>(
            Make(FormElementType::Address, In(5, 3, 15, 4), output, PaneSide::Input));
        EXPECT_NE(address, nullptr);
        if (address == nullptr)
            return nullptr;
        EXPECT_EQ(address->GetParent(), static_cast<CFormElement*>(output));
        CDocChangeGuard change(&Doc());
        address->SetKind(kind);
        return address;
    }

    COutputDeviceManager* Devices() const { return Doc().GetOutputDeviceManager(); }

    static QStringList Names(std::initializer_list<int> codes)
    {
        OutputDeviceAddressTypeList all;
        COutputDeviceManager::AddAllAddressTypes(all);
        QStringList names;
        for (const int code : codes)
            for (const outputDeviceAddressType& type : all)
                if (type.code == code)
                    names << type.name;
        return names;
    }

    CFormOutputElement* output = nullptr;
};

// ---------------------------------------------------------------- the field list

struct ListCase
{
    const char* name;
    const char* typeCode;
    std::initializer_list<int> leading; // the first fields, in order
    int count;
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << c.name;
}

class AddressListTest : public AddressPageTest, public ::testing::WithParamInterface<ListCase>
{};

TEST_P(AddressListTest, ListsTheDevicesFieldsInItsOrder)
{
    const ListCase& c = GetParam();
    CFormAddressElement* address = AddressUnder(c.typeCode);
    ASSERT_NE(address, nullptr);
    Page* page = OwnPage<Page>(address);
    ASSERT_NE(page, nullptr);

    const DialogControlState& list = page->Control(Page::IDC_TYPE);
    ASSERT_EQ(list.items.size(), c.count);
    const QStringList leading = Names(c.leading);
    ASSERT_EQ(leading.size(), static_cast<qsizetype>(c.leading.size())) << "every field has a name";
    EXPECT_EQ(list.items.mid(0, leading.size()), leading);
    // The element's field is chosen, its description beside it.
    ASSERT_GE(list.selection, 0);
    EXPECT_EQ(page->AddressTypes().at(static_cast<size_t>(list.selection)).code, address->GetSettingId());
    EXPECT_EQ(page->Control(Page::IDC_DESCRIPTION).text,
              page->AddressTypes().at(static_cast<size_t>(list.selection)).text);
}

using F = AddressFieldCode;

const ListCase kListCases[] = {
    {"Scs", "*SCS", {F::Destination, F::FirstPage}, 2},
    {"Fax", "*FAX", {F::Destination, F::From, F::To, F::Attention, F::Reference, F::FirstPage}, 6},
    {"Email",
     "*EML",
     {F::Destination, F::From, F::To, F::FromEmail, F::Subject, F::Message, F::AttachmentName, F::FirstPage},
     8},
    {"File", "*FIL", {F::FilePath, F::FileName, F::FirstPage, F::FileOwner}, 8 + COutputDevice::kParameterCount},
    {"NoDevice", "", {F::Destination, F::FirstPage, F::From, F::To}, 17 + COutputDevice::kParameterCount},
};

INSTANTIATE_TEST_SUITE_P(Devices, AddressListTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- editing

TEST_F(AddressPageTest, DestinationClearsDeleteAndDisablesIt)
{
    CFormAddressElement* address = AddressUnder("*FAX");
    ASSERT_NE(address, nullptr);
    Page* page = OwnPage<Page>(address);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->FindControl(Page::IDC_DELETE)->enabled) << "a new Address is a Destination";

    const int from = page->Control(Page::IDC_TYPE).items.indexOf(Names({F::From}).front());
    Choose(*page, Page::IDC_TYPE, from);
    EXPECT_EQ(address->GetSettingId(), F::From);
    EXPECT_TRUE(page->FindControl(Page::IDC_DELETE)->enabled);
    Click(*page, Page::IDC_DELETE, 1);
    EXPECT_TRUE(address->GetDeleteFlag());

    const DWORD buildId = Doc().GetBuildId();
    Choose(*page, Page::IDC_TYPE, 0);
    EXPECT_EQ(address->GetSettingId(), F::Destination);
    EXPECT_FALSE(address->GetDeleteFlag());
    EXPECT_EQ(page->FindControl(Page::IDC_DELETE)->check, 0);
    EXPECT_FALSE(page->FindControl(Page::IDC_DELETE)->enabled);
    EXPECT_EQ(Doc().GetBuildId(), buildId + 1) << "one change";
}

TEST_F(AddressPageTest, DestinationKindHasItsPlaceFieldsDisabled)
{
    for (const int kind : {AddressKind::Dest, AddressKind::Source}) {
        SCOPED_TRACE(kind);
        CFormAddressElement* address = AddressUnder("*SCS", kind);
        ASSERT_NE(address, nullptr);
        Page* page = OwnPage<Page>(address);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Data().mask, kind == AddressKind::Dest ? 15 : 0);
        for (const int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_LINE, Page::IDC_LINE_SPIN,
                             Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN})
            EXPECT_EQ(page->FindControl(id)->enabled, kind == AddressKind::Source) << id;
        EXPECT_TRUE(page->FindControl(Page::IDC_TYPE)->enabled);
    }
}

TEST_F(AddressPageTest, PlaceFieldsMoveAndSizeTheSource)
{
    CFormAddressElement* address = AddressUnder("*EML");
    ASSERT_NE(address, nullptr);
    Page* page = OwnPage<Page>(address);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Data().column, 5);
    EXPECT_EQ(page->Data().line, 3);
    EXPECT_EQ(page->Range(Page::IDC_LINE), std::pair(1, Input().GetPixelHeight() / Input().GetCellHeight()));

    Type(*page, Page::IDC_COLUMN, QStringLiteral("9"));
    Type(*page, Page::IDC_LINE, QStringLiteral("12"));
    Type(*page, Page::IDC_WIDTH, QStringLiteral("8"));
    EXPECT_EQ(address->GetSourceRect(), In(9, 12, 17, 13));
}

TEST_F(AddressPageTest, FieldTheDeviceRefusesComesBackAsItsFirstField)
{
    CFormAddressElement* address = AddressUnder("*EML");
    ASSERT_NE(address, nullptr);
    Page* page = OwnPage<Page>(address);
    ASSERT_NE(page, nullptr);
    // The device turns into a printer while the page still lists e-mail fields.
    {
        CDocChangeGuard change(&Doc());
        const int printer = Devices()->AddDeviceByName(QStringLiteral("PRT01"), QStringLiteral("*SCS"));
        output->SetOutputDevice(printer);
    }
    ASSERT_EQ(address->GetSettingId(), F::Destination);
    const DWORD buildId = Doc().GetBuildId();
    const int subject = page->Control(Page::IDC_TYPE).items.indexOf(Names({F::Subject}).front());
    ASSERT_GE(subject, 0);

    Choose(*page, Page::IDC_TYPE, subject);
    EXPECT_EQ(address->GetSettingId(), F::Destination);
    EXPECT_EQ(page->Data().settingId, F::Destination);
    EXPECT_EQ(page->FindControl(Page::IDC_TYPE)->selection, 0) << "the element's own field shows again";
    EXPECT_EQ(Doc().GetBuildId(), buildId);
}

} // namespace
