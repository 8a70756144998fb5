#pragma once
// The export of a document to the host as the program runs it: the socket
// road (the "Export To Server" dialog, then the upload through
// CAS400SoxClient) and what the file road needs of the program (the host's
// folders as local folders, the host program call through the host access
// library). The model reaches these only through the seams it declares.

#include "platform/framework/Types.h"

#include <QString>

class CDesignerDoc;
class ServerAccess;

inline constexpr UINT IDS_CONNECT_FAILED = 233;
inline constexpr UINT IDS_MEMBER_EXISTS_OVERWRITE = 277;
inline constexpr UINT IDS_AUTO_IMPORT_FAILED = 304;
inline constexpr UINT IDS_AUTO_IMPORT_WARNINGS = 305;

// The host answers a program call that ran with warnings with this code.
inline constexpr int kImportWarningsReply = 1200;

void RegisterHostExportStrings();

// Export WVD when ExportUsingSockets is 1: the dialog, with the upload as
// its Export.
void ExportUsingSockets(CDesignerDoc* doc);

// The upload of one export: the JVX file written into a folder of its own,
// sent with everything beside it, imported on request. Non-zero when it is
// done (also when the host's import gave warnings); the user has been told
// why when it is not. The folder is gone afterwards, whatever happened.
int UploadUsingSockets(CDesignerDoc* doc, QString memberName, int version, BOOL autoImport, BOOL overwrite);

// Installs the program's side of the file road: host folder paths mapped
// onto the emulated host's folders (and back), and the host program call
// through "CallRemoteProgram" of the loaded host access library, looked up
// when it is used.
void InstallHostExport(const ServerAccess* access);
