#pragma once
// A list to pick one item from, with OK and Cancel. The items may be shown
// sorted; the result is always the item's index in the caller's list.

#include "platform/ui/PromptService.h"

#include <QDialog>

class QListWidget;

class ListChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ListChoiceDialog(const ListChoiceRequest& request, QWidget* parent = nullptr);

    // The original index of the selected item, or -1 when none is.
    int ChosenIndex() const;

    QListWidget* List() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};
