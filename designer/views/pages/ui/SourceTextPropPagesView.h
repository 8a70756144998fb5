#pragma once
// Dialogs 166 "Spooled file" and 125 "Text" over their page models: the
// font description right-aligned at the top, the source box's number edits
// with their up-downs on the spooled-file page, the text edit on the text
// page, the align box and the font button on both.

#include "designer/views/pages/SourceTextPropPages.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class QPushButton;

class CSourcePropPageView : public CElementPropPageView
{
public:
    CSourcePropPageView(CSourcePropPage& model, QWidget* parent);

protected:
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CSourcePropPage& m_page;
};

class CTextPropPageView : public CElementPropPageView
{
public:
    CTextPropPageView(CTextPropPage& model, QWidget* parent);
};

// A push button named with its control id, its caption from the page.
QPushButton* PageButton(CElementPropPageView& view, const CElementPropPage& page, int id);
// A static text right-aligned at the top of a page.
QLabel* RightAlignedStatic(CElementPropPageView& view, int id);

// The views of the spooled-file, text, Loop, Conditional and Remark pages.
// Harmless to call again.
void RegisterTextKindPageViews();
