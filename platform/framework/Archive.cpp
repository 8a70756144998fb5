#include "platform/framework/Archive.h"

#include "platform/framework/Cp1252.h"
#include "platform/framework/File.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>

namespace {

constexpr WORD kNullTag = 0x0000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr DWORD kBigClassTag = 0x80000000u;
constexpr DWORD kMaxId = 0x7FFFFFFEu;

constexpr WORD kWideMarker = 0xFFFE;
constexpr UINT kMaxClassNameLength = 63;
constexpr UINT kMinBufferSize = 16;

// Reads of unknown total length grow by this much at a time.
constexpr ULONGLONG kReadChunk = 64 * 1024;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, UINT bufferSize)
    : m_pFile(file), m_loading((mode & load) != 0), m_bufferSize(std::max(bufferSize, kMinBufferSize)),
      m_buffer(new BYTE[m_bufferSize]), m_uncaughtAtStart(std::uncaught_exceptions())
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException);
    if (m_loading)
        m_loadTable.emplace_back(); // id 0 is null
}

CArchive::~CArchive()
{
    if (!m_pFile)
        return;
    if (std::uncaught_exceptions() > m_uncaughtAtStart) {
        Abort();
        return;
    }
    try {
        Close();
    } catch (...) {
        Abort();
    }
}

QString CArchive::GetFilePath() const
{
    if (m_filePathSet || !m_pFile)
        return m_filePath;
    return m_pFile->GetFilePath();
}

void CArchive::SetFilePath(const QString& path)
{
    m_filePath = path;
    m_filePathSet = true;
}

void CArchive::ThrowArchive(CArchiveException::Cause cause) const
{
    AfxThrowArchiveException(cause, GetFilePath());
}

void CArchive::RequireLoading() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (!m_loading)
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::RequireStoring() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (m_loading)
        ThrowArchive(CArchiveException::readOnly);
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (m_loading) {
        const UINT unread = m_bufferFill - m_bufferPos;
        m_bufferPos = m_bufferFill = 0;
        if (unread > 0)
            m_pFile->Seek(-static_cast<LONGLONG>(unread), CFile::current);
        return;
    }
    const UINT pending = m_bufferPos;
    // Emptied first so that a failed write is not repeated by a later flush.
    m_bufferPos = 0;
    if (pending > 0)
        m_pFile->Write(m_buffer.get(), pending);
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() noexcept
{
    m_pFile = nullptr;
    m_bufferPos = m_bufferFill = 0;
}

UINT CArchive::Read(void* buffer, UINT count)
{
    RequireLoading();
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_bufferPos == m_bufferFill) {
            const UINT left = count - done;
            if (left >= m_bufferSize) {
                const UINT got = m_pFile->Read(out + done, left);
                if (got == 0)
                    break;
                done += got;
                continue;
            }
            m_bufferPos = 0;
            m_bufferFill = m_pFile->Read(m_buffer.get(), m_bufferSize);
            if (m_bufferFill == 0)
                break;
        }
        const UINT n = std::min(count - done, m_bufferFill - m_bufferPos);
        std::memcpy(out + done, m_buffer.get() + m_bufferPos, n);
        m_bufferPos += n;
        done += n;
    }
    return done;
}

void CArchive::ReadExact(void* buffer, ULONGLONG count)
{
    auto* out = static_cast<BYTE*>(buffer);
    if (m_pFile && m_loading && count <= m_bufferFill - m_bufferPos) {
        std::memcpy(out, m_buffer.get() + m_bufferPos, static_cast<size_t>(count));
        m_bufferPos += static_cast<UINT>(count);
        return;
    }
    while (count > 0) {
        const UINT piece = static_cast<UINT>(std::min<ULONGLONG>(count, 0x40000000u));
        if (Read(out, piece) != piece)
            ThrowArchive(CArchiveException::endOfFile);
        out += piece;
        count -= piece;
    }
}

void CArchive::Write(const void* buffer, UINT count)
{
    RequireStoring();
    if (count == 0)
        return;
    if (count <= m_bufferSize - m_bufferPos) {
        std::memcpy(m_buffer.get() + m_bufferPos, buffer, count);
        m_bufferPos += count;
        return;
    }
    Flush();
    if (count >= m_bufferSize) {
        m_pFile->Write(buffer, count);
        return;
    }
    std::memcpy(m_buffer.get(), buffer, count);
    m_bufferPos = count;
}

bool CArchive::CheckAvailable(ULONGLONG count)
{
    RequireLoading();
    const ULONGLONG buffered = m_bufferFill - m_bufferPos;
    if (count <= buffered)
        return true;
    ULONGLONG length = 0;
    ULONGLONG position = 0;
    try {
        length = m_pFile->GetLength();
        position = m_pFile->GetPosition();
    } catch (const CNotSupportedException&) {
        return false;
    }
    const ULONGLONG inFile = length > position ? length - position : 0;
    if (count - buffered > inFile)
        ThrowArchive(CArchiveException::endOfFile);
    return true;
}

void CArchive::EnsureAvailable(ULONGLONG count)
{
    CheckAvailable(count);
}

template <class T>
T CArchive::ReadLittleEndian()
{
    BYTE bytes[sizeof(T)];
    RequireLoading();
    ReadExact(bytes, sizeof(T));
    return qFromLittleEndian<T>(bytes);
}

template <class T>
void CArchive::WriteLittleEndian(T value)
{
    BYTE bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    Write(bytes, sizeof(T));
}

template quint8 CArchive::ReadLittleEndian<quint8>();
template quint16 CArchive::ReadLittleEndian<quint16>();
template qint16 CArchive::ReadLittleEndian<qint16>();
template qint32 CArchive::ReadLittleEndian<qint32>();
template quint32 CArchive::ReadLittleEndian<quint32>();
template quint64 CArchive::ReadLittleEndian<quint64>();
template void CArchive::WriteLittleEndian<quint8>(quint8);
template void CArchive::WriteLittleEndian<quint16>(quint16);
template void CArchive::WriteLittleEndian<qint16>(qint16);
template void CArchive::WriteLittleEndian<qint32>(qint32);
template void CArchive::WriteLittleEndian<quint32>(quint32);
template void CArchive::WriteLittleEndian<quint64>(quint64);

void CArchive::WriteCount(DWORD count)
{
    if (count < 0xFFFF) {
        *this << static_cast<WORD>(count);
        return;
    }
    *this << static_cast<WORD>(0xFFFF) << count;
}

DWORD CArchive::ReadCount()
{
    const WORD count = ReadFixed<quint16>();
    if (count != 0xFFFF)
        return count;
    return ReadFixed<quint32>();
}

void CArchive::WriteStringLength(ULONGLONG length, bool wide)
{
    RequireStoring();
    if (length >= 0xFFFFFFFFu)
        ThrowArchive(CArchiveException::genericException);
    if (wide)
        *this << static_cast<BYTE>(0xFF) << kWideMarker;
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
    }
}

ULONGLONG CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    BYTE byteLength = ReadFixed<quint8>();
    if (byteLength < 0xFF)
        return byteLength;
    WORD wordLength = ReadFixed<quint16>();
    if (wordLength == kWideMarker) {
        wide = true;
        byteLength = ReadFixed<quint8>();
        if (byteLength < 0xFF)
            return byteLength;
        wordLength = ReadFixed<quint16>();
    }
    if (wordLength < 0xFFFF)
        return wordLength;
    const DWORD length = ReadFixed<quint32>();
    // Never written: a longer text would need the 64-bit form we do not write.
    if (length == 0xFFFFFFFFu)
        ThrowArchive(CArchiveException::badIndex);
    return length;
}

QString CArchive::ReadWideUnits(ULONGLONG length)
{
    QString text;
    if (CheckAvailable(length * 2))
        text.reserve(static_cast<qsizetype>(length));
    ULONGLONG done = 0;
    while (done < length) {
        const ULONGLONG piece = std::min(length - done, kReadChunk);
        text.resize(static_cast<qsizetype>(done + piece));
        auto* units = reinterpret_cast<char16_t*>(text.data()) + done;
        ReadExact(units, piece * 2);
        qFromLittleEndian<quint16>(units, static_cast<qsizetype>(piece), units);
        done += piece;
    }
    return text;
}

std::string CArchive::ReadNarrowBytes(ULONGLONG length)
{
    std::string bytes;
    if (CheckAvailable(length))
        bytes.reserve(static_cast<size_t>(length));
    ULONGLONG done = 0;
    while (done < length) {
        const ULONGLONG piece = std::min(length - done, kReadChunk);
        bytes.resize(static_cast<size_t>(done + piece));
        ReadExact(bytes.data() + done, piece);
        done += piece;
    }
    return bytes;
}

CArchive& CArchive::operator<<(const QString& text)
{
    WriteStringLength(static_cast<ULONGLONG>(text.size()), true);
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    BYTE chunk[1024];
    qsizetype done = 0;
    while (done < text.size()) {
        const qsizetype piece = std::min<qsizetype>(text.size() - done, sizeof(chunk) / 2);
        qToLittleEndian<quint16>(units + done, piece, chunk);
        Write(chunk, static_cast<UINT>(piece * 2));
        done += piece;
    }
    return *this;
}

CArchive& CArchive::operator<<(const std::string& text)
{
    WriteStringLength(text.size(), false);
    size_t done = 0;
    while (done < text.size()) {
        const size_t piece = std::min<size_t>(text.size() - done, 0x40000000u);
        Write(text.data() + done, static_cast<UINT>(piece));
        done += piece;
    }
    return *this;
}

CArchive& CArchive::operator>>(QString& text)
{
    bool wide = false;
    const ULONGLONG length = ReadStringLength(wide);
    text = wide ? ReadWideUnits(length) : kwvd::FromCp1252(ReadNarrowBytes(length));
    return *this;
}

CArchive& CArchive::operator>>(std::string& text)
{
    bool wide = false;
    const ULONGLONG length = ReadStringLength(wide);
    text = wide ? kwvd::ToCp1252(ReadWideUnits(length)) : ReadNarrowBytes(length);
    return *this;
}

DWORD CArchive::NextStoreId()
{
    if (m_nextStoreId > kMaxId)
        ThrowArchive(CArchiveException::badIndex);
    return m_nextStoreId++;
}

void CArchive::WriteReference(DWORD id, DWORD classBit)
{
    if (id < kBigObjectTag) {
        *this << static_cast<WORD>(classBit ? (kClassTag | id) : id);
        return;
    }
    *this << kBigObjectTag << static_cast<DWORD>(id | classBit);
}

void CArchive::WriteClass(const CRuntimeClass* runtimeClass)
{
    if (!runtimeClass->IsSerializable())
        ThrowArchive(CArchiveException::badClass);
    if (const DWORD* id = m_storeIds.Find(runtimeClass)) {
        WriteReference(*id, kBigClassTag);
        return;
    }
    // A reader refuses longer names, so never write one.
    const size_t nameLength = std::strlen(runtimeClass->className);
    if (nameLength == 0 || nameLength > kMaxClassNameLength)
        ThrowArchive(CArchiveException::badClass);
    *this << kNewClassTag << static_cast<WORD>(runtimeClass->GetStoredSchema()) << static_cast<WORD>(nameLength);
    Write(runtimeClass->className, static_cast<UINT>(nameLength));
    m_storeIds.Insert(runtimeClass, NextStoreId());
}

void CArchive::WriteObject(const CObject* object)
{
    RequireStoring();
    if (!object) {
        *this << kNullTag;
        return;
    }
    if (const DWORD* id = m_storeIds.Find(object)) {
        WriteReference(*id, 0);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    // The object is numbered before its fields, so objects it contains follow it.
    m_storeIds.Insert(object, NextStoreId());
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT& schema, DWORD& objectTag)
{
    const WORD tag = ReadFixed<quint16>();
    if (tag == kBigObjectTag)
        objectTag = ReadFixed<quint32>();
    else
        objectTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & 0x7FFF);
    if (!(objectTag & kBigClassTag))
        return nullptr;

    const CRuntimeClass* runtimeClass = nullptr;
    if (tag == kNewClassTag) {
        const WORD storedSchema = ReadFixed<quint16>();
        const WORD nameLength = ReadFixed<quint16>();
        if (nameLength == 0 || nameLength > kMaxClassNameLength)
            ThrowArchive(CArchiveException::badClass);
        char name[kMaxClassNameLength];
        ReadExact(name, nameLength);
        runtimeClass = CRuntimeClass::FromName(std::string_view(name, nameLength));
        if (!runtimeClass || !runtimeClass->IsSerializable())
            ThrowArchive(CArchiveException::badClass);
        if (requested && !runtimeClass->IsDerivedFrom(requested))
            ThrowArchive(CArchiveException::badClass);
        // A versionable class reads its older schemas; a newer one was written
        // by a later program and would be misread.
        const UINT current = runtimeClass->GetStoredSchema();
        if (runtimeClass->IsVersionable() ? storedSchema > current : storedSchema != current)
            ThrowArchive(CArchiveException::badSchema);
        schema = storedSchema;
        m_loadTable.push_back({nullptr, runtimeClass, schema});
        return runtimeClass;
    }

    const DWORD classId = objectTag & ~kBigClassTag;
    if (classId >= m_loadTable.size() || !m_loadTable[classId].runtimeClass)
        ThrowArchive(CArchiveException::badIndex);
    // Every object of a class gets the schema stored with the class.
    runtimeClass = m_loadTable[classId].runtimeClass;
    schema = m_loadTable[classId].schema;
    if (requested && !runtimeClass->IsDerivedFrom(requested))
        ThrowArchive(CArchiveException::badClass);
    return runtimeClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested)
{
    return ReadObjectCollecting(requested, nullptr);
}

CObject* CArchive::ReadCollection(const CRuntimeClass* requested, std::vector<CObject*>& orphans)
{
    return ReadObjectCollecting(requested, &orphans);
}

void CArchive::ForgetSlots(size_t first, size_t end)
{
    for (size_t i = first; i < end && i < m_loadTable.size(); ++i) {
        LoadedEntry& entry = m_loadTable[i];
        if (entry.object == nullptr)
            continue;
        if (const auto it = m_loadSlots.find(entry.object); it != m_loadSlots.end() && it->second == i)
            m_loadSlots.erase(it);
        entry.object = nullptr;
    }
}

void CArchive::ForgetObject(const CObject* object)
{
    if (object == nullptr || !m_loading)
        return;
    const auto it = m_loadSlots.find(object);
    if (it == m_loadSlots.end())
        return;
    const size_t slot = it->second;
    // An object still being read has no end yet: all made since are its own.
    const size_t end = m_loadTable[slot].end != 0 ? m_loadTable[slot].end : m_loadTable.size();
    ForgetSlots(slot, end);
}

bool CArchive::IsMadeWithin(const CObject* inner, const CObject* outer) const
{
    const auto innerSlot = m_loadSlots.find(inner);
    const auto outerSlot = m_loadSlots.find(outer);
    if (innerSlot == m_loadSlots.end() || outerSlot == m_loadSlots.end())
        return false;
    const size_t end =
        m_loadTable[outerSlot->second].end != 0 ? m_loadTable[outerSlot->second].end : m_loadTable.size();
    return innerSlot->second >= outerSlot->second && innerSlot->second < end;
}

CObject* CArchive::ReadObjectCollecting(const CRuntimeClass* requested, std::vector<CObject*>* orphans)
{
    RequireLoading();
    UINT schema = 0;
    DWORD objectTag = 0;
    const CRuntimeClass* runtimeClass = ReadClass(requested, schema, objectTag);

    if (!runtimeClass) {
        if (objectTag == 0)
            return nullptr;
        if (objectTag >= m_loadTable.size() || !m_loadTable[objectTag].object)
            ThrowArchive(CArchiveException::badIndex);
        CObject* object = m_loadTable[objectTag].object;
        if (requested && !object->IsKindOf(requested))
            ThrowArchive(CArchiveException::badClass);
        return object;
    }

    // Each level costs a few bytes of input but a stack frame or three.
    if (m_depth >= kMaxObjectDepth)
        ThrowArchive(CArchiveException::badIndex);

    CObject* object = runtimeClass->CreateObject();
    if (!object)
        ThrowArchive(CArchiveException::badClass);
    const size_t slot = m_loadTable.size();
    m_loadTable.push_back({object, nullptr, 0, m_currentSlot, 0});
    m_loadSlots[object] = slot;

    const UINT outerSchema = m_nObjectSchema;
    const size_t outerSlot = m_currentSlot;
    m_nObjectSchema = schema;
    m_currentSlot = slot;
    ++m_depth;
    try {
        object->Serialize(*this);
    } catch (...) {
        --m_depth;
        m_nObjectSchema = outerSchema;
        m_currentSlot = outerSlot;
        // Entries a collection made whole are nobody's once it goes: a
        // nested object that failed, or one its owner let go, is null here.
        if (orphans != nullptr) {
            for (size_t i = slot + 1; i < m_loadTable.size(); ++i)
                if (m_loadTable[i].parent == slot && m_loadTable[i].object != nullptr)
                    orphans->push_back(m_loadTable[i].object);
        }
        // The object may own those made while it was read and delete them
        // with itself: none of their ids may resolve any more.
        ForgetSlots(slot, m_loadTable.size());
        delete object;
        throw;
    }
    --m_depth;
    m_nObjectSchema = outerSchema;
    m_currentSlot = outerSlot;
    m_loadTable[slot].end = m_loadTable.size();
    return object;
}
