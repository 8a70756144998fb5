#include "designer/resources/images/ImageExport.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/images/ToolkitImage.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MathHelpers.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

// Formats 2 and 3 need JVX version 16 or later on the host.
constexpr int kFirstColourImageVersion = 16;
// The host's fax modem takes no larger image in either direction.
constexpr int kFaxImageLimit = 4096;

bool IsKnownFormat(int format)
{
    return format >= 0 && format <= 3;
}

int PreferredFormat()
{
    const int format = Preferences().ImageExportFormat;
    return IsKnownFormat(format) ? format : 1;
}

ULONGLONG ColoursOfDepth(int bitsPerPixel)
{
    if (bitsPerPixel <= 0)
        return 0;
    if (bitsPerPixel >= 64)
        return ~ULONGLONG{0};
    return ULONGLONG{1} << bitsPerPixel;
}

BOOL ReportSaveError(const QString& name)
{
    AfxMessageBox(FormatResMessage(IDS_IMAGE_SAVE_ERROR, name), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

// A width or height in inches of the part of the image that is printed.
double PrintedInches(int pagePixels, int page100, int extent)
{
    const int hundredths = MulDiv(extent, page100, pagePixels);
    return hundredths > 0 ? hundredths / 100.0 : 0.0;
}

} // namespace

QString ImageFormatName(int format)
{
    switch (format) {
    case 0:
        return QStringLiteral("MMR");
    case 1:
        return QStringLiteral("TIF");
    case 2:
        return QStringLiteral("JPEG (Colour)");
    case 3:
        return QStringLiteral("LZW (Colour)");
    default:
        return {};
    }
}

QString ImageOptionText(int xRes, int yRes, int format, int height, int quality, const QString& targetPath)
{
    QStringList lines;
    lines << QStringLiteral("TIFF_XRES = %1").arg(xRes) << QStringLiteral("TIFF_YRES = %1").arg(yRes);
    switch (format) {
    case 0:
        lines << QStringLiteral("EXTENSION = MMR");
        break;
    case 1:
        // The whole image in one strip.
        lines << QStringLiteral("TIFF_ROWSPERSTRIP = %1").arg(height) << QStringLiteral("COMPRESS = ON")
              << QStringLiteral("TIFF_COMPRESS = GROUP4") << QStringLiteral("EXTENSION = TIF");
        break;
    case 2:
        lines << QStringLiteral("QDX_COMPRESS = JPG") << QStringLiteral("EXTENSION = QDX")
              << QStringLiteral("LOSSY_QUALITY = %1").arg(quality);
        break;
    case 3:
        lines << QStringLiteral("QDX_COMPRESS = LZW") << QStringLiteral("EXTENSION = QDX");
        break;
    default:
        break;
    }
    lines << QStringLiteral("FILENAME = ") + targetPath << QStringLiteral("OVERWRITE = ON")
          << QStringLiteral("APPEND = OFF");
    return lines.join(u'\r');
}

int RoundImageResolution(int value, int step)
{
    if (step <= 0)
        return value;
    const int remainder = value % step;
    if (remainder <= 0)
        return value;
    return remainder < step / 2 ? value - remainder : value + (step - remainder);
}

BOOL ExportImageToServer(CJVXArchive& archive, const ImageExportSubject& subject, const int offset[2],
                         const QString& name)
{
    if (!subject.image || !subject.image->Handle() || !archive.IsStoring())
        return FALSE;
    CWaitCursor wait;

    int format = IsKnownFormat(subject.format) ? subject.format : PreferredFormat();
    if (archive.GetVersion() < kFirstColourImageVersion && (format == 2 || format == 3)) {
        const int preferred = Preferences().ImageExportFormat;
        const int fallback = preferred == 0 || preferred == 1 ? preferred : 1;
        const QString text = FormatResMessage(IDS_IMAGE_FORMAT_NOT_VALID, ImageFormatName(format), subject.path,
                                              ImageFormatName(fallback));
        if (AfxMessageBox(text, MB_OKCANCEL | MB_ICONSTOP) != IDOK)
            AfxThrowArchiveException(CArchiveException::none, archive.GetFilePath());
        format = fallback;
    }
    const ULONGLONG colours = format <= 1 ? 2 : ULONGLONG{1} << 24;
    const int step = Preferences().ImageResolutionRounding;

    CDesignerDoc* doc = archive.GetDocument();
    const CPage* page = doc ? doc->GetOutputPage() : nullptr;
    if (!page || page->GetPixelWidth() <= 0 || page->GetPixelHeight() <= 0)
        return ReportSaveError(name);

    QString folder, title, ext;
    SplitPathParts(archive.GetFilePath(), folder, title, ext);
    const QString target = folder + name;

    const int offsetX = offset[0] > 0 ? offset[0] : 0;
    const int offsetY = offset[1] > 0 ? offset[1] : 0;
    const int naturalWidth = subject.size[0];
    const int naturalHeight = subject.size[1];

    // Intermediate copies; the subject's own image is never changed.
    ToolkitImagePtr reduced;
    if (ColoursOfDepth(subject.image->BitsPerPixel()) > colours) {
        reduced.reset(subject.image->ReduceColours(colours));
        if (!reduced->Handle())
            return ReportSaveError(name);
    }
    const ToolkitImage* work = reduced ? reduced.get() : subject.image;
    ToolkitImagePtr upright;
    if (subject.rotated) {
        upright.reset(work->Rotate(270));
        reduced.reset();
        if (!upright->Handle())
            return ReportSaveError(name);
        work = upright.get();
    }

    // The part of the image that lies in the no-print border is not printed:
    // it is cut off, in image pixels.
    const int W = work->Width();
    const int H = work->Height();
    const int extent = subject.rotated ? naturalHeight : naturalWidth;
    const int reach = subject.rotated ? offsetY : offsetX;
    if (W <= 0 || H <= 0 || extent <= 0 || reach >= extent)
        return ReportSaveError(name);
    const int cut = MulDiv(W, reach, extent);
    if (cut < 0 || cut >= W)
        return ReportSaveError(name);

    // The host wants rows of whole 16-pixel units.
    int width = W - cut;
    if (width % 16 != 0)
        width += 16 - width % 16;
    int height = H;

    COutputDeviceManager* devices = doc->GetOutputDeviceManager();
    if (devices && devices->IsFaxDeviceInUse() && (width > kFaxImageLimit || height > kFaxImageLimit)) {
        const QString text =
            FormatResMessage(IDS_IMAGE_FAX_TOO_LARGE, name, kFaxImageLimit, name, width, kFaxImageLimit, name, height);
        if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            width = std::min(width, kFaxImageLimit);
            height = std::min(height, kFaxImageLimit);
        }
    }

    ToolkitImagePtr resized;
    if (width != W || height != H) {
        const PtRect source{cut, 0, W - 1, H - 1};
        resized.reset(work->Resize(&source, width, height));
        upright.reset();
        reduced.reset();
        if (!resized->Handle())
            return ReportSaveError(name);
        work = resized.get();
    }

    // The resolution that makes the printed part keep its size on the page.
    double xInch = PrintedInches(page->GetPixelWidth(), page->GetWidth(), naturalWidth - offsetX);
    double yInch = PrintedInches(page->GetPixelHeight(), page->GetHeight(), naturalHeight - offsetY);
    if (subject.rotated)
        std::swap(xInch, yInch);
    if (xInch <= 0.0 || yInch <= 0.0)
        return ReportSaveError(name);
    const int xRes = RoundImageResolution(RoundToInt(work->Width() / xInch), step);
    const int yRes = RoundImageResolution(RoundToInt(work->Height() / yInch), step);

    // The toolkit writes beside the target and renames over it, so an old
    // file survives a failed save; only something that cannot be replaced
    // by a file stops it here.
    const QFileInfo existing(target);
    if (existing.exists() && existing.isDir()) {
        AfxMessageBox(
            FormatResMessage(IDS_IMAGE_NOT_OVERWRITTEN, target, QString::fromLocal8Bit(std::strerror(EISDIR))),
            MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The old file is copied aside first: a JVX export that fails later puts
    // it back.
    QString backup;
    if (existing.exists()) {
        QString reason;
        try {
            backup = CreateUnusedFileBeside(target, QStringLiteral("~IMG%1.BAK"));
            QFile from(target);
            QFile to(backup);
            if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || to.write(from.readAll()) != from.size() || !to.flush())
                reason = from.error() != QFileDevice::NoError ? from.errorString() : to.errorString();
        } catch (const CFileException& error) {
            reason = error.GetErrorMessage();
        }
        if (!reason.isEmpty()) {
            if (!backup.isEmpty())
                QFile::remove(backup);
            AfxMessageBox(FormatResMessage(IDS_IMAGE_NOT_OVERWRITTEN, target, reason), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }

    const QString options = ImageOptionText(xRes, yRes, format, work->Height(), subject.quality, target);
    if (!work->SaveWithOptions(options)) {
        if (!backup.isEmpty())
            QFile::remove(backup);
        return ReportSaveError(name);
    }
    archive.NoteWrittenFile(target, backup);
    return TRUE;
}

void RegisterImageExportStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_IMAGE_FORMAT_NOT_VALID,
         "Colour format '%1' is not valid for image %2 for this JVX version. Format %3 will be used instead."},
        {IDS_IMAGE_NOT_OVERWRITTEN, "Image %1 not overwritten.\nReason: %2."},
        {IDS_IMAGE_SAVE_ERROR, "Error saving image file: %1 on the Server"},
        {IDS_IMAGE_FAX_TOO_LARGE,
         "KWVD Designer has detected an output device of type *FAX.  The IBM fax modem cannot handle images as "
         "large as %1, do you want the image size reduced ?\n\nMax image width: %2!d!,  %3 image width: %4!d!\n"
         "Max image height: %5!d!, %6 image height: %7!d!."},
    };
    StringTable::Add(entries);
}
