#include "designer/elements/ElementPages.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/elements/FormRemarkElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"

CElementPageRecord::~CElementPageRecord() = default;

BOOL CElementPageRecord::UpdateFrom(const CFormElement&)
{
    return FALSE;
}

BOOL CElementPageRecord::ApplyTo(CFormElement&, DWORD) const
{
    return FALSE;
}

IElementPageSink::~IElementPageSink() = default;

namespace {

// A kind's own record: its page data read and written through the kind's
// update and apply operations, whatever each kind calls them.
template <class Kind, class Data, auto Update, auto Apply>
class KindPageRecord : public TElementPageRecord<Data>
{
public:
    explicit KindPageRecord(CFormElement* element) : TElementPageRecord<Data>(element) {}

    BOOL UpdateFrom(const CFormElement& element) override
    {
        const auto* kind = dynamic_cast<const Kind*>(&element);
        return kind != nullptr ? (kind->*Update)(this->data) : FALSE;
    }

    BOOL ApplyTo(CFormElement& element, DWORD groups) const override
    {
        auto* kind = dynamic_cast<Kind*>(&element);
        return kind != nullptr ? (kind->*Apply)(this->data, groups) : FALSE;
    }
};

template <class Kind, class Data, auto Update, auto Apply>
std::unique_ptr<CElementPageRecord> MakeKindRecord(CFormElement& element)
{
    auto record = std::make_unique<KindPageRecord<Kind, Data, Update, Apply>>(&element);
    // What the kind sets once when it adds its page (the limits, a sample).
    if constexpr (requires(const Kind& kind, Data& data) { kind.PreparePage(data); }) {
        if (const auto* kind = dynamic_cast<const Kind*>(&element))
            kind->PreparePage(record->data);
    }
    return record;
}

// The kinds whose page data exist; the others (and the Eraser) add the
// General page only.
std::unique_ptr<CElementPageRecord> MakeKindPageRecord(CFormElement& element)
{
    switch (element.GetType()) {
    case FormElementType::Address:
        return MakeKindRecord<CFormAddressElement, AddressPageData, &CFormAddressElement::UpdatePageData,
                              &CFormAddressElement::ApplyPageData>(element);
    case FormElementType::Barcode:
        return MakeKindRecord<CFormBarcodeElement, BarcodePageData, &CFormBarcodeElement::UpdatePage,
                              &CFormBarcodeElement::ApplyPage>(element);
    case FormElementType::ExitParam:
        return MakeKindRecord<CFormExitParamElement, ExitParamPageData, &CFormExitParamElement::UpdatePageData,
                              &CFormExitParamElement::ApplyPageData>(element);
    case FormElementType::ExitProgram:
        return MakeKindRecord<CFormExitProgramElement, ExitProgramPageData, &CFormExitProgramElement::UpdatePageData,
                              &CFormExitProgramElement::ApplyPageData>(element);
    case FormElementType::Image:
        return MakeKindRecord<CFormImageElement, ImagePageData, &CFormImageElement::UpdatePage,
                              &CFormImageElement::ApplyPage>(element);
    case FormElementType::Resource:
        return MakeKindRecord<CFormResourceElement, ResourcePageData, &CFormResourceElement::UpdatePage,
                              &CFormResourceElement::ApplyPage>(element);
    case FormElementType::Conditional:
        return MakeKindRecord<CFormConditionalElement, ConditionalPageData, &CFormConditionalElement::UpdatePage,
                              &CFormConditionalElement::ApplyPage>(element);
    case FormElementType::Loop:
        return MakeKindRecord<CFormLoopElement, LoopPageData, &CFormLoopElement::UpdatePage,
                              &CFormLoopElement::ApplyPage>(element);
    case FormElementType::Remark:
        return MakeKindRecord<CFormRemarkElement, RemarkPageData, &CFormRemarkElement::UpdatePage,
                              &CFormRemarkElement::ApplyPage>(element);
    case FormElementType::Source:
        return MakeKindRecord<CFormSourceElement, SourcePageData, &CFormSourceElement::UpdatePage,
                              &CFormSourceElement::ApplyPage>(element);
    case FormElementType::Text:
        return MakeKindRecord<CFormTextElement, TextPageData, &CFormTextElement::UpdatePage,
                              &CFormTextElement::ApplyPage>(element);
    case FormElementType::Variable:
        return MakeKindRecord<CFormVariableElement, VariablePageValues, &CFormVariableElement::UpdatePage,
                              &CFormVariableElement::ApplyPage>(element);
    case FormElementType::XmlAttribute:
        return MakeKindRecord<CFormXmlAttributeElement, XmlPageData, &CFormXmlAttributeElement::UpdatePageData,
                              &CFormXmlAttributeElement::ApplyPageData>(element);
    case FormElementType::XmlComment:
        return MakeKindRecord<CFormXmlCommentElement, XmlPageData, &CFormXmlCommentElement::UpdatePageData,
                              &CFormXmlCommentElement::ApplyPageData>(element);
    case FormElementType::XmlElement:
        return MakeKindRecord<CFormXmlElement, XmlPageData, &CFormXmlElement::UpdatePageData,
                              &CFormXmlElement::ApplyPageData>(element);
    case FormElementType::XmlInstruction:
        return MakeKindRecord<CFormXmlInstructionElement, XmlInstructionPageData,
                              &CFormXmlInstructionElement::UpdatePageData, &CFormXmlInstructionElement::ApplyPageData>(
            element);
    default:
        return nullptr;
    }
}

template <class Field>
void CopyField(Field& target, const Field& value, BOOL& copied)
{
    if (target == value)
        return;
    target = value;
    copied = TRUE;
}

} // namespace

void CFormElement::AddPropertyPages(IElementPageSink* sheet)
{
    AddPropertyPages(sheet, GetGeneralMask());
}

void CFormElement::AddPropertyPages(IElementPageSink* sheet, WORD generalMask)
{
    if (sheet == nullptr)
        return;
    auto general = std::make_unique<CGeneralPageRecord>(this);
    GeneralPageData& data = general->data;
    data.mask = generalMask;
    if (const CPage* page = OutputPage(); page != nullptr && page->GetCellWidth() > 0 && page->GetCellHeight() > 0) {
        data.largestColumn = page->GetPixelWidth() / page->GetCellWidth();
        data.largestLine = page->GetPixelHeight() / page->GetCellHeight();
        QPoint cell(page->GetCellWidth(), page->GetCellHeight());
        page->PixelsToTwips(cell);
        data.largestColumnOffset = cell.x() - 1;
        data.largestLineOffset = cell.y() - 1;
    }
    UpdatePage(*general);
    sheet->AddPage(std::move(general));
    if (GetType() == FormElementType::Eraser)
        return;
    if (std::unique_ptr<CElementPageRecord> own = MakeKindPageRecord(*this)) {
        UpdatePage(*own);
        sheet->AddPage(std::move(own));
    }
}

WORD CFormElement::GetGeneralMask() const
{
    constexpr WORD all =
        GeneralPageData::NoWidth | GeneralPageData::NoHeight | GeneralPageData::NoColumn | GeneralPageData::NoLine;
    switch (GetType()) {
    case FormElementType::Address: {
        const auto* address = dynamic_cast<const CFormAddressElement*>(this);
        return address != nullptr && address->GetKind() == AddressKind::Source ? all : WORD(GeneralPageData::NoHeight);
    }
    case FormElementType::Barcode:
        return GeneralPageData::NoWidth;
    case FormElementType::ExitParam: {
        const auto* parameter = dynamic_cast<const CFormExitParamElement*>(this);
        return parameter != nullptr && parameter->GetIgnoreReturn() ? all : WORD(GeneralPageData::NoHeight);
    }
    case FormElementType::Loop:
        return GeneralPageData::NoWidth | GeneralPageData::NoHeight | GeneralPageData::NoColumn;
    case FormElementType::Source:
        return GeneralPageData::NoWidth | GeneralPageData::NoHeight;
    case FormElementType::Text:
        return GeneralPageData::NoHeight;
    case FormElementType::Eraser:
    case FormElementType::Image:
        return 0;
    default:
        return all;
    }
}

BOOL CFormElement::UpdatePage(CElementPageRecord& page) const
{
    auto* general = dynamic_cast<CGeneralPageRecord*>(&page);
    if (general == nullptr)
        return page.UpdateFrom(*this);

    GeneralPageData& data = general->data;
    BOOL copied = FALSE;
    CopyField(data.kindText, FormElementType::DisplayName(GetType()), copied);
    CopyField(data.description, m_description, copied);
    if (const CPage* page = OutputPage(); page != nullptr && page->GetCellWidth() > 0 && page->GetCellHeight() > 0) {
        const int cw = page->GetCellWidth();
        const int ch = page->GetCellHeight();
        CopyField(data.column, m_destRect.left / cw + 1, copied);
        CopyField(data.line, m_destRect.top / ch + m_heightAdjust + 1, copied);
        CopyField(data.height, m_destRect.Height() / ch - m_heightAdjust, copied);
        CopyField(data.width, m_destRect.Width() / cw - m_widthAdjust, copied);
    }
    const QPoint offset = GetOffset();
    CopyField(data.columnOffset, offset.x(), copied);
    CopyField(data.lineOffset, offset.y(), copied);
    CopyField(data.forceAbsolute, m_destAbsolute != 0 ? 1 : 0, copied);
    CopyField(data.inLoop, IsInLoop() ? 1 : 0, copied);
    // The Exit Parameter's fields come and go with its return value.
    if (GetType() == FormElementType::ExitParam)
        CopyField(data.mask, GetGeneralMask(), copied);
    return copied;
}

BOOL CFormElement::ApplyPage(const CElementPageRecord& page, DWORD groups)
{
    const auto* general = dynamic_cast<const CGeneralPageRecord*>(&page);
    if (general == nullptr)
        return page.ApplyTo(*this, groups);

    const GeneralPageData& data = general->data;
    BOOL changed = FALSE;
    const CPage* output = OutputPage();
    const int cw = output != nullptr ? output->GetCellWidth() : 0;
    const int ch = output != nullptr ? output->GetCellHeight() : 0;
    if ((groups & GeneralPageData::Position) != 0 && cw > 0 && ch > 0) {
        const int x = (data.column - 1) * cw;
        const int y = (data.line - 1 - m_heightAdjust) * ch;
        const kwvd::Rect before = GetDestRect();
        if (x != m_destRect.left)
            MoveDest(x, 0, ElementMoveFlags::Left, TRUE);
        if (y != m_destRect.top)
            MoveDest(0, y, ElementMoveFlags::Top, TRUE);
        changed |= GetDestRect() != before ? TRUE : FALSE;
    }
    if ((groups & GeneralPageData::Size) != 0 && cw > 0 && ch > 0) {
        const kwvd::Rect before = GetDestRect();
        const int cx = (data.width + m_widthAdjust) * cw;
        const int cy = (data.height + m_heightAdjust) * ch;
        if (cx != m_destRect.Width())
            ResizeDest(cx, 0, ElementMoveFlags::Right, TRUE);
        if (cy != m_destRect.Height())
            ResizeDest(0, cy, ElementMoveFlags::Bottom, TRUE);
        changed |= GetDestRect() != before ? TRUE : FALSE;
    }
    if ((groups & GeneralPageData::Description) != 0 && data.description != m_description) {
        changed |= SetDescription(data.description, this);
        m_autoDescription = 0;
    }
    if ((groups & GeneralPageData::ForceAbsolute) != 0 && (data.forceAbsolute != 0) != (m_destAbsolute != 0)) {
        m_destAbsolute = data.forceAbsolute != 0 ? 1 : 0;
        SetDocumentModified();
        changed = TRUE;
    }
    if ((groups & GeneralPageData::Offset) != 0)
        changed |= SetOffset(QPoint(data.columnOffset, data.lineOffset));
    return changed;
}
