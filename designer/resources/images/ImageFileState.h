#pragma once
// What an Image and a CResource share: the image file's path, its export
// settings, the loaded image with its display cache and rotation, the
// document, and the elements that show it. Both kinds derive from it, so
// these fields and their rules are written once.
//
// The state owns its two toolkit wrappers; it never owns its users.

#include "designer/resources/ElementUsers.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class CFormElement;
class CPage;
class ToolkitImage;
struct ImageExportSubject;

class ImageFileState
{
public:
    static constexpr int kDefaultFormat = -1;
    static constexpr int kDefaultQuality = 80;

    ImageFileState(const ImageFileState&) = delete;
    ImageFileState& operator=(const ImageFileState&) = delete;

    int GetFormat() const { return m_nFormat; }
    int GetQuality() const { return m_nQuality; }
    static QString GetFormatName(int format);

    BOOL IsRotated() const { return m_nRotated != 0; }
    BOOL IsLoaded() const;
    ToolkitImage* GetToolkitImage() const { return m_pImage; }

    // ---- users (not owned)
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

protected:
    explicit ImageFileState(CDesignerDoc* document = nullptr) : m_pDocument(document) {}
    ~ImageFileState();

    // -1 to 3, and 0 to 100: TRUE when the value was taken.
    BOOL StoreFormat(int format);
    BOOL StoreQuality(unsigned quality);
    // A newly loaded image in place of the one held.
    void TakeImage(ToolkitImage* loaded, BOOL rotated);
    void DestroyImages();
    CPage* OutputPage() const;
    // The export's view of the state; the caller gives the size.
    void FillExportSubject(ImageExportSubject& subject) const;

    ElementUsers m_users;
    ToolkitImage* m_pImage = nullptr;
    ToolkitImage* m_pDisplayCache = nullptr;
    QString m_strPath;
    int m_nRotated = 0;
    int m_nFormat = kDefaultFormat;
    int m_nQuality = kDefaultQuality;
    CDesignerDoc* m_pDocument = nullptr;
};
