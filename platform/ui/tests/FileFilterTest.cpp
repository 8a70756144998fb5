#include "platform/ui/FileFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilter, SystemFilterBecomesQtNameFilters)
{
    struct Case
    {
        const char* name;
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"two pairs, all files matches names without a dot",
         "Spooled files (*.txt)|*.txt|All files (*.*)|*.*||",
         {"Spooled files (*.txt)", "All files (*)"}},
        {"several patterns of one pair", "Images|*.bmp;*.png; *.tif||", {"Images (*.bmp *.png *.tif)"}},
        {"stale patterns in the description follow the real ones", "Forms (*.frm)|*.wvd||", {"Forms (*.wvd)"}},
        {"brackets that are no patterns stay", "Text (UTF-16)|*.txt||", {"Text (UTF-16) (*.txt)"}},
        {"without the closing bars", "Text|*.txt", {"Text (*.txt)"}},
        {"nothing after the closing bars", "A|*.a||B|*.b||", {"A (*.a)"}},
        {"description without patterns dropped", "A|*.a|Orphan", {"A (*.a)"}},
        {"empty filter", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToNameFilters(ParseFileFilter(QString::fromUtf8(c.filter))), c.expected);
    }
}

TEST(FileFilter, ParsedPairsKeepTheSystemPatterns)
{
    const std::vector<FileFilter> filters = ParseFileFilter(QStringLiteral("Images|*.bmp;*.png|All|*.*||"));
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, QStringLiteral("Images"));
    EXPECT_EQ(filters[0].patterns, (QStringList{"*.bmp", "*.png"}));
    EXPECT_EQ(filters[1].patterns, (QStringList{"*.*"}));
}

} // namespace
