#include "designer/views/pages/ElementPropertySheet.h"

#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropPage.h"
#include "designer/views/pages/ExitProgramPropPages.h"
#include "designer/views/pages/GeneralPropPage.h"
#include "designer/views/pages/ImagePropPage.h"
#include "designer/views/pages/OutputPropPage.h"
#include "designer/views/pages/SourceTextPropPages.h"
#include "designer/views/pages/XmlPropPages.h"
#include "platform/registry/RegistryStore.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <map>

IElementSheetWindow::~IElementSheetWindow() = default;

namespace {

std::map<std::type_index, CElementPropertySheet::PageFactory>& PageFactories()
{
    static std::map<std::type_index, CElementPropertySheet::PageFactory> factories;
    return factories;
}

// The placeholder: dialog 131 with its one static text, no record.
class CPlaceholderPage : public CElementPropPage
{
public:
    CPlaceholderPage() : CElementPropPage(CElementPropertySheet::PlaceholderDialog, nullptr, {}) {}
};

// The element or one of its containers.
bool IsSelfOrInside(const CFormElement* element, const CFormElement* container)
{
    for (const CFormElement* e = element; e != nullptr; e = e->GetParent()) {
        if (e == container)
            return true;
    }
    return false;
}

// "WindowRect": the four edges as a RECT, 32-bit little-endian each.
QByteArray RectBytes(const QRect& rect)
{
    QByteArray bytes(16, '\0');
    const qint32 edges[4] = {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<qint32>(edges[i], bytes.data() + 4 * i);
    return bytes;
}

std::optional<QPoint> RectTopLeft(const std::optional<QByteArray>& bytes)
{
    if (!bytes || bytes->size() != 16)
        return std::nullopt;
    return QPoint(qFromLittleEndian<qint32>(bytes->constData()), qFromLittleEndian<qint32>(bytes->constData() + 4));
}

} // namespace

CElementPropertySheet::CElementPropertySheet(IDesignFrame* frame) : m_frame(frame)
{
    RegisterElementPageStrings();
    RegisterPageFactory<GeneralPageData>([](std::unique_ptr<CElementPageRecord> record) {
        return std::make_unique<CGeneralPropPage>(
            std::unique_ptr<CGeneralPageRecord>(static_cast<CGeneralPageRecord*>(record.release())));
    });
    RegisterVariableXmlPageFactories();
    RegisterTextKindPageFactories();
    RegisterOutputPropPage();
    RegisterImageKindPageFactories();
    RegisterAddressExitPageFactories();
    DoRebuildPages();
}

CElementPropertySheet::~CElementPropertySheet()
{
    // The views go before the pages they show.
    m_window.reset();
}

void CElementPropertySheet::RegisterPageFactory(std::type_index recordType, PageFactory factory)
{
    PageFactories()[recordType] = std::move(factory);
}

void CElementPropertySheet::SetWindow(std::unique_ptr<IElementSheetWindow> window)
{
    m_window = std::move(window);
    if (m_window) {
        m_window->PagesChanged();
        m_window->ActivatePage(m_activeIndex);
    }
}

QWidget* CElementPropertySheet::GetWidget()
{
    return m_window ? m_window->Widget() : nullptr;
}

CElementPropPage* CElementPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CElementPropertySheet::GetActiveIndex() const
{
    return m_window ? m_window->ActivePage() : m_activeIndex;
}

void CElementPropertySheet::SetElement(CFormElement* element)
{
    if (element == m_element) {
        if (m_shown)
            RefreshPages();
        return;
    }
    m_element = element;
    RebuildPages();
}

void CElementPropertySheet::RebuildPages()
{
    if (m_busy > 0) {
        m_rebuildPending = true;
        return;
    }
    const bool enabled = m_window && m_window->IsWindowEnabled();
    if (enabled)
        m_window->EnableWindow(false);
    DoRebuildPages();
    if (enabled)
        m_window->EnableWindow(true);
}

void CElementPropertySheet::LeaveHandler()
{
    if (--m_busy > 0 || !m_rebuildPending)
        return;
    m_rebuildPending = false;
    RebuildPages();
}

void CElementPropertySheet::ClearPageList()
{
    if (m_window)
        m_window->ClearPages();
    m_pages.clear();
    m_owned.clear();
}

void CElementPropertySheet::DoRebuildPages()
{
    const bool redraw = m_window && m_window->IsVisible();
    if (redraw)
        m_window->SetRedraw(false);
    const int active = GetActiveIndex();
    ClearPageList();
    if (m_element != nullptr)
        m_element->AddPropertyPages(this);
    if (m_pages.empty()) {
        if (!m_placeholder)
            m_placeholder = std::make_unique<CPlaceholderPage>();
        m_pages.push_back(m_placeholder.get());
    }
    m_activeIndex = std::clamp(active, 0, GetPageCount() - 1);
    if (m_window) {
        m_window->PagesChanged();
        m_window->ActivatePage(m_activeIndex);
    }
    if (redraw)
        m_window->SetRedraw(true);
}

void CElementPropertySheet::AddPage(std::unique_ptr<CElementPageRecord> record)
{
    if (!record)
        return;
    const auto factory = PageFactories().find(record->DataType());
    if (factory == PageFactories().end() || !factory->second)
        return;
    std::unique_ptr<CElementPropPage> page = factory->second(std::move(record));
    if (!page)
        return;
    page->SetSheet(this);
    m_pages.push_back(page.get());
    m_owned.push_back(std::move(page));
}

void CElementPropertySheet::SetActivePageIndex(int index)
{
    const bool enabled = m_window && m_window->IsWindowEnabled();
    if (enabled)
        m_window->EnableWindow(false);
    m_activeIndex = std::clamp(index, 0, GetPageCount() - 1);
    if (m_window && m_window->ActivePage() != m_activeIndex)
        m_window->ActivatePage(m_activeIndex);
    if (enabled)
        m_window->EnableWindow(true);
}

void CElementPropertySheet::RefreshPages()
{
    for (int i = GetPageCount() - 1; i >= 0; --i) {
        if (m_pages[static_cast<size_t>(i)]->HasWindow())
            m_pages[static_cast<size_t>(i)]->OnUpdateData();
    }
}

void CElementPropertySheet::ShowSheet()
{
    m_shown = TRUE;
    RebuildPages();
    if (m_window && !m_window->IsVisible())
        m_window->ShowWindow();
}

void CElementPropertySheet::HideSheet()
{
    m_shown = FALSE;
    if (m_window)
        m_window->HideWindow();
}

void CElementPropertySheet::OnElementRemoved(CFormElement* removed)
{
    if (removed != nullptr && m_element != nullptr && IsSelfOrInside(m_element, removed))
        SetElement(nullptr);
}

void CElementPropertySheet::TogglePin()
{
    m_pinned = m_pinned ? FALSE : TRUE;
    if (m_window)
        m_window->PinChanged();
}

void CElementPropertySheet::OnClose()
{
    HideSheet();
}

void CElementPropertySheet::OnDeactivate()
{
    if (m_busy == 0 && m_shown && !m_pinned)
        HideSheet();
}

int CElementPropertySheet::OnSerializeLayout(int wParam)
{
    if (m_frame == nullptr)
        return 0;
    const bool save = wParam == 1;
    const std::optional<kwvd::RegistryKey> key = m_frame->OpenLayoutKey(QStringLiteral("PropertySheet"), save);
    if (!key)
        return 0;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    if (save) {
        if (m_window)
            store.WriteValue(*key, u"WindowRect", kwvd::RegistryValue::Binary(RectBytes(m_window->NormalRect())));
        store.WriteValue(*key, u"Active", kwvd::RegistryValue::Number(m_shown ? 1u : 0u));
        store.WriteValue(*key, u"Pinned", kwvd::RegistryValue::Number(m_pinned ? 1u : 0u));
        store.WriteValue(*key, u"Page", kwvd::RegistryValue::Number(std::uint32_t(std::max(0, GetActiveIndex()))));
        return 1;
    }
    const std::optional<QPoint> topLeft = RectTopLeft(store.ReadBinary(*key, u"WindowRect"));
    const BOOL active = store.ReadNumber(*key, u"Active").value_or(0) != 0 ? TRUE : FALSE;
    const BOOL pinned = store.ReadNumber(*key, u"Pinned").value_or(1) != 0 ? TRUE : FALSE;
    // A damaged page number only needs to be a valid index.
    const std::uint32_t page = std::min<std::uint32_t>(store.ReadNumber(*key, u"Page").value_or(0), 1000);
    if (active) {
        if (pinned != m_pinned)
            TogglePin();
        SetActivePageIndex(static_cast<int>(page));
        if (m_window) {
            if (topLeft)
                m_window->MoveTo(*topLeft);
            m_window->ShowWindowNoActivate();
        }
    } else if (m_window) {
        m_window->HideWindow();
    }
    m_shown = active;
    return 1;
}
