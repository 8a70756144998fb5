#include "platform/registry/RegistryFormat.h"

#include <cstdint>
#include <cstdio>

namespace kwvd {

namespace {

constexpr std::string_view kHeader = "KWVD Registry 1";
constexpr std::string_view kHeaderWord = "KWVD Registry";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

// A quoted text starting at pos; pos ends just after the closing quote.
bool ParseQuoted(std::string_view line, std::size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (pos >= line.size())
            return false;
        const char escape = line[pos++];
        switch (escape) {
        case '\\':
        case '"':
            out.push_back(escape);
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case 't':
            out.push_back('\t');
            break;
        case '0':
            out.push_back('\0');
            break;
        case 'x': {
            if (line.size() - pos < 2)
                return false;
            const int high = HexDigit(line[pos]);
            const int low = HexDigit(line[pos + 1]);
            if (high < 0 || low < 0)
                return false;
            out.push_back(static_cast<char>(high * 16 + low));
            pos += 2;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

bool ParseNumber(std::string_view data, std::uint32_t& number)
{
    if (data.empty() || data.size() > 8)
        return false;
    number = 0;
    for (char c : data) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

bool ParseBytes(std::string_view data, QByteArray& bytes)
{
    data = Trim(data);
    if (data.empty())
        return true;
    bytes.reserve(static_cast<qsizetype>(data.size() / 3 + 1));
    for (;;) {
        const std::size_t comma = data.find(',');
        const std::string_view item = Trim(data.substr(0, comma));
        if (item.size() != 2)
            return false;
        const int high = HexDigit(item[0]);
        const int low = HexDigit(item[1]);
        if (high < 0 || low < 0)
            return false;
        bytes.append(static_cast<char>(high * 16 + low));
        if (comma == std::string_view::npos)
            return true;
        data.remove_prefix(comma + 1);
    }
}

bool ParseValueLine(std::string_view line, QString& name, RegistryValue& value)
{
    std::size_t pos = 0;
    if (line[0] == '@') {
        name.clear();
        pos = 1;
    } else {
        std::string raw;
        if (!ParseQuoted(line, pos, raw))
            return false;
        name = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
    }
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return false;
    ++pos;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    const std::size_t colon = line.find(':', pos);
    if (colon == std::string_view::npos)
        return false;
    const std::string_view type = line.substr(pos, colon - pos);
    const std::string_view data = line.substr(colon + 1);

    if (SameWord(type, "dword")) {
        std::uint32_t number = 0;
        if (!ParseNumber(data, number))
            return false;
        value = RegistryValue::Number(number);
        return true;
    }
    if (SameWord(type, "sz")) {
        std::size_t textPos = 0;
        std::string text;
        if (!ParseQuoted(data, textPos, text) || !Trim(data.substr(textPos)).empty())
            return false;
        value = RegistryValue::TextUtf8(text);
        return true;
    }
    if (SameWord(type, "hex")) {
        QByteArray bytes;
        if (!ParseBytes(data, bytes))
            return false;
        value = RegistryValue::Binary(bytes);
        return true;
    }
    return false;
}

// The length of the valid UTF-8 sequence at p, or 0 when there is none.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t remaining)
{
    const unsigned char lead = p[0];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (remaining < length || p[1] < low || p[1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

void AppendHexByte(std::string& out, unsigned char byte)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0x0F]);
}

// Quotes the bytes so that the line stays one line of valid UTF-8 and reads
// back to exactly these bytes.
void AppendQuoted(std::string& out, QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto size = static_cast<std::size_t>(bytes.size());
    out.push_back('"');
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = data[i];
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(data + i, size - i);
            if (length == 0) {
                out += "\\x";
                AppendHexByte(out, c);
                ++i;
            } else {
                out.append(reinterpret_cast<const char*>(data + i), length);
                i += length;
            }
            continue;
        }
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\x";
                AppendHexByte(out, c);
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
        ++i;
    }
    out.push_back('"');
}

void AppendValueLine(std::string& out, const QString& name, const RegistryValue& value)
{
    if (name.isEmpty())
        out.push_back('@');
    else
        AppendQuoted(out, name.toUtf8());
    out.push_back('=');
    switch (value.Type()) {
    case RegistryValueType::Number: {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.ToNumber()));
        out += "dword:";
        out += digits;
        break;
    }
    case RegistryValueType::Text:
        out += "sz:";
        AppendQuoted(out, value.Data());
        break;
    case RegistryValueType::Binary: {
        out += "hex:";
        const QByteArray& bytes = value.Data();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (i > 0)
                out.push_back(',');
            AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
        }
        break;
    }
    }
    out.push_back('\n');
}

void AppendKey(std::string& out, const RegistryNode& node, const QString& path)
{
    out += "\n[";
    out += path.toUtf8().toStdString();
    out += "]\n";
    for (const auto& [name, value] : node.Values())
        AppendValueLine(out, name, value);
    for (const auto& child : node.Children())
        AppendKey(out, *child, path + u'\\' + child->Name());
}

} // namespace

ParsedRegistry ParseRegistryText(std::string_view text)
{
    ParsedRegistry parsed;
    // Null until a good section line: the values under a broken one must not
    // land in the key before it.
    RegistryNode* section = nullptr;
    bool seenContent = false;
    int lineNumber = 0;

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;

        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == ';')
            continue;

        if (!seenContent) {
            seenContent = true;
            if (line.substr(0, kHeaderWord.size()) == kHeaderWord) {
                if (line != kHeader) {
                    parsed.supported = false;
                    parsed.root = RegistryNode();
                    parsed.droppedLines.clear();
                    return parsed;
                }
                continue;
            }
        }

        if (line.front() == '[') {
            section = nullptr;
            QStringList names;
            if (line.size() >= 2 && line.back() == ']') {
                const std::string_view path = line.substr(1, line.size() - 2);
                if (RegistryNode::SplitPath(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), names))
                    section = &parsed.root.FindOrCreate(names);
            }
            if (!section)
                parsed.droppedLines.push_back(lineNumber);
            continue;
        }

        QString name;
        RegistryValue value;
        if (section && ParseValueLine(line, name, value))
            section->SetValue(name, value);
        else
            parsed.droppedLines.push_back(lineNumber);
    }
    return parsed;
}

std::string FormatRegistryText(const RegistryNode& root)
{
    std::string out(kHeader);
    out.push_back('\n');
    if (!root.Values().empty()) {
        out += "\n[]\n";
        for (const auto& [name, value] : root.Values())
            AppendValueLine(out, name, value);
    }
    for (const auto& child : root.Children())
        AppendKey(out, *child, child->Name());
    return out;
}

} // namespace kwvd
