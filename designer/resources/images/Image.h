#pragma once
// One image file of the document, shown by image elements and written beside
// the JVX file for the host. The image is held through the imaging toolkit,
// turned by 90 degrees when it was loaded for a landscape page.
//
// Its users are the image elements that show it.

#include "designer/resources/images/ImageFileState.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class CJVXArchive;
class QPainter;

class Image : public CObject, public ImageFileState
{
    KWVD_DECLARE_SERIAL(Image)

public:
    Image();
    explicit Image(CDesignerDoc* document);
    ~Image() override;

    // Images are never stored with the document; kept for the framework.
    void Serialize(CArchive& ar) override;

    // Empties the users, takes the path, format and quality; the loaded image
    // and the size stay this image's.
    virtual void Copy(const Image& other);
    virtual void CopyFrom(const Image& other) { Copy(other); }

    // Storing: writes the image file beside the JVX file. Loading: takes the
    // archive's document.
    virtual void ExportJVX(CJVXArchive& ar);

    // Loads path; on success stores it, takes the natural size and
    // revalidates the users. FALSE leaves everything as it was.
    BOOL SetFile(const QString& path);
    // Loads the stored path again; the size stays.
    BOOL Reload();
    // Loads without storing the path or telling the users.
    BOOL LoadImage(const QString& path);

    // Finds the file, or a substitute the user accepts, and rewrites path to
    // it. document may be null.
    static BOOL ResolveFile(QString& path, CDesignerDoc* document);

    // The size the file's resolution gives, in page pixels, before snapping.
    // 0 x 0 without a loaded image.
    void GetNaturalSize(int size[2]) const;
    // The size on the page the export and the elements go by: the natural
    // size snapped to the grid, or what an element gave it.
    void GetSize(int size[2]) const;
    // TRUE when it changed; the caller revalidates and marks modified.
    BOOL SetSize(int width, int height);

    // -1 to 3; anything else or the same value: FALSE. A change revalidates
    // the users and marks the document modified.
    BOOL SetFormat(int format);
    // 0 to 100, with the rules of SetFormat.
    BOOL SetQuality(unsigned quality);

    QString GetPath() const { return m_strPath; }

    // The host file name; message 303 when the title had to be changed, at
    // most once per image until ForgetServerNameNotice.
    QString GetServerName();
    void ForgetServerNameNotice() { m_serverNameTold = FALSE; }

    // How far, in page pixels, the users reach into the no-print border.
    void GetExportOffset(int offset[2]) const;

    // The image, or its path as text, in rect (page pixels).
    void Draw(const kwvd::Rect& rect, QPainter& painter);

    // Writes the image's file for the host; TRUE when it was written.
    static BOOL ExportToServer(CJVXArchive& archive, Image* image, const int offset[2], const QString& name);

private:
    int m_size[2] = {0, 0};
    BOOL m_serverNameTold = FALSE;
};
