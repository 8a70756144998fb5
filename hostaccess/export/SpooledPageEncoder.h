#pragma once
// What a new spooled file is made of, without the host: the attribute list
// in the order the host is given it, and the designer's pages turned into
// SCS lines. Each written line is an absolute move to column 1 and to the
// line's number (0x34 0xC0 0x01 0x34 0xC4 n) followed by its text in the
// host's code page; pages are separated by a form feed, none after the
// last. The host positions lines by one byte counted from 1, so line 0 and
// lines beyond 255 cannot be carried: they are left out, and a text longer
// than 379 bytes is cut. Such lines are collected for one warning at the
// end; the export goes on.

#include "hostaccess/api/SpooledFileIdentity.h"
#include "hostaccess/api/SpooledPageList.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kwvd::merrow {

inline constexpr int kMaxLineBytes = 379;
inline constexpr int kLastLineNumber = 255;
inline constexpr char kPageBreak = 0x0C;

// Attribute keys of a new spooled file.
enum NewSpooledFileKey : int {
    kKeyOutputQueue = 74,
    kKeyOutputQueueLibrary = 73,
    kKeyFileName = 104,
    kKeyUserData = 116,
    kKeyPageSizeUnit = 79,
    kKeyPageWidth = 81,
    kKeyPageLength = 78,
    kKeyOverflowLine = 76,
    kKeyDbcsData = 153,
    kKeyDbcsExtensions = 154,
    kKeyCharSet = 55,
};

struct NewSpooledFileAttribute
{
    enum class Type { Text, Long, Float };

    int key = 0;
    Type type = Type::Text;
    QString text;
    std::int32_t integer = 0;
    float real = 0;
    // A refused optional attribute is passed over; a refused required one
    // ends the export.
    bool required = true;
};

// The attributes in the order they are set. pageSize is {columns, lines};
// null leaves the page size out (a raw copy brings its own), as does a
// value of 0.
std::vector<NewSpooledFileAttribute> NewSpooledFileAttributes(const SpooledFileIdentity& identity,
                                                              const int* pageSize);

// 0x34 0xC0 0x01 0x34 0xC4 line.
QByteArray LinePositionBytes(int line);

// A line in the host's code page.
struct ConvertedLine
{
    QByteArray bytes;
    // The text did not fit: bytes hold what fits whole.
    bool cut = false;
    // Some characters had no equivalent; the host's text says which.
    bool substituted = false;
    QString warning;
};

// A line that could not go to the host as it stands. Pages count from 1 in
// the order written, lines are the page's indexes.
struct UncarriedLine
{
    enum class Reason { LineZero, BeyondLastLine, Cut };

    int page = 0;
    int line = 0;
    Reason reason = Reason::Cut;

    bool operator==(const UncarriedLine&) const = default;
};

// Where the encoded pages go: the converter, the user's answer on a line
// with substitutions, and the new spooled file. A false or empty answer
// has already been reported and ends the export.
class SpooledPageSink
{
public:
    virtual ~SpooledPageSink() = default;

    // The text in the host's code page, at most kMaxLineBytes bytes.
    virtual std::optional<ConvertedLine> ConvertLine(const QString& text) = 0;
    // True leaves the line out.
    virtual bool SkipSubstitutedLine(int line, int page, const QString& warning) = 0;
    virtual bool Write(const QByteArray& bytes) = 0;
    // The form feed between two pages.
    virtual bool WritePageBreak() = 0;
};

// Writes every page that has an array. False when a conversion or a write
// failed; uncarried then holds what was found so far.
bool EncodeSpooledPages(const SpooledPageList& pages, SpooledPageSink& sink, std::vector<UncarriedLine>& uncarried);

// The one warning about the uncarried lines, empty when there are none.
QString UncarriedLinesWarning(const std::vector<UncarriedLine>& uncarried);

} // namespace kwvd::merrow
