#include "platform/framework/DamagedFileKeeper.h"

#include <QFile>
#include <QFileInfo>

namespace kwvd {

bool DamagedFileKeeper::OpenFailed(const CFileException& error, const QString& path)
{
    if (error.m_cause == CFileException::fileNotFound || !QFileInfo::exists(path))
        return false;
    m_readFailed = true;
    return true;
}

void DamagedFileKeeper::KeepBeforeWrite(const QString& path, const Tell& tell)
{
    if (!m_readFailed || !QFileInfo(path).isFile())
        return;
    const QString kept = path + QStringLiteral(".damaged");
    QFile::remove(kept);
    if (QFile::rename(path, kept) && tell)
        tell(path, kept);
}

} // namespace kwvd
