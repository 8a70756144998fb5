#pragma once
// Dialog 134 over COptionsGeneralPropPage: the zoom lists, the general
// settings and the owner-drawn list of element colours with "Change...".

#include "designer/shell/OptionsGeneralPropPage.h"
#include "designer/shell/OptionsPropPageView.h"

class QListWidget;

class COptionsGeneralPropPageView : public COptionsPropPageView
{
public:
    COptionsGeneralPropPageView(COptionsGeneralPropPage& model, QWidget* parent = nullptr);

protected:
    void AfterShow() override;

private:
    QListWidget* m_colours = nullptr;
};
