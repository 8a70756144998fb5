#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// A language library in miniature: the texts it has, and nothing else.
class MapSource : public StringSource
{
public:
    explicit MapSource(std::map<UINT, QString> texts) : m_texts(std::move(texts)) {}

    std::optional<QString> Lookup(UINT id) const override
    {
        const auto found = m_texts.find(id);
        if (found == m_texts.end())
            return std::nullopt;
        return found->second;
    }

private:
    std::map<UINT, QString> m_texts;
};

constexpr UINT kBoth = 0x7F000001u;
constexpr UINT kBaseOnly = 0x7F000002u;
constexpr UINT kSourceOnly = 0x7F000003u;
constexpr UINT kNowhere = 0x7F000004u;

class StringTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const StringTable::Entry entries[] = {
            {kBoth, "Base text"},
            {kBaseOnly, "Only built in: \u00a3 5"},
        };
        StringTable::Add(entries);
    }

    void TearDown() override { StringTable::SetSource(nullptr); }
};

TEST_F(StringTableTest, InstalledSourceIsAskedFirstAndFallsBackToTheBuiltInTexts)
{
    StringTable::SetSource(std::make_shared<MapSource>(std::map<UINT, QString>{
        {kBoth, QStringLiteral("Translated text")},
        {kSourceOnly, QStringLiteral("Only translated")},
    }));

    struct Case
    {
        const char* name;
        UINT id;
        const char* expected;
    };
    const Case cases[] = {
        {"source wins over the built-in text", kBoth, "Translated text"},
        {"built-in text when the source lacks the id", kBaseOnly, "Only built in: \u00a3 5"},
        {"source text with no built-in one", kSourceOnly, "Only translated"},
        {"missing everywhere", kNowhere, "???"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadResString(c.id), QString::fromUtf8(c.expected));
    }
}

TEST_F(StringTableTest, RemovingTheSourceBringsBackTheBuiltInTexts)
{
    auto source = std::make_shared<MapSource>(std::map<UINT, QString>{{kBoth, QStringLiteral("Translated")}});
    StringTable::SetSource(source);
    EXPECT_EQ(StringTable::SetSource(nullptr), source);
    EXPECT_EQ(LoadResString(kBoth), QStringLiteral("Base text"));
    EXPECT_FALSE(StringTable::Find(kSourceOnly).has_value());
}

TEST_F(StringTableTest, LaterRegistrationReplacesTheText)
{
    StringTable::Add(kBaseOnly, QStringLiteral("Replaced"));
    EXPECT_EQ(LoadResString(kBaseOnly), QStringLiteral("Replaced"));
}

} // namespace
