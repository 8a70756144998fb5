#pragma once
// "Goto Page": the number of a spooled-file page, kept within 1 and the
// total as it is typed. A total below 1 counts as 1. The caption is the
// string DialogTextId(IDD, 0), each label DialogTextId(IDD, its field).

#include <QDialog>

class QLabel;
class QLineEdit;

class CPageSelectDlg : public QDialog
{
public:
    enum {
        IDD = 161
    };
    enum ControlId : int {
        IDC_PAGE = 1367,
        IDC_TOTAL = 1378,
    };

    CPageSelectDlg(int page, int total, QWidget* parent = nullptr);

    // The page chosen, within 1 and the total.
    int GetPage() const { return m_page; }

    QLineEdit* PageEdit() const { return m_edit; }
    QLabel* TotalText() const { return m_total; }

private:
    void OnPageChanged(const QString& text);

    int m_page;
    int m_totalPages;
    QLineEdit* m_edit;
    QLabel* m_total;
};

// Adds the dialog's UK English texts to the string table; harmless again.
void RegisterPageSelectTexts();

// The dialog run modally for the current page and the total; the page
// chosen, or 0 when cancelled. Tests put a scripted run in its place.
using PageSelectRunner = int (*)(int current, int total);
int RunPageSelectDialog(int current, int total);
// Returns the runner replaced; null puts back the modal dialog.
PageSelectRunner SetPageSelectRunner(PageSelectRunner runner);
