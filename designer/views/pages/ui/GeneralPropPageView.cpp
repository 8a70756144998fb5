#include "designer/views/pages/ui/GeneralPropPageView.h"

#include "designer/controls/ACEdit.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = CGeneralPropPage;

// The program's own key, below which the description's history lives.
std::optional<kwvd::RegistryKey> ProgramKey()
{
    return kwvd::RegistryStore::Instance().CreateKey(kwvd::RegistryRoot::CurrentUser,
                                                     kwvd::ApplicationKeyPath(u"KWVD Designer"));
}

} // namespace

CGeneralPropPageView::CGeneralPropPageView(CGeneralPropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    top->addWidget(Label(Page::IDC_TYPE), 0, 0);
    top->addWidget(Static(Page::IDC_TYPE), 0, 1);
    top->addWidget(Label(Page::IDC_DESCRIPTION), 1, 0);
    QLineEdit* description = Edit(Page::IDC_DESCRIPTION);
    top->addWidget(description, 1, 1);
    layout->addLayout(top);

    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(Page::IDC_POSITION_GROUP);
    auto* grid = new QGridLayout(position);
    NumberRow(grid, 0, Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN);
    NumberRow(grid, 1, Page::IDC_COLUMN_OFFSET, Page::IDC_COLUMN_OFFSET_SPIN);
    NumberRow(grid, 2, Page::IDC_LINE, Page::IDC_LINE_SPIN);
    NumberRow(grid, 3, Page::IDC_LINE_OFFSET, Page::IDC_LINE_OFFSET_SPIN);
    grid->addWidget(Check(Page::IDC_FORCE_ABSOLUTE), 4, 0, 1, 3);
    groups->addWidget(position);

    QGroupBox* size = Group(Page::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    NumberRow(sizeGrid, 0, Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN);
    NumberRow(sizeGrid, 1, Page::IDC_HEIGHT, Page::IDC_HEIGHT_SPIN);
    sizeGrid->setRowStretch(2, 1);
    groups->addWidget(size, 0, Qt::AlignTop);
    layout->addLayout(groups);
    layout->addStretch(1);

    m_completion = new CACEdit(this);
    m_completion->m_Liste.m_nMaxCount = Page::DescriptionHistorySize;
    if (m_completion->m_iType == -1)
        m_completion->Init(description);
    m_completion->m_iMode = CACEdit::ACEDIT_LIST | CACEdit::ACEDIT_NAVIGATION_OPENS;
    if (const std::optional<kwvd::RegistryKey> key = ProgramKey())
        m_completion->m_Liste.LoadSearchStrings(*key, QString::fromLatin1(Page::DescriptionHistoryKey));

    InitDialog();
}

CGeneralPropPageView::~CGeneralPropPageView()
{
    if (m_completion != nullptr)
        m_completion->m_Liste.SaveSearchStrings();
}

void CGeneralPropPageView::AfterHandler(int id)
{
    if (id != Page::IDC_DESCRIPTION)
        return;
    if (const std::optional<QString> entry = m_page.TakeHistoryEntry(); entry && m_completion->m_iType != -1)
        m_completion->m_Liste.AddSearchString(*entry);
}

std::pair<int, int> CGeneralPropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}
