#include "designer/output/ui/OutputDevicePropPageSheetPage.h"

COutputDevicePropPageSheetPage::COutputDevicePropPageSheetPage(std::unique_ptr<COutputDevicePropPage> model,
                                                               ViewFactory makeView)
    : m_model(std::move(model)), m_makeView(std::move(makeView))
{}

COutputDevicePropPageSheetPage::~COutputDevicePropPageSheetPage()
{
    // The sheet deletes the view first; a view still standing must not
    // outlive the model it shows.
    delete m_view;
}

QString COutputDevicePropPageSheetPage::Title() const
{
    return m_model->GetTitle();
}

QWidget* COutputDevicePropPageSheetPage::CreateView(QWidget* parent)
{
    m_view = m_makeView(*m_model, parent);
    QObject::connect(m_view, &QObject::destroyed, [this] { m_view = nullptr; });
    return m_view;
}

void COutputDevicePropPageSheetPage::OnSetActive()
{
    if (m_view)
        m_view->Activate();
}

bool COutputDevicePropPageSheetPage::OnKillActive()
{
    return !m_view || m_view->UpdateData(true);
}

bool COutputDevicePropPageSheetPage::OnApply()
{
    return !m_view || m_view->Apply();
}
