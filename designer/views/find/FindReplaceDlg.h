#pragma once
// The modeless Find/Replace dialog (resource 122) over CFindReplaceSearch:
// the find text (edit 1112), the replace text (edit 1380) and the commands
// Find Next (32794), Replace (32828) and Replace All (32829). The frame
// creates it hidden on first use and keeps it; Cancel, Escape and the close
// box only hide it, so the texts typed stay for the next showing.

#include "designer/views/FrameInterfaces.h"
#include "designer/views/find/FindReplaceSearch.h"

#include <QDialog>

class IDesignFrame;
class QLineEdit;
class QPushButton;

class CFindReplaceDlg : public QDialog, public IFindReplaceDialog
{
    Q_OBJECT

public:
    enum : int {
        IDD = 122,
        IDC_FIND_TEXT = 1112,
        IDC_REPLACE_TEXT = 1380,
        ID_FIND_NEXT = 32794,
        ID_REPLACE = 32828,
        ID_REPLACE_ALL = 32829,
        ID_CANCEL = 2,
    };

    // The frame takes the hits to the explorer and the property sheet; it
    // may be null.
    CFindReplaceDlg(IDesignFrame* frame, QWidget* parent);
    ~CFindReplaceDlg() override;

    // ---- IFindReplaceDialog
    QWidget* GetWidget() override { return this; }
    void SetDocument(CDesignerDoc* doc) override;
    void RebuildElementList() override;
    void OnDocumentHint(LPARAM hint, CObject* object) override;

    // ---- commands, with the texts of the edits
    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();
    void OnCancel();

    CFindReplaceSearch& Search() { return m_search; }
    QLineEdit* FindEdit() const { return m_findEdit; }
    QLineEdit* ReplaceEdit() const { return m_replaceEdit; }
    QPushButton* Button(int id) const;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CFindReplaceSearch m_search;
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
};
