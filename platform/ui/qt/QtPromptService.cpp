#include "platform/ui/qt/QtPromptService.h"

#include "platform/ui/FileFilter.h"
#include "platform/ui/qt/CommandLinkDialog.h"
#include "platform/ui/qt/ListChoiceDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <utility>
#include <vector>

namespace {

QtPromptService::CommandLinkHook g_commandLinkHook;

bool canShowDialogs()
{
    const QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QWidget* active = QApplication::activeWindow();
    // A splash window goes when its time is up and would take a box shown
    // over it along, unanswered.
    if (active && active->windowType() == Qt::SplashScreen)
        return nullptr;
    return active;
}

QMessageBox::Icon boxIcon(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton boxButton(int result)
{
    switch (result) {
    case IDOK:
        return QMessageBox::Ok;
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

} // namespace

int QtPromptService::DoMessageBox(const QString& text, const QString& caption, UINT type)
{
    if (!canShowDialogs())
        return MessageBoxCancelResult(type);

    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    // A file name or host text may hold "<"; the system's boxes never read markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(boxIcon(type));

    const std::vector<int> results = MessageBoxResults(type);
    std::vector<QPushButton*> buttons;
    for (const int result : results)
        buttons.push_back(box.addButton(boxButton(result)));
    const std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    box.setEscapeButton(buttons[0]);
    const int cancel = MessageBoxCancelResult(type);
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i] == cancel)
            box.setEscapeButton(buttons[i]);
    }

    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == clicked)
            return results[i];
    }
    return cancel;
}

QtPromptService::CommandLinkHook QtPromptService::SetCommandLinkHook(CommandLinkHook hook)
{
    return std::exchange(g_commandLinkHook, std::move(hook));
}

std::optional<int> QtPromptService::DoCommandLink(const CommandLinkRequest& request)
{
    if (!canShowDialogs())
        return std::nullopt;
    if (g_commandLinkHook) {
        const CommandLinkHook hook = g_commandLinkHook;
        return hook(request, dialogParent());
    }
    CommandLinkDialog dialog(request, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.ChosenId();
}

int QtPromptService::DoListChoice(const ListChoiceRequest& request)
{
    if (!canShowDialogs())
        return -1;
    ListChoiceDialog dialog(request, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.ChosenIndex();
}

QStringList QtPromptService::DoFileDialog(FileDialogKind kind, const FileDialogRequest& request)
{
    if (!canShowDialogs())
        return {};
    QFileDialog dialog(dialogParent(), request.title, request.initialFolder);
    const QStringList nameFilters = ToNameFilters(ParseFileFilter(request.filter));
    if (!nameFilters.isEmpty())
        dialog.setNameFilters(nameFilters);
    // Host files come in upper case ("INVOICE.JVX"): patterns match without
    // regard to case, as the system's users expect.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    switch (kind) {
    case FileDialogKind::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case FileDialogKind::OpenMultiple:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case FileDialogKind::Save:
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (!request.confirmOverwrite)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        break;
    }
    QString suffix = request.defaultExtension;
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtPromptService::DoFolderDialog(const QString& title, const QString& initialFolder)
{
    if (!canShowDialogs())
        return {};
    QFileDialog dialog(dialogParent(), title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

std::optional<COLORREF> QtPromptService::DoColourDialog(COLORREF initial)
{
    if (!canShowDialogs())
        return std::nullopt;
    QColorDialog dialog(QColor(int(initial & 0xFFu), int((initial >> 8) & 0xFFu), int((initial >> 16) & 0xFFu)),
                        dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return static_cast<COLORREF>(chosen.red()) | (static_cast<COLORREF>(chosen.green()) << 8)
           | (static_cast<COLORREF>(chosen.blue()) << 16);
}

void QtPromptService::DoBeep(UINT)
{
    if (canShowDialogs())
        QApplication::beep();
}

void QtPromptService::ShowWaitCursor(bool show)
{
    if (show && canShowDialogs()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_overrideCursorSet = true;
    } else if (!show && m_overrideCursorSet) {
        QGuiApplication::restoreOverrideCursor();
        m_overrideCursorSet = false;
    }
}

bool InstallQtPrompts()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    SetPrompts(std::make_shared<QtPromptService>());
    return true;
}

bool IsHeadlessPlatform()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
