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

class CDesignerDoc;

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
    void SetDocument(CDesignerDoc* document);

    // Shorter than kMaxImages when the last slots are empty.
    int GetSlotCount() const { return static_cast<int>(m_images.GetSize()); }

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_images; // owned images; a slot may be null
};
