#pragma once
// What document images and image resources share: looking for a moved file,
// loading with the checks the designer makes, the host name, the no-print
// margin and drawing through the toolkit.

#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"
#include "platform/ui/PromptService.h"

#include <QString>

class CDesignerDoc;
class CPage;
class QPainter;
class ToolkitImage;

namespace imagesupport {

// TRUE while the document reads an undo snapshot or a clipboard stream:
// nothing may be asked or told then.
BOOL IsQuiet(const CDesignerDoc* document);
// Shows the message unless the document is quiet; returns the answer, or
// quietAnswer without showing anything.
int Tell(const CDesignerDoc* document, const QString& text, UINT type, int quietAnswer);

// A path in the form a Windows program stored it (a drive or "\").
BOOL IsStoredWindowsPath(const QString& path);
// The last component, at either separator.
QString FileNameOf(const QString& path);
// The existing file of that name in folder, as an absolute path; a name
// stored by a Windows program also matches without regard to case.
// Empty when there is none.
QString FindInFolder(const QString& folder, const QString& fileName, BOOL anyCase);
BOOL IsExistingFile(const QString& path);

// The substitutes offered with question 232: the default image folder, then
// the program's folder. Empty when none is found or every one is refused;
// never asks while the document is quiet.
QString FindSubstitute(const CDesignerDoc* document, const QString& original, BOOL anyCase);

// Loads the file; messages 308 and 313 name reportPath. Null on failure.
ToolkitImage* LoadChecked(const CDesignerDoc* document, const QString& path, const QString& reportPath);
// A new image turned by 90 degrees for a landscape page; null on failure.
// The one passed is destroyed either way.
ToolkitImage* TurnForPage(ToolkitImage* image);
// LoadChecked, then turned when page is landscape; rotated tells which.
// A turn that fails is told as message 308. Null on failure.
ToolkitImage* LoadForPage(const CDesignerDoc* document, const CPage* page, const QString& path,
                          const QString& reportPath, BOOL* rotated);

// The host file name of the file's title; changed is TRUE when the title
// needed more than upper-casing.
QString ServerNameFor(const QString& path, BOOL* changed, QString* title);

// The no-print border in page pixels, whole character cells.
int NoPrintMargin(const CPage& page);

// Draws image into rect (page pixels) through a display cache sized to the
// device, which is made, kept or replaced here.
void DrawImage(QPainter& painter, ToolkitImage* image, ToolkitImage*& cache, const kwvd::Rect& rect, const CPage* page);
// The visible part: destination cut to the painter's clip and the page,
// source narrowed to match. Right and bottom of source are inclusive.
void MapVisibleRect(QPainter& painter, const CPage* page, kwvd::Rect& destination, kwvd::Rect& source);
// rect is not empty and meets the painter's clip.
BOOL IsVisible(QPainter& painter, const kwvd::Rect& rect);

// Destroys the wrapper and nulls the pointer.
void DestroyImage(ToolkitImage*& image);

} // namespace imagesupport
