// The frame's part of a change of user-interface language: the "&Language"
// submenu and what is made again from the new resources.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/shell/LanguageSupport.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/ShellResources.h"
#include "platform/ui/StringTable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

void CMainFrame::RegisterLanguageHandlers()
{
    OnUpdate(ID_VIEW_LANGUAGE, [this](CCmdUI& ui) { ui.Enable(m_language != nullptr); });
    OnCommandRange(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, [this](UINT id) {
        if (!m_language)
            return;
        m_language->SelectLanguage(id);
        OnLanguageChanged();
    });
    OnUpdateRange(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, [this](CCmdUI& ui) {
        ui.Enable(m_language != nullptr);
        ui.SetCheck(m_language && m_language->CurrentLanguageCommand == ui.m_nID ? 1 : 0);
    });
}

void CMainFrame::AttachLanguageMenu()
{
    if (!m_languageMenu) {
        m_languageMenu = new QMenu(this);
        m_languageMenu->setObjectName(QStringLiteral("Language"));
        // Built when it opens, so bundles added while the program runs show.
        connect(m_languageMenu, &QMenu::aboutToShow, this, [this] {
            if (m_language)
                m_language->BuildLanguageMenu(m_languageMenu);
        });
        connect(m_languageMenu, &QMenu::triggered, this, [this](QAction* item) {
            bool ok = false;
            const UINT command = item->data().toUInt(&ok);
            if (ok)
                ExecuteCommand(command);
        });
    }
    EnsureAction(ID_VIEW_LANGUAGE)->setMenu(m_languageMenu);
}

void CMainFrame::RefreshActionTexts()
{
    for (auto it = m_actions.begin(); it != m_actions.end(); ++it) {
        it.value()->setText(MenuItemText(it.key()));
        const QString tip = CommandTip(it.key());
        it.value()->setToolTip(tip.isEmpty() ? it.value()->text() : tip);
    }
}

void CMainFrame::OnLanguageChanged()
{
    // The menu bar is made again from menu 128, which loads the keys too.
    BuildMenus();
    RefreshActionTexts();

    if (m_propertySheet && m_propertySheet->IsShown()) {
        // Showing again rebuilds the pages in the new language.
        m_propertySheet->HideSheet();
        m_propertySheet->ShowSheet();
    }

    if (m_findDialog) {
        QWidget* window = m_findDialog->GetWidget();
        const bool shown = window && window->isVisible();
        CDesignerDoc* doc = m_findDocument;
        m_findDialog.reset();
        if (shown)
            ShowFindReplace(doc);
    }

    if (QLabel* message = GetStatusPane(0))
        message->setText(LoadResString(IDS_IDLE_MESSAGE));
    UpdateCommandUI();
    update();
}
