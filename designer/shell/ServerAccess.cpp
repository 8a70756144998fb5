#include "designer/shell/ServerAccess.h"

#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

constexpr UINT IDS_SERVER_CONTACT_FAILED = 278;

} // namespace

const char* const ServerAccess::kLibraryFileName = "libMerrow2.so";

ServerAccess::~ServerAccess()
{
    Free();
}

QStringList ServerAccess::DefaultSearchFolders()
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    const QByteArray env = qgetenv("KWVD_LIBRARY_PATH");
    if (!env.isEmpty())
        folders << QString::fromLocal8Bit(env);
    return folders;
}

BOOL ServerAccess::Load(const QStringList& folders)
{
    Free();
    m_loadError.clear();
    QString found;
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder).filePath(QString::fromLatin1(kLibraryFileName)));
        if (!folder.isEmpty() && candidate.isFile()) {
            found = candidate.absoluteFilePath();
            break;
        }
    }
    if (found.isEmpty())
        return FALSE;
    m_module = dlopen(QFile::encodeName(found).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_module) {
        // A file that is there but no usable library: the user must hear
        // why, or server access is off without a word.
        const char* reason = dlerror();
        m_loadError = reason ? QString::fromLocal8Bit(reason) : found;
        return FALSE;
    }
    m_path = found;
    return TRUE;
}

void ServerAccess::Free()
{
    if (m_module)
        dlclose(m_module);
    m_module = nullptr;
    m_path.clear();
}

void* ServerAccess::FindEntryPoint(const char* name) const
{
    if (!m_module)
        return nullptr;
    return dlsym(m_module, name);
}

ITranslator* ServerAccess::CreateTranslator(int mode, const QString& system) const
{
    if (!m_module)
        return nullptr;
    const auto create = reinterpret_cast<CreateTranslatorProc>(FindEntryPoint(MerrowEntryPoint::kCreateTranslator));
    if (!create) {
        AfxMessageBox(IDS_SERVER_CONTACT_FAILED);
        return nullptr;
    }
    return CreateTranslatorWith(create, mode, system);
}

ITranslator* ServerAccess::CreateTranslatorWith(CreateTranslatorProc create, int mode, const QString& system)
{
    ITranslator* translator = create ? create(&system) : nullptr;
    if (!translator)
        return nullptr;
    if (translator->SetMode(mode) == 0) {
        delete translator;
        return nullptr;
    }
    return translator;
}

int ServerAccess::CallCRTWVD(CrtWvdRequest* request) const
{
    const auto call = reinterpret_cast<CallCRTWVDProc>(FindEntryPoint(MerrowEntryPoint::kCallCRTWVD));
    if (!call || !request)
        return 0;
    Prompts().BeginWaitCursor();
    const int result = call(request);
    Prompts().EndWaitCursor();
    return result;
}
