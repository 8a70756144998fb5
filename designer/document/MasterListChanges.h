#pragma once

#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/fonts/FontManager.h"

#include <utility>

// What a document read adds to the process-wide master lists stays only when
// the read succeeds: a failed file must leave nothing behind to be saved at
// exit or met again by the next open.
class MasterListChanges
{
public:
    MasterListChanges()
    {
        COutputDeviceManager::BeginMasterChanges();
        CFontManager::BeginMasterChanges();
    }
    ~MasterListChanges() { Undo(); }
    MasterListChanges(const MasterListChanges&) = delete;
    MasterListChanges& operator=(const MasterListChanges&) = delete;

    void Keep()
    {
        if (std::exchange(m_done, true))
            return;
        COutputDeviceManager::KeepMasterChanges();
        CFontManager::KeepMasterChanges();
    }
    void Undo()
    {
        if (std::exchange(m_done, true))
            return;
        COutputDeviceManager::UndoMasterChanges();
        CFontManager::UndoMasterChanges();
    }

private:
    bool m_done = false;
};
