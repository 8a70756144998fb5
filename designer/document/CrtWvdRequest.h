#pragma once
// The run parameters of "Execute a WVD": which spooled files the host runs
// through which WVD, and what becomes of them afterwards. The document keeps
// one in its WVD file and hands it to the host access library.

#include "designer/document/SpooledFileIdentity.h"
#include "platform/framework/Types.h"

#include <QString>

class CArchive;

class CrtWvdRequest
{
public:
    // The record version written today; also the schema its identity is
    // stored with.
    static constexpr LONG kRecordVersion = 6;

    // Every spooled file of the queue ("*ALL"), held afterwards ("*HLD").
    CrtWvdRequest();
    CrtWvdRequest(const CrtWvdRequest& source);
    CrtWvdRequest& operator=(const CrtWvdRequest& source);

    void CopyFrom(const CrtWvdRequest& source);
    // Identity and all six strings, case counts.
    BOOL IsEqual(const CrtWvdRequest& other) const;
    // System, library, WVD name and the identity's spooled file name all set.
    BOOL IsComplete() const;

    // Record version, the six strings, then the identity read with the
    // record version as its schema. A short or malformed archive raises
    // CArchiveException and leaves the request as it was.
    void Serialize(CArchive& ar);

    SpooledFileIdentity& GetIdentity() { return m_identity; }
    const SpooledFileIdentity& GetIdentity() const { return m_identity; }

    const QString& GetSystem() const { return m_system; }
    void SetSystem(const QString& system) { m_system = system; }
    // The library that holds the WVD.
    const QString& GetLibrary() const { return m_library; }
    void SetLibrary(const QString& library) { m_library = library; }
    const QString& GetWvdName() const { return m_wvdName; }
    void SetWvdName(const QString& name) { m_wvdName = name; }
    // What the host does with a spooled file once processed ("*HLD", ...).
    const QString& GetSpooledFileStatus() const { return m_splsts; }
    void SetSpooledFileStatus(const QString& status) { m_splsts = status; }
    const QString& GetMessageQueueLibrary() const { return m_moutqLibrary; }
    void SetMessageQueueLibrary(const QString& library) { m_moutqLibrary = library; }
    const QString& GetMessageQueue() const { return m_moutq; }
    void SetMessageQueue(const QString& queue) { m_moutq = queue; }

private:
    SpooledFileIdentity m_identity;
    QString m_system;
    QString m_library;
    QString m_wvdName;
    QString m_splsts;
    QString m_moutqLibrary;
    QString m_moutq;
};
