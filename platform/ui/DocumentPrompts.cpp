#include "platform/ui/DocumentPrompts.h"

#include "platform/framework/Document.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"

namespace {

class PromptServiceDocumentPrompter : public DocumentPrompter
{
public:
    SaveChoice AskToSave(const QString& name) override
    {
        const int answer =
            AfxMessageBox(QStringLiteral("Save changes to %1?").arg(name), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDYES)
            return SaveChoice::Save;
        if (answer == IDNO)
            return SaveChoice::Discard;
        return SaveChoice::Cancel;
    }

    QString ChooseSavePath(const QString& proposedName, const QString& filter, const QString& defaultExtension) override
    {
        FileDialogRequest request;
        request.title = QStringLiteral("Save As");
        request.filter = filter;
        request.fileName = proposedName;
        request.defaultExtension = defaultExtension;
        return Prompts().GetSaveFileName(request);
    }

    void ReportSaveLoadException(const QString&, const CException& error, bool) override
    {
        // The exception's report already names the file.
        ReportError(error, MB_ICONEXCLAMATION);
    }

    bool AskToReplaceChangedFile(const QString& path) override
    {
        const QString question = FormatMessageText(
            QStringLiteral("The file %1 was changed by another program since it was opened. Replace it with this "
                           "document?"),
            path);
        return AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    }
};

} // namespace

void InstallDocumentPrompts()
{
    SetDocumentPrompter(std::make_shared<PromptServiceDocumentPrompter>());
}
