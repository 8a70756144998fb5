#include "designer/resources/images/ImageSupport.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/AS400Name.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ToolkitImage.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <cstdint>

namespace imagesupport {

BOOL IsQuiet(const CDesignerDoc* document)
{
    return document != nullptr && document->IsQuietRead();
}

int Tell(const CDesignerDoc* document, const QString& text, UINT type, int quietAnswer)
{
    if (IsQuiet(document))
        return quietAnswer;
    return AfxMessageBox(text, type);
}

BOOL IsStoredWindowsPath(const QString& path)
{
    if (path.contains(u'\\'))
        return TRUE;
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
}

QString FileNameOf(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

BOOL IsExistingFile(const QString& path)
{
    if (path.isEmpty())
        return FALSE;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString FindInFolder(const QString& folder, const QString& fileName, BOOL anyCase)
{
    if (folder.isEmpty() || fileName.isEmpty() || !IsDirectory(folder))
        return {};
    const QString candidate = MakeAbsolutePath(fileName, folder);
    if (IsExistingFile(candidate))
        return candidate;
    if (!anyCase)
        return {};
    const QString found = kwvd::ResolveStoredPath(fileName, folder);
    return IsExistingFile(found) ? MakeAbsolutePath(found, {}) : QString();
}

QString ProgramFolder()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    return GetPathFolder(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
}

QString FindSubstitute(const CDesignerDoc* document, const QString& original, BOOL anyCase)
{
    // Nobody may be asked while a snapshot or clipboard stream is read, so
    // nothing is substituted then.
    if (IsQuiet(document))
        return {};
    const QString fileName = FileNameOf(original);
    // The program's own folder stands where the system's search path was.
    const QString folders[] = {Preferences().DefaultImageDirectory, ProgramFolder()};
    for (const QString& folder : folders) {
        const QString found = FindInFolder(folder, fileName, anyCase);
        if (found.isEmpty())
            continue;
        const int answer =
            AfxMessageBox(FormatResMessage(IDS_IMAGE_SUBSTITUTE, original, found), MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES)
            return found;
    }
    return {};
}

void DestroyImage(ToolkitImage*& image)
{
    if (image != nullptr)
        image->Destroy();
    image = nullptr;
}

ToolkitImage* LoadChecked(const CDesignerDoc* document, const QString& path, const QString& reportPath)
{
    ToolkitImage* image = ToolkitImage::LoadFromFile(path);
    if (image == nullptr || image->Handle() == nullptr) {
        DestroyImage(image);
        Tell(document, FormatResMessage(IDS_IMAGE_FILE_INVALID, reportPath), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return nullptr;
    }
    if ((image->InfoFlags() & kPtVectorImage) != 0) {
        DestroyImage(image);
        Tell(document, FormatResMessage(IDS_IMAGE_VECTOR_FORMAT, reportPath), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return nullptr;
    }
    return image;
}

ToolkitImage* TurnForPage(ToolkitImage* image)
{
    if (image == nullptr)
        return nullptr;
    ToolkitImage* turned = image->Rotate(90);
    image->Destroy();
    if (turned != nullptr && turned->Handle() == nullptr)
        DestroyImage(turned);
    return turned;
}

ToolkitImage* LoadForPage(const CDesignerDoc* document, const CPage* page, const QString& path,
                          const QString& reportPath, BOOL* rotated)
{
    ToolkitImage* loaded = LoadChecked(document, path, reportPath);
    if (loaded == nullptr)
        return nullptr;
    const BOOL landscape = page != nullptr && page->IsLandscape();
    if (landscape) {
        loaded = TurnForPage(loaded);
        if (loaded == nullptr) {
            Tell(document, FormatResMessage(IDS_IMAGE_FILE_INVALID, reportPath), MB_OK | MB_ICONEXCLAMATION, IDOK);
            return nullptr;
        }
    }
    *rotated = landscape;
    return loaded;
}

QString ServerNameFor(const QString& path, BOOL* changed, QString* title)
{
    QString folder;
    QString fileTitle;
    QString extension;
    SplitPathParts(FileNameOf(path), folder, fileTitle, extension);
    QString name = fileTitle;
    MakeValidAS400Name(name);
    // The host name is always upper case; only a name that lost more than
    // its case is worth telling the user about.
    if (changed != nullptr)
        *changed = name.compare(fileTitle, Qt::CaseInsensitive) != 0 ? TRUE : FALSE;
    if (title != nullptr)
        *title = fileTitle;
    return name;
}

int NoPrintMargin(const CPage& page)
{
    const int cellWidth = page.GetCellWidth();
    if (cellWidth <= 0)
        return 0;
    const int perCell = cellWidth * 10;
    const int border = page.GetBorder();
    const int cells = border / perCell + (border % perCell != 0 ? 1 : 0);
    return static_cast<WORD>(cellWidth * cells);
}

namespace {

bool IsPrinting(QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    return device != nullptr && device->devType() == QInternal::Printer;
}

kwvd::Rect ClipBox(QPainter& painter)
{
    if (painter.hasClipping())
        return kwvd::Rect::FromQRect(painter.clipBoundingRect().toAlignedRect());
    const QPaintDevice* device = painter.device();
    if (device == nullptr)
        return {};
    const QRect deviceRect(0, 0, device->width(), device->height());
    return kwvd::Rect::FromQRect(painter.worldTransform().inverted().mapRect(deviceRect));
}

} // namespace

BOOL IsVisible(QPainter& painter, const kwvd::Rect& rect)
{
    if (rect.IsEmpty())
        return FALSE;
    kwvd::Rect clip = ClipBox(painter);
    clip.Inflate(1, 1);
    return clip.Intersects(rect) ? TRUE : FALSE;
}

void MapVisibleRect(QPainter& painter, const CPage* page, kwvd::Rect& destination, kwvd::Rect& source)
{
    kwvd::Rect visible = ClipBox(painter);
    if (!IsPrinting(painter))
        visible.Inflate(2, 2);
    visible = visible.Intersected(destination);
    if (page != nullptr)
        visible = visible.Intersected(kwvd::Rect(0, 0, page->GetPixelWidth(), page->GetPixelHeight()));

    kwvd::Rect r = visible;
    r.Offset(-destination.left, -destination.top);

    const std::int64_t sw = source.Width();
    const std::int64_t sh = source.Height();
    const std::int64_t dw = destination.Width();
    const std::int64_t dh = destination.Height();
    if (dw != 0 && dh != 0) {
        kwvd::Rect mapped(static_cast<int>(sw * r.left / dw), static_cast<int>(sh * r.top / dh),
                          static_cast<int>(sw * r.right / dw), static_cast<int>(sh * r.bottom / dh));
        mapped.left = std::max(mapped.left, 0);
        mapped.top = std::max(mapped.top, 0);
        if (mapped.Width() > sw)
            mapped.right = static_cast<int>(mapped.left + sw);
        if (mapped.Height() > sh)
            mapped.bottom = static_cast<int>(mapped.top + sh);
        source = mapped;
    }
    destination = visible;
}

void DrawImage(QPainter& painter, ToolkitImage* image, ToolkitImage*& cache, const kwvd::Rect& rect, const CPage* page)
{
    if (image == nullptr || image->Handle() == nullptr)
        return;
    const QRect device = painter.worldTransform().mapRect(rect.ToQRect());
    const int deviceWidth = std::max(device.width(), 1);
    const int deviceHeight = std::max(device.height(), 1);

    if (image->BitsPerPixel() > 1) {
        if (cache != nullptr && (cache->Width() != deviceWidth || cache->Height() != deviceHeight))
            DestroyImage(cache);
        if (cache == nullptr) {
            cache = image->Resize(nullptr, deviceWidth, deviceHeight);
            if (cache != nullptr && cache->Handle() == nullptr)
                DestroyImage(cache);
        }
    }

    ToolkitImage* drawn = cache != nullptr ? cache : image;
    kwvd::Rect source(0, 0, drawn->Width() - 1, drawn->Height() - 1);
    kwvd::Rect destination = rect;
    MapVisibleRect(painter, page, destination, source);
    if (destination.IsEmpty())
        return;

    painter.save();
    painter.setBackground(Qt::white);
    const PtRect to{destination.left, destination.top, destination.right - 1, destination.bottom - 1};
    const PtRect from{source.left, source.top, source.right, source.bottom};
    PtImage handle = drawn->DisplayHandle() != nullptr ? drawn->DisplayHandle() : drawn->Handle();
    PtDrawImage(handle, &painter, &to, &from);
    painter.restore();
}

} // namespace imagesupport
