#include "designer/views/pages/ui/DataPositionBlockView.h"

#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Wide enough for three digits.
constexpr int kNumberWidth = 48;

} // namespace

CDataPositionBlockView::CDataPositionBlockView(CDataPositionBlock& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_block(model)
{}

QRadioButton* CDataPositionBlockView::Radio(int id)
{
    return NameDialogControl(new QRadioButton(Model().GetLabel(id), this), id);
}

QLayout* CDataPositionBlockView::BlockLayout()
{
    const DataPositionIds& ids = m_block.BlockIds();
    auto* layout = new QVBoxLayout;

    auto* dataRow = new QHBoxLayout;
    dataRow->addWidget(Radio(ids.dataRadio));
    QLineEdit* data = Edit(ids.data);
    LimitTypedLength(data, CDataPositionBlock::kDataLimit);
    dataRow->addWidget(data, 1);
    layout->addLayout(dataRow);
    layout->addWidget(Radio(ids.positionRadio));

    auto numberRow = [this](QGridLayout* into, int row, int editId, int spinId) {
        NumberRow(into, row, editId, spinId)->setFixedWidth(kNumberWidth);
    };
    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(ids.positionGroup);
    auto* grid = new QGridLayout(position);
    numberRow(grid, 0, ids.column, ids.columnSpin);
    numberRow(grid, 1, ids.line, ids.lineSpin);
    grid->addWidget(Check(ids.forceAbsolute), 2, 0, 1, 3);
    groups->addWidget(position);

    QGroupBox* size = Group(CDataPositionBlock::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    numberRow(sizeGrid, 0, ids.width, ids.widthSpin);
    sizeGrid->setRowStretch(1, 1);
    groups->addWidget(size, 0, Qt::AlignTop);
    layout->addLayout(groups);
    return layout;
}

std::pair<int, int> CDataPositionBlockView::UpDownRange(int editId) const
{
    return m_block.Range(editId);
}
