#include "designer/views/pages/ui/AddressExitPagesView.h"

#include "designer/controls/SelectiveComboBox.h"
#include "designer/controls/SelectiveEdit.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Address = CAddressPropPage;
using Program = CExitProgramPropPage;
using Param = CExitParamPropPage;

// Wide enough for three digits.
constexpr int kNumberWidth = 48;

// Upper case, at most the host's ten characters.
constexpr int kUpperCase = 1;

template <class Page, class View>
void RegisterView()
{
    CElementPropertySheetWnd::RegisterViewFactory(Page::IDD, [](CElementPropPage& page, QWidget* parent) {
        auto* own = dynamic_cast<Page*>(&page);
        return own != nullptr ? static_cast<QWidget*>(new View(*own, parent)) : nullptr;
    });
}

} // namespace

void RegisterAddressExitPageViews()
{
    RegisterView<Address, CAddressPropPageView>();
    RegisterView<Program, CExitProgramPropPageView>();
    RegisterView<Param, CExitParamPropPageView>();
}

// ---------------------------------------------------------------- address

CAddressPropPageView::CAddressPropPageView(CAddressPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    auto* type = NameDialogControl(new QComboBox(this), Address::IDC_TYPE);
    QLabel* description = Static(Address::IDC_DESCRIPTION);
    description->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(Label(Address::IDC_TYPE));
    typeRow->addWidget(type, 1);
    layout->addLayout(typeRow);
    layout->addWidget(description);

    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(Address::IDC_POSITION_GROUP);
    position->setObjectName(QString());
    auto* positionGrid = new QGridLayout(position);
    NumberRow(positionGrid, 0, Address::IDC_COLUMN, Address::IDC_COLUMN_SPIN)->setFixedWidth(kNumberWidth);
    NumberRow(positionGrid, 1, Address::IDC_LINE, Address::IDC_LINE_SPIN)->setFixedWidth(kNumberWidth);
    groups->addWidget(position);
    QGroupBox* size = Group(Address::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    NumberRow(sizeGrid, 0, Address::IDC_WIDTH, Address::IDC_WIDTH_SPIN)->setFixedWidth(kNumberWidth);
    sizeGrid->setRowStretch(1, 1);
    groups->addWidget(size, 0, Qt::AlignTop);
    layout->addLayout(groups);
    layout->addWidget(Check(Address::IDC_DELETE));
    layout->addStretch(1);
    InitDialog();
}

std::pair<int, int> CAddressPropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}

// ---------------------------------------------------------------- exit program

CExitProgramPropPageView::CExitProgramPropPageView(CExitProgramPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_program(NameDialogControl(new CSelectiveEdit(this), Program::IDC_PROGRAM)),
      m_library(NameDialogControl(new CSelectiveComboBox(this), Program::IDC_LIBRARY))
{
    m_program->m_caseMode = kUpperCase;
    m_program->m_maxLength = CFormExitProgramElement::kNameLength;
    m_library->Edit().m_caseMode = kUpperCase;
    m_library->Edit().m_maxLength = CFormExitProgramElement::kNameLength;
    m_library->SetRefusedChars(QString::fromLatin1(Program::RefusedLibraryChars));
    m_library->SetRefusedFirstChars(QString::fromLatin1(Program::RefusedLibraryFirstChars));
    // The list keeps what the page gives it, not each typed entry.
    m_library->setInsertPolicy(QComboBox::NoInsert);
    auto* add = NameDialogControl(new QPushButton(model.GetLabel(Program::IDC_ADD), this), Program::IDC_ADD);
    auto* del = NameDialogControl(new QPushButton(model.GetLabel(Program::IDC_DEL), this), Program::IDC_DEL);
    auto* parameters = NameDialogControl(new QListWidget(this), Program::IDC_PARAMETERS);
    parameters->setSelectionMode(QAbstractItemView::NoSelection);
    parameters->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout;
    grid->addWidget(Label(Program::IDC_PROGRAM), 0, 0);
    grid->addWidget(m_program, 0, 1);
    grid->addWidget(Label(Program::IDC_LIBRARY), 1, 0);
    grid->addWidget(m_library, 1, 1);
    grid->addWidget(add, 1, 2);
    grid->addWidget(del, 1, 3);
    grid->setColumnStretch(1, 1);
    QGroupBox* group = Group(Program::IDC_PARAMETERS_GROUP);
    group->setObjectName(QString());
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(parameters);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(group, 1);
    InitDialog();
}

// ---------------------------------------------------------------- exit parameter

CExitParamPropPageView::CExitParamPropPageView(CExitParamPropPage& model, QWidget* parent)
    : CDataPositionBlockView(model, parent)
{
    auto* index = NameDialogControl(new QComboBox(this), Param::IDC_INDEX);
    QLabel* font = Static(Param::IDC_FONT_DESCRIPTION);
    font->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* fontButton = NameDialogControl(new QPushButton(model.GetLabel(Param::IDC_FONT), this), Param::IDC_FONT);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(font);
    auto* indexRow = new QHBoxLayout;
    indexRow->addWidget(Label(Param::IDC_INDEX));
    indexRow->addWidget(index);
    indexRow->addStretch(1);
    layout->addLayout(indexRow);
    layout->addLayout(BlockLayout());
    auto* bottom = new QHBoxLayout;
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(Check(Param::IDC_IGNORE_RETURN));
    boxes->addWidget(Check(Param::IDC_ALIGN));
    bottom->addLayout(boxes, 1);
    bottom->addWidget(fontButton, 0, Qt::AlignBottom);
    layout->addLayout(bottom);
    layout->addStretch(1);
    InitDialog();
}
