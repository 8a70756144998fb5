#include "hostaccess/RemoteCommands.h"

#include "hostaccess/AS400.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/api/CrtWvdRequest.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <QStringList>

namespace {

bool IsNameStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '$' || u == '#' || u == '@';
}

bool IsNamePart(QChar c)
{
    const char16_t u = c.unicode();
    return IsNameStart(c) || (u >= '0' && u <= '9') || u == '_' || u == '.';
}

bool IsNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 15)
        return false;
    for (QChar c : text)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

// An apostrophe string as the host reads one: apostrophes inside doubled.
bool IsQuotedString(const QString& text)
{
    if (text.size() < 2 || !text.startsWith(u'\'') || !text.endsWith(u'\''))
        return false;
    const QString inner = text.mid(1, text.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner.at(i) != u'\'')
            continue;
        if (i + 1 >= inner.size() || inner.at(i + 1) != u'\'')
            return false;
        ++i;
    }
    return true;
}

QString Quoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QStringLiteral("'"), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

bool IsNameOrSpecial(const QString& text)
{
    return IsHostName(text) || IsHostSpecialValue(text);
}

// Collects the values of one command; the first that cannot go in is the
// one named to the user.
class CommandBuilder
{
public:
    QString Name(const QString& keyword, const QString& value)
    {
        if (!IsNameOrSpecial(value))
            Refuse(keyword, value);
        return value;
    }

    // Free text: quoted unless the host takes it as it stands. Control
    // characters have no place in a command at all.
    QString Text(const QString& keyword, const QString& value)
    {
        if (IsNameOrSpecial(value))
            return value;
        for (QChar c : value) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                Refuse(keyword, value);
                return value;
            }
        }
        return Quoted(value);
    }

    void Refuse(const QString& keyword, const QString& value)
    {
        if (m_result.refusedKeyword.isEmpty()) {
            m_result.refusedKeyword = keyword;
            m_result.refusedValue = value;
        }
    }

    HostCommandText Finish(const QString& text)
    {
        if (m_result.IsValid())
            m_result.text = text;
        return m_result;
    }

    HostCommandText& Result() { return m_result; }

private:
    HostCommandText m_result;
};

} // namespace

QString HostCommandText::RefusalMessage() const
{
    if (!refusedKeyword.isEmpty())
        return FormatResMessage(IDS_MERROW_INVALID_COMMAND_VALUE, refusedKeyword, refusedValue);
    if (tooLongFor > 0)
        return FormatResMessage(IDS_MERROW_COMMAND_TOO_LONG, tooLongFor);
    return {};
}

bool IsHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 10 || !IsNameStart(text.at(0)))
        return false;
    for (QChar c : text)
        if (!IsNamePart(c))
            return false;
    return true;
}

bool IsHostSpecialValue(const QString& text)
{
    if (text.size() < 2 || text.size() > 11 || text.at(0) != u'*')
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')))
            return false;
    }
    return true;
}

HostCommandText BuildCrtWvdCommand(const CrtWvdRequest& request)
{
    const SpooledFileIdentity& identity = request.GetIdentity();
    CommandBuilder values;
    const QString file = values.Name(QStringLiteral("FILE"), identity.GetFileName());
    const QString user = values.Name(QStringLiteral("USRPRF"), identity.GetUserName());
    const QString outqLibrary = values.Name(QStringLiteral("OUTQ"), identity.GetOutputQueueLibrary());
    const QString outq = values.Name(QStringLiteral("OUTQ"), identity.GetOutputQueue());
    const QString formType = values.Name(QStringLiteral("FORMTYPE"), identity.GetFormType());
    const QString userData = values.Text(QStringLiteral("USRDTA"), identity.GetUserData());
    const QString status = values.Name(QStringLiteral("SPLSTS"), request.GetSpooledFileStatus());

    // No message queue at all is allowed; a library without a queue is not.
    QString messageQueue;
    const QString& moutq = request.GetMessageQueue();
    const QString& moutqLibrary = request.GetMessageQueueLibrary();
    if (!moutq.isEmpty() || !moutqLibrary.isEmpty()) {
        messageQueue = values.Name(QStringLiteral("MOUTQ"), moutq);
        if (!moutqLibrary.isEmpty())
            messageQueue = values.Name(QStringLiteral("MOUTQ"), moutqLibrary) + QLatin1Char('/') + messageQueue;
    }

    const QString wvdName = values.Name(QStringLiteral("WVDNAM"), request.GetWvdName());
    const QString library = values.Name(QStringLiteral("WVDNAM"), request.GetLibrary());

    // Joined, not formatted: a value holding "%1" stays as it is.
    const QString text = QStringLiteral("SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(") + file + QStringLiteral(") USRPRF(")
                         + user + QStringLiteral(") OUTQ(") + outqLibrary + QLatin1Char('/') + outq
                         + QStringLiteral(") FORMTYPE(") + formType + QStringLiteral(") USRDTA(") + userData
                         + QStringLiteral(") SPLSTS(") + status + QStringLiteral(") MOUTQ(") + messageQueue
                         + QStringLiteral(") WVDNAM(") + wvdName + QLatin1Char('/') + library
                         + QStringLiteral("/APRTPDM))");
    return values.Finish(text);
}

HostCommandText BuildCallCommand(const QString& program, const QString& parameters)
{
    CommandBuilder values;
    const qsizetype slash = program.indexOf(u'/');
    if (slash < 0) {
        values.Name(QStringLiteral("PGM"), program);
    } else if (!IsNameOrSpecial(program.left(slash)) || !IsHostName(program.mid(slash + 1))) {
        values.Refuse(QStringLiteral("PGM"), program);
    }

    // Each parameter as the host would read it; a blank inside an apostrophe
    // string does not split it.
    QStringList elements;
    QString current;
    bool inString = false;
    for (QChar c : parameters) {
        if (c == u'\'')
            inString = !inString;
        if (c == u' ' && !inString) {
            if (!current.isEmpty())
                elements << current;
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.isEmpty())
        elements << current;
    for (const QString& element : elements) {
        if (!IsNameOrSpecial(element) && !IsNumber(element) && !IsQuotedString(element))
            values.Refuse(QStringLiteral("PARM"), element);
    }

    const int room = CAS400::kCallCommandBufferSize - 1 - static_cast<int>(QStringLiteral("CALL PGM() PARM()").size());
    if (values.Result().IsValid() && program.size() + parameters.size() > room)
        values.Result().tooLongFor = room;
    return values.Finish(QStringLiteral("CALL PGM(") + program + QStringLiteral(") PARM(") + parameters
                         + QLatin1Char(')'));
}

int CAS400::RunOnSystem(const QString& system, const QString& command, const QString& hiddenFirst)
{
    const cwbCO_SysHandle systemHandle = CreateSystemHandle(system);
    if (systemHandle == 0)
        return 0;
    int result = 0;
    const cwbRC_SysHandle connection = CreateRCSystemHandle(systemHandle);
    if (connection != 0) {
        if (!hiddenFirst.isEmpty())
            RunHostCommand(connection, hiddenFirst, FALSE);
        result = RunHostCommand(connection, command, TRUE);
        DeleteRCSystemHandle(connection);
    }
    DeleteSystemHandle(systemHandle);
    return result;
}

int CAS400::CallRemoteCommand(const QString& system, const QString& program, const QString& parameters)
{
    const HostCommandText command = BuildCallCommand(program, parameters);
    if (!command.IsValid()) {
        AfxMessageBox(command.RefusalMessage(), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return RunOnSystem(system, command.text, QString());
}

int CAS400::SubmitCrtWvd(const CrtWvdRequest& request)
{
    const HostCommandText command = BuildCrtWvdCommand(request);
    if (!command.IsValid()) {
        AfxMessageBox(command.RefusalMessage(), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    const QString& library = request.GetLibrary();
    return RunOnSystem(request.GetSystem(), command.text, QStringLiteral("ADDLIBLE ") + library);
}
