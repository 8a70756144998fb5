#include "designer/views/pages/tests/DataPositionPageFixture.h"

#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/views/pages/VariablePropPage.h"
#include "designer/views/pages/XmlPropPages.h"

#include <functional>
#include <ostream>

namespace {

// One kind whose page holds the block.
struct BlockKind
{
    const char* name;
    int type;
    std::function<std::unique_ptr<CDataPositionBlock>(CFormElement*)> page;
};

void PrintTo(const BlockKind& c, std::ostream* os)
{
    *os << c.name;
}

template <class Page>
std::unique_ptr<CDataPositionBlock> PageOf(CFormElement* element)
{
    return DataPositionPageTest::KindPage<Page>(element);
}

const BlockKind kKinds[] = {
    {"Variable", FormElementType::Variable, &PageOf<CVariablePropPage>},
    {"XmlElement", FormElementType::XmlElement, &PageOf<CXmlElementPropPage>},
    {"XmlAttribute", FormElementType::XmlAttribute, &PageOf<CXmlAttributePropPage>},
    {"XmlComment", FormElementType::XmlComment, &PageOf<CXmlCommentPropPage>},
};

class DataPositionBlockTest : public DataPositionPageTest, public ::testing::WithParamInterface<BlockKind>
{
protected:
    // Drawn in the input pane it reads the spooled file; made elsewhere it
    // starts with constant data.
    CFormElement* MakeKind(int side, CFormElement* anchor = nullptr)
    {
        return Make(GetParam().type, SourceCells(5, 3, 12, 4), anchor, side);
    }

    struct Shown
    {
        bool dataChecked;
        bool positionChecked;
        bool dataOn;
        bool positionOn; // column, line, width and their up-downs

        friend bool operator==(const Shown&, const Shown&) = default;
        friend std::ostream& operator<<(std::ostream& os, const Shown& s)
        {
            return os << "data radio " << s.dataChecked << ", position radio " << s.positionChecked << ", data edit "
                      << s.dataOn << ", position edits " << s.positionOn;
        }
    };

    static Shown ShownOn(const CDataPositionBlock& page)
    {
        const DataPositionIds& ids = page.BlockIds();
        bool positionOn = true;
        for (const int id : {ids.column, ids.columnSpin, ids.line, ids.lineSpin, ids.width, ids.widthSpin})
            positionOn = positionOn && Enabled(page, id);
        return {page.FindControl(ids.dataRadio)->check != 0, page.FindControl(ids.positionRadio)->check != 0,
                Enabled(page, ids.data), positionOn};
    }

    static constexpr Shown kData{true, false, true, false};
    static constexpr Shown kPosition{false, true, false, true};
};

TEST_P(DataPositionBlockTest, RadiosSwitchBetweenDataAndPositionInOneChangeEach)
{
    CFormElement* element = MakeKind(PaneSide::Output);
    ASSERT_NE(element, nullptr);
    std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownOn(*page), kData);
    const DataPositionIds& ids = page->BlockIds();
    const DWORD start = Doc().GetBuildId();

    Click(*page, ids.positionRadio);
    EXPECT_FALSE(page->IsConstant());
    EXPECT_EQ(ShownOn(*page), kPosition);
    EXPECT_FALSE(element->GetSourceRect().IsNull()) << "its box is back in the input pane";
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    // The same radio again changes nothing and records nothing.
    Click(*page, ids.positionRadio);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    Click(*page, ids.dataRadio);
    EXPECT_TRUE(page->IsConstant());
    EXPECT_EQ(ShownOn(*page), kData);
    EXPECT_TRUE(element->GetSourceRect().IsNull());
    EXPECT_EQ(Doc().GetBuildId(), start + 2);
}

TEST_P(DataPositionBlockTest, RadioAppliesOverAnEmptiedColumn)
{
    CFormElement* element = MakeKind(PaneSide::Input);
    std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
    ASSERT_NE(page, nullptr);
    const DataPositionIds& ids = page->BlockIds();
    // A column the user emptied is no entry yet: the radio applies, and the
    // column shows the element's value again.
    page->Control(ids.column).text.clear();
    Click(*page, ids.dataRadio);
    EXPECT_TRUE(page->IsConstant());
    EXPECT_TRUE(env.env.prompts->Recorded().empty());
    EXPECT_EQ(page->FindControl(ids.column)->text, QStringLiteral("5"));
}

TEST_P(DataPositionBlockTest, ColumnLineAndWidthAreCutToTheInputPage)
{
    CFormElement* element = MakeKind(PaneSide::Input);
    std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
    ASSERT_NE(page, nullptr);
    const DataPositionIds& ids = page->BlockIds();
    const int largestColumn = Input().GetPixelWidth() / Input().GetCellWidth();
    const int largestLine = Input().GetPixelHeight() / Input().GetCellHeight();
    EXPECT_EQ(page->Range(ids.column), std::pair(1, largestColumn));
    EXPECT_EQ(page->Range(ids.width), std::pair(1, largestColumn));
    EXPECT_EQ(page->Range(ids.line), std::pair(1, largestLine));

    Type(*page, ids.line, QStringLiteral("9999"));
    EXPECT_EQ(page->Control(ids.line).text, QString::number(largestLine));
    EXPECT_EQ(element->GetSourceRect().top, (largestLine - 1) * Input().GetCellHeight());

    Type(*page, ids.column, QStringLiteral("1"));
    Type(*page, ids.width, QStringLiteral("9999"));
    EXPECT_EQ(page->Control(ids.width).text, QString::number(largestColumn));
    EXPECT_EQ(element->GetSourceRect().Width(), largestColumn * Input().GetCellWidth());
    EXPECT_EQ(element->GetSourceRect().Height(), Input().GetCellHeight()) << "one line high";
}

TEST_P(DataPositionBlockTest, ForceAbsoluteOnlyInsideALoopAndTheGroupTitle)
{
    struct Case
    {
        const char* name;
        bool inLoop;
        bool clickForceAbsolute;
        bool forceAbsoluteOn;
        const char* title;
    };
    const Case cases[] = {
        {"outside every loop", false, false, false, "Position (Absolute)"},
        {"inside a loop", true, false, true, "Position (Relative)"},
        {"inside a loop, forced absolute", true, true, true, "Position (Absolute)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* loop = c.inLoop ? Make(FormElementType::Loop, Cells(1, 1, 60, 30)) : nullptr;
        CFormElement* element = MakeKind(PaneSide::Input, loop);
        ASSERT_NE(element, nullptr);
        ASSERT_EQ(element->IsInLoop() != FALSE, c.inLoop);
        std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
        ASSERT_NE(page, nullptr);
        const DataPositionIds& ids = page->BlockIds();
        if (c.clickForceAbsolute)
            Click(*page, ids.forceAbsolute);
        EXPECT_EQ(Enabled(*page, ids.forceAbsolute), c.forceAbsoluteOn);
        EXPECT_EQ(page->FindControl(ids.positionGroup)->text, QString::fromLatin1(c.title));
        EXPECT_EQ(element->IsSourceAbsolute() != FALSE, c.clickForceAbsolute);
    }
}

TEST_P(DataPositionBlockTest, DataTypedMakesTheValueConstant)
{
    CFormElement* element = MakeKind(PaneSide::Output);
    std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
    ASSERT_NE(page, nullptr);
    const DataPositionIds& ids = page->BlockIds();
    const DWORD start = Doc().GetBuildId();
    Type(*page, ids.data, QStringLiteral("A"));
    Type(*page, ids.data, QStringLiteral("AB"));
    EXPECT_EQ(Doc().GetBuildId(), start + 2) << "one change at each keystroke";
    auto fresh = GetParam().page(element);
    EXPECT_EQ(fresh->FindControl(ids.data)->text, QStringLiteral("AB"));
}

TEST_P(DataPositionBlockTest, LongerDataStaysWholeWithoutAMessage)
{
    CFormElement* element = MakeKind(PaneSide::Output);
    std::unique_ptr<CDataPositionBlock> page = GetParam().page(element);
    ASSERT_NE(page, nullptr);
    const DataPositionIds& ids = page->BlockIds();
    const QString longer(CDataPositionBlock::kDataLimit + 8, QLatin1Char('x'));
    Type(*page, ids.data, longer);
    page->RefreshPage();
    page->OnUpdateData();
    EXPECT_TRUE(env.env.prompts->Recorded().empty());
    EXPECT_EQ(page->FindControl(ids.data)->text, longer);
    EXPECT_EQ(GetParam().page(element)->FindControl(ids.data)->text, longer);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DataPositionBlockTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
