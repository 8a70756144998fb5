#pragma once
// The views of dialogs 112 (Address), 119 (Exit Program) and 118 (Exit
// Program Parameter) over their page models.

#include "designer/views/pages/AddressPropPage.h"
#include "designer/views/pages/ExitProgramPropPages.h"
#include "designer/views/pages/ui/DataPositionBlockView.h"

class CSelectiveComboBox;
class CSelectiveEdit;

class CAddressPropPageView : public CElementPropPageView
{
public:
    CAddressPropPageView(CAddressPropPage& model, QWidget* parent);

protected:
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CAddressPropPage& m_page;
};

class CExitProgramPropPageView : public CElementPropPageView
{
public:
    CExitProgramPropPageView(CExitProgramPropPage& model, QWidget* parent);

    CSelectiveEdit* ProgramEdit() const { return m_program; }
    CSelectiveComboBox* LibraryBox() const { return m_library; }

private:
    CSelectiveEdit* m_program;
    CSelectiveComboBox* m_library;
};

class CExitParamPropPageView : public CDataPositionBlockView
{
public:
    CExitParamPropPageView(CExitParamPropPage& model, QWidget* parent);
};

// The views' factories in the element property sheet's window.
void RegisterAddressExitPageViews();
