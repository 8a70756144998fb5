#pragma once
// The window of "Select Spooled File": the filter fields with their
// completion histories under the library's own settings key, the page range,
// the code-page box, the list of spooled files with six sortable columns,
// Refresh, OK and Cancel. The model decides; the window shows it.

#include "hostaccess/import/SelSpooledFileDialog.h"

#include <QDialog>

#include <array>

class CACEdit;
class CCSIDComboBox;
class QTreeWidget;

class CSelSpooledFileDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit CSelSpooledFileDialogView(QWidget* parent = nullptr);
    ~CSelSpooledFileDialogView() override;

    CSelSpooledFileDialog& Model() { return m_model; }

    QTreeWidget* List() const { return m_list; }
    CCSIDComboBox* CodePageBox() const { return m_codePage; }
    // System, output queue, library, user, user data.
    CACEdit* Completion(int controlId) const;

    void OnRefresh();
    void OnOK();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Show();
    void FillList();

    CSelSpooledFileDialog m_model;
    QTreeWidget* m_list = nullptr;
    CCSIDComboBox* m_codePage = nullptr;
    std::array<CACEdit*, 5> m_completions{};
    bool m_initialised = false;
};
