#pragma once
// The frame of the property sheet tests: it answers only the layout
// section, kept in the test's own registry folder.

#include "designer/views/DesignFrame.h"
#include "platform/registry/RegistryStore.h"

class LayoutFrame : public IDesignFrame
{
public:
    QString section = QStringLiteral("Software\\Qorvane\\SheetTests\\Workspace");

    int GetCurrentTool() const override { return DrawingTool::Select; }
    void ResetToolUnlessLocked() override {}
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject*, LPARAM) override {}
    void SetPropertySheetElement(CFormElement*) override {}
    BOOL IsPropertySheetShown() const override { return FALSE; }
    void ShowPropertySheet() override {}
    void RefreshPropertySheet() override {}
    BOOL ExecuteCommand(UINT) override { return FALSE; }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString& subsection, bool create) override
    {
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const QString path = section + QLatin1Char('\\') + subsection;
        return create ? store.CreateKey(kwvd::RegistryRoot::CurrentUser, path)
                      : store.OpenKey(kwvd::RegistryRoot::CurrentUser, path);
    }
    void OnPaneActivated(CDesignView*) override {}
};
