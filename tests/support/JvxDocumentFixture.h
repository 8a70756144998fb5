#pragma once
// Whole-document JVX files for tests: a translator factory bound for a
// scope, translators that log what was asked of them, and the bytes of files.

#include "designer/document/DesignerDoc.h"
#include "designer/document/TranslatorFactory.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <vector>

// What the translators of one test were asked for.
struct TranslatorLog
{
    std::vector<int> modes;  // in the order they were made
    std::vector<int> ccsids; // every SetHostCCSID, in order
    std::vector<QString> currentFolders; // the current folder when each was made
    int alive = 0;
};

// The host code page 285 through iconv, with a log.
class LoggingTranslator : public IconvTranslator
{
public:
    LoggingTranslator(TranslatorLog& log, int mode) : IconvTranslator("IBM285", mode), m_log(log)
    {
        m_log.modes.push_back(mode);
        m_log.currentFolders.push_back(QDir::currentPath());
        ++m_log.alive;
    }
    ~LoggingTranslator() override { --m_log.alive; }

    int SetHostCCSID(int ccsid) override
    {
        m_log.ccsids.push_back(ccsid);
        return 1;
    }

private:
    TranslatorLog& m_log;
};

// Binds the model's translator factory for the life of the object.
class TranslatorFactoryScope
{
public:
    explicit TranslatorFactoryScope(ServerTranslatorFactory factory)
        : m_previous(SetServerTranslatorFactory(std::move(factory)))
    {
    }
    // Logging translators of code page 285.
    explicit TranslatorFactoryScope(TranslatorLog& log)
        : TranslatorFactoryScope([&log](int mode) -> ITranslator* { return new LoggingTranslator(log, mode); })
    {
    }
    ~TranslatorFactoryScope() { SetServerTranslatorFactory(std::move(m_previous)); }
    TranslatorFactoryScope(const TranslatorFactoryScope&) = delete;
    TranslatorFactoryScope& operator=(const TranslatorFactoryScope&) = delete;

private:
    ServerTranslatorFactory m_previous;
};

inline Bytes ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

inline bool WriteFileBytes(const QString& path, const Bytes& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
           == static_cast<qint64>(bytes.size());
}

// Imports the way the import command does: inside one change transaction.
inline BOOL ImportInTransaction(CDesignerDoc& doc, const QString& path)
{
    CDocChangeGuard change(&doc);
    return doc.ImportJVXFile(path);
}
