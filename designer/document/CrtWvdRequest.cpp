#include "designer/document/CrtWvdRequest.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

namespace {

// The identity borrows its container's schema; the archive's own comes back
// however the read ends.
class BorrowedSchema
{
public:
    BorrowedSchema(CArchive& ar, UINT schema) : m_ar(ar), m_saved(ar.GetObjectSchema())
    {
        m_ar.SetObjectSchema(schema);
    }
    ~BorrowedSchema() { m_ar.SetObjectSchema(m_saved); }

    BorrowedSchema(const BorrowedSchema&) = delete;
    BorrowedSchema& operator=(const BorrowedSchema&) = delete;

private:
    CArchive& m_ar;
    UINT m_saved;
};

} // namespace

CrtWvdRequest::CrtWvdRequest() : m_splsts(QStringLiteral("*HLD"))
{
    const QString all = QStringLiteral("*ALL");
    m_identity.SetFileName(all);
    m_identity.SetUserName(all);
    m_identity.SetUserData(all);
    m_identity.SetFormType(all);
}

CrtWvdRequest::CrtWvdRequest(const CrtWvdRequest& source)
{
    CopyFrom(source);
}

CrtWvdRequest& CrtWvdRequest::operator=(const CrtWvdRequest& source)
{
    CopyFrom(source);
    return *this;
}

void CrtWvdRequest::CopyFrom(const CrtWvdRequest& source)
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

BOOL CrtWvdRequest::IsEqual(const CrtWvdRequest& other) const
{
    const bool equal = m_identity.IsEqual(other.m_identity) && m_system == other.m_system
                       && m_library == other.m_library && m_wvdName == other.m_wvdName && m_splsts == other.m_splsts
                       && m_moutqLibrary == other.m_moutqLibrary && m_moutq == other.m_moutq;
    return equal ? TRUE : FALSE;
}

BOOL CrtWvdRequest::IsComplete() const
{
    const bool complete =
        !m_system.isEmpty() && !m_library.isEmpty() && !m_wvdName.isEmpty() && !m_identity.GetFileName().isEmpty();
    return complete ? TRUE : FALSE;
}

void CrtWvdRequest::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion << m_system << m_library << m_wvdName << m_splsts << m_moutqLibrary << m_moutq;
        m_identity.Serialize(ar);
        return;
    }

    LONG version = 0;
    ar >> version;
    // A negative version is damage; a higher one comes from a newer writer
    // whose fields we would misread.
    if (version < 0 || version > kRecordVersion)
        throw CArchiveException(CArchiveException::badSchema, ar.GetFilePath());

    CrtWvdRequest read;
    ar >> read.m_system >> read.m_library >> read.m_wvdName >> read.m_splsts >> read.m_moutqLibrary >> read.m_moutq;
    {
        BorrowedSchema schema(ar, static_cast<UINT>(version));
        read.m_identity.Serialize(ar);
    }
    CopyFrom(read);
}
