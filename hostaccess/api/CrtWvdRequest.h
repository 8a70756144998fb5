#pragma once
// The run parameters of "Execute a WVD": which spooled files the host runs
// through which WVD, and what becomes of them afterwards. The designer keeps
// one in its document and hands it to the host access library; its WVD form
// belongs to the designer's model.

#include "hostaccess/api/SpooledFileIdentity.h"
#include "platform/framework/Types.h"

#include <QString>

class CrtWvdRequest
{
public:
    // Every spooled file of the queue ("*ALL"), held afterwards ("*HLD").
    CrtWvdRequest() : m_splsts(QStringLiteral("*HLD"))
    {
        const QString all = QStringLiteral("*ALL");
        m_identity.SetFileName(all);
        m_identity.SetUserName(all);
        m_identity.SetUserData(all);
        m_identity.SetFormType(all);
    }
    CrtWvdRequest(const CrtWvdRequest& source) { CopyFrom(source); }
    CrtWvdRequest& operator=(const CrtWvdRequest& source)
    {
        CopyFrom(source);
        return *this;
    }

    void CopyFrom(const CrtWvdRequest& source)
    {
        if (&source == this)
            return;
        m_identity.CopyFrom(source.m_identity);
        m_system = source.m_system;
        m_library = source.m_library;
        m_wvdName = source.m_wvdName;
        m_splsts = source.m_splsts;
        m_moutqLibrary = source.m_moutqLibrary;
        m_moutq = source.m_moutq;
    }

    // Identity and all six strings, case counts.
    BOOL IsEqual(const CrtWvdRequest& other) const
    {
        const bool equal = m_identity.IsEqual(other.m_identity) && m_system == other.m_system
                           && m_library == other.m_library && m_wvdName == other.m_wvdName
                           && m_splsts == other.m_splsts && m_moutqLibrary == other.m_moutqLibrary
                           && m_moutq == other.m_moutq;
        return equal ? TRUE : FALSE;
    }

    // System, library, WVD name and the identity's spooled file name all set.
    BOOL IsComplete() const
    {
        const bool complete = !m_system.isEmpty() && !m_library.isEmpty() && !m_wvdName.isEmpty()
                              && !m_identity.GetFileName().isEmpty();
        return complete ? TRUE : FALSE;
    }

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
