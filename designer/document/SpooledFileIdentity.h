#pragma once
// The WVD form of the spooled-file identity, whose record the designer shares
// with the host access library.

#include "hostaccess/api/SpooledFileIdentity.h"

class CArchive;

// Twelve strings in field order. The record has no schema of its own:
// loading uses the archive's current object schema, which the container sets
// for it (5 and up adds the DBCS and character-set fields, 6 and up the form
// type). A short archive leaves the identity as it was.
void SerializeSpooledFileIdentity(CArchive& ar, SpooledFileIdentity& identity);
