#include "designer/shell/KWVDDataDlg.h"

#include "designer/document/CrtWvdRequest.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

using Dlg = CKWVDDataDlg;

constexpr StringTable::Entry kTexts[] = {
    {DialogTextId(Dlg::IDD, 0), "Execute WVD"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_INPUT_GROUP), "Input Spooled File"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_WVD_GROUP), "WVD"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_SYSTEM), "System Name:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_FILE_NAME), "File Name:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_USER), "User:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_OUTPUT_QUEUE), "Output Queue:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_OUTPUT_QUEUE_LIBRARY), "Library:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_FORM_TYPE), "Form Type:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_USER_DATA), "User Data:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_WVD_NAME), "WVD:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_WVD_LIBRARY), "Library:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_OK), "OK"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_CANCEL), "Cancel"},
};

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dlg::IDD, static_cast<UINT>(control)));
}

struct FieldRow
{
    int id;
    int limit;
};

constexpr FieldRow kInputRows[] = {
    {Dlg::IDC_SYSTEM, Dlg::kSystemLimit},     {Dlg::IDC_FILE_NAME, Dlg::kNameLimit},
    {Dlg::IDC_USER, Dlg::kNameLimit},         {Dlg::IDC_OUTPUT_QUEUE, Dlg::kNameLimit},
    {Dlg::IDC_OUTPUT_QUEUE_LIBRARY, Dlg::kNameLimit}, {Dlg::IDC_FORM_TYPE, Dlg::kNameLimit},
    {Dlg::IDC_USER_DATA, Dlg::kUserDataLimit},
};

constexpr FieldRow kWvdRows[] = {
    {Dlg::IDC_WVD_NAME, Dlg::kWvdNameLimit},
    {Dlg::IDC_WVD_LIBRARY, Dlg::kNameLimit},
};

// Room for about this many average characters, so a field's width hints at
// what it holds; the system name gets the room of a long host name.
int WidthFor(const QWidget* widget, int chars)
{
    return widget->fontMetrics().averageCharWidth() * chars + 12;
}

QGroupBox* MakeGroup(QWidget* parent, int groupId, const FieldRow* first, const FieldRow* last)
{
    auto* group = new QGroupBox(DialogText(groupId), parent);
    NameDialogControl(group, groupId);
    auto* form = new QFormLayout(group);
    for (const FieldRow* row = first; row != last; ++row) {
        auto* edit = NameDialogControl(new QLineEdit(group), row->id);
        LimitTypedLength(edit, row->limit);
        edit->setFixedWidth(WidthFor(edit, row->id == Dlg::IDC_SYSTEM ? 24 : row->limit + 2));
        auto* label = new QLabel(DialogText(row->id), group);
        label->setBuddy(edit);
        form->addRow(label, edit);
    }
    return group;
}

} // namespace

CKWVDDataDlg::CKWVDDataDlg(CrtWvdRequest* request, QWidget* parent) : QDialog(parent), m_request(request)
{
    RegisterKWVDDataDlgStrings();
    setWindowTitle(DialogText(0));

    m_model.BindText(IDC_SYSTEM, &m_system, kSystemLimit);
    m_model.BindText(IDC_FILE_NAME, &m_file, kNameLimit);
    m_model.BindText(IDC_USER, &m_user, kNameLimit);
    m_model.BindText(IDC_OUTPUT_QUEUE, &m_outq, kNameLimit);
    m_model.BindText(IDC_OUTPUT_QUEUE_LIBRARY, &m_outqLibrary, kNameLimit);
    m_model.BindText(IDC_FORM_TYPE, &m_formType, kNameLimit);
    m_model.BindText(IDC_USER_DATA, &m_userData, kUserDataLimit);
    m_model.BindText(IDC_WVD_NAME, &m_wvdName, kWvdNameLimit);
    m_model.BindText(IDC_WVD_LIBRARY, &m_library, kNameLimit);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = NameDialogControl(buttons->addButton(DialogText(IDC_OK), QDialogButtonBox::AcceptRole), IDC_OK);
    NameDialogControl(buttons->addButton(DialogText(IDC_CANCEL), QDialogButtonBox::RejectRole), IDC_CANCEL);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeGroup(this, IDC_INPUT_GROUP, std::begin(kInputRows), std::end(kInputRows)));
    layout->addWidget(MakeGroup(this, IDC_WVD_GROUP, std::begin(kWvdRows), std::end(kWvdRows)));
    layout->addWidget(buttons);
    // One label column for both groups, so their fields line up.
    int labelWidth = 0;
    for (const QLabel* label : findChildren<QLabel*>())
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : findChildren<QLabel*>())
        label->setMinimumWidth(labelWidth);

    if (m_request != nullptr) {
        const SpooledFileIdentity& identity = m_request->GetIdentity();
        m_system = m_request->GetSystem();
        m_file = identity.GetFileName();
        m_user = identity.GetUserName();
        m_outq = identity.GetOutputQueue();
        m_outqLibrary = identity.GetOutputQueueLibrary();
        m_formType = identity.GetFormType();
        m_userData = identity.GetUserData();
        m_wvdName = m_request->GetWvdName();
        m_library = m_request->GetLibrary();
        UpdateData(m_model, this, false);
    }
    if (QLineEdit* first = Field(IDC_SYSTEM))
        first->setFocus(Qt::OtherFocusReason);
}

QLineEdit* CKWVDDataDlg::Field(int id) const
{
    return qobject_cast<QLineEdit*>(FindDialogControl(const_cast<CKWVDDataDlg*>(this), id));
}

void CKWVDDataDlg::OnOK()
{
    if (m_request == nullptr) {
        accept();
        return;
    }
    if (!UpdateData(m_model, this, true))
        return;
    m_request->SetSystem(m_system);
    m_request->SetLibrary(m_library);
    m_request->SetWvdName(m_wvdName);
    SpooledFileIdentity& identity = m_request->GetIdentity();
    identity.SetFileName(m_file);
    identity.SetFormType(m_formType);
    identity.SetOutputQueue(m_outq);
    identity.SetOutputQueueLibrary(m_outqLibrary);
    identity.SetUserName(m_user);
    identity.SetUserData(m_userData);
    accept();
}

void RegisterKWVDDataDlgStrings()
{
    StringTable::Add(kTexts);
}

bool RunExecuteWvdDialog(CrtWvdRequest& request)
{
    CKWVDDataDlg dialog(&request, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}
