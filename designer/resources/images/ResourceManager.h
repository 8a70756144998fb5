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

#include <QString>

class CDesignerDoc;
class CFormElement;
class CJVXArchive;
class CResource;
class QWidget;

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
    // The manager's and every resource's document.
    void SetDocument(CDesignerDoc* document);

    // Shorter than kMaxResources when the last slots are empty.
    int GetSlotCount() const { return static_cast<int>(m_resources.GetSize()); }
    // Null for an empty slot or an index outside the array.
    CResource* GetResource(int index) const;

    // Drops unused resources, then the slots as an object array.
    void Serialize(CArchive& ar) override;

    // The "#R" section of the JVX file, both ways.
    void ExchangeJVX(CJVXArchive& ar);
    // The records after the header.
    void ExchangeJVXResources(CJVXArchive& ar);

    // The library of the JVX section (8 characters there), set by the JVX
    // writer; the description (50) is read back from the file.
    const QString& GetLibrary() const { return m_strLibrary; }
    void SetLibrary(const QString& library) { m_strLibrary = library; }
    const QString& GetDescription() const { return m_strDescription; }
    void SetDescription(const QString& description) { m_strDescription = description; }

    // Takes the resource into the first empty slot, or appends it; -1 and
    // message 345 when all 10 are taken (the caller keeps the resource).
    int Add(CResource* resource);
    // index, or -1 for an index that names no resource.
    int AddUser(CFormElement* element, int index);
    // -1: TRUE. A resource left without users goes. FALSE for an empty slot
    // or an index outside the array.
    BOOL RemoveUser(CFormElement* element, int index);
    void RemoveUnused();
    int CountUsed() const;
    // Lets the user choose a file until one loads; its new slot, or -1.
    int BrowseAndAdd(QWidget* parent);
    // After the page set-up: every rectangle becomes the page, and a
    // resource turned the other way is loaded again.
    void UpdateOrientation();
    // The rectangle becomes the page and the file is loaded again.
    void Reload(int index);

private:
    void DeleteAll();
    int FindResource(const CResource* resource) const;

    CDesignerDoc* m_pDocument = nullptr;
    QString m_strLibrary;
    QString m_strDescription;
    CObArray m_resources; // owned resources; a slot may be null
};
