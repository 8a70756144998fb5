#pragma once
// How the catalogue classes read the children of an answer's elements.

#include "platform/framework/Types.h"

#include <QString>

struct _xmlNode;
typedef struct _xmlNode xmlNode;

namespace docstore {

// The text of the first child element of that name; FALSE when there is
// none (text untouched). An empty child counts as present.
BOOL ReadChildText(xmlNode* element, const char* childName, QString& text);

// The child's text as a number, or fallback when the child is missing.
int ReadChildNumber(xmlNode* element, const char* childName, int fallback);

// Base 10 by the C library's rules: leading white space and a sign, then
// digits up to the first other character; no digits give 0, and values
// past the 32-bit range give its largest or smallest value.
int ParseNumber(const QString& text);

} // namespace docstore
