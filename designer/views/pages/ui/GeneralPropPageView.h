#pragma once
// Dialog 126 over CGeneralPropPage: type, description with its history of
// earlier descriptions, the position group (column, line, their offsets,
// Force Absolute) and the size group, each number edit with its up-down.

#include "designer/views/pages/GeneralPropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class CACEdit;

class CGeneralPropPageView : public CElementPropPageView
{
public:
    CGeneralPropPageView(CGeneralPropPage& model, QWidget* parent);
    ~CGeneralPropPageView() override;

    CACEdit* DescriptionCompletion() const { return m_completion; }

protected:
    void AfterHandler(int id) override;
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CGeneralPropPage& m_page;
    CACEdit* m_completion = nullptr;
};
