#include "designer/views/pages/ui/XmlPropPagesView.h"

#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/VariablePropPageView.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The styles text is four lines high.
constexpr int kStylesLines = 4;

template <class Page, class View>
void RegisterView(UINT dialogId)
{
    CElementPropertySheetWnd::RegisterViewFactory(dialogId, [](CElementPropPage& page, QWidget* parent) -> QWidget* {
        auto* model = dynamic_cast<Page*>(&page);
        return model != nullptr ? new View(*model, parent) : nullptr;
    });
}

} // namespace

CXmlElementPropPageView::CXmlElementPropPageView(CXmlElementPropPage& model, QWidget* parent)
    : CDataPositionBlockView(model, parent)
{
    const XmlNamedPageIds& ids = model.Ids();
    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label(ids.name));
    nameRow->addWidget(Edit(ids.name), 1);
    layout->addLayout(nameRow);
    layout->addLayout(BlockLayout());
    QLabel* styles = Static(ids.styles);
    styles->setTextFormat(Qt::PlainText);
    styles->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    styles->setMinimumHeight(kStylesLines * styles->fontMetrics().lineSpacing());
    layout->addWidget(styles);
    layout->addStretch(1);
    InitDialog();
}

CXmlCommentPropPageView::CXmlCommentPropPageView(CXmlCommentPropPage& model, QWidget* parent)
    : CDataPositionBlockView(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BlockLayout());
    layout->addStretch(1);
    InitDialog();
}

CXmlInstructionPropPageView::CXmlInstructionPropPageView(CXmlInstructionPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label(CXmlInstructionPropPage::IDC_NAME));
    nameRow->addWidget(Edit(CXmlInstructionPropPage::IDC_NAME), 1);
    layout->addLayout(nameRow);
    layout->addStretch(1);
    InitDialog();
}

void RegisterVariableXmlPageViews()
{
    RegisterView<CVariablePropPage, CVariablePropPageView>(CVariablePropPage::IDD);
    RegisterView<CXmlElementPropPage, CXmlElementPropPageView>(CXmlElementPropPage::IDD);
    RegisterView<CXmlElementPropPage, CXmlElementPropPageView>(CXmlAttributePropPage::IDD);
    RegisterView<CXmlCommentPropPage, CXmlCommentPropPageView>(CXmlCommentPropPage::IDD);
    RegisterView<CXmlInstructionPropPage, CXmlInstructionPropPageView>(CXmlInstructionPropPage::IDD);
}
