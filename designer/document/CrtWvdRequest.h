#pragma once
// The WVD form of the run parameters of "Execute a WVD", whose record the
// designer shares with the host access library.

#include "designer/document/SpooledFileIdentity.h"
#include "hostaccess/api/CrtWvdRequest.h"
#include "platform/framework/Types.h"

class CArchive;

// The record version written today; also the schema its identity is stored
// with.
constexpr LONG kCrtWvdRequestRecordVersion = 6;

// Record version, the six strings, then the identity read with the record
// version as its schema. A short or malformed archive raises
// CArchiveException and leaves the request as it was.
void SerializeCrtWvdRequest(CArchive& ar, CrtWvdRequest& request);
