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

void SerializeCrtWvdRequest(CArchive& ar, CrtWvdRequest& request)
{
    if (ar.IsStoring()) {
        ar << kCrtWvdRequestRecordVersion << request.GetSystem() << request.GetLibrary() << request.GetWvdName()
           << request.GetSpooledFileStatus() << request.GetMessageQueueLibrary() << request.GetMessageQueue();
        SerializeSpooledFileIdentity(ar, request.GetIdentity());
        return;
    }

    LONG version = 0;
    ar >> version;
    // A negative version is damage; a higher one comes from a newer writer
    // whose fields we would misread.
    if (version < 0 || version > kCrtWvdRequestRecordVersion)
        throw CArchiveException(CArchiveException::badSchema, ar.GetFilePath());

    CrtWvdRequest read;
    QString system, library, wvdName, splsts, moutqLibrary, moutq;
    ar >> system >> library >> wvdName >> splsts >> moutqLibrary >> moutq;
    read.SetSystem(system);
    read.SetLibrary(library);
    read.SetWvdName(wvdName);
    read.SetSpooledFileStatus(splsts);
    read.SetMessageQueueLibrary(moutqLibrary);
    read.SetMessageQueue(moutq);
    {
        BorrowedSchema schema(ar, static_cast<UINT>(version));
        SerializeSpooledFileIdentity(ar, read.GetIdentity());
    }
    request.CopyFrom(read);
}
