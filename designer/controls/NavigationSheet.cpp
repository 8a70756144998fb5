#include "designer/controls/NavigationSheet.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

CNavigationSheetPage::~CNavigationSheetPage() = default;

CNavigationSheet::CNavigationSheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_stack(new QStackedWidget(this))
{
    setWindowTitle(caption);
    setModal(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    SetNavigationWidth(kDefaultNavigationWidth);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNavigationSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNavigationSheet::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != m_active && !SetActivePage(row))
            SelectListRow(m_active);
    });

    auto* pages = new QHBoxLayout;
    pages->addWidget(m_list);
    pages->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addWidget(buttons);
}

CNavigationSheet::~CNavigationSheet()
{
    // Each view goes before its page, which it may point at.
    while (!m_pages.empty()) {
        Entry& entry = m_pages.back();
        if (entry.view) {
            m_stack->removeWidget(entry.view);
            delete entry.view;
        }
        m_pages.pop_back();
    }
}

void CNavigationSheet::SetNavigationWidth(int pixels)
{
    m_list->setFixedWidth(pixels);
}

int CNavigationSheet::AddPage(std::unique_ptr<CNavigationSheetPage> page)
{
    m_list->addItem(page->Title());
    m_pages.push_back(Entry{std::move(page), nullptr});
    return GetPageCount() - 1;
}

CNavigationSheetPage* CNavigationSheet::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)].page.get();
}

QWidget* CNavigationSheet::GetPageView(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)].view;
}

bool CNavigationSheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return false;
    if (index == m_active)
        return true;
    if (m_active >= 0 && !m_pages[static_cast<size_t>(m_active)].page->OnKillActive())
        return false;
    ShowPage(index);
    return true;
}

void CNavigationSheet::accept()
{
    if (m_active >= 0 && !m_pages[static_cast<size_t>(m_active)].page->OnKillActive())
        return;
    for (int i = 0; i < GetPageCount(); ++i) {
        Entry& entry = m_pages[static_cast<size_t>(i)];
        if (entry.view && !entry.page->OnApply()) {
            // It has been validated already, when it was left.
            if (i != m_active)
                ShowPage(i);
            return;
        }
    }
    QDialog::accept();
}

void CNavigationSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_active < 0 && !m_pages.empty())
        ShowPage(0);
}

void CNavigationSheet::ShowPage(int index)
{
    Entry& entry = m_pages[static_cast<size_t>(index)];
    if (!entry.view) {
        entry.view = entry.page->CreateView(m_stack);
        if (!entry.view)
            entry.view = new QWidget(m_stack);
        m_stack->addWidget(entry.view);
    }
    m_active = index;
    m_stack->setCurrentWidget(entry.view);
    SelectListRow(index);
    entry.page->OnSetActive();
}

void CNavigationSheet::SelectListRow(int index)
{
    const QSignalBlocker blocker(m_list);
    m_list->setCurrentRow(index);
}
