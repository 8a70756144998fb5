#include "designer/shell/ExportToAS400UsingSocketsDlg.h"

#include "designer/controls/PictureEx.h"
#include "designer/document/ExportChoice.h"
#include "designer/resources/AS400Name.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Dlg = CExportToAS400UsingSocketsDlg;

QString DialogText(UINT control)
{
    return LoadResString(DialogTextId(Dlg::IDD, control));
}

} // namespace

void RegisterExportToAS400UsingSocketsDlgStrings()
{
    static const StringTable::Entry kEntries[] = {
        {DialogTextId(Dlg::IDD, 0), "Export To Server"},
        {DialogTextId(Dlg::IDD, Dlg::IDC_NAME), "Name:"},
        {DialogTextId(Dlg::IDD, Dlg::IDC_VERSION), "Version:"},
        {DialogTextId(Dlg::IDD, Dlg::IDC_AUTO_IMPORT), "Automatically Import into KWVD"},
        {DialogTextId(Dlg::IDD, Dlg::IDC_OVERWRITE), "Overwrite Existing"},
        {DialogTextId(Dlg::IDD, Dlg::IDOK_EXPORT), "Export"},
        {DialogTextId(Dlg::IDD, Dlg::IDCANCEL_EXPORT), "Cancel"},
    };
    StringTable::Add(kEntries);
}

CExportToAS400UsingSocketsDlg::CExportToAS400UsingSocketsDlg(CDesignerDoc* doc, Upload upload, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_upload(std::move(upload))
{
    RegisterExportToAS400UsingSocketsDlgStrings();
    setObjectName(QStringLiteral("ExportToAS400UsingSocketsDlg"));
    setWindowTitle(DialogText(0));

    m_name = NameDialogControl(new QLineEdit(this), IDC_NAME);
    LimitTypedLength(m_name, kNameLength);
    m_versions = NameDialogControl(new QComboBox(this), IDC_VERSION);
    m_autoImportCheck = NameDialogControl(new QCheckBox(DialogText(IDC_AUTO_IMPORT), this), IDC_AUTO_IMPORT);
    m_overwriteCheck = NameDialogControl(new QCheckBox(DialogText(IDC_OVERWRITE), this), IDC_OVERWRITE);
    m_picture = NameDialogControl(new CPictureEx(this), IDC_PICTURE);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    m_export =
        NameDialogControl(buttons->addButton(DialogText(IDOK_EXPORT), QDialogButtonBox::AcceptRole), IDOK_EXPORT);
    m_export->setDefault(true);
    m_cancel = NameDialogControl(buttons->addButton(DialogText(IDCANCEL_EXPORT), QDialogButtonBox::RejectRole),
                                 IDCANCEL_EXPORT);
    connect(m_export, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(DialogText(IDC_NAME), this), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(new QLabel(DialogText(IDC_VERSION), this), 1, 0);
    fields->addWidget(m_versions, 1, 1);
    fields->addWidget(m_autoImportCheck, 2, 0, 1, 2);
    fields->addWidget(m_overwriteCheck, 3, 0, 1, 2);

    auto* side = new QVBoxLayout;
    side->addWidget(buttons);
    side->addStretch(1);
    side->addWidget(m_picture, 0, Qt::AlignHCenter);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(side);

    m_model.BindText(IDC_NAME, &m_memberName, kNameLength);
    m_model.BindSelection(IDC_VERSION, &m_versionIndex);
    m_model.BindCheck(IDC_AUTO_IMPORT, &m_autoImport);
    m_model.BindCheck(IDC_OVERWRITE, &m_overwrite);
}

CExportToAS400UsingSocketsDlg::~CExportToAS400UsingSocketsDlg()
{
    m_picture->Stop();
}

int CExportToAS400UsingSocketsDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CExportToAS400UsingSocketsDlg::OnInitDialog()
{
    const QSignalBlocker quiet(m_versions);
    m_versions->clear();
    QStringList items;
    m_versionIndex = -1;
    for (int version = kNewestExportVersion; version >= kOldestExportVersion; --version) {
        if (version == m_version)
            m_versionIndex = static_cast<int>(items.size());
        const QString text = QString::asprintf("Version %d", version);
        items << text;
        m_versions->addItem(text, version);
    }
    m_model.Control(IDC_VERSION).items = items;
    UpdateData(m_model, this, false);
    if (m_picture->Load(IDR_BUSY_GIF, QStringLiteral("GIF")))
        m_picture->DrawFirstFrame();
}

void CExportToAS400UsingSocketsDlg::EnableControls(bool enable)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_versions, m_name, m_autoImportCheck, m_overwriteCheck, m_export, m_cancel})
        control->setEnabled(enable);
}

void CExportToAS400UsingSocketsDlg::OnOK()
{
    if (m_uploading || !UpdateData(m_model, this, true))
        return;
    m_version = m_versionIndex >= 0 && m_versionIndex < m_versions->count()
                    ? m_versions->itemData(m_versionIndex).toInt()
                    : kNewestExportVersion;
    if (!m_doc) {
        accept();
        return;
    }

    QString valid = m_memberName;
    if (MakeValidAS400Name(valid)) {
        const int answer = Prompts().MessageBox(FormatResMessage(IDS_INVALID_MEMBER_NAME, m_memberName, valid), {},
                                                MB_YESNO | MB_ICONEXCLAMATION);
        if (answer != IDYES)
            return;
        m_memberName = valid;
        m_name->setText(valid);
    }

    EnableControls(false);
    m_picture->Draw();
    m_uploading = true;
    int result = 0;
    bool closeAnyway = false;
    {
        CWaitCursor wait;
        try {
            result = m_upload
                         ? m_upload(m_memberName, m_version, m_autoImport ? TRUE : FALSE, m_overwrite ? TRUE : FALSE)
                         : 0;
        } catch (const CException& error) {
            ReportError(error);
            closeAnyway = true;
        }
    }
    m_uploading = false;
    if (result != 0 || closeAnyway) {
        m_picture->Stop();
        done(result != 0 ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    m_picture->Stop();
    EnableControls(true);
}

void CExportToAS400UsingSocketsDlg::reject()
{
    // Escape and the close box wait while an upload runs.
    if (m_uploading)
        return;
    QDialog::reject();
}

void CExportToAS400UsingSocketsDlg::closeEvent(QCloseEvent* event)
{
    if (m_uploading) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
