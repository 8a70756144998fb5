#pragma once
// What the user chooses when exporting a document to a JVX file: the path,
// the JVX version (through the file type), and whether an existing file is
// replaced without asking. The dialog itself is a window (document/ui); the
// export command reaches it through one installable runner, so the command's
// loop runs the same with the window or with a test's script.

#include "platform/framework/Types.h"
#include "platform/ui/DialogTextId.h"

#include <QString>

#include <functional>

inline constexpr UINT IDS_EXPORT_DEFAULT_EXTENSION = 217; // "jvx"
inline constexpr UINT IDS_EXPORT_BUTTON = 276;
inline constexpr UINT IDS_FILE_EXISTS_REPLACE = 281;
inline constexpr UINT IDS_INVALID_MEMBER_NAME = 306;
inline constexpr UINT IDS_NO_EXPORT_PATH = 307;
inline constexpr UINT IDS_IMPORT_PROGRAM = 336; // "PCWVDCL"
inline constexpr UINT IDS_AUTO_IMPORT = 388;
inline constexpr UINT IDS_OVERWRITE_EXISTING = 394;
// The export dialog's template; its caption is the dialog's text.
inline constexpr UINT IDD_EXPORT_TO_AS400 = 120;
inline constexpr UINT IDS_EXPORT_TITLE = DialogTextId(IDD_EXPORT_TO_AS400, 0); // "Export WVD"

void RegisterExportStrings();

// The versions a JVX file can be written in.
inline constexpr int kOldestExportVersion = 5;
inline constexpr int kNewestExportVersion = 28;
// "WVD Export Files" (the newest version), one entry per older version down
// to the oldest, then "All Files".
inline constexpr int kExportFilterCount = kNewestExportVersion - kOldestExportVersion + 2;

int ClampExportVersion(int version);
// Entry n (from 1) of the export dialog's file types stands for version
// 29 - n; "All Files" and anything outside the list for the newest.
int ExportVersionForFilterIndex(int filterIndex);
int ExportFilterIndexForVersion(int version);
// The file types in the form the choosers take: "text|patterns|...||".
QString ExportFilter();

struct ExportChoice
{
    // Offered to the user.
    QString title;
    QString initialFolder;
    QString fileName;
    QString defaultExtension;
    QString filter;
    int filterIndex = 1;
    // The automatic import is offered only when it can run.
    bool offerAutoImport = false;
    bool autoImport = false;
    bool overwrite = false;

    // Chosen: the full path; the file type, autoImport and overwrite as the
    // user left them.
    QString path;
};

// Shows the export dialog; false when the user cancelled.
using ExportDialogRunner = std::function<bool(ExportChoice& choice)>;

// Installs the runner (an empty function: every export is cancelled, as a
// library without a user must never block) and returns the one before.
ExportDialogRunner SetExportDialogRunner(ExportDialogRunner runner);
bool RunExportDialog(ExportChoice& choice);

// Runs a program on the host through the host access library: the system,
// the program as "LIB/PGM" and its parameters. The library reports its own
// failures. Installed by the program; without one the automatic import after
// an export does nothing.
using RemoteProgramCaller =
    std::function<void(const QString& system, const QString& program, const QString& parameters)>;
RemoteProgramCaller SetRemoteProgramCaller(RemoteProgramCaller caller);
void CallInstalledRemoteProgram(const QString& system, const QString& program, const QString& parameters);
