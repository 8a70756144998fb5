#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormRemarkElement.h"
#include "designer/views/pages/RemarkPropPage.h"

namespace {

using Page = CRemarkPropPage;

class RemarkPageTest : public TextKindPageTest
{
protected:
    CFormRemarkElement* Remark() { return static_cast<CFormRemarkElement*>(Make(FormElementType::Remark, {})); }
};

TEST_F(RemarkPageTest, AutomaticDescriptionFollowsTrimmedToFifty)
{
    CFormRemarkElement* remark = Remark();
    auto* page = OwnPage<Page>(remark);
    const QString sixty = QStringLiteral("  ") + QString(60, QLatin1Char('r'));
    const qsizetype steps = UndoSteps();

    Type(*page, Page::IDC_REMARK, sixty);

    EXPECT_EQ(remark->GetRemark(), sixty);
    EXPECT_EQ(remark->GetDescription(), QString(50, QLatin1Char('r')));
    EXPECT_EQ(UndoSteps(), steps + 1);

    TypeDescription(remark, QStringLiteral("Note to the printer"));
    Type(*page, Page::IDC_REMARK, QStringLiteral("Another note"));
    EXPECT_EQ(remark->GetRemark(), QStringLiteral("Another note"));
    EXPECT_EQ(remark->GetDescription(), QStringLiteral("Note to the printer"));
}

TEST_F(RemarkPageTest, EveryChangeIsOneStepAndTheSameTextNone)
{
    CFormRemarkElement* remark = Remark();
    auto* page = OwnPage<Page>(remark);
    const qsizetype steps = UndoSteps();
    Type(*page, Page::IDC_REMARK, QStringLiteral("A"));
    Type(*page, Page::IDC_REMARK, QStringLiteral("A\nB"));
    Type(*page, Page::IDC_REMARK, QStringLiteral("A\nB"));
    EXPECT_EQ(UndoSteps(), steps + 2);
    EXPECT_EQ(remark->GetRemark(), QStringLiteral("A\nB"));
    EXPECT_EQ(Doc().GetChangeDepth(), 0);
}

TEST_F(RemarkPageTest, RefreshShowsAReplacedText)
{
    CFormRemarkElement* remark = Remark();
    auto* page = OwnPage<Page>(remark);
    Type(*page, Page::IDC_REMARK, QStringLiteral("Check totals"));
    {
        CDocChangeGuard change(&Doc());
        ASSERT_TRUE(remark->Replace(QStringLiteral("totals"), QStringLiteral("sums")));
    }
    page->OnUpdateData();
    EXPECT_EQ(page->FindControl(Page::IDC_REMARK)->text, QStringLiteral("Check sums"));
}

TEST_F(RemarkPageTest, RemarkBindingTable)
{
    using D = RemarkPageData;
    auto* page = OwnPage<Page>(Remark());
    CheckBindings<D>(*page, page->Data(),
                     {
                         {Page::IDC_REMARK, PageNotification::Change, 0x8, "Line one\nLine two",
                          [](const D& d) { return d.remark; }},
                     });
}

} // namespace
