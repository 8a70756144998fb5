#include "designer/elements/FormBarcodeElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/ElementPagesText.h"
#include "designer/elements/ImageElementStrings.h"
#include "designer/elements/SourceCells.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <QPainter>

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormBarcodeElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;
constexpr int kDescriptionLength = 50;
constexpr int kLastColourIndex = 77;

int CeilDiv(int value, int divisor)
{
    return value / divisor + (value % divisor > 0 ? 1 : 0);
}

// The columns a rectangle touches on a page's grid.
int TouchedColumns(const kwvd::Rect& rect, const CPage& page)
{
    const int cw = page.GetCellWidth();
    if (cw <= 0)
        return 0;
    return CeilDiv(rect.right, cw) - rect.left / cw;
}

int PixelsToTwipsY(const CPage& page, int pixels)
{
    QPoint p(0, pixels);
    page.PixelsToTwips(p);
    return p.y();
}

} // namespace

const QImage& CFormBarcodeElement::SharedPicture()
{
    // Bars of varying widths on white, in a 16-colour palette.
    static const QImage picture = [] {
        QImage image(64, 32, QImage::Format_Indexed8);
        image.setColorCount(16);
        for (int i = 0; i < 16; ++i)
            image.setColor(i, qRgb(i * 17, i * 17, i * 17));
        image.fill(15);
        static constexpr int kBars[] = {1, 1, 2, 1, 1, 3, 2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 3, 1, 1, 2, 1};
        int x = 2;
        bool black = true;
        for (int width : kBars) {
            for (int i = 0; i < width && x < 62; ++i, ++x)
                if (black)
                    for (int y = 2; y < 30; ++y)
                        image.setPixel(x, y, 0);
            black = !black;
        }
        return image;
    }();
    return picture;
}

CFormBarcodeElement::CFormBarcodeElement()
{
    SharedPicture();
}

CFormBarcodeElement::CFormBarcodeElement(CDesignerDoc* doc, const kwvd::Rect& rect) : BarcodeBase(doc)
{
    SharedPicture();
    UpdateColour();
    SetBarcodeIndex(0);
    kwvd::Rect r = rect;
    r.Normalize();
    m_sourceRect = r;
    m_destRect = r;
    UpdateRects(TRUE, TRUE);
}

CFormBarcodeElement::CFormBarcodeElement(CAPRTPDMRec& record) : BarcodeBase(record)
{
    SharedPicture();
    UpdateColour();
    int index = 0;
    const QString& letter = record.m_barcodeLetter.GetValue();
    if (!letter.isEmpty()) {
        const int value = letter.at(0).unicode() - u'A';
        if (value >= 0 && value < CBarcodeManager::kMaxBarcodes)
            index = value;
    }
    SetBarcodeIndex(index);
    const QString data = record.m_data.GetValue();
    if (!data.isEmpty()) {
        m_useData = 1;
        m_data = data;
    }
    SetFontIndex(RecordFontIndex(record, OutputFontManager()));
    UpdateRects(TRUE, TRUE);
}

CFormElement* CFormBarcodeElement::FromRecord(CAPRTPDMRec& record, CJVXArchive&)
{
    return new CFormBarcodeElement(record);
}

CFormBarcodeElement::~CFormBarcodeElement()
{
    LeaveFont();
    if (m_barcodeIndex != -1) {
        if (m_pDoc != nullptr && m_pDoc->GetBarcodeManager() != nullptr)
            m_pDoc->GetBarcodeManager()->RemoveUser(this, m_barcodeIndex);
        m_barcodeIndex = -1;
    }
    Announce(DocumentHint::ElementChanged);
}

int CFormBarcodeElement::GetType() const
{
    return FormElementType::Barcode;
}

CBarcode* CFormBarcodeElement::Definition() const
{
    if (m_barcodeIndex < 0 || m_pDoc == nullptr || m_pDoc->GetBarcodeManager() == nullptr)
        return nullptr;
    return m_pDoc->GetBarcodeManager()->GetBarcode(m_barcodeIndex);
}

int CFormBarcodeElement::DefinitionWidth() const
{
    CBarcode* barcode = Definition();
    return barcode != nullptr ? barcode->GetWidthColumns() : 1;
}

int CFormBarcodeElement::DefinitionHeight() const
{
    CBarcode* barcode = Definition();
    return barcode != nullptr ? barcode->GetHeight() : 0;
}

BOOL CFormBarcodeElement::UpdateColour()
{
    const int typeIndex = GetType() - FormElementType::Address;
    const COLORREF colour =
        typeIndex >= 0 && typeIndex <= kLastColourIndex ? Preferences().GetElementColour(typeIndex) : 0xFFFFFF;
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

// ---------------------------------------------------------------- setters

BOOL CFormBarcodeElement::SetBarcodeIndex(int index)
{
    if (index == m_barcodeIndex)
        return FALSE;
    CBarcodeManager* manager = m_pDoc != nullptr ? m_pDoc->GetBarcodeManager() : nullptr;
    if (manager == nullptr) {
        m_barcodeIndex = index;
        return TRUE;
    }
    const int added = manager->AddUser(this, index);
    // A full list gives no new definition: keep the one there is.
    if (added == -1 && index != -1)
        return FALSE;
    const int old = m_barcodeIndex;
    m_barcodeIndex = added;
    if (old != added)
        manager->RemoveUser(this, old);
    if (m_barcodeIndex == -1)
        return TRUE;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

void CFormBarcodeElement::UseDataChanged()
{
    // The automatic description follows what the barcode prints.
    UpdateAutoDescription();
}

BOOL CFormBarcodeElement::SetFontIndex(int index)
{
    const int before = m_fontIndex;
    MoveToFont(index);
    if (CBarcode* barcode = Definition(); barcode != nullptr && barcode->GetTextFontIndex() != m_fontIndex)
        barcode->SetTextFontIndex(m_fontIndex);
    if (m_fontIndex == before)
        return FALSE;
    SetDocumentModified();
    return TRUE;
}

BOOL CFormBarcodeElement::SetDocument(CDesignerDoc* doc)
{
    if (doc == m_pDoc)
        return FALSE;
    m_pDoc = doc;
    UpdateAutoDescription();
    return TRUE;
}

// ---------------------------------------------------------------- geometry

QSize CFormBarcodeElement::GetDestSizeTwips() const
{
    const CPage* page = OutputPage();
    if (page == nullptr)
        return {};
    QPoint size(m_destRect.Width(), m_destRect.Height());
    page->PixelsToTwips(size);
    return QSize(size.x(), size.y());
}

int CFormBarcodeElement::GetSourceWidthInColumns() const
{
    const CPage* page = SourcePage();
    return page != nullptr ? TouchedColumns(m_sourceRect, *page) : 0;
}

void CFormBarcodeElement::UpdateRects(BOOL source, BOOL dest)
{
    if (source) {
        if (const CPage* page = SourcePage()) {
            QPoint corner(m_sourceRect.left, m_sourceRect.top);
            page->SnapPointToGrid(corner);
            const int width = DefinitionWidth() * page->GetCellWidth();
            kwvd::Rect r(corner.x(), corner.y(), corner.x() + width, corner.y() + page->GetCellHeight());
            page->ClampToPage(r, TRUE);
            if (r != m_sourceRect) {
                Announce(DocumentHint::SourceRectChanged);
                m_sourceRect = r;
            }
            Announce(DocumentHint::SourceRectChanged);
        }
        UpdateAutoDescription();
    }
    if (dest) {
        if (const CPage* page = OutputPage()) {
            QPoint corner(m_destRect.left, m_destRect.top);
            page->SnapPointToGrid(corner);
            QPoint height(0, DefinitionHeight());
            page->TwipsToPixels(height);
            const int width = DefinitionWidth() * page->GetCellWidth();
            kwvd::Rect r(corner.x(), corner.y(), corner.x() + width, corner.y() + std::max(height.y(), 0));
            page->ClampToPage(r, TRUE);
            if (r != m_destRect) {
                Announce(DocumentHint::DestRectChanged);
                m_destRect = r;
            }
            Announce(DocumentHint::DestRectChanged);
        }
    }
}

void CFormBarcodeElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return;
    QString text;
    if (m_useData != 0) {
        text = m_data.left(kDescriptionLength);
    } else if (m_pDoc != nullptr && m_pDoc->GetSpooledFile() != nullptr && SourcePage() != nullptr
               && !m_sourceRect.IsEmpty()) {
        kwvd::Rect cells = m_sourceRect;
        SourcePage()->RectToCells(cells);
        const QStringList lines = m_pDoc->GetSpooledFile()->GetTextInRect(cells);
        if (!lines.isEmpty())
            text = lines.first().trimmed().left(kDescriptionLength);
    }
    SetDescription(text, this);
}

kwvd::Rect CFormBarcodeElement::GetSourceRect() const
{
    return m_useData != 0 ? kwvd::Rect() : m_sourceRect;
}

CSourceLink* CFormBarcodeElement::DestLink()
{
    return &m_link;
}

void CFormBarcodeElement::BeginSourceStep(const ElementStep& step)
{
    // Only a move carries the destination along: a resize sizes the
    // definition, which sizes both boxes.
    if (step.IsMove())
        FollowWithDest(step);
    Announce(DocumentHint::SourceRectChanged);
}

void CFormBarcodeElement::StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect&)
{
    PutSourceOnGrid(step, page);
    if (step.IsMove()) {
        UpdateRects(TRUE, FALSE);
        return;
    }
    const int columns = TouchedColumns(m_sourceRect, page);
    if (CBarcode* barcode = Definition(); barcode != nullptr && barcode->GetWidthColumns() != columns)
        barcode->SetWidthColumns(columns);
    UpdateRects(TRUE, TRUE);
}

void CFormBarcodeElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    if (GetDestRect() == before)
        return;
    UpdateRects(FALSE, TRUE);
    m_link.SetFollowing(FALSE);
}

void CFormBarcodeElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    if (GetDestRect() == before)
        return;
    if (const CPage* page = OutputPage()) {
        const int height = PixelsToTwipsY(*page, m_destRect.Height());
        if (CBarcode* barcode = Definition(); barcode != nullptr && barcode->GetHeight() != height)
            barcode->SetHeight(height);
    }
    UpdateRects(FALSE, TRUE);
    m_link.SetFollowing(FALSE);
}

BOOL CFormBarcodeElement::IgnoresOffset() const
{
    return FALSE;
}

BOOL CFormBarcodeElement::SnapsDestToGrid() const
{
    return FALSE;
}

void CFormBarcodeElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (UpdateColour())
        Announce(DocumentHint::ElementChanged);
    m_fontIndex = ReleaseUnusableFont(OutputFontManager(), m_fontIndex, this);

    if (CBarcode* barcode = Definition()) {
        if (barcode->GetWidthColumns() == GetSourceWidthInColumns()) {
            if (GetDestSizeTwips().height() != barcode->GetHeight())
                UpdateRects(FALSE, TRUE);
        } else {
            UpdateRects(TRUE, TRUE);
        }
    }
    if (m_pDoc != nullptr && m_pDoc->GetBarcodeManager() != nullptr) {
        const int fontIndex = m_pDoc->GetBarcodeManager()->GetBarcodeFontIndex(m_barcodeIndex);
        if (fontIndex != m_fontIndex) {
            if (CFontManager* manager = OutputFontManager())
                m_fontIndex = manager->MoveFontUser(m_fontIndex, this, fontIndex);
            else
                m_fontIndex = fontIndex;
            SetDocumentModified();
        }
    }
    UpdateAutoDescription();
}

// ---------------------------------------------------------------- drawing

void CFormBarcodeElement::DrawSource(QPainter& painter)
{
    if (m_useData == 0)
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormBarcodeElement::DrawDest(QPainter& painter)
{
    const kwvd::Rect r = GetDestRect();
    const QImage& picture = SharedPicture();
    const bool loaded = !picture.isNull();
    if (!IsPrinting(painter))
        DrawElementBox(painter, r, this, loaded ? 0xFFFFFF : m_colour);
    if (loaded && !r.IsEmpty())
        painter.drawImage(r.ToQRect(), picture);
}

// ---------------------------------------------------------------- copy

void CFormBarcodeElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* barcode = dynamic_cast<const CFormBarcodeElement*>(&other);
    if (barcode == nullptr)
        return;
    SetFontIndex(barcode->m_fontIndex);
    SetData(barcode->m_data);
    SetUseData(barcode->m_useData);
    m_colour = barcode->m_colour;
    m_link = barcode->m_link;
}

// ---------------------------------------------------------------- persistence

void CFormBarcodeElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CFormElement::Serialize(ar);
        ar << static_cast<LONG>(m_barcodeIndex) << static_cast<WORD>(m_link.IsFollowing() ? 1 : 0)
           << static_cast<LONG>(m_fontIndex);
        ar << m_data << static_cast<WORD>(m_useData);
        const CPage* page = OutputPage();
        ar << static_cast<LONG>(page != nullptr ? PixelsToTwipsY(*page, m_destRect.Height()) : 0);
        return;
    }

    CFormElement::Serialize(ar);
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    LONG barcodeIndex = -1;
    WORD link = 1;
    LONG fontIndex = 0;
    QString data;
    WORD useData = 0;
    ar >> barcodeIndex >> link >> fontIndex >> data >> useData;
    SetBarcodeIndex(barcodeIndex);
    SetUseData(useData);
    SetData(data);
    m_link.SetFollowing(link != 0 ? TRUE : FALSE);
    UpdateColour();
    SetFontIndex(fontIndex);
    if (schema > 16) {
        LONG height = 0;
        ar >> height;
        if (CBarcode* barcode = Definition(); barcode != nullptr && barcode->GetHeight() != height)
            barcode->SetHeight(height);
        UpdateRects(FALSE, TRUE);
    }
}

BOOL CFormBarcodeElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    if (m_useData != 0) {
        record.m_opcode.SetValue(QStringLiteral("MOVE"));
        record.m_data.SetValue(m_data.left(kMaxData));
        record.m_sourceLine.SetValue(0);
        record.m_sourceFirstColumn.SetValue(0);
        record.m_sourceLastColumn.SetValue(0);
        record.m_lineCount.SetValue(0);
    } else {
        record.m_opcode.SetValue(QStringLiteral("COPY"));
    }
    if (m_barcodeIndex >= 0 && m_barcodeIndex < CBarcodeManager::kMaxBarcodes)
        record.m_barcodeLetter.SetValue(QString(QChar(u'A' + m_barcodeIndex)));
    WriteRecordFontIndex(record, m_fontIndex);
    if (m_fontIndex != 0)
        record.ClearOptionFields();
    return TRUE;
}

void CFormBarcodeElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    if (ar.GetDocument() != nullptr)
        SetDocument(ar.GetDocument());
    // Without a definition the host could not print it: say so rather than
    // write a record it would read as plain text.
    if (Definition() == nullptr) {
        AfxMessageBox(FormatResMessage(IDS_BARCODE_ELEMENT_NO_DEFINITION, m_description), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ExportRecordJVX(ar);
}

// ---------------------------------------------------------------- property page

void CFormBarcodeElement::PreparePage(BarcodePageData& page) const
{
    const PageCellLimits limits = PageCellLimits::Of(SourcePage());
    page.largestColumn = limits.largestColumn;
    page.largestLine = limits.largestLine;
    page.fontManager = OutputFontManager();
    page.barcodeManager = m_pDoc != nullptr ? m_pDoc->GetBarcodeManager() : nullptr;
}

BOOL CFormBarcodeElement::UpdatePage(BarcodePageData& page) const
{
    BarcodePageData values = page;
    if (const CPage* source = SourcePage();
        source != nullptr && source->GetCellWidth() > 0 && source->GetCellHeight() > 0) {
        values.column = m_sourceRect.left / source->GetCellWidth() + 1;
        values.line = m_sourceRect.top / source->GetCellHeight() + 1;
        values.width = m_sourceRect.Width() / source->GetCellWidth();
    }
    values.data = m_data;
    values.useData = m_useData != 0 ? TRUE : FALSE;
    values.fontIndex = m_fontIndex;
    values.forceAbsolute = IsSourceAbsolute();
    values.barcodeIndex = m_barcodeIndex;
    values.inLoop = IsInLoop();
    const BOOL changed = values.column != page.column || values.line != page.line || values.width != page.width
                         || values.data != page.data || values.useData != page.useData
                         || values.fontIndex != page.fontIndex || values.forceAbsolute != page.forceAbsolute
                         || values.barcodeIndex != page.barcodeIndex || values.inLoop != page.inLoop;
    page = values;
    return changed;
}

BOOL CFormBarcodeElement::ApplyPage(const BarcodePageData& page, int what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    if (what & BarcodePageData::Position) {
        if (SetUseData(FALSE))
            changed = TRUE;
        if (source != nullptr && MoveSourceToCell(*this, *source, page.column, page.line))
            changed = TRUE;
    }
    if ((what & BarcodePageData::Size) && source != nullptr && SetSourceWidthInCells(*this, *source, page.width))
        changed = TRUE;
    if (what & BarcodePageData::Data) {
        if (SetUseData(TRUE))
            changed = TRUE;
        if (SetData(page.data)) {
            changed = TRUE;
            // Constant data is as wide as its characters in the output font.
            if (const CPage* output = OutputPage())
                ResizeSource(static_cast<int>(m_data.size()) * output->GetCellWidth(), output->GetCellHeight(),
                             ElementMoveFlags::Right, TRUE);
        }
    }
    if ((what & BarcodePageData::Font) && SetFontIndex(page.fontIndex))
        changed = TRUE;
    if (what & BarcodePageData::ForceAbsolute) {
        if ((page.forceAbsolute ? TRUE : FALSE) != IsSourceAbsolute()) {
            SetSourceAbsolute(page.forceAbsolute);
            SetDocumentModified();
            changed = TRUE;
        }
    }
    if (what & BarcodePageData::BarcodeIndex) {
        if (SetBarcodeIndex(page.barcodeIndex)) {
            UpdateRects(TRUE, TRUE);
            changed = TRUE;
        }
    }
    return changed;
}
