#pragma once
// Writing a document image or an image resource as an image file for the
// host, beside the JVX file, through the imaging toolkit.

#include "platform/framework/Types.h"

#include <QString>

class CJVXArchive;
class ToolkitImage;

// What the export needs of an image or an image resource.
struct ImageExportSubject
{
    ToolkitImage* image = nullptr; // the object's loaded image; never changed by the export
    int format = -1;               // -1 the preference ImageExportFormat, 0 MMR, 1 TIF, 2 QDX JPEG, 3 QDX LZW
    int quality = 80;              // 0..100, format 2
    BOOL rotated = FALSE;          // turned by 90 degrees when loaded for a landscape page
    QString path;                  // the object's file, for message 231
    int size[2] = {0, 0};          // N: the object's size on the page in page pixels
};

// Writes the subject's image file beside the JVX file under name. TRUE when written.
// Throws CArchiveException (none) when the user cancels message 231, which
// ends the whole JVX export.
BOOL ExportImageToServer(CJVXArchive& archive, const ImageExportSubject& subject, const int offset[2],
                         const QString& name);

// "MMR", "TIF", ... the names Image::GetFormatName gives.
QString ImageFormatName(int format);

// The lines that tell the toolkit how and where to write the file, joined by
// a single CR. height is used by format 1, quality by format 2.
QString ImageOptionText(int xRes, int yRes, int format, int height, int quality, const QString& targetPath);

// value brought to the nearest multiple of step (a remainder of half the step
// or more goes up); unchanged when step is 0 or less.
int RoundImageResolution(int value, int step);

// The string-table texts of the export. Called once at start-up, and by tests.
void RegisterImageExportStrings();

inline constexpr UINT IDS_IMAGE_FORMAT_NOT_VALID = 231;
inline constexpr UINT IDS_IMAGE_NOT_OVERWRITTEN = 300;
inline constexpr UINT IDS_IMAGE_SAVE_ERROR = 302;
inline constexpr UINT IDS_IMAGE_FAX_TOO_LARGE = 343;
