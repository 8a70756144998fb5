#pragma once
// The choice of an XDR schema's document element, shared by the XML import
// and its tests.

#include "designer/document/XmlHttp.h"
#include "platform/framework/Types.h"

#include <QString>

// The list choice's title and label.
QString SchemaSelectTitle();
QString SchemaSelectLabel();

// Asks the user for the schema's document element: the one ElementType no
// other type refers to is offered first; otherwise, or when the user says
// no, every ElementType name in a list. FALSE when none was chosen.
BOOL FindSchemaDocumentElement(xmlNode* schema, xmlNode** elementType);
