#include "designer/elements/FormAddressElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/ElementPagesText.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormAddressElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

using kwvd::Rect;

constexpr UINT kCurrentSchema = 20;

// The host keeps no text for these two, so there is nothing to delete.
bool TakesNoDeleteFlag(int id)
{
    return id == AddressFieldCode::Destination || id == AddressFieldCode::FirstPage;
}

bool InRange(int id, int first, int last)
{
    return id >= first && id <= last;
}

// Far beyond any page; keeps cell arithmetic inside int.
constexpr int kMaxCell = 100000;

int ClampCell(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, -kMaxCell, kMaxCell));
}

} // namespace

CFormAddressElement::CFormAddressElement() = default;

CFormAddressElement::CFormAddressElement(CDesignerDoc* doc, const Rect& rect) : CFormElement(doc)
{
    RefreshColour(FALSE);
    // The id is the default already, so it is set up here as SetSettingId
    // would: the parent, if any, adjusts it later in SetParent.
    m_settingId = AddressFieldCode::Destination;
    m_deleteFlag = FALSE;
    UpdateAutoDescription();
    SetDocumentModified();
    SetKind(doc != nullptr && doc->IsXmlDocument() ? AddressKind::Source : AddressKind::Dest);
    Rect normal = rect;
    normal.Normalize();
    m_sourceRect = normal;
    m_destRect = normal;
    NormalizeRects();
}

void CFormAddressElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormAddressElement));
    StringTable::Add(IDS_ADDRESS_NOT_IN_OUTPUT,
                     QStringLiteral("Address Element '%1' is not associated with an Output Device Element "
                                    "and will be ignored."));
}

int CFormAddressElement::MaxLengthOf(int id)
{
    switch (id) {
    case AddressFieldCode::Destination:
    case AddressFieldCode::FromEmail:
    case AddressFieldCode::Subject:
    case AddressFieldCode::FilePath:
        return 256;
    case AddressFieldCode::From:
    case AddressFieldCode::To:
    case AddressFieldCode::Attention:
    case AddressFieldCode::Reference:
        return 50;
    case AddressFieldCode::Message:
        return 1024;
    case AddressFieldCode::AttachmentName:
    case AddressFieldCode::FileName:
        return 64;
    case AddressFieldCode::FileOwner:
    case AddressFieldCode::FileAuthorizationList:
    case AddressFieldCode::FilePublicAuthority:
        return 20;
    case AddressFieldCode::PdfOwnerPassword:
    case AddressFieldCode::PdfUserPassword:
        return 32;
    default:
        break;
    }
    if (InRange(id, AddressFieldCode::Parameter1, AddressFieldCode::Parameter1 + 9))
        return 132;
    if (InRange(id, AddressFieldCode::Parameter1 + 10, AddressFieldCode::Parameter20))
        return 64;
    return 0;
}

BOOL CFormAddressElement::IsAcceptedSettingId(int id)
{
    return InRange(id, AddressFieldCode::Destination, AddressFieldCode::Reference) || id == AddressFieldCode::FirstPage
           || InRange(id, AddressFieldCode::FromEmail, AddressFieldCode::Message)
           || id == AddressFieldCode::AttachmentName
           || InRange(id, AddressFieldCode::FilePath, AddressFieldCode::PdfUserPassword);
}

int CFormAddressElement::SettingIdForDeviceType(int deviceType, int id)
{
    switch (deviceType) {
    case 0:
    case 1:
    case 2:
        return id == AddressFieldCode::Destination || id == AddressFieldCode::FirstPage
                   ? id
                   : static_cast<int>(AddressFieldCode::Destination);
    case 3:
        return InRange(id, AddressFieldCode::Destination, AddressFieldCode::Reference)
                       || id == AddressFieldCode::FirstPage
                   ? id
                   : static_cast<int>(AddressFieldCode::Destination);
    case 4:
        switch (id) {
        case AddressFieldCode::Destination:
        case AddressFieldCode::From:
        case AddressFieldCode::To:
        case AddressFieldCode::FirstPage:
        case AddressFieldCode::FromEmail:
        case AddressFieldCode::Subject:
        case AddressFieldCode::Message:
        case AddressFieldCode::AttachmentName:
            return id;
        default:
            return AddressFieldCode::Destination;
        }
    case 6:
    case 7:
        return id == AddressFieldCode::FirstPage
                       || InRange(id, AddressFieldCode::FilePath, AddressFieldCode::PdfUserPassword)
                   ? id
                   : static_cast<int>(AddressFieldCode::FilePath);
    default:
        // The display device and an Address without a device take every id.
        return id;
    }
}

CFormOutputElement* CFormAddressElement::OutputParent() const
{
    if (m_pParent == nullptr || m_pParent->GetType() != FormElementType::Output)
        return nullptr;
    return dynamic_cast<CFormOutputElement*>(m_pParent);
}

int CFormAddressElement::GetDeviceType() const
{
    const CFormOutputElement* output = OutputParent();
    COutputDeviceManager* manager = m_pDoc != nullptr ? m_pDoc->GetOutputDeviceManager() : nullptr;
    if (output == nullptr || manager == nullptr)
        return -1;
    return manager->GetDeviceType(output->GetOutputDevice());
}

const CPage* CFormAddressElement::KindPage() const
{
    return m_kind == AddressKind::Source ? SourcePage() : OutputPage();
}

void CFormAddressElement::RefreshColour(BOOL announce)
{
    const COLORREF colour = Preferences().GetElementColour(FormElementType::Address - FormElementType::Address);
    if (colour == m_colour)
        return;
    m_colour = colour;
    if (announce) {
        SetDocumentModified();
        Announce(DocumentHint::ElementChanged);
    }
}

// ---------------------------------------------------------------- settings

BOOL CFormAddressElement::SetSettingId(int id)
{
    if (!IsAcceptedSettingId(id))
        return FALSE;
    id = SettingIdForDeviceType(GetDeviceType(), id);
    if (id == m_settingId)
        return FALSE;
    m_settingId = id;
    UpdateAutoDescription();
    if (TakesNoDeleteFlag(m_settingId))
        m_deleteFlag = FALSE;
    SetDocumentModified();
    return TRUE;
}

BOOL CFormAddressElement::SetDeleteFlag(BOOL on)
{
    const BOOL value = on && !TakesNoDeleteFlag(m_settingId) ? TRUE : FALSE;
    if (value == m_deleteFlag)
        return FALSE;
    m_deleteFlag = value;
    SetDocumentModified();
    return TRUE;
}

BOOL CFormAddressElement::SetKind(int kind)
{
    if (kind != AddressKind::Dest && kind != AddressKind::Source)
        return FALSE;
    if (kind == m_kind)
        return FALSE;
    Announce(DocumentHint::ElementChanged);
    m_kind = kind;
    Announce(DocumentHint::ElementChanged);
    SetDocumentModified();
    return TRUE;
}

void CFormAddressElement::UpdateAutoDescription()
{
    if (!IsAutoDescription())
        return;
    OutputDeviceAddressTypeList types;
    GetAddressTypes(types);
    QString name;
    for (const outputDeviceAddressType& entry : types) {
        if (entry.code == m_settingId) {
            name = entry.name;
            break;
        }
    }
    SetDescription(name, this);
}

// ---------------------------------------------------------------- geometry

void CFormAddressElement::NormalizeRects()
{
    const int limit = GetMaxLength();
    const auto normalize = [limit](const CPage& page, Rect& rect) {
        const int cw = page.GetCellWidth();
        if (limit > 0 && rect.Width() > static_cast<long long>(limit) * cw)
            rect.right = rect.left + limit * cw;
        page.SnapToGridNearest(rect);
        page.ClampToPage(rect, TRUE);
        rect.bottom = rect.top + page.GetCellHeight();
    };
    if (const CPage* page = SourcePage())
        normalize(*page, m_sourceRect);
    if (const CPage* page = OutputPage())
        normalize(*page, m_destRect);
    Announce(DocumentHint::ElementChanged);
}

void CFormAddressElement::GetCells(Rect& cells) const
{
    const CPage* page = KindPage();
    if (page == nullptr || page->GetCellWidth() <= 0 || page->GetCellHeight() <= 0) {
        cells = Rect();
        return;
    }
    cells = m_kind == AddressKind::Source ? m_sourceRect : CFormElement::GetDestRect();
    page->RectToCells(cells);
}

Rect CFormAddressElement::GetAddressCells() const
{
    Rect cells;
    GetCells(cells);
    return cells;
}

void CFormAddressElement::SetCells(const Rect& cells)
{
    const CPage* page = KindPage();
    if (page == nullptr)
        return;
    const int cw = page->GetCellWidth();
    const int ch = page->GetCellHeight();
    const int x = ClampCell((static_cast<long long>(cells.left) - 1) * cw);
    const int y = ClampCell((static_cast<long long>(cells.top) - 1) * ch);
    const int width = ClampCell((static_cast<long long>(cells.right) - cells.left) * cw);
    const bool source = m_kind == AddressKind::Source;
    Rect& rect = source ? m_sourceRect : m_destRect;
    // The move and resize leave an empty box where it is.
    if (rect.IsNull())
        rect = Rect(0, 0, cw, ch);
    const int move = ElementMoveFlags::Left | ElementMoveFlags::Top;
    const int resize = ElementMoveFlags::Right | ElementMoveFlags::Bottom;
    if (source) {
        MoveSource(x, y, move, TRUE);
        ResizeSource(width, ch, resize, TRUE);
    } else {
        MoveDest(x, y, move, TRUE);
        ResizeDest(width, ch, resize, TRUE);
    }
}

void CFormAddressElement::SetAddressCells(const Rect& cells)
{
    SetCells(cells);
}

BOOL CFormAddressElement::SetFromPlaceholder(const QString& text)
{
    Rect cells;
    bool hasCells = false;
    bool deleting = false;
    if (!COutputDevice::ParseAddressPlaceholder(text, cells, hasCells, deleting))
        return FALSE;
    if (hasCells)
        SetCells(cells);

    if (deleting && TakesNoDeleteFlag(m_settingId)) {
        SetDeleteFlag(FALSE);
        return TRUE;
    }
    SetDeleteFlag(deleting ? TRUE : FALSE);
    return TRUE;
}

// ---------------------------------------------------------------- page

int CFormAddressElement::GetGeneralPageDisableMask() const
{
    return m_kind == AddressKind::Dest ? 2 : 15;
}

void CFormAddressElement::GetAddressTypes(OutputDeviceAddressTypeList& types) const
{
    types.clear();
    const CFormOutputElement* output = OutputParent();
    COutputDeviceManager* manager = m_pDoc != nullptr ? m_pDoc->GetOutputDeviceManager() : nullptr;
    if (output == nullptr || manager == nullptr || !manager->GetAddressTypes(output->GetOutputDevice(), types)) {
        types.clear();
        COutputDeviceManager::AddAllAddressTypes(types);
    }
}

WORD CFormAddressElement::GetPageMask() const
{
    return m_kind == AddressKind::Dest ? WORD(AddressPageMask::All) : WORD(0);
}

void CFormAddressElement::PreparePage(AddressPageData& page) const
{
    const PageCellLimits limits = PageCellLimits::Of(SourcePage());
    page.largestColumn = limits.largestColumn;
    page.largestLine = limits.largestLine;
    page.mask = GetPageMask();
}

BOOL CFormAddressElement::UpdatePageData(AddressPageData& page) const
{
    AddressPageData now = page;
    if (const CPage* source = SourcePage()) {
        const int cw = source->GetCellWidth();
        const int ch = source->GetCellHeight();
        now.column = m_sourceRect.left / cw + 1;
        now.line = m_sourceRect.top / ch + 1;
        now.width = m_sourceRect.Width() / cw;
    }
    now.settingId = m_settingId;
    now.deleteFlag = m_deleteFlag;
    const bool changed = now.column != page.column || now.line != page.line || now.width != page.width
                         || now.settingId != page.settingId || now.deleteFlag != page.deleteFlag;
    page = now;
    return changed ? TRUE : FALSE;
}

BOOL CFormAddressElement::ApplyPageData(const AddressPageData& page, DWORD what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    if ((what & AddressPageBits::Position) && source != nullptr) {
        const int x = ClampCell((static_cast<long long>(page.column) - 1) * source->GetCellWidth());
        const int y = ClampCell((static_cast<long long>(page.line) - 1) * source->GetCellHeight());
        if (x != m_sourceRect.left || y != m_sourceRect.top) {
            MoveSource(x, y, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
            changed = TRUE;
        }
    }
    if ((what & AddressPageBits::Width) && source != nullptr) {
        const int width = ClampCell(static_cast<long long>(page.width) * source->GetCellWidth());
        if (width != m_sourceRect.Width()) {
            ResizeSource(width, source->GetCellHeight(), ElementMoveFlags::Right, TRUE);
            changed = TRUE;
        }
    }
    if ((what & AddressPageBits::SettingId) && SetSettingId(page.settingId))
        changed = TRUE;
    if ((what & AddressPageBits::DeleteFlag) && SetDeleteFlag(page.deleteFlag))
        changed = TRUE;
    return changed;
}

// ---------------------------------------------------------------- CFormElement

int CFormAddressElement::GetType() const
{
    return FormElementType::Address;
}

void CFormAddressElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* address = dynamic_cast<const CFormAddressElement*>(&other);
    if (address == nullptr)
        return;
    SetSettingId(address->m_settingId);
    SetKind(address->m_kind);
    m_colour = address->m_colour;
    SetDeleteFlag(address->m_deleteFlag);
}

void CFormAddressElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_settingId) << static_cast<LONG>(m_kind) << static_cast<WORD>(m_deleteFlag ? 1 : 0);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    LONG id = AddressFieldCode::Destination;
    LONG kind = AddressKind::Dest;
    WORD deleting = 0;
    ar >> id;
    if (schema > 11)
        ar >> kind;
    if (schema > 15)
        ar >> deleting;

    // A damaged file may hold any number: an id no device knows would bind
    // to nothing, so such an Address stands for the destination.
    m_settingId = IsAcceptedSettingId(id) ? static_cast<int>(id) : static_cast<int>(AddressFieldCode::Destination);
    m_kind = kind == AddressKind::Source ? AddressKind::Source : AddressKind::Dest;
    RefreshColour(FALSE);
    const BOOL flag = deleting != 0 && !TakesNoDeleteFlag(m_settingId) ? TRUE : FALSE;
    if (flag != m_deleteFlag) {
        m_deleteFlag = flag;
        SetDocumentModified();
    }
}

void CFormAddressElement::ExportJVX(CJVXArchive& ar)
{
    // Under an Output element the device writes the position.
    if (!ar.IsStoring() || OutputParent() != nullptr)
        return;
    AfxMessageBox(FormatResMessage(IDS_ADDRESS_NOT_IN_OUTPUT, m_description), MB_ICONEXCLAMATION);
}

void CFormAddressElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    RefreshColour(TRUE);
    NormalizeRects();
}

Rect CFormAddressElement::GetSourceRect() const
{
    return m_kind == AddressKind::Dest ? Rect() : m_sourceRect;
}

Rect CFormAddressElement::GetDestRect() const
{
    return m_kind == AddressKind::Source ? Rect() : CFormElement::GetDestRect();
}

void CFormAddressElement::DrawSource(QPainter& painter)
{
    if (m_kind == AddressKind::Source)
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormAddressElement::DrawDest(QPainter& painter)
{
    if (m_kind == AddressKind::Dest)
        DrawElementBox(painter, GetDestRect(), this, m_colour);
}

void CFormAddressElement::StepSourceRect(const ElementStep& step, const CPage& page, const Rect&)
{
    PutSourceOnGrid(step, page);
    NormalizeRects();
}

void CFormAddressElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    // A source Address has no destination box to move; the base would
    // overwrite the stored one with its empty answer.
    if (m_kind == AddressKind::Source)
        return;
    const Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    if (GetDestRect() != before)
        NormalizeRects();
}

void CFormAddressElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    if (m_kind == AddressKind::Source)
        return;
    const Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    if (GetDestRect() != before)
        NormalizeRects();
}

BOOL CFormAddressElement::SetParent(CFormElement* parent)
{
    const BOOL changed = CFormElement::SetParent(parent);
    SetSettingId(m_settingId);
    return changed;
}
