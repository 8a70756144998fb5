#include "designer/shell/tests/FrameTestFixture.h"

#include <QTest>

namespace {

struct ToolCase
{
    const char* name;
    UINT id;
    WORD tool;
    bool withoutDocument;
    bool spooledFileDocument;
    bool xmlDocument;
};

const ToolCase kToolCases[] = {
    {"Select", ID_TOOL_SELECT, DrawingTool::Select, true, true, true},
    {"SpooledFile", ID_TOOL_SPOOLED_FILE, DrawingTool::SpooledFile, false, true, false},
    {"Loop", ID_TOOL_LOOP, DrawingTool::Loop, false, true, true},
    {"Conditional", ID_TOOL_CONDITIONAL, DrawingTool::Conditional, false, true, true},
    {"Image", ID_TOOL_IMAGE, DrawingTool::Image, false, true, false},
    {"StaticText", ID_TOOL_STATIC_TEXT, DrawingTool::StaticText, false, true, false},
    {"ExitParameter", ID_TOOL_EXIT_PARAMETER, DrawingTool::ExitParameter, false, true, true},
    {"Variable", ID_TOOL_VARIABLE, DrawingTool::Variable, false, true, true},
    {"Address", ID_TOOL_ADDRESS, DrawingTool::Address, false, true, true},
    {"Eraser", ID_TOOL_ERASER, DrawingTool::Eraser, false, true, false},
    {"Barcode", ID_TOOL_BARCODE, DrawingTool::Barcode, false, true, false},
    {"XmlElement", ID_TOOL_XML_ELEMENT, DrawingTool::XmlElement, false, false, true},
    {"XmlAttribute", ID_TOOL_XML_ATTRIBUTE, DrawingTool::XmlAttribute, false, false, true},
    {"XmlComment", ID_TOOL_XML_COMMENT, DrawingTool::XmlComment, false, false, true},
};

} // namespace

TEST_F(FrameTest, ToolsAreEnabledByDocumentType)
{
    MakeFrame();
    for (const ToolCase& c : kToolCases)
        EXPECT_EQ(Query(c.id).IsEnabled(), c.withoutDocument ? TRUE : FALSE) << c.name << " without a document";
    MakeDocument(0);
    for (const ToolCase& c : kToolCases)
        EXPECT_EQ(Query(c.id).IsEnabled(), c.spooledFileDocument ? TRUE : FALSE) << c.name << " in a WVD";
    doc->SetDocType(1);
    for (const ToolCase& c : kToolCases)
        EXPECT_EQ(Query(c.id).IsEnabled(), c.xmlDocument ? TRUE : FALSE) << c.name << " in an XML document";
}

TEST_F(FrameTest, ToolCommandSetsToolChecksItAndBroadcasts)
{
    MakeFrame();
    MakeDocument(0);
    for (const ToolCase& c : kToolCases) {
        if (!c.spooledFileDocument)
            continue;
        recorder->messages.clear();
        ASSERT_TRUE(frame->ExecuteCommand(c.id)) << c.name;
        EXPECT_EQ(frame->CurrentTool, c.tool) << c.name;
        EXPECT_EQ(ToolBroadcasts(), std::vector<std::intptr_t>{c.tool}) << c.name;
        EXPECT_TRUE(frame->GetAction(c.id)->isChecked()) << c.name;
        EXPECT_FALSE(frame->GetAction(ID_TOOL_XML_ELEMENT)->isChecked()) << c.name;
    }
}

TEST_F(FrameTest, DisabledCurrentToolFallsBackToSelectWithBroadcast)
{
    MakeFrame();
    MakeDocument(0);
    ASSERT_TRUE(frame->ExecuteCommand(ID_TOOL_BARCODE));
    recorder->messages.clear();
    doc->SetDocType(1);
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->CurrentTool, DrawingTool::Select);
    EXPECT_EQ(ToolBroadcasts(), std::vector<std::intptr_t>{DrawingTool::Select});
    EXPECT_TRUE(frame->GetAction(ID_TOOL_SELECT)->isChecked());
    EXPECT_FALSE(frame->GetAction(ID_TOOL_BARCODE)->isEnabled());
}

TEST_F(FrameTest, DisabledToolIgnoresItsKey)
{
    MakeFrame();
    MakeDocument(1);
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->ExecuteCommand(ID_TOOL_IMAGE));
    EXPECT_EQ(frame->CurrentTool, DrawingTool::Select);
}

TEST_F(FrameTest, ToolLockDecidesWhetherPlacingKeepsTheTool)
{
    struct Case
    {
        const char* name;
        bool lock;
        WORD after;
    };
    const Case cases[] = {{"unlocked", false, DrawingTool::Select}, {"locked", true, DrawingTool::StaticText}};
    for (const Case& c : cases) {
        MakeFrame();
        MakeDocument(0);
        if (c.lock) {
            ASSERT_TRUE(frame->ExecuteCommand(ID_TOOL_LOCK));
        }
        EXPECT_EQ(frame->GetAction(ID_TOOL_LOCK)->isChecked(), c.lock) << c.name;
        ASSERT_TRUE(frame->ExecuteCommand(ID_TOOL_STATIC_TEXT));
        recorder->messages.clear();
        frame->ResetToolUnlessLocked();
        EXPECT_EQ(frame->CurrentTool, c.after) << c.name;
        EXPECT_EQ(ToolBroadcasts().size(), c.lock ? 0u : 1u) << c.name;
        if (doc)
            doc->RemoveView(&view);
        frame.reset();
        doc.reset();
    }
}

TEST_F(FrameTest, ToolLockStartsFromStickyTools)
{
    prefs.StickyTools = TRUE;
    MakeFrame();
    EXPECT_TRUE(frame->ToolLock);
}

TEST_F(FrameTest, DigitKeysPickToolsAndKeypadDigitsDoNot)
{
    MakeFrame();
    MakeDocument(0);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_3);
    EXPECT_EQ(frame->CurrentTool, DrawingTool::Eraser);
    QTest::keyClick(frame.get(), Qt::Key_7);
    EXPECT_EQ(frame->CurrentTool, DrawingTool::StaticText);
    // Numpad 3 loads layout slot 3: a command of the application.
    application.Handle(ID_LAYOUT_LOAD_FIRST + 3);
    frame->UpdateCommandUI();
    QTest::keyClick(frame.get(), Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(frame->CurrentTool, DrawingTool::StaticText);
    EXPECT_EQ(application.executed, std::vector<UINT>{ID_LAYOUT_LOAD_FIRST + 3});
}
