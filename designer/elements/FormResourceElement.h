#pragma once
// One of the document's image resources placed on the output. The element
// has no geometry of its own: it names a resource by slot and its
// destination mirrors the resource's rectangle, the whole page. It travels
// in the JVX file as a "RES" record whose last field is the slot digit.

#include "designer/elements/FormElement.h"

class CResource;
class CResourceManager;

// What the element's "Resource" property page shows and edits.
struct ResourcePageData
{
    // Bit of ApplyPage's what.
    enum : int {
        ResourceIndex = 0x2000000,
    };

    int resourceIndex = -1;
    // The document's resources, set when the page is added.
    CResourceManager* manager = nullptr;
};

class CFormResourceElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(CFormResourceElement)

public:
    // For loading.
    CFormResourceElement();
    // Inserted: no resource until the property page chooses one.
    explicit CFormResourceElement(CDesignerDoc* doc);
    // From a "RES" record.
    explicit CFormResourceElement(CAPRTPDMRec& record);
    ~CFormResourceElement() override;

    static CFormElement* FromRecord(CAPRTPDMRec& record, CJVXArchive& ar);

    int GetType() const override;
    void Copy(const CFormElement& other) override;

    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    // Nothing without a resource.
    void ExportJVX(CJVXArchive& ar) override;

    void Revalidate(int mode) override;
    void DrawDest(QPainter& painter) override;
    // The resource decides the place and size.
    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    BOOL IgnoresOffset() const override;
    BOOL Select(BOOL select) override;

    BOOL SetResourceIndex(int index);
    int GetResourceIndex() const { return m_resourceIndex; }
    BOOL UpdateAutoDescription();
    void SyncDestToResource();
    // The attached resource, or null.
    CResource* GetResource() const;

    // ---- property page
    void PreparePage(ResourcePageData& page) const;
    BOOL UpdatePage(ResourcePageData& page) const;
    BOOL ApplyPage(const ResourcePageData& page, int what);

private:
    CResourceManager* Manager() const;

    int m_resourceIndex = -1;
};
