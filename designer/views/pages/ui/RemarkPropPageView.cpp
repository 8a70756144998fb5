#include "designer/views/pages/ui/RemarkPropPageView.h"

#include "platform/ui/qt/DialogBinder.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

CRemarkPropPageView::CRemarkPropPageView(CRemarkPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent),
      m_edit(NameDialogControl(new QPlainTextEdit(this), CRemarkPropPage::IDC_REMARK))
{
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    m_edit->installEventFilter(this);
    InitDialog();
}

bool CRemarkPropPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusIn) {
        // Tabbing in goes on writing where the note ends.
        QTextCursor caret = m_edit->textCursor();
        caret.movePosition(QTextCursor::End);
        m_edit->setTextCursor(caret);
        m_edit->ensureCursorVisible();
    }
    return CElementPropPageView::eventFilter(watched, event);
}
