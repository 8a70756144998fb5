#pragma once
// The designer's user settings, kept under
// HKEY_CURRENT_USER\Software\Qorvane\KWVD Designer in the sections
// "Preferences" and "AS400". The application loads them once at start-up,
// the Options sheet edits the fields in between, and the application saves
// them once at exit. Model code reads them through Preferences(): the model
// never reaches the application object itself.
//
// Registry failures are not reported: a value that cannot be read (absent,
// or stored with another type) takes its default, and a failed write is lost.

#include "designer/preferences/ColourRef.h"
#include "platform/framework/Types.h"

#include <QString>

// Horizontal and vertical zoom of a pane, in percent.
struct ZoomPair
{
    int x = 0;
    int y = 0;

    friend bool operator==(const ZoomPair&, const ZoomPair&) = default;
};

class CPreferences
{
public:
    // Every field empty or 0, except MaximumUndoBufferSize, which is 1.
    CPreferences();

    // Start-up reads these two on their own, before the rest is loaded.
    void ReadEnableDebugServices();
    void ReadShowSplashWindow();

    // Reads every value, computing, writing and (for the data folder)
    // creating the folder defaults that are missing.
    void LoadPreferences();
    // Writes nothing until LoadPreferences has run, so an exit after a
    // start-up that never got that far cannot blank the user's settings.
    void SavePreferences() const;
    bool IsLoaded() const { return m_loaded; }

    // Colour "RRR GGG BBB" and zoom "XXX YYY" texts of the given section.
    COLORREF ReadColourValue(const QString& section, const QString& entry, COLORREF defaultColour) const;
    void WriteColourValue(const QString& section, const QString& entry, COLORREF colour) const;
    ZoomPair ReadZoomValue(const QString& section, const QString& entry, ZoomPair defaultZoom) const;

    // typeIndex is the element type id minus 249; 77 is the no-print border.
    // Kinds without a colour of their own, and every other index, give white.
    COLORREF GetElementColour(int typeIndex) const;

    // Keeps the folder with a closing separator, unless it is empty.
    void SetDefaultExportPath(const QString& path);
    // The export path cut before the default library's folder, with a
    // closing separator: where the host's folders start.
    QString GetExportPathRoot() const;
    // DorrelAddress, else the default system's catalogue server on port
    // 6400; without one trailing "\" or "/".
    QString GetDorrelBaseUrl() const;

    QString GetDefaultCharSet() const { return DefaultCharSet; }
    void SetDefaultCharSet(const QString& charSet) { DefaultCharSet = charSet; }

    // Whether the host access library was loaded at start-up; the default of
    // a document's automatic import follows it.
    BOOL IsServerAccessLoaded() const { return m_serverAccessLoaded; }
    void SetServerAccessLoaded(BOOL loaded) { m_serverAccessLoaded = loaded; }

    // Section "Preferences".
    QString ApplicationDirectory;     // the program's folder, closing "/"
    QString ApplicationDataDirectory; // no closing "/"
    QString DefaultImageDirectory;
    QString DefaultSpooledFileDirectory;
    QString DefaultDocDirectory;
    QString MasterFontFileV2;
    QString MasterOutputDeviceFileV2;
    QString MasterBarcodeFileName;
    QString OutputDeviceOffsetsFileName;

    COLORREF ColourElementSource = 0;
    COLORREF ColourElementEraser = 0;
    COLORREF ColourElementText = 0;
    COLORREF ColourElementLoop = 0;
    COLORREF ColourElementConditional = 0;
    COLORREF ColourElementExitParam = 0;
    COLORREF ColourElementVariable = 0;
    COLORREF ColourElementAddress = 0;
    COLORREF ColourElementBarcode = 0;
    COLORREF ColourElementImage = 0;
    COLORREF ColourElementXmlElement = 0;
    COLORREF ColourElementXmlAttribute = 0;
    COLORREF ColourElementXmlComment = 0;
    COLORREF ColourNoPrintBorder = 0;

    ZoomPair ZoomSource;
    ZoomPair ZoomDest;
    // 0 none (use the percentages), 1 page width, 2 page height, 4 whole page.
    int ZoomFitSource = 0;
    int ZoomFitDest = 0;
    BOOL StickyTools = FALSE;

    DWORD DefaultCodePageID = 0;
    DWORD DefaultChrID = 0;
    QString DefaultCodePage;
    QString DefaultCharSet;

    int MaxSpooledFilePages = 0;
    int ImageExportFormat = 0;
    int ImageResolutionRounding = 0;
    int MaximumUndoBufferSize = 1; // megabytes, 0 turns undo off
    int DefaultJVXVersion = 0;
    BOOL OverwriteExistingAS400File = FALSE;
    BOOL ShowSplashWindow = FALSE;
    BOOL EnableDebugServices = FALSE; // read at start-up, never written

    // Section "AS400".
    QString DefaultSystem;
    QString DefaultLibrary;
    QString DefaultExportPath;
    QString DefaultOutputQueue;
    QString DefaultOutputQueueLibrary;
    BOOL ExportUsingSockets = FALSE;
    int ExportSocketsPort = 0;
    QString DorrelAddress;

private:
    bool m_loaded = false;
    bool m_splashRead = false;
    BOOL m_serverAccessLoaded = FALSE;
};

// The preferences the model reads: the ones installed with SetPreferences,
// else a process-wide object that was never loaded.
CPreferences& Preferences();

// Installs the object Preferences() gives (nullptr: the process-wide one
// again) and returns the one installed before. The caller keeps ownership.
CPreferences* SetPreferences(CPreferences* preferences);
