#pragma once
// The document's output devices by index. Output elements name their device
// by index: 0 is always the document's default device "*DOC", which the
// manager owns and creates on first use; 1 and up are slots that point at
// devices of the process-wide master list, which the manager never deletes.
// A slot is emptied when its device loses its last user and is reused before
// the array grows, so the indexes elements hold stay valid.
//
// The export device is a scratch device, also owned here, that carries the
// document-level values with which "*DOC" and -1 are resolved on export.
//
// The master list is shared by every manager of the process: loaded from the
// master device file when the first manager is made, saved and freed when
// the last one goes. A document's devices are shared objects of that list,
// so two documents with equal devices use the same object.

#include "designer/output/OutputDeviceAddressType.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <functional>
#include <memory>

class CArchive;
class CDesignerDoc;
class CDocStoreManager;
class CFormOutputElement;
class CJVXArchive;
class COutputDevice;
class COutputDeviceManager;
class QWidget;

// --- The settings windows of the devices, reached through a seam that the
// program fills, so the rules of the settings commands hold without widgets.

// What a settings window needs of the document beside the device.
struct OutputDeviceSettingsContext
{
    // '1' for an XML document, '0' otherwise or without a document.
    wchar_t xmlDocument = L'0';
    // Borrowed, either may be null.
    COutputDeviceManager* deviceManager = nullptr;
    CDocStoreManager* docStoreManager = nullptr;
};

// One modal settings window, made for one edit.
class IOutputDeviceSettingsWindow
{
public:
    virtual ~IOutputDeviceSettingsWindow() = default;
    // The working copy the window's pages edit, which the window holds;
    // null for a window that edits the device itself and keeps its own.
    virtual COutputDevice* GetDeviceCopy() = 0;
    // Given to a window without a copy of its own.
    virtual void SetDevice(COutputDevice*) {}
    // After the copy was filled.
    virtual void AddPages() {}
    // TRUE when the user ended it with OK.
    virtual BOOL DoModal() = 0;
};

// The window for a device type 0..7; null when there is none.
using OutputDeviceSettingsWindowFactory = std::function<std::unique_ptr<IOutputDeviceSettingsWindow>(
    QWidget* parent, int type, const OutputDeviceSettingsContext& context)>;
// Returns the factory that was installed.
OutputDeviceSettingsWindowFactory SetOutputDeviceSettingsWindowFactory(OutputDeviceSettingsWindowFactory factory);

// Runs the output device dialog modally for the manager's document, opened
// on the element's device (may be null). TRUE on OK, with the device chosen:
// the default device, a master device, or none.
using OutputDeviceDialogRunner =
    std::function<BOOL(QWidget* parent, COutputDeviceManager& manager, COutputDevice* current, COutputDevice*& chosen)>;
// Returns the runner that was installed.
OutputDeviceDialogRunner SetOutputDeviceDialogRunner(OutputDeviceDialogRunner runner);

class COutputDeviceManager : public CObject
{
    KWVD_DECLARE_SERIAL(COutputDeviceManager)

public:
    // The name of the default device, a host keyword: never translated.
    static const QString& DefaultDeviceName();

    // No document until one is set (the form the archive makes).
    COutputDeviceManager();
    explicit COutputDeviceManager(CDesignerDoc* document);
    ~COutputDeviceManager() override;

    COutputDeviceManager(const COutputDeviceManager&) = delete;
    COutputDeviceManager& operator=(const COutputDeviceManager&) = delete;

    // Borrowed; the document points it at itself again when its type changes.
    CDesignerDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CDesignerDoc* document) { m_pDocument = document; }

    // Slot 0 included; it is always empty.
    int GetSlotCount() const { return static_cast<int>(m_devices.GetSize()); }

    // 0: the default device (created on demand); a slot index: its device,
    // which may be null; any other index: null.
    COutputDevice* GetDevice(int index);
    COutputDevice* GetDefaultDevice();
    // With a document its exit program library follows DefaultLibrary at
    // every call.
    COutputDevice* GetExportDevice();
    // Width and height in 1/1440 inch; each taken when it is -1 or within
    // 0..999999.
    void SetExportPageSize(const int size[2]);

    // The device's index, putting it into the first empty slot from 1 (or a
    // new one) when it is in none; 0 for a null device.
    int AttachDevice(COutputDevice* device);
    // Empties the slot holding the device; returns its index, 0 when none.
    int DetachDevice(const COutputDevice* device);
    // The slot holding exactly that device, searched from the last slot
    // down to 1; 0 when none.
    int IndexOfDevice(const COutputDevice* device) const;
    // The slot whose device has exactly that name (case counts), searched
    // from the last slot down to 1; 0 when none.
    int FindIndexByName(const QString& name) const;

    // FALSE without a device (name untouched). With resolveDoc TRUE the
    // default name is replaced by the export device's name, and the result
    // is FALSE when that is still the default name.
    BOOL GetDeviceName(int index, QString& name, BOOL resolveDoc);
    // 0..7, -1 without a device.
    int GetDeviceType(int index);
    // The device's display name; FALSE without a device.
    BOOL GetDisplayName(int index, QString& text);
    // Devices hold no searchable text: always FALSE.
    BOOL FindInDevice(int index, const QString& text);
    BOOL ReplaceInDevice(int index, const QString& find, const QString& replace);
    // '1' for an XML document, else '0'.
    wchar_t GetXmlDocumentFlag() const;

    // TRUE when the default device or any slot's device has users.
    BOOL IsAnyDeviceInUse();
    // The same, for fax devices only.
    BOOL IsFaxDeviceInUse();

    // Moves an Output element from the device at oldIndex to the one at
    // newIndex (-1: no device). TRUE at once for equal indexes; FALSE, with
    // nothing changed, when newIndex names no device or the element is
    // null. A slot device left without users is released from its slot.
    BOOL ReassignElement(int newIndex, int oldIndex, CFormOutputElement* element);

    // The index of the device of that name: the default device, a slot, or
    // the master device of that name attached now (made and added to the
    // master list when there is none). -1 when the master list refuses it.
    int AddDeviceByName(const QString& name, const QString& typeCode);

    // Every device the manager makes comes from one of these, and each gets
    // the display defaults.
    std::unique_ptr<COutputDevice> CreateDevice();
    // The name is upper-cased first.
    std::unique_ptr<COutputDevice> CreateNamedDevice(QString name, int type, const QString& description);
    // Null for a null source.
    std::unique_ptr<COutputDevice> CreateDeviceCopy(const COutputDevice* source);
    // The master device of the name, made from the model (or afresh) and
    // added to the master list when there is none; null for an empty name
    // or when the list refuses it.
    COutputDevice* CreateMasterDevice(const COutputDevice* model, QString name, int type);
    // The display folder, server path and target address a new device
    // starts with; nothing without a document.
    void ApplyDisplayDefaults(COutputDevice* device);

    // --- Choosing an Output element's device.
    // Lets the user choose the device of index (the output device dialog).
    // On OK index becomes the chosen device's (0 for the default device or
    // none); TRUE when the choice differs from the device as it was. The
    // dialog changes devices at once, also when it is cancelled: when that
    // touched a device of the document (the default device or one in a
    // slot), the document is marked modified and the result is TRUE.
    BOOL SelectDevice(int& index, QWidget* parent);

    // The address fields a device offers, by its type; FALSE (list
    // untouched) without a device.
    BOOL GetAddressTypes(int deviceIndex, OutputDeviceAddressTypeList& list);
    BOOL FillAddressTypes(const COutputDevice* device, OutputDeviceAddressTypeList& list) const;
    // Every address field, in the order of the Address page's full list.
    static void AddAllAddressTypes(OutputDeviceAddressTypeList& list);

    // --- The settings commands.
    // The settings window of the device of that index (0: the default
    // device); FALSE when there is no such device.
    BOOL EditDeviceSettings(int index, QWidget* parent);
    // Runs the device's settings window on a copy of it. OK applies the
    // Address changes the copy noted, copies it back and has every user of
    // the device check itself again, in the users' order; the result is
    // then TRUE. Cancel changes nothing. FALSE at once for a null device or
    // a type outside 0..7.
    BOOL EditSettings(QWidget* parent, COutputDevice* device);

    // The slots and then the default device. Loading shares each device read
    // with an equal master device, or adds it to the master list.
    void Serialize(CArchive& ar) override;

    // The JVX device section.
    void ExchangeJVX(CJVXArchive& ar);

    // --- The master list.
    // Loaded by the first manager, saved and freed by the last.
    static void LoadMasterFile();
    static void SaveMasterFile();
    // TRUE when the device is now in the list (which then owns it). An
    // equal device already there gives FALSE without a message. Same-named
    // devices without users are replaced (and leave the asking manager's
    // slots); one with users, or held in a slot of another live manager,
    // refuses the device after message 329.
    static BOOL AddToMaster(COutputDeviceManager* manager, COutputDevice* device);
    static COutputDevice* FindEqualInMaster(const COutputDevice* device);
    // Around the read of a document: from Begin on, the devices the list
    // gains and those it replaces are noted; Keep lets them stand, Undo
    // takes the gained ones out again (they stay valid until the list is
    // freed, as the failed document may still point at them) and puts the
    // replaced ones back.
    static void BeginMasterChanges();
    static void KeepMasterChanges();
    static void UndoMasterChanges();
    static COutputDevice* FindMasterByName(const QString& name);
    // Takes exactly that device out of the list; it stays valid until the
    // list is freed, since other documents may still hold it. FALSE when it
    // is not in the list.
    static BOOL RemoveFromMaster(COutputDevice* device);
    // Null while no manager lives.
    static const CObList* GetMasterList();
    static int GetLiveManagerCount();
    // MasterOutputDeviceFileV2, filled from the data folder when empty;
    // empty when neither is set, and then the list lives in memory only.
    static QString GetMasterFilePath();

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_devices; // COutputDevice*, not owned; slot 0 stays null
    std::unique_ptr<COutputDevice> m_pDefaultDevice;
    std::unique_ptr<COutputDevice> m_pExportDevice;
};
