#include "designer/views/pages/ui/LoopPropPageView.h"

#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = CLoopPropPage;

} // namespace

CLoopPropPageView::CLoopPropPageView(CLoopPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    auto numberGroup = [this, groups](int groupId, int editId, int spinId) {
        QGroupBox* group = Group(groupId);
        group->setObjectName(QString());
        auto* grid = new QGridLayout(group);
        QLineEdit* edit = NumberEdit(editId);
        grid->addWidget(Label(editId), 0, 0);
        grid->addWidget(edit, 0, 1);
        grid->addWidget(UpDown(spinId, edit), 0, 2);
        groups->addWidget(group);
    };
    numberGroup(Page::IDC_POSITION_GROUP, Page::IDC_START_LINE, Page::IDC_START_LINE_SPIN);
    numberGroup(Page::IDC_SIZE_GROUP, Page::IDC_HEIGHT, Page::IDC_HEIGHT_SPIN);
    layout->addLayout(groups);
    layout->addWidget(Check(Page::IDC_END_OF_PAGE));
    layout->addWidget(Check(Page::IDC_END_OF_DOCUMENT));
    layout->addWidget(Check(Page::IDC_INCREMENT_ON_SUCCESS));
    layout->addStretch(1);
    InitDialog();
}

std::pair<int, int> CLoopPropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}
