#include "designer/views/pages/ui/OutputPropPageView.h"

#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = COutputPropPage;

} // namespace

COutputPropPageView::COutputPropPageView(COutputPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    QLineEdit* name = Edit(Page::IDC_NAME);
    name->setReadOnly(true);
    name->setFocusPolicy(Qt::ClickFocus);
    auto* select = NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_SELECT), this), Page::IDC_SELECT);
    auto* settings = NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_SETTINGS), this), Page::IDC_SETTINGS);

    auto* grid = new QGridLayout;
    grid->addWidget(Label(Page::IDC_NAME), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(select, 0, 2);
    grid->addWidget(Label(Page::IDC_TYPE_LABEL), 1, 0);
    grid->addWidget(Static(Page::IDC_TYPE), 1, 1);
    grid->addWidget(settings, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(select, &QPushButton::clicked, this, [this] { RunButton(&Page::OnSelect); });
    connect(settings, &QPushButton::clicked, this, [this] { RunButton(&Page::OnSettings); });
    InitDialog();
}

void COutputPropPageView::RunButton(void (COutputPropPage::*action)(QWidget*))
{
    const QPointer<COutputPropPageView> alive(this);
    (m_page.*action)(this);
    if (alive)
        Show();
}

void RegisterOutputPropPageView()
{
    CElementPropertySheetWnd::RegisterViewFactory(Page::IDD, [](CElementPropPage& page, QWidget* parent) {
        auto* output = dynamic_cast<COutputPropPage*>(&page);
        return output != nullptr ? static_cast<QWidget*>(new COutputPropPageView(*output, parent)) : nullptr;
    });
}
