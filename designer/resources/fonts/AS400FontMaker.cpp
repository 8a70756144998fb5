#include "designer/resources/fonts/AS400FontMaker.h"

#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontFGID.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/File.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>

namespace {

// Far beyond any real table; a larger file is not one.
constexpr ULONGLONG kMaxTableBytes = 16u * 1024u * 1024u;

QString FindIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(QString::fromLatin1(CAS400FontMaker::kFileName));
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(QLatin1String(CAS400FontMaker::kFileName), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

void ReportTableError(const CException& error)
{
    if (Preferences().EnableDebugServices)
        ReportError(error);
    AfxMessageBox(FormatResMessage(IDS_FILE_READ_ERROR, CAS400FontMaker::kFileName), MB_OK | MB_ICONERROR);
}

bool StartsSection(const QString& line, const char* header)
{
    return line.startsWith(QLatin1String(header));
}

} // namespace

CAS400FontMaker::CAS400FontMaker(DWORD codePageId, DWORD characterId, const QString& codePageName)
    : m_nCodePageId(codePageId), m_nCharacterId(characterId), m_strCodePageName(codePageName)
{
    ReadFgidSection();
    ReadCharsetSection();
}

CAS400FontMaker::~CAS400FontMaker() = default;

QStringList CAS400FontMaker::ProgramDataFolders()
{
    const QByteArray named = qgetenv("KWVD_DATA_DIR");
    if (!named.isEmpty())
        return {QString::fromLocal8Bit(named)};
    // A library may be used before (or without) the application object.
    const QString programFolder = QCoreApplication::instance() != nullptr
                                      ? QCoreApplication::applicationDirPath()
                                      : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (programFolder.isEmpty())
        return {};
    // Installed as <prefix>/bin and <prefix>/share/kwvd; the build tree has
    // the same shape.
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("../share/kwvd"))), program.path()};
}

QString CAS400FontMaker::FindFontTableFile()
{
    QStringList folders{QDir::currentPath(), Preferences().ApplicationDataDirectory};
    folders << ProgramDataFolders();
    for (const QString& folder : folders) {
        const QString path = FindIn(folder);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QStringList CAS400FontMaker::ReadFontTableLines()
{
    const QString path = FindFontTableFile();
    if (path.isEmpty())
        AfxThrowFileException(CFileException::fileNotFound, ENOENT, QString::fromLatin1(kFileName));
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    const ULONGLONG length = file.GetLength();
    if (length > kMaxTableBytes)
        AfxThrowFileException(CFileException::invalidFile, 0, path);
    std::vector<char16_t> units(static_cast<size_t>(length / 2));
    if (!units.empty()) {
        const UINT wanted = static_cast<UINT>(units.size() * 2);
        if (file.Read(units.data(), wanted) != wanted)
            AfxThrowFileException(CFileException::endOfFile, 0, path);
    }
    // The units are little-endian on disk.
    for (char16_t& unit : units) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&unit);
        unit = static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
    }
    QString text = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n') {
            lines << line;
            line.clear();
        } else if (c == u'\r') {
            lines << line;
            line.clear();
            ++i; // the character after CR belongs to the line end
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

void CAS400FontMaker::ReadFgidSection()
{
    m_fgids.clear();
    QStringList lines;
    try {
        lines = ReadFontTableLines();
    } catch (const CException& error) {
        ReportTableError(error);
        return;
    }
    qsizetype i = 0;
    while (i < lines.size() && !StartsSection(lines[i], "[FGID]"))
        ++i;
    for (++i; i < lines.size(); ++i) {
        auto entry = std::make_unique<CAS400FontFGID>(lines[i]);
        if (entry->m_nFGID != 0)
            m_fgids.push_back(std::move(entry));
    }
}

void CAS400FontMaker::ReadCharsetSection()
{
    m_charsetFonts.clear();
    QStringList lines;
    try {
        lines = ReadFontTableLines();
    } catch (const CException& error) {
        ReportTableError(error);
        return;
    }
    qsizetype i = 0;
    while (i < lines.size() && !StartsSection(lines[i], "[CHARSET]"))
        ++i;
    for (++i; i < lines.size(); ++i) {
        if (lines[i].startsWith(u'['))
            break;
        if (auto font = MakeCharsetFont(lines[i]))
            m_charsetFonts.push_back(std::move(font));
    }
}

std::unique_ptr<CAS400Font> CAS400FontMaker::MakeCharsetFont(const QString& line) const
{
    if (line.isEmpty() || line.startsWith(u';'))
        return nullptr;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 1)
        return nullptr;

    QString name = line.left(equals).left(fonttable::kMaxField);
    while (!name.isEmpty() && name.back().isSpace())
        name.chop(1);
    if (name.isEmpty())
        return nullptr;
    if (name.size() > 1 && name[1] == u'?')
        name[1] = u'0';

    const QStringList fields = line.mid(equals + 1).split(u',');
    if (fields.size() < 5)
        return nullptr;
    long long fgid = 0;
    long long height = 0;
    long long width = 0;
    if (!fonttable::ParseDecimal(fields[0], fgid) || fgid < 1 || fgid > 99999)
        return nullptr;
    if (!fonttable::ParseDecimal(fields[1], height) || height < 0 || height > 99999)
        return nullptr;
    if (!fonttable::ParseDecimal(fields[2], width) || width < 0 || width > 99999)
        return nullptr;
    const QString strikeout = fields[3];
    if (strikeout != QLatin1String("0") && strikeout != QLatin1String("1"))
        return nullptr;
    if (fields[4].isEmpty() || (fields[4][0] != u'0' && fields[4][0] != u'1'))
        return nullptr;
    const BOOL underline = fields[4][0] == u'1' ? TRUE : FALSE;

    const CAS400FontFGID* entry = FindFgid(static_cast<DWORD>(fgid));
    if (entry == nullptr)
        return nullptr;
    return std::make_unique<CAS400Font>(name, m_strCodePageName, entry->m_nFGID, m_nCodePageId, m_nCharacterId,
                                        entry->m_nPitchAndFamily, entry->m_strTypeface, static_cast<DWORD>(width),
                                        static_cast<DWORD>(height), entry->m_bBold, entry->m_bItalic, underline,
                                        strikeout == QLatin1String("1") ? TRUE : FALSE, QString(), QString(), FALSE);
}

const CAS400FontFGID* CAS400FontMaker::FindFgid(DWORD fgid) const
{
    for (const auto& entry : m_fgids) {
        if (entry->m_nFGID == fgid)
            return entry.get();
    }
    return nullptr;
}

const CAS400FontFGID* CAS400FontMaker::FindFgidByTypeface(const CAS400Font& font) const
{
    const QString face = font.GetTypeface();
    const QString wbFace = QLatin1String("wb") + face;
    const bool bold = (font.GetFlags() & CAS400Font::kBold) != 0;
    const bool italic = (font.GetFlags() & CAS400Font::kItalic) != 0;
    for (const auto& entry : m_fgids) {
        const bool sameFace = entry->m_strTypeface.compare(face, Qt::CaseInsensitive) == 0
                              || entry->m_strTypeface.compare(wbFace, Qt::CaseInsensitive) == 0;
        if (sameFace && (!bold || entry->m_bBold) && (!italic || entry->m_bItalic))
            return entry.get();
    }
    return nullptr;
}
