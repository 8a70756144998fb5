#pragma once
// The emulated host's output queues and the spooled files in them, as the
// store keeps them: a queue is a folder <QUEUE>.OUTQ of its library, each
// spooled file two files in it (its bytes and its attributes). The spooled
// file C functions, emuhost and the tests go through here; every change is
// made under the store's lock. README.md beside this file gives the layout.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kwvd::clientaccess {

// The types an attribute value is handed out as; the numbers are those of
// the interface.
enum class AttributeType : unsigned
{
    Short = 1, // std::int16_t
    Long = 2,  // std::int32_t
    Text = 3,  // NUL-terminated 8-bit text
    Float = 4, // float (32-bit)
};

struct AttributeValue
{
    AttributeType type = AttributeType::Text;
    QString text;
    std::int32_t integer = 0;
    float real = 0;
};

// The attribute keys a spooled file answers.
enum AttributeKey : int
{
    kKeyCharSet = 55,
    kKeyDate = 34, // CYYMMDD, C 0 for 19xx, 1 for 20xx
    kKeyUser = 62,
    kKeyLibrary = 73,
    kKeyOutputQueue = 74,
    kKeyOverflowLine = 76,
    kKeyPageLength = 78,
    kKeyPageUnit = 79,
    kKeyPageWidth = 81,
    kKeyFile = 104,
    kKeyTime = 110, // HHMMSS
    kKeyTotalPages = 111,
    kKeyUserData = 116,
    kKeyDbcsData = 153,
    kKeyDbcsExtensions = 154,
};

struct AttributeKeyInfo
{
    int key;
    AttributeType type;
    const char* name;            // emuhost's option and listing name
    std::optional<AttributeValue> defaultValue; // for a file that was given none
    bool settable;               // by the attribute list of a new spooled file
};

// Every key a spooled file answers, in the order emuhost lists them.
const std::vector<AttributeKeyInfo>& AttributeKeys();
const AttributeKeyInfo* FindAttributeKey(int key);
const AttributeKeyInfo* FindAttributeKey(const QString& name);

// A value of the key's type from text ("132", "*NO"); empty when it is not
// one.
std::optional<AttributeValue> ParseAttributeValue(const AttributeKeyInfo& key, const QString& text);
QString AttributeText(const AttributeValue& value);

struct SpooledFile
{
    QString system;  // as configured
    QString library; // as the folders name them
    QString queue;
    unsigned long number = 0;
    std::map<int, AttributeValue> attributes; // as stored: neither 73 nor 74
};

// The value of a key for the file: the queue and library from where it is,
// a stored value, else the key's default; empty when the file carries none.
std::optional<AttributeValue> SpooledFileAttribute(const SpooledFile& file, int key);

// The folder of an output queue, QSYS.LIB/<LIB>.LIB/<QUEUE>.OUTQ.
QString OutputQueueFolder(const QString& system, const QString& library, const QString& queue);
bool OutputQueueExists(const QString& system, const QString& library, const QString& queue);

// Creates an empty queue in an existing library; one that exists is refused.
bool AddOutputQueue(const QString& system, const QString& library, const QString& queue, QString* error);

// The queues of a library as the folders name them, sorted.
std::vector<QString> OutputQueueNames(const QString& system, const QString& library);
// The libraries of the system, sorted.
std::vector<QString> LibraryNames(const QString& system);

// The spooled files of a queue in creation order (ascending number), their
// attributes read, their bytes not.
std::vector<SpooledFile> SpooledFilesOf(const QString& system, const QString& library, const QString& queue);

// One spooled file, and its bytes.
std::optional<SpooledFile> FindSpooledFile(const QString& system, const QString& library, const QString& queue,
                                           unsigned long number);
std::optional<QByteArray> SpooledFileData(const SpooledFile& file, QString* error);

// Puts a spooled file into an existing queue under the next number of the
// queue (numbers are never reused); it appears whole or not at all.
// attributes must hold 104, 62, 116, 111, 34 and 110.
bool AddSpooledFile(const QString& system, const QString& library, const QString& queue,
                    std::map<int, AttributeValue> attributes, const QByteArray& data, unsigned long* number,
                    QString* error);

bool RemoveSpooledFile(const QString& system, const QString& library, const QString& queue, unsigned long number,
                       QString* error);

// The data types of a block of spooled-file data, as the interface numbers
// them.
enum SpooledDataType : unsigned
{
    kDataScs = 1,
    kDataUserAscii = 2,
    kDataAfpds = 3,   // begins with 0x5A, the AFP structured-field introducer
    kDataUnknown = 4, // an empty block
};

// The rule: empty is unknown; a first byte of 0x5A is AFP; no byte of 0x80
// or above and more ASCII blanks (0x20) than EBCDIC blanks (0x40) is
// USERASCII; anything else is SCS, whose text (EBCDIC letters and digits are
// 0x81 and above) and controls fail the USERASCII test.
SpooledDataType AnalyseSpooledData(const char* data, unsigned long length);

// Total pages: the form feeds (0x0C), plus one when data follows the last
// one (so data without a form feed is one page, no data none). In SCS data
// a 0x0C that is the parameter of a control (the line of an absolute
// vertical move to line 12, say) is no form feed and is not counted.
std::int32_t CountPages(const QByteArray& data);

// The host's date CYYMMDD and time HHMMSS of the clock's time now (UTC, as
// the job log stamps).
QString HostDateNow();
QString HostTimeNow();

} // namespace kwvd::clientaccess
