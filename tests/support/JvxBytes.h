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

inline Bytes StoreJvx(int version, const std::function<void(CJVXArchive&)>& write, ITranslator* translator = nullptr,
                      CDesignerDoc* doc = nullptr)
{
    CMemFile file;
    CJVXArchive ar(version, CJVXArchive::store, doc, &file);
    ar.SetTranslator(translator);
    write(ar);
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
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
