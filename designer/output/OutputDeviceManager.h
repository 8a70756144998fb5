#pragma once
// The document's output devices by index. Output elements name their device
// by index: 0 is always the document's default device "*DOC", which the
// manager owns and creates on first use; 1 and up are slots that point at
// devices owned elsewhere (the shared device list), which the manager never
// deletes. A slot is emptied when its device loses its last user and is
// reused before the array grows, so the indexes elements hold stay valid.
//
// The export device is a scratch device, also owned here, whose name stands
// in for "*DOC" when a document-level value must be resolved.

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <memory>

class CDesignerDoc;
class CFormOutputElement;
class COutputDevice;

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
    COutputDevice* GetExportDevice();

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

    // TRUE when the default device or any slot's device has users.
    BOOL IsAnyDeviceInUse();

    // Moves an Output element from the device at oldIndex to the one at
    // newIndex (-1: no device). TRUE at once for equal indexes; FALSE, with
    // nothing changed, when newIndex names no device or the element is
    // null. A slot device left without users is released from its slot.
    BOOL ReassignElement(int newIndex, int oldIndex, CFormOutputElement* element);

    // Every device the manager makes comes from one of these two.
    std::unique_ptr<COutputDevice> CreateDevice();
    // The name is upper-cased first.
    std::unique_ptr<COutputDevice> CreateNamedDevice(QString name, int type, const QString& description);

private:
    CDesignerDoc* m_pDocument = nullptr;
    CObArray m_devices; // COutputDevice*, not owned; slot 0 stays null
    std::unique_ptr<COutputDevice> m_pDefaultDevice;
    std::unique_ptr<COutputDevice> m_pExportDevice;
};
