#include "designer/views/pages/ui/SourceTextPropPagesView.h"

#include "designer/views/pages/ui/ConditionalPropPageView.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/LoopPropPageView.h"
#include "designer/views/pages/ui/RemarkPropPageView.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Source = CSourcePropPage;
using Text = CTextPropPage;

template <class View, class Page>
void RegisterView()
{
    CElementPropertySheetWnd::RegisterViewFactory(Page::IDD, [](CElementPropPage& page, QWidget* parent) -> QWidget* {
        auto* own = dynamic_cast<Page*>(&page);
        return own != nullptr ? new View(*own, parent) : nullptr;
    });
}

} // namespace

QPushButton* PageButton(CElementPropPageView& view, const CElementPropPage& page, int id)
{
    return NameDialogControl(new QPushButton(page.GetLabel(id), &view), id);
}

QLabel* RightAlignedStatic(CElementPropPageView& view, int id)
{
    auto* label = NameDialogControl(new QLabel(&view), id);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

CSourcePropPageView::CSourcePropPageView(CSourcePropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RightAlignedStatic(*this, Source::IDC_FONT_DESCRIPTION));

    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(Source::IDC_POSITION_GROUP);
    auto* grid = new QGridLayout(position);
    NumberRow(grid, 0, Source::IDC_COLUMN, Source::IDC_COLUMN_SPIN);
    NumberRow(grid, 1, Source::IDC_LINE, Source::IDC_LINE_SPIN);
    grid->addWidget(Check(Source::IDC_FORCE_ABSOLUTE), 2, 0, 1, 3);
    groups->addWidget(position);
    QGroupBox* size = Group(Source::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    NumberRow(sizeGrid, 0, Source::IDC_WIDTH, Source::IDC_WIDTH_SPIN);
    NumberRow(sizeGrid, 1, Source::IDC_HEIGHT, Source::IDC_HEIGHT_SPIN);
    sizeGrid->setRowStretch(2, 1);
    groups->addWidget(size);
    layout->addLayout(groups);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Check(Source::IDC_ALIGN));
    bottom->addStretch(1);
    bottom->addWidget(PageButton(*this, model, Source::IDC_FONT));
    layout->addLayout(bottom);
    layout->addStretch(1);
    InitDialog();
}

std::pair<int, int> CSourcePropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}

CTextPropPageView::CTextPropPageView(CTextPropPage& model, QWidget* parent) : CElementPropPageView(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RightAlignedStatic(*this, Text::IDC_FONT_DESCRIPTION));
    layout->addWidget(Edit(Text::IDC_TEXT));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Check(Text::IDC_ALIGN));
    bottom->addStretch(1);
    bottom->addWidget(PageButton(*this, model, Text::IDC_FONT));
    layout->addLayout(bottom);
    layout->addStretch(1);
    InitDialog();
}

void RegisterTextKindPageViews()
{
    RegisterView<CSourcePropPageView, CSourcePropPage>();
    RegisterView<CTextPropPageView, CTextPropPage>();
    RegisterView<CLoopPropPageView, CLoopPropPage>();
    RegisterView<CConditionalPropPageView, CConditionalPropPage>();
    RegisterView<CRemarkPropPageView, CRemarkPropPage>();
}
