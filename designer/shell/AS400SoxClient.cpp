#include "designer/shell/AS400SoxClient.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Cp1252.h"
#include "platform/framework/Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>

KWVD_IMPLEMENT_SERIAL(CAS400SoxClient, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

using Clock = std::chrono::steady_clock;
using Pump = CSoxSocketFile::Pump;

// How often the control connection lets the event loop run while it waits.
constexpr int kPumpSliceMs = 20;
constexpr int kReplyOk = 1001;
constexpr int kHandshakeOk = 1002;

SoxTimeouts& Defaults()
{
    static SoxTimeouts timeouts;
    return timeouts;
}

// Paints, timers and posted events; user input waits, so nothing the user
// does can start a second upload or close the document under this one.
void PumpEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(std::min<long long>(left, 0x7FFFFFFF)) : 0;
}

// Until the socket is ready for the events: 0, ETIMEDOUT or an errno value.
// With a pump the wait goes in short slices with the pump between them.
int WaitReady(int socket, short events, int timeoutMs, const Pump& pump)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const int remaining = RemainingMs(deadline);
        pollfd entry{socket, events, 0};
        const int result = poll(&entry, 1, pump ? std::min(remaining, kPumpSliceMs) : remaining);
        if (result > 0)
            return 0;
        if (result < 0 && errno != EINTR)
            return errno;
        if (remaining <= 0)
            return ETIMEDOUT;
        if (pump)
            pump();
    }
}

// A stream connection to host:port, non-blocking; 0 or an errno value.
// *created is false when not even a socket could be made.
int ConnectSocket(const QString& host, int port, int timeoutMs, const Pump& pump, int* out, bool* created)
{
    *out = -1;
    *created = true;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    const std::string service = std::to_string(port);
    const int lookup = getaddrinfo(host.toUtf8().constData(), service.c_str(), &hints, &addresses);
    if (lookup != 0)
        return lookup == EAI_SYSTEM && errno != 0 ? errno : EHOSTUNREACH;

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    int error = ECONNREFUSED;
    bool anyCreated = false;
    for (addrinfo* address = addresses; address && *out < 0; address = address->ai_next) {
        const int fd =
            socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address->ai_protocol);
        if (fd < 0) {
            error = errno;
            continue;
        }
        anyCreated = true;
        int result = connect(fd, address->ai_addr, address->ai_addrlen) == 0 ? 0 : errno;
        if (result == EINPROGRESS) {
            result = WaitReady(fd, POLLOUT, RemainingMs(deadline), pump);
            if (result == 0) {
                int soError = 0;
                socklen_t length = sizeof soError;
                result = getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) == 0 ? soError : errno;
            }
        }
        if (result == 0) {
            *out = fd;
        } else {
            error = result;
            ::close(fd);
        }
    }
    freeaddrinfo(addresses);
    *created = anyCreated;
    return *out >= 0 ? 0 : error;
}

void CloseSocket(int& socket)
{
    if (socket >= 0)
        ::close(socket);
    socket = -1;
}

// The leading decimal number of the text, as atoi reads it: blanks, a sign,
// digits; 0 when there is none.
int LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 0x7FFFFFFF)
            value = 0x7FFFFFFF;
    }
    return static_cast<int>(negative ? -value : value);
}

// The port of a data connection: the whole text a number from 1 to 65535.
int PortOf(const QString& text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

ssize_t PlainSend(int socket, const void* data, size_t size)
{
    return ::send(socket, data, size, MSG_NOSIGNAL);
}

} // namespace

CSoxSocketFile::CSoxSocketFile(int socket, int timeoutMs, Pump pump)
    : m_socket(socket), m_timeoutMs(timeoutMs), m_pump(std::move(pump))
{}

UINT CSoxSocketFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    for (;;) {
        const ssize_t got = ::recv(m_socket, buffer, count, MSG_DONTWAIT);
        if (got >= 0)
            return static_cast<UINT>(got);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            AfxThrowFileException(CFileException::genericException, errno);
        if (const int waited = WaitReady(m_socket, POLLIN, m_timeoutMs, m_pump))
            AfxThrowFileException(CFileException::genericException, waited);
    }
}

void CSoxSocketFile::Write(const void* buffer, UINT count)
{
    const auto* bytes = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t sent = ::send(m_socket, bytes + done, count - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            done += static_cast<UINT>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            AfxThrowFileException(CFileException::genericException, errno);
        if (const int waited = WaitReady(m_socket, POLLOUT, m_timeoutMs, m_pump))
            AfxThrowFileException(CFileException::genericException, waited);
    }
}

ULONGLONG CSoxSocketFile::Seek(LONGLONG, UINT)
{
    throw CNotSupportedException();
}

ULONGLONG CSoxSocketFile::GetPosition() const
{
    throw CNotSupportedException();
}

ULONGLONG CSoxSocketFile::GetLength() const
{
    throw CNotSupportedException();
}

void CSoxSocketFile::SetLength(ULONGLONG)
{
    throw CNotSupportedException();
}

CAS400SoxClient::CAS400SoxClient() : m_timeouts(Defaults()), m_dataSend(&PlainSend) {}

CAS400SoxClient::~CAS400SoxClient()
{
    // The server ends the conversation on code 5; it answers nothing.
    if (m_sendArchive)
        SendCommand(5, QString());
    if (m_sendArchive)
        m_sendArchive->Abort();
    if (m_receiveArchive)
        m_receiveArchive->Abort();
    m_sendArchive.reset();
    m_receiveArchive.reset();
    m_socketFile.reset();
    CloseSocket(m_socket);
}

void CAS400SoxClient::SetDefaultTimeouts(const SoxTimeouts& timeouts)
{
    Defaults() = timeouts;
}

SoxTimeouts CAS400SoxClient::DefaultTimeouts()
{
    return Defaults();
}

void CAS400SoxClient::Fail(const QString& text)
{
    m_errorText = text;
}

QString CAS400SoxClient::GetSocketErrorText() const
{
    return QString::asprintf("Error Code: %d\n", m_lastError);
}

std::string CAS400SoxClient::FormatRequest(int code, const QString& text)
{
    return kwvd::ToCp1252(QString::asprintf("%.4d ", code) + text);
}

QString CAS400SoxClient::PadLibrary(const QString& library)
{
    return library.left(10).leftJustified(10, u' ');
}

BOOL CAS400SoxClient::Connect(const QString& host, int port)
{
    m_host = host;
    bool created = true;
    const int error = ConnectSocket(host, port, m_timeouts.connectMs, &PumpEvents, &m_socket, &created);
    m_lastError = error;
    if (!created) {
        Fail(QStringLiteral("Failed to create Socket."));
        return FALSE;
    }
    if (error != 0) {
        Fail(QStringLiteral("Failed to connect to Server.\n") + GetSocketErrorText());
        return FALSE;
    }
    try {
        m_socketFile = std::make_unique<CSoxSocketFile>(m_socket, m_timeouts.progressMs, &PumpEvents);
    } catch (const std::exception&) {
        Fail(QStringLiteral("Failed to create Sockets File."));
        return FALSE;
    }
    try {
        m_sendArchive = std::make_unique<CArchive>(m_socketFile.get(), CArchive::store, kFileChunk);
    } catch (const std::exception&) {
        Fail(QStringLiteral("Failed to create Transmit Channel."));
        return FALSE;
    }
    try {
        m_receiveArchive = std::make_unique<CArchive>(m_socketFile.get(), CArchive::load, kFileChunk);
    } catch (const std::exception&) {
        Fail(QStringLiteral("Failed to create Receive Channel."));
        return FALSE;
    }

    if (!SendCommand(1, QString())) {
        Fail(QStringLiteral("Failed Sending Handshake."));
        return FALSE;
    }
    int code = 0;
    QString text;
    if (!ReceiveReply(&code, text)) {
        Fail(QStringLiteral("Failed Receiving Handshake."));
        return FALSE;
    }
    if (code != kHandshakeOk) {
        Fail(QStringLiteral("Invalid Handshake."));
        return FALSE;
    }
    if (!text.isEmpty()) {
        const int level = LeadingNumber(text);
        if (level <= kMaxServerLevel)
            m_serverLevel = level;
    }
    m_connected = TRUE;
    return TRUE;
}

BOOL CAS400SoxClient::CheckMember(const QString& library, const QString& member, BOOL* exists)
{
    if (!m_connected) {
        Fail(QStringLiteral("No Active Conversation"));
        return FALSE;
    }
    if (m_serverLevel < 2)
        return TRUE;
    if (!SendCommand(7, PadLibrary(library) + member)) {
        Fail(QStringLiteral("Failed to Send WVD Member Check Command."));
        return FALSE;
    }
    int code = 0;
    QString text;
    if (!ReceiveReply(&code, text)) {
        Fail(QStringLiteral("Failed to Receive Transfer go ahead from Server."));
        return FALSE;
    }
    if (text.isEmpty()) {
        Fail(QStringLiteral("Check WVD Member Return Value invalid."));
        return FALSE;
    }
    if (exists)
        *exists = text.startsWith(u'1') ? TRUE : FALSE;
    return TRUE;
}

BOOL CAS400SoxClient::SendFiles(const QString& localFolder, const QString& remoteFolder)
{
    const QDir folder(localFolder);
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QString failures;
    for (const QString& name : names) {
        if (!SendFile(folder.filePath(name), remoteFolder))
            failures += QStringLiteral("File: ") + name + QStringLiteral(" Not Sent, Error: ") + m_errorText + u'\n';
    }
    if (failures.isEmpty())
        return TRUE;
    Fail(QStringLiteral("Error sending File(s):\n") + failures);
    return FALSE;
}

BOOL CAS400SoxClient::SendFile(const QString& localPath, const QString& remoteFolder)
{
    if (!m_connected) {
        Fail(QStringLiteral("No Active Conversation"));
        return FALSE;
    }
    CFile file;
    if (!file.Open(localPath, CFile::modeRead | CFile::shareDenyNone)) {
        Fail(QStringLiteral("Failed to open File."));
        return FALSE;
    }
    const QString remotePath = (remoteFolder + QFileInfo(localPath).fileName()).toUpper();
    if (!SendCommand(3, remotePath)) {
        Fail(QStringLiteral("Failed to Initiate Transfer."));
        return FALSE;
    }
    int code = 0;
    QString text;
    if (!ReceiveReply(&code, text)) {
        Fail(QStringLiteral("Failed to Receive Transfer go ahead from Server."));
        return FALSE;
    }
    // A refusal comes in place of the port: its text is the reason.
    const int port = PortOf(text);
    if (port == 0) {
        Fail(text.isEmpty() ? QStringLiteral("Failed to Receive Transfer go ahead from Server.") : text);
        return FALSE;
    }
    int dataSocket = -1;
    if (!ConnectDataChannel(port, &dataSocket)) {
        Fail(QStringLiteral("Failed to Create Data Channel, Error Code is: ") + GetSocketErrorText());
        return FALSE;
    }
    const BOOL sent = SendFileData(file, dataSocket);
    file.Abort();
    CloseSocket(dataSocket);
    if (!sent)
        return FALSE;

    if (!SendCommand(4, QString())) {
        Fail(QStringLiteral("Failed to send File transfer complete message."));
        return FALSE;
    }
    code = 0;
    if (!ReceiveReply(&code, text)) {
        Fail(QStringLiteral("Failed to receive File transfer complete confirmation."));
        return FALSE;
    }
    if (code != kReplyOk) {
        Fail(QStringLiteral("File transfer not completed successfully."));
        return FALSE;
    }
    return TRUE;
}

BOOL CAS400SoxClient::SendFileData(CFile& file, int dataSocket)
{
    char buffer[kFileChunk];
    try {
        for (;;) {
            const UINT got = file.Read(buffer, sizeof buffer);
            if (got == 0)
                return TRUE;
            ssize_t sent = -1;
            do {
                sent = m_dataSend(dataSocket, buffer, got);
            } while (sent < 0 && errno == EINTR);
            // Nothing taken at all is a connection that makes no progress.
            if (sent == 0)
                errno = ETIMEDOUT;
            if (sent <= 0) {
                m_lastError = errno == EAGAIN || errno == EWOULDBLOCK ? ETIMEDOUT : errno;
                Fail(QStringLiteral("Socket Error Sending File. Error Message:\n") + GetSocketErrorText());
                return FALSE;
            }
            // What the connection did not take is read again and sent next.
            if (static_cast<UINT>(sent) < got)
                file.Seek(-static_cast<LONGLONG>(got - static_cast<UINT>(sent)), CFile::current);
        }
    } catch (const CException&) {
        Fail(QStringLiteral("Socket Error Sending File.\n"));
        return FALSE;
    }
}

BOOL CAS400SoxClient::RunRemoteProgram(const QString& library, const QString& parameters, const QString& program,
                                       int* reply)
{
    int code = 1000;
    if (reply)
        *reply = code;
    if (program != QStringLiteral("PCWVDCL")) {
        Fail(QStringLiteral("Invalid Remote Program: ") + program);
        return FALSE;
    }
    if (!m_connected) {
        Fail(QStringLiteral("No Active Conversation"));
        return FALSE;
    }
    if (!SendCommand(6, PadLibrary(library) + parameters)) {
        Fail(QStringLiteral("Failed to call Remote Program."));
        return FALSE;
    }
    QString text;
    m_socketFile->SetTimeout(m_timeouts.programMs);
    const BOOL received = ReceiveReply(&code, text);
    m_socketFile->SetTimeout(m_timeouts.progressMs);
    if (!received) {
        Fail(QStringLiteral("Failed to receive call Remote Program confirmation."));
        return FALSE;
    }
    if (reply)
        *reply = code;
    if (code != kReplyOk) {
        Fail(text);
        return FALSE;
    }
    return TRUE;
}

BOOL CAS400SoxClient::SendCommand(int code, const QString& text)
{
    if (!m_sendArchive)
        return FALSE;
    const std::string request = FormatRequest(code, text);
    try {
        m_sendArchive->Write(request.data(), static_cast<UINT>(request.size()));
        m_sendArchive->Flush();
    } catch (const CFileException& error) {
        m_lastError = error.m_lOsError;
        return FALSE;
    } catch (const CException&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CAS400SoxClient::ReceiveReply(int* code, QString& text)
{
    if (!m_receiveArchive) {
        text.clear();
        return FALSE;
    }
    return ReceiveReply(*m_receiveArchive, code, text);
}

BOOL CAS400SoxClient::ConnectDataChannel(int port, int* socket)
{
    bool created = true;
    m_lastError = ConnectSocket(m_host, port, m_timeouts.connectMs, Pump(), socket, &created);
    if (m_lastError != 0)
        return FALSE;
    // Blocking from here on, each send bounded by the wait for progress.
    const int flags = fcntl(*socket, F_GETFL);
    if (flags >= 0)
        fcntl(*socket, F_SETFL, flags & ~O_NONBLOCK);
    const int ms = std::max(m_timeouts.progressMs, 1);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    setsockopt(*socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return TRUE;
}

BOOL CAS400SoxClient::ReadLine(CArchive& ar, QString& line)
{
    line.clear();
    bool failed = false;
    for (;;) {
        std::string piece;
        bool endedByLineFeed = false;
        try {
            while (piece.size() < static_cast<size_t>(kPieceSize)) {
                BYTE byte = 0;
                ar >> byte;
                if (byte == '\r') {
                    // The CR goes; the byte after it takes its place.
                    ar >> byte;
                    piece.push_back(static_cast<char>(byte));
                    endedByLineFeed = byte == '\n';
                    break;
                }
                piece.push_back(static_cast<char>(byte));
                if (byte == '\n') {
                    endedByLineFeed = true;
                    break;
                }
            }
        } catch (const CArchiveException& error) {
            if (error.m_cause != CArchiveException::endOfFile)
                throw;
            failed = piece.empty();
        }
        if (!piece.empty())
            line += kwvd::FromCp1252(piece);
        if (failed || piece.size() != static_cast<size_t>(kPieceSize) || endedByLineFeed)
            break;
    }
    if (line.endsWith(u'\n'))
        line.chop(1);
    return failed ? FALSE : TRUE;
}

BOOL CAS400SoxClient::ReceiveReply(CArchive& ar, int* code, QString& text)
{
    text.clear();
    QString line;
    BOOL read = FALSE;
    try {
        read = ReadLine(ar, line);
    } catch (const CException&) {
        read = FALSE;
    }
    if (line.size() >= 4 && code)
        *code = LeadingNumber(line.left(4));
    if (line.size() >= 5)
        text = line.mid(5);
    else if (line.size() == 4)
        text = line;
    return read;
}
