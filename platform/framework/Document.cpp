#include "platform/framework/Document.h"

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <new>
#include <sys/stat.h>

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

} // namespace

DocumentPrompter::~DocumentPrompter() = default;

bool DocumentPrompter::AskToReplaceChangedFile(const QString& path)
{
    qWarning().noquote() << "Not saved:" << path << "was changed by another program";
    return false;
}

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
    m_fileStamp.reset();
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

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    m_fileStamp.reset();
    SetTitle(kUntitled);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const QString& path)
{
    const QString fullPath = fullPathOf(path);
    m_bFailureReported = false;
    CFile file;
    CFileException openError;
    if (!file.Open(fullPath, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(fullPath, openError, FALSE);
        return FALSE;
    }
    // Taken before reading: a change made while the file is read counts.
    const std::optional<FileStamp> stamp = StampOf(fullPath);

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
    m_fileStamp = stamp;
    SetModifiedFlag(FALSE);
    return TRUE;
}

std::optional<CDocument::FileStamp> CDocument::StampOf(const QString& fullPath)
{
    struct stat info
    {};
    if (fullPath.isEmpty() || ::stat(fullPath.toUtf8().constData(), &info) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.path = fullPath;
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modifiedSeconds = static_cast<long long>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<long long>(info.st_mtim.tv_nsec);
    return stamp;
}

void CDocument::RememberFileStamp()
{
    m_fileStamp = StampOf(m_strPathName);
}

BOOL CDocument::MayReplaceFile(const QString& fullPath)
{
    if (!m_fileStamp || m_fileStamp->path != fullPath)
        return TRUE;
    const std::optional<FileStamp> now = StampOf(fullPath);
    // A file removed since has nobody's work in it.
    if (!now || now->SameFileState(*m_fileStamp))
        return TRUE;
    return DocumentPrompts().AskToReplaceChangedFile(fullPath) ? TRUE : FALSE;
}

BOOL CDocument::OnSaveDocument(const QString& path)
{
    m_bFailureReported = false;
    if (path.isEmpty()) {
        ReportSaveLoadException(path, CFileException(CFileException::badPath, ENOENT), TRUE);
        return FALSE;
    }
    const QString fullPath = fullPathOf(path);
    try {
        // Refused before anyone is asked whether to replace it.
        kwvd::CheckReplaceableTarget(fullPath);
    } catch (const CFileException& error) {
        ReportSaveLoadException(fullPath, error, TRUE);
        return FALSE;
    }
    if (!MayReplaceFile(fullPath))
        return FALSE;
    try {
        kwvd::SaveFileReplacing(path, [&](CFile& file) {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = this;
            ar.SetFilePath(fullPath);
            try {
                Serialize(ar);
                ar.Close();
            } catch (...) {
                ar.Abort();
                throw;
            }
        });
    } catch (const CException& error) {
        ReportSaveLoadException(fullPath, error, TRUE);
        return FALSE;
    } catch (const std::bad_alloc&) {
        ReportSaveLoadException(fullPath, CMemoryException(), TRUE);
        return FALSE;
    }

    if (fullPath == m_strPathName)
        RememberFileStamp();
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
    if (replace) {
        SetPathName(target);
        RememberFileStamp();
    }
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(GetPathName(), TRUE);
}

void CDocument::ReportSaveLoadException(const QString& path, const CException& error, BOOL saving)
{
    if (m_bFailureReported)
        return;
    DocumentPrompts().ReportSaveLoadException(path, error, saving != FALSE);
}

void CDocument::Serialize(CArchive&) {}
