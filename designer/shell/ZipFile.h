#pragma once
// A zip archive the designer writes to send a document with its files: each
// file goes in whole, deflated at level 9, with the DOS time of its last
// write. With relative names on, entries are named by their path relative
// to the base path's folder, so the archive unpacks into the layout the
// document refers to; a name is never absolute and always uses "/", and it
// is stored as UTF-8 with the format's flag for it.
//
// An archive opened without a path gets a free temporary name and is
// deleted with the object. Failures are reported to the user and come back
// as FALSE.

#include "designer/elements/AttachmentSinks.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class CFile;

class CZipFile : public CObject, public IZipFileSink
{
    KWVD_DECLARE_SERIAL(CZipFile)

public:
    CZipFile();
    // Closes an open archive; deletes a temporary one.
    ~CZipFile() override;

    CZipFile(const CZipFile&) = delete;
    CZipFile& operator=(const CZipFile&) = delete;

    // Creates the archive at path; an empty path gets a temporary name,
    // written back. FALSE, after a message, when it could not be created.
    BOOL Open(QString& path);
    // Adds the file under MakeEntryName's name; an empty path adds nothing,
    // nor does a name the archive already holds (one image used by several
    // elements goes in once). Opens the archive first when it is not open.
    BOOL AddFile(const QString& path) override;
    // Adds the file under a name the caller chose (a copy standing for
    // another file).
    BOOL AddFile(const QString& path, const QString& entryName);
    // Finishes the archive. TRUE when nothing was open.
    BOOL Close();

    // A free "WVD<number>.zip" in the temporary folder, reserved by
    // creating it empty. FALSE when none could be made.
    static BOOL MakeTempName(QString& path);
    QString MakeEntryName(const QString& path) const;

    const QString& GetPath() const { return m_path; }
    BOOL IsTemporary() const { return m_temporary; }
    BOOL IsOpen() const { return m_zip != nullptr; }

    // Entry names relative to the folder of m_basePath (a file's path).
    int m_relativeNames = 0;
    QString m_basePath;

    // The numbers temporary names are drawn from; empty: pseudo-random.
    using NumberSource = std::function<unsigned()>;
    static NumberSource SetTempNumberSource(NumberSource source);
    // Opens a file to be added for reading; null when it cannot be opened.
    // Empty: the framework's file.
    using FileOpener = std::function<std::unique_ptr<CFile>(const QString& path)>;
    static FileOpener SetFileOpener(FileOpener opener);

private:
    void ReportWriteError() const;

    BOOL m_temporary = FALSE;
    void* m_zip = nullptr;
    QString m_path;
    QSet<QString> m_entries;
};
