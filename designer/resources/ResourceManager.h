#pragma once
// The document's image resources: up to 10 slots, each empty or holding a
// resource that covers the whole output page and that resource elements
// share by slot index.
//
// The manager owns its resources. Slots keep their indexes while they hold
// a resource, so the indexes elements hold stay valid.

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

class CDesignerDoc;

class CResourceManager : public CObject
{
    KWVD_DECLARE_SERIAL(CResourceManager)

public:
    static constexpr int kMaxResources = 10;

    // No document (the form the archive makes).
    CResourceManager();
    explicit CResourceManager(CDesignerDoc* document);
    // Deletes every resource in the slots.
    ~CResourceManager() override;

    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    CDesignerDoc* GetDocument() const { return m_pDocument; }

    // Shorter than kMaxResources when the last slots are empty.
    int GetSlotCount() const { return static_cast<int>(m_resources.GetSize()); }

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_resources; // owned resources; a slot may be null
};
