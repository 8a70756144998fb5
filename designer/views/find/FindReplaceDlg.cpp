#include "designer/views/find/FindReplaceDlg.h"

#include "designer/views/find/FindStrings.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString DialogText(int control)
{
    return LoadResString(DialogTextId(CFindReplaceDlg::IDD, static_cast<UINT>(control)));
}

} // namespace

CFindReplaceDlg::CFindReplaceDlg(IDesignFrame* frame, QWidget* parent) : QDialog(parent), m_search(frame)
{
    RegisterFindStrings();
    setObjectName(QString::number(IDD));
    setWindowTitle(DialogText(0));
    setModal(false);

    m_findEdit = NameDialogControl(new QLineEdit(this), IDC_FIND_TEXT);
    m_replaceEdit = NameDialogControl(new QLineEdit(this), IDC_REPLACE_TEXT);
    auto* findLabel = new QLabel(DialogText(IDC_FIND_TEXT), this);
    findLabel->setBuddy(m_findEdit);
    auto* replaceLabel = new QLabel(DialogText(IDC_REPLACE_TEXT), this);
    replaceLabel->setBuddy(m_replaceEdit);

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findEdit, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(m_replaceEdit, 1, 1);

    auto addButton = [this](QVBoxLayout* column, int id, void (CFindReplaceDlg::*handler)()) {
        auto* button = NameDialogControl(new QPushButton(DialogText(id), this), id);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        column->addWidget(button);
        return button;
    };
    auto* buttons = new QVBoxLayout;
    addButton(buttons, ID_FIND_NEXT, &CFindReplaceDlg::OnFindNext)->setDefault(true);
    addButton(buttons, ID_REPLACE, &CFindReplaceDlg::OnReplace);
    addButton(buttons, ID_REPLACE_ALL, &CFindReplaceDlg::OnReplaceAll);
    addButton(buttons, ID_CANCEL, &CFindReplaceDlg::OnCancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addStretch();
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(360, 0)));
    hide();
}

CFindReplaceDlg::~CFindReplaceDlg() = default;

QPushButton* CFindReplaceDlg::Button(int id) const
{
    return qobject_cast<QPushButton*>(FindDialogControl(const_cast<CFindReplaceDlg*>(this), id));
}

void CFindReplaceDlg::SetDocument(CDesignerDoc* doc)
{
    m_search.SetDocument(doc);
}

void CFindReplaceDlg::RebuildElementList()
{
    m_search.RebuildElementList();
}

void CFindReplaceDlg::OnDocumentHint(LPARAM hint, CObject* object)
{
    m_search.OnDocumentHint(hint, object);
}

void CFindReplaceDlg::OnFindNext()
{
    m_search.FindNext(m_findEdit->text());
}

void CFindReplaceDlg::OnReplace()
{
    m_search.Replace(m_findEdit->text(), m_replaceEdit->text());
}

void CFindReplaceDlg::OnReplaceAll()
{
    m_search.ReplaceAll(m_findEdit->text(), m_replaceEdit->text());
}

void CFindReplaceDlg::OnCancel()
{
    hide();
}

void CFindReplaceDlg::reject()
{
    OnCancel();
}

void CFindReplaceDlg::closeEvent(QCloseEvent* event)
{
    // The window is kept for the rest of the run.
    event->ignore();
    OnCancel();
}
