#pragma once
// The reader and writer of the JVX file's fixed-width text over an open file.
//
// Up to version 18 a character is one byte of Windows-1252 text. From
// version 19 every character passes through the translator in force, which
// turns it into host bytes and back; with no translator the characters go
// to the file as raw UTF-16LE. Lines end in CR LF in the same form.
//
// The archive owns nothing: the file, the document and the translators stay
// their owners'.

#include "platform/framework/SafeFileSave.h"
#include "platform/framework/Types.h"

#include <QString>

#include <QList>

#include <exception>
#include <memory>
#include <string_view>
#include <vector>

class CDesignerDoc;
class CFile;
class ITranslator;

class CJVXArchive
{
public:
    enum Mode : int {
        store = 1,
        load = 2
    };

    static constexpr int kLastEightBitVersion = 18;

    // file and doc may be null; without a file every read gives 0
    // characters and every write does nothing.
    CJVXArchive(int version, int mode, CDesignerDoc* doc, CFile* file);
    virtual ~CJVXArchive();

    CJVXArchive(const CJVXArchive&) = delete;
    CJVXArchive& operator=(const CJVXArchive&) = delete;

    virtual int GetVersion() const;
    virtual void SetVersion(int version);
    virtual BOOL IsStoring() const;
    virtual BOOL IsLoading() const;

    virtual UINT ReadBytes(void* buffer, UINT count);
    virtual void WriteBytes(const void* buffer, UINT count);

    // Reads an n-character field into text; returns the characters read,
    // fewer than n only at the end of the data. The string's block is reused
    // when it is large enough.
    virtual int ReadText(QString& text, int n);
    // Writes exactly n characters: the first n of text, blanks after a
    // shorter one.
    virtual void WriteText(const QString& text, int n);
    // The same for text of plain ASCII characters (digits, signs).
    void WriteAscii(std::string_view text, int n);
    // Reads up to n characters into buffer, as ReadText does.
    int ReadCharacters(char16_t* buffer, int n);

    // Gathers what is written up to the next WriteLineEnd and hands it to
    // the file in one write there (a record line of many fields). A Seek
    // hands over what is gathered so far.
    void BeginLine();

    // Accepts CR LF; after a lone CR or LF the character that followed is
    // given back to begin the next field. Anything else, the end of the
    // data included, raises CArchiveException badIndex.
    virtual void ReadLineEnd();
    virtual void WriteLineEnd();

    // from is CFile::begin, current or end; 0 without a file.
    virtual LONG Seek(LONG offset, UINT from);

    virtual CDesignerDoc* GetDocument() const;
    virtual void SetDocument(CDesignerDoc* doc);
    // Empty without a file.
    virtual QString GetFileName() const;
    virtual QString GetFilePath() const;

    // Returns the translator it replaces; null means no translation.
    virtual ITranslator* SetTranslator(ITranslator* translator);

    virtual void WriteWide(const char16_t* characters, int n);
    virtual int ReadWide(char16_t* buffer, int n);

    ITranslator* GetTranslator() const { return m_pTranslator; }
    CFile* GetFile() const { return m_pFile; }
    // TRUE when nothing is left to read (always without a file).
    BOOL IsAtEnd();

    // A failure met deep inside the reading (a container's children) that
    // the reading went on past: the first one is kept for the top-level
    // reader, which reports it.
    void KeepReadError(std::exception_ptr error);
    std::exception_ptr TakeReadError();

    // A file written beside the JVX file while storing (an image file), with
    // the copy of the file it replaced, if any: a failed export takes the
    // new file away and puts the old one back.
    struct WrittenFile
    {
        QString path;
        QString backup;
    };
    void NoteWrittenFile(const QString& path, const QString& backup = QString())
    {
        m_writtenFiles.append(WrittenFile{path, backup});
    }
    const QList<WrittenFile>& WrittenFiles() const { return m_writtenFiles; }

private:
    class LineSink;

    BOOL IsEightBit() const { return m_nVersion <= kLastEightBitVersion; }
    template <typename Char>
    void WriteField(const Char* text, qsizetype have, int n);
    // Wide forms: through the translator, or raw UTF-16LE.
    template <typename Char>
    void WriteUnits(const Char* text, qsizetype have, int n);
    CFile* TranslatorTarget();
    // Room for count more bytes at the end of the line, not cleared.
    unsigned char* LineRoom(size_t count)
    {
        if (count > m_lineCapacity - m_lineSize)
            GrowLine(count);
        unsigned char* room = m_line.get() + m_lineSize;
        m_lineSize += count;
        return room;
    }
    void GrowLine(size_t count);
    // Gives what the line holds to the file, then ends the gathering.
    void EndLine();

    int m_nVersion;
    int m_nMode;
    CDesignerDoc* m_pDoc;
    CFile* m_pFile;
    ITranslator* m_pTranslator = nullptr;
    std::exception_ptr m_readError;
    QList<WrittenFile> m_writtenFiles;
    // The line being gathered, and the file a translator writes it through.
    bool m_gathering = false;
    std::unique_ptr<unsigned char[]> m_line;
    size_t m_lineSize = 0;
    size_t m_lineCapacity = 0;
    std::unique_ptr<LineSink> m_lineSink;
};

// The process-wide translator for user text (the document's code page),
// set by the JVX reader and writer for one exchange and null otherwise.
ITranslator* UserDataTranslator();
// Returns the one it replaces.
ITranslator* SetUserDataTranslator(ITranslator* translator);

// Files written beside the JVX file (the copies of image files an export
// replaces) are named as the safe file save names them.
using kwvd::CreateUnusedFileBeside;

// Puts a translator on an archive for one scope and the previous one back
// afterwards, also when a read fails.
class CJVXTranslatorScope
{
public:
    CJVXTranslatorScope(CJVXArchive& ar, ITranslator* translator) : m_ar(ar), m_previous(ar.SetTranslator(translator))
    {}
    ~CJVXTranslatorScope() { m_ar.SetTranslator(m_previous); }

    CJVXTranslatorScope(const CJVXTranslatorScope&) = delete;
    CJVXTranslatorScope& operator=(const CJVXTranslatorScope&) = delete;

private:
    CJVXArchive& m_ar;
    ITranslator* m_previous;
};
