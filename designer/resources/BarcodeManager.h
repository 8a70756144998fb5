#pragma once
// The document's barcode definitions: up to 26 slots, whose positions are
// the barcode letters A to Z of the exported file. Barcode elements refer to
// a slot by index; a definition lives as long as it has users.
//
// The manager owns the definitions in its slots. Slots keep their indexes
// while they hold a definition, so the indexes elements hold stay valid.

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

class CDesignerDoc;

class CBarcodeManager : public CObject
{
    KWVD_DECLARE_SERIAL(CBarcodeManager)

public:
    static constexpr int kMaxBarcodes = 26;

    // No document (the form the archive makes).
    CBarcodeManager();
    explicit CBarcodeManager(CDesignerDoc* document);
    // Deletes every definition in the slots.
    ~CBarcodeManager() override;

    CBarcodeManager(const CBarcodeManager&) = delete;
    CBarcodeManager& operator=(const CBarcodeManager&) = delete;

    CDesignerDoc* GetDocument() const { return m_pDocument; }

    // Shorter than kMaxBarcodes when the last slots are empty.
    int GetSlotCount() const { return static_cast<int>(m_barcodes.GetSize()); }

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_barcodes; // owned definitions; a slot may be null
};
