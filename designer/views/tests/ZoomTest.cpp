// Zoom steps and limits, the fits, the zoom kept in the document, the
// mapping between page and pane pixels and the stored layout values. What
// holds for both panes runs in each (PaneZoomTest).

#include "designer/views/tests/ViewTestFixture.h"

#include <QStyle>

using ZoomTest = ViewTest;

namespace {

int CheckOf(CDesignView& pane, UINT id)
{
    CCmdUI ui(id);
    EXPECT_TRUE(pane.OnUpdateCmdUI(ui)) << id;
    return ui.GetCheck().value_or(-1);
}

void SendLayout(CDesignView& pane, bool save)
{
    CRegisteredMessageEvent event(RegisteredMessages::SerializeLayout(), save ? 1 : 0, 0);
    QCoreApplication::sendEvent(&pane, &event);
}

} // namespace

TEST_F(ZoomTest, StepCommandsSetTheZoomKeepItInTheDocumentAndCheckTheirItem)
{
    for (UINT i = 0; i < 10; ++i) {
        const UINT id = ID_VIEW_ZOOM_FIRST + i;
        ASSERT_TRUE(output.OnCmdMsg(id));
        EXPECT_EQ(output.GetZoomX(), ZoomStepTable[i]);
        EXPECT_EQ(output.GetZoomY(), ZoomStepTable[i]);
        EXPECT_EQ(doc.m_destZoom[0], ZoomStepTable[i]);
        EXPECT_EQ(doc.m_destZoom[1], ZoomStepTable[i]);
        EXPECT_EQ(doc.m_destFit, 0);
        for (UINT j = 0; j < 10; ++j)
            EXPECT_EQ(CheckOf(output, ID_VIEW_ZOOM_FIRST + j), i == j ? 1 : 0) << "step " << i << " item " << j;
    }
    // The input pane keeps its own fields.
    EXPECT_EQ(doc.m_sourceZoom[0], 100);
    EXPECT_EQ(input.GetZoomX(), 100);
}

TEST_F(ZoomTest, ZoomInAndOutStopAtTheirLimits)
{
    struct Case
    {
        int start;
        UINT command;
        int expected;
    };
    const Case cases[] = {
        {295, ID_VIEW_ZOOM_IN, 300}, {300, ID_VIEW_ZOOM_IN, 300}, {100, ID_VIEW_ZOOM_IN, 110},
        {30, ID_VIEW_ZOOM_OUT, 25},  {25, ID_VIEW_ZOOM_OUT, 25},  {100, ID_VIEW_ZOOM_OUT, 90},
    };
    for (const Case& c : cases) {
        output.SetZoom(c.start, c.start);
        output.OnCmdMsg(ID_VIEW_ZOOM_PAGE); // a fit first: the step commands end it
        output.SetZoom(c.start, c.start);
        ASSERT_TRUE(output.OnCmdMsg(c.command));
        EXPECT_EQ(output.GetZoomX(), c.expected) << c.start;
        EXPECT_EQ(output.GetZoomY(), c.expected) << c.start;
        EXPECT_EQ(output.GetFitMode(), ViewFitMode::None);
        EXPECT_EQ(doc.m_destZoom[0], c.expected);
    }
}

TEST_F(ZoomTest, SetZoomReportsWhetherAnythingChangedAndRaisesToTheFloor)
{
    EXPECT_FALSE(output.SetZoom(100, 100));
    EXPECT_TRUE(output.SetZoom(300, 300));
    EXPECT_FALSE(output.SetZoom(300, 300));
    EXPECT_TRUE(output.SetZoom(10, -5));
    EXPECT_EQ(output.GetZoomX(), 25);
    EXPECT_EQ(output.GetZoomY(), 25);
    EXPECT_FALSE(output.SetZoom(0, 0)) << "0 is raised to 25, which it already is";
    // A zoom change is no edit: no undo step.
    const int steps = UndoSteps();
    output.OnCmdMsg(ID_VIEW_ZOOM_IN);
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ZoomTest, FitsOnA400x300Pane)
{
    // The output page is 827 x 1122 pixels; the scroll bar 14 pixels wide.
    ASSERT_EQ(OutputPage().GetPixelWidth(), 827);
    ASSERT_EQ(OutputPage().GetPixelHeight(), 1122);
    ASSERT_EQ(output.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &output), 14);
    struct Case
    {
        UINT command;
        int mode;
        int zoom;
    };
    const Case cases[] = {
        // 400 * 100 / 827 = 48, but the page is then taller than the pane:
        // the vertical bar comes off first, (40000 - 1400) / 827 = 46.
        {ID_VIEW_ZOOM_WIDTH, ViewFitMode::Width, 46},
        {ID_VIEW_ZOOM_HEIGHT, ViewFitMode::Height, 26}, // 30000 / 1122
        {ID_VIEW_ZOOM_PAGE, ViewFitMode::Page, 26},     // the smaller of 48 and 26
    };
    for (const Case& c : cases) {
        output.SetZoom(100, 100);
        ASSERT_TRUE(output.OnCmdMsg(c.command));
        EXPECT_EQ(output.GetFitMode(), c.mode);
        EXPECT_EQ(output.GetZoomX(), c.zoom) << c.mode;
        EXPECT_EQ(output.GetZoomY(), c.zoom) << c.mode;
        EXPECT_EQ(doc.m_destFit, c.mode);
        EXPECT_EQ(doc.m_destZoom[0], c.zoom);
        for (const Case& other : cases)
            EXPECT_EQ(CheckOf(output, other.command), other.mode == c.mode ? 1 : 0);
        for (UINT j = 0; j < 10; ++j)
            EXPECT_EQ(CheckOf(output, ID_VIEW_ZOOM_FIRST + j), 0) << "a fit checks no step";
    }
}

TEST_F(ZoomTest, AFitFollowsThePaneSize)
{
    output.OnCmdMsg(ID_VIEW_ZOOM_PAGE);
    output.resize(800, 600);
    EXPECT_EQ(output.GetZoomX(), 53); // 60000 / 1122
    // Collapsed to nothing (an XML document hides the output pane): the
    // zoom stays as it was.
    output.resize(0, 600);
    EXPECT_EQ(output.GetZoomX(), 53);
    EXPECT_EQ(doc.m_destZoom[0], 53);
}

TEST_F(ZoomTest, InitialUpdateTakesTheDocumentsZoomAndFit)
{
    doc.m_destZoom[0] = 150;
    doc.m_destZoom[1] = 175;
    doc.m_destFit = 0;
    output.OnInitialUpdate();
    EXPECT_EQ(output.GetZoomX(), 150);
    EXPECT_EQ(output.GetZoomY(), 175);
    EXPECT_EQ(output.GetTotalSize(), QSize(1241, 1964)); // 827 * 1.5, 1122 * 1.75

    doc.m_destFit = ViewFitMode::Page;
    output.OnInitialUpdate();
    EXPECT_EQ(output.GetFitMode(), ViewFitMode::Page);
    EXPECT_EQ(output.GetZoomX(), 26);
}

TEST_F(ZoomTest, ConversionsFollowZoomAndScroll)
{
    output.OnCmdMsg(ID_VIEW_ZOOM_FIRST + 7); // 200 %
    EXPECT_EQ(output.GetTotalSize(), QSize(1654, 2244));
    EXPECT_EQ(output.GetLineStep(), QSize(20, 32));
    output.ScrollToPosition(QPoint(100, 50));
    ASSERT_EQ(output.GetScrollPosition(), QPoint(100, 50));
    EXPECT_EQ(output.DocToClientPoint(QPoint(10, 20)), QPoint(-80, -10));
    EXPECT_EQ(output.ClientToDocPoint(QPoint(-80, -10)), QPoint(10, 20));
    EXPECT_EQ(output.DocToClientRect(kwvd::Rect(60, 40, 50, 80)), kwvd::Rect(0, 30, 20, 110)) << "normalised";
    EXPECT_EQ(output.ClientToDocRect(kwvd::Rect(0, 30, 20, 110)), kwvd::Rect(50, 40, 60, 80));
    EXPECT_EQ(output.DocToClientSize(QSize(-10, 16)), QSize(20, 32));
}

TEST_F(ZoomTest, StoredLayoutValuesThatMeanNothingAreIgnored)
{
    // Nothing stored: the load fails and changes nothing.
    EXPECT_EQ(output.OnSerializeLayout(0, 0), 0);
    EXPECT_EQ(output.GetZoomX(), 100);

    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key = frame.OpenLayoutKey(QStringLiteral("DestinationView"), true);
    ASSERT_TRUE(key.has_value());
    for (const char16_t* name : {u"ZoomNumX", u"ZoomNumY", u"ZoomFit", u"ScrollX", u"ScrollY"})
        store.WriteValue(*key, name, kwvd::RegistryValue::Number(0));
    EXPECT_EQ(output.OnSerializeLayout(0, 0), 1);
    EXPECT_EQ(output.GetZoomX(), 100);
    EXPECT_EQ(output.GetFitMode(), ViewFitMode::None);

    // A damaged store: an absurd zoom is bounded, not believed.
    store.WriteValue(*key, u"ZoomNumX", kwvd::RegistryValue::Number(4000000000u));
    store.WriteValue(*key, u"ZoomNumY", kwvd::RegistryValue::Number(4000000000u));
    EXPECT_EQ(output.OnSerializeLayout(0, 0), 1);
    EXPECT_EQ(output.GetZoomX(), 1000);

    // A stored fit mode fits.
    store.WriteValue(*key, u"ZoomFit", kwvd::RegistryValue::Number(ViewFitMode::Page));
    output.OnSerializeLayout(0, 0);
    EXPECT_EQ(output.GetFitMode(), ViewFitMode::Page);
    EXPECT_EQ(output.GetZoomX(), 26);
}

TEST_F(ZoomTest, WithoutAFrameLayoutCannotBeKept)
{
    output.SetDesignFrame(nullptr);
    EXPECT_EQ(output.OnSerializeLayout(1, 0), 0);
}

// ---------------------------------------------------------------- in each pane

// Where a pane keeps its zoom: in the document's fields of its side, and in
// the layout under its own subsection.
struct ZoomHome
{
    int* zoom; // x, y
    int* fit;
    const char* subsection;
};

class PaneZoomTest : public PaneTest
{
protected:
    ZoomHome HomeOf(PaneKind kind)
    {
        if (kind == PaneKind::Output)
            return {doc.m_destZoom, &doc.m_destFit, "DestinationView"};
        return {doc.m_sourceZoom, &doc.m_sourceFit, "SourceView"};
    }
    PaneKind Other() const { return GetParam() == PaneKind::Output ? PaneKind::Input : PaneKind::Output; }
    std::unique_ptr<CDesignView> NewPane() const
    {
        if (GetParam() == PaneKind::Output)
            return std::make_unique<CDDestView>();
        return std::make_unique<CDSourceView>();
    }
};

TEST_P(PaneZoomTest, TheZoomIsKeptInThePanesOwnFieldsAndReadBackByANewPane)
{
    const ZoomHome own = HomeOf(GetParam());
    const ZoomHome other = HomeOf(Other());
    const int otherZoom = other.zoom[0];
    const int steps = UndoSteps();
    ASSERT_TRUE(ThisPane().SetZoom(150, 175));
    EXPECT_EQ(own.zoom[0], 150);
    EXPECT_EQ(own.zoom[1], 175);
    EXPECT_EQ(*own.fit, 0);
    EXPECT_EQ(other.zoom[0], otherZoom) << "the other pane's fields are not this pane's";
    EXPECT_EQ(UndoSteps(), steps) << "a zoom is no edit";

    ThisPane().OnFitPage();
    EXPECT_EQ(*own.fit, ViewFitMode::Page);
    EXPECT_EQ(own.zoom[0], ThisPane().GetZoomX());

    const std::unique_ptr<CDesignView> second = NewPane();
    second->SetDocument(&doc);
    second->resize(400, 300);
    second->OnInitialUpdate();
    EXPECT_EQ(second->GetFitMode(), ViewFitMode::Page);
    second->SetDocument(nullptr);

    // And the pane itself takes the fields on its initial update.
    own.zoom[0] = 175;
    own.zoom[1] = 175;
    *own.fit = 0;
    ThisPane().OnInitialUpdate();
    EXPECT_EQ(ThisPane().GetZoomX(), 175);
    EXPECT_EQ(ThisPane().GetFitMode(), ViewFitMode::None);
}

TEST_P(PaneZoomTest, LayoutValuesRoundTripUnderThePanesOwnSubsection)
{
    const ZoomHome own = HomeOf(GetParam());
    const ZoomHome other = HomeOf(Other());
    ThisPane().SetZoom(150, 150);
    ThisPane().UpdateScrollSizes();
    ThisPane().ScrollToPosition(QPoint(30, 40));
    SendLayout(ThisPane(), true);
    EXPECT_EQ(frame.layoutSubsections.back(), QString::fromLatin1(own.subsection));

    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key = frame.OpenLayoutKey(QString::fromLatin1(own.subsection), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(store.ReadNumber(*key, u"ZoomNumX"), 150u);
    EXPECT_EQ(store.ReadNumber(*key, u"ZoomNumY"), 150u);
    EXPECT_EQ(store.ReadNumber(*key, u"ZoomFit"), 0u);
    EXPECT_EQ(store.ReadNumber(*key, u"ScrollX"), 30u);
    EXPECT_EQ(store.ReadNumber(*key, u"ScrollY"), 40u);
    EXPECT_FALSE(frame.OpenLayoutKey(QString::fromLatin1(other.subsection), false).has_value())
        << "each pane keeps its own subsection";

    ThisPane().SetZoom(50, 50);
    ThisPane().ScrollToPosition(QPoint(0, 0));
    SendLayout(ThisPane(), false);
    EXPECT_EQ(ThisPane().GetZoomX(), 150);
    EXPECT_EQ(ThisPane().GetScrollPosition(), QPoint(30, 40));
    EXPECT_EQ(own.zoom[0], 150);
}

INSTANTIATE_TEST_SUITE_P(Panes, PaneZoomTest, ::testing::Values(PaneKind::Output, PaneKind::Input), PaneTestName);
