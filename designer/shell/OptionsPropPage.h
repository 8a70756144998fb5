#pragma once
// The model of one page of the Options sheet, without its widgets: the state
// of its controls by id and the members bound to them with their checks. The
// application fills the members from copies of the preferences before the
// sheet opens and reads them back after OK; a page never shown keeps what it
// was given. Its view (COptionsPropPageView) maps the ids to widgets.

#include "platform/ui/DialogModel.h"

#include <QString>

class COptionsPropPage : public CDialogModel
{
public:
    ~COptionsPropPage() override;

    UINT GetDialogId() const { return m_dialogId; }
    // The page's title and the label of one of its controls, from the
    // string table, so that a language source translates them.
    QString GetTitle() const;
    QString GetLabel(int controlId) const;

    // The view was made: lists filled, members shown.
    virtual void OnInitDialog() { Push(); }
    // The sheet's OK, after the page's values were taken.
    virtual void OnOK() {}

    // The title of the folder choosers of the pages.
    static QString SelectDirectoryTitle();
    // A chosen folder as the pages keep it: with a closing separator.
    static QString WithClosingSeparator(const QString& folder);

protected:
    explicit COptionsPropPage(UINT dialogId) : m_dialogId(dialogId) {}

    // Asks for a folder, starting at initialFolder: the folder with its
    // separator, or empty on cancel.
    QString BrowseForFolder(const QString& initialFolder);

private:
    UINT m_dialogId;
};
