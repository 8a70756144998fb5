#pragma once
// The pages of a spooled file as they cross between the designer and the
// host access library: the framework's object list, one CStringArray per page
// in page order, element n of a page holding line n (element 0 normally
// empty), right-trimmed. A list handed out by the library is built and freed
// by the library alone (DestroySpooledFileList); the designer copies the
// pages first. A list the designer hands in stays the designer's.

#include "platform/framework/Collections.h"

using SpooledPageList = CObList;
