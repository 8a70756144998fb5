#pragma once
// A device settings window whose user is a script, installed for one scope:
// the script edits the window's working copy and answers OK (TRUE) or
// Cancel; the factory notes every device type asked for and whether the
// sheet's hold-open state was asked about while the window was up.

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class ScopedSettingsWindowScript
{
public:
    using Script = std::function<BOOL(COutputDevice& copy)>;

    explicit ScopedSettingsWindowScript(Script script) : m_script(std::move(script))
    {
        m_previous = SetOutputDeviceSettingsWindowFactory(
            [this](QWidget*, int type,
                   const OutputDeviceSettingsContext&) -> std::unique_ptr<IOutputDeviceSettingsWindow> {
                types.push_back(type);
                return std::make_unique<Window>(*this);
            });
    }
    ~ScopedSettingsWindowScript() { SetOutputDeviceSettingsWindowFactory(m_previous); }
    ScopedSettingsWindowScript(const ScopedSettingsWindowScript&) = delete;
    ScopedSettingsWindowScript& operator=(const ScopedSettingsWindowScript&) = delete;

    // Runs while the window is up, before the script.
    std::function<void()> whileShown;
    std::vector<int> types;
    // The name of each copy as the window got it.
    std::vector<QString> editedNames;

private:
    class Window : public IOutputDeviceSettingsWindow
    {
    public:
        explicit Window(ScopedSettingsWindowScript& owner) : m_owner(owner) {}
        COutputDevice* GetDeviceCopy() override { return &m_copy; }
        BOOL DoModal() override
        {
            m_owner.editedNames.push_back(m_copy.GetName());
            if (m_owner.whileShown)
                m_owner.whileShown();
            return m_owner.m_script ? m_owner.m_script(m_copy) : FALSE;
        }

    private:
        ScopedSettingsWindowScript& m_owner;
        COutputDevice m_copy;
    };

    Script m_script;
    OutputDeviceSettingsWindowFactory m_previous;
};
