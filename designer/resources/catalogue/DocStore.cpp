#include "designer/resources/catalogue/DocStore.h"

#include "designer/document/XmlHttp.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/catalogue/DocStoreXml.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(DocStore, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

// A list is a count and the items, each without class information. Items
// are read one at a time, so a count larger than the data ends in the
// archive's end-of-file exception rather than a large allocation.
template <class T>
void SerializeList(CArchive& ar, std::vector<T>& items)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(items.size()));
        for (T& item : items)
            item.Serialize(ar);
        return;
    }
    const DWORD count = ar.ReadCount();
    std::vector<T> loaded;
    for (DWORD i = 0; i < count; ++i) {
        T item;
        item.Serialize(ar);
        loaded.push_back(std::move(item));
    }
    items = std::move(loaded);
}

// The entries of the first section the path selects, read in order.
template <class T, class Read>
std::vector<T> ReadSection(const XmlDocument& answer, const char* sectionPath, const char* entryName, Read read)
{
    std::vector<T> entries;
    const std::vector<xmlNode*> sections = XmlSelectNodes(answer.AsNode(), QString::fromLatin1(sectionPath));
    if (sections.empty())
        return entries;
    for (xmlNode* element : XmlSelectNodes(sections.front(), QString::fromLatin1(entryName))) {
        T entry;
        if (read(entry, element))
            entries.push_back(entry);
    }
    return entries;
}

} // namespace

const DocStoreDocType* DocStore::FindDocType(const QString& name) const
{
    for (const DocStoreDocType& docType : m_docTypes)
        if (docType.GetName() == name)
            return &docType;
    return nullptr;
}

void DocStore::GetDocTypeKeys(const QString& docTypeName, std::vector<DocTypeKey>& keys) const
{
    const DocStoreDocType* docType = FindDocType(docTypeName);
    if (docType == nullptr)
        return;
    for (const DocTypeToKeyMapper& relation : m_relations) {
        // Ids need not be unique: a relation belongs to the first type with
        // its id.
        const DocStoreDocType* owner = nullptr;
        for (const DocStoreDocType& candidate : m_docTypes) {
            if (candidate.GetId() == relation.docTypeId) {
                owner = &candidate;
                break;
            }
        }
        if (owner != docType)
            continue;

        const DocStoreKey* key = nullptr;
        for (const DocStoreKey& candidate : m_keys) {
            if (candidate.GetId() == relation.keyTableId) {
                key = &candidate;
                break;
            }
        }

        const DocTypeKey entry{relation.sortIndex, key, relation.required, relation.unique};
        auto position = keys.begin();
        while (position != keys.end() && position->sortIndex <= entry.sortIndex)
            ++position;
        keys.insert(position, entry);
    }
}

BOOL DocStore::ReadFromXml(xmlNode* element)
{
    *this = DocStore();
    if (!docstore::ReadChildText(element, "name", m_name))
        return FALSE;
    docstore::ReadChildText(element, "description", m_description);
    docstore::ReadChildText(element, "library", m_library);
    return TRUE;
}

BOOL DocStore::LoadStoreDetails(const QString& baseUrl)
{
    const QString url = QStringLiteral("%1/docStore/store/%2/docTypeKey/").arg(baseUrl, UrlEncodeComponent(m_name));
    XmlDocument answer;
    QString error;
    if (!HttpGetXml(url, answer, error)) {
        CDocStoreManager::ReportRequestFailure(url, error);
        return FALSE;
    }
    ReadDetails(answer);
    return TRUE;
}

void DocStore::ReadDetails(const XmlDocument& answer)
{
    m_keys =
        ReadSection<DocStoreKey>(answer, "/KWVD/docStore/store/docStoreKeys", "docStoreKey",
                                 [](DocStoreKey& key, xmlNode* element) { return key.ReadFromXml(element) != FALSE; });
    m_docTypes = ReadSection<DocStoreDocType>(
        answer, "/KWVD/docStore/store/documentTypes", "documentType",
        [](DocStoreDocType& docType, xmlNode* element) { return docType.ReadFromXml(element) != FALSE; });
    m_relations = ReadSection<DocTypeToKeyMapper>(answer, "/KWVD/docStore/store/documentTypeKeys", "documentTypeKey",
                                                  [](DocTypeToKeyMapper& relation, xmlNode* element) {
                                                      relation.ReadFromXml(element);
                                                      return true;
                                                  });
}

void DocStore::CopyDetailsFrom(const DocStore& other)
{
    m_docTypes = other.m_docTypes;
    m_keys = other.m_keys;
    m_relations = other.m_relations;
}

void DocStore::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_name << m_description << m_library;
    else
        ar >> m_name >> m_description >> m_library;
    SerializeList(ar, m_docTypes);
    SerializeList(ar, m_keys);
    SerializeList(ar, m_relations);
}
