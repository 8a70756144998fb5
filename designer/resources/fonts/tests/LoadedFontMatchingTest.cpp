// Fonts read from a WVD stream or a JVX font section that the master list
// does not hold: question and substitution outside a quiet read, silence
// inside one; and which JVX versions carry an index's secondary font.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/FontTestEnvironment.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

CAS400Font* AddMaster(const char* face, DWORD fgid, const char* library, const char* codedFont, BOOL dbcs = FALSE)
{
    auto* font = new CAS400Font(QStringLiteral("C1"), QString(), fgid, 0, 0, CAS400Font::FF_MODERN,
                                QString::fromLatin1(face), 833, 100, FALSE, FALSE, FALSE, FALSE,
                                QString::fromLatin1(library), QString::fromLatin1(codedFont), dbcs);
    EXPECT_TRUE(CFontManager::AddToMasterList(font));
    return font;
}

int MasterCount()
{
    return static_cast<int>(CFontManager::GetMasterFontList()->GetCount());
}

QString Utf16Text(const Bytes& bytes)
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

const QString kQuestion = QStringLiteral("Font Zed Regular 10pt was not found. Would you like to add it to the font "
                                         "list ?\n\nYes: Add this font to the font list.\nNo: Replace this font "
                                         "with a similar font from the font list.");

class LoadedFontMatchingTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        // The master lists live as long as some manager does.
        m_keeper = std::make_unique<CFontManager>();
        m_a = AddMaster("A", 1, "LIB", "");
        m_b = AddMaster("B", 2, "LIB", "");
        FreshPrompts();
    }

    // A WVD font list whose index 1 holds a font the master list lacks.
    void TearDown() override
    {
        m_keeper.reset();
        FontTestEnvironment::TearDown();
    }

    Bytes StoredWithUnknownFont()
    {
        CFontManager source;
        source.GetFontList().SetPrimaryFont(0, m_a);
        source.GetFontList().SetPrimaryFont(1, &m_unknown);
        return Store([&](CArchive& ar) { source.Serialize(ar); });
    }

    void LoadInto(CFontManager& target, const Bytes& bytes, CDesignerDoc* doc)
    {
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc;
            ar.SetObjectSchema(6);
            target.Serialize(ar);
        });
    }

    CAS400Font m_unknown{QStringLiteral("C9"),
                         QString(),
                         99,
                         0,
                         0,
                         CAS400Font::FF_MODERN,
                         QStringLiteral("Zed"),
                         833,
                         100,
                         FALSE,
                         FALSE,
                         FALSE,
                         FALSE,
                         QStringLiteral("LIB"),
                         QString(),
                         FALSE};
    // A JVX font section whose index 0 holds the given fonts.
    static Bytes StoredIndexZero(int version, CAS400Font* primary, CAS400Font* secondary)
    {
        CPage source;
        CFontManager& fonts = *source.GetFontManager();
        EXPECT_TRUE(fonts.SetFontGroupName(QStringLiteral("GRP")));
        fonts.GetFontList().SetPrimaryFont(0, primary);
        fonts.GetFontList().GetHolder(0)->SetSecondary(secondary);
        return StoreJvx(version, [&](CJVXArchive& ar) { fonts.ExchangeJVX(ar); });
    }

    static void Import(CPage& target, const Bytes& bytes, int version)
    {
        JvxReader reader(bytes, version);
        target.GetFontManager()->ExchangeJVX(reader.Archive());
    }

    // Reads the unknown font outside a quiet read, answering its question.
    void LoadAnswering(CFontManager& target, int answer)
    {
        const Bytes bytes = StoredWithUnknownFont();
        CDesignerDoc doc;
        m_prompts->AnswerMessageBox(answer);
        LoadInto(target, bytes, &doc);
        ASSERT_FALSE(m_prompts->Recorded().empty());
        EXPECT_EQ(m_prompts->Recorded()[0].text, kQuestion);
        EXPECT_EQ(m_prompts->Recorded()[0].Buttons(), static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(m_prompts->Recorded()[0].Icon(), static_cast<UINT>(MB_ICONQUESTION));
    }

    std::unique_ptr<CFontManager> m_keeper;
    CAS400Font* m_a = nullptr;
    CAS400Font* m_b = nullptr;
};

TEST_F(LoadedFontMatchingTest, OutsideAQuietReadYesAddsTheFontToTheMasterList)
{
    CFontManager target;
    LoadAnswering(target, IDYES);

    EXPECT_EQ(m_prompts->Recorded().size(), 1u);
    ASSERT_EQ(MasterCount(), 3);
    auto* added = static_cast<CAS400Font*>(CFontManager::GetMasterFontList()->GetTail());
    EXPECT_NE(added, &m_unknown);
    EXPECT_TRUE(added->IsSameFont(&m_unknown));
    EXPECT_EQ(target.GetFont(0), m_a);
    EXPECT_EQ(target.GetFontList().GetHolder(1)->GetPrimary(), added);
}

TEST_F(LoadedFontMatchingTest, OutsideAQuietReadNoSubstitutesTheBestMatchAndSaysSo)
{
    CFontManager target;
    LoadAnswering(target, IDNO);

    EXPECT_EQ(MasterCount(), 2);
    const CAS400Font* chosen = target.GetFontList().GetHolder(1)->GetPrimary();
    ASSERT_TRUE(chosen == m_a || chosen == m_b);
    ASSERT_EQ(m_prompts->Recorded().size(), 2u);
    EXPECT_EQ(m_prompts->Recorded()[1].text,
              QStringLiteral("The font: \"Zed Regular 10pt\"\nwill be substituted by the font: \"")
                  + chosen->GetDescription() + u'"');
    EXPECT_EQ(m_prompts->Recorded()[1].Buttons(), static_cast<UINT>(MB_OK));
}

TEST_F(LoadedFontMatchingTest, AQuietReadAddsTheFontWithoutAQuestion)
{
    const Bytes bytes = StoredWithUnknownFont();
    CDesignerDoc doc;
    CFontManager target;
    doc.BeginQuietRead();
    LoadInto(target, bytes, &doc);
    EXPECT_TRUE(doc.EndQuietRead().empty());

    EXPECT_TRUE(Shown().isEmpty());
    ASSERT_EQ(MasterCount(), 3);
    EXPECT_EQ(target.GetFontList().GetHolder(1)->GetPrimary(), CFontManager::GetMasterFontList()->GetTail());

    // The quiet read ends with the stream: the next read asks again.
    CFontManager later;
    later.GetFontList().SetPrimaryFont(1, &m_unknown);
    CAS400Font other(QStringLiteral("C8"), QString(), 98, 0, 0, CAS400Font::FF_MODERN, QStringLiteral("Other"), 833,
                     100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    later.GetFontList().SetPrimaryFont(2, &other);
    const Bytes second = Store([&](CArchive& ar) { later.Serialize(ar); });
    CFontManager reread;
    LoadInto(reread, second, &doc);
    // Zed is in the master list now; only Other is asked about (and, with
    // no answer, substituted).
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_TRUE(Shown()[0].startsWith(QStringLiteral("Font Other Regular 10pt was not found.")));
    EXPECT_EQ(reread.GetFontList().GetHolder(1)->GetPrimary(), target.GetFontList().GetHolder(1)->GetPrimary());
}

// Which versions write and read the secondary font.
struct SecondaryCase
{
    int version;
    bool carriesSecondary;
};

void PrintTo(const SecondaryCase& row, std::ostream* os)
{
    *os << "v" << row.version;
}

class JvxSecondaryFontTest : public LoadedFontMatchingTest, public ::testing::WithParamInterface<SecondaryCase>
{};

TEST_P(JvxSecondaryFontTest, OnlyVersion23AndLaterCarryTheSecondaryFont)
{
    const SecondaryCase row = GetParam();
    CAS400Font* secondary = AddMaster("Dbl", 300, "DBLIB", "X0DBL", TRUE);
    FreshPrompts();

    const Bytes bytes = StoredIndexZero(row.version, m_a, secondary);
    const QStringList lines = Utf16Text(bytes).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[1].contains(QStringLiteral("X0DBL")), row.carriesSecondary) << lines[1].toStdString();
    EXPECT_EQ(lines[1].contains(QStringLiteral("DBLIB")), row.carriesSecondary);

    CPage target;
    Import(target, bytes, row.version);
    const CSelectedFontHolder* holder = target.GetFontManager()->GetFontList().GetHolder(0);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->GetPrimary(), m_a);
    EXPECT_EQ(holder->GetSecondary(), row.carriesSecondary ? secondary : nullptr);
    EXPECT_TRUE(Shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Versions, JvxSecondaryFontTest,
                         ::testing::Values(SecondaryCase{21, false}, SecondaryCase{22, false}, SecondaryCase{23, true},
                                           SecondaryCase{24, true}),
                         [](const ::testing::TestParamInfo<SecondaryCase>& info) {
                             return "v" + std::to_string(info.param.version);
                         });

TEST_F(LoadedFontMatchingTest, AVersion23RecordWithoutSecondaryKeepsTheIndexSecondary)
{
    CAS400Font* secondary = AddMaster("Dbl", 300, "DBLIB", "X0DBL", TRUE);
    FreshPrompts();

    const Bytes bytes = StoredIndexZero(23, m_a, nullptr);
    // An index without a secondary font still writes the body of a new
    // record, whose library is the default one.
    EXPECT_TRUE(Utf16Text(bytes).contains(QStringLiteral("QFNTCPL")));

    CPage target;
    CFontManager& read = *target.GetFontManager();
    read.GetFontList().SetPrimaryFont(0, m_b);
    read.GetFontList().GetHolder(0)->SetSecondary(secondary);
    Import(target, bytes, 23);
    EXPECT_EQ(read.GetFont(0), m_a);
    EXPECT_EQ(read.GetFontList().GetHolder(0)->GetSecondary(), secondary);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(MasterCount(), 3);
}

TEST_F(LoadedFontMatchingTest, AVersion23SecondaryWithFgidAndWidthButNoNameIsTaken)
{
    CAS400Font* unnamed = AddMaster("Dbl", 301, "", "", TRUE);
    FreshPrompts();

    const Bytes bytes = StoredIndexZero(23, m_a, unnamed);

    CPage target;
    Import(target, bytes, 23);
    const CSelectedFontHolder* holder = target.GetFontManager()->GetFontList().GetHolder(0);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->GetSecondary(), unnamed);
    EXPECT_TRUE(Shown().isEmpty());
}

} // namespace
