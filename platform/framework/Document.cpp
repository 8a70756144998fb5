#include "platform/framework/Document.h"

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

KWVD_IMPLEMENT_DYNAMIC(CDocument, CObject)

namespace {

const QString kUntitled = QStringLiteral("Untitled");

// What a program without a user gets: every question is backed out of and
// every report goes to the log.
class BackingOutPrompter : public DocumentPrompter
{
public:
    SaveChoice AskToSave(const QString&) override { return SaveChoice::Cancel; }
    QString ChooseSavePath(const QString&, const QString&, const QString&) override { return {}; }
    void ReportSaveLoadException(const QString& path, const CException& error, bool saving) override
    {
        qWarning().noquote() << (saving ? "Saving" : "Opening") << path << "failed:" << error.GetErrorMessage();
    }
};

std::shared_ptr<DocumentPrompter>& installedPrompter()
{
    static std::shared_ptr<DocumentPrompter> prompter;
    return prompter;
}

QString fullPathOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QByteArray nativePath(const QString& path)
{
    return path.toUtf8();
}

[[noreturn]] void throwOsError(int osError, const QString& path)
{
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, path);
}

// A new empty file beside the target, made with the target's folder's
// rules (umask) and never one that already exists.
QString createTemporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        AfxThrowFileException(CFileException::badPath, ENOENT, target);

    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = folder + QLatin1String("/.") + info.fileName() + QLatin1Char('.')
                                  + QString::number(QRandomGenerator::global()->generate(), 36)
                                  + QLatin1String(".tmp");
        const int fd = ::open(nativePath(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            throwOsError(errno, target);
    }
    throwOsError(EEXIST, target);
}

// The file a save replaces: a link is followed, so the link stays a link.
QString saveTargetOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString resolved = info.canonicalFilePath();
        if (!resolved.isEmpty())
            return resolved;
    }
    return fullPathOf(path);
}

} // namespace

DocumentPrompter::~DocumentPrompter() = default;

DocumentPrompter& DocumentPrompts()
{
    static BackingOutPrompter backingOut;
    const auto& prompter = installedPrompter();
    return prompter ? *prompter : backingOut;
}

std::shared_ptr<DocumentPrompter> SetDocumentPrompter(std::shared_ptr<DocumentPrompter> prompter)
{
    std::swap(installedPrompter(), prompter);
    return prompter;
}

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

void CDocument::SetTitle(const QString& title)
{
    m_strTitle = title;
}

void CDocument::SetPathName(const QString& path)
{
    m_strPathName = fullPathOf(path);
    SetTitle(QFileInfo(m_strPathName).fileName());
}

void CDocument::ClearPathName()
{
    m_strPathName.clear();
    SetTitle(QString());
}

void CDocument::SetFileType(const QString& filter, const QString& defaultExtension)
{
    m_strFilter = filter;
    m_strDefaultExt = defaultExtension;
}

void CDocument::SetModifiedFlag(BOOL modified)
{
    m_bModified = modified != FALSE;
}

void CDocument::AddView(CView* view)
{
    if (!view || view->m_pDocument == this)
        return;
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    const auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    // A view may close itself or another in its update.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view == sender || view->m_pDocument != this)
            continue;
        view->OnUpdate(sender, hint, hintObject);
    }
}

void CDocument::DeleteContents()
{
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetTitle(kUntitled);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const QString& path)
{
    const QString fullPath = fullPathOf(path);
    CFile file;
    CFileException openError;
    if (!file.Open(fullPath, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(fullPath, openError, FALSE);
        return FALSE;
    }

    auto fail = [&](const CException& error) {
        file.Abort();
        DeleteContents();
        ClearPathName();
        SetModifiedFlag(FALSE);
        ReportSaveLoadException(fullPath, error, FALSE);
        return FALSE;
    };

    DeleteContents();
    try {
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = this;
        ar.SetFilePath(fullPath);
        try {
            Serialize(ar);
            ar.Close();
        } catch (...) {
            ar.Abort();
            throw;
        }
        file.Close();
    } catch (const CException& error) {
        return fail(error);
    } catch (const std::bad_alloc&) {
        return fail(CMemoryException());
    }

    SetPathName(fullPath);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const QString& path)
{
    if (path.isEmpty()) {
        ReportSaveLoadException(path, CFileException(CFileException::badPath, ENOENT), TRUE);
        return FALSE;
    }
    const QString target = saveTargetOf(path);
    QString temporary;

    auto fail = [&](const CException& error) {
        if (!temporary.isEmpty())
            ::unlink(nativePath(temporary).constData());
        ReportSaveLoadException(target, error, TRUE);
        return FALSE;
    };

    try {
        temporary = createTemporaryBeside(target);
        CFile file;
        CFileException openError;
        if (!file.Open(temporary, CFile::modeWrite, &openError)) {
            openError.m_strFileName = target;
            throw openError;
        }
        try {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = this;
            ar.SetFilePath(target);
            try {
                Serialize(ar);
                ar.Close();
            } catch (...) {
                ar.Abort();
                throw;
            }
            file.Flush();
            file.Close();
        } catch (...) {
            file.Abort();
            throw;
        }

        // The replacement keeps the access rights the user gave the old file.
        struct stat old {};
        if (::stat(nativePath(target).constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::chmod(nativePath(temporary).constData(), old.st_mode & 07777);

        if (::rename(nativePath(temporary).constData(), nativePath(target).constData()) != 0)
            throwOsError(errno, target);
        temporary.clear();
    } catch (const CException& error) {
        return fail(error);
    } catch (const std::bad_alloc&) {
        return fail(CMemoryException());
    }

    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    const std::vector<CView*> views = m_views;
    for (CView* view : views)
        RemoveView(view);
    DeleteContents();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;

    QString name = GetTitle();
    if (name.isEmpty())
        name = QFileInfo(GetPathName()).fileName();
    if (name.isEmpty())
        name = kUntitled;

    switch (DocumentPrompts().AskToSave(name)) {
    case DocumentPrompter::SaveChoice::Save:
        return DoFileSave();
    case DocumentPrompter::SaveChoice::Discard:
        return TRUE;
    case DocumentPrompter::SaveChoice::Cancel:
        break;
    }
    return FALSE;
}

BOOL CDocument::DoSave(const QString& path, BOOL replace)
{
    QString target = path;
    if (target.isEmpty()) {
        QString proposed = GetTitle();
        if (proposed.isEmpty())
            proposed = kUntitled;
        // A title may hold characters a file name cannot.
        proposed.replace(QLatin1Char('/'), QLatin1Char('_'));
        proposed.remove(QChar(0));
        if (!m_strDefaultExt.isEmpty() && !proposed.contains(QLatin1Char('.')))
            proposed += QLatin1Char('.') + m_strDefaultExt;

        target = DocumentPrompts().ChooseSavePath(proposed, m_strFilter, m_strDefaultExt);
        if (target.isEmpty())
            return FALSE;
    }

    if (!OnSaveDocument(target))
        return FALSE;
    if (replace)
        SetPathName(target);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(GetPathName(), TRUE);
}

void CDocument::ReportSaveLoadException(const QString& path, const CException& error, BOOL saving)
{
    DocumentPrompts().ReportSaveLoadException(path, error, saving != FALSE);
}

void CDocument::Serialize(CArchive&)
{
}
