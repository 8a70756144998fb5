#pragma once
// JVX archives over memory for tests: what a storing archive wrote, and a
// loading archive over given bytes.

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"

#include <functional>
#include <string>

class CDesignerDoc;
class ITranslator;

// What a storing archive wrote, and in how many writes to its file: a line
// the archive gathers reaches the file in one.
struct CountedJvx
{
    Bytes bytes;
    int writes = 0;
};

inline CountedJvx StoreJvxCounted(int version, const std::function<void(CJVXArchive&)>& write,
                                  ITranslator* translator = nullptr, CDesignerDoc* doc = nullptr)
{
    class CountingFile : public CMemFile
    {
    public:
        void Write(const void* buffer, UINT count) override
        {
            ++writes;
            CMemFile::Write(buffer, count);
        }
        int writes = 0;
    };
    CountingFile file;
    {
        CJVXArchive ar(version, CJVXArchive::store, doc, &file);
        ar.SetTranslator(translator);
        write(ar);
    }
    CountedJvx out;
    out.writes = file.writes;
    out.bytes.resize(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!out.bytes.empty())
        file.Read(out.bytes.data(), static_cast<UINT>(out.bytes.size()));
    return out;
}

inline Bytes StoreJvx(int version, const std::function<void(CJVXArchive&)>& write, ITranslator* translator = nullptr,
                      CDesignerDoc* doc = nullptr)
{
    return StoreJvxCounted(version, write, translator, doc).bytes;
}

// The bytes are copied, so the reader may outlive them.
class JvxReader
{
public:
    JvxReader(const Bytes& bytes, int version, ITranslator* translator = nullptr, CDesignerDoc* doc = nullptr)
        : m_bytes(bytes), m_file(m_bytes.data(), static_cast<UINT>(m_bytes.size())),
          m_ar(version, CJVXArchive::load, doc, &m_file)
    {
        m_ar.SetTranslator(translator);
    }

    CJVXArchive& Archive() { return m_ar; }
    CMemFile& File() { return m_file; }

private:
    Bytes m_bytes;
    CMemFile m_file;
    CJVXArchive m_ar;
};
