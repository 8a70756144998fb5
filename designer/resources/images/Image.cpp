#include "designer/resources/images/Image.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ImageSupport.h"
#include "designer/resources/images/ToolkitImage.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"

#include <QFontMetrics>
#include <QPainter>

#include <climits>
#include <cstdint>

using namespace imagesupport;

KWVD_IMPLEMENT_SERIAL(Image, CObject, VERSIONABLE_SCHEMA | 0)

Image::Image() = default;

Image::Image(CDesignerDoc* document) : ImageFileState(document) {}

Image::~Image() = default;

void Image::Serialize(CArchive&) {}

void Image::Copy(const Image& other)
{
    m_users.Clear();
    m_strPath = other.m_strPath;
    SetFormat(other.m_nFormat);
    SetQuality(static_cast<unsigned>(other.m_nQuality));
}

// ---------------------------------------------------------------- files

BOOL Image::ResolveFile(QString& path, CDesignerDoc* document)
{
    if (path.isEmpty())
        return FALSE;
    const BOOL windowsForm = IsStoredWindowsPath(path);
    const QString fileName = FileNameOf(path);
    const QString documentPath = document != nullptr ? document->GetPathName() : QString();

    // While a document is read its folder is the current one, so a path
    // stored relative to it is found here.
    if (windowsForm) {
        const QString found = kwvd::ResolveStoredPath(path, {});
        if (IsExistingFile(found)) {
            path = MakeAbsolutePath(found, {});
            return TRUE;
        }
    } else {
        const QString absolute = MakeAbsolutePath(path, documentPath);
        if (IsExistingFile(absolute)) {
            path = absolute;
            return TRUE;
        }
    }

    if (!documentPath.isEmpty()) {
        const QString found = FindInFolder(GetPathFolder(documentPath), fileName, windowsForm);
        if (!found.isEmpty()) {
            path = found;
            return TRUE;
        }
    }

    const QString inCurrent = FindInFolder(GetCurrentFolder(), fileName, windowsForm);
    if (!inCurrent.isEmpty()) {
        path = inCurrent;
        return TRUE;
    }

    const QString substitute = FindSubstitute(document, path, windowsForm);
    if (!substitute.isEmpty()) {
        path = substitute;
        return TRUE;
    }
    return FALSE;
}

BOOL Image::LoadImage(const QString& path)
{
    BOOL rotated = FALSE;
    ToolkitImage* loaded = LoadForPage(m_pDocument, OutputPage(), path, path, &rotated);
    if (loaded == nullptr)
        return FALSE;

    TakeImage(loaded, rotated);
    return TRUE;
}

BOOL Image::SetFile(const QString& path)
{
    if (!LoadImage(path))
        return FALSE;
    m_strPath = path;

    int size[2] = {0, 0};
    GetNaturalSize(size);
    if (const CPage* page = OutputPage()) {
        kwvd::Rect rect(0, 0, size[0], size[1]);
        page->SnapToGrid(rect);
        page->ClampToPage(rect, TRUE);
        size[0] = rect.Width();
        size[1] = rect.Height();
    }
    m_size[0] = size[0];
    m_size[1] = size[1];
    RevalidateUsers();
    return TRUE;
}

BOOL Image::Reload()
{
    if (!LoadImage(m_strPath))
        return FALSE;
    RevalidateUsers();
    return TRUE;
}

void Image::GetNaturalSize(int size[2]) const
{
    size[0] = 0;
    size[1] = 0;
    const BitmapInfoHeader* info = IsLoaded() ? m_pImage->Info() : nullptr;
    if (info == nullptr)
        return;
    const int width = m_pImage->Width();
    const int height = m_pImage->Height();
    if (info->biXPelsPerMeter != 0 && info->biYPelsPerMeter != 0) {
        // 3938 pixels per metre per 100 dpi: the host's own conversion.
        double dpiX = info->biXPelsPerMeter * 100.0 / 3938.0;
        double dpiY = info->biYPelsPerMeter * 100.0 / 3938.0;
        if (m_nRotated != 0)
            std::swap(dpiX, dpiY);
        size[0] = static_cast<int>((width - 1) / dpiX * 100.0);
        size[1] = static_cast<int>((height - 1) / dpiY * 100.0);
    } else {
        size[0] = width - 1;
        size[1] = height - 1;
    }
}

void Image::GetSize(int size[2]) const
{
    size[0] = m_size[0];
    size[1] = m_size[1];
}

BOOL Image::SetSize(int width, int height)
{
    if (m_size[0] == width && m_size[1] == height)
        return FALSE;
    m_size[0] = width;
    m_size[1] = height;
    return TRUE;
}

// ---------------------------------------------------------------- export settings

BOOL Image::SetFormat(int format)
{
    if (!StoreFormat(format))
        return FALSE;
    RevalidateUsers();
    if (m_pDocument != nullptr)
        m_pDocument->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL Image::SetQuality(unsigned quality)
{
    if (!StoreQuality(quality))
        return FALSE;
    RevalidateUsers();
    if (m_pDocument != nullptr)
        m_pDocument->SetModifiedFlag(TRUE);
    return TRUE;
}

QString Image::GetServerName()
{
    BOOL changed = FALSE;
    QString title;
    const QString name = ServerNameFor(m_strPath, &changed, &title);
    if (changed && !m_serverNameTold) {
        m_serverNameTold = TRUE;
        Tell(m_pDocument, FormatResMessage(IDS_IMAGE_SERVER_NAME, title, name), MB_OK | MB_ICONINFORMATION, IDOK);
    }
    return name;
}

void Image::GetExportOffset(int offset[2]) const
{
    offset[0] = 0;
    offset[1] = 0;
    const CPage* page = OutputPage();
    if (page == nullptr || m_users.IsEmpty())
        return;

    int left = INT_MAX;
    int bottom = INT_MIN;
    for (const CObject* user : m_users.List()) {
        const kwvd::Rect rect = static_cast<const CFormElement*>(user)->GetDestRect();
        left = std::min(left, rect.left);
        bottom = std::max(bottom, rect.bottom);
    }

    const std::int64_t margin = NoPrintMargin(*page);
    if (m_nRotated == 0) {
        offset[0] = static_cast<int>(std::max<std::int64_t>(margin - left, 0));
    } else {
        const std::int64_t reach = margin + bottom - page->GetPixelHeight();
        offset[1] = static_cast<int>(std::clamp<std::int64_t>(reach, 0, INT_MAX));
    }
}

BOOL Image::ExportToServer(CJVXArchive& archive, Image* image, const int offset[2], const QString& name)
{
    if (image == nullptr || !image->IsLoaded() || !archive.IsStoring())
        return FALSE;
    ImageExportSubject subject;
    image->FillExportSubject(subject);
    subject.size[0] = image->m_size[0];
    subject.size[1] = image->m_size[1];
    return ExportImageToServer(archive, subject, offset, name);
}

void Image::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring()) {
        m_pDocument = ar.GetDocument();
        return;
    }
    int offset[2] = {0, 0};
    GetExportOffset(offset);
    const QString name = GetServerName();
    ExportToServer(ar, this, offset, name);
}

// ---------------------------------------------------------------- drawing

void Image::Draw(const kwvd::Rect& rect, QPainter& painter)
{
    if (!IsVisible(painter, rect))
        return;
    const CPage* page = OutputPage();
    if (!IsLoaded()) {
        QPoint corner = rect.TopLeft();
        const QFontMetrics metrics(painter.font());
        const QRect textBox = metrics.boundingRect(m_strPath);
        if (page != nullptr && (textBox.width() > rect.Width() || textBox.height() > rect.Height())) {
            const int cellWidth = std::max(page->GetCellWidth(), 1);
            const int cellHeight = std::max(page->GetCellHeight(), 1);
            corner.setX(corner.x() / cellWidth * cellWidth);
            corner.setY(corner.y() / cellHeight * cellHeight);
        }
        painter.drawText(QRect(corner, textBox.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, m_strPath);
        return;
    }
    DrawImage(painter, m_pImage, m_pDisplayCache, rect, page);
}
