#include "designer/preferences/Preferences.h"

#include "platform/registry/RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <climits>
#include <cstdint>
#include <optional>

using kwvd::RegistryKey;
using kwvd::RegistryStore;
using kwvd::RegistryValue;

namespace {

const QString kProgramName = QStringLiteral("KWVD Designer");
const QString kPreferencesSection = QStringLiteral("Preferences");
const QString kAS400Section = QStringLiteral("AS400");

constexpr int kNewestJvxVersion = 28;
constexpr int kLargestUndoBuffer = 1024;
constexpr int kLastImageExportFormat = 3;
constexpr int kDorrelDefaultPort = 6400;

QString SectionPath(const QString& section)
{
    return kwvd::ApplicationKeyPath(kProgramName) + u'\\' + section;
}

std::optional<RegistryKey> OpenSection(const QString& section)
{
    return RegistryStore::Instance().OpenKey(HKEY_CURRENT_USER, SectionPath(section));
}

std::optional<RegistryKey> CreateSection(const QString& section)
{
    return RegistryStore::Instance().CreateKey(HKEY_CURRENT_USER, SectionPath(section));
}

// A stored text as a string value gives it: up to its first NUL.
std::optional<QString> ReadText(const std::optional<RegistryKey>& key, const QString& name)
{
    if (!key)
        return std::nullopt;
    std::optional<QString> text = RegistryStore::Instance().ReadText(*key, name);
    if (text) {
        const qsizetype nul = text->indexOf(QChar(u'\0'));
        if (nul >= 0)
            text->truncate(nul);
    }
    return text;
}

QString ReadString(const std::optional<RegistryKey>& key, const QString& name, const QString& defaultText)
{
    const std::optional<QString> text = ReadText(key, name);
    return text && !text->isEmpty() ? *text : defaultText;
}

std::uint32_t ReadDword(const std::optional<RegistryKey>& key, const QString& name, std::uint32_t defaultNumber)
{
    if (!key)
        return defaultNumber;
    return RegistryStore::Instance().ReadNumber(*key, name).value_or(defaultNumber);
}

int ReadInt(const std::optional<RegistryKey>& key, const QString& name, int defaultNumber)
{
    return static_cast<int>(ReadDword(key, name, static_cast<std::uint32_t>(defaultNumber)));
}

void WriteString(const std::optional<RegistryKey>& key, const QString& name, const QString& text)
{
    if (key)
        RegistryStore::Instance().WriteValue(*key, name, RegistryValue::Text(text));
}

void WriteDword(const std::optional<RegistryKey>& key, const QString& name, std::uint32_t number)
{
    if (key)
        RegistryStore::Instance().WriteValue(*key, name, RegistryValue::Number(number));
}

// Flags that go back from their low 16 bits only.
void WriteLowWord(const std::optional<RegistryKey>& key, const QString& name, BOOL flag)
{
    WriteDword(key, name, static_cast<std::uint32_t>(flag) & 0xFFFFu);
}

// The unsigned decimal number that starts at pos (after any blanks), up to
// its first non-digit. Past the end of the text, or with no digit there, it
// is 0: a shortened text never reads beyond its end.
struct Decimal
{
    std::uint32_t wrapped = 0; // modulo 2^32, so its low bits are exact
    bool overflow = false;
};

Decimal DecimalAt(QStringView text, qsizetype pos)
{
    Decimal result;
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
        ++pos;
    std::uint64_t exact = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
        const unsigned digit = text[pos].unicode() - u'0';
        result.wrapped = result.wrapped * 10u + digit;
        if (!result.overflow) {
            exact = exact * 10u + digit;
            result.overflow = exact > UINT32_MAX;
        }
    }
    return result;
}

int IntAt(QStringView text, qsizetype pos)
{
    const Decimal d = DecimalAt(text, pos);
    return d.overflow || d.wrapped > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(d.wrapped);
}

QString ThreeDigits(int number)
{
    return QString::asprintf("%03d", number);
}

COLORREF ReadColour(const std::optional<RegistryKey>& key, const QString& name, COLORREF defaultColour)
{
    const std::optional<QString> text = ReadText(key, name);
    if (!text || text->isEmpty())
        return defaultColour;
    // Only the low 8 bits of each number count.
    return kwvd::ColourRef(static_cast<BYTE>(DecimalAt(*text, 0).wrapped),
                           static_cast<BYTE>(DecimalAt(*text, 4).wrapped),
                           static_cast<BYTE>(DecimalAt(*text, 8).wrapped));
}

void WriteColour(const std::optional<RegistryKey>& key, const QString& name, COLORREF colour)
{
    WriteString(key, name,
                ThreeDigits(kwvd::RedOf(colour)) + u' ' + ThreeDigits(kwvd::GreenOf(colour)) + u' '
                    + ThreeDigits(kwvd::BlueOf(colour)));
}

ZoomPair ReadZoom(const std::optional<RegistryKey>& key, const QString& name, ZoomPair defaultZoom)
{
    const std::optional<QString> text = ReadText(key, name);
    if (!text || text->isEmpty())
        return defaultZoom;
    return ZoomPair{IntAt(*text, 0), IntAt(*text, 4)};
}

void WriteZoom(const std::optional<RegistryKey>& key, const QString& name, ZoomPair zoom)
{
    WriteString(key, name, ThreeDigits(zoom.x) + u' ' + ThreeDigits(zoom.y));
}

DWORD ReadNumberString(const std::optional<RegistryKey>& key, const QString& name, DWORD defaultNumber)
{
    const std::optional<QString> text = ReadText(key, name);
    if (!text || text->isEmpty())
        return defaultNumber;
    const Decimal d = DecimalAt(*text, 0);
    return d.overflow ? UINT32_MAX : d.wrapped;
}

void WriteNumberString(const std::optional<RegistryKey>& key, const QString& name, DWORD number)
{
    WriteString(key, name, QString::number(number));
}

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(u'\\') || path.endsWith(u'/');
}

// The folder of the running program, from the kernel's link to it.
QString ProgramFolder()
{
    QString folder;
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!executable.isEmpty())
        folder = QFileInfo(executable).absolutePath();
    else if (QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute (a
// relative one would put the folder wherever the program was started).
QString DataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : home + QStringLiteral("/.local/share");
}

struct ColourValue
{
    const char* name;
    COLORREF CPreferences::*field;
    COLORREF defaultColour;
};

// In the order they are loaded and saved; the Options sheet's rows follow it.
constexpr ColourValue kColourValues[] = {
    {"ColourElementSource", &CPreferences::ColourElementSource, kwvd::ColourRef(192, 192, 192)},
    {"ColourElementEraser", &CPreferences::ColourElementEraser, kwvd::ColourRef(0, 255, 0)},
    {"ColourElementText", &CPreferences::ColourElementText, kwvd::ColourRef(255, 255, 192)},
    {"ColourElementLoop", &CPreferences::ColourElementLoop, kwvd::ColourRef(255, 255, 0)},
    {"ColourElementConditional", &CPreferences::ColourElementConditional, kwvd::ColourRef(255, 0, 0)},
    {"ColourElementExitParam", &CPreferences::ColourElementExitParam, kwvd::ColourRef(0, 0, 255)},
    {"ColourElementVariable", &CPreferences::ColourElementVariable, kwvd::ColourRef(0, 255, 255)},
    {"ColourElementAddress", &CPreferences::ColourElementAddress, kwvd::ColourRef(255, 0, 255)},
    {"ColourElementBarcode", &CPreferences::ColourElementBarcode, kwvd::ColourRef(128, 128, 128)},
    {"ColourElementImage", &CPreferences::ColourElementImage, kwvd::ColourRef(255, 102, 0)},
    {"ColourElementXmlElement", &CPreferences::ColourElementXmlElement, kwvd::ColourRef(128, 128, 192)},
    {"ColourElementXmlAttribute", &CPreferences::ColourElementXmlAttribute, kwvd::ColourRef(0, 128, 192)},
    {"ColourElementXmlComment", &CPreferences::ColourElementXmlComment, kwvd::ColourRef(255, 255, 192)},
    {"ColourNoPrintBorder", &CPreferences::ColourNoPrintBorder, kwvd::ColourRef(63, 63, 63)},
};

CPreferences* g_installed = nullptr;

} // namespace

CPreferences::CPreferences() = default;

void CPreferences::ReadEnableDebugServices()
{
    EnableDebugServices = ReadInt(OpenSection(kPreferencesSection), QStringLiteral("EnableDebugServices"), 0);
}

void CPreferences::ReadShowSplashWindow()
{
    ShowSplashWindow = ReadInt(OpenSection(kPreferencesSection), QStringLiteral("ShowSplashWindow"), 1);
    m_splashRead = true;
}

void CPreferences::LoadPreferences()
{
    std::optional<RegistryKey> prefs = OpenSection(kPreferencesSection);

    ApplicationDirectory = ReadString(prefs, QStringLiteral("ApplicationDirectory"), {});
    if (ApplicationDirectory.isEmpty()) {
        ApplicationDirectory = ProgramFolder();
        if (!ApplicationDirectory.isEmpty()) {
            prefs = CreateSection(kPreferencesSection);
            WriteString(prefs, QStringLiteral("ApplicationDirectory"), ApplicationDirectory);
        }
    }

    ApplicationDataDirectory = ReadString(prefs, QStringLiteral("ApplicationDataDirectory"), {});
    if (ApplicationDataDirectory.isEmpty()) {
        const QString dataHome = DataHome();
        if (!dataHome.isEmpty()) {
            ApplicationDataDirectory = dataHome + u'/' + kProgramName;
            // Kept unwritten when the folder cannot be made, so the next
            // start tries again.
            if (QDir().mkpath(ApplicationDataDirectory)) {
                prefs = CreateSection(kPreferencesSection);
                WriteString(prefs, QStringLiteral("ApplicationDataDirectory"), ApplicationDataDirectory);
            }
        }
    }

    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty())
        QDir().mkpath(documents);
    const QString base = documents.isEmpty() ? QString() : documents + u'/' + kProgramName;
    DefaultImageDirectory =
        ReadString(prefs, QStringLiteral("DefaultImageDirectory"), base + QStringLiteral("/Images"));
    DefaultSpooledFileDirectory =
        ReadString(prefs, QStringLiteral("DefaultSpooledFileDirectory"), base + QStringLiteral("/Spooled Files"));
    DefaultDocDirectory = ReadString(prefs, QStringLiteral("DefaultDocDirectory"), base);

    MasterFontFileV2 = ReadString(prefs, QStringLiteral("MasterFontFileV2"), {});
    MasterOutputDeviceFileV2 = ReadString(prefs, QStringLiteral("MasterOutputDeviceFileV2"), {});
    MasterBarcodeFileName = ReadString(prefs, QStringLiteral("MasterBarcodeFileName"), {});
    OutputDeviceOffsetsFileName = ReadString(prefs, QStringLiteral("OutputDeviceOffsetsFileName"), {});

    const std::optional<RegistryKey> as400 = OpenSection(kAS400Section);
    DefaultSystem = ReadString(as400, QStringLiteral("DefaultSystem"), {});
    DefaultLibrary = ReadString(as400, QStringLiteral("DefaultLibrary"), QStringLiteral("KWVD")).trimmed();
    SetDefaultExportPath(ReadString(as400, QStringLiteral("DefaultExportPath"), {}));
    DefaultOutputQueue = ReadString(as400, QStringLiteral("DefaultOutputQueue"), QStringLiteral("QPRINT"));
    DefaultOutputQueueLibrary = ReadString(as400, QStringLiteral("DefaultOutputQueueLibrary"), DefaultLibrary);
    ExportUsingSockets = ReadInt(as400, QStringLiteral("ExportUsingSockets"), 0);
    ExportSocketsPort = ReadInt(as400, QStringLiteral("ExportSocketsPort"), 3772);
    DorrelAddress = ReadString(as400, QStringLiteral("DorrelAddress"), {});

    for (const ColourValue& colour : kColourValues)
        this->*colour.field = ReadColour(prefs, QString::fromLatin1(colour.name), colour.defaultColour);

    ZoomSource = ReadZoom(prefs, QStringLiteral("ZoomSource"), ZoomPair{0, 0});
    ZoomDest = ReadZoom(prefs, QStringLiteral("ZoomDest"), ZoomPair{0, 0});
    ZoomFitSource = ReadInt(prefs, QStringLiteral("ZoomFitSource"), 4);
    ZoomFitDest = ReadInt(prefs, QStringLiteral("ZoomFitDest"), 4);
    StickyTools = ReadInt(prefs, QStringLiteral("StickyTools"), 0);

    DefaultCodePageID = ReadNumberString(prefs, QStringLiteral("DefaultCodePageID"), 285);
    DefaultChrID = ReadNumberString(prefs, QStringLiteral("DefaultChrID"), 697);
    DefaultCodePage = ReadString(prefs, QStringLiteral("DefaultCodePage"), QStringLiteral("T1V10285"));
    DefaultCharSet = ReadString(prefs, QStringLiteral("DefaultCharSet"), QStringLiteral("Ansi"));

    MaxSpooledFilePages = ReadInt(prefs, QStringLiteral("MaxSpooledFilePages"), 20);

    const int imageFormat = ReadInt(prefs, QStringLiteral("ImageExportFormat"), 1);
    ImageExportFormat = imageFormat >= 0 && imageFormat <= kLastImageExportFormat ? imageFormat : 0;

    ImageResolutionRounding = ReadInt(prefs, QStringLiteral("ImageResolutionRounding"), 0);

    const int undoSize = ReadInt(prefs, QStringLiteral("MaximumUndoBufferSize"), 1);
    MaximumUndoBufferSize = undoSize >= 0 && undoSize <= kLargestUndoBuffer ? undoSize : 1;

    const int jvxVersion = ReadInt(prefs, QStringLiteral("DefaultJVXVersion"), kNewestJvxVersion);
    DefaultJVXVersion = jvxVersion > 0 && jvxVersion <= kNewestJvxVersion ? jvxVersion : kNewestJvxVersion;

    OverwriteExistingAS400File = ReadInt(prefs, QStringLiteral("OverwriteExistingAS400File"), 0);

    // Saved at exit whatever happened at start-up, so it must hold what the
    // store holds even when start-up did not read it first.
    if (!m_splashRead)
        ReadShowSplashWindow();

    m_loaded = true;
}

void CPreferences::SavePreferences() const
{
    if (!m_loaded)
        return;

    const std::optional<RegistryKey> prefs = CreateSection(kPreferencesSection);
    WriteLowWord(prefs, QStringLiteral("ShowSplashWindow"), ShowSplashWindow);
    WriteString(prefs, QStringLiteral("DefaultImageDirectory"), DefaultImageDirectory);
    WriteString(prefs, QStringLiteral("DefaultSpooledFileDirectory"), DefaultSpooledFileDirectory);
    WriteString(prefs, QStringLiteral("DefaultDocDirectory"), DefaultDocDirectory);
    WriteString(prefs, QStringLiteral("MasterFontFileV2"), MasterFontFileV2);
    WriteString(prefs, QStringLiteral("MasterOutputDeviceFileV2"), MasterOutputDeviceFileV2);
    WriteString(prefs, QStringLiteral("MasterBarcodeFileName"), MasterBarcodeFileName);
    WriteString(prefs, QStringLiteral("OutputDeviceOffsetsFileName"), OutputDeviceOffsetsFileName);

    const std::optional<RegistryKey> as400 = CreateSection(kAS400Section);
    WriteString(as400, QStringLiteral("DefaultSystem"), DefaultSystem);
    WriteString(as400, QStringLiteral("DefaultLibrary"), DefaultLibrary);
    WriteString(as400, QStringLiteral("DefaultExportPath"), DefaultExportPath);
    WriteString(as400, QStringLiteral("DefaultOutputQueue"), DefaultOutputQueue);
    WriteString(as400, QStringLiteral("DefaultOutputQueueLibrary"), DefaultOutputQueueLibrary);
    WriteLowWord(as400, QStringLiteral("ExportUsingSockets"), ExportUsingSockets);
    WriteDword(as400, QStringLiteral("ExportSocketsPort"), static_cast<std::uint32_t>(ExportSocketsPort));
    WriteString(as400, QStringLiteral("DorrelAddress"), DorrelAddress);

    for (const ColourValue& colour : kColourValues)
        WriteColour(prefs, QString::fromLatin1(colour.name), this->*colour.field);

    WriteZoom(prefs, QStringLiteral("ZoomSource"), ZoomSource);
    WriteZoom(prefs, QStringLiteral("ZoomDest"), ZoomDest);
    WriteDword(prefs, QStringLiteral("ZoomFitSource"), static_cast<std::uint32_t>(ZoomFitSource));
    WriteDword(prefs, QStringLiteral("ZoomFitDest"), static_cast<std::uint32_t>(ZoomFitDest));
    WriteLowWord(prefs, QStringLiteral("StickyTools"), StickyTools);
    WriteNumberString(prefs, QStringLiteral("DefaultCodePageID"), DefaultCodePageID);
    WriteNumberString(prefs, QStringLiteral("DefaultChrID"), DefaultChrID);
    WriteString(prefs, QStringLiteral("DefaultCodePage"), DefaultCodePage);
    WriteString(prefs, QStringLiteral("DefaultCharSet"), DefaultCharSet);
    WriteDword(prefs, QStringLiteral("MaximumUndoBufferSize"), static_cast<std::uint32_t>(MaximumUndoBufferSize));
    WriteDword(prefs, QStringLiteral("MaxSpooledFilePages"), static_cast<std::uint32_t>(MaxSpooledFilePages));
    WriteDword(prefs, QStringLiteral("ImageExportFormat"), static_cast<std::uint32_t>(ImageExportFormat));
    // The newest version is what an absent value means, so it is not kept.
    if (DefaultJVXVersion == kNewestJvxVersion) {
        if (prefs)
            RegistryStore::Instance().DeleteValue(*prefs, u"DefaultJVXVersion");
    } else {
        WriteDword(prefs, QStringLiteral("DefaultJVXVersion"), static_cast<std::uint32_t>(DefaultJVXVersion));
    }
    WriteLowWord(prefs, QStringLiteral("OverwriteExistingAS400File"), OverwriteExistingAS400File);
}

COLORREF CPreferences::ReadColourValue(const QString& section, const QString& entry, COLORREF defaultColour) const
{
    return ReadColour(OpenSection(section), entry, defaultColour);
}

void CPreferences::WriteColourValue(const QString& section, const QString& entry, COLORREF colour) const
{
    WriteColour(CreateSection(section), entry, colour);
}

ZoomPair CPreferences::ReadZoomValue(const QString& section, const QString& entry, ZoomPair defaultZoom) const
{
    return ReadZoom(OpenSection(section), entry, defaultZoom);
}

COLORREF CPreferences::GetElementColour(int typeIndex) const
{
    switch (typeIndex) {
    case 0:
        return ColourElementAddress;
    case 1:
        return ColourElementBarcode;
    case 3:
        return ColourElementConditional;
    case 7:
        return ColourElementEraser;
    case 8:
        return ColourElementExitParam;
    case 10:
        return ColourElementImage;
    case 11:
        return ColourElementLoop;
    case 16:
        return ColourElementSource;
    case 17:
        return ColourElementText;
    case 18:
        return ColourElementVariable;
    case 19:
        return ColourElementXmlAttribute;
    case 20:
        return ColourElementXmlComment;
    case 21:
        return ColourElementXmlElement;
    case 77:
        return ColourNoPrintBorder;
    default:
        return kwvd::kWhite;
    }
}

void CPreferences::SetDefaultExportPath(const QString& path)
{
    DefaultExportPath = path;
    if (!DefaultExportPath.isEmpty() && !EndsWithSeparator(DefaultExportPath))
        DefaultExportPath += u'/';
}

QString CPreferences::GetExportPathRoot() const
{
    QString root = DefaultExportPath;
    const qsizetype library =
        DefaultLibrary.isEmpty() ? -1 : DefaultExportPath.indexOf(DefaultLibrary, 0, Qt::CaseSensitive);
    if (library > 0)
        root.truncate(library);
    if (!root.isEmpty() && !EndsWithSeparator(root))
        root += u'/';
    return root;
}

QString CPreferences::GetDorrelBaseUrl() const
{
    QString url = DorrelAddress;
    if (url.isEmpty())
        url = QStringLiteral("http://%1:%2").arg(DefaultSystem).arg(kDorrelDefaultPort);
    if (url.endsWith(u'\\') || url.endsWith(u'/'))
        url.chop(1);
    return url;
}

CPreferences& Preferences()
{
    static CPreferences neverLoaded;
    return g_installed ? *g_installed : neverLoaded;
}

CPreferences* SetPreferences(CPreferences* preferences)
{
    CPreferences* before = g_installed;
    g_installed = preferences;
    return before;
}
