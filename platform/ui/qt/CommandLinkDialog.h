#pragma once
// A window of command links: the main instruction, an optional text, one
// link per choice. Clicking a link closes it with that choice; closing the
// window any other way leaves ChosenId() empty.

#include "platform/ui/PromptService.h"

#include <QDialog>

#include <optional>

class CommandLinkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CommandLinkDialog(const CommandLinkRequest& request, QWidget* parent = nullptr);

    std::optional<int> ChosenId() const { return m_chosen; }

    // Each link carries its choice's id in this property.
    static constexpr const char* kChoiceIdProperty = "kwvdChoiceId";

private:
    std::optional<int> m_chosen;
};
