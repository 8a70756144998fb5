#pragma once
// A picture on the output page. A fixed image shows one of the document's
// images (an image file the host receives beside the JVX file); an image
// named by the data takes the name of a host image from the spooled file at
// its source rectangle and shows a placeholder here. The pictures belong to
// the document's image registry: elements refer to them by slot and share
// one size per image.

#include "designer/elements/FormElement.h"

class IMailAttachmentSink;
class IZipFileSink;
class Image;
class ImageRegistry;

// What the element's "Image" property page shows and edits.
struct ImagePageData
{
    // Bits of ApplyPage's what.
    enum : int {
        Position = 0x1,
        Size = 0x2,
        FileName = 0x4,
        ForceAbsolute = 0x100,
        FormatAndQuality = 0x1000000,
        Reload = 0x10000000,
    };

    QString fileName;
    int format = 0;
    unsigned quality = 0;
    int column = 0; // input page, 1-based
    int line = 0;
    int width = 0; // columns
    BOOL fixed = FALSE;
    BOOL forceAbsolute = FALSE;
    BOOL inLoop = FALSE;
    // Set once when the page is added: the input page in whole cells, and
    // the format that -1 stands for (the preference at that moment).
    int largestColumn = 1;
    int largestLine = 1;
    int defaultFormat = 0;
};

class CFormImageElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(CFormImageElement)

public:
    // Host image names are at most this many characters.
    static constexpr int kMaxSourceColumns = 8;

    // For loading.
    CFormImageElement();
    // PaneSide::Input: named by the data. Any other side: a fixed image,
    // for which the file dialog opens at once.
    CFormImageElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From a "GRPH" or "OVL" record.
    explicit CFormImageElement(CAPRTPDMRec& record);
    ~CFormImageElement() override;

    // Looks for the image beside the JVX file first, where an export wrote it.
    static CFormElement* FromRecord(CAPRTPDMRec& record, CJVXArchive& ar);

    int GetType() const override;
    void Copy(const CFormElement& other) override;

    void Serialize(CArchive& ar) override;
    // The record as the host gets it; the export moves it by the image's
    // export offset around this.
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

    // Nothing for an element without a file of its own.
    void AddMailAttachment(IMailAttachmentSink& mailer) const override;
    void AddToZip(IZipFileSink& zip) const override;

    void Revalidate(int mode) override;
    void DrawSource(QPainter& painter) override;
    void DrawDest(QPainter& painter) override;
    // Empty for a fixed image.
    kwvd::Rect GetSourceRect() const override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    BOOL IgnoresOffset() const override;
    BOOL Select(BOOL select) override;

    // Always TRUE: attaches to the image of that file, loading it when new.
    BOOL SetImageName(const QString& name);
    BOOL SetFixed(BOOL fixed);
    void SetImageIndex(int index);
    void FitDestToImage(int index);
    void PushSizeToImage(int index);
    void NormaliseSourceRect();
    BOOL SetImageFormat(int format);
    BOOL SetImageQuality(unsigned quality);
    int GetImageFormat() const;
    unsigned GetImageQuality() const;
    // FALSE for a fixed element whose file could not be attached.
    BOOL HasValidImage() const;

    const QString& GetImageName() const { return m_imageName; }
    int GetImageIndex() const { return m_imageIndex; }
    BOOL IsFixed() const { return m_fixed != 0; }
    COLORREF GetColour() const { return m_colour; }
    // The attached image, or null.
    Image* GetImage() const;

    // ---- property page
    void PreparePage(ImagePageData& page) const;
    BOOL UpdatePage(ImagePageData& page) const;
    BOOL ApplyPage(const ImagePageData& page, int what);

protected:
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    // From a record, with the image's name found for it.
    CFormImageElement(CAPRTPDMRec& record, const QString& name);

    ImageRegistry* Registry() const;
    // Takes the name and the registry's slot for it (-1 none).
    void AttachNamedImage(const QString& name, int index);
    BOOL UpdateColour();
    // A name that names a file (not empty, not a "?" placeholder).
    BOOL NamesFile() const;

    QString m_imageName;
    int m_imageIndex = -1;
    int m_fixed = 0;
    COLORREF m_colour = 0xFFFFFF;
};
