#pragma once
// Reading an XDR schema's DOM: the schema's elements usually stand in a
// default namespace, so they are found by their local names; names taken
// from the schema are compared here, never pasted into a query.

#include "designer/document/XmlHttp.h"

#include <QSet>
#include <QString>

class CDesignerDoc;
class CFormElement;

#include <vector>

// The element children of the node with that local name, in order.
std::vector<xmlNode*> XmlChildElements(xmlNode* node, const char* localName);

// The first element of the node's document, in document order, with that
// local name and a "name" attribute equal to name; null when none. Within
// an open import the document's declarations are indexed once.
xmlNode* FindSchemaDeclaration(xmlNode* node, const char* localName, const QString& name);

// The "type" values of every element of the node's document with that local
// name, gathered in one walk.
QSet<QString> ReferencedTypes(xmlNode* node, const char* localName);

// The node's name as the file writes it: "prefix:local" or "local".
QString XmlQualifiedName(const xmlNode* node);

// The ElementType declarations being built, outermost first, so that a type
// met again below itself is not built once more (a recursive schema would
// never end). The outermost walk tells the user of the types it stopped at.
class SchemaPathScope
{
public:
    // Enters node; IsRecursive() tells whether it was on the path already.
    explicit SchemaPathScope(xmlNode* node);
    ~SchemaPathScope();
    SchemaPathScope(const SchemaPathScope&) = delete;
    SchemaPathScope& operator=(const SchemaPathScope&) = delete;

    bool IsRecursive() const { return m_recursive; }
    // Notes a type whose nesting was not built.
    void NoteStopped(const QString& name);
    // Called by the walk at its normal end: the outermost one tells the
    // user of the types noted below it.
    void ReportIfOutermost(CDesignerDoc* doc);

private:
    bool m_recursive = false;
    bool m_entered = false;
};

// The most elements one schema import makes. A schema whose types each
// refer to the next more than once describes a tree that doubles with every
// level; a real document's schema stays far below this.
inline constexpr int kMaxSchemaImportElements = 5000;

// The elements one import makes, kept out of the document's lists until the
// import is whole: Commit adds them in one pass, in the order they were made
// (parents before children), and an import that ends early (its limit, a
// container refusing a child, an exception) deletes them all, so the
// document holds nothing half-made. A scope opened while another is open
// joins it; only the outermost one commits or discards. Hints wait until
// the elements are in the document.
class XmlImportBatch
{
public:
    // limit: the most elements the import may make, 0 for no limit.
    XmlImportBatch(CDesignerDoc* doc, int limit);
    ~XmlImportBatch();
    XmlImportBatch(const XmlImportBatch&) = delete;
    XmlImportBatch& operator=(const XmlImportBatch&) = delete;

    bool IsOutermost() const { return m_outermost; }
    // The outermost scope hands what was made to the document; an inner
    // scope leaves that to it.
    void Commit();
    // The elements taken so far by the open import.
    static int Count();
    // TRUE when the open import refused an element at its limit.
    static bool IsExhausted();
    static bool IsOpen();
    // Takes a new element of doc into the open import, as a child of
    // container (null: a top-level element). FALSE, with the element
    // deleted, at the limit or when the container refuses it.
    static bool Take(CDesignerDoc* doc, CFormElement* element, CFormElement* container);

private:
    void Discard();

    bool m_outermost = false;
    bool m_done = false;
};
