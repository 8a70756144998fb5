#include "designer/resources/catalogue/DocStoreManager.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "platform/framework/Archive.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

KWVD_IMPLEMENT_SERIAL(CDocStoreManager, CObject, VERSIONABLE_SCHEMA | 0)

CDocStoreManager::CDocStoreManager() = default;

CDocStoreManager::CDocStoreManager(CDesignerDoc* document) : m_pDocument(document) {}

CDocStoreManager::~CDocStoreManager() = default;

DocStore* CDocStoreManager::FindStore(const QString& name)
{
    for (DocStore& store : m_stores)
        if (store.GetName() == name)
            return &store;
    return nullptr;
}

const DocStore* CDocStoreManager::FindStore(const QString& name) const
{
    return const_cast<CDocStoreManager*>(this)->FindStore(name);
}

BOOL CDocStoreManager::RefreshStores()
{
    if (m_pDocument == nullptr)
        return FALSE;

    const QString url = Preferences().GetDorrelBaseUrl() + QStringLiteral("/docStore/store/");
    XmlDocument answer;
    QString error;
    if (!HttpGetXml(url, answer, error)) {
        // The catalogue the document had stays: it may be all there is
        // while the server cannot be reached.
        ReportRequestFailure(url, error);
        return FALSE;
    }

    std::vector<DocStore> stores;
    for (xmlNode* element : XmlSelectNodes(answer.AsNode(), QStringLiteral("/KWVD/docStore/store"))) {
        DocStore store;
        if (!store.ReadFromXml(element))
            continue;
        // Until its own details arrive, a store known before keeps its old ones.
        if (const DocStore* known = FindStore(store.GetName()))
            store.CopyDetailsFrom(*known);
        stores.push_back(store);
    }
    m_stores = std::move(stores);

    LoadAllStoreDetails();
    return TRUE;
}

BOOL CDocStoreManager::LoadAllStoreDetails()
{
    if (m_pDocument == nullptr)
        return FALSE;
    const QString baseUrl = Preferences().GetDorrelBaseUrl();
    for (DocStore& store : m_stores)
        store.LoadStoreDetails(baseUrl);
    return TRUE;
}

void CDocStoreManager::ReportRequestFailure(const QString& url, const QString& error)
{
    AfxMessageBox(FormatResMessage(IDS_DOCSTORE_REQUEST_FAILED, url, error), MB_OK);
}

int CDocStoreManager::FileVersionOf(const CArchive& ar)
{
    if (const auto* document = dynamic_cast<const CDesignerDoc*>(ar.m_pDocument))
        return document->GetDocumentVersion();
    return CDesignerDoc::kCurrentVersion;
}

void CDocStoreManager::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_stores.size()));
        for (DocStore& store : m_stores)
            store.Serialize(ar);
        return;
    }
    const DWORD count = ar.ReadCount();
    std::vector<DocStore> stores;
    for (DWORD i = 0; i < count; ++i) {
        DocStore store;
        store.Serialize(ar);
        stores.push_back(std::move(store));
    }
    m_stores = std::move(stores);
    m_pDocument = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);
}
