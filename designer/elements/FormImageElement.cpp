#include "designer/elements/FormImageElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/AttachmentSinks.h"
#include "designer/elements/ElementPagesText.h"
#include "designer/elements/ImageElementStrings.h"
#include "designer/elements/SourceCells.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QDir>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <utility>

KWVD_IMPLEMENT_SERIAL(CFormImageElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;
constexpr int kLastColourIndex = 77;

BOOL IsFileName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'?');
}

BOOL IsQuiet(const CDesignerDoc* doc)
{
    return doc != nullptr && doc->IsQuietRead();
}

int FloorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

int CeilDiv(int value, int divisor)
{
    return -FloorDiv(-value, divisor);
}

// The image file an export wrote beside the JVX file for a host name.
QString FindExportedImage(const QString& jvxPath, const QString& hostName)
{
    if (jvxPath.isEmpty() || hostName.isEmpty() || hostName.contains(u'/') || hostName.contains(u'\\')
        || hostName.contains(u'.'))
        return {};
    const QString folder = GetPathFolder(MakeAbsolutePath(jvxPath, {}));
    if (folder.isEmpty() || !IsDirectory(folder))
        return {};
    const QDir dir(folder);
    for (const char* extension : {"MMR", "TIF", "QDX"}) {
        const QString wanted = hostName + u'.' + QLatin1String(extension);
        const QStringList found = dir.entryList({wanted}, QDir::Files, QDir::Name);
        for (const QString& name : found)
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                return dir.filePath(name);
    }
    return {};
}

void DrawTrackerFrame(QPainter& painter, const kwvd::Rect& rect)
{
    const QRect device = painter.transform().mapRect(rect.ToQRect());
    painter.save();
    painter.resetTransform();
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(device.adjusted(-1, -1, 0, 0));
    painter.restore();
}

} // namespace

CFormImageElement::CFormImageElement() = default;

CFormImageElement::CFormImageElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side) : CFormElement(doc)
{
    UpdateColour();
    kwvd::Rect r = rect;
    r.Normalize();
    if (side == PaneSide::Input) {
        m_fixed = 0;
        m_sourceRect = r;
        if (const CPage* page = SourcePage()) {
            page->SnapToGrid(m_sourceRect);
            page->ClampToPage(m_sourceRect, TRUE);
        }
        m_destRect = kwvd::Rect(m_sourceRect.left, m_sourceRect.top, m_sourceRect.right,
                                m_sourceRect.top + m_sourceRect.Width());
        if (const CPage* page = OutputPage()) {
            page->SnapToGrid(m_destRect);
            page->ClampToPage(m_destRect, TRUE);
        }
    } else {
        m_fixed = 1;
        m_destRect = r;
        if (!m_destRect.IsEmpty()) {
            if (const CPage* page = OutputPage()) {
                page->SnapToGrid(m_destRect);
                page->ClampToPage(m_destRect, TRUE);
            }
        }
        QString path;
        if (ImageRegistry* registry = Registry(); registry == nullptr || registry->BrowseAndAdd(nullptr, path) < 0)
            path.clear();
        SetImageName(path);
    }
    m_selected = TRUE;
    NormaliseSourceRect();
}

CFormImageElement::CFormImageElement(CAPRTPDMRec& record) : CFormImageElement(record, record.m_data.GetValue()) {}

CFormImageElement::CFormImageElement(CAPRTPDMRec& record, const QString& recordName) : CFormElement(record)
{
    UpdateColour();
    QString name = recordName;
    m_fixed = name.isEmpty() ? 0 : 1;
    if (IsFileName(name)) {
        QString resolved = name;
        if (Image::ResolveFile(resolved, m_pDoc)) {
            name = resolved;
        } else if (!IsQuiet(m_pDoc)) {
            const int answer =
                AfxMessageBox(FormatResMessage(IDS_IMAGE_ELEMENT_NOT_FOUND, name), MB_YESNO | MB_ICONQUESTION);
            if (answer == IDYES) {
                if (ImageRegistry* registry = Registry())
                    registry->BrowseAndAdd(nullptr, name);
            }
        }
    }
    SetImageName(name);
    NormaliseSourceRect();
}

CFormElement* CFormImageElement::FromRecord(CAPRTPDMRec& record, CJVXArchive& ar)
{
    const QString exported = FindExportedImage(ar.GetFilePath(), record.m_data.GetValue());
    if (!exported.isEmpty())
        return new CFormImageElement(record, exported);
    return new CFormImageElement(record);
}

CFormImageElement::~CFormImageElement()
{
    if (m_imageIndex != -1) {
        if (ImageRegistry* registry = Registry())
            registry->RemoveUser(this, m_imageIndex);
        m_imageIndex = -1;
    }
    Announce(DocumentHint::ElementChanged);
}

int CFormImageElement::GetType() const
{
    return FormElementType::Image;
}

ImageRegistry* CFormImageElement::Registry() const
{
    return m_pDoc != nullptr ? m_pDoc->GetImageRegistry() : nullptr;
}

Image* CFormImageElement::GetImage() const
{
    ImageRegistry* registry = Registry();
    return registry != nullptr && m_imageIndex >= 0 ? registry->GetImage(m_imageIndex) : nullptr;
}

BOOL CFormImageElement::NamesFile() const
{
    return IsFileName(m_imageName);
}

BOOL CFormImageElement::UpdateColour()
{
    const int typeIndex = GetType() - FormElementType::Address;
    const COLORREF colour =
        typeIndex >= 0 && typeIndex <= kLastColourIndex ? Preferences().GetElementColour(typeIndex) : 0xFFFFFF;
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

// ---------------------------------------------------------------- the image

BOOL CFormImageElement::SetImageName(const QString& name)
{
    ImageRegistry* registry = Registry();
    AttachNamedImage(name, IsFileName(name) && registry != nullptr ? registry->FindOrLoad(name) : -1);
    return TRUE;
}

void CFormImageElement::AttachNamedImage(const QString& name, int index)
{
    m_imageName = name;
    if (!IsFileName(name)) {
        SetImageIndex(-1);
    } else {
        ImageRegistry* registry = Registry();
        if (!m_destRect.IsEmpty() && index >= 0) {
            if (const Image* image = registry->GetImage(index); image != nullptr && !image->HasUsers())
                PushSizeToImage(index);
        }
        SetImageIndex(index);
        if (IsAutoDescription() || m_description.isEmpty()) {
            QString folder;
            QString fileName;
            SplitPathFolderFile(name, folder, fileName);
            SetDescription(m_imageIndex != -1 ? fileName : name, this);
        }
    }
    Announce(DocumentHint::DestRectChanged);
}

BOOL CFormImageElement::SetFixed(BOOL fixed)
{
    const int flag = fixed ? 1 : 0;
    if (flag == m_fixed)
        return FALSE;
    if (flag == 0) {
        SetImageName(QString());
        m_fixed = 0;
        Announce(DocumentHint::SourceRectChanged);
        Announce(DocumentHint::DestRectChanged);
    } else {
        Announce(DocumentHint::SourceRectChanged);
        m_fixed = 1;
        // The property sheet re-reads the element.
        Announce(DocumentHint::SelectionChanged);
    }
    SetDocumentModified();
    return TRUE;
}

void CFormImageElement::SetImageIndex(int index)
{
    if (index == m_imageIndex)
        return;
    if (ImageRegistry* registry = Registry()) {
        registry->RemoveUser(this, m_imageIndex);
        m_imageIndex = registry->AddUser(this, index);
    } else {
        m_imageIndex = -1;
    }
    FitDestToImage(m_imageIndex);
}

void CFormImageElement::FitDestToImage(int index)
{
    ImageRegistry* registry = Registry();
    const Image* image = registry != nullptr && index >= 0 ? registry->GetImage(index) : nullptr;
    if (image == nullptr)
        return;
    int size[2] = {0, 0};
    image->GetSize(size);
    Announce(DocumentHint::DestRectChanged);
    m_destRect.right = m_destRect.left + size[0];
    m_destRect.bottom = m_destRect.top + size[1];
    Announce(DocumentHint::DestRectChanged);
}

void CFormImageElement::PushSizeToImage(int index)
{
    ImageRegistry* registry = Registry();
    Image* image = registry != nullptr && index >= 0 ? registry->GetImage(index) : nullptr;
    if (image == nullptr)
        return;
    if (!image->SetSize(m_destRect.Width(), m_destRect.Height()))
        return;
    image->RevalidateUsers();
    if (CDesignerDoc* doc = image->GetDocument())
        doc->SetModifiedFlag(TRUE);
}

void CFormImageElement::NormaliseSourceRect()
{
    if (const CPage* page = SourcePage(); page != nullptr && page->GetCellWidth() > 0 && page->GetCellHeight() > 0) {
        const int cw = page->GetCellWidth();
        const int ch = page->GetCellHeight();
        const int first = FloorDiv(m_sourceRect.left, cw);
        const int last = std::min(CeilDiv(m_sourceRect.right, cw), first + kMaxSourceColumns);
        const int top = FloorDiv(m_sourceRect.top, ch);
        const int bottom = std::min(CeilDiv(m_sourceRect.bottom, ch), top + kMaxSourceColumns);
        kwvd::Rect r(first * cw, top * ch, last * cw, bottom * ch);
        page->SnapToGridNearest(r);
        page->ClampToPage(r, TRUE);
        r.bottom = r.top + ch;
        if (r != m_sourceRect)
            m_sourceRect = r;
    }
    Announce(DocumentHint::SourceRectChanged);
}

BOOL CFormImageElement::SetImageFormat(int format)
{
    Image* image = GetImage();
    return image != nullptr ? image->SetFormat(format) : FALSE;
}

BOOL CFormImageElement::SetImageQuality(unsigned quality)
{
    Image* image = GetImage();
    return image != nullptr ? image->SetQuality(quality) : FALSE;
}

int CFormImageElement::GetImageFormat() const
{
    const Image* image = GetImage();
    return image != nullptr ? image->GetFormat() : 0;
}

unsigned CFormImageElement::GetImageQuality() const
{
    const Image* image = GetImage();
    return image != nullptr ? static_cast<unsigned>(image->GetQuality()) : 0;
}

BOOL CFormImageElement::HasValidImage() const
{
    return m_fixed == 0 || !NamesFile() || GetImage() != nullptr;
}

// ---------------------------------------------------------------- geometry

kwvd::Rect CFormImageElement::GetSourceRect() const
{
    return m_fixed != 0 ? kwvd::Rect() : m_sourceRect;
}

void CFormImageElement::StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect&)
{
    PutSourceOnGrid(step, page);
    NormaliseSourceRect();
}

void CFormImageElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    // Every element showing the image follows.
    if (GetDestRect() != before)
        PushSizeToImage(m_imageIndex);
}

BOOL CFormImageElement::IgnoresOffset() const
{
    return FALSE;
}

BOOL CFormImageElement::Select(BOOL select)
{
    select = select ? TRUE : FALSE;
    if (select == m_selected)
        return FALSE;
    if (!select) {
        Announce(DocumentHint::DestRectChanged);
        if (m_fixed == 0)
            Announce(DocumentHint::SourceRectChanged);
    }
    m_selected = select;
    Announce(DocumentHint::DestRectChanged);
    if (m_fixed == 0)
        Announce(DocumentHint::SourceRectChanged);
    return TRUE;
}

void CFormImageElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (m_fixed != 0 && !m_imageName.isEmpty()) {
        if (m_imageName.startsWith(u'?') || m_imageIndex == -1)
            SetImageName(m_imageName);
        else
            FitDestToImage(m_imageIndex);
    } else {
        SetImageName(m_imageName);
    }
    if (UpdateColour())
        Announce(DocumentHint::ElementChanged);
}

// ---------------------------------------------------------------- drawing

void CFormImageElement::DrawSource(QPainter& painter)
{
    if (m_fixed == 0)
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormImageElement::DrawDest(QPainter& painter)
{
    const kwvd::Rect r = GetDestRect();
    Image* image = GetImage();
    if (image == nullptr) {
        DrawElementBox(painter, r, this, m_colour);
        return;
    }
    image->Draw(r, painter);
    if (IsSelected() && !IsPrinting(painter))
        DrawTrackerFrame(painter, r);
}

// ---------------------------------------------------------------- copy

void CFormImageElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* image = dynamic_cast<const CFormImageElement*>(&other);
    if (image == nullptr)
        return;
    SetImageName(image->m_imageName);
    SetFixed(image->m_fixed);
    m_colour = image->m_colour;
}

// ---------------------------------------------------------------- persistence

void CFormImageElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CFormElement::Serialize(ar);
        // The file is stored relative to the document; the name in memory
        // stays as it is.
        QString name = m_imageName;
        if (m_fixed != 0 && NamesFile() && m_imageIndex != -1)
            MakeRelativePath(name, ar.GetFilePath());
        const Image* image = GetImage();
        ar << name;
        ar << static_cast<LONG>(image != nullptr ? image->GetFormat() : 0);
        ar << static_cast<LONG>(image != nullptr ? image->GetQuality() : 0);
        ar << static_cast<WORD>(m_fixed);
        return;
    }

    CFormElement::Serialize(ar);
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    QString name;
    LONG format = -1;
    LONG quality = 80;
    WORD fixed = 1;
    ar >> name;
    if (schema > 14)
        ar >> format >> quality;
    if (schema > 17)
        ar >> fixed;
    SetFixed(fixed != 0);
    UpdateColour();

    if (IsFileName(name)) {
        QString resolved = name;
        if (Image::ResolveFile(resolved, m_pDoc)) {
            name = resolved;
        } else if (!IsQuiet(m_pDoc)) {
            const int choice = AskCommandLinkChoice(
                LoadResString(IDS_IMAGE_ELEMENT_MISSING_TITLE), FormatResMessage(IDS_IMAGE_ELEMENT_NOT_FOUND, name),
                LoadResString(IDS_IMAGE_ELEMENT_BROWSE), LoadResString(IDS_IMAGE_ELEMENT_IGNORE));
            if (choice == 1) {
                const QString documentPath = m_pDoc != nullptr ? m_pDoc->GetPathName() : QString();
                QString path = MakeAbsolutePath(name, GetPathFolder(documentPath));
                if (ImageRegistry* registry = Registry();
                    registry != nullptr && registry->BrowseAndAdd(nullptr, path) >= 0)
                    name = path;
            }
        }
    }
    SetImageName(name);
    SetImageFormat(format);
    SetImageQuality(static_cast<unsigned>(std::max<LONG>(quality, 0)));
}

BOOL CFormImageElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("GRPH"));
    if (m_fixed != 0) {
        record.m_data.SetValue(m_imageName);
        for (CFixedLenNum* field : {&record.m_sourceLine, &record.m_sourceFirstColumn, &record.m_sourceLastColumn}) {
            field->SetValue(0);
            field->SetEmpty(TRUE);
        }
    }
    if (const CPage* page = OutputPage()) {
        QPoint size(m_destRect.Width(), m_destRect.Height());
        page->PixelsToTwips(size);
        if (page->IsLandscape())
            size = QPoint(size.y(), size.x());
        record.m_destWidth.SetValue(size.x());
        record.m_destHeight.SetValue(size.y());
    }
    return TRUE;
}

void CFormImageElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    CAPRTPDMRec record(ar.GetDocument());
    if (record.GetDocument() != nullptr)
        SetDocument(record.GetDocument());

    const kwvd::Rect source = m_sourceRect;
    const kwvd::Rect dest = m_destRect;
    const QString name = m_imageName;
    bool changed = false;
    if (m_fixed != 0 && NamesFile() && m_imageIndex != -1) {
        if (Image* image = GetImage()) {
            m_imageName = image->GetServerName();
            // The file written for the host is cut by the part that lies in
            // the no-print border, so the picture moves by that much.
            int offset[2] = {0, 0};
            image->GetExportOffset(offset);
            m_destRect.left += offset[0];
            m_destRect.bottom -= offset[1];
        }
        m_sourceRect = {};
        changed = true;
    }
    try {
        ToRecord(record);
    } catch (...) {
        m_imageName = name;
        m_sourceRect = source;
        m_destRect = dest;
        throw;
    }
    m_imageName = name;
    if (changed) {
        m_sourceRect = source;
        m_destRect = dest;
    }
    record.ExchangeJVX(ar);
}

void CFormImageElement::AddMailAttachment(IMailAttachmentSink& mailer) const
{
    if (m_fixed == 0 || !NamesFile() || m_imageIndex == -1)
        return;
    const Image* image = GetImage();
    mailer.AddAttachment(image != nullptr ? image->GetPath() : m_imageName, QString(), FALSE);
}

void CFormImageElement::AddToZip(IZipFileSink& zip) const
{
    if (m_fixed == 0 || !NamesFile() || m_imageIndex == -1)
        return;
    const Image* image = GetImage();
    zip.AddFile(image != nullptr ? image->GetPath() : m_imageName);
}

// ---------------------------------------------------------------- property page

void CFormImageElement::PreparePage(ImagePageData& page) const
{
    const PageCellLimits limits = PageCellLimits::Of(SourcePage());
    page.largestColumn = limits.largestColumn;
    page.largestLine = limits.largestLine;
    page.defaultFormat = Preferences().ImageExportFormat;
}

BOOL CFormImageElement::UpdatePage(ImagePageData& page) const
{
    ImagePageData values = page;
    values.fileName = m_imageName;
    values.format = GetImageFormat();
    values.quality = GetImageQuality();
    if (const CPage* source = SourcePage();
        source != nullptr && source->GetCellWidth() > 0 && source->GetCellHeight() > 0) {
        values.column = m_sourceRect.left / source->GetCellWidth() + 1;
        values.line = m_sourceRect.top / source->GetCellHeight() + 1;
        values.width = m_sourceRect.Width() / source->GetCellWidth();
    }
    values.fixed = IsFixed();
    values.forceAbsolute = IsSourceAbsolute();
    values.inLoop = IsInLoop();
    const BOOL changed = values.fileName != page.fileName || values.format != page.format
                         || values.quality != page.quality || values.column != page.column || values.line != page.line
                         || values.width != page.width || values.fixed != page.fixed
                         || values.forceAbsolute != page.forceAbsolute || values.inLoop != page.inLoop;
    page = values;
    return changed;
}

BOOL CFormImageElement::ApplyPage(const ImagePageData& page, int what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    if (what & ImagePageData::FileName) {
        if (SetFixed(TRUE))
            changed = TRUE;
        if (page.fileName != m_imageName) {
            // A typed name that names no loadable file is refused (the
            // registry has said why): the page shows the element's again.
            ImageRegistry* registry = Registry();
            const bool named = IsFileName(page.fileName) && registry != nullptr;
            const int index = named ? registry->FindOrLoad(page.fileName) : -1;
            if (!named || index != -1) {
                AttachNamedImage(page.fileName, index);
                SetDocumentModified();
                changed = TRUE;
            }
        }
    }
    if (what & ImagePageData::FormatAndQuality) {
        if (SetImageFormat(page.format))
            changed = TRUE;
        if (SetImageQuality(page.quality))
            changed = TRUE;
    }
    if (what & ImagePageData::Position) {
        if (SetFixed(FALSE))
            changed = TRUE;
        if (source != nullptr && MoveSourceToCell(*this, *source, page.column, page.line))
            changed = TRUE;
    }
    if ((what & ImagePageData::Size) && source != nullptr && SetSourceWidthInCells(*this, *source, page.width))
        changed = TRUE;
    if (what & ImagePageData::ForceAbsolute) {
        if ((page.forceAbsolute ? TRUE : FALSE) != IsSourceAbsolute()) {
            SetSourceAbsolute(page.forceAbsolute);
            SetDocumentModified();
            changed = TRUE;
        }
    }
    // A reload redraws but is no change: the page keeps its values and the
    // undo list gets no step.
    if (what & ImagePageData::Reload) {
        if (Image* image = GetImage())
            image->Reload();
        Announce(DocumentHint::DestRectChanged);
    }
    return changed;
}
