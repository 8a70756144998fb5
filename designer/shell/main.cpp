// The designer program.

#include "designer/shell/WVDDesignerApp.h"
#include "platform/ui/ConsolePromptService.h"
#include "platform/ui/qt/QtPromptService.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KWVD Designer"));
    QApplication::setOrganizationName(QStringLiteral("Qorvane"));
    // Without a screen (printing from a script) nobody could answer a box.
    if (IsHeadlessPlatform())
        SetPrompts(std::make_shared<ConsolePromptService>());
    else
        InstallQtPrompts();

    CWVDDesignerApp designer;
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!designer.InitInstance(arguments) || !designer.ShouldRun())
        return designer.ExitInstance();
    const int code = QApplication::exec();
    designer.ExitInstance();
    return code;
}
