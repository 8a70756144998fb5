#include "designer/shell/CustomizeDlg.h"

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/UserToolBars.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

namespace {

enum : UINT {
    IDS_CUSTOMIZE_TOOLBARS = IDS_CUSTOMIZE_FIRST,
    IDS_CUSTOMIZE_NEW,
    IDS_CUSTOMIZE_RENAME,
    IDS_CUSTOMIZE_DELETE,
    IDS_CUSTOMIZE_CATEGORIES,
    IDS_CUSTOMIZE_COMMANDS,
    IDS_CUSTOMIZE_BUTTONS,
    IDS_CUSTOMIZE_ADD,
    IDS_CUSTOMIZE_REMOVE,
    IDS_CUSTOMIZE_IMAGE,
    IDS_CUSTOMIZE_OWN_IMAGE,
    IDS_CUSTOMIZE_BAR_NAME,
    IDS_CUSTOMIZE_DEFAULT_NAME,
    IDS_CUSTOMIZE_TOO_MANY,
    IDS_CUSTOMIZE_CLOSE,
};

void RegisterCustomizeStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_CUSTOMIZE_TOOLBARS, "Toolbars:"},
        {IDS_CUSTOMIZE_NEW, "&New..."},
        {IDS_CUSTOMIZE_RENAME, "&Rename..."},
        {IDS_CUSTOMIZE_DELETE, "&Delete"},
        {IDS_CUSTOMIZE_CATEGORIES, "Categories:"},
        {IDS_CUSTOMIZE_COMMANDS, "Commands:"},
        {IDS_CUSTOMIZE_BUTTONS, "Buttons of the toolbar:"},
        {IDS_CUSTOMIZE_ADD, "&Add >"},
        {IDS_CUSTOMIZE_REMOVE, "< Re&move"},
        {IDS_CUSTOMIZE_IMAGE, "Button image:"},
        {IDS_CUSTOMIZE_OWN_IMAGE, "(the command's own)"},
        {IDS_CUSTOMIZE_BAR_NAME, "Toolbar name:"},
        {IDS_CUSTOMIZE_DEFAULT_NAME, "Custom %1!d!"},
        {IDS_CUSTOMIZE_TOO_MANY, "No more toolbars can be created: ten is the most."},
        {IDS_CUSTOMIZE_CLOSE, "Close"},
    };
    StringTable::Add(kEntries);
}

constexpr int IdRole = Qt::UserRole;

} // namespace

CCustomizeDlg::CCustomizeDlg(CMainFrame& frame) : QDialog(&frame), m_frame(frame)
{
    RegisterCustomizeStrings();
    setWindowTitle(MenuItemText(ID_VIEW_CUSTOMIZE).remove(u'&').remove(QStringLiteral("...")));
    setObjectName(QStringLiteral("CustomizeDialog"));

    m_bars = new QListWidget(this);
    m_newButton = new QPushButton(LoadResString(IDS_CUSTOMIZE_NEW), this);
    m_renameButton = new QPushButton(LoadResString(IDS_CUSTOMIZE_RENAME), this);
    m_deleteButton = new QPushButton(LoadResString(IDS_CUSTOMIZE_DELETE), this);
    m_categories = new QComboBox(this);
    m_commands = new QListWidget(this);
    m_buttons = new QListWidget(this);
    m_images = new QComboBox(this);
    m_addButton = new QPushButton(LoadResString(IDS_CUSTOMIZE_ADD), this);
    m_removeButton = new QPushButton(LoadResString(IDS_CUSTOMIZE_REMOVE), this);
    auto* box = new QDialogButtonBox(this);
    box->addButton(LoadResString(IDS_CUSTOMIZE_CLOSE), QDialogButtonBox::AcceptRole);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(LoadResString(IDS_CUSTOMIZE_TOOLBARS), this), 0, 0);
    grid->addWidget(m_bars, 1, 0, 4, 1);
    grid->addWidget(m_newButton, 1, 1);
    grid->addWidget(m_renameButton, 2, 1);
    grid->addWidget(m_deleteButton, 3, 1);
    grid->addWidget(new QLabel(LoadResString(IDS_CUSTOMIZE_CATEGORIES), this), 5, 0);
    grid->addWidget(m_categories, 6, 0);
    grid->addWidget(new QLabel(LoadResString(IDS_CUSTOMIZE_COMMANDS), this), 7, 0);
    grid->addWidget(m_commands, 8, 0, 3, 1);
    grid->addWidget(m_addButton, 8, 1);
    grid->addWidget(m_removeButton, 9, 1);
    grid->addWidget(new QLabel(LoadResString(IDS_CUSTOMIZE_BUTTONS), this), 7, 2);
    grid->addWidget(m_buttons, 8, 2, 3, 1);
    grid->addWidget(new QLabel(LoadResString(IDS_CUSTOMIZE_IMAGE), this), 11, 0);
    grid->addWidget(m_images, 11, 1, 1, 2);
    grid->addWidget(box, 12, 0, 1, 3);

    // The categories are the menus, in menu order.
    for (QAction* top : m_frame.menuBar()->actions())
        if (top->menu())
            m_categories->addItem(top->text().remove(u'&'), top->menu()->objectName());

    m_images->addItem(LoadResString(IDS_CUSTOMIZE_OWN_IMAGE), -1);
    CUserToolBars& bars = m_frame.UserToolBars();
    for (int i = 0; i < bars.UserImageCount(); ++i)
        m_images->addItem(bars.UserImage(i), QString::number(i + 1), i);

    connect(m_categories, &QComboBox::currentIndexChanged, this, [this] { FillCommands(); });
    connect(m_bars, &QListWidget::currentRowChanged, this, [this] {
        FillButtons();
        UpdateButtons();
    });
    connect(m_commands, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(m_buttons, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(m_newButton, &QPushButton::clicked, this, [this] {
        const int next = int(m_frame.UserToolBars().BarIds().size()) + 1;
        bool ok = false;
        const QString name = QInputDialog::getText(
            this, windowTitle(), LoadResString(IDS_CUSTOMIZE_BAR_NAME), QLineEdit::Normal,
            LoadResString(IDS_CUSTOMIZE_DEFAULT_NAME).replace(QStringLiteral("%1!d!"), QString::number(next)), &ok);
        if (ok)
            NewToolBar(name);
    });
    connect(m_renameButton, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(this, windowTitle(), LoadResString(IDS_CUSTOMIZE_BAR_NAME),
                                                   QLineEdit::Normal, m_frame.UserToolBars().Name(SelectedBar()), &ok);
        if (ok)
            RenameToolBar(name);
    });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { DeleteToolBar(); });
    connect(m_addButton, &QPushButton::clicked, this, [this] { AddCommand(); });
    connect(m_removeButton, &QPushButton::clicked, this, [this] { RemoveButton(); });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);

    FillBars();
    FillCommands();
    UpdateButtons();
}

void CCustomizeDlg::FillBars()
{
    const UINT selected = SelectedBar();
    m_bars->clear();
    for (UINT id : m_frame.UserToolBars().BarIds()) {
        auto* item = new QListWidgetItem(m_frame.UserToolBars().Name(id), m_bars);
        item->setData(IdRole, id);
        if (id == selected)
            m_bars->setCurrentItem(item);
    }
    if (!m_bars->currentItem() && m_bars->count() > 0)
        m_bars->setCurrentRow(0);
    FillButtons();
}

void CCustomizeDlg::FillCommands()
{
    m_commands->clear();
    QMenu* menu = m_frame.GetMenu(m_categories->currentData().toString());
    if (!menu)
        return;
    std::function<void(QMenu*)> add = [&](QMenu* from) {
        for (QAction* action : from->actions()) {
            if (action->menu())
                add(action->menu());
            else if (const UINT id = CommandIdOf(action); id != 0 && !action->text().isEmpty()) {
                if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
                    continue; // the recent files change under the user
                auto* item = new QListWidgetItem(action->icon(), action->text().remove(u'&'), m_commands);
                item->setData(IdRole, id);
            }
        }
    };
    add(menu);
}

void CCustomizeDlg::FillButtons()
{
    m_buttons->clear();
    const UINT bar = SelectedBar();
    for (const UserToolBarButton& button : m_frame.UserToolBars().Buttons(bar)) {
        QAction* action = m_frame.GetAction(button.id);
        const QIcon icon =
            button.image >= 0 ? m_frame.UserToolBars().UserImage(button.image) : (action ? action->icon() : QIcon());
        new QListWidgetItem(icon, action ? action->text().remove(u'&') : QString::number(button.id), m_buttons);
    }
}

UINT CCustomizeDlg::SelectedBar() const
{
    const QListWidgetItem* item = m_bars ? m_bars->currentItem() : nullptr;
    return item ? item->data(IdRole).toUInt() : 0;
}

void CCustomizeDlg::UpdateButtons()
{
    const bool bar = SelectedBar() != 0;
    m_renameButton->setEnabled(bar);
    m_deleteButton->setEnabled(bar);
    m_addButton->setEnabled(bar && m_commands->currentItem());
    m_removeButton->setEnabled(bar && m_buttons->currentRow() >= 0);
    m_newButton->setEnabled(m_frame.UserToolBars().BarIds().size() < size_t(CUserToolBars::MaxBars));
}

BOOL CCustomizeDlg::NewToolBar(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return FALSE;
    const std::optional<UINT> id = m_frame.UserToolBars().Create(trimmed);
    if (!id) {
        AfxMessageBox(LoadResString(IDS_CUSTOMIZE_TOO_MANY), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    FillBars();
    for (int row = 0; row < m_bars->count(); ++row)
        if (m_bars->item(row)->data(IdRole).toUInt() == *id)
            m_bars->setCurrentRow(row);
    UpdateButtons();
    return TRUE;
}

BOOL CCustomizeDlg::RenameToolBar(const QString& name)
{
    if (!m_frame.UserToolBars().Rename(SelectedBar(), name))
        return FALSE;
    FillBars();
    return TRUE;
}

BOOL CCustomizeDlg::DeleteToolBar()
{
    if (!m_frame.UserToolBars().Remove(SelectedBar()))
        return FALSE;
    FillBars();
    UpdateButtons();
    return TRUE;
}

BOOL CCustomizeDlg::AddCommand()
{
    const QListWidgetItem* item = m_commands->currentItem();
    if (!item)
        return FALSE;
    UserToolBarButton button;
    button.id = item->data(IdRole).toUInt();
    button.image = m_images->currentData().toInt();
    if (!m_frame.UserToolBars().AddButton(SelectedBar(), button))
        return FALSE;
    FillButtons();
    m_frame.UpdateCommandUI();
    UpdateButtons();
    return TRUE;
}

BOOL CCustomizeDlg::RemoveButton()
{
    if (!m_frame.UserToolBars().RemoveButton(SelectedBar(), m_buttons->currentRow()))
        return FALSE;
    FillButtons();
    UpdateButtons();
    return TRUE;
}
