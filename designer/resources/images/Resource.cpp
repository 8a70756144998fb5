#include "designer/resources/images/Resource.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ImageSupport.h"
#include "designer/resources/images/ToolkitImage.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"

#include <QFontMetrics>
#include <QPainter>

using namespace imagesupport;

KWVD_IMPLEMENT_SERIAL(CResource, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

constexpr int kServerNameWidth = 8;
constexpr int kSizeWidth = 6;

} // namespace

CResource::CResource() = default;

CResource::CResource(CDesignerDoc* document) : ImageFileState(document) {}

CResource::~CResource() = default;

void CResource::SetRectToPage()
{
    const CPage* page = OutputPage();
    m_rect = page != nullptr ? kwvd::Rect(0, 0, page->GetPixelWidth(), page->GetPixelHeight()) : kwvd::Rect();
}

void CResource::Copy(const CResource& other)
{
    m_users.Clear();
    m_strPath = other.m_strPath;
    const BOOL changed = SetFormat(other.m_nFormat) | SetQuality(static_cast<unsigned>(other.m_nQuality));
    if (changed && m_pDocument != nullptr)
        m_pDocument->SetModifiedFlag(TRUE);
}

// ---------------------------------------------------------------- files

BOOL CResource::ResolveFile(QString& path)
{
    const BOOL windowsForm = IsStoredWindowsPath(path);
    if (!path.isEmpty()) {
        if (windowsForm) {
            const QString found = kwvd::ResolveStoredPath(path, {});
            if (IsExistingFile(found)) {
                path = MakeAbsolutePath(found, {});
                return TRUE;
            }
        } else if (IsExistingFile(path)) {
            path = MakeAbsolutePath(path, {});
            return TRUE;
        } else {
            QString folder = windowsForm ? QString() : GetPathFolder(path);
            if (folder.isEmpty())
                folder = GetCurrentFolder();
            const QString found = FindInFolder(folder, FileNameOf(path), FALSE);
            if (!found.isEmpty()) {
                path = found;
                return TRUE;
            }
        }

        const QString substitute = FindSubstitute(m_pDocument, path, windowsForm);
        if (!substitute.isEmpty()) {
            path = substitute;
            return TRUE;
        }
    }
    Tell(m_pDocument, FormatResMessage(IDS_RESOURCE_FILE_NOT_FOUND, path), MB_OK | MB_ICONEXCLAMATION, IDOK);
    return FALSE;
}

BOOL CResource::LoadImage(const QString& path)
{
    QString resolved = path;
    if (!ResolveFile(resolved))
        return FALSE;
    // The path keeps its case: on this system it names another file
    // otherwise. Only the host name is upper case.
    m_strPath = resolved;

    BOOL rotated = FALSE;
    ToolkitImage* loaded = LoadForPage(m_pDocument, OutputPage(), resolved, m_strPath, &rotated);
    if (loaded == nullptr)
        return FALSE;

    TakeImage(loaded, rotated);
    SetRectToPage();
    RevalidateUsers();
    return TRUE;
}

QString CResource::GetServerName() const
{
    BOOL changed = FALSE;
    QString title;
    const QString name = ServerNameFor(m_strPath, &changed, &title);
    if (changed)
        Tell(m_pDocument, FormatResMessage(IDS_IMAGE_SERVER_NAME, title, name), MB_OK | MB_ICONINFORMATION, IDOK);
    return name;
}

void CResource::GetExportOffset(int offset[2]) const
{
    const CPage* page = OutputPage();
    if (page == nullptr)
        return;
    const long long margin = NoPrintMargin(*page);
    if (m_nRotated == 0) {
        offset[0] = static_cast<int>(std::max<long long>(margin - m_rect.left, 0));
    } else {
        const long long reach = margin + m_rect.bottom - page->GetPixelHeight();
        offset[1] = static_cast<int>(std::max<long long>(reach, 0));
    }
}

// ---------------------------------------------------------------- persistence

void CResource::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        QString path = m_strPath;
        if (!MakeRelativePath(path, ar.GetFilePath()))
            path = m_strPath;
        ar << path;
        ar << static_cast<LONG>(m_nFormat);
        ar << static_cast<LONG>(m_nQuality);
        return;
    }

    m_pDocument = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);
    QString path;
    LONG format = -1;
    LONG quality = 80;
    ar >> path >> format >> quality;
    if (format >= -1 && format <= 3)
        m_nFormat = static_cast<int>(format);
    if (quality >= 0 && quality <= 100)
        m_nQuality = static_cast<int>(quality);

    // A path stored by a Windows program is searched for as it stands.
    if (!path.isEmpty() && !IsStoredWindowsPath(path))
        path = MakeAbsolutePath(path, m_pDocument != nullptr ? m_pDocument->GetPathName() : QString());
    m_rect = kwvd::Rect();
    // A file that cannot be found keeps its recorded path, so the next save
    // still names it.
    m_strPath = path;
    if (!path.isEmpty())
        LoadImage(path);
}

void CResource::ExchangeJVX(CJVXArchive& ar)
{
    CFixedLenUserString serverName(kServerNameWidth);
    CFixedLenNum width(kSizeWidth);
    CFixedLenNum height(kSizeWidth);

    if (ar.IsStoring()) {
        int offset[2] = {0, 0};
        GetExportOffset(offset);
        const QString name = GetServerName();
        QPoint size(m_rect.Width(), m_rect.Height());
        if (const CPage* page = OutputPage())
            page->PixelsToTwips(size);
        // The host takes the size of the upright image.
        if (m_nRotated != 0)
            size = QPoint(size.y(), size.x());
        serverName.SetValue(name);
        width.SetValue(size.x());
        height.SetValue(size.y());
        serverName.ExchangeJVX(ar);
        width.ExchangeJVX(ar);
        height.ExchangeJVX(ar);
        ar.WriteLineEnd();
        ExportToServer(ar, this, offset, name);
        return;
    }

    m_pDocument = ar.GetDocument();
    serverName.ExchangeJVX(ar);
    width.ExchangeJVX(ar);
    height.ExchangeJVX(ar);
    ar.ReadLineEnd();
    m_strPath = serverName.GetValue();
    m_rect = kwvd::Rect();
    if (!m_strPath.isEmpty())
        LoadImage(m_strPath);
}

BOOL CResource::ExportToServer(CJVXArchive& archive, CResource* resource, const int offset[2], const QString& name)
{
    if (resource == nullptr || !resource->IsLoaded() || !archive.IsStoring())
        return FALSE;
    ImageExportSubject subject;
    resource->FillExportSubject(subject);
    subject.size[0] = resource->m_rect.Width();
    subject.size[1] = resource->m_rect.Height();
    return ExportImageToServer(archive, subject, offset, name);
}

// ---------------------------------------------------------------- drawing

void CResource::Draw(QPainter& painter)
{
    if (!IsVisible(painter, m_rect))
        return;
    const CPage* page = OutputPage();
    if (!IsLoaded()) {
        const QFontMetrics metrics(painter.font());
        const QRect textBox = metrics.boundingRect(m_strPath);
        if (textBox.width() > m_rect.Width() || textBox.height() > m_rect.Height()) {
            m_rect.right = m_rect.left + textBox.width();
            m_rect.bottom = m_rect.top + textBox.height();
            if (page != nullptr)
                page->SnapToGrid(m_rect);
        }
        painter.drawText(QRect(m_rect.TopLeft(), textBox.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         m_strPath);
        return;
    }
    DrawImage(painter, m_pImage, m_pDisplayCache, m_rect, page);
}
