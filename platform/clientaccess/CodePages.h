#pragma once
// The layer's own side of the code pages: what the other groups ask of them.

namespace kwvd::clientaccess {

// Whether text can be converted to and from this CCSID or code page.
bool IsConvertibleCcsid(unsigned ccsid);

} // namespace kwvd::clientaccess
