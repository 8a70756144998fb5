#include "designer/elements/XmlSchemaNodes.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"

#include <QHash>
#include <QStringList>

#include <libxml/tree.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

bool HasLocalName(const xmlNode* node, const char* localName)
{
    return node != nullptr && node->type == XML_ELEMENT_NODE
           && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(localName));
}

// Depth first over the document's elements without recursion, so a deeply
// nested file cannot exhaust the stack.
template <typename Visit>
xmlNode* FindElement(xmlNode* start, Visit visit)
{
    if (start == nullptr || start->doc == nullptr)
        return nullptr;
    xmlNode* root = xmlDocGetRootElement(start->doc);
    xmlNode* node = root;
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE && visit(node))
            return node;
        if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != root && node->next == nullptr)
            node = node->parent;
        if (node == root)
            break;
        node = node->next;
    }
    return nullptr;
}

struct ImportBatch
{
    CDesignerDoc* doc = nullptr;
    int limit = 0;
    bool exhausted = false;
    std::vector<CFormElement*> made;
    // The declarations of the schema being walked, by local name and then
    // by "name", the first in document order: one walk each, where a walk
    // per reference would grow with the schema times the elements made.
    const xmlDoc* indexed = nullptr;
    std::map<std::string, QHash<QString, xmlNode*>> declarations;
};

// Null while no import is open.
thread_local ImportBatch* t_batch = nullptr;

struct SchemaPath
{
    std::vector<xmlNode*> nodes;
    QStringList stopped;
};

thread_local SchemaPath t_path;

} // namespace

std::vector<xmlNode*> XmlChildElements(xmlNode* node, const char* localName)
{
    std::vector<xmlNode*> found;
    if (node == nullptr)
        return found;
    for (xmlNode* child = node->children; child != nullptr; child = child->next)
        if (HasLocalName(child, localName))
            found.push_back(child);
    return found;
}

xmlNode* FindSchemaDeclaration(xmlNode* node, const char* localName, const QString& name)
{
    if (t_batch == nullptr || node == nullptr || node->doc == nullptr) {
        return FindElement(node, [&](xmlNode* candidate) {
            if (!HasLocalName(candidate, localName))
                return false;
            QString value;
            return XmlGetAttributeValue(candidate, QStringLiteral("name"), value) && value == name;
        });
    }
    if (t_batch->indexed != node->doc) {
        t_batch->declarations.clear();
        t_batch->indexed = node->doc;
    }
    const auto [index, fresh] = t_batch->declarations.try_emplace(localName);
    if (fresh) {
        auto& byName = index->second;
        FindElement(node, [&](xmlNode* candidate) {
            QString value;
            if (HasLocalName(candidate, localName) && XmlGetAttributeValue(candidate, QStringLiteral("name"), value))
                byName.insert(value, byName.value(value, candidate));
            return false;
        });
    }
    return index->second.value(name, nullptr);
}

QSet<QString> ReferencedTypes(xmlNode* node, const char* localName)
{
    QSet<QString> types;
    FindElement(node, [&](xmlNode* candidate) {
        QString value;
        if (HasLocalName(candidate, localName) && XmlGetAttributeValue(candidate, QStringLiteral("type"), value))
            types.insert(value);
        return false;
    });
    return types;
}

QString XmlQualifiedName(const xmlNode* node)
{
    if (node == nullptr || node->name == nullptr)
        return {};
    const QString local = QString::fromUtf8(reinterpret_cast<const char*>(node->name));
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns != nullptr
        && node->ns->prefix != nullptr)
        return QString::fromUtf8(reinterpret_cast<const char*>(node->ns->prefix)) + QLatin1Char(':') + local;
    return local;
}

SchemaPathScope::SchemaPathScope(xmlNode* node)
{
    auto& nodes = t_path.nodes;
    if (nodes.empty())
        t_path.stopped.clear();
    m_recursive = std::find(nodes.begin(), nodes.end(), node) != nodes.end();
    if (!m_recursive) {
        nodes.push_back(node);
        m_entered = true;
    }
}

SchemaPathScope::~SchemaPathScope()
{
    if (m_entered)
        t_path.nodes.pop_back();
}

void SchemaPathScope::ReportIfOutermost(CDesignerDoc* doc)
{
    if (!m_entered || t_path.nodes.size() != 1 || t_path.stopped.isEmpty())
        return;
    // An import ended at its limit says that instead: nothing of it stays.
    if (XmlImportBatch::IsExhausted()) {
        t_path.stopped.clear();
        return;
    }
    const QString text = FormatMessageText(QStringLiteral("The schema nests these element types inside "
                                                          "themselves: %1.\nTheir inner occurrences were "
                                                          "imported without their contents."),
                                           t_path.stopped.join(QStringLiteral(", ")));
    t_path.stopped.clear();
    if (doc != nullptr)
        doc->NotifyUser(text, MB_OK | MB_ICONINFORMATION, IDOK);
    else
        Prompts().MessageBox(text, {}, MB_OK | MB_ICONINFORMATION);
}

void SchemaPathScope::NoteStopped(const QString& name)
{
    if (!t_path.stopped.contains(name))
        t_path.stopped.append(name);
}

XmlImportBatch::XmlImportBatch(CDesignerDoc* doc, int limit)
{
    if (t_batch != nullptr)
        return;
    t_batch = new ImportBatch;
    t_batch->doc = doc;
    t_batch->limit = limit;
    m_outermost = true;
    if (doc != nullptr)
        doc->SuppressUpdates();
}

XmlImportBatch::~XmlImportBatch()
{
    if (m_outermost && !m_done)
        Discard();
}

void XmlImportBatch::Commit()
{
    if (!m_outermost || m_done)
        return;
    m_done = true;
    ImportBatch* batch = t_batch;
    t_batch = nullptr;
    if (batch->doc != nullptr) {
        batch->doc->ResumeUpdates();
        batch->doc->AddImportedElements(batch->made);
    }
    delete batch;
}

void XmlImportBatch::Discard()
{
    m_done = true;
    ImportBatch* batch = t_batch;
    t_batch = nullptr;
    // Children were made after their containers: from the last one back,
    // each leaves a container that is still whole.
    for (auto it = batch->made.rbegin(); it != batch->made.rend(); ++it) {
        CFormElement* element = *it;
        if (CFormElement* container = element->GetParent())
            container->RemoveChild(element);
        delete element;
    }
    if (batch->doc != nullptr)
        batch->doc->ResumeUpdates();
    delete batch;
}

int XmlImportBatch::Count()
{
    return t_batch != nullptr ? static_cast<int>(t_batch->made.size()) : 0;
}

bool XmlImportBatch::IsExhausted()
{
    return t_batch != nullptr && t_batch->exhausted;
}

bool XmlImportBatch::IsOpen()
{
    return t_batch != nullptr;
}

bool XmlImportBatch::Take(CDesignerDoc* doc, CFormElement* element, CFormElement* container)
{
    if (element == nullptr)
        return false;
    ImportBatch* batch = t_batch;
    if (batch == nullptr || doc != batch->doc || batch->exhausted
        || (batch->limit > 0 && static_cast<int>(batch->made.size()) >= batch->limit)) {
        if (batch != nullptr && doc == batch->doc)
            batch->exhausted = true;
        delete element;
        return false;
    }
    if (container != nullptr && !container->AddChild(element, nullptr)) {
        delete element;
        return false;
    }
    batch->made.push_back(element);
    return true;
}
