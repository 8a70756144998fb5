#pragma once
// Writing a file so that a failure never damages the one it replaces: the
// bytes go to a new temporary file beside the target, which is renamed over
// it only when everything was written. A link is followed, so it stays a
// link, and the new file keeps the access rights of the old one.

#include <QString>

#include <functional>

class CFile;

namespace kwvd {

// Calls write with the temporary file open for writing, then flushes it to
// disk and renames it over path. Any exception (a CFileException from the file
// operations, or whatever write throws) leaves the target as it was, removes
// the temporary file and passes on. File exceptions name the target.
void SaveFileReplacing(const QString& path, const std::function<void(CFile&)>& write);

} // namespace kwvd
