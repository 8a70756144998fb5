#pragma once
// Dialog 163 "Remark" over CRemarkPropPage: one multi-line edit in which
// Enter starts a new line. Getting the focus puts the caret after the last
// character with nothing selected.

#include "designer/views/pages/RemarkPropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class QPlainTextEdit;

class CRemarkPropPageView : public CElementPropPageView
{
public:
    CRemarkPropPageView(CRemarkPropPage& model, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_edit;
};
