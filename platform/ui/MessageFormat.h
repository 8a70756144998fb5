#pragma once
// User messages built from the string table, with the system's insert and
// escape forms:
//   "%1" .. "%99"     insert an argument as text
//   "%1!printf-form!" insert it with that printf conversion: flags "-+ #0",
//                     width, ".precision", then d i u x X o c (integers),
//                     e E f g G (numbers), s S (text); "h", "l", "ll", "w"
//                     before the conversion are accepted and ignored
//   "%%" "%." "%!" "% "  a percent sign, dot, exclamation mark, space
//   "%n"  a line break (CR LF)      "%r" CR      "%t" tab
//   "%0"  ends the output here
// A "%" before any other character gives that character.
//
// An integer given to a text insert is written in decimal. Negative integers
// under u, x, X and o are taken at the width of their own type, as printf
// does.
//
// When the format cannot be applied - an insert number past the arguments,
// an unclosed or unknown "!form!", text given to a numeric conversion, a
// width or precision above 1024, a "%" ending the format - CMemoryException
// is thrown, as the system's formatter fails. A text from an installed
// string source (a language bundle) is formatted leniently instead, as it is
// outside data: an insert past the arguments is empty, a form that cannot be
// applied gives the argument as plain text, an unclosed form stays text and
// a "%" ending the format stands for itself.

#include "platform/framework/Types.h"

#include <QString>

#include <array>
#include <concepts>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

class MessageArg
{
public:
    MessageArg(const QString& text) : m_value(text) {}
    MessageArg(const char* utf8) : m_value(utf8 ? QString::fromUtf8(utf8) : QString()) {}
    MessageArg(const char16_t* text) : m_value(text ? QString::fromUtf16(text) : QString()) {}
    MessageArg(const std::string& utf8) : m_value(QString::fromStdString(utf8)) {}
    MessageArg(double value) : m_value(value) {}

    template <std::integral T>
    MessageArg(T value)
    {
        constexpr int bits = static_cast<int>(sizeof(T) * 8);
        if constexpr (std::is_signed_v<T>)
            m_value = Signed{static_cast<long long>(value), bits};
        else
            m_value = Unsigned{static_cast<unsigned long long>(value), bits};
    }

    struct Signed
    {
        long long value;
        int bits;
    };
    struct Unsigned
    {
        unsigned long long value;
        int bits;
    };
    using Value = std::variant<QString, Signed, Unsigned, double>;

    const Value& value() const { return m_value; }

private:
    Value m_value;
};

enum class MessageFormatMode {
    Strict,
    Lenient
};

QString FormatMessageArgs(const QString& format, std::span<const MessageArg> args,
                          MessageFormatMode mode = MessageFormatMode::Strict);

template <typename... Args>
QString FormatMessageText(const QString& format, const Args&... args)
{
    const std::array<MessageArg, sizeof...(Args)> list{MessageArg(args)...};
    return FormatMessageArgs(format, list);
}

// The text of the string-table id formatted with the arguments; "???" when
// the id is missing. Strict for the built-in texts, lenient for a source's.
QString FormatResMessageArgs(UINT id, std::span<const MessageArg> args);

template <typename... Args>
QString FormatResMessage(UINT id, const Args&... args)
{
    const std::array<MessageArg, sizeof...(Args)> list{MessageArg(args)...};
    return FormatResMessageArgs(id, list);
}
