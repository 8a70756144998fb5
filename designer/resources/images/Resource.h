#pragma once
// One image resource of the document: an image file laid over the whole
// output page, kept by the host as a named resource. Stored with the
// document, and exported as a "#R" record followed by its image file.
//
// A resource owns its two toolkit wrappers; its users, the resource
// elements, are not owned.

#include "designer/resources/ElementUsers.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class CFormElement;
class CJVXArchive;
class CPage;
class QPainter;
class ToolkitImage;

class CResource : public CObject
{
    KWVD_DECLARE_SERIAL(CResource)

public:
    CResource();
    explicit CResource(CDesignerDoc* document);
    ~CResource() override;

    CResource(const CResource&) = delete;
    CResource& operator=(const CResource&) = delete;

    // Path relative to the WVD file, format, quality.
    void Serialize(CArchive& ar) override;

    // Empties the users, takes the path, format and quality (marking the
    // document modified on a change); users are not revalidated.
    virtual void Copy(const CResource& other);
    virtual void CopyFrom(const CResource& other) { Copy(other); }

    // One "#R" record after its marker: storing writes it and then the image
    // file; loading reads it and looks for the file by its host name.
    virtual void ExchangeJVX(CJVXArchive& ar);
    virtual QString GetPath() const { return m_strPath; }

    // Resolves and loads path: the rectangle becomes the whole output page
    // and the users are revalidated. FALSE keeps the earlier image.
    BOOL LoadImage(const QString& path);
    // Finds the file or a substitute the user accepts; message 282 when
    // there is none.
    BOOL ResolveFile(QString& path);

    int GetFormat() const { return m_nFormat; }
    int GetQuality() const { return m_nQuality; }
    // The rules of Image::SetFormat and Image::SetQuality, without
    // revalidating users; the caller marks the document modified.
    BOOL SetFormat(int format);
    BOOL SetQuality(unsigned quality);
    static QString GetFormatName(int format);

    BOOL IsRotated() const { return m_nRotated != 0; }
    BOOL IsLoaded() const;
    ToolkitImage* GetToolkitImage() const { return m_pImage; }
    const kwvd::Rect& GetRect() const { return m_rect; }
    void SetRect(const kwvd::Rect& rect) { m_rect = rect; }
    // The whole output page in page pixels; empty without a page.
    void SetRectToPage();

    // The host file name from the path; message 303 when it had to change.
    QString GetServerName() const;
    // The part of the rectangle in the page's no-print border.
    void GetExportOffset(int offset[2]) const;

    // The resource, or its path as text, in its rectangle.
    void Draw(QPainter& painter);

    static BOOL ExportToServer(CJVXArchive& archive, CResource* resource, const int offset[2], const QString& name);

    // ---- users (not owned; resource elements)
    void AddUser(CFormElement* element) { m_users.Add(element); }
    BOOL RemoveUser(CFormElement* element) { return m_users.Remove(element); }
    BOOL HasUsers() const { return !m_users.IsEmpty(); }
    BOOL HasUser(const CFormElement* element) const { return m_users.Has(element); }
    const CObList& GetUsers() const { return m_users.List(); }
    // Revalidate(0) of each user still in the list; a user may leave it
    // while this runs.
    void RevalidateUsers() { m_users.RevalidateAll(); }

    CDesignerDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CDesignerDoc* document) { m_pDocument = document; }

private:
    void DestroyImages();
    CPage* OutputPage() const;

    ElementUsers m_users;
    ToolkitImage* m_pImage = nullptr;
    ToolkitImage* m_pDisplayCache = nullptr;
    QString m_strPath;
    int m_nRotated = 0;
    int m_nFormat = -1;
    int m_nQuality = 80;
    kwvd::Rect m_rect;
    CDesignerDoc* m_pDocument = nullptr;
};
