#pragma once
// The document's copy of the host's document-store catalogue: the stores
// with their document types and index keys, kept with the document so that
// it offers them while the catalogue server cannot be reached.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

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

private:
    CDesignerDoc* m_pDocument = nullptr;
};
