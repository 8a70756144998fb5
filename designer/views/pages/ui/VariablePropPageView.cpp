#include "designer/views/pages/ui/VariablePropPageView.h"

#include "designer/controls/SelectiveComboBox.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

using Page = CVariablePropPage;

} // namespace

CVariablePropPageView::CVariablePropPageView(CVariablePropPage& model, QWidget* parent)
    : CDataPositionBlockView(model, parent), m_name(NameDialogControl(new CSelectiveComboBox(this), Page::IDC_NAME))
{
    m_name->SetRefusedChars(QString::fromLatin1(Page::RefusedNameChars));
    m_name->Edit().m_maxLength = CFormVariableElement::kMaxNameLength;

    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label(Page::IDC_NAME));
    nameRow->addWidget(m_name, 1);
    layout->addLayout(nameRow);
    layout->addLayout(BlockLayout());
    layout->addStretch(1);

    // The list closed on an entry, and every change of the typed text.
    connect(m_name, &QComboBox::activated, this, [this] { Notify(Page::IDC_NAME, PageNotification::CloseUp); });
    connect(&m_name->Edit(), &QLineEdit::textChanged, this, [this] {
        if (!IsShowing())
            Notify(Page::IDC_NAME, PageNotification::EditUpdate);
    });
    InitDialog();
}
