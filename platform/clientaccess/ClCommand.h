#pragma once
// The host's command language, as far as the emulated host reads it: a
// command name, then parameters separated by blanks, each either
// KEYWORD(value) or a positional value. A value may hold nested parentheses
// and apostrophe strings ('It''s' is one string holding an apostrophe);
// names outside strings are upper-cased, as the host does.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kwvd::clientaccess {

struct ClParameter
{
    QString keyword; // upper case; empty for a positional value
    QString value;   // the text between the parentheses, or the positional token, trimmed
};

struct ClCommand
{
    QString name; // upper case
    std::vector<ClParameter> parameters;

    // The value of a keyword, or nothing when it was not given.
    std::optional<QString> Keyword(const QString& keyword) const;
};

// The command, or nothing with *error saying why ("unbalanced parenthesis",
// "unterminated string", ...). *name receives the command's name whenever
// one could be read, so a message can name it.
std::optional<ClCommand> ParseClCommand(const QString& text, QString* error, QString* name = nullptr);

// One element of a value ("INVOICE KWVD" holds two; "'A B'" one).
struct ClElement
{
    QString text;        // a string without its apostrophes; a name upper-cased
    bool quoted = false; // it was an apostrophe string
};

// The elements of a value, separated by blanks outside strings and
// parentheses; nothing with *error set when the value is malformed.
std::optional<std::vector<ClElement>> SplitClElements(const QString& value, QString* error);

// "LIB/OBJ" as library and object; an unqualified name has an empty
// library. Nothing when either part is not a valid object name (the special
// values *LIBL and *CURLIB are accepted as libraries).
struct QualifiedName
{
    QString library;
    QString object;
};
std::optional<QualifiedName> ParseQualifiedName(const QString& text);

} // namespace kwvd::clientaccess
