// A page's font list: its WVD arrays, the matching of loaded fonts to the
// master list, users of an index, and the JVX font section.

#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "tests/support/FontTestEnvironment.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxTextForms.h"

#include <gtest/gtest.h>

namespace {

CAS400Font* MasterFont(const char* face, DWORD fgid)
{
    auto* font =
        new CAS400Font(QStringLiteral("C1"), QString(), fgid, 0, 0, CAS400Font::FF_MODERN, QString::fromLatin1(face),
                       833, 100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    EXPECT_TRUE(CFontManager::AddToMasterList(font));
    return font;
}

QString Utf16Text(const Bytes& bytes)
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

class FontListTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        m_fonts = std::make_unique<CFontManager>();
        m_a = MasterFont("A", 1);
        m_b = MasterFont("B", 2);
        m_c = MasterFont("C", 3);
        FreshPrompts();
    }
    void TearDown() override
    {
        m_users.clear();
        m_fonts.reset();
        FontTestEnvironment::TearDown();
    }

    CFormElement* NewUser()
    {
        m_users.push_back(std::make_unique<CFormElement>());
        return m_users.back().get();
    }

    std::unique_ptr<CFontManager> m_fonts;
    std::vector<std::unique_ptr<CFormElement>> m_users;
    CAS400Font* m_a = nullptr;
    CAS400Font* m_b = nullptr;
    CAS400Font* m_c = nullptr;
};

TEST_F(FontListTest, SparseIndexesStoreArraysWithNullsAndLoadBackToMasterRecords)
{
    CSelectedFontList& list = m_fonts->GetFontList();
    list.SetPrimaryFont(0, m_a);
    list.SetPrimaryFont(1, m_b);
    list.SetPrimaryFont(2, m_c);
    list.SetPrimaryFont(5, m_b);
    list.GetHolder(5)->SetSecondary(m_c);

    const Bytes stored = Store([&](CArchive& ar) { m_fonts->Serialize(ar); });

    // Read the arrays back with the archive itself: six slots, 3 and 4 null,
    // index 5's primary a reference to index 1's record.
    Load(stored, [&](CArchive& ar) {
        QString text;
        LONG number = 0;
        WORD flag = 0;
        BYTE charSet = 0;
        DWORD codePage = 0;
        ar >> text >> text >> number >> number >> flag >> flag >> charSet >> codePage >> text;
        ASSERT_EQ(ar.ReadCount(), 6u);
        std::vector<CAS400Font*> primaries;
        for (int i = 0; i < 6; ++i)
            primaries.push_back(ar.ReadObject<CAS400Font>());
        EXPECT_EQ(primaries[3], nullptr);
        EXPECT_EQ(primaries[4], nullptr);
        EXPECT_EQ(primaries[5], primaries[1]);
        ASSERT_EQ(ar.ReadCount(), 6u);
        std::vector<CAS400Font*> secondaries;
        for (int i = 0; i < 6; ++i)
            secondaries.push_back(ar.ReadObject<CAS400Font>());
        EXPECT_EQ(secondaries[5], primaries[2]);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(secondaries[i], nullptr) << i;
        for (int i : {0, 1, 2})
            delete primaries[static_cast<size_t>(i)];
    });

    CFontManager loaded;
    Load(stored, [&](CArchive& ar) {
        ar.SetObjectSchema(6);
        loaded.Serialize(ar);
    });
    EXPECT_EQ(loaded.GetFont(0), m_a);
    EXPECT_EQ(loaded.GetFont(2), m_c);
    EXPECT_EQ(loaded.GetFontList().GetHolder(5)->GetPrimary(), m_b);
    EXPECT_EQ(loaded.GetFontList().GetHolder(5)->GetSecondary(), m_c);
    EXPECT_EQ(loaded.GetFontList().GetHolder(3), nullptr);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(FontListTest, UnknownFontsAreAddedOrSubstitutedAsTheUserAnswers)
{
    CAS400Font unknown(QStringLiteral("C9"), QString(), 99, 0, 0, CAS400Font::FF_MODERN, QStringLiteral("Zed"), 833,
                       100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);

    m_prompts->AnswerMessageBox(IDNO);
    CAS400Font* substitute = m_fonts->ResolveMasterFont(&unknown);
    ASSERT_NE(substitute, nullptr);
    EXPECT_EQ(CFontManager::GetMasterFontList()->GetCount(), 3);
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_TRUE(Shown()[0].startsWith(QStringLiteral("Font Zed Regular 10pt was not found.")));
    EXPECT_EQ(Shown()[1], QStringLiteral("The font: \"Zed Regular 10pt\"\nwill be substituted by the font: \"")
                              + substitute->GetDescription() + u'"');

    m_prompts->AnswerMessageBox(IDYES);
    CAS400Font* added = m_fonts->ResolveMasterFont(&unknown);
    ASSERT_NE(added, nullptr);
    EXPECT_NE(added, &unknown);
    EXPECT_EQ(CFontManager::GetMasterFontList()->GetTail(), added);
    EXPECT_EQ(m_fonts->ResolveMasterFont(&unknown), added);
    EXPECT_EQ(Shown().size(), 3);
}

TEST_F(FontListTest, UsersOfAnIndexAndTheLastOneOut)
{
    CSelectedFontList& list = m_fonts->GetFontList();
    list.SetPrimaryFont(0, m_a);
    EXPECT_EQ(list.Add(m_b, 10), 1);
    EXPECT_EQ(list.Add(m_a, 10), 2);
    CFormElement* first = NewUser();
    CFormElement* second = NewUser();

    EXPECT_EQ(m_fonts->MoveFontUser(0, first, 1), 1);
    EXPECT_EQ(m_fonts->MoveFontUser(0, second, 1), 1);
    EXPECT_EQ(list.AddUser(0, first), 0);
    EXPECT_TRUE(m_fonts->IsUsableFontIndex(1));
    EXPECT_FALSE(m_fonts->IsUsableFontIndex(2)); // index 0's very record
    EXPECT_FALSE(m_fonts->IsUsableFontIndex(7));

    list.RemoveUser(first, 1);
    EXPECT_NE(list.GetHolder(1), nullptr);
    list.RemoveUser(second, 1);
    EXPECT_EQ(list.GetHolder(1), nullptr);
    list.RemoveUser(first, 0);
    EXPECT_NE(list.GetHolder(0), nullptr);

    for (int i = 3; i < 10; ++i)
        list.SetPrimaryFont(i, m_c);
    EXPECT_EQ(list.Add(m_b, 10), 1);
    EXPECT_EQ(list.Add(m_b, 10), 0);
    EXPECT_EQ(Shown().back(), QStringLiteral("Maximum fonts already selected.The document can have a maximum of 10 "
                                             "different fonts."));
}

TEST_F(FontListTest, JvxSectionWritesUsedIndexesAndReadsThemBack)
{
    CPage page;
    CFontManager& fonts = *page.GetFontManager();
    ASSERT_TRUE(fonts.SetFontGroupName(QStringLiteral("grp1")));
    CSelectedFontList& list = fonts.GetFontList();
    list.SetPrimaryFont(0, m_a);
    list.SetPrimaryFont(1, m_b);
    list.SetPrimaryFont(2, m_c);
    list.SetPrimaryFont(5, m_b);
    list.AddUser(2, NewUser());
    list.AddUser(5, NewUser());

    const Bytes bytes = StoreJvx(22, [&](CJVXArchive& ar) { fonts.ExchangeJVX(ar); }) + Utf16(u"#D next record");
    const QStringList lines = Utf16Text(bytes).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("#F GRP1    ") + QString(50, u' ') + QStringLiteral(" 02400700144") + u'3'
                            + QStringLiteral("*FINE    0000"));
    EXPECT_EQ(lines[0].size(), 87);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("#F0")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("#F2")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("#F5")));
    EXPECT_EQ(lines[1].size(), 3 + 115);
    EXPECT_EQ(list.GetHolder(1), nullptr);

    CPage target;
    JvxReader reader(bytes, 22);
    target.GetFontManager()->ExchangeJVX(reader.Archive());
    CFontManager& read = *target.GetFontManager();
    EXPECT_EQ(read.GetFontGroupName(), QStringLiteral("GRP1"));
    EXPECT_EQ(read.GetFont(0), m_a);
    EXPECT_EQ(read.GetFontList().GetHolder(2)->GetPrimary(), m_c);
    EXPECT_EQ(read.GetFontList().GetHolder(5)->GetPrimary(), m_b);
    QString rest;
    reader.Archive().ReadText(rest, 3);
    EXPECT_EQ(rest, QStringLiteral("#D "));

    // Each line, the group's and every font's, reaches the file whole in
    // every text form.
    ExpectWholeLinesInEveryForm(StoreJvxInEveryForm([&](CJVXArchive& ar) { fonts.ExchangeJVX(ar); }),
                                {"#F GRP1", "#F0", "#F2", "#F5"});
}

TEST_F(FontListTest, JvxExportRefusesTheDocumentGroup)
{
    for (const char* group : {"*DOC", ""}) {
        CFontManager fonts;
        if (*group == 0)
            fonts.SetFontGroupName(QStringLiteral("*DOC"));
        EXPECT_THROW(StoreJvx(23, [&](CJVXArchive& ar) { fonts.ExchangeJVX(ar); }), CArchiveException) << group;
    }
    JvxReader reader(Utf16(u"#X "), 23);
    CFontManager fonts;
    EXPECT_THROW(fonts.ExchangeJVX(reader.Archive()), CArchiveException);
}

} // namespace
