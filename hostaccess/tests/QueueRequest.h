#pragma once
// The run parameters the designer sends for every spooled file of one
// queue: the WVD INVOICE of library KWVD, the rest as a new request has it.

#include "hostaccess/api/CrtWvdRequest.h"

inline CrtWvdRequest QueueRequest(const QString& system, const QString& queueLibrary)
{
    CrtWvdRequest request;
    request.SetSystem(system);
    request.SetLibrary(QStringLiteral("KWVD"));
    request.SetWvdName(QStringLiteral("INVOICE"));
    request.GetIdentity().SetOutputQueue(QStringLiteral("QPRINT"));
    request.GetIdentity().SetOutputQueueLibrary(queueLibrary);
    return request;
}
