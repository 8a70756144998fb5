// Choosing an Output element's device through the output device dialog.

#include "designer/document/DesignerDoc.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/MasterListMerge.h"

#include <QByteArray>

#include <utility>
#include <vector>

namespace {

OutputDeviceDialogRunner g_dialogRunner;

// The devices the document holds (default device first, then the slots) as
// objects and as stored bytes: the dialog changes devices in place, and
// only their stored form tells whether it touched one of the document's.
struct DocumentDeviceState
{
    std::vector<const COutputDevice*> devices;
    std::vector<QByteArray> stored;

    friend bool operator==(const DocumentDeviceState&, const DocumentDeviceState&) = default;
};

DocumentDeviceState TakeDeviceState(COutputDeviceManager& manager)
{
    DocumentDeviceState state;
    for (int index = 0; index < manager.GetSlotCount(); ++index) {
        const COutputDevice* device = manager.GetDevice(index);
        state.devices.push_back(device);
        state.stored.push_back(device != nullptr ? kwvd::StoredBytes(device) : QByteArray());
    }
    return state;
}

} // namespace

OutputDeviceDialogRunner SetOutputDeviceDialogRunner(OutputDeviceDialogRunner runner)
{
    std::swap(g_dialogRunner, runner);
    return runner;
}

BOOL COutputDeviceManager::SelectDevice(int& index, QWidget* parent)
{
    if (!g_dialogRunner)
        return FALSE;
    COutputDevice* current = GetDevice(index);
    COutputDevice before;
    before.CopyFrom(current);
    const DocumentDeviceState stateBefore = TakeDeviceState(*this);

    COutputDevice* chosen = nullptr;
    const BOOL ok = g_dialogRunner(parent, *this, current, chosen);
    // Names, types and settings the dialog changed stay, OK or not; the
    // document must know, or it would close without asking and keep no undo
    // step.
    const bool touched = !(TakeDeviceState(*this) == stateBefore);

    BOOL result = FALSE;
    if (ok) {
        if (chosen == GetDefaultDevice())
            index = 0;
        else if (chosen != current)
            index = AttachDevice(chosen);
        result = chosen == nullptr || !chosen->IsEqual(&before) ? TRUE : FALSE;
    }
    if (touched) {
        if (m_pDocument != nullptr)
            m_pDocument->SetModifiedFlag(TRUE);
        result = TRUE;
    }
    return result;
}
