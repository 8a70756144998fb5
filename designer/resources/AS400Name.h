#pragma once
// Host file and member names made from PC file names.

#include "platform/framework/Types.h"

#include <QString>

// Turns a file path or title into a host name: the file name upper-cased,
// "#" before a leading digit, only the host's name characters, cut at a "."
// within the first 9 characters or else to 8, "Default" when nothing is left.
// TRUE, and name replaced, when the result differs from name.
BOOL MakeValidAS400Name(QString& name);
