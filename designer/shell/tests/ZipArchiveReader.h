#pragma once
// Zip archives read back with minizip's reader, entry by entry, as whoever
// unpacks a sent archive reads them.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <minizip/unzip.h>

#include <gtest/gtest.h>

#include <vector>

// One entry as minizip's reader sees it.
struct ReadEntry
{
    QString name;
    QByteArray data;
    uLong crc = 0;
    uLong method = 0;
    uLong dosDate = 0;
    bool utf8Name = false;
    bool crcChecked = false;
};

inline std::vector<ReadEntry> ReadArchive(const QString& path)
{
    std::vector<ReadEntry> entries;
    unzFile zip = unzOpen(QFile::encodeName(path).constData());
    EXPECT_NE(zip, nullptr) << path.toStdString();
    if (!zip)
        return entries;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info info{};
        char name[1024] = {};
        EXPECT_EQ(unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0), UNZ_OK);
        ReadEntry entry;
        entry.name = QString::fromUtf8(name);
        entry.crc = info.crc;
        entry.method = info.compression_method;
        entry.dosDate = info.dosDate;
        entry.utf8Name = (info.flag & (1u << 11)) != 0;
        EXPECT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
        char buffer[4096];
        for (int read; (read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            entry.data.append(buffer, read);
        // The reader compares the CRC of what it inflated with the stored one.
        entry.crcChecked = unzCloseCurrentFile(zip) == UNZ_OK;
        entries.push_back(entry);
    }
    unzClose(zip);
    return entries;
}
