#include "designer/resources/images/ImagingToolkit.h"

#include "platform/imaging/Pictra.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace {

QString Wide(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

TEST(ImportFilterList, AllFilesGoesAfterTheFirstWholePair)
{
    using namespace std::string_literals;
    struct Case
    {
        const char* name;
        std::string core;
        std::string expected;
    };
    const Case cases[] = {
        {"two pairs", "TIFF\0*.tif\0PNG\0*.png\0\0"s, "TIFF\0*.tif\0All Files\0*.*\0PNG\0*.png\0\0"s},
        {"one pair", "TIFF\0*.tif\0\0"s, "TIFF\0*.tif\0All Files\0*.*\0\0"s},
        {"text without its pattern", "TIFF\0*.tif"s, "TIFF\0*.tif"s},
        {"no text at all", "\0"s, "\0"s},
        {"empty block", ""s, ""s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ImportFilterWithAllFiles(c.core.data(), c.core.size()), Wide(c.expected));
    }
}

TEST(ImagingToolkit, TakesTheCoreListWithAllFilesAndOffersItToTheFileChooser)
{
    std::size_t size = 0;
    char* core = PtImportFilterList(&size);
    ASSERT_NE(core, nullptr);
    const QString expected = ImportFilterWithAllFiles(core, size);
    const QStringList corePairs = QString::fromUtf8(core, static_cast<qsizetype>(size)).split(QChar(u'\0'));
    PtFreeBlock(core);

    ImagingToolkit toolkit(32);
    EXPECT_EQ(toolkit.ImportFilterList(), expected);

    const QStringList parts = toolkit.DialogFilter().split(u'|');
    ASSERT_GE(corePairs.size(), 4);
    ASSERT_GE(parts.size(), 6);
    EXPECT_EQ(parts[0], corePairs[0]);
    EXPECT_EQ(parts[1], corePairs[1]);
    EXPECT_EQ(parts[2], QStringLiteral("All Files"));
    EXPECT_EQ(parts[3], QStringLiteral("*.*"));
    EXPECT_EQ(parts[4], corePairs[2]);
    EXPECT_TRUE(toolkit.DialogFilter().endsWith(QStringLiteral("||")));
}

TEST(ImagingToolkit, ScreenColourCountFollowsTheDepth)
{
    struct Case
    {
        int bits;
        ULONGLONG colours;
    };
    const Case cases[] = {{8, 256}, {16, 65536}, {24, ULONGLONG{1} << 24}, {32, ULONGLONG{1} << 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        ImagingToolkit toolkit(c.bits);
        EXPECT_EQ(toolkit.ScreenColourCount(), c.colours);
        EXPECT_EQ(toolkit.ColourReductionOption(), 0);
    }
}

TEST(ImagingToolkit, OneInstanceIsReachedWhileItLives)
{
    EXPECT_EQ(ImagingToolkit::Instance(), nullptr);
    {
        ImagingToolkit first(24);
        EXPECT_EQ(ImagingToolkit::Instance(), &first);
        {
            // The core is started once: a second object changes nothing.
            ImagingToolkit second(8);
            EXPECT_EQ(ImagingToolkit::Instance(), &first);
            EXPECT_TRUE(second.ImportFilterList().isEmpty());
        }
        EXPECT_EQ(ImagingToolkit::Instance(), &first);
    }
    EXPECT_EQ(ImagingToolkit::Instance(), nullptr);

    // Started again after the shut-down.
    ImagingToolkit again(24);
    EXPECT_EQ(ImagingToolkit::Instance(), &again);
    EXPECT_FALSE(again.ImportFilterList().isEmpty());
}

} // namespace
