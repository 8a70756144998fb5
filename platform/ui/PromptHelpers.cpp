#include "platform/ui/PromptHelpers.h"

#include "platform/framework/Exceptions.h"
#include "platform/ui/StringTable.h"

namespace {

constexpr int kFirstChoiceId = 541;
constexpr int kSecondChoiceId = 542;

} // namespace

int AfxMessageBox(const QString& text, UINT type)
{
    return Prompts().MessageBox(text, {}, type);
}

int AfxMessageBox(UINT stringId, UINT type)
{
    return AfxMessageBox(LoadResString(stringId), type);
}

int ReportError(const CException& error, UINT type)
{
    return AfxMessageBox(error.GetErrorMessage(), type);
}

int AskCommandLinkChoice(const QString& title, const QString& mainInstruction, const QString& firstText,
                         const QString& secondText)
{
    CommandLinkRequest request;
    request.windowTitle = title;
    request.mainInstruction = mainInstruction;
    request.choices = {{kFirstChoiceId, firstText}, {kSecondChoiceId, secondText}};
    request.defaultId = kFirstChoiceId;
    return Prompts().ChooseCommandLink(request) == kSecondChoiceId ? 2 : 1;
}
