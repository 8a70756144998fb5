#include "designer/shell/ZipFile.h"

#include "designer/shell/MailStrings.h"
#include "platform/framework/File.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <minizip/zip.h>

#include <new>
#include <vector>

KWVD_IMPLEMENT_SERIAL(CZipFile, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kCopyBufferSize = 16384;
constexpr int kCompressionLevel = 9;
// General purpose flag bit 11: the entry's name is UTF-8.
constexpr uLong kUtf8NameFlag = 1u << 11;
// Enough draws to find a free name among 100000 unless nearly all are taken.
constexpr int kTempNameAttempts = 100000;

CZipFile::NumberSource& InstalledNumberSource()
{
    static CZipFile::NumberSource source;
    return source;
}

CZipFile::FileOpener& InstalledFileOpener()
{
    static CZipFile::FileOpener opener;
    return opener;
}

unsigned NextTempNumber()
{
    if (const CZipFile::NumberSource& source = InstalledNumberSource())
        return source();
    return QRandomGenerator::global()->bounded(100000u);
}

std::unique_ptr<CFile> OpenForReading(const QString& path)
{
    if (const CZipFile::FileOpener& opener = InstalledFileOpener())
        return opener(path);
    auto file = std::make_unique<CFile>();
    if (!file->Open(path, CFile::modeRead | CFile::typeBinary))
        return nullptr;
    return file;
}

// The DOS form of the file's last write in local time, date in the high
// word; 0 when the file cannot be found. DOS times start in 1980.
uLong DosDateTimeOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    QDateTime time = info.lastModified().toLocalTime();
    const QDateTime earliest(QDate(1980, 1, 1), QTime(0, 0));
    const QDateTime latest(QDate(2107, 12, 31), QTime(23, 59, 58));
    if (time < earliest)
        time = earliest;
    if (time > latest)
        time = latest;
    const QDate d = time.date();
    const QTime t = time.time();
    const uLong date = (uLong(d.year() - 1980) << 9) | (uLong(d.month()) << 5) | uLong(d.day());
    const uLong clock = (uLong(t.hour()) << 11) | (uLong(t.minute()) << 5) | uLong(t.second() / 2);
    return (date << 16) | clock;
}

void ShowMessage(UINT id, const QString& insert)
{
    AfxMessageBox(FormatResMessage(id, insert), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

CZipFile::CZipFile() = default;

CZipFile::~CZipFile()
{
    if (m_zip)
        zipClose(static_cast<zipFile>(m_zip), nullptr);
    m_zip = nullptr;
    if (m_temporary && !m_path.isEmpty())
        QFile::remove(m_path);
}

CZipFile::NumberSource CZipFile::SetTempNumberSource(NumberSource source)
{
    NumberSource previous = std::move(InstalledNumberSource());
    InstalledNumberSource() = std::move(source);
    return previous;
}

CZipFile::FileOpener CZipFile::SetFileOpener(FileOpener opener)
{
    FileOpener previous = std::move(InstalledFileOpener());
    InstalledFileOpener() = std::move(opener);
    return previous;
}

void CZipFile::ReportWriteError() const
{
    ShowMessage(MailString::WriteError, m_path);
}

BOOL CZipFile::MakeTempName(QString& path)
{
    const QString folder = QDir::tempPath();
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        const QString candidate = QDir(folder).filePath(QString::asprintf("WVD%05u.zip", NextTempNumber()));
        // Creating the file is what makes the name ours: a check for a
        // free name and a later create could race with another program.
        QFile file(candidate);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            path = candidate;
            return TRUE;
        }
        if (!QFileInfo::exists(candidate))
            return FALSE; // the folder refuses new files
    }
    return FALSE;
}

BOOL CZipFile::Open(QString& path)
{
    Close();
    if (m_temporary && path != m_path) {
        QFile::remove(m_path);
        m_temporary = FALSE;
    }
    if (path.isEmpty()) {
        if (!MakeTempName(path)) {
            ShowMessage(MailString::WriteError, QDir::tempPath());
            return FALSE;
        }
        m_temporary = TRUE;
    }
    m_path = path;
    m_entries.clear();
    m_zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!m_zip) {
        ReportWriteError();
        return FALSE;
    }
    return TRUE;
}

QString CZipFile::MakeEntryName(const QString& path) const
{
    QString name;
    if (m_relativeNames == 1 && !m_basePath.isEmpty()) {
        name = MakeAbsolutePath(path, QString());
        MakeRelativePath(name, MakeAbsolutePath(m_basePath, QString()));
    } else {
        name = QDir::cleanPath(path);
    }
    // An absolute name would unpack over the receiver's own files.
    while (name.startsWith(u'/'))
        name.remove(0, 1);
    return name;
}

BOOL CZipFile::AddFile(const QString& path)
{
    if (path.isEmpty())
        return TRUE;
    return AddFile(path, MakeEntryName(path));
}

BOOL CZipFile::AddFile(const QString& path, const QString& entryName)
{
    if (path.isEmpty() || m_entries.contains(entryName))
        return TRUE;
    if (!m_zip) {
        QString archive = m_path;
        if (!Open(archive))
            return FALSE;
    }

    std::vector<char> buffer;
    try {
        buffer.resize(kCopyBufferSize);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(LoadResString(MailString::OutOfMemory), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The file is opened before its entry, so a file that cannot be read
    // leaves no empty entry standing for it.
    std::unique_ptr<CFile> file = OpenForReading(path);
    if (!file) {
        AfxMessageBox(LoadResString(MailString::FailedToOpenDocument), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    zip_fileinfo info{};
    info.dosDate = DosDateTimeOf(path);
    const QByteArray name = entryName.toUtf8();
    auto* zip = static_cast<zipFile>(m_zip);
    if (zipOpenNewFileInZip4(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                             kCompressionLevel, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                             kUtf8NameFlag)
        != ZIP_OK) {
        ReportWriteError();
        return FALSE;
    }

    BOOL result = TRUE;
    try {
        for (;;) {
            const UINT read = file->Read(buffer.data(), kCopyBufferSize);
            if (read == 0)
                break;
            if (read < kCopyBufferSize && file->GetPosition() < file->GetLength()) {
                ShowMessage(MailString::ReadError, path);
                result = FALSE;
                break;
            }
            if (zipWriteInFileInZip(zip, buffer.data(), read) != ZIP_OK) {
                ReportWriteError();
                result = FALSE;
                break;
            }
        }
    } catch (const CException&) {
        ShowMessage(MailString::ReadError, path);
        result = FALSE;
    }
    file->Abort();

    // Closing the entry here, not with the next one, flushes its data while
    // a failure still belongs to this file.
    if (zipCloseFileInZip(zip) != ZIP_OK && result) {
        ReportWriteError();
        result = FALSE;
    }
    m_entries.insert(entryName);
    return result;
}

BOOL CZipFile::Close()
{
    if (!m_zip)
        return TRUE;
    const int closed = zipClose(static_cast<zipFile>(m_zip), nullptr);
    m_zip = nullptr;
    if (closed != ZIP_OK) {
        ReportWriteError();
        return FALSE;
    }
    return TRUE;
}
