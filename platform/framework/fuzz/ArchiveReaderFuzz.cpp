// Fuzz target for the archive reader.
//
// Each input is read as a stream of objects through a memory file until the
// data ends or the archive refuses it. Archive and file exceptions are the
// expected refusals; anything else (another exception, a crash, a leak, a
// hang, a big allocation) is a finding. The objects read whole are then
// written, read back and written again: both writes must be the same bytes.
//
// Every object the reader makes belongs to a per-input arena, so back
// references and half-read objects never cause a double free.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> archive_reader_fuzz writes a few
// small valid archives into the folder and exits.

#include "platform/framework/Archive.h"
#include "platform/framework/Collections.h"
#include "platform/framework/MemFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

std::unordered_set<CObject*> g_arena;

struct ArenaHook
{
    explicit ArenaHook(CObject* self) : m_self(self) { g_arena.insert(self); }
    ~ArenaHook() { g_arena.erase(m_self); }
    ArenaHook(const ArenaHook&) = delete;
    ArenaHook& operator=(const ArenaHook&) = delete;
    CObject* m_self;
};

void freeArena()
{
    const std::vector<CObject*> objects(g_arena.begin(), g_arena.end());
    g_arena.clear();
    for (CObject* object : objects)
        delete object;
}

// The framework's collections under their own names, made in the arena.
template <class Base>
class Tracked : public Base
{
public:
    static CObject* Create() { return new Tracked; }

private:
    ArenaHook m_hook{this};
};

const CRuntimeClass kTrackedObList = {"CObList", 0, &Tracked<CObList>::Create, &CObList::runtimeClass};
const CRuntimeClass kTrackedObArray = {"CObArray", 0, &Tracked<CObArray>::Create, &CObArray::runtimeClass};
const CRuntimeClass kTrackedStringArray = {"CStringArray", 0, &Tracked<CStringArray>::Create,
                                           &CStringArray::runtimeClass};
const CRuntimeClass kTrackedWordArray = {"CWordArray", 0, &Tracked<CWordArray>::Create, &CWordArray::runtimeClass};

// Every primitive and both text forms.
class CFuzzLeaf : public CObject
{
    KWVD_DECLARE_SERIAL(CFuzzLeaf)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_byte << m_word << m_short << m_long << m_dword << m_double << m_wide << m_narrow;
        else
            ar >> m_byte >> m_word >> m_short >> m_long >> m_dword >> m_double >> m_wide >> m_narrow;
    }

    BYTE m_byte = 0;
    WORD m_word = 0;
    short m_short = 0;
    LONG m_long = 0;
    DWORD m_dword = 0;
    double m_double = 0;
    QString m_wide;
    std::string m_narrow;
    ArenaHook m_hook{this};
};
KWVD_IMPLEMENT_SERIAL(CFuzzLeaf, CObject, 2)

// Fields gated by the stored schema, a record read under a borrowed schema,
// inline collections and a counted run of raw bytes.
class CFuzzVersioned : public CObject
{
    KWVD_DECLARE_SERIAL(CFuzzVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_narrow;
            m_words.Serialize(ar);
            m_strings.Serialize(ar);
            ar.WriteCount(static_cast<DWORD>(m_raw.size()));
            ar.Write(m_raw.data(), static_cast<UINT>(m_raw.size()));
            ar << m_record;
            return;
        }
        const UINT schema = ar.GetObjectSchema();
        if (schema >= 1)
            ar >> m_narrow;
        if (schema >= 2)
            m_words.Serialize(ar);
        if (schema >= 3) {
            m_strings.Serialize(ar);
            const DWORD count = ar.ReadCount();
            ar.EnsureAvailable(count);
            m_raw.resize(count);
            if (ar.Read(m_raw.data(), count) != count)
                AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        // A record without a schema of its own reads under schema 1.
        ar.SetObjectSchema(1);
        if (ar.GetObjectSchema() != 1)
            std::abort();
        ar >> m_record;
        ar.SetObjectSchema(schema);
        if (ar.GetObjectSchema() != schema)
            std::abort();
    }

    std::string m_narrow;
    CWordArray m_words;
    CStringArray m_strings;
    std::vector<BYTE> m_raw;
    QString m_record;
    ArenaHook m_hook{this};
};
KWVD_IMPLEMENT_SERIAL(CFuzzVersioned, CObject, VERSIONABLE_SCHEMA | 3)

// Children in a list, a reference to any object, an array and a typed read.
class CFuzzNode : public CObject
{
    KWVD_DECLARE_SERIAL(CFuzzNode)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_value;
            m_children.Serialize(ar);
            ar << m_ref;
            m_array.Serialize(ar);
            ar << m_leaf;
            return;
        }
        const UINT schema = ar.GetObjectSchema();
        ar >> m_value;
        m_children.Serialize(ar);
        if (ar.GetObjectSchema() != schema)
            std::abort(); // nested reads must give the schema back
        if (schema >= 2) {
            m_ref = ar.ReadObject(nullptr);
            m_array.Serialize(ar);
            ar >> m_leaf;
        }
    }

    LONG m_value = 0;
    CObList m_children;
    CObject* m_ref = nullptr;
    CObArray m_array;
    CFuzzLeaf* m_leaf = nullptr;
    ArenaHook m_hook{this};
};
KWVD_IMPLEMENT_SERIAL(CFuzzNode, CObject, VERSIONABLE_SCHEMA | 2)

void registerClasses()
{
    RegisterRuntimeClass(&kTrackedObList);
    RegisterRuntimeClass(&kTrackedObArray);
    RegisterRuntimeClass(&kTrackedStringArray);
    RegisterRuntimeClass(&kTrackedWordArray);
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFuzzLeaf));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFuzzVersioned));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFuzzNode));
}

std::vector<BYTE> storeObjects(const std::vector<CObject*>& objects)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        for (const CObject* object : objects)
            ar.WriteObject(object);
        ar.Close();
    }
    const auto length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    std::vector<BYTE> bytes(data, data + length);
    std::free(data);
    return bytes;
}

// Reads objects until the data ends or is refused; the objects read whole.
std::vector<CObject*> loadObjects(std::vector<BYTE>& bytes, UINT bufferSize, bool mustReadAll, size_t expected)
{
    std::vector<CObject*> objects;
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, bufferSize);
    try {
        while (!mustReadAll || objects.size() < expected)
            objects.push_back(ar.ReadObject(nullptr));
    } catch (const CArchiveException&) {
        if (mustReadAll)
            std::abort(); // our own bytes must read back
    } catch (const CFileException&) {
        if (mustReadAll)
            std::abort();
    }
    BYTE extra = 0;
    if (mustReadAll && ar.Read(&extra, 1) != 0)
        std::abort(); // and nothing may be left over
    ar.Abort();
    return objects;
}

void writeSeed(const char* folder, const char* name, const std::vector<CObject*>& objects)
{
    const std::vector<BYTE> bytes = storeObjects(objects);
    const std::string path = std::string(folder) + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void writeSeeds(const char* folder)
{
    auto* leaf = new CFuzzLeaf;
    leaf->m_byte = 0xA5;
    leaf->m_word = 0xBEEF;
    leaf->m_short = -2;
    leaf->m_long = -70000;
    leaf->m_dword = 0x12345678;
    leaf->m_double = 1.5;
    leaf->m_wide = QString::fromUtf16(u"Gr\u00FC\u00DFe \u20AC");
    leaf->m_narrow = std::string("a\0b\x80", 4);
    writeSeed(folder, "leaf", {leaf});

    auto* versioned = new CFuzzVersioned;
    versioned->m_narrow = "narrow";
    versioned->m_words.Add(1);
    versioned->m_words.Add(0xFFFF);
    versioned->m_strings.Add(QStringLiteral("one"));
    versioned->m_strings.Add(QString());
    versioned->m_raw = {0, 1, 2, 0xFF};
    versioned->m_record = QStringLiteral("record");
    writeSeed(folder, "versioned", {versioned, versioned});

    auto* root = new CFuzzNode;
    auto* child = new CFuzzNode;
    root->m_value = 1;
    child->m_value = 2;
    root->m_children.AddTail(child);
    root->m_children.AddTail(nullptr);
    root->m_children.AddTail(leaf);
    child->m_ref = root;
    child->m_leaf = leaf;
    root->m_ref = versioned;
    root->m_array.Add(child);
    root->m_array.Add(nullptr);
    writeSeed(folder, "graph", {root, child, leaf});

    auto* list = Tracked<CObList>::Create();
    static_cast<CObList*>(list)->AddTail(leaf);
    auto* strings = static_cast<CStringArray*>(Tracked<CStringArray>::Create());
    strings->Add(QString(300, QLatin1Char('w')));
    auto* words = static_cast<CWordArray*>(Tracked<CWordArray>::Create());
    words->Add(7);
    auto* array = static_cast<CObArray*>(Tracked<CObArray>::Create());
    array->Add(list);
    writeSeed(folder, "collections", {list, strings, words, array});

    auto* longText = new CFuzzLeaf;
    longText->m_narrow = std::string(300, 'n');
    longText->m_wide = QString(260, QLatin1Char('u'));
    writeSeed(folder, "long-texts", {longText, nullptr});

    freeArena();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    registerClasses();
    if (const char* folder = std::getenv("KWVD_FUZZ_WRITE_SEEDS")) {
        writeSeeds(folder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> input(data, data + size);
    // A small buffer, so that reads cross its edge and bypass it.
    const std::vector<CObject*> objects = loadObjects(input, 16, false, 0);

    // Whatever was read whole must survive a round trip unchanged.
    std::vector<BYTE> first = storeObjects(objects);
    const std::vector<CObject*> again = loadObjects(first, 4096, true, objects.size());
    const std::vector<BYTE> second = storeObjects(again);
    if (first != second)
        std::abort();

    freeArena();
    return 0;
}
