#pragma once
// The frame of the property sheet tests: it answers only the layout
// section, kept in the test's own registry folder.

#include "designer/views/DesignFrame.h"
#include "platform/registry/RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

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

// A picture of the sheet's window in the build's screenshot folder, as
// element-sheet-<name>.png, for a person to look at.
inline void SaveSheetPicture(QWidget& window, const char* name)
{
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    QCoreApplication::processEvents();
    const QImage picture = window.grab().toImage();
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/element-sheet-%1.png").arg(QLatin1String(name))));
}

// The control of a page view by its id, or null.
template <class Widget>
Widget* FindControl(QWidget* view, int id)
{
    return view != nullptr ? view->findChild<Widget*>(QString::number(id)) : nullptr;
}
