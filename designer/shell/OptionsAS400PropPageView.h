#pragma once
// Dialog 132 over COptionsAS400PropPage: the system name with its completion
// history, the spooled file defaults, the font libraries as a check list and
// the JVX export settings. The history is saved when the view goes.

#include "designer/shell/OptionsAS400PropPage.h"
#include "designer/shell/OptionsPropPageView.h"

class CACEdit;
class QListWidget;

class COptionsAS400PropPageView : public COptionsPropPageView
{
public:
    COptionsAS400PropPageView(COptionsAS400PropPage& model, QWidget* parent = nullptr);
    ~COptionsAS400PropPageView() override;

    void Apply() override;

    CACEdit* SystemCompletion() const { return m_completion; }

private:
    void FillFontLibraries();

    COptionsAS400PropPage& m_page;
    CACEdit* m_completion = nullptr;
    // Goes first in the destructor: the edit loses the focus while the
    // widgets are torn down, when this view is no longer there to take it.
    QObject* m_libraryWatch = nullptr;
    QListWidget* m_fontLibraries = nullptr;
};
