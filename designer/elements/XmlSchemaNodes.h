#pragma once
// Reading an XDR schema's DOM: the schema's elements usually stand in a
// default namespace, so they are found by their local names; names taken
// from the schema are compared here, never pasted into a query.

#include "designer/document/XmlHttp.h"

#include <QString>

class CDesignerDoc;

#include <vector>

// The element children of the node with that local name, in order.
std::vector<xmlNode*> XmlChildElements(xmlNode* node, const char* localName);

// The first element of the node's document, in document order, with that
// local name and a "name" attribute equal to name; null when none.
xmlNode* FindSchemaDeclaration(xmlNode* node, const char* localName, const QString& name);

// TRUE when some element of the node's document with that local name has a
// "type" attribute equal to name.
bool IsTypeReferenced(xmlNode* node, const char* localName, const QString& name);

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
