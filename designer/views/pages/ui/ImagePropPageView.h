#pragma once
// Dialog 127 over CImagePropPage: "File Name:" with its edit, the format
// list, the quality, "&Browse..." and "&Reload"; "Or Position:" with the
// position group (column, line, Force Absolute) and the size group (width).

#include "designer/views/pages/ImagePropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class CImagePropPageView : public CElementPropPageView
{
public:
    CImagePropPageView(CImagePropPage& model, QWidget* parent);

protected:
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CImagePropPage& m_page;
};

// The view factories of the Image, Barcode and Resource pages.
void RegisterImageKindPageViews();
