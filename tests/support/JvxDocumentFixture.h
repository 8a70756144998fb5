#pragma once
// Whole-document JVX files for tests: a translator factory bound for a
// scope, translators that log what was asked of them, and the bytes of files.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/TranslatorFactory.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// What the translators of one test were asked for.
struct TranslatorLog
{
    std::vector<int> modes;              // in the order they were made
    std::vector<int> ccsids;             // every SetHostCCSID, in order
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
    {}
    // Logging translators of code page 285.
    explicit TranslatorFactoryScope(TranslatorLog& log)
        : TranslatorFactoryScope([&log](int mode) -> ITranslator* { return new LoggingTranslator(log, mode); })
    {}
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

// The JVX file carries no spooled file, yet the source page's size, over
// which Loops span, follows it: a document read back needs the same pages.
inline void CopySpooledPages(const CDesignerDoc& from, CDesignerDoc& to)
{
    const CSpooledFile* source = from.GetSpooledFile();
    for (int n = 1; n <= source->GetPageCount(); ++n) {
        const CStringArray* lines = source->GetPage(n);
        auto* copy = new CStringArray;
        if (lines != nullptr)
            for (qsizetype i = 0; i < lines->GetSize(); ++i)
                copy->Add(lines->GetAt(i));
        if (!to.GetSpooledFile()->SetPage(copy, n))
            delete copy;
    }
}

// Where two files part: the offset and the bytes around it, for a failure
// message that shows the record at fault.
inline std::string FirstDifference(const Bytes& a, const Bytes& b)
{
    const auto parted = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const size_t at = static_cast<size_t>(parted.first - a.begin());
    if (parted.first == a.end() && parted.second == b.end())
        return "the same bytes";
    const size_t from = at >= 24 ? at - 24 : 0;
    auto window = [&](const Bytes& bytes) {
        std::string text;
        for (size_t i = from; i < std::min(bytes.size(), at + 24); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X ", bytes[i]);
            text += hex;
        }
        return text;
    };
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at byte "
           + std::to_string(at) + "\n  " + window(a) + "\n  " + window(b);
}
