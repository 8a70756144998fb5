// Any orientation but 0 is landscape: the page's rule, and the JVX header's
// orientation field, which the host reads as 0 or 1 only.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "tests/support/JvxDocumentFixture.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* name;
    int orientation;
    bool landscape;
    const char* headerDigit;
};

const Case kCases[] = {
    {"portrait", 0, false, "0"},
    {"landscape", 1, true, "1"},
    {"another non-zero value", 2, true, "1"},
};

TEST(LandscapeRule, AnyOrientationButZeroIsLandscape)
{
    for (const Case& c : kCases) {
        CPage page;
        page.SetOrientation(c.orientation);
        EXPECT_EQ(page.IsLandscape(), c.landscape) << c.name;
    }
}

TEST(LandscapeRule, JvxHeaderCarriesLandscapeAsOne)
{
    WvdTestEnvironment env;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        doc.GetOutputPage()->SetOrientation(c.orientation);
        QString member = QStringLiteral("INVOICE");
        const QString path = env.folder.filePath(QStringLiteral("orientation.jvx"));
        ASSERT_TRUE(doc.ExportJVXFile(path, member, 28));
        EXPECT_EQ(doc.OrientationDigit().GetValue(), QString::fromLatin1(c.headerDigit));

        CDesignerDoc read;
        ASSERT_TRUE(read.OnNewDocument());
        ASSERT_TRUE(ImportInTransaction(read, path));
        EXPECT_EQ(read.GetOutputPage()->IsLandscape(), c.landscape);
    }
}

} // namespace
