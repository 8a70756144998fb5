#pragma once
// The toolbar customisation: the user's own toolbars (new, rename, delete),
// the commands of each menu to put on them, and a picture from
// "UserImages.bmp" for a button when those pictures were found.

#include "platform/framework/Types.h"

#include <QDialog>

class CMainFrame;
class QComboBox;
class QListWidget;
class QPushButton;

class CCustomizeDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CCustomizeDlg(CMainFrame& frame);

    // The steps behind the buttons, for the buttons and for tests.
    BOOL NewToolBar(const QString& name);
    BOOL RenameToolBar(const QString& name);
    BOOL DeleteToolBar();
    BOOL AddCommand();
    BOOL RemoveButton();

    QListWidget* ToolBarList() const { return m_bars; }
    QComboBox* CategoryBox() const { return m_categories; }
    QListWidget* CommandList() const { return m_commands; }
    QListWidget* ButtonList() const { return m_buttons; }
    QComboBox* ImageBox() const { return m_images; }

private:
    void FillBars();
    void FillCommands();
    void FillButtons();
    UINT SelectedBar() const;
    void UpdateButtons();

    CMainFrame& m_frame;
    QListWidget* m_bars = nullptr;
    QComboBox* m_categories = nullptr;
    QListWidget* m_commands = nullptr;
    QListWidget* m_buttons = nullptr;
    QComboBox* m_images = nullptr;
    QPushButton* m_newButton = nullptr;
    QPushButton* m_renameButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_removeButton = nullptr;
};
