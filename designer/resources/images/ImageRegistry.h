#pragma once
// The document's images: up to 10 slots, each empty or holding an image that
// image elements share by slot index. Never stored with the document: image
// elements store their own paths and register again when they are read.
//
// The registry owns its images. Slots keep their indexes while they hold an
// image, so the indexes elements hold stay valid.

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class CFormElement;
class CJVXArchive;
class Image;
class QWidget;

class ImageRegistry : public CObject
{
    KWVD_DECLARE_SERIAL(ImageRegistry)

public:
    static constexpr int kMaxImages = 10;

    // No document (the form the archive makes).
    ImageRegistry();
    explicit ImageRegistry(CDesignerDoc* document);
    // Deletes every image in the slots.
    ~ImageRegistry() override;

    ImageRegistry(const ImageRegistry&) = delete;
    ImageRegistry& operator=(const ImageRegistry&) = delete;

    CDesignerDoc* GetDocument() const { return m_pDocument; }
    // The registry's and every image's document.
    void SetDocument(CDesignerDoc* document);

    // Shorter than kMaxImages when the last slots are empty.
    int GetSlotCount() const { return static_cast<int>(m_images.GetSize()); }
    // Null for an empty slot or an index outside the array.
    Image* GetImage(int index) const;

    // Writes every image in use beside the JVX file (after the element
    // records); images nobody uses are dropped first.
    void ExportJVX(CJVXArchive& ar);

    // Takes the image into the first empty slot, or appends it; -1 and
    // message 345 when all 10 are taken (the caller keeps the image).
    int Add(Image* image);
    // index, or -1 for an index that names no image.
    int AddUser(CFormElement* element, int index);
    // -1: TRUE. An image left without users goes. FALSE for an empty slot
    // or an index outside the array.
    BOOL RemoveUser(CFormElement* element, int index);
    // Deletes images without users and cuts trailing empty slots.
    void RemoveUnused();
    // The lowest slot whose image has exactly this path, or -1.
    int FindByPath(const QString& path) const;
    // The slot of the image of that file, loading it when new; -1 when it
    // cannot be found or loaded, or the registry is full.
    int FindOrLoad(const QString& path);
    // Lets the user choose a file until one loads; path becomes it. -1 and
    // path unchanged on cancel.
    int BrowseAndAdd(QWidget* parent, QString& path);
    // After the page set-up: reloads the images turned the other way.
    void UpdateOrientation();

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_images; // owned images; a slot may be null
};
