// The spooled-file tools and the insert commands.
#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/DocumentCommands.h"
#include "designer/shell/MainFrame.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

struct InsertCommand
{
    UINT id;
    int type;
    // The sheet opens on the new element for the kinds that need filling in
    // before they do anything.
    bool opensSheet;
};

constexpr InsertCommand kInsertCommands[] = {
    {ID_INSERT_ADDRESS, FormElementType::Address, true},
    {ID_INSERT_BARCODE, FormElementType::Barcode, true},
    {ID_INSERT_CONDITIONAL, FormElementType::Conditional, true},
    {ID_INSERT_ERASER, FormElementType::Eraser, false},
    {ID_INSERT_EXIT_PARAMETER, FormElementType::ExitParam, true},
    {ID_INSERT_EXIT_PROGRAM, FormElementType::ExitProgram, true},
    {ID_INSERT_IMAGE, FormElementType::Image, false},
    {ID_INSERT_LOOP, FormElementType::Loop, false},
    {ID_INSERT_OUTPUT_DEVICE, FormElementType::Output, true},
    {ID_INSERT_REMARK, FormElementType::Remark, true},
    {ID_INSERT_RESOURCE, FormElementType::Resource, true},
    {ID_INSERT_SPOOLED_FILE, FormElementType::Source, false},
    {ID_INSERT_STATIC_TEXT, FormElementType::Text, true},
    {ID_INSERT_VARIABLE, FormElementType::Variable, true},
    {ID_INSERT_XML_ATTRIBUTE, FormElementType::XmlAttribute, true},
    {ID_INSERT_XML_COMMENT, FormElementType::XmlComment, true},
    {ID_INSERT_XML_ELEMENT, FormElementType::XmlElement, true},
    {ID_INSERT_XML_INSTRUCTION, FormElementType::XmlInstruction, true},
};

bool ClipboardHoldsText()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

} // namespace

void CDocumentCommands::AddSpooledFileCommands()
{
    OnCommand(ID_EDIT_OPEN_LOCAL_SPOOLED_FILE, [this] { GetDocument()->LoadLocalSpooledFile(); });
    OnCommand(ID_VIEW_SPOOLED_FILE_INFO, [this] { GetDocument()->ShowSpooledFileData(); });
    OnUpdate(ID_VIEW_SPOOLED_FILE_INFO, [this](CCmdUI& ui) { ui.Enable(GetDocument()->HasSpooledFileData()); });
    OnCommand(ID_FILE_SPOOL_COPY_TO_CLIPBOARD, [this] { GetDocument()->CopySpooledPage(); });
    OnCommand(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD, [this] { GetDocument()->PasteSpooledPage(); });
    OnUpdate(ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD, [](CCmdUI& ui) { ui.Enable(ClipboardHoldsText()); });
    OnCommand(ID_FILE_SPOOL_DELETE_PAGE, [this] { GetDocument()->DeleteCurrentSpooledPage(); });

    for (const InsertCommand& command : kInsertCommands) {
        OnCommand(command.id, [this, command] {
            CMainFrame* frame = GetFrame();
            CFormElement* element =
                GetDocument()->InsertNewElement(command.type, frame != nullptr ? frame->GetAnchorElement() : nullptr);
            if (element != nullptr && command.opensSheet && frame != nullptr)
                frame->ShowPropertySheet();
        });
        OnUpdate(command.id, [this, command](CCmdUI& ui) { ui.Enable(GetDocument()->CanInsertElement(command.type)); });
    }
}
