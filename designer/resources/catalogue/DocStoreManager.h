#pragma once
// The document's copy of the host's document-store catalogue: the stores
// with their document types and index keys, kept with the document so that
// it offers them while the catalogue server cannot be reached.

#include "designer/resources/catalogue/DocStore.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <vector>

class CArchive;
class CDesignerDoc;

class CDocStoreManager : public CObject
{
    KWVD_DECLARE_SERIAL(CDocStoreManager)

public:
    // No document (the form the archive makes).
    CDocStoreManager();
    explicit CDocStoreManager(CDesignerDoc* document);
    ~CDocStoreManager() override;

    CDocStoreManager(const CDocStoreManager&) = delete;
    CDocStoreManager& operator=(const CDocStoreManager&) = delete;

    // Borrowed; the document points it at itself again when its type changes.
    CDesignerDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CDesignerDoc* document) { m_pDocument = document; }

    // In the order the server listed them.
    const std::vector<DocStore>& GetStores() const { return m_stores; }

    // The first store of exactly that name, or null.
    DocStore* FindStore(const QString& name);
    const DocStore* FindStore(const QString& name) const;

    // Reads the store list from the catalogue server, then every store's
    // details. The new list replaces the old one only once it has arrived,
    // and a store whose details cannot be read keeps those it had. FALSE
    // (after message 370) when the store list could not be read, or without
    // a document.
    BOOL RefreshStores();

    // The details request of every store in turn; FALSE only without a
    // document.
    BOOL LoadAllStoreDetails();

    // Message 370 for a failed request, with its address and error text.
    static void ReportRequestFailure(const QString& url, const QString& error);

    // The version of the WVD file the archive reads: the version its
    // document holds while reading, else the current one.
    static int FileVersionOf(const CArchive& ar);

    // Writing always writes the current form.
    void Serialize(CArchive& ar) override;

private:
    CDesignerDoc* m_pDocument = nullptr;
    std::vector<DocStore> m_stores;
};
