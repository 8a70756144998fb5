#include "designer/document/ui/ExportToAS400Dialog.h"

#include "designer/document/ExportChoice.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>

CExportToAS400Dialog::CExportToAS400Dialog(const ExportChoice& choice, QWidget* parent)
    : QFileDialog(parent, choice.title, choice.initialFolder)
{
    // Our own widgets go below the list, which only the built-in chooser has.
    setOption(QFileDialog::DontUseNativeDialog, true);
    // The command asks before replacing a file, and only when the user has
    // not chosen to overwrite.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setFileMode(QFileDialog::AnyFile);
    setAcceptMode(QFileDialog::AcceptSave);
    // Host files come in upper case ("INVOICE.JVX"): the patterns match
    // without regard to case.
    setFilter(filter() & ~QDir::CaseSensitive);
    setLabelText(QFileDialog::Accept, LoadResString(IDS_EXPORT_BUTTON));

    const QStringList nameFilters = ToNameFilters(ParseFileFilter(choice.filter));
    setNameFilters(nameFilters);
    const int index = choice.filterIndex - 1;
    if (index >= 0 && index < nameFilters.size())
        selectNameFilter(nameFilters[index]);
    if (!choice.defaultExtension.isEmpty())
        setDefaultSuffix(choice.defaultExtension);
    if (!choice.fileName.isEmpty())
        selectFile(choice.fileName);

    m_autoImport = new QCheckBox(LoadResString(IDS_AUTO_IMPORT), this);
    m_autoImport->setObjectName(QStringLiteral("autoImport"));
    m_autoImport->setChecked(choice.offerAutoImport && choice.autoImport);
    m_autoImport->setEnabled(choice.offerAutoImport);
    m_overwrite = new QCheckBox(LoadResString(IDS_OVERWRITE_EXISTING), this);
    m_overwrite->setObjectName(QStringLiteral("overwrite"));
    m_overwrite->setChecked(choice.overwrite);

    auto* options = new QHBoxLayout;
    options->addWidget(m_autoImport);
    options->addWidget(m_overwrite);
    options->addStretch(1);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addLayout(options, grid->rowCount(), 0, 1, grid->columnCount());
    else if (layout())
        layout()->addItem(options);
    else
        delete options;
}

void CExportToAS400Dialog::ReadBack(ExportChoice& choice) const
{
    const QStringList files = selectedFiles();
    choice.path = files.isEmpty() ? QString() : files.front();
    choice.filterIndex = static_cast<int>(nameFilters().indexOf(selectedNameFilter())) + 1;
    choice.autoImport = m_autoImport->isEnabled() && m_autoImport->isChecked();
    choice.overwrite = m_overwrite->isChecked();
}

int CExportToAS400Dialog::DoModal(ExportChoice& choice)
{
    const int result = exec();
    if (result == QDialog::Accepted)
        ReadBack(choice);
    return result;
}

void InstallExportToAS400Dialog()
{
    SetExportDialogRunner([](ExportChoice& choice) {
        CExportToAS400Dialog dialog(choice, QApplication::activeWindow());
        return dialog.DoModal(choice) == QDialog::Accepted;
    });
}
