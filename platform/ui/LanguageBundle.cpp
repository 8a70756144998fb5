#include "platform/ui/LanguageBundle.h"

#include <QFile>
#include <QKeySequence>
#include <QStringDecoder>

#include <limits>
#include <set>

namespace {

constexpr QByteArrayView kFormatName = "KWVD Language";
constexpr int kFormatVersion = 1;
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

enum class Section {
    None,
    Texts,
    Accelerators
};

bool IsDecimal(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A 32-bit number, decimal or "0x" and hexadecimal digits; nothing else
// around it.
std::optional<quint64> ParseNumber(QStringView text)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        if (text.size() > 10)
            return std::nullopt;
        quint64 value = 0;
        for (QChar c : text.mid(2)) {
            const int digit = c.unicode() < 128 ? HexValue(char(c.unicode())) : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
        }
        return value;
    }
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : text) {
        if (c.unicode() >= 128 || !IsDecimal(char(c.unicode())))
            return std::nullopt;
        value = value * 10 + quint64(c.unicode() - u'0');
    }
    return value;
}

// The text after the "=" with its escapes undone; nothing for an escape
// the format does not have.
std::optional<QString> Unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out.append(text[i]);
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case u'n':
            out.append(u'\n');
            break;
        case u't':
            out.append(u'\t');
            break;
        case u'\\':
            out.append(u'\\');
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

bool IsValidKey(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return false;
    const Qt::Key key = sequence[0].key();
    return key != Qt::Key_unknown && key != 0;
}

class Reader
{
public:
    explicit Reader(QString* error) : m_error(error) {}

    bool Fail(int line, const QString& reason)
    {
        if (m_error)
            *m_error = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(reason) : reason;
        return false;
    }

    QString* m_error;
};

} // namespace

WORD LanguageBundle::ParseHeader(QByteArrayView line)
{
    if (line.startsWith(kUtf8Bom))
        line = line.sliced(kUtf8Bom.size());
    if (line.endsWith('\r'))
        line.chop(1);
    // "KWVD Language 1 0x0407": the name, the version, the LANGID.
    const QByteArray expected = kFormatName.toByteArray() + ' ' + QByteArray::number(kFormatVersion) + " 0x";
    if (line.size() != expected.size() + 4 || !line.startsWith(expected))
        return 0;
    int language = 0;
    for (char c : line.sliced(expected.size())) {
        const int digit = HexValue(c);
        if (digit < 0)
            return 0;
        language = language * 16 + digit;
    }
    return WORD(language);
}

WORD LanguageBundle::ReadFileLanguage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // A header is short; a longer first line is no header.
    const QByteArray line = file.readLine(128);
    QByteArrayView view(line);
    if (!view.endsWith('\n') && !file.atEnd())
        return 0;
    if (view.endsWith('\n'))
        view.chop(1);
    return ParseHeader(view);
}

std::shared_ptr<LanguageBundle> LanguageBundle::Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return nullptr;
    }
    // The size is checked before anything is read: a bundle is never large.
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileSize);
        return nullptr;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileSize);
        return nullptr;
    }
    return Parse(bytes, error);
}

std::shared_ptr<LanguageBundle> LanguageBundle::Parse(QByteArrayView bytes, QString* error)
{
    Reader reader(error);
    if (bytes.size() > kMaxFileSize) {
        reader.Fail(0, QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileSize));
        return nullptr;
    }
    std::shared_ptr<LanguageBundle> bundle(new LanguageBundle);
    Section section = Section::None;
    std::set<Section> seenSections;
    std::set<QString> seenKeys;

    qsizetype pos = 0;
    int lineNumber = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = bytes.sliced(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (raw.size() > kMaxLineSize) {
            reader.Fail(lineNumber, QStringLiteral("the line is longer than %1 bytes").arg(kMaxLineSize));
            return nullptr;
        }
        if (lineNumber == 1) {
            bundle->m_language = ParseHeader(raw);
            if (bundle->m_language == 0) {
                reader.Fail(lineNumber, QStringLiteral("not a language bundle of version 1"));
                return nullptr;
            }
            continue;
        }
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder.decode(raw);
        if (decoder.hasError()) {
            reader.Fail(lineNumber, QStringLiteral("invalid UTF-8"));
            return nullptr;
        }
        for (QChar c : line) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                reader.Fail(lineNumber, QStringLiteral("a control character (escape line feeds and tabs)"));
                return nullptr;
            }
        }
        if (line.isEmpty() || line == u'#' || line.startsWith(QStringLiteral("# ")))
            continue;
        if (line.startsWith(u'[')) {
            if (line == QStringLiteral("[Texts]"))
                section = Section::Texts;
            else if (line == QStringLiteral("[Accelerators]"))
                section = Section::Accelerators;
            else {
                reader.Fail(lineNumber, QStringLiteral("unknown section %1").arg(line));
                return nullptr;
            }
            if (!seenSections.insert(section).second) {
                reader.Fail(lineNumber, QStringLiteral("the section %1 stands twice").arg(line));
                return nullptr;
            }
            continue;
        }
        switch (section) {
        case Section::None:
            reader.Fail(lineNumber, QStringLiteral("an entry before any section"));
            return nullptr;
        case Section::Texts: {
            // The id ends at the first "=": the text may hold more of them.
            const qsizetype equals = line.indexOf(u'=');
            if (equals < 0) {
                reader.Fail(lineNumber, QStringLiteral("no \"=\" after the string id"));
                return nullptr;
            }
            const std::optional<quint64> id = ParseNumber(QStringView(line).left(equals));
            if (!id || *id == 0 || *id > std::numeric_limits<UINT>::max()) {
                reader.Fail(lineNumber, QStringLiteral("not a string id"));
                return nullptr;
            }
            std::optional<QString> text = Unescape(QStringView(line).mid(equals + 1));
            if (!text) {
                reader.Fail(lineNumber, QStringLiteral("an escape other than \\n, \\t and \\\\"));
                return nullptr;
            }
            if (bundle->m_texts.contains(UINT(*id))) {
                reader.Fail(lineNumber, QStringLiteral("the string id %1 stands twice").arg(*id));
                return nullptr;
            }
            // An empty text is one not translated yet: the built-in text
            // stays.
            if (!text->isEmpty())
                bundle->m_texts.emplace(UINT(*id), std::move(*text));
            break;
        }
        case Section::Accelerators: {
            // The command ends the line: the key itself may be "=".
            const qsizetype equals = line.lastIndexOf(u'=');
            if (equals <= 0) {
                reader.Fail(lineNumber, QStringLiteral("no key and \"=\" before the command"));
                return nullptr;
            }
            const QString key = line.left(equals);
            const std::optional<quint64> command = ParseNumber(QStringView(line).mid(equals + 1));
            if (!command || *command == 0 || *command > 0xFFFF) {
                reader.Fail(lineNumber, QStringLiteral("not a command id"));
                return nullptr;
            }
            if (!IsValidKey(key)) {
                reader.Fail(lineNumber, QStringLiteral("not a key in Qt's portable form: %1").arg(key));
                return nullptr;
            }
            const QString normalised =
                QKeySequence::fromString(key, QKeySequence::PortableText).toString(QKeySequence::PortableText);
            if (!seenKeys.insert(normalised).second) {
                reader.Fail(lineNumber, QStringLiteral("the key %1 stands twice").arg(key));
                return nullptr;
            }
            bundle->m_accelerators.push_back({normalised, UINT(*command)});
            break;
        }
        }
    }
    if (lineNumber == 0) {
        reader.Fail(0, QStringLiteral("the file is empty"));
        return nullptr;
    }
    return bundle;
}

std::optional<QString> LanguageBundle::Lookup(UINT id) const
{
    const auto found = m_texts.find(id);
    if (found == m_texts.end())
        return std::nullopt;
    return found->second;
}
