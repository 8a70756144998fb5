// A fresh installation has no master font or barcode file: the lists start
// empty without a word and the files are made on save. A file that is there
// but cannot be read is the user's to hear of.

#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "tests/support/FontTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <ostream>

namespace {

struct MasterKind
{
    const char* name;
    const char* fileName;
    std::function<void()> loadAndAdd; // one manager's life that adds one entry
    std::function<int()> countAfterReload;
};

void PrintTo(const MasterKind& kind, std::ostream* os)
{
    *os << kind.name;
}

const MasterKind kKinds[] = {
    {"Fonts", "WvdFontsV2.dat",
     [] {
         CFontManager fonts;
         EXPECT_TRUE(CFontManager::AddToMasterList(
             new CAS400Font(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, QStringLiteral("Courier"), 833, 100,
                            FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE)));
     },
     [] {
         CFontManager fonts;
         return static_cast<int>(CFontManager::GetMasterFontList()->GetCount());
     }},
    {"Barcodes", "wvdBarcodes.dat",
     [] {
         CBarcodeManager barcodes;
         EXPECT_TRUE(CBarcodeManager::AddToMaster(new CBarcode(QStringLiteral("Parcel"))));
     },
     [] {
         CBarcodeManager barcodes;
         return static_cast<int>(CBarcodeManager::GetMasterBarcodeList()->GetCount());
     }},
};

class MasterFilesFirstStart : public FontTestEnvironment, public ::testing::WithParamInterface<MasterKind>
{};

TEST_P(MasterFilesFirstStart, AMissingFileIsNoErrorAndIsMadeOnSave)
{
    const MasterKind& kind = GetParam();
    const QString path = PathOf(kind.fileName);
    ASSERT_FALSE(QFileInfo::exists(path));
    kind.loadAndAdd();
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(u'\n').toStdString();
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(kind.countAfterReload(), 1);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_P(MasterFilesFirstStart, AFileThatCannotBeReadIsReportedWhenRead)
{
    const MasterKind& kind = GetParam();
    const QString path = PathOf(kind.fileName);
    ASSERT_TRUE(QDir().mkpath(path)); // a folder where the file should be
    EXPECT_EQ(kind.countAfterReload(), 0);
    // One report of the read; the save at the end is its own failure.
    ASSERT_FALSE(Shown().isEmpty());
    EXPECT_TRUE(Shown().front().contains(QFileInfo(path).fileName())) << Shown().front().toStdString();
    EXPECT_FALSE(Shown().front().startsWith(QStringLiteral("Error saving")));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

INSTANTIATE_TEST_SUITE_P(Kinds, MasterFilesFirstStart, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
