#include "designer/shell/MailAttachmentFolder.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>

#include <memory>

namespace MailAttachmentFolder {

namespace {

const QString kRunPrefix = QStringLiteral("run-");
const QString kLockSuffix = QStringLiteral(".lock");

struct Run
{
    QString folder;
    std::unique_ptr<QLockFile> lock;
};

Run& CurrentRun()
{
    static Run run;
    return run;
}

std::unique_ptr<QLockFile> MakeLock(const QString& runFolder)
{
    auto lock = std::make_unique<QLockFile>(runFolder + kLockSuffix);
    // Only a designer that has ended gives its folder up, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

// A folder that stays when the object goes; empty when it cannot be made.
QString MakeUniqueFolder(const QString& parent, const QString& prefix)
{
    if (!QDir().mkpath(parent))
        return {};
    QTemporaryDir dir(QDir(parent).filePath(prefix + QStringLiteral("XXXXXX")));
    if (!dir.isValid())
        return {};
    dir.setAutoRemove(false);
    return dir.path();
}

QString RunFolder()
{
    Run& run = CurrentRun();
    if (!run.folder.isEmpty())
        return run.folder;
    const QString folder = MakeUniqueFolder(Root(), kRunPrefix);
    if (folder.isEmpty())
        return {};
    std::unique_ptr<QLockFile> lock = MakeLock(folder);
    if (!lock->tryLock(0)) {
        QDir(folder).removeRecursively();
        return {};
    }
    run.folder = folder;
    run.lock = std::move(lock);
    return run.folder;
}

} // namespace

QString Root()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache) + QStringLiteral("/kwvd/mail");
}

QString NewMessageFolder()
{
    const QString run = RunFolder();
    return run.isEmpty() ? QString() : MakeUniqueFolder(run, QStringLiteral("message-"));
}

void RemoveLeftovers()
{
    const QDir root(Root());
    const QString ownFolder = CurrentRun().folder;
    const QStringList runs = root.entryList({kRunPrefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : runs) {
        const QString folder = root.filePath(name);
        if (folder == ownFolder)
            continue;
        // Taking the lock succeeds only when its designer has ended.
        std::unique_ptr<QLockFile> lock = MakeLock(folder);
        if (!lock->tryLock(0))
            continue;
        QDir(folder).removeRecursively();
        lock->unlock();
    }
}

void EndRun()
{
    Run& run = CurrentRun();
    if (run.lock)
        run.lock->unlock();
    run.lock.reset();
    run.folder.clear();
}

} // namespace MailAttachmentFolder
