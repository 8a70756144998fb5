#include "tests/fakes/uploadserver/FakeUploadServer.h"

#include "platform/clientaccess/CommandRunner.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/ResultCodes.h"
#include "platform/framework/Cp1252.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

namespace kwvd::fakes {

namespace {

using Clock = std::chrono::steady_clock;

// Waits are cut into slices so that Stop is noticed soon.
constexpr int kSliceMs = 50;

int ListenOnLoopback(quint16 port, quint16* bound)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    *bound = ntohs(address.sin_port);
    return fd;
}

QByteArray Sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// A QDLS name: up to 8 characters, optionally a dot and up to 3 more.
bool IsEightDotThree(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[^.\\s]{1,8}(\\.[^.\\s]{1,3})?$"));
    return pattern.match(name).hasMatch();
}

} // namespace

FakeUploadServer::FakeUploadServer(Options options) : m_options(std::move(options)) {}

FakeUploadServer::~FakeUploadServer()
{
    Stop();
}

bool FakeUploadServer::Start(QString* error)
{
    m_listener = ListenOnLoopback(m_options.port, &m_port);
    if (m_listener < 0) {
        if (error)
            *error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                         .arg(m_options.port)
                         .arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void FakeUploadServer::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
    m_listener = -1;
}

void FakeUploadServer::Script(int code, Scripted scripted)
{
    std::lock_guard lock(m_lock);
    m_script[code] = std::move(scripted);
}

std::vector<UploadRequest> FakeUploadServer::Requests() const
{
    std::lock_guard lock(m_lock);
    return m_requests;
}

std::vector<UploadedFile> FakeUploadServer::Files() const
{
    std::lock_guard lock(m_lock);
    return m_files;
}

std::vector<QByteArray> FakeUploadServer::RawRequests() const
{
    std::lock_guard lock(m_lock);
    std::vector<QByteArray> raw;
    for (const UploadRequest& request : m_requests)
        raw.push_back(request.raw);
    return raw;
}

void FakeUploadServer::SetTranscriptSink(std::function<void(const QString& line)> sink)
{
    std::lock_guard lock(m_lock);
    m_sink = std::move(sink);
}

void FakeUploadServer::Note(const QString& line)
{
    std::function<void(const QString&)> sink;
    {
        std::lock_guard lock(m_lock);
        sink = m_sink;
    }
    if (sink)
        sink(line);
}

QString FakeUploadServer::QdlsRefusal(const QString& path)
{
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.front().compare(QStringLiteral("QDLS"), Qt::CaseInsensitive) != 0)
        return {};
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!IsEightDotThree(parts[i]))
            return QStringLiteral("Name %1 not valid for the document library.").arg(parts[i]);
    }
    return {};
}

void FakeUploadServer::Run()
{
    while (!Stopping()) {
        pollfd entry{m_listener, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        ++m_connections;
        Serve(connection);
        ::close(connection);
    }
}

bool FakeUploadServer::ReadRequest(int connection, UploadRequest& request)
{
    // The header first, within the wait; then whatever follows it until the
    // line is quiet.
    QByteArray bytes;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_options.waitMs);
    while (bytes.size() < 5) {
        if (Stopping() || Clock::now() >= deadline)
            return false;
        pollfd entry{connection, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        char buffer[512];
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        bytes.append(buffer, got);
    }
    for (;;) {
        pollfd entry{connection, POLLIN, 0};
        if (Stopping() || poll(&entry, 1, m_options.quietMs) <= 0)
            break;
        char buffer[512];
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        bytes.append(buffer, got);
    }
    request.raw = bytes;
    request.code = bytes.left(4).toInt();
    request.text = FromCp1252(std::string_view(bytes.constData() + 5, size_t(bytes.size() - 5)));
    return true;
}

bool FakeUploadServer::SendReply(int connection, const QByteArray& line)
{
    const QByteArray bytes = line + (m_options.crlf ? QByteArray("\r\n") : QByteArray("\n"));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = send(connection, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += sent;
    }
    return true;
}

QByteArray FakeUploadServer::ReceiveFile(const QString& path, int listener)
{
    // One data connection, read to its end.
    int data = -1;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_options.waitMs);
    while (data < 0) {
        if (Stopping() || Clock::now() >= deadline)
            return QByteArrayLiteral("1100 No data connection came.");
        pollfd entry{listener, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) > 0)
            data = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    }
    QByteArray bytes;
    bool ended = false;
    Clock::time_point lastProgress = Clock::now();
    while (!ended) {
        if (Stopping() || Clock::now() - lastProgress > std::chrono::milliseconds(m_options.waitMs)) {
            ::close(data);
            return QByteArrayLiteral("1100 The data did not end.");
        }
        pollfd entry{data, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        char buffer[8192];
        const ssize_t got = recv(data, buffer, sizeof buffer, 0);
        if (got < 0) {
            ::close(data);
            return QByteArrayLiteral("1100 The data connection failed.");
        }
        if (got == 0)
            ended = true;
        bytes.append(buffer, got);
        lastProgress = Clock::now();
    }
    ::close(data);

    QStringList components = path.split(u'/', Qt::SkipEmptyParts);
    const QString local = clientaccess::ResolveIgnoringCase(clientaccess::IfsFolder(m_options.system), components);
    if (local.isEmpty())
        return QByteArrayLiteral("1100 The path is not valid.");
    QDir().mkpath(QFileInfo(local).absolutePath());
    QString error;
    bool written = false;
    clientaccess::ChangeStore(
        [&](clientaccess::StoreState&) {
            written = clientaccess::ReplaceStoreFile(local, bytes, &error);
            return false;
        },
        &error);
    if (!written)
        return QByteArrayLiteral("1100 ") + QByteArray::fromStdString(ToCp1252(error));

    const UploadedFile file{path, bytes.size(), Sha256Hex(bytes)};
    {
        std::lock_guard lock(m_lock);
        m_files.push_back(file);
    }
    Note(QStringLiteral("FILE %1 %2 %3").arg(path).arg(file.size).arg(QString::fromLatin1(file.sha256)));
    return {};
}

QByteArray FakeUploadServer::RunImport(const QString& text)
{
    const QString library = text.left(10).trimmed();
    const QString parameters = text.mid(10);
    const QString command = QStringLiteral("CALL PGM(%1/PCWVDCL) PARM(%2)").arg(library, parameters);
    std::vector<clientaccess::HostMessage> messages;
    const unsigned result = clientaccess::RunHostCommand(m_options.system, command, &messages);
    if (result == kCwbOk)
        return QByteArrayLiteral("1001");
    QByteArray reply = "1100";
    for (const clientaccess::HostMessage& message : messages)
        reply += ' ' + QByteArray::fromStdString(message.id) + ": " + QByteArray::fromStdString(message.text);
    if (messages.empty())
        reply += " The import failed.";
    return reply;
}

void FakeUploadServer::Serve(int connection)
{
    for (;;) {
        UploadRequest request;
        if (!ReadRequest(connection, request))
            return;
        std::optional<Scripted> scripted;
        {
            std::lock_guard lock(m_lock);
            m_requests.push_back(request);
            if (const auto found = m_script.find(request.code); found != m_script.end())
                scripted = found->second;
        }
        Note(QStringLiteral("REQUEST %1 %2").arg(request.code, 4, 10, QLatin1Char('0')).arg(request.text));

        if (request.code == 5)
            return;
        if (scripted && scripted->action == Action::Close)
            return;
        if (scripted && scripted->action == Action::Stall) {
            while (!Stopping())
                std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
            return;
        }

        QByteArray reply;
        switch (request.code) {
        case 1:
            reply = "1002 2";
            break;
        case 7: {
            const bool exists = clientaccess::WvdMemberExists(m_options.system, request.text.left(10).trimmed(),
                                                              request.text.mid(10).trimmed());
            reply = exists ? "1000 1" : "1000 0";
            break;
        }
        case 3: {
            if (scripted)
                break;
            if (const QString refusal = QdlsRefusal(request.text); !refusal.isEmpty()) {
                reply = "1100 " + QByteArray::fromStdString(ToCp1252(refusal));
                break;
            }
            quint16 port = 0;
            const int listener = ListenOnLoopback(0, &port);
            if (listener < 0) {
                reply = "1100 No listener for the data.";
                break;
            }
            if (!SendReply(connection, "1000 " + QByteArray::number(port))) {
                ::close(listener);
                return;
            }
            const QByteArray failure = ReceiveFile(request.text, listener);
            ::close(listener);
            if (!failure.isEmpty()) {
                // The client waits to send 0004; the refusal comes then.
                UploadRequest next;
                if (!ReadRequest(connection, next))
                    return;
                {
                    std::lock_guard lock(m_lock);
                    m_requests.push_back(next);
                }
                Note(QStringLiteral("REQUEST %1 %2").arg(next.code, 4, 10, QLatin1Char('0')).arg(next.text));
                reply = failure;
            } else {
                continue;
            }
            break;
        }
        case 4:
            reply = "1001";
            break;
        case 6:
            reply = RunImport(request.text);
            break;
        default:
            reply = "1100 Unknown request " + QByteArray::number(request.code) + '.';
            break;
        }
        if (scripted)
            reply = scripted->reply;
        if (!SendReply(connection, reply))
            return;
    }
}

} // namespace kwvd::fakes
