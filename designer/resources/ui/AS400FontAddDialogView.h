#pragma once
// The window of the "Add Font"/"Edit Font" dialog: maps the control ids of
// CAS400FontAddDialog to its widgets, hands the buttons to the model and
// opens the context menu of font exchange files on a right-button double
// click on the background.

#include "designer/resources/ui/AS400FontAddDialog.h"

#include <QDialog>

class QMenu;

class CAS400FontAddDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit CAS400FontAddDialogView(QWidget* parent = nullptr);
    ~CAS400FontAddDialogView() override;

    CAS400FontAddDialog& Model() { return m_model; }
    // The context menu, made on first use.
    QMenu* ContextMenu();

protected:
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Show();
    void Read();
    void FocusFailed();

    CAS400FontAddDialog m_model;
    QMenu* m_menu = nullptr;
    bool m_initialised = false;
};

// Makes the font commands of the font list run these dialogs modally and
// registers their texts. Called once at start-up.
void InstallFontDialogs();
