#pragma once
// One image resource of the document: an image file laid over the whole
// output page, kept by the host as a named resource. Stored with the
// document, and exported as a "#R" record followed by its image file.
//
// Its users are the resource elements.

#include "designer/resources/images/ImageFileState.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class CJVXArchive;
class QPainter;

class CResource : public CObject, public ImageFileState
{
    KWVD_DECLARE_SERIAL(CResource)

public:
    CResource();
    explicit CResource(CDesignerDoc* document);
    ~CResource() override;

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

    // The rules of Image::SetFormat and Image::SetQuality, without
    // revalidating users; the caller marks the document modified.
    BOOL SetFormat(int format) { return StoreFormat(format); }
    BOOL SetQuality(unsigned quality) { return StoreQuality(quality); }

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

private:
    kwvd::Rect m_rect;
};
