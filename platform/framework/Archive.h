#pragma once
// The binary archive that writes and reads the system's files, undo snapshots
// and clipboard streams over a CFile, through a buffer of its own.
//
// Byte layout (all numbers little-endian):
// - BYTE, WORD, short, LONG, DWORD as themselves; double as 8-byte IEEE.
// - Count: WORD below 0xFFFF, else WORD 0xFFFF and a DWORD.
// - Text (QString): FF, the marker FE FF, then the length in UTF-16 units
//   (below 255: one byte; below 0xFFFE: FF and a WORD; else FF, FF FF and a
//   DWORD), then the units. Text (std::string): the same length forms without
//   the marker, then the bytes as they are, NULs included. Either form reads
//   into either type, converting through Windows-1252.
// - Object: 00 00 for null; a WORD id for one written before; else its class
//   (FF FF, WORD schema, WORD name length, the ASCII name the first time, a
//   WORD 0x8000 | class id after that), then its fields. Classes and objects
//   share one id sequence from 1 in the order they are first written; an id
//   of 0x7FFF or more is written as WORD 0x7FFF and a DWORD (with 0x80000000
//   for a class).
//
// Bad data never crashes the reader: a length or count that runs past the end
// of the data raises endOfFile before anything is allocated; an unknown or
// unexpected class raises badClass; an id that names nothing usable, a length
// of 0xFFFFFFFF or objects nested deeper than kMaxObjectDepth raise badIndex;
// a stored schema the class cannot read raises badSchema.
//
// Call Close() to learn whether the last buffered bytes reached the file. The
// destructor flushes too but swallows errors, and abandons the buffer
// instead when it runs during exception unwinding.

#include "platform/framework/Exceptions.h"
#include "platform/framework/Object.h"
#include "platform/framework/PointerTable.h"
#include "platform/framework/Types.h"

#include <QString>
#include <QtEndian>

#include <bit>
#include <concepts>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

class CDocument;
class CFile;

class CArchive
{
public:
    enum Mode : UINT {
        store = 0,
        load = 1
    };

    // GetObjectSchema() outside any object being read.
    static constexpr UINT kNoObjectSchema = 0xFFFFFFFFu;
    static constexpr int kMaxObjectDepth = 200;

    // The file is not owned and must outlive the archive (or its Close).
    CArchive(CFile* file, UINT mode, UINT bufferSize = 4096);
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_loading ? TRUE : FALSE; }
    BOOL IsStoring() const { return m_loading ? FALSE : TRUE; }
    // Null after Close or Abort.
    CFile* GetFile() const { return m_pFile; }

    // The path named in the archive's exceptions: the file's own unless set.
    QString GetFilePath() const;
    void SetFilePath(const QString& path);

    // Storing: writes the buffer out. Loading: empties the buffer and moves
    // the file back to just after what was read.
    void Flush();
    // Flushes and lets go of the file; may throw.
    void Close();
    // Lets go of the file without writing or seeking; never throws.
    void Abort() noexcept;

    // Returns the bytes read, fewer only at the end of the data.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    // Raises endOfFile unless count bytes remain to be read. A file that
    // cannot tell its length (CNotSupportedException) passes unchecked.
    void EnsureAvailable(ULONGLONG count);

    // The fixed-size values go straight into the buffer while it has room;
    // everything else (a full buffer, the wrong mode, no file) takes the
    // checked road.
    CArchive& operator<<(BYTE value) { return WriteFixed<quint8>(value); }
    CArchive& operator<<(WORD value) { return WriteFixed<quint16>(value); }
    CArchive& operator<<(short value) { return WriteFixed<qint16>(value); }
    CArchive& operator<<(LONG value) { return WriteFixed<qint32>(value); }
    CArchive& operator<<(DWORD value) { return WriteFixed<quint32>(value); }
    CArchive& operator<<(double value) { return WriteFixed<quint64>(std::bit_cast<quint64>(value)); }
    CArchive& operator<<(const QString& text);
    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(const CObject* object)
    {
        WriteObject(object);
        return *this;
    }

    CArchive& operator>>(BYTE& value) { return ReadFixed<quint8>(value); }
    CArchive& operator>>(WORD& value) { return ReadFixed<quint16>(value); }
    CArchive& operator>>(short& value) { return ReadFixed<qint16>(value); }
    CArchive& operator>>(LONG& value) { return ReadFixed<qint32>(value); }
    CArchive& operator>>(DWORD& value) { return ReadFixed<quint32>(value); }
    CArchive& operator>>(double& value)
    {
        quint64 bits = 0;
        ReadFixed<quint64>(bits);
        value = std::bit_cast<double>(bits);
        return *this;
    }
    CArchive& operator>>(QString& text);
    CArchive& operator>>(std::string& text);

    // Types whose stored width would be a guess: cast to one of the above.
    CArchive& operator<<(bool) = delete;
    CArchive& operator<<(char) = delete;
    CArchive& operator<<(signed char) = delete;
    CArchive& operator<<(float) = delete;
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    CArchive& operator<<(long long) = delete;
    CArchive& operator<<(unsigned long long) = delete;
    CArchive& operator>>(bool&) = delete;
    CArchive& operator>>(char&) = delete;
    CArchive& operator>>(signed char&) = delete;
    CArchive& operator>>(float&) = delete;
    CArchive& operator>>(long&) = delete;
    CArchive& operator>>(unsigned long&) = delete;
    CArchive& operator>>(long long&) = delete;
    CArchive& operator>>(unsigned long long&) = delete;

    void WriteCount(DWORD count);
    DWORD ReadCount();

    void WriteObject(const CObject* object);
    // Reads an object (or a reference to one read before, or null) that must
    // be of the requested class or derived from it; null requests any class.
    // Objects made here belong to the caller. When an object's Serialize
    // throws, that object is deleted and its id, and those of the objects
    // made while reading it, no longer resolve.
    CObject* ReadObject(const CRuntimeClass* requested);

    // For a collection that does not own its entries (CObList, CObArray):
    // when reading it fails, the entries made for it and read whole are
    // handed to the caller in orphans, to delete, instead of being lost.
    // Their ids no longer resolve either.
    CObject* ReadCollection(const CRuntimeClass* requested, std::vector<CObject*>& orphans);

    // An owner that deletes an object it read while the archive is still
    // reading says so first: the object's id, and those of the objects made
    // while reading it, no longer resolve, so a later reference in the data
    // is refused (badIndex) instead of reaching freed memory. Objects this
    // archive did not make are ignored.
    void ForgetObject(const CObject* object);
    // TRUE when inner was made while outer was read (outer itself counts):
    // an owner deleting outer may take inner with it, but not an object
    // read before outer, which belongs to its first reader.
    bool IsMadeWithin(const CObject* inner, const CObject* outer) const;

    template <class T>
    requires std::derived_from<T, CObject> T* ReadObject()
    {
        static_assert(std::is_same_v<typename T::KwvdThisClass, T>, "the class must declare its own runtime class");
        return static_cast<T*>(ReadObject(&T::runtimeClass));
    }

    // The schema stored for the object being read; reading it changes
    // nothing. Saved and restored around every nested object read.
    UINT GetObjectSchema() const { return m_nObjectSchema; }
    // For a contained record without a schema of its own: set it to the
    // container's, and restore it afterwards.
    void SetObjectSchema(UINT schema) { m_nObjectSchema = schema; }

    // The document being written or read, for objects that need it.
    CDocument* m_pDocument = nullptr;

private:
    struct LoadedEntry
    {
        CObject* object = nullptr;
        const CRuntimeClass* runtimeClass = nullptr;
        UINT schema = 0;
        // Objects only: the slot of the object being read when this one was
        // made (kNoSlot at the top), and the end of the slots made while
        // this one was read.
        size_t parent = 0;
        size_t end = 0;
    };
    static constexpr size_t kNoSlot = static_cast<size_t>(-1);

    [[noreturn]] void ThrowArchive(CArchiveException::Cause cause) const;
    void RequireLoading() const;
    void RequireStoring() const;
    void ReadExact(void* buffer, ULONGLONG count);
    bool CheckAvailable(ULONGLONG count);

    // The checked roads, for any T the fast ones below are used with.
    template <class T>
    T ReadLittleEndian();
    template <class T>
    void WriteLittleEndian(T value);

    template <class T>
    CArchive& WriteFixed(T value)
    {
        if (m_pFile != nullptr && !m_loading && m_bufferSize - m_bufferPos >= sizeof(T)) [[likely]] {
            qToLittleEndian<T>(value, m_buffer.get() + m_bufferPos);
            m_bufferPos += sizeof(T);
        } else {
            WriteLittleEndian<T>(value);
        }
        return *this;
    }

    template <class T>
    T ReadFixed()
    {
        T value{};
        ReadFixed<T>(value);
        return value;
    }

    template <class T, class V>
    CArchive& ReadFixed(V& value)
    {
        if (m_pFile != nullptr && m_loading && m_bufferFill - m_bufferPos >= sizeof(T)) [[likely]] {
            value = static_cast<V>(qFromLittleEndian<T>(m_buffer.get() + m_bufferPos));
            m_bufferPos += sizeof(T);
        } else {
            value = static_cast<V>(ReadLittleEndian<T>());
        }
        return *this;
    }

    void WriteStringLength(ULONGLONG length, bool wide);
    ULONGLONG ReadStringLength(bool& wide);
    QString ReadWideUnits(ULONGLONG length);
    std::string ReadNarrowBytes(ULONGLONG length);

    DWORD NextStoreId();
    void WriteReference(DWORD id, DWORD classBit);
    void WriteClass(const CRuntimeClass* runtimeClass);
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested, UINT& schema, DWORD& objectTag);
    CObject* ReadObjectCollecting(const CRuntimeClass* requested, std::vector<CObject*>* orphans);
    void ForgetSlots(size_t first, size_t end);

    CFile* m_pFile;
    bool m_loading;
    UINT m_bufferSize;
    std::unique_ptr<BYTE[]> m_buffer;
    UINT m_bufferPos = 0;  // next byte to read, or next free byte when storing
    UINT m_bufferFill = 0; // bytes of data in the buffer when loading

    QString m_filePath;
    bool m_filePathSet = false;
    UINT m_nObjectSchema = kNoObjectSchema;
    int m_uncaughtAtStart;

    // Classes and objects written so far, by address.
    kwvd::PointerTable<DWORD> m_storeIds;
    DWORD m_nextStoreId = 1;
    std::vector<LoadedEntry> m_loadTable;
    // The slot of each object that still resolves, to forget it by pointer.
    std::unordered_map<const CObject*, size_t> m_loadSlots;
    size_t m_currentSlot = kNoSlot;
    int m_depth = 0;
};

// ar >> pPage reads an object of pPage's class (or a class derived from it).
template <class T>
requires std::derived_from<T, CObject> CArchive& operator>>(CArchive& ar, T*& object)
{
    object = ar.ReadObject<T>();
    return ar;
}
