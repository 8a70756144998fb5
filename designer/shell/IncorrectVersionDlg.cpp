#include "designer/shell/IncorrectVersionDlg.h"

#include "designer/document/DesignerDoc.h"
#include "designer/shell/AppStrings.h"
#include "designer/shell/HyperStatic.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CIncorrectVersionDlg::CIncorrectVersionDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IncorrectVersionDlg"));
    setWindowTitle(LoadResString(AppString::IncorrectVersionTitle));

    m_messageLabel = new QLabel(this);
    m_messageLabel->setObjectName(QStringLiteral("Message"));
    m_messageLabel->setWordWrap(true);
    m_messageLabel->setMinimumWidth(360);

    m_link = new CHyperStatic(this);
    m_link->setObjectName(QStringLiteral("DownloadLink"));
    m_link->SetText(LoadResString(AppString::IncorrectVersionLink));
    m_link->SetLink(LoadResString(AppString::DownloadAddress));

    auto* needsInternet = new QLabel(LoadResString(AppString::IncorrectVersionNeedsInternet), this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(LoadResString(AppString::ButtonOk), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_messageLabel);
    layout->addSpacing(8);
    layout->addWidget(m_link, 0, Qt::AlignHCenter);
    layout->addWidget(needsInternet, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
}

void CIncorrectVersionDlg::SetFileName(const QString& path)
{
    m_message = FormatResMessage(AppString::IncorrectVersion, path);
    m_messageLabel->setText(m_message);
}

namespace {

void ShowIncorrectVersion(const QString& fileName)
{
    CIncorrectVersionDlg dialog(QApplication::activeWindow());
    dialog.SetFileName(fileName);
    dialog.exec();
}

} // namespace

void InstallIncorrectVersionDialog()
{
    SetIncorrectVersionHandler(&ShowIncorrectVersion);
}
