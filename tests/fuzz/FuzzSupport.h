#pragma once
// What every fuzz target shares: a scratch folder for readers that take a
// path, and the seed writer mode (KWVD_FUZZ_WRITE_SEEDS=<folder> makes a
// target write seeds made by our own writers into the folder and end).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kwvd::fuzz {

// One folder per process, removed at exit.
inline QDir ScratchFolder()
{
    static QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no scratch folder\n");
        std::abort();
    }
    return QDir(folder.path());
}

// Writes the bytes to the file (replacing it) and gives its path.
inline QString WriteScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = ScratchFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline QString WriteScratchFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    return WriteScratchFile(name, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

// The folder of the seed writer mode, or empty.
inline QString SeedFolderAsked()
{
    return QString::fromLocal8Bit(qgetenv("KWVD_FUZZ_WRITE_SEEDS"));
}

// In the seed writer mode: writes the seeds and ends the program.
inline void WriteSeedsIfAsked(void (*writeSeeds)(const QString& folder))
{
    const QString folder = SeedFolderAsked();
    if (folder.isEmpty())
        return;
    writeSeeds(folder);
    std::exit(0);
}

inline void WriteSeed(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write seed %s\n", qPrintable(name));
}

// Copies a file made by a writer into the seed folder under the name.
inline void CopySeed(const QString& folder, const QString& name, const QString& source)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no seed source %s\n", qPrintable(source));
        return;
    }
    WriteSeed(folder, name, file.readAll());
}

} // namespace kwvd::fuzz
