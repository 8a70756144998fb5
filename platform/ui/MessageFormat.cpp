#include "platform/ui/MessageFormat.h"

#include "platform/framework/Exceptions.h"
#include "platform/ui/StringTable.h"

#include <climits>
#include <cstdio>
#include <string>

namespace {

// Far above anything a message needs; keeps a bad string from asking for a
// huge buffer.
constexpr int kMaxFieldSize = 1024;

struct InsertForm
{
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 's';
};

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a decimal field of the form at pos; -1 when there is none.
int readNumber(const QString& form, qsizetype& pos)
{
    if (pos >= form.size() || !isDigit(form[pos]))
        return -1;
    int value = 0;
    while (pos < form.size() && isDigit(form[pos])) {
        value = value * 10 + (form[pos].unicode() - u'0');
        if (value > kMaxFieldSize)
            AfxThrowMemoryException();
        ++pos;
    }
    return value;
}

InsertForm parseForm(const QString& form)
{
    InsertForm parsed;
    qsizetype pos = 0;
    while (pos < form.size() && QStringLiteral("-+ #0").contains(form[pos])) {
        parsed.flags.push_back(static_cast<char>(form[pos].unicode()));
        ++pos;
    }
    parsed.width = readNumber(form, pos);
    if (pos < form.size() && form[pos] == QLatin1Char('.')) {
        ++pos;
        parsed.precision = readNumber(form, pos);
        if (parsed.precision < 0)
            parsed.precision = 0;
    }
    for (const char* modifier : {"ll", "l", "h", "w"}) {
        const QLatin1String text(modifier);
        if (form.mid(pos).startsWith(text)) {
            pos += text.size();
            break;
        }
    }
    if (pos + 1 != form.size())
        AfxThrowMemoryException();
    const char16_t conversion = form[pos].unicode();
    if (!QStringView(u"diuxXocsSeEfgG").contains(QChar(conversion)))
        AfxThrowMemoryException();
    parsed.conversion = static_cast<char>(conversion);
    return parsed;
}

QString pad(QString text, const InsertForm& form)
{
    if (form.width > text.size()) {
        const QString fill(form.width - text.size(), QLatin1Char(' '));
        if (form.flags.find('-') != std::string::npos)
            text.append(fill);
        else
            text.prepend(fill);
    }
    return text;
}

std::string printfFormat(const InsertForm& form, const char* lengthModifier)
{
    std::string flags = form.flags;
    // printf leaves "#" undefined for decimal conversions.
    if (form.conversion == 'd' || form.conversion == 'i' || form.conversion == 'u')
        std::erase(flags, '#');
    std::string text = "%" + flags;
    if (form.width >= 0)
        text += std::to_string(form.width);
    if (form.precision >= 0)
        text += "." + std::to_string(form.precision);
    text += lengthModifier;
    text.push_back(form.conversion);
    return text;
}

template <typename T>
QString printfInteger(const InsertForm& form, const char* lengthModifier, T value)
{
    const std::string format = printfFormat(form, lengthModifier);
    const int needed = std::snprintf(nullptr, 0, format.c_str(), value);
    if (needed < 0)
        AfxThrowMemoryException();
    std::string buffer(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
    buffer.resize(static_cast<std::size_t>(needed));
    return QString::fromLatin1(buffer);
}

// The bits of the value at its own width, as printf reads a negative number
// under an unsigned conversion.
unsigned long long asUnsigned(const MessageArg::Signed& arg)
{
    const auto bits = static_cast<unsigned long long>(arg.value);
    if (arg.bits >= 64)
        return bits;
    return bits & ((1ULL << arg.bits) - 1);
}

QString formatText(const MessageArg& arg)
{
    if (const QString* text = std::get_if<QString>(&arg.value()))
        return *text;
    if (const auto* value = std::get_if<MessageArg::Signed>(&arg.value()))
        return QString::number(value->value);
    if (const auto* value = std::get_if<MessageArg::Unsigned>(&arg.value()))
        return QString::number(value->value);
    return QString::number(std::get<double>(arg.value()));
}

QString formatInteger(const MessageArg& arg, const InsertForm& form)
{
    const bool isSigned = form.conversion == 'd' || form.conversion == 'i';
    if (const auto* value = std::get_if<MessageArg::Signed>(&arg.value())) {
        if (isSigned)
            return printfInteger(form, "ll", value->value);
        return printfInteger(form, "ll", asUnsigned(*value));
    }
    if (const auto* value = std::get_if<MessageArg::Unsigned>(&arg.value())) {
        if (isSigned && value->value > static_cast<unsigned long long>(LLONG_MAX)) {
            InsertForm asUnsignedForm = form;
            asUnsignedForm.conversion = 'u';
            return printfInteger(asUnsignedForm, "ll", value->value);
        }
        if (isSigned)
            return printfInteger(form, "ll", static_cast<long long>(value->value));
        return printfInteger(form, "ll", value->value);
    }
    AfxThrowMemoryException();
}

QString formatCharacter(const MessageArg& arg, const InsertForm& form)
{
    unsigned long long code = 0;
    if (const auto* value = std::get_if<MessageArg::Signed>(&arg.value()))
        code = asUnsigned(*value);
    else if (const auto* value = std::get_if<MessageArg::Unsigned>(&arg.value()))
        code = value->value;
    else
        AfxThrowMemoryException();
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        AfxThrowMemoryException();
    const char32_t character = static_cast<char32_t>(code);
    return pad(QString::fromUcs4(&character, 1), form);
}

QString formatFloating(const MessageArg& arg, const InsertForm& form)
{
    double value = 0;
    if (const double* floating = std::get_if<double>(&arg.value()))
        value = *floating;
    else if (const auto* integer = std::get_if<MessageArg::Signed>(&arg.value()))
        value = static_cast<double>(integer->value);
    else if (const auto* integer = std::get_if<MessageArg::Unsigned>(&arg.value()))
        value = static_cast<double>(integer->value);
    else
        AfxThrowMemoryException();
    // Qt's printf writes numbers in the C locale whatever the process's
    // locale is, so a message reads the same everywhere.
    return QString::asprintf(printfFormat(form, "").c_str(), value);
}

QString formatInsert(const MessageArg& arg, const InsertForm& form)
{
    switch (form.conversion) {
    case 's':
    case 'S': {
        QString text = formatText(arg);
        if (form.precision >= 0 && form.precision < text.size()) {
            qsizetype keep = form.precision;
            if (keep > 0 && text[keep - 1].isHighSurrogate())
                --keep;
            text.truncate(keep);
        }
        return pad(text, form);
    }
    case 'c':
        return formatCharacter(arg, form);
    case 'e':
    case 'E':
    case 'f':
    case 'g':
    case 'G':
        return formatFloating(arg, form);
    default:
        return formatInteger(arg, form);
    }
}

} // namespace

QString FormatMessageArgs(const QString& format, std::span<const MessageArg> args, MessageFormatMode mode)
{
    const bool lenient = mode == MessageFormatMode::Lenient;
    QString out;
    out.reserve(format.size());
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out.append(c);
            continue;
        }
        if (++i >= size) {
            if (!lenient)
                AfxThrowMemoryException();
            out.append(c);
            break;
        }
        const QChar code = format[i];
        if (code == QLatin1Char('0'))
            return out;
        if (isDigit(code)) {
            std::size_t number = static_cast<std::size_t>(code.unicode() - u'0');
            if (i + 1 < size && isDigit(format[i + 1])) {
                ++i;
                number = number * 10 + static_cast<std::size_t>(format[i].unicode() - u'0');
            }
            QString formText;
            bool hasForm = false;
            if (i + 1 < size && format[i + 1] == QLatin1Char('!')) {
                const qsizetype close = format.indexOf(QLatin1Char('!'), i + 2);
                if (close >= 0) {
                    formText = format.mid(i + 2, close - i - 2);
                    hasForm = true;
                    i = close;
                } else if (!lenient) {
                    AfxThrowMemoryException();
                }
                // Leniently an unclosed form is left as text after a plain insert.
            }
            if (number > args.size()) {
                if (!lenient)
                    AfxThrowMemoryException();
                continue;
            }
            const MessageArg& arg = args[number - 1];
            if (!lenient) {
                out.append(formatInsert(arg, hasForm ? parseForm(formText) : InsertForm()));
                continue;
            }
            // A translated text is outside data: a form that does not fit
            // its argument gives the argument plainly.
            try {
                out.append(formatInsert(arg, hasForm ? parseForm(formText) : InsertForm()));
            } catch (const CMemoryException&) {
                out.append(formatText(arg));
            }
            continue;
        }
        switch (code.unicode()) {
        case u'n':
            out.append(QLatin1String("\r\n"));
            break;
        case u'r':
            out.append(QLatin1Char('\r'));
            break;
        case u't':
            out.append(QLatin1Char('\t'));
            break;
        default:
            // "%%", "%.", "%!", "% " and any other character stand for themselves.
            out.append(code);
            break;
        }
    }
    return out;
}

QString FormatResMessageArgs(UINT id, std::span<const MessageArg> args)
{
    bool fromSource = false;
    const std::optional<QString> text = StringTable::Find(id, &fromSource);
    if (!text)
        return QStringLiteral("???");
    return FormatMessageArgs(*text, args, fromSource ? MessageFormatMode::Lenient : MessageFormatMode::Strict);
}
