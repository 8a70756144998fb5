#include "platform/clientaccess/ClCommand.h"

#include "platform/clientaccess/HostStore.h"

namespace kwvd::clientaccess {

namespace {

bool IsNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'$' || u == u'#'
           || u == u'@' || u == u'_' || u == u'/' || u == u'*' || u == u'.';
}

// From an opening apostrophe at pos, the index just past the closing one;
// -1 when the string never ends.
qsizetype SkipString(const QString& text, qsizetype pos)
{
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        if (text[i] != u'\'')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'\'') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

// From an opening parenthesis at pos, the index of its closing one; -1 when
// unbalanced, -2 when a string inside never ends.
qsizetype MatchParenthesis(const QString& text, qsizetype pos)
{
    int depth = 0;
    for (qsizetype i = pos; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\'') {
            const qsizetype end = SkipString(text, i);
            if (end < 0)
                return -2;
            i = end - 1;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0)
                return i;
        }
    }
    return -1;
}

// Upper-cases the text outside apostrophe strings.
QString UpperOutsideStrings(const QString& text)
{
    QString result;
    result.reserve(text.size());
    bool inString = false;
    for (const QChar c : text) {
        if (c == u'\'')
            inString = !inString; // a doubled apostrophe toggles twice
        result += inString || c == u'\'' ? c : c.toUpper();
    }
    return result;
}

} // namespace

std::optional<QString> ClCommand::Keyword(const QString& keyword) const
{
    for (const ClParameter& parameter : parameters) {
        if (parameter.keyword == keyword)
            return parameter.value;
    }
    return std::nullopt;
}

std::optional<ClCommand> ParseClCommand(const QString& text, QString* error, QString* name)
{
    qsizetype pos = 0;
    const qsizetype size = text.size();
    auto skipBlanks = [&] {
        while (pos < size && text[pos].isSpace())
            ++pos;
    };
    skipBlanks();
    const qsizetype nameStart = pos;
    while (pos < size && IsNameChar(text[pos]))
        ++pos;
    ClCommand command;
    command.name = text.mid(nameStart, pos - nameStart).toUpper();
    if (name)
        *name = command.name;
    if (command.name.isEmpty()) {
        *error = pos < size ? QStringLiteral("no command name before \"%1\"").arg(text.mid(pos, 1))
                            : QStringLiteral("no command given");
        return std::nullopt;
    }
    if (pos < size && !text[pos].isSpace()) {
        *error = QStringLiteral("unexpected \"%1\" after the command name").arg(text[pos]);
        return std::nullopt;
    }
    for (;;) {
        skipBlanks();
        if (pos >= size)
            break;
        const QChar c = text[pos];
        if (c == u')') {
            *error = QStringLiteral("unbalanced parenthesis");
            return std::nullopt;
        }
        if (c == u'(' || c == u'\'') {
            // A positional value: a list in parentheses or a string.
            qsizetype end = 0;
            qsizetype valueStart = pos;
            qsizetype valueLength = 0;
            if (c == u'(') {
                const qsizetype close = MatchParenthesis(text, pos);
                if (close < 0) {
                    *error =
                        close == -2 ? QStringLiteral("unterminated string") : QStringLiteral("unbalanced parenthesis");
                    return std::nullopt;
                }
                end = close + 1;
                // A list given by position is the same value as after a keyword.
                valueStart = pos + 1;
                valueLength = close - pos - 1;
            } else {
                end = SkipString(text, pos);
                if (end < 0) {
                    *error = QStringLiteral("unterminated string");
                    return std::nullopt;
                }
                valueLength = end - pos;
            }
            command.parameters.push_back({QString(), UpperOutsideStrings(text.mid(valueStart, valueLength).trimmed())});
            pos = end;
        } else if (IsNameChar(c)) {
            const qsizetype start = pos;
            while (pos < size && IsNameChar(text[pos]))
                ++pos;
            const QString word = text.mid(start, pos - start).toUpper();
            if (pos < size && text[pos] == u'(') {
                const qsizetype close = MatchParenthesis(text, pos);
                if (close < 0) {
                    *error =
                        close == -2 ? QStringLiteral("unterminated string") : QStringLiteral("unbalanced parenthesis");
                    return std::nullopt;
                }
                if (command.Keyword(word)) {
                    *error = QStringLiteral("keyword %1 given more than once").arg(word);
                    return std::nullopt;
                }
                command.parameters.push_back({word, UpperOutsideStrings(text.mid(pos + 1, close - pos - 1).trimmed())});
                pos = close + 1;
            } else {
                command.parameters.push_back({QString(), word});
            }
        } else {
            *error = QStringLiteral("unexpected \"%1\"").arg(c);
            return std::nullopt;
        }
        if (pos < size && !text[pos].isSpace()) {
            *error = text[pos] == u')' ? QStringLiteral("unbalanced parenthesis")
                                       : QStringLiteral("unexpected \"%1\"").arg(text[pos]);
            return std::nullopt;
        }
    }
    return command;
}

std::optional<std::vector<ClElement>> SplitClElements(const QString& value, QString* error)
{
    std::vector<ClElement> elements;
    qsizetype pos = 0;
    const qsizetype size = value.size();
    while (pos < size) {
        if (value[pos].isSpace()) {
            ++pos;
            continue;
        }
        if (value[pos] == u'\'') {
            const qsizetype end = SkipString(value, pos);
            if (end < 0) {
                *error = QStringLiteral("unterminated string");
                return std::nullopt;
            }
            QString inner = value.mid(pos + 1, end - pos - 2);
            inner.replace(QStringLiteral("''"), QStringLiteral("'"));
            elements.push_back({inner, true});
            pos = end;
        } else if (value[pos] == u'(') {
            const qsizetype close = MatchParenthesis(value, pos);
            if (close < 0) {
                *error = close == -2 ? QStringLiteral("unterminated string") : QStringLiteral("unbalanced parenthesis");
                return std::nullopt;
            }
            elements.push_back({value.mid(pos, close - pos + 1), false});
            pos = close + 1;
        } else if (value[pos] == u')') {
            *error = QStringLiteral("unbalanced parenthesis");
            return std::nullopt;
        } else {
            const qsizetype start = pos;
            while (pos < size && !value[pos].isSpace() && value[pos] != u'(' && value[pos] != u')'
                   && value[pos] != u'\'')
                ++pos;
            elements.push_back({value.mid(start, pos - start).toUpper(), false});
            continue;
        }
        if (pos < size && !value[pos].isSpace()) {
            *error = QStringLiteral("unexpected \"%1\"").arg(value[pos]);
            return std::nullopt;
        }
    }
    return elements;
}

std::optional<QualifiedName> ParseQualifiedName(const QString& text)
{
    const QStringList parts = text.trimmed().toUpper().split(u'/');
    if (parts.size() > 2)
        return std::nullopt;
    QualifiedName name;
    name.object = parts.last();
    if (parts.size() == 2)
        name.library = parts.first();
    if (!IsValidObjectName(name.object))
        return std::nullopt;
    if (parts.size() == 2 && !IsValidObjectName(name.library) && name.library != u"*LIBL" && name.library != u"*CURLIB")
        return std::nullopt;
    return name;
}

} // namespace kwvd::clientaccess
