// The document's spooled-file tools and insert commands in the program: their
// enabling by document type and clipboard, the explorer's selection as the
// anchor of an insert and the property sheet opened on the new element.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/explorer/ExplorerPane.h"
#include "designer/views/explorer/ExplorerTreeCtrl.h"
#include "designer/views/pages/ElementPropertySheet.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <algorithm>

namespace {

const QString kSampleDocument = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample.wvd");

struct InsertRow
{
    const char* name;
    UINT id;
    int type;
    BOOL inDesign;
    BOOL inXml;
    bool opensSheet;
};

const InsertRow kInsertRows[] = {
    {"address", ID_INSERT_ADDRESS, FormElementType::Address, TRUE, TRUE, true},
    {"barcode", ID_INSERT_BARCODE, FormElementType::Barcode, TRUE, FALSE, true},
    {"conditional", ID_INSERT_CONDITIONAL, FormElementType::Conditional, TRUE, TRUE, true},
    {"eraser", ID_INSERT_ERASER, FormElementType::Eraser, TRUE, FALSE, false},
    {"exit parameter", ID_INSERT_EXIT_PARAMETER, FormElementType::ExitParam, TRUE, TRUE, true},
    {"exit program", ID_INSERT_EXIT_PROGRAM, FormElementType::ExitProgram, TRUE, TRUE, true},
    {"image", ID_INSERT_IMAGE, FormElementType::Image, TRUE, FALSE, false},
    {"loop", ID_INSERT_LOOP, FormElementType::Loop, TRUE, TRUE, false},
    {"output device", ID_INSERT_OUTPUT_DEVICE, FormElementType::Output, TRUE, TRUE, true},
    {"remark", ID_INSERT_REMARK, FormElementType::Remark, TRUE, TRUE, true},
    {"resource", ID_INSERT_RESOURCE, FormElementType::Resource, TRUE, FALSE, true},
    {"spooled file", ID_INSERT_SPOOLED_FILE, FormElementType::Source, TRUE, FALSE, false},
    {"static text", ID_INSERT_STATIC_TEXT, FormElementType::Text, TRUE, FALSE, true},
    {"variable", ID_INSERT_VARIABLE, FormElementType::Variable, TRUE, TRUE, true},
    {"xml attribute", ID_INSERT_XML_ATTRIBUTE, FormElementType::XmlAttribute, FALSE, TRUE, true},
    {"xml comment", ID_INSERT_XML_COMMENT, FormElementType::XmlComment, FALSE, TRUE, true},
    {"xml element", ID_INSERT_XML_ELEMENT, FormElementType::XmlElement, FALSE, TRUE, true},
    {"xml instruction", ID_INSERT_XML_INSTRUCTION, FormElementType::XmlInstruction, FALSE, TRUE, true},
};

class SpooledFileCommandsInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({kSampleDocument}));
        explorer = dynamic_cast<CExplorerPane*>(frame->GetExplorerPane());
        ASSERT_NE(explorer, nullptr);
        sheet = dynamic_cast<CElementPropertySheet*>(frame->ElementPropertySheet());
        ASSERT_NE(sheet, nullptr);
    }

    CCmdUI Query(UINT id) const { return frame->Router().Query(id); }

    void Pick(CFormElement* element)
    {
        explorer->GetTree()->setFocus();
        explorer->GetTree()->SelectCaret(explorer->FindItem(element));
        ASSERT_EQ(frame->GetAnchorElement(), element);
    }

    CExplorerPane* explorer = nullptr;
    CElementPropertySheet* sheet = nullptr;
};

TEST_F(SpooledFileCommandsInProgram, InsertCommandsFollowTheDocumentType)
{
    ASSERT_EQ(doc->GetDocType(), 0);
    for (const InsertRow& row : kInsertRows)
        EXPECT_EQ(Query(row.id).IsEnabled(), row.inDesign) << row.name << " in a spooled-file design";
    ASSERT_TRUE(doc->SetDocType(1));
    for (const InsertRow& row : kInsertRows)
        EXPECT_EQ(Query(row.id).IsEnabled(), row.inXml) << row.name << " in an XML document";
}

TEST_F(SpooledFileCommandsInProgram, EachInsertMakesItsKindAndOpensTheSheetForTheMarkedOnes)
{
    for (const InsertRow& row : kInsertRows) {
        // An image asks for its file; the kinds of the other type are off.
        if (!row.inDesign || row.type == FormElementType::Image)
            continue;
        SCOPED_TRACE(row.name);
        sheet->HideSheet();
        const qsizetype before = doc->GetElementList().GetCount();
        ASSERT_TRUE(frame->ExecuteCommand(row.id));
        ASSERT_EQ(doc->GetElementList().GetCount(), before + 1);
        CFormElement* made = nullptr;
        for (CObject* object : doc->GetElementList())
            if (static_cast<CFormElement*>(object)->GetType() == row.type
                && static_cast<CFormElement*>(object)->IsSelected())
                made = static_cast<CFormElement*>(object);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(sheet->IsShown(), row.opensSheet ? TRUE : FALSE);
        if (row.opensSheet) {
            EXPECT_EQ(sheet->GetElement(), made);
            // Page 1, the element's own, where the sheet has one.
            EXPECT_EQ(sheet->GetActiveIndex(), std::min(1, sheet->GetPageCount() - 1));
        }
        made->Select(FALSE);
    }
}

TEST_F(SpooledFileCommandsInProgram, AVariableInsertedWithALoopSelectedGoesIntoTheLoop)
{
    ASSERT_TRUE(frame->ExecuteCommand(ID_INSERT_LOOP));
    CFormElement* loop = nullptr;
    for (CObject* object : doc->GetElementList())
        if (static_cast<CFormElement*>(object)->GetType() == FormElementType::Loop)
            loop = static_cast<CFormElement*>(object);
    ASSERT_NE(loop, nullptr);
    EXPECT_FALSE(sheet->IsShown());
    ASSERT_NO_FATAL_FAILURE(Pick(loop));

    ASSERT_TRUE(frame->ExecuteCommand(ID_INSERT_VARIABLE));

    CFormElement* variable = sheet->GetElement();
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable->GetType(), FormElementType::Variable);
    EXPECT_EQ(variable->GetParent(), loop);
    EXPECT_TRUE(sheet->IsShown());
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
}

TEST_F(SpooledFileCommandsInProgram, PasteIsOfferedWhileTheClipboardHoldsText)
{
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Query(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD).IsEnabled());
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(image);
    EXPECT_FALSE(Query(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD).IsEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("PASTED LINE\r\n"));
    ASSERT_TRUE(Query(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD).IsEnabled());

    CSpooledFile* spool = doc->GetSpooledFile();
    const int pages = spool->GetPageCount();
    env.prompts->AnswerCommandLink(542); // after the last page
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD));
    EXPECT_EQ(spool->GetPageCount(), pages + 1);
    EXPECT_EQ(spool->GetCurrentPageNumber(), pages + 1);
    EXPECT_EQ(spool->GetCurrentPageLines()->GetAt(1), QStringLiteral("PASTED LINE"));
    EXPECT_TRUE(doc->IsModified());

    // Copy puts it back as the program's own text.
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SPOOL_COPY_TO_CLIPBOARD));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("PASTED LINE\r\n")));
    QGuiApplication::clipboard()->clear();
}

TEST_F(SpooledFileCommandsInProgram, DeleteCurrentPageAndFileData)
{
    CSpooledFile* spool = doc->GetSpooledFile();
    const int pages = spool->GetPageCount();
    ASSERT_GE(pages, 1);
    EXPECT_TRUE(Query(ID_FILE_SPOOL_DELETE_PAGE).IsEnabled());
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SPOOL_DELETE_PAGE));
    EXPECT_EQ(spool->GetPageCount(), pages - 1);
    EXPECT_TRUE(doc->IsModified());

    spool->GetLoadedIdentity().Clear();
    EXPECT_FALSE(Query(ID_VIEW_SPOOLED_FILE_INFO).IsEnabled());
    spool->GetLoadedIdentity().SetFileName(QStringLiteral("QSYSPRT"));
    EXPECT_TRUE(Query(ID_VIEW_SPOOLED_FILE_INFO).IsEnabled());
}

TEST_F(SpooledFileCommandsInProgram, LoadingASpooledFileFromThisComputerIsAlwaysOffered)
{
    EXPECT_TRUE(Query(ID_EDIT_OPEN_LOCAL_SPOOLED_FILE).IsEnabled());
    const int pages = doc->GetSpooledFile()->GetPageCount();
    env.prompts->AnswerFiles({});
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_OPEN_LOCAL_SPOOLED_FILE));
    EXPECT_EQ(doc->GetSpooledFile()->GetPageCount(), pages);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(env.prompts->PendingAnswers(), 0);
}

} // namespace
