#pragma once
// The document's barcode definitions: up to 26 slots, whose positions are
// the barcode letters A to Z of the exported file. Barcode elements refer to
// a slot by index; a definition lives as long as it has users.
//
// The manager owns the definitions in its slots. Slots keep their indexes
// while they hold a definition, so the indexes elements hold stay valid.
//
// The class also keeps the process-wide master barcode list, the user's
// library of named definitions: the first manager loads it from the master
// barcode file, the last one saves it and frees it.

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <functional>

class CBarcode;
class CDesignerDoc;
class CFormElement;
class CJVXArchive;
class QWidget;

class CBarcodeManager;

// Runs the barcode settings dialog modally for a definition of the manager
// (none for an element without barcode). TRUE on OK, with the definition the
// user chose, which may be none.
using BarcodeSettingsRunner =
    std::function<BOOL(QWidget* parent, CBarcodeManager& manager, CBarcode* initial, CBarcode*& chosen)>;
// Returns the runner that was installed.
BarcodeSettingsRunner SetBarcodeSettingsRunner(BarcodeSettingsRunner runner);

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
    // Null for an empty slot or an index outside the array.
    CBarcode* GetBarcode(int index) const;

    // Drops unused definitions first; snapshots included.
    void Serialize(CArchive& ar) override;
    // The "#C" section: a line per used definition.
    void ExchangeJVX(CJVXArchive& ar);

    // Deletes definitions without users and cuts trailing empty slots.
    void RemoveUnused();
    // The index the element must keep: the slot's own, a new "Default"
    // definition's for a slot that holds none, -1 for -1 or a full list.
    int AddUser(CFormElement* element, int index);
    // -1: TRUE. A definition left without users goes. FALSE for an empty
    // slot or an index outside the array.
    BOOL RemoveUser(CFormElement* element, int index);
    // A copy into the first empty slot or appended; -1 and message 224 when
    // all 26 are taken.
    int Add(const CBarcode& definition);
    // The highest slot of an equal definition, or -1.
    int FindEqual(const CBarcode& definition) const;
    // The highest slot holding exactly that object, or -1.
    int FindBarcode(const CBarcode* barcode) const;
    void DeleteBarcode(CBarcode* barcode);
    // The settings command of a barcode element whose definition is slot
    // *index: runs the settings dialog and points *index at the chosen
    // definition. TRUE when *index changed or a definition the element uses
    // changed (the document is then marked modified); the element registers
    // itself with its new slot. A full list keeps *index.
    BOOL EditBarcode(int* index, QWidget* parent = nullptr);
    // Slots holding a definition with users.
    int CountUsed() const;
    // 0 for an index without a definition.
    int GetBarcodeFontIndex(int index) const;

    // ---- master barcode list (process-wide)
    static CObList* GetMasterBarcodeList();
    static void LoadMasterBarcodeFile();
    static void SaveMasterBarcodeFile();
    // The master file's path; an empty preference is filled with the default.
    static QString MasterBarcodeFilePath();
    // The entry of that name, or a new default one the list takes; null for
    // an empty name.
    static CBarcode* FindMasterBarcode(const QString& name);
    // The list takes the definition, replacing entries of the same name;
    // FALSE (the caller keeps it) when an equal one is there.
    static BOOL AddToMaster(CBarcode* definition);
    static CBarcode* FindEqualInMaster(const CBarcode* definition);
    static CBarcode* FindMasterByName(const QString& name);
    static int GetLiveManagerCount();

private:
    void DeleteAll();
    // The highest slot of an equal definition, the module width compared too
    // when asked.
    int FindMatching(const CBarcode& definition, bool sameModuleWidth) const;

    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_barcodes; // owned definitions; a slot may be null
};
