#include "designer/shell/OptionsDirectoryPropPageView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = COptionsDirectoryPropPage;

} // namespace

COptionsDirectoryPropPageView::COptionsDirectoryPropPageView(COptionsDirectoryPropPage& model, QWidget* parent)
    : COptionsPropPageView(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    QGroupBox* folders = Group(Page::IDC_DIRECTORY_GROUP);
    auto* grid = new QGridLayout(folders);
    const std::pair<int, int> rows[] = {
        {Page::IDC_DOC_DIRECTORY, Page::IDC_BROWSE_DOC},
        {Page::IDC_IMAGE_DIRECTORY, Page::IDC_BROWSE_IMAGE},
        {Page::IDC_SPOOLED_FILE_DIRECTORY, Page::IDC_BROWSE_SPOOLED_FILE},
    };
    int row = 0;
    for (const auto& [editId, buttonId] : rows) {
        grid->addWidget(Label(editId), row, 0);
        grid->addWidget(Edit(editId), row, 1);
        QPushButton* browse = Button(buttonId);
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 16);
        grid->addWidget(browse, row++, 2);
        connect(browse, &QPushButton::clicked, this,
                [this, &model, id = buttonId] { Forward([&model, id] { return model.OnBrowse(id); }); });
    }
    grid->setColumnMinimumWidth(1, 260);
    layout->addWidget(folders);
    layout->addStretch(1);
    InitDialog();
}
