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

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <vector>

class CDesignerDoc;
class CFile;
class ITranslator;

class CJVXArchive final
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
    ~CJVXArchive();

    CJVXArchive(const CJVXArchive&) = delete;
    CJVXArchive& operator=(const CJVXArchive&) = delete;

    // Asked for every field of every record: answered inline.
    int GetVersion() const { return m_nVersion; }
    void SetVersion(int version) { m_nVersion = version; }
    BOOL IsStoring() const { return m_nMode == store ? TRUE : FALSE; }
    BOOL IsLoading() const { return m_nMode == load ? TRUE : FALSE; }

    UINT ReadBytes(void* buffer, UINT count);
    void WriteBytes(const void* buffer, UINT count);

    // Reads an n-character field into text; returns the characters read,
    // fewer than n only at the end of the data. The string's block is reused
    // when it is large enough.
    int ReadText(QString& text, int n);
    // Writes exactly n characters: the first n of text, blanks after a
    // shorter one.
    void WriteText(const QString& text, int n)
    {
        // constData, not utf16(): that one copies a string it does not own
        // (literals, the null string) to end it in a zero.
        const auto* units = reinterpret_cast<const char16_t*>(text.constData());
        if (IsRawLine() && n > 0) {
            PutRawField(units, text.size(), n);
            return;
        }
        WriteField(units, text.size(), n);
    }
    // The same for text of plain ASCII characters (digits, signs).
    void WriteAscii(std::string_view text, int n)
    {
        if (IsRawLine() && n > 0) {
            PutRawField(text.data(), static_cast<qsizetype>(text.size()), n);
            return;
        }
        WriteField(text.data(), static_cast<qsizetype>(text.size()), n);
    }
    // Writes value in exactly n digits, zeros first; the caller sees to
    // value < 10^n.
    void WriteDigits(std::uint32_t value, int n)
    {
        if (IsRawLine() && n > 0 && static_cast<size_t>(n) <= kLineSlack / 2) {
            unsigned char* bytes = LineRoom(static_cast<size_t>(n) * 2);
            // Zeros over the field in one store of fixed size (what lies past
            // it goes into the line's slack), then the digits from the right
            // two at a time.
            std::memcpy(bytes, kWideZeros, kLineSlack);
            unsigned char* at = bytes + 2 * n;
            for (; value >= 100; value /= 100) {
                at -= 4;
                std::memcpy(at, kWideDigitPairs[value % 100].data(), 4);
            }
            if (value >= 10) {
                std::memcpy(at - 4, kWideDigitPairs[value].data(), 4);
            } else {
                at[-2] = static_cast<unsigned char>('0' + value);
                at[-1] = 0;
            }
            return;
        }
        WriteDigitsSlowly(value, n);
    }
    // Reads up to n characters into buffer, as ReadText does.
    int ReadCharacters(char16_t* buffer, int n);

    // Gathers what is written up to the next WriteLineEnd and hands it to
    // the file in one write there (a record line of many fields). A Seek
    // hands over what is gathered so far.
    void BeginLine();

    // Accepts CR LF; after a lone CR or LF the character that followed is
    // given back to begin the next field. Anything else, the end of the
    // data included, raises CArchiveException badIndex.
    void ReadLineEnd();
    void WriteLineEnd();

    // from is CFile::begin, current or end; 0 without a file.
    LONG Seek(LONG offset, UINT from);

    CDesignerDoc* GetDocument() const { return m_pDoc; }
    void SetDocument(CDesignerDoc* doc) { m_pDoc = doc; }
    // Empty without a file.
    QString GetFileName() const;
    QString GetFilePath() const;

    // Returns the translator it replaces; null means no translation.
    ITranslator* SetTranslator(ITranslator* translator);

    void WriteWide(const char16_t* characters, int n);
    int ReadWide(char16_t* buffer, int n);

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

    // The line's block reaches this far past its capacity, so that the
    // padding of a short field is written as one block of 8 blanks.
    static constexpr size_t kLineSlack = 16;

    BOOL IsEightBit() const { return m_nVersion <= kLastEightBitVersion; }
    // Characters go into the gathered line as raw UTF-16LE, as they stand
    // in memory: no translator, no 8-bit text.
    bool IsRawLine() const
    {
        return std::endian::native == std::endian::little && m_gathering && m_pTranslator == nullptr
            && !IsEightBit();
    }
    // A field of n > 0 characters into a raw line: the first of text,
    // blanks after.
    template <typename Char>
    void PutRawField(const Char* text, qsizetype have, int n)
    {
        have = std::clamp<qsizetype>(have, 0, n);
        unsigned char* bytes = LineRoom(static_cast<size_t>(n) * 2);
        if constexpr (sizeof(Char) == 2) {
            if (have > 0)
                std::memcpy(bytes, text, static_cast<size_t>(have) * 2);
        } else {
            for (qsizetype i = 0; i < have; ++i) {
                bytes[2 * i] = static_cast<unsigned char>(text[i]);
                bytes[2 * i + 1] = 0;
            }
        }
        if (have < n)
            PutWideBlanks(bytes + 2 * have, static_cast<size_t>(n - have));
    }
    static void PutWideBlanks(unsigned char* bytes, size_t units)
    {
        static constexpr unsigned char kBlanks[kLineSlack] = {' ', 0, ' ', 0, ' ', 0, ' ', 0,
                                                              ' ', 0, ' ', 0, ' ', 0, ' ', 0};
        if (units <= kLineSlack / 2) {
            // One store of fixed size, no call: what lies past the padding
            // goes into the line's slack, where the next field's bytes go.
            std::memcpy(bytes, kBlanks, kLineSlack);
            return;
        }
        PutManyWideBlanks(bytes, units);
    }
    static void PutManyWideBlanks(unsigned char* bytes, size_t units);
    static constexpr unsigned char kWideZeros[kLineSlack] = {'0', 0, '0', 0, '0', 0, '0', 0,
                                                             '0', 0, '0', 0, '0', 0, '0', 0};
    // "00" to "99" in UTF-16LE.
    static constexpr auto kWideDigitPairs = [] {
        std::array<std::array<unsigned char, 4>, 100> pairs{};
        for (int i = 0; i < 100; ++i)
            pairs[i] = {static_cast<unsigned char>('0' + i / 10), 0, static_cast<unsigned char>('0' + i % 10), 0};
        return pairs;
    }();

    void WriteDigitsSlowly(std::uint32_t value, int n);
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
