#include "designer/document/XmlImport.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/XmlImportStrings.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/elements/XmlSchemaNodes.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

// Network access, external entities and DTDs stay off: a sample or schema
// from elsewhere must not make the designer fetch or expand anything.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// The layout starts 10 cells wide and one line high at the top left.
kwvd::Rect StartRect(QSize cell)
{
    return kwvd::Rect(0, 0, 10 * cell.width(), cell.height());
}

QSize CellOf(const CDesignerDoc* doc)
{
    const CPage* page = doc->GetSourcePage();
    return page != nullptr ? QSize(page->GetCellWidth(), page->GetCellHeight()) : QSize(0, 0);
}

BOOL ImportSampleNode(CDesignerDoc* doc, xmlNode* node, CFormElement* parent, kwvd::Rect& rect, QSize cell);

int Tell(CDesignerDoc* doc, const QString& text, UINT type)
{
    return doc->NotifyUser(text, type, IDOK);
}

QString ErrorText(const xmlError* error)
{
    if (error == nullptr || error->message == nullptr)
        return QStringLiteral("Unknown error");
    return QString::fromUtf8(error->message).trimmed();
}

// A namespace declaration of the element, as an attribute of the import.
QString DeclarationName(const xmlNs* space)
{
    if (space->prefix == nullptr)
        return QStringLiteral("xmlns");
    return QStringLiteral("xmlns:") + QString::fromUtf8(reinterpret_cast<const char*>(space->prefix));
}

// Below a sample node: an attribute element for each name, one line down.
BOOL ImportAttributeName(CDesignerDoc* doc, const QString& name, CFormElement* parent, kwvd::Rect& rect, QSize cell)
{
    rect.Offset(0, cell.height());
    auto* attribute = new CFormXmlAttributeElement(doc, rect, 0);
    if (!AddImportedXmlElement(doc, attribute, parent))
        return FALSE;
    attribute->SetName(name);
    return TRUE;
}

} // namespace

QString SchemaSelectTitle()
{
    return QStringLiteral("Select XML Element");
}

QString SchemaSelectLabel()
{
    return QStringLiteral("Please select your base element name:");
}

BOOL FindSchemaDocumentElement(xmlNode* schema, xmlNode** elementType)
{
    if (elementType == nullptr)
        return FALSE;
    *elementType = nullptr;
    if (schema == nullptr)
        return FALSE;

    QStringList names;
    QStringList candidates;
    // One walk for all references: a walk per type would grow with the
    // square of the schema.
    const QSet<QString> referenced = ReferencedTypes(schema, "element");
    for (xmlNode* type : XmlChildElements(schema, "ElementType")) {
        QString name;
        if (!XmlGetAttributeValue(type, QStringLiteral("name"), name))
            continue;
        names.append(name);
        if (!referenced.contains(name))
            candidates.append(name);
    }

    QString chosen;
    if (candidates.size() == 1) {
        const QString question = FormatMessageText(
            QStringLiteral("The most likely document element in this schema is \"%1\".  If this is not the "
                           "document element you require press \"No\".  A list of possible elements will be "
                           "presented for your selection.\n\nPress \"Yes\" if this is the correct document "
                           "element or you do not know."),
            candidates.front());
        if (Prompts().MessageBox(question, {}, MB_YESNO | MB_ICONQUESTION) == IDYES)
            chosen = candidates.front();
    }
    if (chosen.isEmpty()) {
        std::stable_sort(names.begin(), names.end(),
                         [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        ListChoiceRequest request;
        request.title = SchemaSelectTitle();
        request.label = SchemaSelectLabel();
        request.items = names;
        request.sort = true;
        const int index = Prompts().ChooseFromList(request);
        if (index < 0 || index >= names.size())
            return FALSE;
        chosen = names.at(index);
    }

    for (xmlNode* type : XmlChildElements(schema, "ElementType")) {
        QString name;
        if (XmlGetAttributeValue(type, QStringLiteral("name"), name) && name == chosen) {
            *elementType = type;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CDesignerDoc::ImportXmlFile(CDesignerDoc* doc, const QString& path)
{
    if (doc == nullptr)
        return TRUE;
    CWaitCursor wait;

    // The file is read here rather than by the parser, so that a folder or
    // a file that cannot be opened is told apart from one that is not XML.
    QFile file(path);
    const bool isFolder = QFileInfo(path).isDir();
    if (isFolder || !file.open(QIODevice::ReadOnly)) {
        const QString reason = isFolder ? QStringLiteral("Is a directory") : file.errorString();
        Tell(doc,
             FormatMessageText(QStringLiteral("Error loading Xml file %1.\n%2!08x! - %3."), path,
                               static_cast<unsigned>(XML_IO_LOAD_ERROR), reason),
             MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        std::printf("Failed to create DOM document : %08x\n", 0x8007000Eu);
        return TRUE;
    }
    const QByteArray url = path.toUtf8();
    XmlDocument dom(bytes.size() > INT_MAX
                        ? nullptr
                        : xmlCtxtReadMemory(context, bytes.constData(), static_cast<int>(bytes.size()), url.constData(),
                                            nullptr, kParseOptions));
    if (dom.IsNull()) {
        const xmlError* error = xmlCtxtGetLastError(context);
        QString text;
        if (error != nullptr && error->line > 0) {
            text = FormatMessageText(QStringLiteral("Error reading Xml file %1.\n%2\nLine %3!d!, Col %4!d!."), path,
                                     ErrorText(error), error->line, error->int2);
        } else {
            const unsigned code = error != nullptr ? static_cast<unsigned>(error->code) : 0u;
            text = FormatMessageText(QStringLiteral("Error loading Xml file %1.\n%2!08x! - %3."), path, code,
                                     ErrorText(error));
        }
        xmlFreeParserCtxt(context);
        Tell(doc, text, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    xmlFreeParserCtxt(context);

    if (ImportXdrSchema(doc, dom.Get()))
        return TRUE;

    kwvd::Rect rect = StartRect(CellOf(doc));
    if (!ImportXmlNode(doc, dom.Root(), nullptr, rect, CellOf(doc)))
        Tell(doc, FormatMessageText(QStringLiteral("Error loading Xml file %1."), path), MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

BOOL CDesignerDoc::ImportXdrSchema(CDesignerDoc* doc, _xmlDoc* dom)
{
    if (doc == nullptr || dom == nullptr)
        return FALSE;
    xmlNode* root = xmlDocGetRootElement(dom);
    if (root == nullptr || !xmlStrEqual(root->name, reinterpret_cast<const xmlChar*>("Schema")))
        return FALSE;
    try {
        xmlNode* type = nullptr;
        if (!FindSchemaDocumentElement(root, &type))
            return FALSE;
        XmlImportBatch batch(doc, kMaxSchemaImportElements);
        kwvd::Rect rect = StartRect(CellOf(doc));
        auto* element = new CFormXmlElement(doc, rect, 0);
        if (!AddImportedXmlElement(doc, element, nullptr))
            return FALSE;
        element->LoadFromSchema(type, &rect, 1);
        if (XmlImportBatch::IsExhausted()) {
            const QString path =
                dom->URL != nullptr ? QString::fromUtf8(reinterpret_cast<const char*>(dom->URL)) : QString();
            Tell(doc, FormatResMessage(IDS_XML_SCHEMA_TOO_LARGE, path, kMaxSchemaImportElements),
                 MB_OK | MB_ICONEXCLAMATION);
            // The schema was read; another file or a sample import of this
            // one is not what the user asked for.
            return TRUE;
        }
        batch.Commit();
        return TRUE;
    } catch (const CArchiveException& error) {
        if (Preferences().EnableDebugServices == 1)
            ReportError(error);
        Tell(doc, QStringLiteral("Error loading Xml Schema."), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
}

BOOL CDesignerDoc::ImportXmlNode(CDesignerDoc* doc, _xmlNode* node, CFormElement* parent, kwvd::Rect& rect, QSize cell)
{
    if (doc == nullptr || node == nullptr)
        return FALSE;
    // A sample is bounded by its own size: no limit, but nothing of a
    // failed walk stays.
    XmlImportBatch batch(doc, 0);
    if (!ImportSampleNode(doc, node, parent, rect, cell))
        return FALSE;
    batch.Commit();
    return TRUE;
}

void CDesignerDoc::AddImportedElements(const std::vector<CFormElement*>& elements)
{
    if (elements.empty())
        return;
    CFormElement* last = GetLastTopLevelElement();
    const auto at =
        last != nullptr && last->GetType() == FormElementType::Output ? ElementPosition(last) : m_elements.end();
    std::vector<CFormElement*> added;
    added.reserve(elements.size());
    for (CFormElement* element : elements) {
        if (element == nullptr || ContainsElement(element))
            continue;
        element->SetDocument(this);
        ListElementBefore(at, element);
        AddToZOrder(element, true);
        added.push_back(element);
    }
    SetModifiedFlag(TRUE);
    for (CFormElement* element : added)
        BroadcastHint(DocumentHint::ElementAdded, element);
}

namespace {

BOOL ImportSampleNode(CDesignerDoc* doc, xmlNode* node, CFormElement* parent, kwvd::Rect& rect, QSize cell)
{
    if (doc == nullptr || node == nullptr)
        return FALSE;

    CFormElement* made = nullptr;
    switch (node->type) {
    case XML_ELEMENT_NODE: {
        rect.Offset(0, cell.height());
        auto* element = new CFormXmlElement(doc, rect, 0);
        if (!AddImportedXmlElement(doc, element, parent))
            return FALSE;
        element->SetName(XmlQualifiedName(node));
        made = element;
        break;
    }
    case XML_ATTRIBUTE_NODE: {
        rect.Offset(0, cell.height());
        auto* attribute = new CFormXmlAttributeElement(doc, rect, 0);
        if (!AddImportedXmlElement(doc, attribute, parent))
            return FALSE;
        attribute->SetName(XmlQualifiedName(node));
        made = attribute;
        break;
    }
    case XML_PI_NODE: {
        rect.Offset(0, cell.height());
        auto* instruction = new CFormXmlInstructionElement(doc);
        if (!AddImportedXmlElement(doc, instruction, parent))
            return FALSE;
        instruction->SetName(XmlQualifiedName(node));
        made = instruction;
        break;
    }
    case XML_COMMENT_NODE: {
        rect.Offset(0, cell.height());
        auto* comment = new CFormXmlCommentElement(doc, rect, 0);
        if (!AddImportedXmlElement(doc, comment, parent))
            return FALSE;
        comment->SetText(node->content != nullptr ? QString::fromUtf8(reinterpret_cast<const char*>(node->content))
                                                  : QString());
        made = comment;
        break;
    }
    default:
        // Text, CDATA and entity references carry no structure.
        break;
    }

    rect.Offset(cell.width(), 0);
    BOOL result = TRUE;
    if (node->type == XML_ELEMENT_NODE) {
        // The declarations first, as a DOM lists them among the attributes.
        for (const xmlNs* space = node->nsDef; space != nullptr && result; space = space->next)
            result = ImportAttributeName(doc, DeclarationName(space), made, rect, cell);
        for (xmlAttr* attribute = node->properties; attribute != nullptr && result; attribute = attribute->next)
            result = ImportSampleNode(doc, reinterpret_cast<xmlNode*>(attribute), made, rect, cell);
        for (xmlNode* child = node->children; child != nullptr && result; child = child->next)
            result = ImportSampleNode(doc, child, made, rect, cell);
    }
    rect.Offset(-cell.width(), 0);
    return result;
}

} // namespace
