// Barcode definitions, the document's barcode slots with their "#C" section,
// and the master barcode file.

#include "designer/resources/barcodes/Barcode.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/FontTestEnvironment.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxTextForms.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace {

class BarcodeTest : public FontTestEnvironment
{
protected:
    CFormElement* NewUser()
    {
        m_users.push_back(std::make_unique<CFormElement>());
        return m_users.back().get();
    }
    std::vector<std::unique_ptr<CFormElement>> m_users;
};

TEST_F(BarcodeTest, TypeTableAndModifiersStandAsShown)
{
    const auto types = BarcodeTypeTable();
    ASSERT_EQ(types.size(), 25u);
    EXPECT_EQ(QString::fromUtf16(types[1].name), QStringLiteral("MSI (Modified Plessey Code"));
    EXPECT_EQ(BarcodeType::GetHexCode(types[24].id), QStringLiteral("22"));
    EXPECT_EQ(BarcodeType::GetHexCode(10), QStringLiteral("0A"));
    EXPECT_EQ(BarcodeType::GetHexCode(4), QString());
    EXPECT_EQ(BarcodeModifiersOf(24)[1].text, QString::fromUtf16(u"5\u2013digit Routing ZIP Code"));
    EXPECT_EQ(BarcodeModifiersOf(22)[0].code, 2);
    EXPECT_TRUE(BarcodeModifiersOf(25)[0].text.isEmpty());

    CBarcode barcode;
    EXPECT_EQ(barcode.GetTypeIndex(), 0);
    EXPECT_EQ(barcode.GetModifierCode(), 1);
    EXPECT_EQ(barcode.m_nModuleWidth, 255);
    EXPECT_FALSE(barcode.m_bPrintText);

    EXPECT_TRUE(barcode.SetModifierByText(QStringLiteral("Printer generated check character")));
    EXPECT_TRUE(barcode.SetTypeByName(QStringLiteral("UPC/CGPC--Version A")));
    EXPECT_EQ(barcode.GetModifierIndex(), 0);
    EXPECT_FALSE(barcode.SetTypeByName(QStringLiteral("upc/cgpc--version a")));

    EXPECT_TRUE(barcode.SetTypeByName(QStringLiteral("MSI (Modified Plessey Code")));
    EXPECT_TRUE(barcode.SetModifierByText(QStringLiteral("NCR modulo-11 & IBM modulo-10 check digits 11-")));
    EXPECT_EQ(barcode.GetModifierIndex(), 5);
    EXPECT_EQ(barcode.GetModifierCode(), 6);
    EXPECT_FALSE(barcode.SetModifierByText(QString()));

    EXPECT_TRUE(barcode.SetName(QString(31, u'n')));
    EXPECT_EQ(barcode.GetName().size(), 30);
    EXPECT_FALSE(barcode.SetName(QString(30, u'n')));
}

struct RecordCase
{
    const char* name;
    int version;
    int length;
};

TEST_F(BarcodeTest, JvxRecordByVersionWritesUnsetValuesAndReadsCodes)
{
    const RecordCase cases[] = {{"Version16", 16, 116}, {"Version17", 17, 118}, {"Version10CountsAs28", 0, 118}};
    for (const RecordCase& c : cases) {
        CBarcode barcode(QStringLiteral("Code"));
        const Bytes bytes = StoreJvx(c.version, [&](CJVXArchive& ar) { barcode.ExchangeJVX(ar); });
        const size_t width = c.version <= 18 ? 1 : 2;
        EXPECT_EQ(bytes.size(), (c.length + 2) * width) << c.name;
        EXPECT_EQ(barcode.GetTextFontIndex(), 0) << c.name;
    }

    CBarcode barcode(QStringLiteral("Code"));
    const Bytes bytes = StoreJvx(17, [&](CJVXArchive& ar) { barcode.ExchangeJVX(ar); });
    const std::string text(bytes.begin(), bytes.end());
    // Type "01", modifier "01", columns "-1", font "0", module width "255".
    EXPECT_EQ(text.substr(30, 20), std::string("0000000000") + "0101-10255");
    EXPECT_EQ(text.substr(116), "NN\r\n");

    // MSI with modifier code 8 selects entry 7, not an earlier same text.
    std::string msi = text;
    msi.replace(40, 4, "0208");
    JvxReader reader(Bytes(msi.begin(), msi.end()), 17);
    CBarcode read;
    read.ExchangeJVX(reader.Archive());
    EXPECT_EQ(read.GetTypeIndex(), 1);
    EXPECT_EQ(read.GetModifierIndex(), 7);
    EXPECT_EQ(read.GetName(), QStringLiteral("Code"));
}

TEST_F(BarcodeTest, SchemaOneLoadsWithoutBlankFlags)
{
    const Bytes bytes = Text8("Old") + Long(2) + Long(0) + Word(1) + Text8("<") + Text8(">") + Long(12);
    CBarcode barcode;
    barcode.m_bRemoveTrailingBlanks = TRUE;
    Load(bytes, [&](CArchive& ar) {
        ar.SetObjectSchema(1);
        barcode.Serialize(ar);
    });
    EXPECT_EQ(barcode.GetName(), QStringLiteral("Old"));
    EXPECT_EQ(barcode.GetTypeIndex(), 2);
    EXPECT_TRUE(barcode.m_bPrintText);
    EXPECT_EQ(barcode.m_nModuleWidth, 12);
    EXPECT_TRUE(barcode.m_bRemoveTrailingBlanks); // untouched below schema 2
    EXPECT_FALSE(barcode.m_bRemoveLeadingBlanks);
}

TEST_F(BarcodeTest, SectionSkipsEmptySlotsAndReadsLettersBack)
{
    CBarcodeManager barcodes;
    CFormElement* a = NewUser();
    CFormElement* b = NewUser();
    CFormElement* c = NewUser();
    EXPECT_EQ(barcodes.AddUser(a, -1), -1);
    EXPECT_EQ(barcodes.AddUser(a, 5), 0);
    EXPECT_EQ(barcodes.AddUser(b, 9), 1);
    EXPECT_EQ(barcodes.AddUser(c, 99), 2);
    EXPECT_TRUE(barcodes.RemoveUser(b, 1));
    EXPECT_EQ(barcodes.GetBarcode(1), nullptr);
    EXPECT_FALSE(barcodes.RemoveUser(b, 1));

    const Bytes section = StoreJvx(17, [&](CJVXArchive& ar) { barcodes.ExchangeJVX(ar); });
    const std::string text(section.begin(), section.end());
    ASSERT_EQ(text.size(), 2u * 123u);
    EXPECT_EQ(text.substr(0, 3), "#CA");
    EXPECT_EQ(text.substr(123, 3), "#CC");

    // Z into slot 25, a non-letter into slot 0, a later record replacing an
    // earlier one, and the next section left unread.
    std::string imported = text;
    imported[2] = 'Z';
    imported[125] = '1';
    imported += text.substr(0, 3) + text.substr(126);
    imported.replace(imported.size() - 120, 7, "Last   ");
    imported += "#R rest";
    CBarcodeManager read;
    JvxReader reader(Bytes(imported.begin(), imported.end()), 17);
    read.ExchangeJVX(reader.Archive());
    EXPECT_EQ(read.GetSlotCount(), 26);
    ASSERT_NE(read.GetBarcode(25), nullptr);
    ASSERT_NE(read.GetBarcode(0), nullptr);
    EXPECT_EQ(read.GetBarcode(0)->GetName(), QStringLiteral("Last"));
    QString rest;
    reader.Archive().ReadText(rest, 3);
    EXPECT_EQ(rest, QStringLiteral("#R "));

    const Bytes stored = Store([&](CArchive& ar) { barcodes.Serialize(ar); });
    Load(stored, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), 3u); });
}

TEST_F(BarcodeTest, EachBarcodeLineReachesTheFileWholeInEveryTextForm)
{
    CBarcodeManager barcodes;
    ASSERT_EQ(barcodes.AddUser(NewUser(), 5), 0);
    ASSERT_EQ(barcodes.AddUser(NewUser(), 9), 1);
    ExpectWholeLinesInEveryForm(StoreJvxInEveryForm([&](CJVXArchive& ar) { barcodes.ExchangeJVX(ar); }),
                                {"#CA", "#CB"});
}

TEST_F(BarcodeTest, OldJvxVersionsCarryNoBarcodes)
{
    CBarcodeManager barcodes;
    EXPECT_TRUE(StoreJvx(10, [&](CJVXArchive& ar) { barcodes.ExchangeJVX(ar); }).empty());
    EXPECT_TRUE(Shown().isEmpty());
    barcodes.AddUser(NewUser(), -2);
    EXPECT_TRUE(StoreJvx(10, [&](CJVXArchive& ar) { barcodes.ExchangeJVX(ar); }).empty());
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].startsWith(QStringLiteral("JVX Version 10 does not support")));
}

TEST_F(BarcodeTest, FullListRefusesTheTwentySeventh)
{
    CBarcodeManager barcodes;
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(barcodes.Add(CBarcode(QString::number(i))), i);
    EXPECT_EQ(barcodes.AddUser(NewUser(), -5), -1);
    EXPECT_EQ(Shown().back(), QStringLiteral("Maximum barcodes already selected.The document can have a maximum of "
                                             "26 different barcodes."));
    EXPECT_EQ(barcodes.FindEqual(CBarcode(QStringLiteral("4"))), 4);
}

TEST_F(BarcodeTest, MasterFileIsReadByTheFirstAndWrittenByTheLastManager)
{
    {
        CBarcodeManager only;
        EXPECT_EQ(m_preferences.MasterBarcodeFileName, PathOf("wvdBarcodes.dat"));
        CBarcode* entry = CBarcodeManager::FindMasterBarcode(QStringLiteral("Parcel"));
        ASSERT_NE(entry, nullptr);
        auto changed = std::make_unique<CBarcode>(QStringLiteral("Parcel"));
        changed->m_bPrintText = TRUE;
        EXPECT_TRUE(CBarcodeManager::AddToMaster(changed.release()));
        auto equal = std::make_unique<CBarcode>(QStringLiteral("Parcel"));
        equal->m_bPrintText = TRUE;
        EXPECT_FALSE(CBarcodeManager::AddToMaster(equal.get()));
        EXPECT_EQ(CBarcodeManager::GetMasterBarcodeList()->GetCount(), 1);
    }
    EXPECT_TRUE(Shown().isEmpty());
    const QString path = PathOf("wvdBarcodes.dat");
    ASSERT_TRUE(QFileInfo::exists(path));

    auto first = std::make_unique<CBarcodeManager>();
    auto second = std::make_unique<CBarcodeManager>();
    ASSERT_EQ(CBarcodeManager::GetMasterBarcodeList()->GetCount(), 1);
    EXPECT_TRUE(static_cast<CBarcode*>(CBarcodeManager::GetMasterBarcodeList()->GetHead())->m_bPrintText);
    ASSERT_TRUE(QFile::remove(path));
    first.reset();
    EXPECT_FALSE(QFileInfo::exists(path));
    second.reset();
    EXPECT_TRUE(QFileInfo::exists(path));
}

} // namespace
