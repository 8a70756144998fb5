#include "designer/views/pages/ui/ConditionalPropPageView.h"

#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = CConditionalPropPage;

} // namespace

CConditionalPropPageView::CConditionalPropPageView(CConditionalPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* comparison = Group(Page::IDC_COMPARISON_GROUP);
    comparison->setObjectName(QString());
    auto* top = new QGridLayout(comparison);
    auto* subject = NameDialogControl(new QComboBox(this), Page::IDC_SUBJECT);
    subject->setMaxVisibleItems(12);
    top->addWidget(Label(Page::IDC_SUBJECT), 0, 0);
    top->addWidget(subject, 0, 1);
    top->addWidget(Label(Page::IDC_OPERATOR), 0, 2);
    top->addWidget(NameDialogControl(new QComboBox(this), Page::IDC_OPERATOR), 0, 3);
    top->addWidget(Label(Page::IDC_VALUE), 1, 0);
    top->addWidget(Edit(Page::IDC_VALUE), 1, 1, 1, 3);
    layout->addWidget(comparison);

    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(Page::IDC_POSITION_GROUP);
    auto* grid = new QGridLayout(position);
    NumberRow(grid, 0, Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN);
    NumberRow(grid, 1, Page::IDC_LINE, Page::IDC_LINE_SPIN);
    grid->addWidget(Check(Page::IDC_FORCE_ABSOLUTE), 2, 0, 1, 3);
    groups->addWidget(position);
    QGroupBox* size = Group(Page::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    NumberRow(sizeGrid, 0, Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN);
    sizeGrid->addWidget(Check(Page::IDC_BREAK_LOOP), 1, 0, 1, 3);
    sizeGrid->setRowStretch(2, 1);
    groups->addWidget(size);
    layout->addLayout(groups);
    layout->addStretch(1);
    InitDialog();
}

std::pair<int, int> CConditionalPropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}
